#pragma once
// Acting as the user on real windows, for the Win32 tests under Wine. Scripts of modal runs
// and message boxes run from a timer inside the modal loop of the dialog they act on; the
// user's actions are the messages a mouse or keyboard would cause (BM_CLICK, button and
// character messages to the controls). The file-open dialog and WinHelp are not started:
// their requests are recorded and answered by the handlers. Failures are recorded, never
// thrown (nothing may unwind through the system's modal loops).
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/automation.h"
#include "ui/backend.h"
#include "ui/win32/win32_backend.h"

namespace ui::win32 {

class Win32Automation : public Automation, private Win32Backend::Hooks {
public:
    // Installs itself on the process's Win32 backend, and that backend as the current one,
    // for its lifetime.
    Win32Automation();
    ~Win32Automation() override;
    Win32Automation(const Win32Automation&) = delete;
    Win32Automation& operator=(const Win32Automation&) = delete;

    void ReportFailure(std::string message) override;
    Handle ActiveDialog() override;
    void Click(int id) override;
    void ChooseItem(int id, int index) override;
    using Automation::ChooseItem;
    void PressListKey(int id, ListKey key) override;
    void TypeListLetter(int id, char letter) override;
    void DismissList(int id, Dismissal how) override;
    void DoubleClickItem(int id, int index) override;
    void FocusControl(int id) override;
    void PressTab(bool backward) override;
    void ReplaceText(int id, std::string_view text) override;
    void TypeText(int id, std::string_view text) override;
    void SpinUp(int id) override;
    void SpinDown(int id) override;
    void Paint(int id, bool pressed) override;
    void PressF1() override;
    void PressOk() override;
    void PressCancel() override;
    void PressEnter() override;
    void PressHelp() override;
    void SelectPage(int index) override;
    void PostQuit(int exitCode) override;

private:
    struct PendingScript {
        HWND window = nullptr;
        bool sheet = false;
        std::function<void()> handler;
        std::string what;
        int waits = 0;
    };

    // Win32Backend::Hooks.
    void ModalStarted(HWND window, int templateId, bool isSheet) override;
    void MessageBoxStarting(const MessageBoxCall& call) override;
    std::optional<std::string> OpenFile(const OpenFileRequest& request) override;
    void WinHelp(const HelpCall& call) override;
    bool HtmlHelp(const HtmlHelpCall& call) override;

    static void CALLBACK RunPendingScript(HWND, UINT, UINT_PTR timer, DWORD);
    static void CALLBACK AnswerMessageBox(HWND, UINT, UINT_PTR timer, DWORD);
    static void CALLBACK VerifyEnded(HWND, UINT, UINT_PTR timer, DWORD);
    void VerifyNextEnded();
    void RunNextScript();
    void AnswerNextMessageBox();
    bool HasEnded(HWND window, bool sheet) const;
    void Close(HWND window, bool sheet);
    HWND ControlWindow(int id, const char* action);
    // The window that takes typed text for control `id`: an edit, or a combo box's edit field.
    HWND TextWindow(int id);
    HWND FocusClosedCombo(int id, const char* action);
    HWND TopWindow() const;
    void ClickWindow(HWND button);
    void Spin(int id, bool up);
    void TypeChars(HWND edit, std::string_view text);

    static Win32Automation* current_;
    Win32Backend& backend_;
    ScopedBackend scope_;
    std::deque<PendingScript> pendingScripts_;
    std::deque<PendingScript> verifications_;
    std::deque<MessageBoxCall> pendingBoxes_;
    bool quitPosted_ = false;
};

} // namespace ui::win32
