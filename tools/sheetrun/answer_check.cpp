#include "tools/sheetrun/answer_check.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "app/option_tables.h"
#include "pages/paper/custom_size_dialog.h"
#include "platform/memory_registry.h"

namespace sheetrun {
namespace {

using app::OptionCode;

// Fields the driver owns: no page writes them.
constexpr std::string_view kDriverFields[] = {
    "devicePropertiesMode", "printerName",        "driverFilePath",      "snmpCommunity",
    "customSizeMinWidth",   "customSizeMaxWidth", "customSizeMinHeight", "customSizeMaxHeight",
};

// The values a code field may take when a page wrote it.
struct CodeRule {
    std::string_view field;
    const OptionCode* table;          // null: only `extra` and the range
    std::initializer_list<int> extra; // special entries, -1 for an empty list, ...
    int min = 1;                      // a range instead of a table, when min <= max
    int max = 0;
};

// Lists filled from the PPD give 0 to keywords their table lacks and -1 when empty.
const CodeRule kCodeRules[] = {
    {"outputBin", app::OutputBinNames, {0, -1}},
    {"paperSize", app::PaperSizeNames, {0, -1, 257}},
    {"inputSlot", app::InputSlotNames, {0, -1, 7, 257}},
    {"mediaType", app::MediaTypeNames, {0, -1, 247}},
    {"bannerPageSource", app::InputSlotNames, {0, -1, 7}},
    {"firstPageSource", app::InputSlotNames, {0, -1, 7}},
    {"trailerPageSource", app::InputSlotNames, {0, -1, 7}},
    {"resolutionCode", app::ResolutionNames, {0, -1}},
    {"halftoneType", app::HalftoneNames, {0, -1}},
    {"imageHalftone", app::HalftoneNames, {0, -1}},
    {"textHalftone", app::HalftoneNames, {0, -1}},
    {"graphicsHalftone", app::HalftoneNames, {0, -1}},
    {"printQuality", app::PrintQualityNames, {0, -1}},
    {"pagesPerSheet", app::PagesPerSheetNames, {}},
    {"endOfDocType", app::EndOfDocumentNames, {0, -1}},
    {"ctrlDPlacement", app::CtrlDPlacementNames, {}},
    {"orientation", nullptr, {1, 2, 270}},
    {"duplexMode", nullptr, {1, 2, 3}},
    {"resolutionDpi", nullptr, {300, 600, 1200, 2400}},
    {"colorDevice", nullptr, {}, 0, 1},
    {"printPageBorders", nullptr, {}, 0, 1},
    {"bannerPageEnabled", nullptr, {}, 0, 1},
    {"firstPageEnabled", nullptr, {}, 0, 1},
    {"trailerPageEnabled", nullptr, {}, 0, 1},
    {"overrideMultipurposeTray", nullptr, {}, 0, 1},
    {"tonerSaving", nullptr, {}, 0, 1},
    {"copies", nullptr, {}, 1, 999},
    {"scale", nullptr, {}, 25, 400},
    {"jobWaitTimeout", nullptr, {}, 0, 3000},
    {"fontSubstitution", nullptr, {}, 0, 1},
    // Colour: predefined profiles (0 for a stored one), PPD lists with the printer-resident
    // profiles of their kind, and -1 where a pinned empty list leaves it.
    {"colorProfileIndex", app::ColorProfileNames, {0}},
    {"rgbSource", app::RgbSourceNames, {0, 108}},
    {"colorSimulation", app::SimulationNames, {0, 125}},
    {"destinationProfile", app::DestinationNames, {0, -1, 144}},
    {"crdColorSpace", app::CrdColorSpaceNames, {0, -1, 137}},
    {"defaultCrd", app::RenderingStyleNames, {0}},
    {"imageCrd", app::RenderingStyleNames, {0}},
    {"textCrd", app::RenderingStyleNames, {0}},
    {"graphicsCrd", app::RenderingStyleNames, {0}},
    {"colorSeparation", nullptr, {}, 0, 1},
    {"iccMatching", nullptr, {}, 0, 1},
    {"crdMatching", nullptr, {}, 0, 1},
    // Watermarks: the predefined ones, a stored profile (8), none chosen (-1).
    {"watermarkCode", app::WatermarkNames, {8, -1}},
    {"watermarkColor", app::WatermarkColorNames, {}},
    {"watermarkStyle", app::FontStyleNames, {}},
    {"watermarkFirstPageOnly", nullptr, {}, 0, 1},
    // Installed options moved by hand on the Settings page.
    {"diskInstalled", nullptr, {}, 0, 1},
    {"duplexerInstalled", nullptr, {}, 0, 1},
    {"reprintEnabled", nullptr, {}, 0, 1},
    {"notifyByEmail", nullptr, {}, 0, 1},
    {"collate", nullptr, {}, 0, 1},
    {"invertImage", nullptr, {}, 0, 1},
    {"mirrorImage", nullptr, {}, 0, 1},
};

bool InTable(const OptionCode* table, int value) {
    for (const OptionCode* row = table; row && row->name; ++row) {
        if (row->id == value)
            return true;
    }
    return false;
}

bool Allowed(const CodeRule& rule, int value) {
    if (rule.min <= rule.max && value >= rule.min && value <= rule.max)
        return true;
    return InTable(rule.table, value) ||
           std::find(rule.extra.begin(), rule.extra.end(), value) != rule.extra.end();
}

// The field's value as an integer (UInt8, Int16, Int32).
int ValueOf(const app::PrinterSettingsBlock& block, const app::SettingsField& field) {
    const std::uint8_t* at = block.data() + field.offset;
    switch (field.type) {
    case app::FieldType::UInt8:
        return at[0];
    case app::FieldType::Int16: {
        std::int16_t value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    case app::FieldType::Int32: {
        std::int32_t value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    default:
        return 0;
    }
}

bool SameBytes(const app::PrinterSettingsBlock& a, const app::PrinterSettingsBlock& b,
               const app::SettingsField& field) {
    return std::memcmp(a.data() + field.offset, b.data() + field.offset, field.size) == 0;
}

bool IsDriverField(std::string_view name) {
    return std::find(std::begin(kDriverFields), std::end(kDriverFields), name) !=
           std::end(kDriverFields);
}

// Record sizes under the printer's key.
struct RecordKey {
    std::string_view suffix; // below the printer's key
    std::size_t size;        // every value's exact size; 0: the driver data's own rules
};
const RecordKey kRecordKeys[] = {
    {"\\PrinterDriverData", 0},
    {"\\Printer Resident\\RGB Source Profiles", 362},
    {"\\Printer Resident\\Simulation Profiles", 362},
    {"\\Printer Resident\\Destination Profiles", 362},
    {"\\Printer Resident\\CSA Profiles", 362},
    {"\\Color Profiles", 316},
    {"\\Watermark Profiles", 148},
};

// A substitution table: pairs of NUL-terminated names, then one empty name, nothing after.
bool IsFontTable(std::string_view data) {
    std::size_t at = 0;
    while (at < data.size()) {
        const std::size_t family = data.find('\0', at);
        if (family == std::string_view::npos)
            return false;
        if (family == at)
            return family + 1 == data.size();
        const std::size_t device = data.find('\0', family + 1);
        if (device == std::string_view::npos || device == family + 1)
            return false;
        at = device + 1;
    }
    return false;
}

} // namespace

std::vector<std::string> CheckAnswer(const app::PrinterSettingsBlock& sent,
                                     const app::PrinterSettingsBlock& answer) {
    std::vector<std::string> problems;
    for (const app::SettingsField& field : app::SettingsFields()) {
        if (SameBytes(sent, answer, field))
            continue;
        const std::string name = field.named() ? field.name : "reserved bytes";
        if (!field.named() || IsDriverField(name)) {
            problems.push_back(name + " at " + std::to_string(field.offset) + " changed");
            continue;
        }
        if (field.type == app::FieldType::Text) {
            const void* at = answer.data() + field.offset;
            if (!std::memchr(at, '\0', field.size))
                problems.push_back(name + " is not terminated inside its field");
            continue;
        }
        for (const CodeRule& rule : kCodeRules) {
            if (rule.field == name && !Allowed(rule, ValueOf(answer, field)))
                problems.push_back(name + " " + std::to_string(ValueOf(answer, field)) +
                                   " is no value of its list");
        }
    }
    return problems;
}

namespace {

std::string RecordsRoot(std::string_view printerName) {
    return "System\\CurrentControlSet\\Control\\Print\\Printers\\" + std::string(printerName);
}

} // namespace

StoredRecords RecordsUnder(const platform::MemoryRegistry& registry, std::string_view printerName) {
    StoredRecords records;
    const std::string root = RecordsRoot(printerName);
    for (const RecordKey& key : kRecordKeys) {
        const std::string path = root + std::string(key.suffix);
        for (const std::string& name : registry.ValueNames(path))
            if (const std::optional<platform::RegistryValue> value = registry.Get(path, name))
                records[std::string(key.suffix.substr(1)) + "\\" + name] = value->data;
    }
    return records;
}

std::vector<std::string> CheckRegistry(const platform::MemoryRegistry& registry,
                                       std::string_view printerName, const StoredRecords& before) {
    std::vector<std::string> problems;
    const std::string root = RecordsRoot(printerName);
    for (const RecordKey& key : kRecordKeys) {
        const std::string path = root + std::string(key.suffix);
        for (const std::string& name : registry.ValueNames(path)) {
            const std::optional<platform::RegistryValue> value = registry.Get(path, name);
            if (!value)
                continue;
            const std::string where = std::string(key.suffix.substr(1)) + "\\" + name;
            std::size_t size = key.size;
            if (size == 0) {
                if ((name == "FontSub" || name == "DfltFontSub") && !IsFontTable(value->data))
                    problems.push_back(where + " is no substitution table");
                if (name != pages::kCustomSizesValue)
                    continue;
                size = pages::kCustomSizeRecordSize;
            }
            const auto earlier = before.find(where);
            const bool untouched = earlier != before.end() && earlier->second == value->data;
            if (untouched ? value->data.size() > size : value->data.size() != size)
                problems.push_back(where + " holds " + std::to_string(value->data.size()) +
                                   " bytes, not " + std::to_string(size));
        }
    }
    if (registry.OpenKeyCount() != 0)
        problems.push_back(std::to_string(registry.OpenKeyCount()) + " registry keys left open");
    return problems;
}

} // namespace sheetrun
