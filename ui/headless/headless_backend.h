#pragma once
// In-memory windows for tests: dialogs and property sheets built from the dialog templates of
// the compiled resource file, with controls that behave as the Win32 controls do in what the
// pages rely on (the control conformance suite runs the same tests against both). It is also
// the Automation of its windows: tests act as the user through it.
//
// Script failures throw ScriptError (and are recorded) unless SetThrowOnFailure(false).
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "ui/automation.h"
#include "ui/backend.h"
#include "ui/headless/resources.h"

namespace ui::headless {

class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One operation of an owner-drawn control's painting.
struct PaintOp {
    enum class Kind { PushButtonFrame, TextColor, Text };
    Kind kind = Kind::Text;
    Rect rect;
    bool pushed = false;
    Color color = 0;
    std::string text;
    unsigned format = 0;
};

// A notification a control sent to its dialog.
struct NotificationRecord {
    int controlId = 0;
    int code = 0;
    friend bool operator==(const NotificationRecord&, const NotificationRecord&) = default;
};

class HeadlessBackend : public Backend, public Automation {
public:
    // `resources`: the bytes of the compiled resource file; unreadable bytes give no templates.
    explicit HeadlessBackend(std::span<const unsigned char> resources);
    ~HeadlessBackend() override;

    void SetProgramPath(std::string path) { programPath_ = std::move(path); }
    // Pixels per four horizontal dialog units of the templates' font at 96 DPI.
    static constexpr int kDialogBaseUnitX = 6;

    // The scale of the screen the windows show on, in DPI (96 until set): dialog units and the
    // bitmaps pictures show follow it. Set it before windows open.
    void SetDpi(int dpi) { dpi_ = dpi > 0 ? dpi : dpi_; }
    int Dpi() const { return dpi_; }
    // The open windows move to a screen of another scale, as under Windows for a per-monitor
    // aware program: every window is laid out again in proportion, then every open dialog and
    // page hears of it (OnDpiChanged).
    void ChangeDpi(int dpi);
    void SetThrowOnFailure(bool enable) { throwOnFailure_ = enable; }

    // What only an in-memory backend can tell.
    std::optional<DialogTemplate> Template(int dialogId) const;
    std::optional<Size> BitmapSize(int bitmapId) const;
    int BitmapId(Handle picture) const; // the bitmap resource a picture shows, 0 for none
    // The template of the dialog or page a control belongs to; 0 for a window in none.
    int DialogTemplateOf(Handle control) const;
    // Bitmaps loaded into pictures so far (templates and SetBitmap alike); a load is a resource
    // read and a conversion, under Win32 the dearest part of showing a picture.
    int BitmapLoads() const { return bitmapLoads_; }
    // An edit's selection (start, end); equal when nothing is selected.
    std::pair<int, int> EditSelection(Handle edit) const;
    // The innermost dialog or sheet has been ended (OK or Cancel accepted, EndDialog called);
    // its modal run returns once the script running inside it returns. False with none.
    bool InnermostModalEnded() const;
    int WaitCursorDepth() const { return waitCursorDepth_; }
    int WaitCursorShows() const { return waitCursorShows_; }
    const std::vector<PaintOp>& LastPaint() const { return lastPaint_; }
    const std::vector<OpenFileRequest>& OpenFileRequests() const { return openFileRequests_; }
    // Notifications sent to dialogs since the last call.
    std::vector<NotificationRecord> TakeNotifications();
    // Told when a dialog's or a sheet's modal run has ended (OK or Cancel accepted, EndDialog),
    // while its windows still exist: what its controls show at that moment can be read. The
    // result is the run's (kIdOk, kIdCancel, ...).
    using ModalEndObserver = std::function<void(Handle window, int result)>;
    void SetModalEndObserver(ModalEndObserver observer) { modalEndObserver_ = std::move(observer); }
    // The windows of a sheet's pages in sheet order; null for a page not yet shown.
    std::vector<Handle> SheetPages(Handle sheet) const;

    // Backend.
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
    void Redraw(Handle window) override {}
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
    std::string ProgramPath() override { return programPath_; }

    // Automation.
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

private:
    struct Node;
    struct SheetState;

    Node* Find(Handle handle) const;
    Handle HandleOf(const Node* node) const;
    Node* NewNode(Node* parent);
    void DestroyNode(Node* node);
    bool IsInside(const Node* node, const Node* ancestor) const;
    Node* DialogOf(Node* node) const;
    Node* FindControl(int id, const char* action);

    Node* CreateDialogWindow(DialogBase& dialog, Node* parent, Point origin);
    void CreateControl(Node* dialog, const DialogItemTemplate& item);
    void FocusFirstTabStop(Node* dialog);
    void Notify(Node* control, int code);
    // Whether a dialog's message map hears its controls: always, but for a page of a sheet
    // only while it is the current page or runs its own routines (as the Win32 backend).
    bool PageHearsControls(const Node* dialog) const;
    // Runs `routine` with the page object; the page counts as running its own code meanwhile.
    template <class F>
    auto RunPageCode(Node* page, F&& routine);
    void FocusNotify(Node* control, bool gained);
    void SetFocusTo(Node* node);
    Node* FocusClosedCombo(int id, const char* action);
    Node* NextTabStop(Node* dialog, Node* from, bool backward);
    void MoveComboSelection(Node* node, int index);

    void SetEditText(Node* edit, std::string text, bool notify);
    bool TypeChar(Node* edit, unsigned char ch);
    void NotifyTyped(Node* edit);
    void ShowComboSelection(Node* combo);
    bool DeleteSelection(Node* edit);

    int InsertItem(Node* list, int index, std::string_view text);
    int SortedPosition(const Node* list, std::string_view text) const;

    bool ReadBuddyInt(Node* spin);
    void WriteBuddyInt(Node* spin);
    void Spin(int id, int direction);

    bool SheetSetCurSel(Node* sheet, int index, int skipDirection);
    bool SheetCanSetCurSel(Node* sheet);
    Node* SheetPageNode(Node* sheet, int index);
    void SheetOk(Node* sheet);
    void SheetCancel(Node* sheet);
    void RunScript(Node* window, std::function<void()> handler, const std::string& what);
    void ReportModalEnd(Node* window);
    Node* TopModal() const;
    Node* TopSheet() const;
    void ClickNode(Node* node);
    void CheckAutoRadio(Node* node);

    std::optional<ResourceFile> resources_;
    std::map<std::uintptr_t, std::unique_ptr<Node>> nodes_;
    std::uintptr_t nextHandle_ = 0x10000;
    std::vector<Node*> modalStack_;
    Node* focus_ = nullptr;
    bool quitPending_ = false;

    std::vector<OpenFileRequest> openFileRequests_;
    std::vector<NotificationRecord> notifications_;
    std::vector<PaintOp> lastPaint_;
    ModalEndObserver modalEndObserver_;
    std::string programPath_ = "C:\\vela\\vela40ps.exe";
    bool throwOnFailure_ = true;
    int waitCursorDepth_ = 0;
    int waitCursorShows_ = 0;
    int bitmapLoads_ = 0;
    int dpi_ = 96;
};

} // namespace ui::headless
