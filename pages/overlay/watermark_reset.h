#pragma once
// The reset of the current watermark's attributes, shared by the Overlay page, the watermark
// editor and the reset of the whole block to its defaults.
#include "app/settings_block.h"

namespace pages {

// The watermark editor's modes; the Overlay page holds the current one.
enum WatermarkEditorMode : int {
    kWatermarkNotEditing = 0,
    kWatermarkAdding = 1,
    kWatermarkEditing = 2,
};

inline constexpr char kDefaultWatermarkText[] = "Vodoznak";

// The page that runs the watermark editor keeps the mode of its last run (kWatermarkNotEditing
// before the first); the reset of the whole block asks it through the sheet.
class WatermarkEditorModeSource {
public:
    virtual int WatermarkEditorMode() const = 0;

protected:
    ~WatermarkEditorModeSource() = default;
};

// Puts the attributes of the block's watermark back to their defaults: font "Courier New", size
// 72, angle 45, intensity 50, printed behind the page content, centred, black, normal style, no
// outline. The text becomes the watermark's name while a predefined watermark (one of
// WatermarkNames) is being edited, and "Vodoznak" otherwise. The name and the font code are
// left as they are.
void ResetWatermarkAttributes(app::PrinterSettingsBlock& block, int editorMode);

} // namespace pages
