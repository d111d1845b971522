#pragma once
// One thing a user does on the sheet, as the explorer records it: concrete enough to be done
// again (on the headless program when a failing sequence is shrunk) and to be written as a line
// of a drvsim script (to be done on the real program under Wine).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/automation.h"

namespace sheetrun {

enum class ActionKind {
    Choose,      // a list entry clicked with the mouse (`index`)
    ListKey,     // a key or the wheel on a closed drop-down list (`index`: ui::Automation::ListKey)
    ListLetter,  // a letter typed on a closed drop-down list (`text`, one byte)
    DismissList, // a list opened and dismissed (`flag`: by a click outside, else Esc)
    Type,        // an edit's text replaced by `text` (code page 1250)
    Click,       // a button clicked: check box, radio button, push button
    Focus,       // a click into an edit or a list: the focus moves there
    Tab,         // Tab (`flag`: Shift+Tab)
    Spin,        // an arrow of an up-down control (`flag`: up)
    Page,        // another page chosen (`index`)
    Ok,          // OK of the dialog in front, or of the sheet
    Cancel,      // Cancel of the dialog in front, or of the sheet
    Enter,       // Enter in the focused control
    Answer,      // a message box answered (`id`: the button)
};

struct Action {
    ActionKind kind = ActionKind::Ok;
    int context = 0; // the template of the page or dialog acted on (0: the sheet itself)
    int id = 0;      // the control, or the button of an answer
    int index = 0;
    bool flag = false;
    std::string text;

    bool operator==(const Action&) const = default;
};

// The action as one line of text, and back (for passing actions between processes).
std::string EncodeAction(const Action& action);
std::optional<Action> DecodeAction(std::string_view line);

// The drvsim script line of an action on the current page or dialog ("select IDC_PAPER_SIZE
// #3"); texts in UTF-8 with drvsim's escapes.
std::string ScriptLine(const Action& action);
// The lines drvsim needs for what the program does in between: the dialog that opened, the
// message box to wait for, the file dialog to cancel.
std::string ScriptDialogLine(int dialogId);
std::string ScriptMessageLine(std::string_view textCp1250);
std::string ScriptFileDialogLine();
// The name of an id in res/resource.h, or the number.
std::string IdName(int id, bool dialog = false);
// A text as a drvsim TEXT argument: UTF-8, with \s for blanks at its ends, \\ and \# escaped.
std::string ScriptText(std::string_view textCp1250);

// A readable one-line account ("type 1342 \"12a\" on 114").
std::string Describe(const Action& action);

} // namespace sheetrun
