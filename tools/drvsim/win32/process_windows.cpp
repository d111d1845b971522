#include "tools/drvsim/win32/process_windows.h"

#include <commctrl.h>

namespace drvsim {
namespace {

constexpr int kMessageBoxTextId = 0xFFFF;

struct Search {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window))
        search->found.push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> VisibleWindows(DWORD processId) {
    Search search{processId, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsSheet(HWND window) {
    if (ClassName(window) != L"#32770")
        return false;
    LRESULT page = 0;
    return SendBounded(window, PSM_GETCURRENTPAGEHWND, 0, 0, &page, 1000) && page != 0;
}

bool IsMessageBox(HWND window) {
    return ClassName(window) == L"#32770" && GetDlgItem(window, kMessageBoxTextId) != nullptr &&
           !IsSheet(window);
}

HWND FindSheet(DWORD processId) {
    for (HWND window : VisibleWindows(processId)) {
        if (IsSheet(window))
            return window;
    }
    return nullptr;
}

} // namespace drvsim
