// The Fonts, Settings, Consumables and About pages.
#include <vector>

#include "app/settings_block.h"
#include "res/resource.h"
#include "tests/pages/shown/shown_fields.h"

namespace shown {
namespace {

// An installed-option list: every entry carries its flag's offset in the block, and the flag
// is 1 in the installed list and anything else in the available one.
template <bool Installed>
std::optional<std::string> OptionFlagsShown(const ShownContext& c) {
    const ui::ListBox list(c.control.GetHandle());
    for (int index = 0; index < list.GetCount(); ++index) {
        const std::intptr_t offset = list.GetItemData(index);
        if (offset < 0 || offset >= static_cast<std::intptr_t>(app::PrinterSettingsBlock::kSize))
            return "entry \"" + list.GetItemText(index) + "\" names no flag";
        const int flag = c.block.data()[offset];
        if ((flag == 1) != Installed)
            return "lists \"" + list.GetItemText(index) + "\" as " +
                   (Installed ? "installed" : "not installed") + ", its flag holds " +
                   std::to_string(flag);
    }
    return std::nullopt;
}

const ShownControl kFontsRows[] = {
    Field(IDC_FONT_DOWNLOAD, Shows::RadioValue, "fontSubstitution", 0),
    Field(IDC_FONT_SUBSTITUTE, Shows::RadioOtherwise, "fontSubstitution"),
    LeftOut(IDC_FONT_SYSTEM_LIST, "the system's fonts; the substitution table is the registry's, "
                                  "stored when the page is left"),
    LeftOut(IDC_FONT_DEVICE_LIST, "the printer's fonts; the substitution table is the registry's, "
                                  "stored when the page is left"),
    LeftOut(IDC_FONT_DEFAULT_TABLE, "restores the default table"),
    LeftOut(IDC_FONT_SEND_AS, "hidden, never used"),
    LeftOut(IDC_FONT_DOWNLOAD_MANAGER, "hidden, never used"),
};

const ShownControl kSettingsRows[] = {
    Custom(IDC_OPTIONS_AVAILABLE, "installed-option flags", OptionFlagsShown<false>),
    Custom(IDC_OPTIONS_INSTALLED, "installed-option flags", OptionFlagsShown<true>),
    Field(IDC_PORT_NAME, Shows::Text, "portName"),
    Field(IDC_ACCOUNT_AUTHOR, Shows::Text, "accountingAuthor"),
    Field(IDC_ACCOUNT_HOST, Shows::Text, "accountingHost"),
    Field(IDC_ACCOUNT_SERIES, Shows::Text, "accountingSeriesNumber"),
    LeftOut(IDC_OPTION_ADD, "moves an option to the installed"),
    LeftOut(IDC_OPTION_REMOVE, "moves an option to the available"),
    LeftOut(IDC_COMM_STATUS, "the printer's answer, no field"),
    LeftOut(IDC_QUICK_SETUP, "hidden, never used"),
    LeftOut(IDC_SNMP_COMMUNITY, "hidden, never used"),
};

// The rows of supplies show the printer's answers, never a field of the block.
std::vector<ShownControl> ConsumablesRows() {
    std::vector<ShownControl> rows = {
        LeftOut(IDC_SUPPLIES_TITLE, "title with the printer's name, which no page changes"),
        LeftOut(IDC_SUPPLIES_HEADING, "heading of the supplies"),
        LeftOut(IDC_SUPPLIES_REFRESH, "asks the printer again"),
        LeftOut(IDC_SUPPLIES_SHOP, "opens the supplies shop"),
        LeftOut(IDC_BEACON_VIEW, "hidden, never used"),
    };
    for (int id = IDC_SUPPLY_NAME_0; id <= IDC_SUPPLY_MAX_19; ++id)
        rows.push_back(LeftOut(id, "a supply the printer reported"));
    return rows;
}

const std::vector<ShownControl> kConsumablesRows = ConsumablesRows();

const ShownControl kAboutRows[] = {
    LeftOut(IDC_ABOUT_TEXT, "the version text"),
    LeftOut(IDC_ABOUT_PRINTER_LINK, "opens the printer's web page"),
    LeftOut(IDC_ABOUT_SHOP_LINK, "opens the supplies shop"),
    LeftOut(IDC_ABOUT_RESET, "resets the block"),
    LeftOut(IDC_ABOUT_PICTURE, "the maker's picture"),
};

} // namespace

const ShownTable kFontsShown{IDD_FONTS, kFontsRows};
const ShownTable kSettingsShown{IDD_SETTINGS, kSettingsRows};
const ShownTable kConsumablesShown{IDD_CONSUMABLES, kConsumablesRows};
const ShownTable kAboutShown{IDD_ABOUT, kAboutRows};

} // namespace shown
