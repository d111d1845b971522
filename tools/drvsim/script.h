#pragma once
// drvsim's sheet scripts: one command per line, acting on the sheet (or the modal dialog a
// `dialog` command waited for) by control ids, as a user would through the mouse and keyboard.
//
//   page N|TITLE            select a page by index (from 0) or by its tab's caption
//   select ID TEXT|#INDEX   pick a combo or list entry (CBN_SELCHANGE then CBN_CLOSEUP, or
//                           LBN_SELCHANGE), by its whole text or its index
//   click ID                click a button (refused when it is disabled or hidden)
//   check ID 0|1            click a check box or radio button until it has that state
//   type ID TEXT            focus an edit, select its text and type TEXT (EN_CHANGE per
//                           character); an empty TEXT deletes the text
//   focus ID                move the focus to a control
//   help ID                 move the focus to a control and press F1 there (WM_HELP)
//   key ID KEY              focus a closed drop-down list and press KEY on it: down, up,
//                           home, end, wheel-down, wheel-up, or one character typed (any
//                           letter, Slovak ones too)
//   dismiss ID escape|outside   open a drop-down list with the mouse and close it without a
//                           choice, by Esc or by a click outside it
//   tab [back]              press Tab (Shift+Tab with `back`): the focus moves to the next
//                           (previous) control
//   spin ID up|down         click an arrow of an up-down control
//   expect-text ID TEXT     the control's text
//   expect-enabled ID 0|1   expect-visible ID 0|1
//   expect-selected ID TEXT the selected entry's text (empty: no selection)
//   expect-message TEXT     wait for a message box with that text (it stays open)
//   answer IDOK|IDCANCEL|IDYES|IDNO   press a button of that message box
//   dialog ID               wait for the modal dialog whose context-help id is ID; later
//                           commands act on it until `ok` or `cancel` ends it
//   open-file [PATH]        wait for the system's file-open dialog, enter PATH as the file
//                           name and press its OK button; without PATH press its Cancel
//   ok, cancel              press OK or Cancel of the dialog, or of the sheet
//   enter                   press the Enter key in the focused control: the dialog manager
//                           presses the default button (a sheet's OK) without moving the focus
//   screenshot FILE.png     save the program's windows as a PNG picture
//   walk-pages DIR          select every page in turn and save DIR/NN-title.png of each
//   expect-pages T1|T2|...  the sheet's tab captions, all of them, in order
//   expect-window CLASS|TITLE   wait for a visible top-level window of the program that is
//                           no dialog (a help window), with that class name and caption
//
// ID is a number or a name of res/resource.h (IDC_..., IDD_..., IDOK, IDCANCEL, IDHELP).
// TEXT is UTF-8, the rest of the line after one blank; trailing blanks are dropped, and the
// escapes \s (blank), \t, \r, \n, \# (a literal # first) and \\ write what lines cannot
// hold. Empty lines and lines beginning with # are comments.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drvsim {

enum class Command {
    Page,
    Select,
    Click,
    Check,
    Type,
    Focus,
    Key,
    Dismiss,
    Tab,
    Spin,
    ExpectText,
    ExpectEnabled,
    ExpectVisible,
    ExpectSelected,
    ExpectMessage,
    Answer,
    Dialog,
    OpenFile,
    Ok,
    Cancel,
    Enter,
    Screenshot,
    WalkPages,
    ExpectPages,
    Help,
    ExpectWindow,
};

struct ScriptStep {
    int line = 0;       // 1-based line number in the file
    std::string source; // the line as written
    Command command = Command::Ok;
    int id = 0;        // control or dialog id; the button of `answer`
    std::string text;  // UTF-8 text argument (title, entry, file name)
    int index = -1;    // page index, entry index (#N), or -1 when a text is given
    bool flag = false; // the 0|1 argument; `dismiss`: outside; `tab`: back; `spin`: up
};

struct ScriptError {
    int line = 0;
    std::string message;
};

// Parses a whole script. On the first bad line, returns nothing and fills `error`.
std::optional<std::vector<ScriptStep>> ParseScript(std::string_view text, ScriptError* error);

// The number of a control id written as a number or a resource name; nothing when unknown.
std::optional<int> ResolveId(std::string_view word);
// The resource name of an id whose name begins with `prefix` ("IDC_", "IDD_"); empty when none.
std::string_view NameOfId(int id, std::string_view prefix);

// The file name of a page's picture: "07-o-aplikacii.png" for page 7 titled "O aplikácii".
std::string PictureName(int index, std::string_view title);

// Removes the escapes of a TEXT argument.
std::string Unescape(std::string_view text);

} // namespace drvsim
