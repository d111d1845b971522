#include "ui/window.h"

#include "ui/backend.h"

namespace ui {
namespace {

Backend& B() {
    return CurrentBackend();
}

} // namespace

int Window::GetDlgCtrlID() const {
    return handle_ ? B().ControlId(handle_) : 0;
}

Window Window::GetParent() const {
    return Window(handle_ ? B().Parent(handle_) : nullptr);
}

ControlKind Window::GetKind() const {
    return handle_ ? B().Kind(handle_) : ControlKind::Other;
}

unsigned Window::GetStyle() const {
    return handle_ ? B().Style(handle_) : 0;
}

std::string Window::GetWindowText() const {
    return handle_ ? B().Text(handle_) : std::string();
}

void Window::SetWindowText(std::string_view text) const {
    if (handle_)
        B().SetText(handle_, text);
}

void Window::EnableWindow(bool enable) const {
    if (handle_)
        B().Enable(handle_, enable);
}

bool Window::IsWindowEnabled() const {
    return handle_ && B().IsEnabled(handle_);
}

void Window::ShowWindow(bool show) const {
    if (handle_)
        B().Show(handle_, show);
}

bool Window::IsWindowVisible() const {
    return handle_ && B().IsVisible(handle_);
}

void Window::SetFocus() const {
    if (handle_)
        B().SetFocus(handle_);
}

bool Window::HasFocus() const {
    return handle_ && B().Focus() == handle_;
}

Rect Window::GetWindowRect() const {
    return handle_ ? B().WindowRect(handle_) : Rect{};
}

Rect Window::GetClientRect() const {
    return handle_ ? B().ClientRect(handle_) : Rect{};
}

Point Window::ScreenToClient(Point point) const {
    return handle_ ? B().ScreenToClient(handle_, point) : point;
}

Rect Window::ScreenToClient(const Rect& rect) const {
    const Point topLeft = ScreenToClient(Point{rect.left, rect.top});
    const Point bottomRight = ScreenToClient(Point{rect.right, rect.bottom});
    return Rect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void Window::MoveWindow(int x, int y, int cx, int cy) const {
    if (handle_)
        B().SetWindowPos(handle_, x, y, cx, cy);
}

void Window::MoveWindow(const Rect& rect) const {
    MoveWindow(rect.left, rect.top, rect.Width(), rect.Height());
}

void Window::Invalidate() const {
    if (handle_)
        B().Redraw(handle_);
}

void Window::SetContextHelpId(unsigned id) const {
    if (handle_)
        B().SetContextHelpId(handle_, id);
}

unsigned Window::GetContextHelpId() const {
    return handle_ ? B().ContextHelpId(handle_) : 0;
}

int Button::GetCheck() const {
    return handle_ ? B().CheckState(handle_) : kUnchecked;
}

void Button::SetCheck(int state) const {
    if (handle_)
        B().SetCheckState(handle_, state);
}

void Button::SetButtonStyle(unsigned style, bool redraw) const {
    if (handle_)
        B().SetButtonStyle(handle_, style, redraw);
}

void Edit::LimitText(int maxChars) const {
    if (handle_)
        B().LimitText(handle_, maxChars);
}

int Edit::GetLimitText() const {
    return handle_ ? B().TextLimit(handle_) : 0;
}

void ComboBox::LimitText(int maxChars) const {
    if (handle_)
        B().LimitText(handle_, maxChars);
}

int ComboBox::GetLimitText() const {
    return handle_ ? B().TextLimit(handle_) : 0;
}

void Edit::SetSel(int start, int end) const {
    if (handle_)
        B().SetSel(handle_, start, end);
}

bool Static::SetBitmap(int bitmapId) const {
    return handle_ && B().SetBitmap(handle_, bitmapId);
}

Size Static::GetBitmapSize() const {
    return handle_ ? B().ImageSize(handle_) : Size{};
}

int ListControl::AddString(std::string_view text) const {
    return handle_ ? B().AddString(handle_, text) : kListError;
}

int ListControl::InsertString(int index, std::string_view text) const {
    return handle_ ? B().InsertString(handle_, index, text) : kListError;
}

int ListControl::DeleteString(int index) const {
    return handle_ ? B().DeleteString(handle_, index) : kListError;
}

void ListControl::ResetContent() const {
    if (handle_)
        B().ResetContent(handle_);
}

int ListControl::GetCount() const {
    return handle_ ? B().Count(handle_) : 0;
}

int ListControl::FindString(int startAfter, std::string_view text) const {
    return handle_ ? B().FindString(handle_, startAfter, text, false) : kListError;
}

int ListControl::FindStringExact(int startAfter, std::string_view text) const {
    return handle_ ? B().FindString(handle_, startAfter, text, true) : kListError;
}

int ListControl::GetCurSel() const {
    return handle_ ? B().CurSel(handle_) : kListError;
}

int ListControl::SetCurSel(int index) const {
    return handle_ ? B().SetCurSel(handle_, index) : kListError;
}

std::string ListControl::GetItemText(int index) const {
    if (!handle_)
        return {};
    return B().ItemText(handle_, index).value_or(std::string());
}

std::string ListControl::GetSelectedText() const {
    const int selection = GetCurSel();
    return selection < 0 ? std::string() : GetItemText(selection);
}

std::intptr_t ListControl::GetItemData(int index) const {
    return handle_ ? B().ItemData(handle_, index) : kListError;
}

int ListControl::SetItemData(int index, std::intptr_t data) const {
    return handle_ ? B().SetItemData(handle_, index, data) : kListError;
}

void SpinButton::SetRange(int lower, int upper) const {
    if (handle_)
        B().SetSpinRange(handle_, lower, upper);
}

std::pair<int, int> SpinButton::GetRange() const {
    return handle_ ? B().SpinRange(handle_) : std::pair<int, int>{0, 0};
}

int SpinButton::SetPos(int pos) const {
    return handle_ ? B().SetSpinPos(handle_, pos) : 0;
}

int SpinButton::GetPos(bool* error) const {
    if (!handle_) {
        if (error)
            *error = true;
        return 0;
    }
    return B().SpinPos(handle_, error);
}

void SpinButton::SetAccel(std::span<const SpinAccel> steps) const {
    if (handle_)
        B().SetSpinAccel(handle_, steps);
}

void SpinButton::SetAccel(std::initializer_list<SpinAccel> steps) const {
    SetAccel(std::span<const SpinAccel>(steps.begin(), steps.size()));
}

Window SpinButton::GetBuddy() const {
    return Window(handle_ ? B().SpinBuddy(handle_) : nullptr);
}

void ProgressBar::SetRange(int lower, int upper) const {
    if (handle_)
        B().SetProgressRange(handle_, lower, upper);
}

std::pair<int, int> ProgressBar::GetRange() const {
    return handle_ ? B().ProgressRange(handle_) : std::pair<int, int>{0, 0};
}

int ProgressBar::SetPos(int pos) const {
    return handle_ ? B().SetProgressPos(handle_, pos) : 0;
}

int ProgressBar::GetPos() const {
    return handle_ ? B().ProgressPos(handle_) : 0;
}

} // namespace ui
