// Comparison of a parsed dialog template with the expected controls.
#include "tests/res/dialog_control_table.h"
#include "tests/res/styles.h"

#include <algorithm>
#include <optional>

namespace restest {
namespace {

constexpr int kUnnamed = -1;

constexpr std::uint32_t kBsCheckBox = 2;
constexpr std::uint32_t kSsCenter = 0x01;
constexpr std::uint32_t kSsIcon = 0x03;
constexpr std::uint32_t kSsSimple = 0x0B;
constexpr std::uint32_t kSsLeftNoWordWrap = 0x0C;

std::string Utf8(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

const char* KindName(Expect kind) {
    switch (kind) {
    case Expect::Push:
        return "push button";
    case Expect::Check:
        return "check box";
    case Expect::Radio:
        return "radio button";
    case Expect::GroupBox:
        return "group box";
    case Expect::Text:
        return "static text";
    case Expect::Picture:
        return "picture";
    case Expect::Edit:
        return "edit";
    case Expect::DropList:
        return "drop-down list";
    case Expect::DropDown:
        return "drop-down combo box";
    case Expect::Combo:
        return "combo box";
    case Expect::List:
        return "list box";
    case Expect::Spin:
        return "spin button";
    case Expect::Progress:
        return "progress bar";
    case Expect::DatePicker:
        return "date picker";
    }
    return "?";
}

bool IsKind(const DialogItem& item, Expect kind) {
    const std::uint32_t button = item.style & kButtonTypeMask;
    const std::uint32_t stat = item.style & kStaticTypeMask;
    const std::uint32_t combo = item.style & kComboTypeMask;
    switch (kind) {
    case Expect::Push:
        return item.kind == ControlKind::Button &&
               (button == kBsPushButton || button == kBsDefPushButton);
    case Expect::Check:
        return item.kind == ControlKind::Button &&
               (button == kBsCheckBox || button == kBsAutoCheckBox);
    case Expect::Radio:
        return item.kind == ControlKind::Button &&
               (button == kBsRadioButton || button == kBsAutoRadio);
    case Expect::GroupBox:
        return item.kind == ControlKind::Button && button == kBsGroupBox;
    case Expect::Text:
        return item.kind == ControlKind::Static &&
               (stat == kSsLeft || stat == kSsCenter || stat == kSsRight || stat == kSsSimple ||
                stat == kSsLeftNoWordWrap);
    case Expect::Picture:
        return item.kind == ControlKind::Static && (stat == kSsBitmap || stat == kSsIcon);
    case Expect::Edit:
        return item.kind == ControlKind::Edit;
    case Expect::DropList:
        return item.kind == ControlKind::ComboBox && combo == kCbsDropDownList;
    case Expect::DropDown:
        return item.kind == ControlKind::ComboBox && combo == kCbsDropDown;
    case Expect::Combo:
        return item.kind == ControlKind::ComboBox;
    case Expect::List:
        return item.kind == ControlKind::ListBox;
    case Expect::Spin:
        return item.kind == ControlKind::UpDown;
    case Expect::Progress:
        return item.kind == ControlKind::Progress;
    case Expect::DatePicker:
        return item.kind == ControlKind::DateTime;
    }
    return false;
}

bool HasText(Expect kind) {
    return kind != Expect::Picture && kind != Expect::Spin && kind != Expect::Progress;
}

std::string Name(const ExpectedControl& control) {
    std::string name = KindName(control.kind);
    if (control.id != kUnnamed)
        name += " " + std::to_string(control.id);
    if (control.text != nullptr && HasText(control.kind))
        name += " \"" + Utf8(control.text) + "\"";
    return name;
}

// The room a control takes: a combo box's height in the template includes its dropped list.
struct Box {
    int left, top, right, bottom;
};

Box Footprint(const DialogItem& item) {
    int cy = item.cy;
    if (item.kind == ControlKind::ComboBox && (item.style & kComboTypeMask) != kCbsSimple)
        cy = std::min(cy, kClosedComboHeight);
    return {item.x, item.y, item.x + item.cx, item.y + cy};
}

bool Inside(const Box& inner, const Box& outer) {
    return outer.left <= inner.left && outer.top <= inner.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Each stated style of `control` against `item`, one line per difference.
void CompareStyles(const ExpectedControl& control, const DialogItem& item,
                   std::vector<std::string>& problems) {
    const std::uint32_t s = item.style;
    const bool list = item.kind == ControlKind::ListBox;
    const bool combo = item.kind == ControlKind::ComboBox;
    const bool sorted = (list && (s & kLbsSort) != 0) || (combo && (s & kCbsSort) != 0);
    const bool visible = (s & kWsVisible) != 0;
    const bool disabled = (s & kWsDisabled) != 0;
    const bool autoHScroll =
        (combo && (s & kCbsAutoHScroll) != 0) || (!combo && (s & kEsAutoHScroll) != 0);
    const struct {
        std::uint32_t flag;
        bool holds;
        const char* what;
    } rules[] = {
        {kSorted, sorted, "is not sorted"},
        {kUnsorted, !sorted, "is sorted"},
        {kNotify, (s & kLbsNotify) != 0, "does not notify"},
        {kDigits, (s & kEsNumber) != 0, "takes more than digits"},
        {kNotDigitsOnly, (s & kEsNumber) == 0, "takes digits only"},
        {kHidden, !visible, "is visible"},
        {kDisabled, disabled, "is enabled"},
        {kReadOnly, (s & kEsReadOnly) != 0, "is not read-only"},
        {kMultiLine, (s & kEsMultiline) != 0, "is not multi-line"},
        {kCentred, (s & kEsCenter) != 0, "is not centred"},
        {kBorder, (s & kWsBorder) != 0, "has no border"},
        {kAutoVScroll, (s & kEsAutoVScroll) != 0, "does not scroll vertically"},
        {kAutoHScroll, autoHScroll, "does not scroll horizontally"},
        {kRight, (s & kStaticTypeMask) == kSsRight, "is not right-aligned"},
        {kImageCentred, (s & kSsCenterImage) != 0, "is not centred (SS_CENTERIMAGE)"},
        {kSmooth, (s & kPbsSmooth) != 0, "is not smooth"},
        {kGroupStart, (s & kWsGroup) != 0, "does not start a group"},
        {kTabStop, (s & kWsTabStop) != 0, "is no tab stop"},
        {kBuddyNumber, (s & (kUdsSetBuddyInt | kUdsArrowKeys)) == (kUdsSetBuddyInt | kUdsArrowKeys),
         "does not set its buddy's number from the arrow keys"},
    };
    for (const auto& rule : rules) {
        if ((control.styles & rule.flag) != 0 && !rule.holds)
            problems.push_back(Name(control) + " " + rule.what);
    }
    if ((control.styles & kRuntimeState) == 0) {
        if ((control.styles & kHidden) == 0 && !visible)
            problems.push_back(Name(control) + " is hidden");
        if ((control.styles & kDisabled) == 0 && disabled)
            problems.push_back(Name(control) + " is disabled");
    }
}

void CompareItem(const ExpectedControl& control, const DialogTemplate& dialog, std::size_t index,
                 std::vector<std::string>& problems) {
    const DialogItem& item = dialog.items[index];
    if (!IsKind(item, control.kind)) {
        problems.push_back(Name(control) + " is of another kind (class " + Utf8(item.className) +
                           ", style " + std::to_string(item.style) + ")");
        return;
    }
    if (control.text != nullptr && HasText(control.kind) && item.text != control.text)
        problems.push_back(Name(control) + " reads \"" + Utf8(item.text) + "\"");
    CompareStyles(control, item, problems);
    if (control.group != nullptr) {
        const bool inGroup = std::any_of(dialog.items.begin(), dialog.items.end(), [&](auto& box) {
            return IsKind(box, Expect::GroupBox) && box.text == control.group &&
                   Inside(Footprint(item), Footprint(box));
        });
        if (!inGroup)
            problems.push_back(Name(control) + " is outside the group box \"" +
                               Utf8(control.group) + "\"");
    }
    if (control.buddy != 0) {
        if ((item.style & kUdsAutoBuddy) == 0)
            problems.push_back(Name(control) + " takes no automatic buddy");
        if (index == 0 || dialog.items[index - 1].id != control.buddy)
            problems.push_back(Name(control) + " does not follow its buddy " +
                               std::to_string(control.buddy));
    }
}

} // namespace

std::vector<std::string> CompareControls(const DialogTemplate& dialog,
                                         const std::vector<ExpectedControl>& expected) {
    std::vector<std::string> problems;
    std::vector<bool> used(dialog.items.size(), false);
    auto take = [&](const ExpectedControl& control) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < dialog.items.size(); ++i) {
            const DialogItem& item = dialog.items[i];
            if (used[i] || item.id != control.id)
                continue;
            if (control.id == kUnnamed &&
                (!IsKind(item, control.kind) || item.text != control.text))
                continue;
            used[i] = true;
            return i;
        }
        return std::nullopt;
    };
    // Named controls first, so that an unnamed one cannot take a named one's place.
    for (const bool named : {true, false}) {
        for (const ExpectedControl& control : expected) {
            if ((control.id != kUnnamed) != named)
                continue;
            if (const auto index = take(control))
                CompareItem(control, dialog, *index, problems);
            else
                problems.push_back(Name(control) + " is missing");
        }
    }
    for (std::size_t i = 0; i < dialog.items.size(); ++i) {
        const DialogItem& item = dialog.items[i];
        if (used[i] || item.id == kUnnamed)
            continue;
        const bool expectedId = std::any_of(expected.begin(), expected.end(),
                                            [&](auto& control) { return control.id == item.id; });
        problems.push_back("control " + std::to_string(item.id) + " \"" + Utf8(item.text) +
                           (expectedId ? "\" appears twice" : "\" is not expected"));
    }
    return problems;
}

} // namespace restest
