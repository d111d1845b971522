#pragma once
// Acting as the user, for tests: both backends implement it, so one test body runs against
// in-memory controls natively and against real controls under Wine. Actions go to the
// innermost running dialog (for a property sheet: its current page) and cause the
// notifications a user's mouse and keyboard would cause there.
//
// Modal runs are scripted ahead: a handler given to OnDialog runs once that dialog has been
// initialised and shown, acts as the user and ends it (PressOk, PressCancel, ...). Message
// boxes and the file-open dialog are answered by handlers too. A modal run, message box or
// file dialog that nobody scripted, a handler that leaves its dialog open, or an action on a
// control that does not exist is a script failure (see TakeFailures).
//
// The scripts and the records of what was shown are kept here, the same for both backends;
// a backend takes the handlers as its modal runs, message boxes and file dialogs start.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/backend.h"
#include "ui/types.h"
#include "ui/window.h"

namespace ui {

struct MessageBoxCall {
    std::string text;    // code page 1250
    std::string caption; // code page 1250
    unsigned style = 0;
    Handle owner = nullptr; // the window that owns the box
};

struct HelpCall {
    std::string helpFile;
    unsigned command = 0;
    unsigned long data = 0;
};

struct HtmlHelpCall {
    HtmlHelpCommand command;
    Handle owner = nullptr;
};

class Automation {
public:
    using MessageBoxHandler = std::function<int(const MessageBoxCall&)>;
    using OpenFileHandler = std::function<std::optional<std::string>(const OpenFileRequest&)>;

    virtual ~Automation() = default;

    // Scripting the modal runs; each handler is used once, in the order given.
    void OnDialog(int dialogId, std::function<void()> handler);
    void OnSheet(std::function<void()> handler);
    // The handler sees the message box and returns the button pressed (kIdOk, kIdYes, ...).
    void OnMessageBox(MessageBoxHandler handler);
    // Answers the next message box with `button`, whatever it says.
    void AnswerMessageBox(int button) {
        OnMessageBox([button](const MessageBoxCall&) { return button; });
    }
    void OnOpenFile(OpenFileHandler handler);
    // What runs when nothing more specific is scripted: a dialog with no handler of its id
    // left (the handler gets the id), a message box or a file dialog with none left. For
    // drivers that walk every dialog without knowing in advance which will open.
    void SetDialogFallback(std::function<void(int dialogId)> handler);
    void SetMessageBoxFallback(MessageBoxHandler handler);
    void SetOpenFileFallback(OpenFileHandler handler);

    // Everything shown so far.
    const std::vector<MessageBoxCall>& MessageBoxes() const { return messageBoxes_; }
    const std::vector<HelpCall>& HelpCalls() const { return helpCalls_; }
    const std::vector<HtmlHelpCall>& HtmlHelpCalls() const { return htmlHelpCalls_; }
    // Whether the HTML Help viewer shows the popups asked from now on (true at first); a popup
    // it cannot show makes the program open the control's topic instead.
    void SetHtmlHelpPopupsShown(bool shown) { htmlHelpPopupsShown_ = shown; }
    // Script failures so far, cleared by the call.
    std::vector<std::string> TakeFailures();
    // Records a script failure (the headless backend also throws ScriptError).
    virtual void ReportFailure(std::string message) = 0;

    // Where the actions go: the innermost running dialog, or the current page of a sheet.
    virtual Handle ActiveDialog() = 0;
    Window Control(int id);

