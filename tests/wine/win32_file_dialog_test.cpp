// Real windows only: the system's file-open dialog, whose DLL the program loads when the first
// dialog opens instead of at its start (the start of every run is the faster for it).
#include <gtest/gtest.h>

#include <string>

#include "ui/backend.h"
#include "ui/services.h"
#include "ui/win32/win32_backend.h"

namespace ui::win32 {
namespace {

// What the timer found of the dialog before it cancelled it.
struct SeenDialog {
    bool found = false;
    std::wstring title;
};
SeenDialog seen;

BOOL CALLBACK CancelFileDialog(HWND window, LPARAM) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) != L"#32770" || !IsWindowVisible(window))
        return TRUE;
    wchar_t title[128] = {};
    GetWindowTextW(window, title, 128);
    seen = {true, title};
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    return FALSE;
}

// Runs inside the dialog's modal loop: cancels the dialog once it is shown.
void CALLBACK LookForFileDialog(HWND, UINT, UINT_PTR, DWORD) {
    if (!seen.found)
        EnumThreadWindows(GetCurrentThreadId(), CancelFileDialog, 0);
}

TEST(Win32FileDialog, OpensWithItsDllLoadedOnFirstUse) {
    EXPECT_EQ(GetModuleHandleW(L"comdlg32.dll"), nullptr) << "imported by the program";
    ScopedBackend scope(TheWin32Backend());
    seen = {};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, LookForFileDialog);
    ASSERT_NE(timer, 0u);
    OpenFileRequest request;
    request.filter = std::string("Prekryvy\0*.ovl\0", 15);
    request.title = "Otvori\x9D prekryv";
    const std::optional<std::string> chosen = ShowOpenFileDialog(request);
    KillTimer(nullptr, timer);
    EXPECT_FALSE(chosen.has_value());
    EXPECT_TRUE(seen.found);
    EXPECT_EQ(seen.title, L"Otvori\u0165 prekryv");
    EXPECT_NE(GetModuleHandleW(L"comdlg32.dll"), nullptr);
}

} // namespace
} // namespace ui::win32
