#pragma once
// Runs a script against the program's property sheet from outside its process, through window
// messages only: what the program sees is what a user's mouse and keyboard would cause.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "tools/drvsim/script.h"
#include "tools/drvsim/win32/win32_common.h"

namespace drvsim {

class SheetAutomation {
public:
    // `process` needs the rights to read and write its memory (for reading tab captions).
    SheetAutomation(DWORD processId, HANDLE process, HWND sheet, int timeoutMs);

    // Runs the steps in order. On the first failure prints "drvsim: line N: SOURCE: reason" to
    // the error stream and returns false.
    bool Run(const std::vector<ScriptStep>& steps);

    // The sheet has ended (OK or Cancel accepted, or the program went away).
    bool SheetEnded() const;

private:
    struct PendingSend {
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    std::optional<std::string> Execute(const ScriptStep& step);
    std::optional<std::string> SelectPage(const ScriptStep& step);
    std::optional<std::string> SelectEntry(const ScriptStep& step, HWND control);
    std::optional<std::string> PressButton(bool ok);
    std::optional<std::string> PressEnter();
    // Waits until the sheet or the innermost dialog has ended, or a message box shows.
    std::optional<std::string> WaitForEnd();
    std::optional<std::string> WaitForDialog(int id);
    // Answers the system's file-open dialog with `path` (Cancel when it is empty).
    std::optional<std::string> AnswerFileDialog(const std::string& path);
    std::optional<std::string> WaitForMessageBox(const std::string& text);
    std::optional<std::string> Answer(int button);
    std::optional<std::string> Screenshot(const std::string& file);
    std::optional<std::string> WalkPages(const std::string& directory);
    // F1 on the control: the focus moves there and its dialog gets WM_HELP naming it.
    std::optional<std::string> PressF1(HWND control);
    std::optional<std::string> WaitForWindow(const std::string& classAndTitle);

    // The innermost dialog a `dialog` step waited for, or the sheet's current page.
    HWND Target() const;
    HWND Control(int id, std::string* error) const;
    // The combo box of `id` when a user could use its list, else nullptr with the reason.
    HWND UsableComboBox(int id, std::string* error) const;
    std::vector<std::wstring> TabTitles() const;
    std::optional<int> PageIndexOfTitle(const std::string& title) const;
    // Visible dialogs of the process but the sheet (a help window is no modal window).
    std::vector<HWND> ModalWindows() const;
    HWND MessageBoxWindow() const;

    // Sends one after the other, each once the one before has been handled (SendMessageCallback),
    // so that a handler that opens a modal window holds the rest back, as a real user's input
    // would wait.
    void Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void SendNext();
    static void CALLBACK SendDone(HWND window, UINT message, ULONG_PTR context, LRESULT result);
    // Pumps until every send has been handled, or until a modal window of the process appears
    // that was not there before (then the rest waits for it), within the time-out.
    void WaitHandled();
    void PressKey(HWND control, const std::string& key);
    // Opens the list and closes it without a choice: Esc, or a click outside (`outside`).
    void DismissList(HWND control, bool outside);
    // The send in progress opened a modal window and is answered only when that window ends:
    // what is meant for the modal window goes out without waiting for that answer.
    void ReleaseHeldSend();

    DWORD processId_;
    HANDLE process_;
    HWND sheet_;
    int timeoutMs_;
    std::vector<HWND> dialogs_;
    HWND messageBox_ = nullptr;
    std::deque<PendingSend> sends_;
    bool sending_ = false;
};

} // namespace drvsim
