#include "tests/pages/shown/shown_fields.h"

namespace shown {

std::span<const ShownTable> ShownTables() {
    static const ShownTable* const kTables[] = {
        &kLayoutShown,
        &kPaperShown,
        &kAdvancedFeedShown,
        &kCustomSizeShown,
        &kFeaturesShown,
        &kGraphicsOptionsShown,
        &kHalftoneShown,
        &kDocumentOptionsShown,
        &kPostScriptOptionsShown,
        &kColorOptionsShown,
        &kCrdMatchingShown,
        &kIccMatchingShown,
        &kProfileManagementShown,
        &kOverlayShown,
        &kWatermarkEditorShown,
        &kFontsShown,
        &kSettingsShown,
        &kConsumablesShown,
        &kAboutShown,
    };
    static const std::vector<ShownTable> tables = [] {
        std::vector<ShownTable> all;
        for (const ShownTable* table : kTables)
            all.push_back(*table);
        return all;
    }();
    return tables;
}

} // namespace shown
