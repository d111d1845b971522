#pragma once
// <windows.h> for the Win32 backend and the Win32-only tests. Include this instead of
// <windows.h> wherever ui headers are used too: it removes the A/W macros whose names the
// framework uses for members (MessageBox, GetWindowText, ...), so those names mean the same in
// every translation unit. Code here calls the W functions by their explicit names.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#undef MessageBox
#undef GetWindowText
#undef SetWindowText
#undef GetDlgItemText
#undef SetDlgItemText
#undef WinHelp
#undef DrawText
#undef OpenFile
#undef PropertySheet
#undef ReplaceText
