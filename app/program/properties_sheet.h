#pragma once
// The property sheet of a run: the printer's name as caption, the driver's window as owner, and
// the pages in their fixed order: Layout, Paper, Features, Overlay and Fonts, then Consumables
// and Settings when the driver asks for the device properties, then About. Only the
// application builds it; pages reach it as the application's main window.
#include <cstdint>
#include <string_view>

#include "pages/about/about_page.h"
#include "pages/consumables/consumables_page.h"
#include "pages/features/features_page.h"
#include "pages/fonts/fonts_page.h"
#include "pages/layout/layout_page.h"
#include "pages/overlay/overlay_page.h"
#include "pages/paper/paper_page.h"
#include "pages/settings/settings_page.h"
#include "ui/dialog.h"

namespace app {

class PropertiesSheet : public ui::PropertySheet {
public:
    // The first page is selected when the sheet opens.
    PropertiesSheet(std::string_view caption, std::uintptr_t ownerWindow, bool deviceProperties);

private:
    // Pages are constructed in this order and destroyed in the reverse one: Fonts, Settings,
    // Consumables, About, Overlay, Features, Paper, Layout. The order in which they are shown
    // is set in the constructor.
    pages::CFonts fonts_;
    pages::CSettings settings_;
    pages::CConsumables consumables_;
    pages::CAbout about_;
    pages::COverlay overlay_;
    pages::CFeatures features_;
    pages::CPaper paper_;
    pages::CLayout layout_;
};

} // namespace app
