#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "app/settings_block.h"
#include "platform/memory_registry.h"
#include "tests/pages/shown/shown_fields.h"
#include "ui/backend.h"
#include "ui/headless/collation.h"
#include "ui/types.h"

namespace shown {
namespace {

constexpr std::string_view kSlotsPrefix = "overlaySlots[";

// "overlaySlots[N].member" read from the slot's record.
std::optional<FieldValue> ReadSlotMember(const app::PrinterSettingsBlock& block,
                                         std::string_view name) {
    name.remove_prefix(kSlotsPrefix.size());
    int slot = -1;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), slot);
    if (error != std::errc() || slot < 0 || slot >= app::kOverlaySlotCount)
        return std::nullopt;
    const std::string_view member = name.substr(static_cast<std::size_t>(end - name.data()));
    const app::OverlaySlot record = block.overlaySlot(slot);
    if (member == "].enabled")
        return FieldValue(std::int64_t{record.enabled()});
    if (member == "].device")
        return FieldValue(std::int64_t{record.device()});
    if (member == "].fileName")
        return FieldValue(record.fileName());
    return std::nullopt;
}

std::string Describe(const ShownControl& row) {
    return std::to_string(row.id) + " (" + std::string(row.field) + ")";
}

// The text in quotes, control bytes written as \xNN.
std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            quoted += "\\x";
            quoted += kHex[byte >> 4];
            quoted += kHex[byte & 0xF];
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string ValueText(const FieldValue& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return std::to_string(*number);
    if (const auto* real = std::get_if<float>(&value))
        return std::to_string(*real);
    return Quoted(std::get<std::string>(value));
}

std::optional<std::int64_t> IntegerOf(const FieldValue& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return *number;
    return std::nullopt;
}

// The decimal integer an edit shows ("+7" and "-5" too), or nothing.
std::optional<std::int64_t> NumberShown(std::string_view text) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int CheckOf(const ui::Window& control) {
    return ui::Button(control.GetHandle()).GetCheck();
}

// Whether any RadioValue row of `field` in the table has `value`.
bool GroupHasValue(const ShownTable& table, std::string_view field, std::int64_t value) {
    return std::any_of(table.controls.begin(), table.controls.end(), [&](const ShownControl& row) {
        return row.shows == Shows::RadioValue && row.field == field && row.value == value;
    });
}

// One row against the block: a problem, or nothing.
std::optional<std::string> CompareRow(const ShownTable& table, const ShownControl& row,
                                      const ShownContext& context) {
    const ui::Window& control = context.control;
    if (row.shows == Shows::Custom)
        return row.check ? row.check(context) : std::nullopt;
    const std::optional<FieldValue> value = ReadField(context.block, row.field);
    if (!value)
        return "names no field of the block";
    switch (row.shows) {
    case Shows::ListCode: {
        const ui::ListControl list(control.GetHandle());
        if (list.GetCount() == 0)
            return std::nullopt; // an empty list shows nothing
        const int selected = list.GetCurSel();
        // A combo box's edit field with a text typed into it holds no choice, and a disabled
        // list without a selection shows none.
        if (selected < 0 && ((control.GetKind() == ui::ControlKind::ComboBox &&
                              (control.GetStyle() & 0x3) != ui::kCbsDropDownList) ||
                             !control.IsWindowEnabled()))
            return std::nullopt;
        const std::int64_t code = selected >= 0 ? list.GetItemData(selected) : -1;
        if (IntegerOf(*value) == code)
            return std::nullopt;
        return "shows " +
               (selected >= 0
                    ? Quoted(list.GetItemText(selected)) + " (code " + std::to_string(code) + ")"
                    : std::string("no entry")) +
               ", the block holds " + ValueText(*value);
    }
    case Shows::ListText: {
        const ui::ListControl list(control.GetHandle());
        const std::string text = list.GetSelectedText();
        const auto* expected = std::get_if<std::string>(&*value);
        if (expected && ui::headless::EqualsIgnoringCase(text, *expected))
            return std::nullopt;
        return "shows " + Quoted(text) + ", the block holds " + ValueText(*value);
    }
    case Shows::Text: {
        const std::string text = control.GetWindowText();
        const auto* expected = std::get_if<std::string>(&*value);
        if (expected && text == *expected)
            return std::nullopt;
        return "shows " + Quoted(text) + ", the block holds " + ValueText(*value);
    }
    case Shows::Number: {
        const std::string text = control.GetWindowText();
        const std::optional<std::int64_t> number = NumberShown(text);
        if (number && number == IntegerOf(*value))
            return std::nullopt;
        return "shows " + Quoted(text) + ", the block holds " + ValueText(*value);
    }
    case Shows::Check: {
        const bool checked = CheckOf(control) == ui::kChecked;
        const std::optional<std::int64_t> number = IntegerOf(*value);
        if (number && checked == (*number != 0))
            return std::nullopt;
        return std::string(checked ? "is checked" : "is not checked") + ", the block holds " +
               ValueText(*value);
    }
    case Shows::RadioValue:
    case Shows::RadioOtherwise: {
        const bool checked = CheckOf(control) == ui::kChecked;
        const std::optional<std::int64_t> number = IntegerOf(*value);
        if (!number)
            return "names no integer field";
        const bool expected = row.shows == Shows::RadioValue
                                  ? *number == row.value
                                  : !GroupHasValue(table, row.field, *number);
        if (checked == expected)
            return std::nullopt;
        return std::string(checked ? "is checked" : "is not checked") + ", the block holds " +
               ValueText(*value);
    }
    default:
        return std::nullopt;
    }
}