    // The user's actions on the controls of ActiveDialog().
    // A mouse click on a button: focus, auto check box and radio logic, BN_CLICKED. Nothing
    // happens on a hidden or disabled button.
    virtual void Click(int id) = 0;
    // Combo box: opens the list, picks entry `index` and closes the list (CBN_DROPDOWN,
    // CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP as the system sends them). List box: a click
    // on the entry (LBN_SELCHANGE).
    virtual void ChooseItem(int id, int index) = 0;
    // The same for the first entry whose text is exactly `text` (a failure when none is).
    void ChooseItem(int id, std::string_view text);
    virtual void DoubleClickItem(int id, int index) = 0;
    // The keyboard and the wheel on a closed drop-down list, which gets the focus first: the
    // selection moves as the system moves it, and only CBN_SELCHANGE reports it.
    enum class ListKey { Down, Up, Home, End, WheelDown, WheelUp };
    virtual void PressListKey(int id, ListKey key) = 0;
    // A letter typed on a closed drop-down list selects the next entry beginning with it.
    virtual void TypeListLetter(int id, char letter) = 0;
    // A drop-down list opened with the mouse and closed without a choice: by Esc, or by a click
    // outside it (CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP); the selection stays.
    enum class Dismissal { Escape, ClickOutside };
    virtual void DismissList(int id, Dismissal how) = 0;
    // The focus moves into the control as with the Tab key (an edit's text gets selected).
    virtual void FocusControl(int id) = 0;
    // Tab (Shift+Tab when `backward`) in the innermost dialog or page: the focus moves to the
    // next (previous) visible, enabled control with the tab-stop style, in the dialog's order,
    // wrapping round within it; an edit reached so gets its text selected.
    virtual void PressTab(bool backward = false) = 0;
    // Focuses the edit, selects all of its text and types `text` character by character
    // (one EN_CHANGE per accepted character); an empty text deletes the selection.
    virtual void ReplaceText(int id, std::string_view text) = 0;
    // Types `text` at the end of the edit's text.
    virtual void TypeText(int id, std::string_view text) = 0;
    // A click on an up-down control's arrow.
    virtual void SpinUp(int id) = 0;
    virtual void SpinDown(int id) = 0;
    // Repaints an owner-drawn control, drawn pressed when `pressed`.
    virtual void Paint(int id, bool pressed) = 0;
    // F1 on the focused control.
    virtual void PressF1() = 0;

    // Buttons of the innermost dialog, or of the sheet when a sheet is innermost.
    virtual void PressOk() = 0;
    virtual void PressCancel() = 0;
    // Enter in the focused control: the innermost dialog's default button (OK without one; a
    // sheet's OK) is pressed as the dialog manager presses it, the focus staying where it is.
    virtual void PressEnter() = 0;
    // The sheet's Help button.
    virtual void PressHelp() = 0;
    // A click on the tab of page `index` of the innermost sheet.
    virtual void SelectPage(int index) = 0;
    // Ends every running modal loop as a WM_QUIT does.
    virtual void PostQuit(int exitCode) = 0;

protected:
    // The first handler given for dialog `dialogId`, removed from the script; empty when none
    // is left.
    std::function<void()> TakeDialogHandler(int dialogId);
    // The next handler of a sheet, message box or file dialog, removed from the script;
    // nullopt (or an empty function for a sheet) when none is left.
    std::function<void()> TakeSheetHandler();
    std::optional<MessageBoxHandler> TakeMessageBoxHandler();
    std::optional<OpenFileHandler> TakeOpenFileHandler();
    void RecordFailure(std::string message) { failures_.push_back(std::move(message)); }
    void RecordMessageBox(const MessageBoxCall& call) { messageBoxes_.push_back(call); }
    void RecordHelpCall(const HelpCall& call) { helpCalls_.push_back(call); }
    // Records the call; whether the viewer would show it (a popup as scripted).
    bool RecordHtmlHelpCall(const HtmlHelpCall& call) {
        htmlHelpCalls_.push_back(call);
        return call.command.kind != HtmlHelpCommand::Kind::Popup || htmlHelpPopupsShown_;
    }

private:
    std::deque<std::pair<int, std::function<void()>>> dialogHandlers_;
    std::deque<std::function<void()>> sheetHandlers_;
    std::deque<MessageBoxHandler> messageBoxHandlers_;
    std::deque<OpenFileHandler> openFileHandlers_;
    std::function<void(int)> dialogFallback_;
    MessageBoxHandler messageBoxFallback_;
    OpenFileHandler openFileFallback_;
    std::vector<MessageBoxCall> messageBoxes_;
    std::vector<HelpCall> helpCalls_;
    std::vector<HtmlHelpCall> htmlHelpCalls_;
    bool htmlHelpPopupsShown_ = true;
    std::vector<std::string> failures_;
};

} // namespace ui
