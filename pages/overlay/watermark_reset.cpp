#include "pages/overlay/watermark_reset.h"

#include <string>
#include <string_view>

#include "pages/overlay/watermark_profile_store.h"

namespace pages {

void ResetWatermarkAttributes(app::PrinterSettingsBlock& block, int editorMode) {
    // The attribute values are the reset values of the block's field table, so that they are
    // written down once.
    const std::size_t begin = app::WatermarkProfile::kBlockOffset;
    const std::size_t end = begin + app::WatermarkProfile::kSize;
    for (const app::SettingsField& field : app::SettingsFields()) {
        const std::string_view fieldName = field.name;
        if (field.offset < begin || field.offset >= end || fieldName == "watermarkName" ||
            fieldName == "watermarkText")
            continue;
        if (field.reset.kind == app::ResetKind::Value)
            block.writeInteger(field, field.reset.value);
        else if (field.reset.kind == app::ResetKind::Text)
            block.writeText(field, field.reset.text);
    }
    const std::string current = block.watermarkName();
    if (editorMode == kWatermarkEditing && IsPredefinedWatermark(current))
        block.setWatermarkText(current);
    else
        block.setWatermarkText(kDefaultWatermarkText);
}

} // namespace pages