// Shown by its own style: a page's or ended dialog's own visibility does not count.
bool OwnStyleShown(const ui::Window& control) {
    return (control.GetStyle() & ui::kWsVisible) != 0;
}

ui::Window ControlOf(ui::Window dialog, int id) {
    return ui::Window(ui::CurrentBackend().Item(dialog.GetHandle(), id));
}

} // namespace

std::optional<FieldValue> ReadField(const app::PrinterSettingsBlock& block, std::string_view name) {
    if (name.substr(0, kSlotsPrefix.size()) == kSlotsPrefix)
        return ReadSlotMember(block, name);
    const app::SettingsField* field = app::FindSettingsField(name);
    if (!field)
        return std::nullopt;
    switch (field->type) {
    case app::FieldType::UInt8:
    case app::FieldType::Int16:
    case app::FieldType::Int32:
        return FieldValue(block.readInteger(*field));
    case app::FieldType::Float:
        return FieldValue(block.readFloat(*field));
    case app::FieldType::Text:
        return FieldValue(block.readText(*field));
    default:
        return std::nullopt;
    }
}

const ShownTable* FindShownTable(int templateId) {
    for (const ShownTable& table : ShownTables()) {
        if (table.templateId == templateId)
            return &table;
    }
    return nullptr;
}

std::vector<ShownProblem> CompareShown(const ShownTable& table, ui::Window dialog,
                                       const ShownContext& context) {
    std::vector<ShownProblem> problems;
    for (const ShownControl& row : table.controls) {
        if (row.shows == Shows::Nothing || row.shows == Shows::StoredEntries ||
            row.shows == Shows::CustomStored)
            continue;
        const ui::Window control = ControlOf(dialog, row.id);
        if (!control || !OwnStyleShown(control))
            continue;
        ShownContext rowContext = context;
        rowContext.control = control;
        if (const std::optional<std::string> problem = CompareRow(table, row, rowContext))
            problems.push_back({row.id, Describe(row) + " " + *problem});
    }
    return problems;
}

std::vector<ShownProblem> CompareStored(const ShownTable& table, ui::Window dialog,
                                        const ShownContext& context) {
    std::vector<ShownProblem> problems;
    if (!context.registry)
        return problems;
    for (const ShownControl& row : table.controls) {
        if (row.shows != Shows::StoredEntries && row.shows != Shows::CustomStored)
            continue;
        const ui::Window control = ControlOf(dialog, row.id);
        if (!control || !OwnStyleShown(control))
            continue;
        ShownContext rowContext = context;
        rowContext.control = control;
        if (row.shows == Shows::CustomStored) {
            if (row.check) {
                if (const std::optional<std::string> problem = row.check(rowContext))
                    problems.push_back({row.id, Describe(row) + " " + *problem});
            }
            continue;
        }
        const std::string key = std::string(context.printerKey) + std::string(row.store);
        const ui::ListControl list(control.GetHandle());
        for (int index = 0; index < list.GetCount(); ++index) {
            if (list.GetItemData(index) != row.value)
                continue;
            const std::string name = list.GetItemText(index);
            if (!context.registry->Get(key, name))
                problems.push_back(
                    {row.id, Describe(row) + " lists " + Quoted(name) + " as stored, but " +
                                 std::string(row.store.substr(1)) + " holds no such value"});
        }
    }
    return problems;
}

} // namespace shown
