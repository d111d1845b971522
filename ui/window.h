#pragma once
// Non-owning views of windows and controls, in the manner of WTL's CWindow and CComboBox: a
// view holds only the handle and forwards every call to the backend in use. Texts are code
// page 1250 bytes. A null view does nothing and answers "nothing" (empty text, kListError).
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "ui/types.h"

namespace ui {

class Window {
public:
    Window() = default;
    explicit Window(Handle handle) : handle_(handle) {}

    Handle GetHandle() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Attach(Handle handle) { handle_ = handle; }

    int GetDlgCtrlID() const;
    Window GetParent() const;
    ControlKind GetKind() const;
    unsigned GetStyle() const;

    std::string GetWindowText() const;
    void SetWindowText(std::string_view text) const;

    void EnableWindow(bool enable = true) const;
    bool IsWindowEnabled() const;
    void ShowWindow(bool show) const;
    // Shown, and every parent shown too.
    bool IsWindowVisible() const;
    void SetFocus() const;
    bool HasFocus() const;

    Rect GetWindowRect() const; // screen coordinates
    Rect GetClientRect() const;
    Point ScreenToClient(Point point) const;
    Rect ScreenToClient(const Rect& rect) const;
    // Moves and sizes the window; the position is in its parent's client coordinates.
    void MoveWindow(int x, int y, int cx, int cy) const;
    void MoveWindow(const Rect& rect) const;
    void Invalidate() const;

    void SetContextHelpId(unsigned id) const;
    unsigned GetContextHelpId() const;

protected:
    Handle handle_ = nullptr;
};

class Button : public Window {
public:
    using Window::Window;
    int GetCheck() const; // kUnchecked, kChecked, kIndeterminate
    void SetCheck(int state) const;
    void SetButtonStyle(unsigned style, bool redraw = true) const;
};

class Edit : public Window {
public:
    using Window::Window;
    // The most characters the user can type; 0 gives the largest limit. Texts set by the
    // program are not cut.
    void LimitText(int maxChars) const;
    int GetLimitText() const;
    void SetSel(int start, int end) const; // 0, -1 selects everything
};

class Static : public Window {
public:
    using Window::Window;
    // Shows bitmap resource `bitmapId` of the program at the scale of the control's screen
    // (the bitmap drawn for that scale where the program has one, see res/resource.h); false
    // when there is no such bitmap.
    bool SetBitmap(int bitmapId) const;
    // The size in pixels of the bitmap the control shows (0, 0 without one).
    Size GetBitmapSize() const;
};

// What combo boxes and list boxes share.
class ListControl : public Window {
public:
    using Window::Window;
    // Adds in sorted position when the control has the sorted style, else at the end.
    int AddString(std::string_view text) const;
    // Inserts before `index`; -1 appends, whatever the style.
    int InsertString(int index, std::string_view text) const;
    // The number of entries left, or kListError.
    int DeleteString(int index) const;
    void ResetContent() const;
    int GetCount() const;
    // The first entry after `startAfter` (wrapping round; -1 searches from the top) whose
    // text begins with `text`, compared without regard to case; kListError when none.
    int FindString(int startAfter, std::string_view text) const;
    // The same for an entry whose whole text equals `text` without regard to case.
    int FindStringExact(int startAfter, std::string_view text) const;
    int GetCurSel() const;
    // Selects `index`; -1 (or an index out of range) leaves nothing selected.
    int SetCurSel(int index) const;
    std::string GetItemText(int index) const; // empty out of range
    std::string GetSelectedText() const;      // empty with no selection
    std::intptr_t GetItemData(int index) const;
    int SetItemData(int index, std::intptr_t data) const;
};

class ComboBox : public ListControl {
public:
    using ListControl::ListControl;
    // For a combo box with an edit field: the most characters the user can type into it (0
    // gives the largest limit). Texts set by the program are not cut.
    void LimitText(int maxChars) const;
    int GetLimitText() const;
};

class ListBox : public ListControl {
public:
    using ListControl::ListControl;
};

class SpinButton : public Window {
public:
    using Window::Window;
    void SetRange(int lower, int upper) const;
    std::pair<int, int> GetRange() const;
    int SetPos(int pos) const;
    // With a buddy that shows a number, the number in the buddy's text; `error` is set when
    // that text is no number within the range.
    int GetPos(bool* error = nullptr) const;
    void SetAccel(std::span<const SpinAccel> steps) const;
    void SetAccel(std::initializer_list<SpinAccel> steps) const;
    Window GetBuddy() const;
};

class ProgressBar : public Window {
public:
    using Window::Window;
    void SetRange(int lower, int upper) const;
    std::pair<int, int> GetRange() const;
    int SetPos(int pos) const; // the previous position
    int GetPos() const;
};

} // namespace ui
