// The colour options, the CRD and ICC matching dialogs and the profile management dialog.
#include "app/option_tables.h"
#include "app/ppd_option_codes.h"
#include "app/settings_block.h"
#include "pages/colour/color_options_dialog.h"
#include "pages/colour/color_profile_store.h"
#include "pages/colour/resident_profile_store.h"
#include "platform/memory_registry.h"
#include "res/resource.h"
#include "tests/pages/shown/colour_checks.h"
#include "ui/backend.h"
#include "ui/headless/collation.h"

namespace shown {
namespace {

using Block = app::PrinterSettingsBlock;

// Summary lines cut names of the user's to this many characters.
constexpr std::size_t kSummaryNameLength = 18;
constexpr char kOn[] = "Zapnut\xE9";
constexpr char kOff[] = "Vypnut\xE9";
constexpr std::string_view kHelp = "opens help";

ui::ComboBox Sibling(const ShownContext& context, int id) {
    return ui::ComboBox(ui::CurrentBackend().Item(context.control.GetParent().GetHandle(), id));
}

std::string OptionText(const ShownContext& context, const char* feature,
                       const app::OptionCode* table, int code) {
    const char* text = app::PpdOptionText(context.document, feature, table, code);
    return text ? text : "";
}

// A summary line ends with its value, "Žiadny" for none.
std::optional<std::string> LineEndsWith(const ShownContext& context, std::string_view value) {
    const std::string expected = " " + pages::SummaryValue(value);
    const std::string text = context.control.GetWindowText();
    if (text.size() >= expected.size() && text.ends_with(expected))
        return std::nullopt;
    return "reads \"" + text + "\", the block's value is \"" + pages::SummaryValue(value) + "\"";
}

std::optional<std::string> IccLineShown(const ShownContext& c) {
    return LineEndsWith(c, c.block.iccMatching() != 0 ? kOn : kOff);
}

std::optional<std::string> CrdLineShown(const ShownContext& c) {
    return LineEndsWith(c, c.block.crdMatching() != 0 ? kOn : kOff);
}

// An ICC summary line: the PPD's text of the code, or a resident profile's name while the
// dialog's hidden list of that kind has it.
template <const char* Feature, std::int16_t (Block::*Code)() const, int Kind,
          std::string (Block::*Name)() const, int ResidentList>
std::optional<std::string> IccChoiceLineShown(const ShownContext& c) {
    const int code = (c.block.*Code)();
    std::string value;
    if (code == Kind) {
        const std::string name = (c.block.*Name)();
        if (!name.empty() && Sibling(c, ResidentList).FindStringExact(-1, name) >= 0)
            value = name.substr(0, kSummaryNameLength);
    } else {
        const app::OptionCode* table = Kind == pages::kResidentRgbSource    ? app::RgbSourceNames
                                       : Kind == pages::kResidentSimulation ? app::SimulationNames
                                                                            : app::DestinationNames;
        value = OptionText(c, Feature, table, code);
    }
    return LineEndsWith(c, value);
}

constexpr char kRgbSourceFeature[] = "RGBSource";
constexpr char kSimulationFeature[] = "ColorSimul";
constexpr char kDestinationFeature[] = "DestinationProfile";

template <std::int16_t (Block::*Code)() const>
std::optional<std::string> RenderingLineShown(const ShownContext& c) {
    return LineEndsWith(
        c, OptionText(c, "ColorRenderDict", app::RenderingStyleNames, (c.block.*Code)()));
}

std::optional<std::string> ColorSpaceLineShown(const ShownContext& c) {
    const int code = c.block.crdColorSpace();
    return LineEndsWith(c, code == pages::kResidentCsa
                               ? c.block.crdColorSpaceName().substr(0, kSummaryNameLength)
                               : OptionText(c, "CRDColSpc", app::CrdColorSpaceNames, code));
}

// A list of PPD choices and resident profiles: the selected entry carries the block's code,
// and a resident profile's entry reads the block's name of it.
template <std::int16_t (Block::*Code)() const, int Kind, std::string (Block::*Name)() const>
std::optional<std::string> ResidentChoiceShown(const ShownContext& c) {
    const ui::ComboBox list(c.control.GetHandle());
    if (list.GetCount() == 0)
        return std::nullopt; // an empty list shows nothing
    const int selected = list.GetCurSel();
    const int code = (c.block.*Code)();
    if (selected < 0)
        return std::nullopt; // a list without a choice shows nothing (the PPD lacks the code)
    const auto shownCode = static_cast<int>(list.GetItemData(selected));
    const std::string text = list.GetItemText(selected);
    if (shownCode != code)
        return "shows \"" + text + "\" (code " + std::to_string(shownCode) +
               "), the block holds code " + std::to_string(code);
    if (code == Kind && !ui::headless::EqualsIgnoringCase(text, (c.block.*Name)()))
        return "shows \"" + text + "\", the block names \"" + (c.block.*Name)() + "\"";
    return std::nullopt;
}

// The kind of resident profiles the management dialog works on: its opener's button says.
int KindOfOpener(int button) {
    switch (button) {
    case IDC_ICC_RGB_SOURCE_MANAGE:
        return pages::kResidentRgbSource;
    case IDC_ICC_SIMULATION_MANAGE:
        return pages::kResidentSimulation;
    case IDC_ICC_DESTINATION_MANAGE:
        return pages::kResidentDestination;
    default:
        return 0;
    }
}

// Every description the management dialog lists names a stored resident profile.
std::optional<std::string> DescriptionsStored(const ShownContext& c) {
    const int kind = KindOfOpener(c.openedBy);
    if (kind == 0 || !c.registry)
        return std::nullopt;
    const std::string key = std::string(c.printerKey) + pages::ResidentKindSuffix(kind);
    const ui::ComboBox list(c.control.GetHandle());
    for (int index = 0; index < list.GetCount(); ++index) {
        const std::string name = list.GetItemText(index);
        if (!c.registry->Get(key, name))
            return "lists \"" + name + "\" as stored, but " +
                   std::string(pages::ResidentKindSuffix(kind)) + " holds no such value";
    }
    return std::nullopt;
}

const ShownControl kColorOptionsRows[] = {
    Custom(IDC_COLOR_SUMMARY_ICC, "iccMatching", IccLineShown),
    Custom(IDC_COLOR_SUMMARY_RGB_SOURCE, "rgbSource",
           IccChoiceLineShown<kRgbSourceFeature, &Block::rgbSource, pages::kResidentRgbSource,
                              &Block::rgbSourceProfileName, IDC_RESIDENT_RGB_SOURCE_LIST>),
    Custom(
        IDC_COLOR_SUMMARY_SIMULATION, "colorSimulation",
        IccChoiceLineShown<kSimulationFeature, &Block::colorSimulation, pages::kResidentSimulation,
                           &Block::simulationProfileName, IDC_RESIDENT_SIMULATION_LIST>),
    Custom(IDC_COLOR_SUMMARY_DESTINATION, "destinationProfile",
           IccChoiceLineShown<kDestinationFeature, &Block::destinationProfile,
                              pages::kResidentDestination, &Block::destinationProfileName,
                              IDC_RESIDENT_DESTINATION_LIST>),
    Custom(IDC_COLOR_SUMMARY_CRD, "crdMatching", CrdLineShown),
    Custom(IDC_COLOR_SUMMARY_DEFAULT_CRD, "defaultCrd", RenderingLineShown<&Block::defaultCrd>),
    Custom(IDC_COLOR_SUMMARY_IMAGE_CRD, "imageCrd", RenderingLineShown<&Block::imageCrd>),
    Custom(IDC_COLOR_SUMMARY_TEXT_CRD, "textCrd", RenderingLineShown<&Block::textCrd>),
    Custom(IDC_COLOR_SUMMARY_GRAPHICS_CRD, "graphicsCrd", RenderingLineShown<&Block::graphicsCrd>),
    Custom(IDC_COLOR_SUMMARY_COLOR_SPACE, "crdColorSpace", ColorSpaceLineShown),
    Custom(IDC_COLOR_PROFILE_LIST, "colorProfileIndex, colorProfileName", ColorProfileChoiceShown),
    Stored(IDC_COLOR_PROFILE_LIST, "stored colour profiles", 0, "\\Color Profiles"),
    Field(IDC_COLOR_SEPARATION, Shows::Check, "colorSeparation"),
    Field(IDC_ICC_MATCHING, Shows::Check, "iccMatching"),
    Field(IDC_CRD_MATCHING, Shows::Check, "crdMatching"),
    LeftOut(IDC_COLOR_PROFILE_SAVE, "saves a profile"),
    LeftOut(IDC_COLOR_PROFILE_DELETE, "deletes a profile"),
    LeftOut(IDC_COLOR_PROFILE_DEFAULT, "chooses the first profile"),
    LeftOut(IDC_ICC_CONFIGURE, "opens the ICC matching"),
    LeftOut(IDC_CRD_CONFIGURE, "opens the CRD matching"),
    LeftOut(IDC_COLOR_HELP, kHelp),
    LeftOut(IDC_RESIDENT_RGB_SOURCE_LIST, "hidden: the resident names the summary may show"),
    LeftOut(IDC_RESIDENT_SIMULATION_LIST, "hidden: the resident names the summary may show"),
    LeftOut(IDC_RESIDENT_DESTINATION_LIST, "hidden: the resident names the summary may show"),
};

const ShownControl kCrdRows[] = {
    Field(IDC_CRD_DEFAULT, Shows::ListCode, "defaultCrd"),
    Field(IDC_CRD_IMAGE, Shows::ListCode, "imageCrd"),
    Field(IDC_CRD_TEXT, Shows::ListCode, "textCrd"),
    Field(IDC_CRD_GRAPHICS, Shows::ListCode, "graphicsCrd"),
    Custom(
        IDC_CRD_COLOR_SPACE, "crdColorSpace, crdColorSpaceName",
        ResidentChoiceShown<&Block::crdColorSpace, pages::kResidentCsa, &Block::crdColorSpaceName>),
    Stored(IDC_CRD_COLOR_SPACE, "resident colour spaces", pages::kResidentCsa,
           "\\Printer Resident\\CSA Profiles"),
    LeftOut(IDC_CRD_HELP, kHelp),
};

const ShownControl kIccRows[] = {
    Custom(IDC_ICC_RGB_SOURCE, "rgbSource, rgbSourceProfileName",
           ResidentChoiceShown<&Block::rgbSource, pages::kResidentRgbSource,
                               &Block::rgbSourceProfileName>),
    Stored(IDC_ICC_RGB_SOURCE, "resident RGB sources", pages::kResidentRgbSource,
           "\\Printer Resident\\RGB Source Profiles"),
    Custom(IDC_ICC_SIMULATION, "colorSimulation, simulationProfileName",
           ResidentChoiceShown<&Block::colorSimulation, pages::kResidentSimulation,
                               &Block::simulationProfileName>),
    Stored(IDC_ICC_SIMULATION, "resident simulations", pages::kResidentSimulation,
           "\\Printer Resident\\Simulation Profiles"),
    Custom(IDC_ICC_DESTINATION, "destinationProfile, destinationProfileName",
           ResidentChoiceShown<&Block::destinationProfile, pages::kResidentDestination,
                               &Block::destinationProfileName>),
    Stored(IDC_ICC_DESTINATION, "resident destinations", pages::kResidentDestination,
           "\\Printer Resident\\Destination Profiles"),
    LeftOut(IDC_ICC_RGB_SOURCE_MANAGE, "opens profile management"),
    LeftOut(IDC_ICC_SIMULATION_MANAGE, "opens profile management"),
    LeftOut(IDC_ICC_DESTINATION_MANAGE, "opens profile management"),
    LeftOut(IDC_ICC_DOWNLOAD_MANAGER, "starts the download manager"),
    LeftOut(IDC_ICC_HELP, kHelp),
};

const ShownControl kProfileManagementRows[] = {
    CustomStored(IDC_PROFILE_DESCRIPTION, "resident profiles of the kind", DescriptionsStored),
    LeftOut(IDC_PROFILE_FILE_NAME, "the file name of a profile to add, no block field"),
    LeftOut(IDC_PROFILE_ADD, "adds a profile"),
    LeftOut(IDC_PROFILE_DELETE, "deletes a profile"),
    LeftOut(IDC_PROFILE_HELP, kHelp),
};

} // namespace

std::optional<std::string> ColorProfileChoiceShown(const ShownContext& c) {
    const ui::ComboBox list(c.control.GetHandle());
    if (list.GetCount() == 0)
        return std::nullopt; // an empty list shows nothing
    const int selected = list.GetCurSel();
    const int index = c.block.colorProfileIndex();
    if (selected < 0)
        return std::nullopt; // a list without a choice shows nothing (the PPD lacks the profile)
    const auto code = static_cast<int>(list.GetItemData(selected));
    const std::string text = list.GetItemText(selected);
    if (code != index)
        return "shows \"" + text + "\" (code " + std::to_string(code) +
               "), colorProfileIndex holds " + std::to_string(index);
    if (code == pages::kStoredColorProfile &&
        !ui::headless::EqualsIgnoringCase(text, c.block.colorProfileName()))
        return "shows \"" + text + "\", colorProfileName holds \"" + c.block.colorProfileName() +
               "\"";
    return std::nullopt;
}

const ShownTable kColorOptionsShown{IDD_COLOR_OPTIONS, kColorOptionsRows};
const ShownTable kCrdMatchingShown{IDD_CRD_MATCHING, kCrdRows};
const ShownTable kIccMatchingShown{IDD_ICC_MATCHING, kIccRows};
const ShownTable kProfileManagementShown{IDD_PROFILE_MANAGEMENT, kProfileManagementRows};

} // namespace shown
