// Buttons, edits, combo and list boxes, up-down controls, progress bars and pictures.
#include "ui/headless/headless_backend.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>

#include "ui/dialog.h"
#include "ui/headless/collation.h"
#include "ui/scaled_bitmap.h"

#include "ui/headless/headless_node.h"

namespace ui::headless {

namespace {

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

int ClampToRange(int value, int a, int b) {
    return std::clamp(value, std::min(a, b), std::max(a, b));
}

} // namespace

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

} // namespace ui::headless
