#include "pages/about/reset_settings.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "app/option_tables.h"
#include "app/ppd_option_codes.h"
#include "pages/fonts/font_substitution_store.h"
#include "pages/overlay/watermark_reset.h"

namespace pages {
namespace {

using namespace app;

// The code table of each PPD feature whose default the reset takes.
struct FeatureTable {
    std::string_view keyword;
    const OptionCode* table;
};
constexpr FeatureTable kFeatureTables[] = {
    {"PageSize", PaperSizeNames},    {"MediaType", MediaTypeNames},
    {"OutputBin", OutputBinNames},   {"Resolution", ResolutionNames},
    {"HalftoneType", HalftoneNames}, {"PrintQuality", PrintQualityNames},
};

const OptionCode* TableOf(std::string_view keyword) {
    for (const FeatureTable& row : kFeatureTables) {
        if (row.keyword == keyword)
            return row.table;
    }
    return nullptr;
}

// Dots per inch when the PPD names no default resolution.
constexpr std::int32_t kDpiWithoutPpdResolution = 600;

// Fields of the watermark record that ResetWatermarkAttributes owns (all but the name).
bool IsWatermarkAttribute(const SettingsField& field) {
    const std::size_t begin = WatermarkProfile::kBlockOffset;
    return field.offset >= begin && field.offset < begin + WatermarkProfile::kSize &&
           std::string_view(field.name) != "watermarkName";
}

const SettingsField& FieldNamed(const char* name) {
    return *FindSettingsField(name);
}

void StoreFixedValues(PrinterSettingsBlock& block) {
    for (const SettingsField& field : SettingsFields()) {
        if (IsWatermarkAttribute(field))
            continue;
        switch (field.reset.kind) {
        case ResetKind::Value:
        case ResetKind::PpdDefaultOrValue: // the value now, the PPD's default later
            block.writeInteger(field, field.reset.value);
            break;
        case ResetKind::Text:
            block.writeText(field, field.reset.text);
            break;
        case ResetKind::Zero:
            std::fill_n(block.data() + field.offset, field.size, std::uint8_t{0});
            break;
        default:
            break;
        }
    }
}

void StorePpdDefaults(PrinterSettingsBlock& block, const ppd::PpdDocument* document) {
    bool resolutionDefault = false;
    for (const SettingsField& field : SettingsFields()) {
        const ResetKind kind = field.reset.kind;
        if (kind != ResetKind::PpdDefault && kind != ResetKind::PpdDefaultOrValue &&
            kind != ResetKind::PpdDefaultOrKept)
            continue;
        const std::int32_t code =
            PpdDefaultCode(document, field.reset.ppdKeyword, TableOf(field.reset.ppdKeyword));
        if (code != kNoPpdDefault)
            block.writeInteger(field, code);
        else if (kind != ResetKind::PpdDefaultOrKept)
            block.writeInteger(field, field.reset.value);
        if (std::string_view(field.reset.ppdKeyword) == "Resolution")
            resolutionDefault = code != kNoPpdDefault;
    }
    for (const SettingsField& field : SettingsFields()) {
        if (field.reset.kind == ResetKind::SameAs)
            block.writeInteger(field, block.readInteger(FieldNamed(field.reset.text)));
        else if (field.reset.kind == ResetKind::DpiOfResolution)
            block.writeInteger(field, resolutionDefault
                                          ? DpiOfResolutionCode(block.resolutionCode())
                                          : kDpiWithoutPpdResolution);
    }
}

} // namespace

void ResetSettingsToDefaults(app::PrinterSettingsBlock& block, const ppd::PpdDocument* document,
                             platform::Registry& registry, int watermarkEditorMode) {
    StoreFixedValues(block);
    pages::ResetWatermarkAttributes(block, watermarkEditorMode);
    pages::RestoreDefaultFontTable(registry, block.printerName());
    if (document != nullptr)
        StorePpdDefaults(block, document);
}

} // namespace pages
