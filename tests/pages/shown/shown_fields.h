#pragma once
// What each page and dialog shows of the settings block, for the checks that what the sheet
// shows is what it sends: one table per dialog template, a row per control with an id. A row
// names the control, the block field it shows and how it shows it; a control that shows no
// field has a row with the reason. A control may have several rows (a list that shows a field
// by its selection and stored registry entries by its items).
//
// Fields are named as in app/settings_fields.inc; an overlay slot's members as
// "overlaySlots[2].fileName" (slot 2, member enabled, fileName or device).
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "ui/window.h"

namespace app {
class PrinterSettingsBlock;
}
namespace platform {
class MemoryRegistry;
}
namespace ppd {
struct PpdDocument;
}

namespace shown {

enum class Shows {
    ListCode,       // the selected entry carries the field's code; no selection shows -1
    ListText,       // the selected entry's text is the field's text (letter case aside)
    Text,           // the control's text is the field's text
    Number,         // the control's text is the field's value in decimal
    Check,          // the box is checked exactly when the field is not 0
    RadioValue,     // the button is checked exactly when the field holds `value`
    RadioOtherwise, // checked exactly when the field holds no `value` of its group's buttons
    StoredEntries,  // entries carrying `value` as item data name values of the `store` key
    Custom,         // `check` compares
    CustomStored,   // `check` looks at the registry entries the control shows as stored
    Nothing,        // the control shows no field: `reason` says why
};

// What a custom check sees: the control, the block at that moment and the registry.
struct ShownContext {
    ui::Window control;
    const app::PrinterSettingsBlock& block;
    const ppd::PpdDocument* document;
    const platform::MemoryRegistry* registry; // null: registry checks are skipped
    std::string_view printerKey;              // the printer's key below HKEY_LOCAL_MACHINE
    int openedBy = 0; // the button whose click opened the dialog (0 for a page)
};

// A problem in words ("shows \"A4\" (code 9)"), or nothing when the control agrees.
using CustomCheck = std::optional<std::string> (*)(const ShownContext&);

struct ShownControl {
    int id = 0;
    Shows shows = Shows::Nothing;
    std::string_view field; // the block field; for Custom rows what is compared
    int value = 0;          // RadioValue: the field's value; StoredEntries: the item data
    std::string_view store; // StoredEntries: the key below the printer's ("\\Color Profiles")
    CustomCheck check = nullptr;
    std::string_view reason; // Nothing: why the control shows no field
};

// Rows, as the tables write them.
constexpr ShownControl Field(int id, Shows shows, std::string_view field, int value = 0) {
    return {id, shows, field, value, {}, nullptr, {}};
}
constexpr ShownControl Custom(int id, std::string_view what, CustomCheck check) {
    return {id, Shows::Custom, what, 0, {}, check, {}};
}
constexpr ShownControl Stored(int id, std::string_view what, int itemData, std::string_view key) {
    return {id, Shows::StoredEntries, what, itemData, key, nullptr, {}};
}
constexpr ShownControl CustomStored(int id, std::string_view what, CustomCheck check) {
    return {id, Shows::CustomStored, what, 0, {}, check, {}};
}
constexpr ShownControl LeftOut(int id, std::string_view reason) {
    return {id, Shows::Nothing, {}, 0, {}, nullptr, reason};
}

struct ShownTable {
    int templateId = 0;
    std::span<const ShownControl> controls;
};

// Every page's and dialog's table.
std::span<const ShownTable> ShownTables();
const ShownTable* FindShownTable(int templateId);

// A field's value by its name: an integer, a float or a text; nothing for an unknown name.
using FieldValue = std::variant<std::int64_t, float, std::string>;
std::optional<FieldValue> ReadField(const app::PrinterSettingsBlock& block, std::string_view name);

// A control that disagrees, and how ("1021 (inputSlot) shows \"Tray 2\" (code 4), the block
// holds 7").
struct ShownProblem {
    int controlId = 0;
    std::string text;
};

// Compares every field row of `table` whose control is shown (by its own visible style) with
// the block.
std::vector<ShownProblem> CompareShown(const ShownTable& table, ui::Window dialog,
                                       const ShownContext& context);
// The same for the StoredEntries and CustomStored rows: every entry that a shown list shows as
// stored exists in the registry.
std::vector<ShownProblem> CompareStored(const ShownTable& table, ui::Window dialog,
                                        const ShownContext& context);

// The tables, one per page and dialog.
extern const ShownTable kLayoutShown;
extern const ShownTable kPaperShown;
extern const ShownTable kAdvancedFeedShown;
extern const ShownTable kCustomSizeShown;
extern const ShownTable kFeaturesShown;
extern const ShownTable kGraphicsOptionsShown;
extern const ShownTable kHalftoneShown;
extern const ShownTable kDocumentOptionsShown;
extern const ShownTable kPostScriptOptionsShown;
extern const ShownTable kColorOptionsShown;
extern const ShownTable kCrdMatchingShown;
extern const ShownTable kIccMatchingShown;
extern const ShownTable kProfileManagementShown;
extern const ShownTable kOverlayShown;
extern const ShownTable kWatermarkEditorShown;
extern const ShownTable kFontsShown;
extern const ShownTable kSettingsShown;
extern const ShownTable kConsumablesShown;
extern const ShownTable kAboutShown;

} // namespace shown
