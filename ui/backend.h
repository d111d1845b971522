#pragma once
// The one interface between the framework and a window system. Two implementations: real
// windows (ui/win32) and in-memory windows for tests (ui/headless). Texts cross it as code page
// 1250 bytes; a backend converts them where its windows keep another encoding.
//
// Every operation tolerates a null or stale handle and then does nothing (or returns the
// "no item" value), as Win32 does for an invalid window.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ui/types.h"

namespace ui {

class DialogBase;
class PropertySheet;

// What the system's file-open dialog is asked for.
struct OpenFileRequest {
    std::string filter;     // "Text\0*.txt\0" pairs, code page 1250; empty shows every file
    std::string initialDir; // empty: the system's choice
    std::string title;      // empty: the system's caption
    bool pathMustExist = true;
    bool fileMustExist = true;
    bool noLongNames = false;
};

// What the HTML Help viewer (hhctrl.ocx) is asked for. Paths and URLs in code page 1250.
struct HtmlHelpCommand {
    enum class Kind {
        Topic,    // HH_DISPLAY_TOPIC: `file` is "HELP.chm::/TOPIC.htm" (an anchor may follow)
        Contents, // HH_DISPLAY_TOC: `file` is the .chm, which opens at its default topic
        Popup,    // HH_DISPLAY_TEXT_POPUP: `file` is "HELP.chm::/POPUPS.txt", the text `contextId`
                  // of it shown at `at`
        CloseAll, // HH_CLOSE_ALL: every help window the program opened (nothing else is set)
    };
    Kind kind = Kind::Topic;
    std::string file;
    unsigned long contextId = 0; // the context number the request came from
    Point at{};                  // screen coordinates (popups)
    friend bool operator==(const HtmlHelpCommand&, const HtmlHelpCommand&) = default;
};

class Backend {
public:
    virtual ~Backend() = default;

    // Windows.
    virtual Handle Item(Handle dialog, int id) = 0;
    virtual int ControlId(Handle window) = 0;
    virtual Handle Parent(Handle window) = 0;
    virtual ControlKind Kind(Handle window) = 0;
    virtual unsigned Style(Handle window) = 0;
    virtual std::string Text(Handle window) = 0;
    virtual void SetText(Handle window, std::string_view text) = 0;
    virtual void Enable(Handle window, bool enable) = 0;
    virtual bool IsEnabled(Handle window) = 0;
    virtual void Show(Handle window, bool show) = 0;
    // The window and all its parents are shown (IsWindowVisible).
    virtual bool IsVisible(Handle window) = 0;
    virtual Handle Focus() = 0;
    virtual void SetFocus(Handle window) = 0;
    virtual Rect WindowRect(Handle window) = 0; // screen coordinates
    virtual Rect ClientRect(Handle window) = 0; // origin 0, 0
    virtual Point ScreenToClient(Handle window, Point point) = 0;
    // Moves and sizes a child window; x and y in its parent's client coordinates.
    virtual void SetWindowPos(Handle window, int x, int y, int cx, int cy) = 0;
    virtual void Redraw(Handle window) = 0;
    virtual void SetContextHelpId(Handle window, unsigned id) = 0;
    virtual unsigned ContextHelpId(Handle window) = 0;

    // Buttons.
    virtual int CheckState(Handle button) = 0;
    virtual void SetCheckState(Handle button, int state) = 0;
    virtual void SetButtonStyle(Handle button, unsigned style, bool redraw) = 0;

    // Edits, and the edit fields of combo boxes.
    virtual void LimitText(Handle edit, int maxChars) = 0; // 0: the largest limit
    virtual int TextLimit(Handle edit) = 0;
    virtual void SetSel(Handle edit, int start, int end) = 0;

