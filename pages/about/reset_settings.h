#pragma once
// The reset of the driver settings to their defaults (the About page's reset button).
#include "app/settings_block.h"
#include "pages/overlay/watermark_reset.h"

namespace platform {
class Registry;
}
namespace ppd {
struct PpdDocument;
}

namespace pages {

// Stores the reset values of the block's field table into `block`:
//   - the fixed values of the layout, paper-source, colour, graphics, PostScript, document and
//     overlay fields, the watermark choice "Žiadny" and the font substitution switch;
//   - the watermark attributes through ResetWatermarkAttributes in `watermarkEditorMode` (the
//     Overlay page's): the text is "Vodoznak", or "Žiadny" while that mode is editing;
//   - the printer's current font substitution table becomes its default table again;
//   - with a PPD document, the PPD's defaults of paper size, media type, output bin,
//     resolution (with its dots per inch), halftones and print quality. Without one these
//     fields are kept, except the output bin, which becomes 1.
// Names, paths, installed options, accounting, network and custom-size fields are kept.
void ResetSettingsToDefaults(app::PrinterSettingsBlock& block, const ppd::PpdDocument* document,
                             platform::Registry& registry,
                             int watermarkEditorMode = kWatermarkNotEditing);

} // namespace pages
