// Real windows only: the HTML Help viewer (hhctrl.ocx) on the help file the build compiled. The
// program loads the viewer with the first help it shows, never before (closing the help without
// one loads nothing); a topic opens the viewer's window with the help's Slovak caption, read in
// code page 1250; closing the help destroys it. Skipped where the build had no CHM compiler.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ui/backend.h"
#include "ui/win32/win32_backend.h"

namespace ui::win32 {
namespace {

struct FoundWindow {
    HWND window = nullptr;
    std::wstring title;
};

BOOL CALLBACK FindHelpWindow(HWND window, LPARAM context) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (std::wstring(name) != L"HH Parent")
        return TRUE;
    auto* found = reinterpret_cast<FoundWindow*>(context);
    wchar_t title[128] = {};
    GetWindowTextW(window, title, 128);
    *found = {window, title};
    return FALSE;
}

HtmlHelpCommand Command(HtmlHelpCommand::Kind kind, std::string file) {
    HtmlHelpCommand command;
    command.kind = kind;
    command.file = std::move(file);
    return command;
}

TEST(Win32HtmlHelp, ViewerLoadedForTheFirstTopicAndClosedWithTheHelp) {
    const std::string chm = std::string(VELA_BINARY_DIR) + "/bin/vela40ps.chm";
    if (!std::filesystem::exists(chm))
        GTEST_SKIP() << "no " << chm;
    Win32Backend& backend = TheWin32Backend();
    EXPECT_EQ(GetModuleHandleW(L"hhctrl.ocx"), nullptr) << "imported by the program";
    EXPECT_TRUE(backend.HtmlHelp(nullptr, Command(HtmlHelpCommand::Kind::CloseAll, "")));
    EXPECT_EQ(GetModuleHandleW(L"hhctrl.ocx"), nullptr) << "loaded to close nothing";

    EXPECT_TRUE(
        backend.HtmlHelp(nullptr, Command(HtmlHelpCommand::Kind::Topic, chm + "::/104.htm")));
    EXPECT_NE(GetModuleHandleW(L"hhctrl.ocx"), nullptr);
    FoundWindow found;
    EnumThreadWindows(GetCurrentThreadId(), FindHelpWindow, reinterpret_cast<LPARAM>(&found));
    ASSERT_NE(found.window, nullptr);
    EXPECT_EQ(found.title, L"Pomocn\u00EDk \u2013 vela40ps");
    EXPECT_TRUE(IsWindowVisible(found.window));

    EXPECT_TRUE(backend.HtmlHelp(nullptr, Command(HtmlHelpCommand::Kind::CloseAll, "")));
    EXPECT_FALSE(IsWindow(found.window));
}

} // namespace
} // namespace ui::win32
