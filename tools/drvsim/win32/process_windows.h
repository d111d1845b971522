#pragma once
// The program's top-level windows, seen from outside: its property sheet, its modal dialogs
// and its message boxes, told apart by the messages they answer.
#include <vector>

#include "tools/drvsim/win32/win32_common.h"

namespace drvsim {

// Visible top-level windows of the process, in z-order.
std::vector<HWND> VisibleWindows(DWORD processId);
// The visible property sheet of the process, or null.
HWND FindSheet(DWORD processId);
// A message box: a dialog with the static text control 0xFFFF and no property sheet.
bool IsMessageBox(HWND window);
bool IsSheet(HWND window);

} // namespace drvsim