    // Combo boxes and list boxes; the kind of the handle picks CB_* or LB_* semantics.
    virtual int AddString(Handle list, std::string_view text) = 0;
    virtual int InsertString(Handle list, int index, std::string_view text) = 0;
    virtual int DeleteString(Handle list, int index) = 0; // the count left, or kListError
    virtual void ResetContent(Handle list) = 0;
    virtual int Count(Handle list) = 0;
    virtual int FindString(Handle list, int startAfter, std::string_view text, bool exact) = 0;
    virtual int CurSel(Handle list) = 0;
    virtual int SetCurSel(Handle list, int index) = 0;
    virtual std::optional<std::string> ItemText(Handle list, int index) = 0;
    virtual std::intptr_t ItemData(Handle list, int index) = 0;
    // A combo box whose drop-down list is open (CB_GETDROPPEDSTATE).
    virtual bool IsDroppedDown(Handle combo) = 0;
    virtual int SetItemData(Handle list, int index, std::intptr_t data) = 0;

    // Up-down controls.
    virtual void SetSpinRange(Handle spin, int lower, int upper) = 0;
    virtual std::pair<int, int> SpinRange(Handle spin) = 0;
    virtual int SetSpinPos(Handle spin, int pos) = 0;
    // The position; with a buddy that shows a number, read from the buddy's text. `error` is
    // set when that text is no number within the range.
    virtual int SpinPos(Handle spin, bool* error) = 0;
    virtual void SetSpinAccel(Handle spin, std::span<const SpinAccel> steps) = 0;
    virtual Handle SpinBuddy(Handle spin) = 0;

    // Progress bars.
    virtual void SetProgressRange(Handle bar, int lower, int upper) = 0;
    virtual std::pair<int, int> ProgressRange(Handle bar) = 0;
    virtual int SetProgressPos(Handle bar, int pos) = 0; // the previous position
    virtual int ProgressPos(Handle bar) = 0;

    // Pictures: a bitmap resource of the program shown in a static control.
    virtual bool SetBitmap(Handle picture, int bitmapId) = 0;
    virtual Size ImageSize(Handle picture) = 0; // 0, 0 without an image

    // Modal runs. RunDialog creates the dialog from its template, initialises it, runs until
    // EndDialog and returns the value given to EndDialog (kModalLoopEnded when the loop ended
    // otherwise).
    virtual int RunDialog(DialogBase& dialog, Handle parent) = 0;
    virtual void EndDialog(Handle dialog, int result) = 0;
    // Runs a property sheet; kIdOk, kIdCancel or kModalLoopEnded.
    virtual int RunSheet(PropertySheet& sheet) = 0;
    virtual int SheetActiveIndex(Handle sheet) = 0;
    virtual bool SetSheetActiveIndex(Handle sheet, int index) = 0;
    // The current page of the sheet `window`, or null when `window` is no sheet.
    virtual Handle SheetActivePage(Handle window) = 0;
    // The innermost window of the running modal loops (the owner for message boxes).
    virtual Handle ActiveModalWindow() = 0;
    // Ends the running modal loops as a WM_QUIT does.
    virtual void PostQuit(int exitCode) = 0;

    // System services.
    virtual int MessageBox(Handle owner, std::string_view text, std::string_view caption,
                           unsigned style) = 0;
    virtual std::optional<std::string> OpenFile(Handle owner, const OpenFileRequest& request) = 0;
    virtual void WinHelp(Handle owner, std::string_view helpFile, unsigned command,
                         unsigned long data) = 0;
    // HTML Help. True when the viewer showed something (a window or a popup); CloseAll always
    // returns true. The viewer is loaded with the first request that shows something, never
    // before; CloseAll without a loaded viewer does nothing.
    virtual bool HtmlHelp(Handle owner, const HtmlHelpCommand& command) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // The program's own file path (code page 1250).
    virtual std::string ProgramPath() = 0;
};

// The backend in use: the one installed last, else the build's default (real windows in the
// Windows build, an empty headless backend natively).
Backend& CurrentBackend();

// Installs a backend for the lifetime of the object.
class ScopedBackend {
public:
    explicit ScopedBackend(Backend& backend);
    ~ScopedBackend();
    ScopedBackend(const ScopedBackend&) = delete;
    ScopedBackend& operator=(const ScopedBackend&) = delete;

private:
    Backend* saved_;
};

// The build's own backend (defined once per build in ui/win32 or ui/posix).
Backend& DefaultBackend();

} // namespace ui
