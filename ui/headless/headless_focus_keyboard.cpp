// The focus and the user's mouse and keyboard on the controls: what the Automation acts with.
#include "ui/headless/headless_backend.h"

#include <algorithm>
#include <string>
#include <utility>

#include "ui/dialog.h"

#include "ui/headless/headless_node.h"

namespace ui::headless {

namespace {

class RecordingPainter : public Painter {
public:
    explicit RecordingPainter(std::vector<PaintOp>& ops) : ops_(ops) {}
    void DrawPushButtonFrame(const Rect& rect, bool pushed) override {
        PaintOp op;
        op.kind = PaintOp::Kind::PushButtonFrame;
        op.rect = rect;
        op.pushed = pushed;
        ops_.push_back(op);
    }
    Color SetTextColor(Color color) override {
        PaintOp op;
        op.kind = PaintOp::Kind::TextColor;
        op.color = color;
        ops_.push_back(op);
        const Color previous = color_;
        color_ = color;
        return previous;
    }
    void PaintText(std::string_view text, const Rect& rect, unsigned format) override {
        PaintOp op;
        op.kind = PaintOp::Kind::Text;
        op.text = std::string(text);
        op.rect = rect;
        op.format = format;
        op.color = color_;
        ops_.push_back(op);
    }

private:
    std::vector<PaintOp>& ops_;
    Color color_ = 0; // black, the system's button text colour
};

} // namespace

Handle HeadlessBackend::Focus() {
    return HandleOf(focus_);
}

void HeadlessBackend::SetFocus(Handle window) {
    SetFocusTo(Find(window));
}

void HeadlessBackend::FocusNotify(Node* control, bool gained) {
    switch (control->kind) {
    case ControlKind::Edit:
        Notify(control, gained ? kEnSetFocus : kEnKillFocus);
        break;
    case ControlKind::ComboBox:
        Notify(control, gained ? kCbnSetFocus : kCbnKillFocus);
        break;
    case ControlKind::ListBox: // with or without LBS_NOTIFY
        Notify(control, gained ? kLbnSetFocus : kLbnKillFocus);
        break;
    case ControlKind::Button:
        if (control->style & kBsNotify)
            Notify(control, gained ? kBnSetFocus : kBnKillFocus);
        break;
    default:
        break;
    }
}

void HeadlessBackend::SetFocusTo(Node* node) {
    Node* previous = focus_;
    if (previous == node)
        return;
    // As in Win32, the focus has moved when the old window hears of it.
    focus_ = node;
    if (previous)
        FocusNotify(previous, false);
    if (focus_ != node || !node)
        return; // moved elsewhere by the kill-focus handler
    FocusNotify(node, true);
}

// ---- automation ---------------------------------------------------------------------------

void HeadlessBackend::ReportFailure(std::string message) {
    RecordFailure(message);
    if (throwOnFailure_)
        throw ScriptError(message);
}

std::vector<NotificationRecord> HeadlessBackend::TakeNotifications() {
    return std::exchange(notifications_, {});
}

Handle HeadlessBackend::ActiveDialog() {
    Node* top = TopModal();
    if (top && top->sheet) {
        const int active = top->sheet->active;
        return active >= 0 ? HandleOf(top->sheet->pages[static_cast<size_t>(active)]) : nullptr;
    }
    return HandleOf(top);
}

void HeadlessBackend::ClickNode(Node* node) {
    if (!node || node->kind != ControlKind::Button || !node->Enabled() ||
        !IsVisible(HandleOf(node)) || node->ButtonType() == kBsGroupBox)
        return;
    SetFocusTo(node);
    switch (node->ButtonType()) {
    case kBsAutoCheckBox:
        node->check = node->check == kChecked ? kUnchecked : kChecked;
        break;
    case kBsAuto3State:
        node->check = (node->check + 1) % 3;
        break;
    case kBsAutoRadioButton:
        CheckAutoRadio(node);
        break;
    default:
        break;
    }
    if (node->parent && node->parent->sheet) {
        Node* sheet = node->parent;
        if (node->id == kIdOk)
            SheetOk(sheet);
        else if (node->id == kIdCancel)
            SheetCancel(sheet);
        else if (node->id == kIdHelp) {
            const int active = sheet->sheet->active;
            if (active >= 0 && sheet->sheet->pages[static_cast<size_t>(active)])
                DialogEvents::PageHelp(static_cast<PropertyPage&>(
                    *sheet->sheet->pages[static_cast<size_t>(active)]->dialog));
        }
        return;
    }
    Notify(node, kBnClicked);
}

void HeadlessBackend::Click(int id) {
    ClickNode(FindControl(id, "click"));
}

void HeadlessBackend::ChooseItem(int id, int index) {
    Node* node = FindControl(id, "choose an entry of");
    if (!node)
        return;
    if (!node->IsList()) {
        ReportFailure("control " + std::to_string(id) + " is no list");
        return;
    }
    if (index < 0 || index >= static_cast<int>(node->items.size())) {
        ReportFailure("control " + std::to_string(id) + " has no entry " + std::to_string(index));
        return;
    }
    if (!node->Enabled() || !IsVisible(HandleOf(node)))
        return;
    SetFocusTo(node);
    if (node->kind == ControlKind::ComboBox) {
        // The list's click selects the entry and rolls the list up; the selection change is
        // reported last, even when the entry was selected already.
        node->droppedDown = true;
        Notify(node, kCbnDropDown);
        node->selection = index;
        ShowComboSelection(node);
        Notify(node, kCbnSelEndOk);
        node->droppedDown = false;
        Notify(node, kCbnCloseUp);
        Notify(node, kCbnSelChange);
        return;
    }
    node->selection = index;
    if (node->style & kLbsNotify)
        Notify(node, kLbnSelChange);
}

// The closed drop-down list of control `id`, focused; null (a failure where it is no combo box)
// when the keyboard cannot reach it.
HeadlessBackend::Node* HeadlessBackend::FocusClosedCombo(int id, const char* action) {
    Node* node = FindControl(id, action);
    if (!node)
        return nullptr;
    if (node->kind != ControlKind::ComboBox) {
        ReportFailure("control " + std::to_string(id) + " is no combo box");
        return nullptr;
    }
    if (!node->Enabled() || !IsVisible(HandleOf(node)))
        return nullptr;
    SetFocusTo(node);
    return node;
}

// Moves a closed list's selection to `index` (kept inside the list). The system reports the
// move even when the selection stays, at either end of the list.
void HeadlessBackend::MoveComboSelection(Node* node, int index) {
    const int count = static_cast<int>(node->items.size());
    if (count == 0)
        return;
    node->selection = std::clamp(index, 0, count - 1);
    ShowComboSelection(node);
    Notify(node, kCbnSelEndOk);
    Notify(node, kCbnSelChange);
}

void HeadlessBackend::PressListKey(int id, ListKey key) {
    Node* node = FocusClosedCombo(id, "press a key on");
    if (!node)
        return;
    const int last = static_cast<int>(node->items.size()) - 1;
    switch (key) {
    case ListKey::Down:
    case ListKey::WheelDown:
        MoveComboSelection(node, node->selection < 0 ? 0 : node->selection + 1);
        break;
    case ListKey::Up:
    case ListKey::WheelUp:
        MoveComboSelection(node, node->selection < 0 ? 0 : node->selection - 1);
        break;
    case ListKey::Home:
        MoveComboSelection(node, 0);
        break;
    case ListKey::End:
        MoveComboSelection(node, last);
        break;
    }
}

void HeadlessBackend::TypeListLetter(int id, char letter) {
    Node* node = FocusClosedCombo(id, "type a letter on");
    if (!node)
        return;
    // The list's own prefix search, from the entry after the selection, wrapping round.
    const char wanted[] = {letter, '\0'};
    const int index = FindString(HandleOf(node), node->selection, wanted, false);
    if (index != kListError)
        MoveComboSelection(node, index);
}

void HeadlessBackend::DismissList(int id, Dismissal how) {
    Node* node = FocusClosedCombo(id, "open and dismiss");
    if (!node)
        return;
    // Esc and a click outside both roll the list up without a choice; the outside click is
    // taken by the open list, so the focus stays.
    static_cast<void>(how);
    node->droppedDown = true;
    Notify(node, kCbnDropDown);
    Notify(node, kCbnSelEndCancel);
    node->droppedDown = false;
    Notify(node, kCbnCloseUp);
}

void HeadlessBackend::DoubleClickItem(int id, int index) {
    ChooseItem(id, index);
    Node* node = FindControl(id, "double-click");
    if (node && node->kind == ControlKind::ListBox && (node->style & kLbsNotify) && node->Enabled())
        Notify(node, kLbnDblClk);
}

void HeadlessBackend::FocusControl(int id) {
    Node* node = FindControl(id, "focus");
    if (!node)
        return;
    if (node->TakesText()) {
        node->selStart = 0;
        node->selEnd = static_cast<int>(node->text.size());
    }
    SetFocusTo(node);
}

// The control Tab reaches from `from` in `dialog` (GetNextDlgTabItem): the next visible, enabled
// control with the tab-stop style in the template's order, wrapping round.
HeadlessBackend::Node* HeadlessBackend::NextTabStop(Node* dialog, Node* from, bool backward) {
    const std::vector<Node*>& controls = dialog->children;
    const int count = static_cast<int>(controls.size());
    const auto at = std::find(controls.begin(), controls.end(), from);
    int index =
        at == controls.end() ? (backward ? count : -1) : static_cast<int>(at - controls.begin());
    for (int step = 0; step < count; ++step) {
        index = (index + (backward ? count - 1 : 1)) % count;
        Node* candidate = controls[static_cast<size_t>(index)];
        if ((candidate->style & kWsTabStop) && candidate->Enabled() &&
            IsVisible(HandleOf(candidate)))
            return candidate;
    }
    return nullptr;
}

void HeadlessBackend::PressTab(bool backward) {
    Node* dialog = Find(ActiveDialog());
    if (!dialog) {
        ReportFailure("cannot press Tab: no dialog is running");
        return;
    }
    Node* from = focus_ && focus_->parent == dialog ? focus_ : nullptr;
    Node* next = NextTabStop(dialog, from, backward);
    if (!next || next == from)
        return;
    if (next->TakesText()) {
        next->selStart = 0;
        next->selEnd = static_cast<int>(next->text.size());
    }
    SetFocusTo(next);
}

void HeadlessBackend::ReplaceText(int id, std::string_view text) {
    Node* node = FindControl(id, "type into");
    if (!node)
        return;
    if (!node->TakesText()) {
        ReportFailure("control " + std::to_string(id) + " is no edit");
        return;
    }
    if (!node->Enabled() || !IsVisible(HandleOf(node)))
        return;
    FocusControl(id);
    if (text.empty()) {
        if (node->selStart != node->selEnd)
            DeleteSelection(node);
        return;
    }
    for (char c : text) {
        if (!nodes_.count(node->handle) || focus_ != node)
            break; // a handler moved the focus away: the rest goes elsewhere
        TypeChar(node, static_cast<unsigned char>(c));
    }
}

void HeadlessBackend::TypeText(int id, std::string_view text) {
    Node* node = FindControl(id, "type into");
    if (!node)
        return;
    if (!node->TakesText()) {
        ReportFailure("control " + std::to_string(id) + " is no edit");
        return;
    }
    if (!node->Enabled() || !IsVisible(HandleOf(node)))
        return;
    SetFocusTo(node);
    node->selStart = node->selEnd = static_cast<int>(node->text.size());
    for (char c : text) {
        if (!nodes_.count(node->handle) || focus_ != node)
            break;
        TypeChar(node, static_cast<unsigned char>(c));
    }
}

void HeadlessBackend::Spin(int id, int direction) {
    Node* node = FindControl(id, "spin");
    if (!node)
        return;
    if (node->kind != ControlKind::UpDown) {
        ReportFailure("control " + std::to_string(id) + " is no up-down control");
        return;
    }
    if (!node->Enabled() || (node->buddy && !node->buddy->Enabled()) || !IsVisible(HandleOf(node)))
        return;
    // A click on the arrows puts the focus into an edit buddy.
    if (node->buddy && node->buddy->kind == ControlKind::Edit)
        SetFocusTo(node->buddy);
    ReadBuddyInt(node);
    const int step = node->accel.empty() ? 1 : static_cast<int>(node->accel.front().increment);
    const int sign = node->upper < node->lower ? -direction : direction;
    const long long wanted =
        static_cast<long long>(node->pos) + static_cast<long long>(sign) * step;
    const int low = std::min(node->lower, node->upper);
    const int high = std::max(node->lower, node->upper);
    int next = node->pos;
    if (wanted < low || wanted > high) {
        if (node->style & kUdsWrap)
            next = wanted < low ? high : low;
        else
            next = static_cast<int>(std::clamp<long long>(wanted, low, high));
    } else {
        next = static_cast<int>(wanted);
    }
    if (next == node->pos)
        return;
    node->pos = next;
    WriteBuddyInt(node);
}

void HeadlessBackend::SpinUp(int id) {
    Spin(id, 1);
}

void HeadlessBackend::SpinDown(int id) {
    Spin(id, -1);
}

void HeadlessBackend::Paint(int id, bool pressed) {
    Node* node = FindControl(id, "paint");
    if (!node)
        return;
    lastPaint_.clear();
    if (node->kind != ControlKind::Button || node->ButtonType() != kBsOwnerDraw)
        return;
    Node* dialog = DialogOf(node->parent);
    if (!dialog)
        return;
    RecordingPainter painter(lastPaint_);
    ui::DrawItem item{node->id,         Rect{0, 0, node->rect.Width(), node->rect.Height()},
                      pressed,          focus_ == node,
                      !node->Enabled(), painter};
    DialogEvents::DrawItem(*dialog->dialog, item);
}

void HeadlessBackend::PressF1() {
    if (!focus_)
        return;
    Node* dialog = DialogOf(focus_);
    if (!dialog)
        return;
    DialogEvents::Help(*dialog->dialog, HelpRequest{focus_->id, HandleOf(focus_)});
}

void HeadlessBackend::PressOk() {
    Node* top = TopModal();
    if (!top) {
        ReportFailure("cannot press OK: no dialog is running");
        return;
    }
    if (top->sheet) {
        ClickNode(Find(Item(HandleOf(top), kIdOk)));
        return;
    }
    Node* ok = Find(Item(HandleOf(top), kIdOk));
    if (!ok) {
        ReportFailure("cannot press OK: the dialog has no OK button");
        return;
    }
    ClickNode(ok);
}

void HeadlessBackend::PressCancel() {
    Node* top = TopModal();
    if (!top) {
        ReportFailure("cannot press Cancel: no dialog is running");
        return;
    }
    Node* cancel = Find(Item(HandleOf(top), kIdCancel));
    if (cancel || top->sheet) {
        ClickNode(cancel);
        return;
    }
    // Without a Cancel button, Esc sends the same command.
    if (top->dialog)
        DialogEvents::Command(*top->dialog, kIdCancel, kBnClicked);
}

void HeadlessBackend::PressEnter() {
    Node* top = TopModal();
    if (!top) {
        ReportFailure("cannot press Enter: no dialog is running");
        return;
    }
    if (top->sheet) {
        Node* ok = Find(Item(HandleOf(top), kIdOk));
        if (ok && ok->Enabled())
            SheetOk(top);
        return;
    }
    // As the dialog manager does: the default push button's command while it is enabled, IDOK
    // when the dialog has none. The focus stays where it is.
    for (Node* child : top->children) {
        if (child->kind == ControlKind::Button && child->ButtonType() == kBsDefPushButton) {
            if (child->Enabled() && top->dialog)
                DialogEvents::Command(*top->dialog, child->id, kBnClicked);
            return;
        }
    }
    if (top->dialog)
        DialogEvents::Command(*top->dialog, kIdOk, kBnClicked);
}

void HeadlessBackend::PressHelp() {
    Node* sheet = TopSheet();
    if (!sheet) {
        ReportFailure("cannot press Help: no property sheet is running");
        return;
    }
    ClickNode(Find(Item(HandleOf(sheet), kIdHelp)));
}

void HeadlessBackend::SelectPage(int index) {
    Node* sheet = TopSheet();
    if (!sheet) {
        ReportFailure("cannot select a page: no property sheet is running");
        return;
    }
    if (index < 0 || index >= static_cast<int>(sheet->sheet->pages.size())) {
        ReportFailure("the sheet has no page " + std::to_string(index));
        return;
    }
    SetFocusTo(Find(Item(HandleOf(sheet), kTabControlId)));
    if (SheetCanSetCurSel(sheet))
        SheetSetCurSel(sheet, index, 1);
}

} // namespace ui::headless
