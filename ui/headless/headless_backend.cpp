#include "ui/headless/headless_backend.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <utility>

#include "ui/dialog.h"
#include "ui/headless/collation.h"
#include "ui/scaled_bitmap.h"

namespace ui::headless {
namespace {

// Dialog base units of the templates' 8-point font at 96 DPI.
constexpr int kBaseUnitX = HeadlessBackend::kDialogBaseUnitX;
constexpr int kBaseUnitY = 13;
constexpr Point kTopLevelOrigin{100, 80};
constexpr Point kSheetPageOrigin{8, 30};
constexpr int kDefaultEditLimit = 30000;
constexpr int kLargestEditLimit = 0x7FFFFFFE;
constexpr int kTabControlId = 0x3020;
constexpr SpinAccel kDefaultAccel[] = {{0, 1}, {2, 5}, {5, 20}};

int MulDivRound(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : -((-product + half) / denominator));
}

// The font's pixels grow with the screen's DPI, and the dialog units with them.
Rect DialogUnitsToPixels(int x, int y, int cx, int cy, int dpi) {
    const int baseX = MulDivRound(kBaseUnitX, dpi, kDefaultDpi);
    const int baseY = MulDivRound(kBaseUnitY, dpi, kDefaultDpi);
    const int left = MulDivRound(x, baseX, 4);
    const int top = MulDivRound(y, baseY, 8);
    return Rect{left, top, left + MulDivRound(cx, baseX, 4), top + MulDivRound(cy, baseY, 8)};
}

Rect ScaleRect(const Rect& rect, int to, int from) {
    return Rect{MulDivRound(rect.left, to, from), MulDivRound(rect.top, to, from),
                MulDivRound(rect.right, to, from), MulDivRound(rect.bottom, to, from)};
}

ControlKind KindOfClass(const std::string& className) {
    if (className == "button")
        return ControlKind::Button;
    if (className == "edit")
        return ControlKind::Edit;
    if (className == "static")
        return ControlKind::Static;
    if (className == "listbox")
        return ControlKind::ListBox;
    if (className == "combobox")
        return ControlKind::ComboBox;
    if (className == "msctls_updown32")
        return ControlKind::UpDown;
    if (className == "msctls_progress32")
        return ControlKind::Progress;
    if (className == "systabcontrol32")
        return ControlKind::Tab;
    return ControlKind::Other;
}

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// The number an up-down control shows in its buddy: decimal, thousands grouped with commas
// unless the control has UDS_NOTHOUSANDS.
std::string FormatSpinNumber(int value, bool group) {
    std::string digits = std::to_string(value);
    if (!group || digits.size() <= 3)
        return digits;
    const size_t start = digits[0] == '-' ? 1 : 0;
    std::string out = digits.substr(0, start);
    const std::string body = digits.substr(start);
    size_t first = body.size() % 3;
    if (first == 0)
        first = 3;
    out += body.substr(0, first);
    for (size_t i = first; i < body.size(); i += 3)
        out += "," + body.substr(i, 3);
    return out;
}

std::optional<int> ParseSpinNumber(std::string_view text) {
    std::string digits;
    for (char c : text) {
        if (c != ',')
            digits += c;
    }
    if (digits.empty())
        return std::nullopt;
    long long value = 0;
    const char* first = digits.data();
    const char* last = digits.data() + digits.size();
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

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

struct HeadlessBackend::SheetState {
    std::vector<Node*> pages; // null until a page is first shown
    int active = -1;
};

struct HeadlessBackend::Node {
    std::uintptr_t handle = 0;
    ControlKind kind = ControlKind::Other;
    std::string className;
    int id = 0;
    unsigned style = 0;
    unsigned exStyle = 0;
    std::string text;
    Rect rect; // in the parent's client coordinates; screen coordinates for top-level windows
    Node* parent = nullptr;
    Node* owner = nullptr; // a top-level window's owner
    std::vector<Node*> children;
    unsigned helpId = 0;

    DialogBase* dialog = nullptr;
    PropertySheet* sheetObject = nullptr;
    std::unique_ptr<SheetState> sheet;
    bool ended = false;
    int result = 0;

    struct ListItem {
        std::string text;
        std::intptr_t data = 0;
    };
    std::vector<ListItem> items;
    int selection = -1;
    bool droppedDown = false; // a combo box's list is open

    int limit = kDefaultEditLimit;
    int selStart = 0;
    int selEnd = 0;

    int check = kUnchecked;

    int lower = 0;
    int upper = 0;
    int pos = 0;
    std::vector<SpinAccel> accel;
    Node* buddy = nullptr;

    int bitmapId = 0;
    Size imageSize;

    int pageCodeDepth = 0; // a page's own routines running (see PageHearsControls)

    bool Enabled() const { return !(style & kWsDisabled); }
    bool Visible() const { return (style & kWsVisible) != 0; }
    unsigned ButtonType() const { return style & kBsTypeMask; }
    bool Sorted() const {
        return kind == ControlKind::ComboBox ? (style & kCbsSort) != 0 : (style & kLbsSort) != 0;
    }
    bool IsList() const { return kind == ControlKind::ComboBox || kind == ControlKind::ListBox; }
    // A combo box with an edit field (CBS_SIMPLE or CBS_DROPDOWN).
    bool HasEditField() const {
        return kind == ControlKind::ComboBox && (style & 0x3) != kCbsDropDownList;
    }
    // Accepts typed text: an edit or a combo box's edit field.
    bool TakesText() const { return kind == ControlKind::Edit || HasEditField(); }
};

HeadlessBackend::HeadlessBackend(std::span<const unsigned char> resources)
    : resources_(ResourceFile::Parse(resources)) {}

HeadlessBackend::~HeadlessBackend() = default;

// ---- nodes --------------------------------------------------------------------------------

HeadlessBackend::Node* HeadlessBackend::Find(Handle handle) const {
    const auto it = nodes_.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == nodes_.end() ? nullptr : it->second.get();
}

Handle HeadlessBackend::HandleOf(const Node* node) const {
    return node ? reinterpret_cast<Handle>(node->handle) : nullptr;
}

HeadlessBackend::Node* HeadlessBackend::NewNode(Node* parent) {
    auto node = std::make_unique<Node>();
    node->handle = nextHandle_;
    nextHandle_ += 4;
    node->parent = parent;
    Node* raw = node.get();
    nodes_.emplace(raw->handle, std::move(node));
    if (parent)
        parent->children.push_back(raw);
    return raw;
}

void HeadlessBackend::DestroyNode(Node* node) {
    if (!node)
        return;
    while (!node->children.empty())
        DestroyNode(node->children.back());
    if (focus_ == node)
        focus_ = nullptr;
    for (auto& [handle, other] : nodes_) {
        if (other->buddy == node)
            other->buddy = nullptr;
        if (other->owner == node)
            other->owner = nullptr;
    }
    if (node->parent) {
        auto& siblings = node->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
    }
    if (node->dialog)
        DialogEvents::Detach(*node->dialog);
    nodes_.erase(node->handle);
}

bool HeadlessBackend::IsInside(const Node* node, const Node* ancestor) const {
    for (const Node* n = node; n; n = n->parent) {
        if (n == ancestor)
            return true;
    }
    return false;
}

HeadlessBackend::Node* HeadlessBackend::DialogOf(Node* node) const {
    for (Node* n = node; n; n = n->parent) {
        if (n->dialog)
            return n;
    }
    return nullptr;
}

HeadlessBackend::Node* HeadlessBackend::TopModal() const {
    return modalStack_.empty() ? nullptr : modalStack_.back();
}

bool HeadlessBackend::InnermostModalEnded() const {
    const Node* top = TopModal();
    return top && top->ended;
}

HeadlessBackend::Node* HeadlessBackend::TopSheet() const {
    Node* top = TopModal();
    return top && top->sheet ? top : nullptr;
}

HeadlessBackend::Node* HeadlessBackend::FindControl(int id, const char* action) {
    Node* dialog = Find(ActiveDialog());
    Node* control = dialog ? Find(Item(HandleOf(dialog), id)) : nullptr;
    if (!control) {
        ReportFailure(std::string("cannot ") + action + " control " + std::to_string(id) +
                      (dialog ? ": the dialog has no such control" : ": no dialog is running"));
    }
    return control;
}

// ---- windows ------------------------------------------------------------------------------

Handle HeadlessBackend::Item(Handle dialog, int id) {
    Node* node = Find(dialog);
    if (!node)
        return nullptr;
    for (Node* child : node->children) {
        if (child->id == id)
            return HandleOf(child);
    }
    return nullptr;
}

int HeadlessBackend::ControlId(Handle window) {
    Node* node = Find(window);
    return node ? node->id : 0;
}

Handle HeadlessBackend::Parent(Handle window) {
    Node* node = Find(window);
    if (!node)
        return nullptr;
    return HandleOf(node->parent ? node->parent : node->owner);
}

ControlKind HeadlessBackend::Kind(Handle window) {
    Node* node = Find(window);
    return node ? node->kind : ControlKind::Other;
}

unsigned HeadlessBackend::Style(Handle window) {
    Node* node = Find(window);
    return node ? node->style : 0;
}

std::string HeadlessBackend::Text(Handle window) {
    Node* node = Find(window);
    if (!node)
        return {};
    if (node->kind == ControlKind::ComboBox && (node->style & 0x3) == kCbsDropDownList)
        return node->selection >= 0 ? node->items[static_cast<size_t>(node->selection)].text
                                    : std::string();
    return node->text;
}

void HeadlessBackend::SetText(Handle window, std::string_view text) {
    Node* node = Find(window);
    if (!node)
        return;
    if (node->kind == ControlKind::Edit) {
        SetEditText(node, std::string(text), true);
        return;
    }
    if (node->kind == ControlKind::ComboBox && (node->style & 0x3) == kCbsDropDownList)
        return; // a drop-down list shows its selection only
    node->text = std::string(text);
}

void HeadlessBackend::Enable(Handle window, bool enable) {
    Node* node = Find(window);
    if (!node)
        return;
    if (enable) {
        node->style &= ~kWsDisabled;
        return;
    }
    node->style |= kWsDisabled;
    if (focus_ && IsInside(focus_, node))
        SetFocusTo(nullptr);
}

bool HeadlessBackend::IsEnabled(Handle window) {
    Node* node = Find(window);
    return node && node->Enabled();
}

void HeadlessBackend::Show(Handle window, bool show) {
    Node* node = Find(window);
    if (!node)
        return;
    if (show) {
        node->style |= kWsVisible;
        return;
    }
    node->style &= ~kWsVisible;
    if (!focus_ || !IsInside(focus_, node))
        return;
    // The dialog takes the focus and hands it to its first tab stop, as the dialog manager
    // does for a dialog focused without a control to go back to.
    Node* dialog = DialogOf(node->parent);
    if (dialog) {
        FocusFirstTabStop(dialog);
        if (focus_ && !IsInside(focus_, node))
            return;
    }
    SetFocusTo(node->parent);
}

bool HeadlessBackend::IsVisible(Handle window) {
    Node* node = Find(window);
    if (!node)
        return false;
    for (Node* n = node; n; n = n->parent) {
        if (!n->Visible())
            return false;
    }
    return true;
}

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

Rect HeadlessBackend::WindowRect(Handle window) {
    Node* node = Find(window);
    if (!node)
        return {};
    Rect rect = node->rect;
    for (Node* p = node->parent; p; p = p->parent) {
        rect.left += p->rect.left;
        rect.right += p->rect.left;
        rect.top += p->rect.top;
        rect.bottom += p->rect.top;
    }
    return rect;
}

Rect HeadlessBackend::ClientRect(Handle window) {
    Node* node = Find(window);
    return node ? Rect{0, 0, node->rect.Width(), node->rect.Height()} : Rect{};
}

Point HeadlessBackend::ScreenToClient(Handle window, Point point) {
    const Rect rect = WindowRect(window);
    return Point{point.x - rect.left, point.y - rect.top};
}

void HeadlessBackend::SetWindowPos(Handle window, int x, int y, int cx, int cy) {
    Node* node = Find(window);
    if (node)
        node->rect = Rect{x, y, x + cx, y + cy};
}

void HeadlessBackend::SetContextHelpId(Handle window, unsigned id) {
    if (Node* node = Find(window))
        node->helpId = id;
}

unsigned HeadlessBackend::ContextHelpId(Handle window) {
    Node* node = Find(window);
    return node ? node->helpId : 0;
}

// ---- buttons ------------------------------------------------------------------------------

int HeadlessBackend::CheckState(Handle button) {
    Node* node = Find(button);
    return node && node->kind == ControlKind::Button ? node->check : kUnchecked;
}

void HeadlessBackend::SetCheckState(Handle button, int state) {
    Node* node = Find(button);
    if (!node || node->kind != ControlKind::Button)
        return;
    const unsigned type = node->ButtonType();
    if (type == kBsAutoRadioButton && state == kChecked) {
        CheckAutoRadio(node); // BM_SETCHECK unchecks the rest of the group, as a click does
        return;
    }
    if (type == kBsCheckBox || type == kBsAutoCheckBox || type == kBsRadioButton ||
        type == kBsAutoRadioButton || type == kBs3State || type == kBsAuto3State) {
        const bool threeState = type == kBs3State || type == kBsAuto3State;
        node->check = state == kIndeterminate && !threeState ? kChecked : state & 3;
    }
}

void HeadlessBackend::CheckAutoRadio(Node* node) {
    // The other automatic radio buttons of the group (from the control with WS_GROUP before it
    // to the next one) that a user could reach are unchecked.
    if (node->parent) {
        const auto& siblings = node->parent->children;
        const auto self = std::find(siblings.begin(), siblings.end(), node);
        auto first = self;
        while (first != siblings.begin() && !((*first)->style & kWsGroup))
            --first;
        auto last = self + 1;
        while (last != siblings.end() && !((*last)->style & kWsGroup))
            ++last;
        for (auto it = first; it != last; ++it) {
            Node* other = *it;
            if (other != node && other->kind == ControlKind::Button &&
                other->ButtonType() == kBsAutoRadioButton && other->Enabled() && other->Visible())
                other->check = kUnchecked;
        }
    }
    node->check = kChecked;
}

void HeadlessBackend::SetButtonStyle(Handle button, unsigned style, bool redraw) {
    Node* node = Find(button);
    // BM_SETSTYLE changes the button's type only.
    if (node && node->kind == ControlKind::Button)
        node->style = (node->style & ~static_cast<unsigned>(kBsTypeMask)) | (style & kBsTypeMask);
}

// ---- edits --------------------------------------------------------------------------------

void HeadlessBackend::LimitText(Handle edit, int maxChars) {
    Node* node = Find(edit);
    if (node && node->TakesText())
        node->limit = maxChars <= 0 ? kLargestEditLimit : maxChars;
}

int HeadlessBackend::TextLimit(Handle edit) {
    Node* node = Find(edit);
    return node && node->TakesText() ? node->limit : 0;
}

void HeadlessBackend::SetSel(Handle edit, int start, int end) {
    Node* node = Find(edit);
    if (!node || node->kind != ControlKind::Edit)
        return;
    const int length = static_cast<int>(node->text.size());
    if (start < 0) {
        node->selStart = node->selEnd = node->selEnd; // -1 removes the selection
        return;
    }
    if (end < 0 || end > length)
        end = length;
    start = std::min(start, length);
    node->selStart = std::min(start, end);
    node->selEnd = std::max(start, end);
}

std::pair<int, int> HeadlessBackend::EditSelection(Handle edit) const {
    const Node* node = Find(edit);
    if (!node || node->kind != ControlKind::Edit)
        return {0, 0};
    return {node->selStart, node->selEnd};
}

void HeadlessBackend::SetEditText(Node* edit, std::string text, bool notify) {
    edit->text = std::move(text);
    edit->selStart = edit->selEnd = 0;
    if (notify && !(edit->style & kEsMultiLine)) {
        Notify(edit, kEnUpdate);
        Notify(edit, kEnChange);
    }
}

// A combo box's edit field reports its changes as the combo box (CBN_EDITUPDATE, CBN_EDITCHANGE)
// and, while the list is closed, leaves the list without a selection.
void HeadlessBackend::NotifyTyped(Node* edit) {
    if (edit->kind != ControlKind::ComboBox) {
        Notify(edit, kEnUpdate);
        Notify(edit, kEnChange);
        return;
    }
    if (!edit->droppedDown)
        edit->selection = -1;
    Notify(edit, kCbnEditUpdate);
    Notify(edit, kCbnEditChange);
}

bool HeadlessBackend::DeleteSelection(Node* edit) {
    if (edit->kind == ControlKind::Edit && (edit->style & kEsReadOnly))
        return false;
    int start = edit->selStart;
    int end = edit->selEnd;
    if (start == end) {
        if (start == 0)
            return false;
        --start;
    }
    edit->text.erase(static_cast<size_t>(start), static_cast<size_t>(end - start));
    edit->selStart = edit->selEnd = start;
    NotifyTyped(edit);
    return true;
}

bool HeadlessBackend::TypeChar(Node* edit, unsigned char ch) {
    const bool plainEdit = edit->kind == ControlKind::Edit;
    if (plainEdit && (edit->style & kEsReadOnly))
        return false;
    if (plainEdit && (edit->style & kEsNumber) && !IsDigit(ch))
        return false;
    const int length = static_cast<int>(edit->text.size());
    const int selected = edit->selEnd - edit->selStart;
    if (length - selected + 1 > edit->limit) {
        if (plainEdit)
            Notify(edit, kEnMaxText);
        return false;
    }
    edit->text.replace(static_cast<size_t>(edit->selStart), static_cast<size_t>(selected), 1,
                       static_cast<char>(ch));
    edit->selStart = edit->selEnd = edit->selStart + 1;
    NotifyTyped(edit);
    return true;
}

// The edit field of a combo box shows the selected entry (CB_SETCURSEL, a choice in the list);
// without a selection it is emptied.
void HeadlessBackend::ShowComboSelection(Node* combo) {
    if (!combo->HasEditField())
        return;
    combo->text = combo->selection >= 0 ? combo->items[static_cast<size_t>(combo->selection)].text
                                        : std::string();
    combo->selStart = 0;
    combo->selEnd = static_cast<int>(combo->text.size());
}

// ---- combo and list boxes -----------------------------------------------------------------

int HeadlessBackend::SortedPosition(const Node* list, std::string_view text) const {
    // The binary search of the Win32 list box: an equal entry found first takes the new one
    // in front of it.
    int min = 0;
    int max = static_cast<int>(list->items.size()) - 1;
    while (min <= max) {
        const int index = (min + max) / 2;
        const int order = CompareForSort(list->items[static_cast<size_t>(index)].text, text);
        if (order == 0)
            return index;
        if (order > 0)
            max = index - 1;
        else
            min = index + 1;
    }
    return min;
}

int HeadlessBackend::InsertItem(Node* list, int index, std::string_view text) {
    const int count = static_cast<int>(list->items.size());
    if (index < 0 || index > count)
        index = count;
    list->items.insert(list->items.begin() + index, Node::ListItem{std::string(text), 0});
    if (list->selection >= index)
        ++list->selection;
    return index;
}

int HeadlessBackend::AddString(Handle handle, std::string_view text) {
    Node* list = Find(handle);
    if (!list || !list->IsList())
        return kListError;
    const int index = list->Sorted() ? SortedPosition(list, text) : -1;
    return InsertItem(list, index, text);
}

int HeadlessBackend::InsertString(Handle handle, int index, std::string_view text) {
    Node* list = Find(handle);
    if (!list || !list->IsList())
        return kListError;
    if (index < -1 || index > static_cast<int>(list->items.size()))
        return kListError;
    return InsertItem(list, index, text);
}

int HeadlessBackend::DeleteString(Handle handle, int index) {
    Node* list = Find(handle);
    if (!list || !list->IsList() || index < 0 || index >= static_cast<int>(list->items.size()))
        return kListError;
    list->items.erase(list->items.begin() + index);
    if (list->selection == index)
        list->selection = -1;
    else if (list->selection > index)
        --list->selection;
    return static_cast<int>(list->items.size());
}

void HeadlessBackend::ResetContent(Handle handle) {
    Node* list = Find(handle);
    if (!list || !list->IsList())
        return;
    list->items.clear();
    list->selection = -1;
    if (list->HasEditField())
        list->text.clear();
}

int HeadlessBackend::Count(Handle handle) {
    Node* list = Find(handle);
    return list && list->IsList() ? static_cast<int>(list->items.size()) : kListError;
}

int HeadlessBackend::FindString(Handle handle, int startAfter, std::string_view text, bool exact) {
    Node* list = Find(handle);
    if (!list || !list->IsList() || text.empty())
        return kListError;
    const int count = static_cast<int>(list->items.size());
    if (startAfter >= count || startAfter < -1)
        startAfter = -1;
    auto matches = [&](const std::string& item) {
        if (exact)
            return EqualsIgnoringCase(item, text);
        if (StartsWithIgnoringAsciiCase(item, text))
            return true;
        // Entries in brackets (directory listings) also match without the bracket.
        if (!item.empty() && item[0] == '[') {
            if (StartsWithIgnoringAsciiCase(std::string_view(item).substr(1), text))
                return true;
            if (item.size() > 1 && item[1] == '-' &&
                StartsWithIgnoringAsciiCase(std::string_view(item).substr(2), text))
                return true;
        }
        return false;
    };
    for (int i = startAfter + 1; i < count; ++i) {
        if (matches(list->items[static_cast<size_t>(i)].text))
            return i;
    }
    for (int i = 0; i <= startAfter; ++i) {
        if (matches(list->items[static_cast<size_t>(i)].text))
            return i;
    }
    return kListError;
}

int HeadlessBackend::CurSel(Handle handle) {
    Node* list = Find(handle);
    return list && list->IsList() ? list->selection : kListError;
}

bool HeadlessBackend::IsDroppedDown(Handle handle) {
    Node* combo = Find(handle);
    return combo && combo->kind == ControlKind::ComboBox && combo->droppedDown;
}

int HeadlessBackend::SetCurSel(Handle handle, int index) {
    Node* list = Find(handle);
    if (!list || !list->IsList())
        return kListError;
    if (index < 0) {
        list->selection = -1;
        ShowComboSelection(list);
        return kListError;
    }
    if (index >= static_cast<int>(list->items.size()))
        return kListError; // refused; the selection stays
    list->selection = index;
    ShowComboSelection(list);
    return index;
}

std::optional<std::string> HeadlessBackend::ItemText(Handle handle, int index) {
    Node* list = Find(handle);
    if (!list || !list->IsList() || index < 0 || index >= static_cast<int>(list->items.size()))
        return std::nullopt;
    return list->items[static_cast<size_t>(index)].text;
}

std::intptr_t HeadlessBackend::ItemData(Handle handle, int index) {
    Node* list = Find(handle);
    if (!list || !list->IsList() || index < 0 || index >= static_cast<int>(list->items.size()))
        return kListError;
    return list->items[static_cast<size_t>(index)].data;
}

int HeadlessBackend::SetItemData(Handle handle, int index, std::intptr_t data) {
    Node* list = Find(handle);
    if (!list || !list->IsList() || index < 0 || index >= static_cast<int>(list->items.size()))
        return kListError;
    list->items[static_cast<size_t>(index)].data = data;
    return 1;
}

// ---- up-down controls and progress bars ---------------------------------------------------

void HeadlessBackend::SetSpinRange(Handle spin, int lower, int upper) {
    Node* node = Find(spin);
    if (!node || node->kind != ControlKind::UpDown)
        return;
    node->lower = lower;
    node->upper = upper;
}

std::pair<int, int> HeadlessBackend::SpinRange(Handle spin) {
    Node* node = Find(spin);
    if (!node || node->kind != ControlKind::UpDown)
        return {0, 0};
    return {node->lower, node->upper};
}

namespace {

int ClampToRange(int value, int a, int b) {
    return std::clamp(value, std::min(a, b), std::max(a, b));
}

} // namespace

bool HeadlessBackend::ReadBuddyInt(Node* spin) {
    Node* buddy = spin->buddy;
    if (!buddy)
        return false;
    std::optional<int> value;
    if (buddy->kind == ControlKind::ListBox)
        value = buddy->selection >= 0 ? std::optional<int>(buddy->selection) : std::nullopt;
    else
        value = ParseSpinNumber(buddy->text);
    if (!value || *value != ClampToRange(*value, spin->lower, spin->upper))
        return false;
    spin->pos = *value;
    return true;
}

void HeadlessBackend::WriteBuddyInt(Node* spin) {
    Node* buddy = spin->buddy;
    if (!buddy || !(spin->style & kUdsSetBuddyInt))
        return;
    if (buddy->kind == ControlKind::ListBox) {
        SetCurSel(HandleOf(buddy), spin->pos);
        return;
    }
    const std::string text = FormatSpinNumber(spin->pos, !(spin->style & kUdsNoThousands));
    if (buddy->kind == ControlKind::Edit)
        SetEditText(buddy, text, true);
    else
        buddy->text = text;
}

int HeadlessBackend::SetSpinPos(Handle spin, int pos) {
    Node* node = Find(spin);
    if (!node || node->kind != ControlKind::UpDown)
        return 0;
    ReadBuddyInt(node);
    const int previous = node->pos;
    node->pos = ClampToRange(pos, node->lower, node->upper);
    WriteBuddyInt(node);
    return previous;
}

int HeadlessBackend::SpinPos(Handle spin, bool* error) {
    Node* node = Find(spin);
    if (!node || node->kind != ControlKind::UpDown) {
        if (error)
            *error = true;
        return 0;
    }
    bool failed = false;
    if (node->buddy)
        failed = !ReadBuddyInt(node);
    if (error)
        *error = failed;
    return node->pos;
}

void HeadlessBackend::SetSpinAccel(Handle spin, std::span<const SpinAccel> steps) {
    Node* node = Find(spin);
    if (node && node->kind == ControlKind::UpDown && !steps.empty())
        node->accel.assign(steps.begin(), steps.end());
}

Handle HeadlessBackend::SpinBuddy(Handle spin) {
    Node* node = Find(spin);
    return node && node->kind == ControlKind::UpDown ? HandleOf(node->buddy) : nullptr;
}

void HeadlessBackend::SetProgressRange(Handle bar, int lower, int upper) {
    Node* node = Find(bar);
    if (!node || node->kind != ControlKind::Progress)
        return;
    node->lower = lower;
    node->upper = upper;
    node->pos = ClampToRange(node->pos, lower, upper);
}

std::pair<int, int> HeadlessBackend::ProgressRange(Handle bar) {
    Node* node = Find(bar);
    if (!node || node->kind != ControlKind::Progress)
        return {0, 0};
    return {node->lower, node->upper};
}

int HeadlessBackend::SetProgressPos(Handle bar, int pos) {
    Node* node = Find(bar);
    if (!node || node->kind != ControlKind::Progress)
        return 0;
    const int previous = node->pos;
    node->pos = ClampToRange(pos, node->lower, node->upper);
    return previous;
}

int HeadlessBackend::ProgressPos(Handle bar) {
    Node* node = Find(bar);
    return node && node->kind == ControlKind::Progress ? node->pos : 0;
}

// ---- pictures -----------------------------------------------------------------------------

std::optional<Size> HeadlessBackend::BitmapSize(int bitmapId) const {
    if (!resources_)
        return std::nullopt;
    const ResourceRecord* record = resources_->Find(kResourceBitmap, bitmapId);
    if (!record)
        return std::nullopt;
    return ParseBitmapSize(record->data);
}

bool HeadlessBackend::SetBitmap(Handle picture, int bitmapId) {
    Node* node = Find(picture);
    if (!node || node->kind != ControlKind::Static || (node->style & kSsTypeMask) != kSsBitmap)
        return false;
    // As the Win32 backend: the bitmap drawn for the screen's scale, or pixels multiplied.
    const ScaledBitmap chosen =
        ChooseScaledBitmap(bitmapId, dpi_, [this](int id) { return BitmapSize(id).has_value(); });
    const std::optional<Size> size = BitmapSize(chosen.resourceId);
    if (!size)
        return false;
    node->bitmapId = bitmapId;
    node->imageSize = Size{size->cx * chosen.factor, size->cy * chosen.factor};
    ++bitmapLoads_;
    // A picture without SS_CENTERIMAGE or SS_REALSIZECONTROL takes the bitmap's size.
    if (!(node->style & (kSsCenterImage | kSsRealSizeControl))) {
        node->rect.right = node->rect.left + node->imageSize.cx;
        node->rect.bottom = node->rect.top + node->imageSize.cy;
    }
    return true;
}

Size HeadlessBackend::ImageSize(Handle picture) {
    Node* node = Find(picture);
    return node && node->bitmapId ? node->imageSize : Size{};
}

int HeadlessBackend::DialogTemplateOf(Handle control) const {
    const Node* node = Find(control);
    const Node* dialog = node ? node->parent : nullptr;
    return dialog && dialog->dialog ? dialog->dialog->GetTemplateId() : 0;
}

int HeadlessBackend::BitmapId(Handle picture) const {
    Node* node = Find(picture);
    return node ? node->bitmapId : 0;
}

// ---- dialogs ------------------------------------------------------------------------------

std::optional<DialogTemplate> HeadlessBackend::Template(int dialogId) const {
    if (!resources_)
        return std::nullopt;
    const ResourceRecord* record = resources_->Find(kResourceDialog, dialogId);
    if (!record)
        return std::nullopt;
    return ParseDialogTemplate(record->data);
}

void HeadlessBackend::CreateControl(Node* dialog, const DialogItemTemplate& item) {
    Node* node = NewNode(dialog);
    node->className = item.className;
    node->kind = KindOfClass(item.className);
    node->id = item.id;
    node->style = item.style;
    node->exStyle = item.exStyle;
    node->helpId = item.helpId;
    node->rect = DialogUnitsToPixels(item.x, item.y, item.cx, item.cy, dpi_);
    if (!node->IsList())
        node->text = item.text;
    switch (node->kind) {
    case ControlKind::UpDown: {
        node->lower = 100; // the system's default range runs from 100 down to 0
        node->upper = 0;
        node->accel.assign(std::begin(kDefaultAccel), std::end(kDefaultAccel));
        if (node->style & kUdsAutoBuddy) {
            const auto& siblings = dialog->children;
            if (siblings.size() >= 2)
                node->buddy = siblings[siblings.size() - 2];
        }
        break;
    }
    case ControlKind::Progress:
        node->lower = 0;
        node->upper = 100;
        break;
    case ControlKind::Static:
        if ((node->style & kSsTypeMask) == kSsBitmap && item.textResourceId >= 0)
            SetBitmap(HandleOf(node), item.textResourceId);
        break;
    default:
        break;
    }
}

HeadlessBackend::Node* HeadlessBackend::CreateDialogWindow(DialogBase& dialog, Node* parent,
                                                           Point origin) {
    const std::optional<DialogTemplate> tpl = Template(dialog.GetTemplateId());
    if (!tpl) {
        ReportFailure("no dialog template " + std::to_string(dialog.GetTemplateId()));
        return nullptr;
    }
    Node* node = NewNode(parent);
    node->kind = ControlKind::Dialog;
    node->className = "#32770";
    node->text = tpl->caption;
    node->helpId = tpl->helpId;
    // Pages are hidden child windows until the sheet shows them; dialogs are shown after
    // their initialisation.
    node->style = tpl->style & ~kWsVisible;
    node->exStyle = tpl->exStyle;
    const Rect size = DialogUnitsToPixels(0, 0, tpl->cx, tpl->cy, dpi_);
    node->rect = Rect{origin.x, origin.y, origin.x + size.right, origin.y + size.bottom};
    node->dialog = &dialog;
    for (const DialogItemTemplate& item : tpl->items)
        CreateControl(node, item);
    return node;
}

void HeadlessBackend::FocusFirstTabStop(Node* dialog) {
    Node* first = nullptr;
    for (Node* child : dialog->children) {
        if (child->Visible() && child->Enabled() && (child->style & kWsTabStop)) {
            first = child;
            break;
        }
    }
    if (!first) {
        for (Node* child : dialog->children) {
            if (child->Visible() && child->Enabled() && child->kind != ControlKind::Static) {
                first = child;
                break;
            }
        }
    }
    if (!first)
        return;
    if (first->kind == ControlKind::Edit) {
        first->selStart = 0;
        first->selEnd = static_cast<int>(first->text.size());
    }
    SetFocusTo(first);
}

void HeadlessBackend::Notify(Node* control, int code) {
    Node* dialog = control->parent;
    if (!dialog || !dialog->dialog)
        return;
    notifications_.push_back({control->id, code});
    if (!PageHearsControls(dialog))
        return;
    DialogEvents::Command(*dialog->dialog, control->id, code);
}

bool HeadlessBackend::PageHearsControls(const Node* dialog) const {
    const Node* sheet = dialog->parent;
    if (!sheet || !sheet->sheet || dialog->pageCodeDepth > 0)
        return true;
    const SheetState& state = *sheet->sheet;
    const Node* current =
        state.active >= 0 ? state.pages[static_cast<size_t>(state.active)] : nullptr;
    return !current || current == dialog;
}

template <class F>
auto HeadlessBackend::RunPageCode(Node* page, F&& routine) {
    struct Depth {
        HeadlessBackend& backend;
        std::uintptr_t handle;
        explicit Depth(HeadlessBackend& b, Node* p) : backend(b), handle(p->handle) {
            ++p->pageCodeDepth;
        }
        ~Depth() {
            if (Node* p = backend.Find(reinterpret_cast<Handle>(handle)))
                --p->pageCodeDepth;
        }
    } depth(*this, page);
    return routine(static_cast<PropertyPage&>(*page->dialog));
}

// ---- screen scale -------------------------------------------------------------------------

void HeadlessBackend::ChangeDpi(int dpi) {
    if (dpi <= 0 || dpi == dpi_)
        return;
    const int from = dpi_;
    dpi_ = dpi;
    // The system lays every window out again in proportion, then each dialog and page hears of
    // the change (pages within their own code, as under Win32).
    std::vector<Node*> dialogs;
    for (auto& [handle, node] : nodes_) {
        node->rect = ScaleRect(node->rect, dpi, from);
        if (node->dialog)
            dialogs.push_back(node.get());
    }
    for (Node* dialog : dialogs) {
        if (DialogEvents::IsPage(*dialog->dialog))
            RunPageCode(dialog, [](PropertyPage& page) { DialogEvents::DpiChanged(page); });
        else
            DialogEvents::DpiChanged(*dialog->dialog);
    }
}

void HeadlessBackend::RunScript(Node* window, std::function<void()> handler,
                                const std::string& what) {
    if (!handler) {
        ReportFailure(what + " opened, but no handler was given for it");
        return;
    }
    handler();
    if (!window->ended && !quitPending_)
        ReportFailure("the handler of " + what + " left it open");
}

int HeadlessBackend::RunDialog(DialogBase& dialog, Handle parentHandle) {
    const int templateId = dialog.GetTemplateId();
    const std::string what = "dialog " + std::to_string(templateId);
    Node* savedFocus = focus_;
    Node* node = CreateDialogWindow(dialog, nullptr, kTopLevelOrigin);
    if (!node)
        return kModalLoopEnded;
    node->owner = Find(parentHandle);
    if (!node->owner)
        node->owner = TopModal();
    modalStack_.push_back(node);
    const std::uintptr_t handle = node->handle;

    // Ends the run however the script leaves it: a failure may throw through here.
    struct Guard {
        HeadlessBackend& backend;
        Node* node;
        Node* savedFocus;
        std::uintptr_t handle;
        ~Guard() {
            auto& stack = backend.modalStack_;
            stack.erase(std::remove(stack.begin(), stack.end(), node), stack.end());
            const bool savedAlive = savedFocus && backend.nodes_.count(savedFocus->handle);
            if (backend.nodes_.count(handle))
                backend.DestroyNode(node);
            if (savedAlive && !backend.quitPending_)
                backend.SetFocusTo(savedFocus);
            if (stack.empty())
                backend.quitPending_ = false;
        }
    } guard{*this, node, savedFocus, handle};

    DialogEvents::Attach(dialog, HandleOf(node));
    const bool defaultFocus = DialogEvents::Initialize(dialog);
    if (!node->ended && !quitPending_) {
        if (defaultFocus || !IsInside(focus_, node))
            FocusFirstTabStop(node);
        node->style |= kWsVisible;
        RunScript(node, TakeDialogHandler(templateId), what);
        if (!node->ended && !quitPending_) {
            // Without a script (and without throwing), the user closes the dialog.
            DialogEvents::Command(dialog, kIdCancel, kBnClicked);
            if (!node->ended) {
                node->ended = true;
                node->result = kIdCancel;
            }
        }
    }
    return node->ended ? node->result : kModalLoopEnded;
}

void HeadlessBackend::EndDialog(Handle dialog, int result) {
    Node* node = Find(dialog);
    if (!node)
        return;
    node->ended = true;
    node->result = result;
    // The ended dialog disappears at once; its loop destroys it afterwards.
    node->style &= ~kWsVisible;
}

// ---- property sheets ----------------------------------------------------------------------

HeadlessBackend::Node* HeadlessBackend::SheetPageNode(Node* sheet, int index) {
    SheetState& state = *sheet->sheet;
    Node*& page = state.pages[static_cast<size_t>(index)];
    if (page)
        return page;
    PropertyPage& object = *DialogEvents::Pages(*sheet->sheetObject)[static_cast<size_t>(index)];
    page = CreateDialogWindow(object, sheet, kSheetPageOrigin);
    if (!page)
        return nullptr;
    page->style |= kWsChild;
    DialogEvents::Attach(object, HandleOf(page));
    // A page is created hidden, so it takes no focus of its own (the sheet gives its start page
    // the focus once it is shown).
    RunPageCode(page, [](PropertyPage& p) { return DialogEvents::Initialize(p); });
    return page;
}

bool HeadlessBackend::SheetSetCurSel(Node* sheet, int index, int skipDirection) {
    SheetState& state = *sheet->sheet;
    const int count = static_cast<int>(state.pages.size());
    if (index < 0 || index >= count)
        return false;
    for (;;) {
        Node* page = SheetPageNode(sheet, index);
        if (!page)
            return false;
        if (RunPageCode(page, [](PropertyPage& p) { return DialogEvents::PageSetActive(p); }))
            break;
        // A page that refuses is skipped in the direction of the move.
        index += skipDirection;
        if (index < 0) {
            index = 0;
            break;
        }
        if (index >= count) {
            index = count - 1;
            break;
        }
    }
    if (state.active >= 0 && state.active != index &&
        state.pages[static_cast<size_t>(state.active)]) {
        Node* leaving = state.pages[static_cast<size_t>(state.active)];
        // The focus does not stay on a page that is no longer shown: it goes to the tabs.
        if (focus_ && IsInside(focus_, leaving))
            SetFocusTo(Find(Item(HandleOf(sheet), kTabControlId)));
        leaving->style &= ~kWsVisible;
    }
    if (Node* page = state.pages[static_cast<size_t>(index)])
        page->style |= kWsVisible;
    state.active = index;
    return true;
}

bool HeadlessBackend::SheetCanSetCurSel(Node* sheet) {
    SheetState& state = *sheet->sheet;
    if (state.active < 0)
        return true;
    Node* page = state.pages[static_cast<size_t>(state.active)];
    return !page ||
           RunPageCode(page, [](PropertyPage& p) { return DialogEvents::PageKillActive(p); });
}

void HeadlessBackend::SheetOk(Node* sheet) {
    if (!SheetCanSetCurSel(sheet))
        return;
    for (Node* page : sheet->sheet->pages) {
        if (page)
            RunPageCode(page, [](PropertyPage& p) { DialogEvents::PageApply(p); });
    }
    sheet->ended = true;
    sheet->result = kIdOk;
}

void HeadlessBackend::SheetCancel(Node* sheet) {
    SheetState& state = *sheet->sheet;
    if (state.active >= 0) {
        Node* current = state.pages[static_cast<size_t>(state.active)];
        if (current &&
            !RunPageCode(current, [](PropertyPage& p) { return DialogEvents::PageQueryCancel(p); }))
            return;
    }
    for (Node* page : state.pages) {
        if (page)
            RunPageCode(page, [](PropertyPage& p) { DialogEvents::PageReset(p); });
    }
    sheet->ended = true;
    sheet->result = kIdCancel;
}

int HeadlessBackend::RunSheet(PropertySheet& sheetObject) {
    auto& pages = DialogEvents::Pages(sheetObject);
    Node* savedFocus = focus_;
    Node* sheet = NewNode(nullptr);
    sheet->kind = ControlKind::Sheet;
    sheet->className = "#32770";
    sheet->text = sheetObject.GetCaption();
    sheet->sheetObject = &sheetObject;
    sheet->sheet = std::make_unique<SheetState>();
    sheet->sheet->pages.assign(pages.size(), nullptr);
    sheet->owner = TopModal();
    int width = 0;
    int height = 0;
    for (PropertyPage* page : pages) {
        if (const std::optional<DialogTemplate> tpl = Template(page->GetTemplateId())) {
            const Rect size = DialogUnitsToPixels(0, 0, tpl->cx, tpl->cy, dpi_);
            width = std::max(width, size.right);
            height = std::max(height, size.bottom);
        }
    }
    sheet->rect = Rect{kTopLevelOrigin.x, kTopLevelOrigin.y,
                       kTopLevelOrigin.x + width + 2 * kSheetPageOrigin.x,
                       kTopLevelOrigin.y + height + kSheetPageOrigin.y + 45};
    const int buttonTop = sheet->rect.Height() - 35;
    struct ButtonSpec {
        int id;
        const char* text;
        int column;
    };
    const ButtonSpec buttons[] = {{kIdOk, "OK", 3}, {kIdCancel, "Cancel", 2}, {kIdHelp, "Help", 1}};
    Node* tab = NewNode(sheet);
    tab->kind = ControlKind::Tab;
    tab->className = "systabcontrol32";
    tab->id = kTabControlId;
    tab->style = kWsChild | kWsVisible | kWsTabStop;
    tab->rect = Rect{4, 4, sheet->rect.Width() - 4, buttonTop - 6};
    for (const ButtonSpec& entry : buttons) {
        Node* button = NewNode(sheet);
        button->kind = ControlKind::Button;
        button->className = "button";
        button->id = entry.id;
        button->text = entry.text;
        button->style = kWsChild | kWsVisible | kWsTabStop |
                        (entry.id == kIdOk ? kBsDefPushButton : kBsPushButton);
        const int right = sheet->rect.Width() - 8 - (entry.column - 1) * 84;
        button->rect = Rect{right - 75, buttonTop, right, buttonTop + 23};
    }
    modalStack_.push_back(sheet);
    DialogEvents::SheetAttach(sheetObject, HandleOf(sheet));
    const std::uintptr_t handle = sheet->handle;

    struct Guard {
        HeadlessBackend& backend;
        Node* sheet;
        Node* savedFocus;
        std::uintptr_t handle;
        PropertySheet& object;
        ~Guard() {
            auto& stack = backend.modalStack_;
            stack.erase(std::remove(stack.begin(), stack.end(), sheet), stack.end());
            const bool savedAlive = savedFocus && backend.nodes_.count(savedFocus->handle);
            if (backend.nodes_.count(handle))
                backend.DestroyNode(sheet);
            DialogEvents::SheetAttach(object, nullptr);
            if (savedAlive && !backend.quitPending_)
                backend.SetFocusTo(savedFocus);
            if (stack.empty())
                backend.quitPending_ = false;
        }
    } guard{*this, sheet, savedFocus, handle, sheetObject};

    const int start = std::clamp(sheetObject.GetStartPage(), 0, static_cast<int>(pages.size()) - 1);
    SheetSetCurSel(sheet, start, 1);
    if (!sheet->ended && !quitPending_) {
        sheet->style |= kWsVisible;
        if (!focus_ || !IsInside(focus_, sheet)) {
            SheetState& state = *sheet->sheet;
            Node* page =
                state.active >= 0 ? state.pages[static_cast<size_t>(state.active)] : nullptr;
            if (page)
                FocusFirstTabStop(page);
            if (!focus_ || !IsInside(focus_, sheet))
                SetFocusTo(tab);
        }
        RunScript(sheet, TakeSheetHandler(), "the property sheet");
        if (!sheet->ended && !quitPending_) {
            SheetCancel(sheet);
            if (!sheet->ended) {
                sheet->ended = true;
                sheet->result = kIdCancel;
            }
        }
    }
    if (!sheet->ended)
        return kModalLoopEnded;
    return sheet->result;
}

int HeadlessBackend::SheetActiveIndex(Handle handle) {
    Node* sheet = Find(handle);
    return sheet && sheet->sheet ? sheet->sheet->active : -1;
}

bool HeadlessBackend::SetSheetActiveIndex(Handle handle, int index) {
    Node* sheet = Find(handle);
    if (!sheet || !sheet->sheet)
        return false;
    if (!SheetCanSetCurSel(sheet))
        return false;
    return SheetSetCurSel(sheet, index, 1);
}

Handle HeadlessBackend::SheetActivePage(Handle window) {
    Node* sheet = Find(window);
    if (!sheet || !sheet->sheet || sheet->sheet->active < 0)
        return nullptr;
    return HandleOf(sheet->sheet->pages[static_cast<size_t>(sheet->sheet->active)]);
}

Handle HeadlessBackend::ActiveModalWindow() {
    return HandleOf(TopModal());
}

void HeadlessBackend::PostQuit(int exitCode) {
    if (!modalStack_.empty())
        quitPending_ = true;
}

// ---- system services ----------------------------------------------------------------------

int HeadlessBackend::MessageBox(Handle owner, std::string_view text, std::string_view caption,
                                unsigned style) {
    MessageBoxCall call{std::string(text), std::string(caption), style, owner};
    RecordMessageBox(call);
    // The box takes the focus from the owner's control while it is shown, on its default
    // button, and the owner gets it back afterwards.
    Node* savedFocus = focus_;
    Node* box = NewNode(nullptr);
    box->kind = ControlKind::Dialog;
    box->className = "#32770";
    box->text = call.caption;
    box->style = kWsVisible;
    Node* button = NewNode(box);
    button->kind = ControlKind::Button;
    button->className = "button";
    const unsigned buttons = style & 0xF;
    const bool second = (style & kMbDefButton2) != 0;
    int defaultId = kIdOk;
    if (buttons == kMbYesNo || buttons == kMbYesNoCancel)
        defaultId = second ? kIdNo : kIdYes;
    else if (buttons == kMbOkCancel)
        defaultId = second ? kIdCancel : kIdOk;
    button->id = defaultId;
    button->style = kWsChild | kWsVisible | kWsTabStop;
    const std::uintptr_t boxHandle = box->handle;
    SetFocusTo(button);

    int answer = buttons == kMbOk ? kIdOk : (buttons == kMbOkCancel ? kIdCancel : kIdNo);
    struct Guard {
        HeadlessBackend& backend;
        std::uintptr_t box;
        Node* savedFocus;
        ~Guard() {
            if (backend.nodes_.count(box))
                backend.DestroyNode(backend.nodes_.at(box).get());
            if (savedFocus && backend.nodes_.count(savedFocus->handle))
                backend.SetFocusTo(savedFocus);
        }
    } guard{*this, boxHandle, savedFocus};
    auto handler = TakeMessageBoxHandler();
    if (!handler) {
        ReportFailure("unexpected message box \"" + call.text + "\"");
        return answer;
    }
    answer = (*handler)(call);
    return answer;
}

std::optional<std::string> HeadlessBackend::OpenFile(Handle owner, const OpenFileRequest& request) {
    openFileRequests_.push_back(request);
    auto handler = TakeOpenFileHandler();
    if (!handler) {
        ReportFailure("unexpected file-open dialog");
        return std::nullopt;
    }
    return (*handler)(request);
}

void HeadlessBackend::WinHelp(Handle owner, std::string_view helpFile, unsigned command,
                              unsigned long data) {
    RecordHelpCall(HelpCall{std::string(helpFile), command, data});
}

void HeadlessBackend::BeginWaitCursor() {
    ++waitCursorDepth_;
    ++waitCursorShows_;
}

void HeadlessBackend::EndWaitCursor() {
    if (waitCursorDepth_ > 0)
        --waitCursorDepth_;
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
