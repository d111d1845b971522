#pragma once
// Real windows: dialogs and property sheets from the program's own dialog templates, common
// controls of comctl32 version 6 (through the manifest), W functions with texts converted from
// and to code page 1250 here. The framework object of a dialog or page is kept with its window
// (DWLP_USER); nothing is kept per dialog anywhere else.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ui/automation.h"
#include "ui/backend.h"
#include "ui/win32/win32.h"

namespace ui::win32 {

inline Handle ToHandle(HWND hwnd) {
    return reinterpret_cast<Handle>(hwnd);
}
inline HWND ToHwnd(Handle handle) {
    return reinterpret_cast<HWND>(handle);
}

class Win32Backend : public Backend {
public:
    // What tests hook into: scripting of modal runs and the system services that would block
    // or start other programs (file dialog, WinHelp).
    class Hooks {
    public:
        virtual ~Hooks() = default;
        // A dialog or sheet has been initialised; its message loop runs next.
        virtual void ModalStarted(HWND window, int templateId, bool isSheet) = 0;
        // A message box is about to be shown (it is shown for real).
        virtual void MessageBoxStarting(const MessageBoxCall& call) = 0;
        virtual std::optional<std::string> OpenFile(const OpenFileRequest& request) = 0;
        virtual void WinHelp(const HelpCall& call) = 0;
        // Instead of the HTML Help viewer; returns what the viewer would.
        virtual bool HtmlHelp(const HtmlHelpCall& call) = 0;
    };

    Win32Backend();
    ~Win32Backend() override;

    void SetHooks(Hooks* hooks) { hooks_ = hooks; }
    const std::vector<HWND>& ModalStack() const { return modalStack_; }
    bool IsSheet(HWND window) const { return sheets_.count(window) != 0; }
    // The sheet's OK or Cancel has been accepted (its loop is ending).
    bool SheetHasEnded(HWND sheet) const { return sheetResults_.count(sheet) != 0; }

    Handle Item(Handle dialog, int id) override;
    int ControlId(Handle window) override;
    Handle Parent(Handle window) override;
    ControlKind Kind(Handle window) override;
    unsigned Style(Handle window) override;
    std::string Text(Handle window) override;
    void SetText(Handle window, std::string_view text) override;
    void Enable(Handle window, bool enable) override;
    bool IsEnabled(Handle window) override;
    void Show(Handle window, bool show) override;
    bool IsVisible(Handle window) override;
    Handle Focus() override;
    void SetFocus(Handle window) override;
    Rect WindowRect(Handle window) override;
    Rect ClientRect(Handle window) override;
    Point ScreenToClient(Handle window, Point point) override;
    void SetWindowPos(Handle window, int x, int y, int cx, int cy) override;
    void Redraw(Handle window) override;
    void SetContextHelpId(Handle window, unsigned id) override;
    unsigned ContextHelpId(Handle window) override;
    int CheckState(Handle button) override;
    void SetCheckState(Handle button, int state) override;
    void SetButtonStyle(Handle button, unsigned style, bool redraw) override;
    void LimitText(Handle edit, int maxChars) override;
    int TextLimit(Handle edit) override;
    void SetSel(Handle edit, int start, int end) override;
    int AddString(Handle list, std::string_view text) override;
    int InsertString(Handle list, int index, std::string_view text) override;
    int DeleteString(Handle list, int index) override;
    void ResetContent(Handle list) override;
    int Count(Handle list) override;
    int FindString(Handle list, int startAfter, std::string_view text, bool exact) override;
    int CurSel(Handle list) override;
    int SetCurSel(Handle list, int index) override;
    std::optional<std::string> ItemText(Handle list, int index) override;
    std::intptr_t ItemData(Handle list, int index) override;
    bool IsDroppedDown(Handle combo) override;
    int SetItemData(Handle list, int index, std::intptr_t data) override;
    void SetSpinRange(Handle spin, int lower, int upper) override;
    std::pair<int, int> SpinRange(Handle spin) override;
    int SetSpinPos(Handle spin, int pos) override;
    int SpinPos(Handle spin, bool* error) override;
    void SetSpinAccel(Handle spin, std::span<const SpinAccel> steps) override;
    Handle SpinBuddy(Handle spin) override;
    void SetProgressRange(Handle bar, int lower, int upper) override;
    std::pair<int, int> ProgressRange(Handle bar) override;
    int SetProgressPos(Handle bar, int pos) override;
    int ProgressPos(Handle bar) override;
    bool SetBitmap(Handle picture, int bitmapId) override;
    Size ImageSize(Handle picture) override;
    int RunDialog(DialogBase& dialog, Handle parent) override;
    void EndDialog(Handle dialog, int result) override;
    int RunSheet(PropertySheet& sheet) override;
    int SheetActiveIndex(Handle sheet) override;
    bool SetSheetActiveIndex(Handle sheet, int index) override;
    Handle SheetActivePage(Handle window) override;
    Handle ActiveModalWindow() override;
    void PostQuit(int exitCode) override;
    int MessageBox(Handle owner, std::string_view text, std::string_view caption,
                   unsigned style) override;
    std::optional<std::string> OpenFile(Handle owner, const OpenFileRequest& request) override;
    void WinHelp(Handle owner, std::string_view helpFile, unsigned command,
                 unsigned long data) override;
    bool HtmlHelp(Handle owner, const HtmlHelpCommand& command) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    std::string ProgramPath() override;

    // Whether a page's message map hears its controls now: while it is its sheet's current
    // page, or while the sheet runs the page's own code (creation, activation, leaving, OK,
    // Cancel). A control of another page cannot have been used by the user: its notifications
    // come from the system alone (a radio button that gets the focus reports a click on
    // Windows) and would write what that page shows, stale, over the settings.
    bool PageHearsControls(HWND page) const;
    // Marks the page's own code running for its lifetime.
    class PageCode {
    public:
        PageCode(Win32Backend& backend, HWND page);
        ~PageCode();
        PageCode(const PageCode&) = delete;
        PageCode& operator=(const PageCode&) = delete;

    private:
        Win32Backend& backend_;
        HWND page_;
    };

    // For the window procedures.
    void DialogCreated(HWND window, DialogBase& dialog);
    void PageCreated(HWND page, HWND sheet);
    void SheetEnded(HWND sheet, int result) { sheetResults_[sheet] = result; }
    void WindowDestroyed(HWND window);

private:
    bool IsComboBox(HWND window) const;
    bool IsListControl(HWND window) const;

    Hooks* hooks_ = nullptr;
    std::vector<HWND> modalStack_;
    std::set<HWND> sheets_;
    // How each running sheet was ended (kIdOk, kIdCancel), known from the page notifications:
    // PropertySheetW itself returns 0 both for Cancel and for a WM_QUIT under Wine.
    std::map<HWND, int> sheetResults_;
    std::vector<HWND> pagesRunning_; // innermost last
    int waitCursorDepth_ = 0;
    HCURSOR savedCursor_ = nullptr;
};

// The process's Win32 backend.
Win32Backend& TheWin32Backend();

} // namespace ui::win32
