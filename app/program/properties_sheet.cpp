#include "app/program/properties_sheet.h"

namespace app {

PropertiesSheet::PropertiesSheet(std::string_view caption, std::uintptr_t ownerWindow,
                                 bool deviceProperties)
    : ui::PropertySheet(caption, ownerWindow, 0) {
    // Tab order, one AddPage per page. Every run: Layout, Paper, Features, Overlay, Fonts. With
    // device properties (`if (deviceProperties)`): Consumables, then Settings. Last: About.
    AddPage(layout_);
    AddPage(paper_);
    AddPage(features_);
    AddPage(overlay_);
    AddPage(fonts_);
    if (deviceProperties) {
        AddPage(consumables_);
        AddPage(settings_);
    }
    AddPage(about_);
}

} // namespace app
