#pragma once
// The system services pages use besides their controls: message boxes, the file-open dialog,
// the wait cursor, help and the context-help routine. All go through the backend in use.
#include <optional>
#include <string>
#include <string_view>

#include "ui/backend.h"
#include "ui/types.h"
#include "ui/window.h"

namespace ui {

// The program's file name without its extension: the default message box caption.
std::string ApplicationName();
// The program's file path with the extension ".HLP" in place of its own: its WinHelp file,
// which comes before the HTML Help file (".chm") when both are there (ui/help.h).
std::string HelpFilePath();
// The program's file path with the extension ".chm": its HTML Help file.
std::string HtmlHelpFilePath();
// What a help request shows when `helpFile` is not installed: "Súbor pomocníka NAME nie je
// nainštalovaný." with the file's name (code page 1250).
std::string HelpFileMissingMessage(std::string_view helpFile);

// A message box owned by `owner` (null: the innermost running dialog or sheet). An empty
// caption is the application's name. Returns kIdOk, kIdCancel, kIdYes, kIdNo, ...
int MessageBox(std::string_view text, unsigned style = kMbOk, std::string_view caption = {},
               Window owner = {});

// The system's open-file dialog; the chosen path, or nothing when cancelled.
std::optional<std::string> ShowOpenFileDialog(const OpenFileRequest& request, Window owner = {});

// Shows the wait cursor while it lives.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The control id of the window that has the focus (0: none or no id). In a kill-focus
// handler this is the control that receives the focus.
int FocusedControlId();

// Every help request goes the road of ui/help.h: the WinHelp file (.HLP) beside the program,
// else its HTML Help file (.chm), else a message box owned by the innermost running dialog or
// sheet that says the help file is not installed.

// Opens help topic `contextId` (a page's or dialog's id) of the program's help file.
void ShowHelpTopic(unsigned long contextId);

// The Help command: finds the context id for the focused window and opens its help.
// Focus on the sheet's Help button (id 9): the active page's topic. On OK or Cancel (1, 2): the
// contents. Otherwise the focused window's context id (a control's help: WinHelp's topic of
// that number, HTML Help's popup text), or, when it has none, its parent's control id for
// WinHelp and its dialog's topic for HTML Help (the contents without either). No focus or
// id 0: nothing.
void RunContextHelp();
// The same for the window a help request names (WM_HELP: the control F1 was pressed on, or the
// one the question-mark was clicked on), which need not hold the focus any more.
void RunContextHelpFor(Handle window);

// Closes every HTML Help window the program opened (before it ends); nothing when the viewer
// was never loaded.
void CloseHelp();

} // namespace ui
