// The CRD and ICC matching dialogs: their lists from the PPD and the printer-resident profiles,
// what is selected for the block's codes and names, what a choice writes at once and what OK
// writes, the two cases that store -1, resident names too long for the block (listed, never
// chosen), and the buttons of the ICC dialog.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pages/colour/crd_matching_dialog.h"
#include "pages/colour/icc_matching_dialog.h"
#include "pages/shared/download_manager.h"
#include "platform/program_launcher.h"
#include "tests/pages/colour/colour_test_support.h"

namespace pages {
namespace {

using testing::AppState;
using testing::Cp1250;
using ::testing::ElementsAre;
using testing::PutResident;
using ui::headless::TestHost;

const std::string kBusiness = Cp1250(u8"Obchodná grafika");
const std::string kColorimetric = Cp1250(u8"Kolorimetrický");
const std::string kPhotographic = Cp1250(u8"Fotografický");
const std::string kPrinterDefault = Cp1250(u8"Podľa tlačiarne");
const std::string kDeviceRgb = "RGB zariadenia";
const std::string kNoSimulation = Cp1250(u8"Žiadne");

// A PPD with neither colour spaces, RGB sources nor destinations.
constexpr char kSparsePpd[] = "*PPD-Adobe: \"4.3\"\n"
                              "*OpenUI *ColorSimul/Napodobnenie: PickOne\n"
                              "*ColorSimul None/None: \"\"\n"
                              "*CloseUI: *ColorSimul\n";

template <class Dialog>
int RunDialog(TestHost& host, const std::function<void()>& body) {
    Dialog dialog;
    host.OnDialog(Dialog::IDD, body);
    return dialog.DoModal();
}

class CrdMatchingDialogTest : public ::testing::Test {
protected:
    void SetUpBlock(app::PrinterSettingsBlock& b) {
        b.setDefaultCrd(0);
        b.setImageCrd(2);
        b.setTextCrd(1);
        b.setGraphicsCrd(3);
        b.setCrdColorSpace(132);
    }
    int Run(const std::function<void()>& body) { return RunDialog<CrdMatchingDialog>(host, body); }
    TestHost host;
};

// The rendering lists in PPD order with the block's codes selected (None is not offered: the
// first entry); the colour spaces with the resident CSA profiles in sorted position.
TEST_F(CrdMatchingDialogTest, Lists) {
    AppState app("colour.ppd");
    app.InstallHelpFile();
    SetUpBlock(app.block());
    PutResident(app.registry, kResidentCsa, "Moja CSA");
    PutResident(app.registry, kResidentCsa, "Na disku", "D.CSA", 1);
    Run([&] {
        for (int id : {IDC_CRD_DEFAULT, IDC_CRD_IMAGE, IDC_CRD_TEXT, IDC_CRD_GRAPHICS}) {
            EXPECT_THAT(host.Items(id),
                        ElementsAre(kBusiness, kColorimetric, kPhotographic, kPrinterDefault));
            EXPECT_THAT(host.ItemData(id), ElementsAre(1, 2, 4, 3));
        }
        EXPECT_EQ(host.SelectedText(IDC_CRD_DEFAULT), kBusiness);
        EXPECT_EQ(host.SelectedText(IDC_CRD_IMAGE), kColorimetric);
        EXPECT_EQ(host.SelectedText(IDC_CRD_TEXT), kBusiness);
        EXPECT_EQ(host.SelectedText(IDC_CRD_GRAPHICS), kPrinterDefault);
        EXPECT_THAT(host.Items(IDC_CRD_COLOR_SPACE),
                    ElementsAre("sRGB", "Apple RGB", "Moja CSA", kDeviceRgb));
        EXPECT_THAT(host.ItemData(IDC_CRD_COLOR_SPACE), ElementsAre(131, 132, 137, 136));
        EXPECT_EQ(host.SelectedText(IDC_CRD_COLOR_SPACE), "Apple RGB");
        EXPECT_EQ(ui::Window(host.ActiveDialog()).GetContextHelpId(), unsigned{IDD_CRD_MATCHING});
        host.Click(IDC_CRD_HELP);
        EXPECT_EQ(host.HelpCalls().back().data, unsigned{IDD_CRD_MATCHING});
        host.PressCancel();
    });
}

// A colour space chosen is written at once and stays after Cancel; the rendering dictionaries
// only by OK.
TEST_F(CrdMatchingDialogTest, ChoicesAndTheirEnd) {
    for (int result : {ui::kIdOk, ui::kIdCancel}) {
        AppState app("colour.ppd");
        SetUpBlock(app.block());
        app.block().setCrdColorSpaceName("stary");
        PutResident(app.registry, kResidentCsa, "Moja CSA");
        EXPECT_EQ(Run([&] {
                      host.ChooseItem(IDC_CRD_COLOR_SPACE, "Moja CSA");
                      EXPECT_EQ(app.block().crdColorSpace(), 137);
                      EXPECT_EQ(app.block().crdColorSpaceName(), "Moja CSA");
                      host.ChooseItem(IDC_CRD_DEFAULT, kPhotographic);
                      host.ChooseItem(IDC_CRD_GRAPHICS, kBusiness);
                      EXPECT_EQ(app.block().defaultCrd(), 0);
                      result == ui::kIdOk ? host.PressOk() : host.PressCancel();
                  }),
                  result);
        const app::PrinterSettingsBlock& b = app.block();
        EXPECT_EQ(b.crdColorSpace(), 137);
        EXPECT_EQ(b.crdColorSpaceName(), "Moja CSA");
        EXPECT_EQ(b.defaultCrd(), result == ui::kIdOk ? 4 : 0);
        EXPECT_EQ(b.graphicsCrd(), result == ui::kIdOk ? 1 : 3);
        EXPECT_EQ(b.imageCrd(), 2);
    }
}

// The block's resident colour space selected by name; one that has gone leaves no selection
// and OK stores -1. Lists left empty by the PPD keep the block's codes.
TEST_F(CrdMatchingDialogTest, ResidentColourSpaceAndEmptyLists) {
    const struct {
        const char* what;
        const char* ppd;
        const char* name;
        std::string selected;
        int spaceAfter;
        int imageAfter;
    } cases[] = {
        {"listed", "colour.ppd", "MOJA CSA", "Moja CSA", 137, 2},
        {"gone", "colour.ppd", "Zmazana", "", -1, 2},
        {"no such lists", nullptr, "Zmazana", "", -1, 2},
    };
    for (const auto& c : cases) {
        AppState app = c.ppd ? AppState(c.ppd) : AppState();
        SetUpBlock(app.block());
        app.block().setCrdColorSpace(137);
        app.block().setCrdColorSpaceName(c.name);
        PutResident(app.registry, kResidentCsa, "Moja CSA");
        Run([&] {
            EXPECT_EQ(host.SelectedText(IDC_CRD_COLOR_SPACE), c.selected) << c.what;
            host.PressOk();
        });
        EXPECT_EQ(app.block().crdColorSpace(), c.spaceAfter) << c.what;
        EXPECT_EQ(app.block().imageCrd(), c.imageAfter) << c.what;
    }

    AppState app(AppState::Source::Text, kSparsePpd);
    SetUpBlock(app.block());
    const app::PrinterSettingsBlock before = app.block();
    Run([&] {
        EXPECT_EQ(host.Combo(IDC_CRD_COLOR_SPACE).GetCount(), 0);
        host.PressOk();
    });
    EXPECT_EQ(app.block(), before);
}

// A resident colour space whose name is longer than the 31 characters `crdColorSpaceName` holds
// is listed, but choosing it is refused with a message: the choice before it stays in the list
// and the block, so reopening shows it and OK never sends -1. A name of 31 is chosen whole.
TEST_F(CrdMatchingDialogTest, NamesTooLongForTheBlockAreRefused) {
    const std::string tooLong = "Profil farebneho priestoru 32 zn";
    const std::string fits = "Profil farebneho priestoru 31 z";
    ASSERT_EQ(tooLong.size(), 32u);
    ASSERT_EQ(fits.size(), 31u);
    const std::string refusal = Cp1250(u8"Profil s názvom dlhším ako 31 znakov sa nedá vybrať");
    AppState app("colour.ppd");
    SetUpBlock(app.block());
    app.block().setCrdColorSpaceName("stary");
    PutResident(app.registry, kResidentCsa, tooLong);
    PutResident(app.registry, kResidentCsa, fits);
    const app::PrinterSettingsBlock& b = app.block();
    Run([&] {
        EXPECT_THAT(host.Items(IDC_CRD_COLOR_SPACE), ::testing::Contains(tooLong));
        host.OnMessageBox([&](const ui::MessageBoxCall& box) {
            EXPECT_EQ(box.text, refusal);
            EXPECT_EQ(box.style, ui::kMbOk | ui::kMbIconWarning);
            return ui::kIdOk;
        });
        host.ChooseItem(IDC_CRD_COLOR_SPACE, tooLong);
        EXPECT_EQ(host.MessageBoxes().size(), 1u);
        EXPECT_EQ(host.SelectedText(IDC_CRD_COLOR_SPACE), "Apple RGB");
        EXPECT_EQ(b.crdColorSpace(), 132);
        EXPECT_EQ(b.crdColorSpaceName(), "stary");
        host.PressOk();
    });
    EXPECT_EQ(b.crdColorSpace(), 132);

    Run([&] {
        host.ChooseItem(IDC_CRD_COLOR_SPACE, fits);
        EXPECT_EQ(b.crdColorSpaceName(), fits);
        host.AnswerMessageBox(ui::kIdOk);
        host.ChooseItem(IDC_CRD_COLOR_SPACE, tooLong);
        ASSERT_EQ(host.MessageBoxes().size(), 2u);
        EXPECT_EQ(host.MessageBoxes().back().text, refusal);
        EXPECT_EQ(host.SelectedText(IDC_CRD_COLOR_SPACE), fits);
        EXPECT_EQ(b.crdColorSpaceName(), fits);
        host.PressOk();
    });
    // Reopened, the choice is found again, and OK keeps it.
    Run([&] {
        EXPECT_EQ(host.SelectedText(IDC_CRD_COLOR_SPACE), fits);
        host.PressOk();
    });
    EXPECT_EQ(b.crdColorSpace(), 137);
    EXPECT_EQ(b.crdColorSpaceName(), fits);
    EXPECT_EQ(host.MessageBoxes().size(), 2u);
}

class IccMatchingDialogTest : public ::testing::Test {
protected:
    int Run(const std::function<void()>& body) { return RunDialog<IccMatchingDialog>(host, body); }
    TestHost host;
};

// Each list: the PPD's options, then the resident profiles of its kind (a disk profile only
// with the disk); the block's codes and resident names selected; a resident profile that has
// gone falls back to the list's fallback, which OK then stores.
TEST_F(IccMatchingDialogTest, ListsAndSelection) {
    for (int disk : {0, 1}) {
        AppState app("colour.ppd");
        app::PrinterSettingsBlock& b = app.block();
        b.setDiskInstalled(static_cast<std::uint8_t>(disk));
        b.setRgbSource(108);
        b.setRgbSourceProfileName("Zmazany");
        b.setColorSimulation(125);
        b.setSimulationProfileName("na disku");
        b.setDestinationProfile(144);
        b.setDestinationProfileName("Ciel");
        PutResident(app.registry, kResidentRgbSource, "Moje RGB");
        PutResident(app.registry, kResidentSimulation, "Na disku", "D.ICC", 1);
        PutResident(app.registry, kResidentDestination, "Ciel");
        Run([&] {
            EXPECT_THAT(host.Items(IDC_ICC_RGB_SOURCE),
                        ElementsAre("sRGB", "Apple RGB", "Moje RGB", kDeviceRgb));
            EXPECT_THAT(host.ItemData(IDC_ICC_RGB_SOURCE), ElementsAre(101, 102, 108, 106));
            EXPECT_EQ(host.SelectedText(IDC_ICC_RGB_SOURCE), "sRGB");
            const auto simulations = host.Items(IDC_ICC_SIMULATION);
            EXPECT_EQ(simulations.size(), disk ? 4u : 3u);
            EXPECT_EQ(host.SelectedText(IDC_ICC_SIMULATION), disk ? "Na disku" : kNoSimulation);
            EXPECT_THAT(host.Items(IDC_ICC_DESTINATION), ElementsAre("Automaticky", "Ciel"));
            EXPECT_EQ(host.SelectedText(IDC_ICC_DESTINATION), "Ciel");
            EXPECT_TRUE(host.IsEnabled(IDC_ICC_DESTINATION_MANAGE));
            host.PressOk();
        });
        EXPECT_EQ(b.rgbSource(), 101);
        EXPECT_EQ(b.colorSimulation(), disk ? 125 : 119);
        EXPECT_EQ(b.destinationProfile(), 144);
    }
}

// A choice writes its code, and a resident profile's name, at once: Cancel keeps them.
TEST_F(IccMatchingDialogTest, ChoicesStayAfterCancel) {
    AppState app("colour.ppd");
    app::PrinterSettingsBlock& b = app.block();
    b.setRgbSource(101);
    b.setColorSimulation(119);
    b.setDestinationProfile(143);
    PutResident(app.registry, kResidentRgbSource, "Moje RGB");
    PutResident(app.registry, kResidentDestination, "Ciel");
    EXPECT_EQ(Run([&] {
                  host.ChooseItem(IDC_ICC_RGB_SOURCE, "Moje RGB");
                  host.ChooseItem(IDC_ICC_SIMULATION, "SWOP");
                  host.PressListKey(IDC_ICC_DESTINATION, ui::Automation::ListKey::Down);
                  host.PressCancel();
              }),
              ui::kIdCancel);
    EXPECT_EQ(b.rgbSource(), 108);
    EXPECT_EQ(b.rgbSourceProfileName(), "Moje RGB");
    EXPECT_EQ(b.colorSimulation(), 120);
    EXPECT_EQ(b.destinationProfile(), 144);
    EXPECT_EQ(b.destinationProfileName(), "Ciel");
}

// Without "DestinationProfile" the destination list and its button are disabled and OK stores
// -1; other lists left empty keep the block's codes.
TEST_F(IccMatchingDialogTest, MissingFeatures) {
    AppState app(AppState::Source::Text, kSparsePpd);
    app::PrinterSettingsBlock& b = app.block();
    b.setRgbSource(102);
    b.setColorSimulation(121);
    b.setDestinationProfile(143);
    PutResident(app.registry, kResidentDestination, "Ciel");
    Run([&] {
        EXPECT_EQ(host.Combo(IDC_ICC_RGB_SOURCE).GetCount(), 0);
        EXPECT_EQ(host.Combo(IDC_ICC_DESTINATION).GetCount(), 0);
        EXPECT_FALSE(host.IsEnabled(IDC_ICC_DESTINATION));
        EXPECT_FALSE(host.IsEnabled(IDC_ICC_DESTINATION_MANAGE));
        EXPECT_TRUE(host.IsEnabled(IDC_ICC_RGB_SOURCE_MANAGE));
        EXPECT_EQ(host.SelectedText(IDC_ICC_SIMULATION), "None");
        host.PressOk();
    });
    EXPECT_EQ(b.rgbSource(), 102);
    EXPECT_EQ(b.colorSimulation(), 119);
    EXPECT_EQ(b.destinationProfile(), -1);
}

// "Správa profilov" works on its list: a profile added there can be chosen; deleting the chosen
// one leaves the list's fallback chosen in the block.
TEST_F(IccMatchingDialogTest, ProfileManagement) {
    AppState app("colour.ppd");
    app::PrinterSettingsBlock& b = app.block();
    b.setColorSimulation(125);
    b.setSimulationProfileName("Stary");
    PutResident(app.registry, kResidentSimulation, "Stary");
    Run([&] {
        EXPECT_EQ(host.SelectedText(IDC_ICC_SIMULATION), "Stary");
        host.OnDialog(IDD_PROFILE_MANAGEMENT, [&] {
            host.ReplaceText(IDC_PROFILE_DESCRIPTION, "Novy");
            host.ReplaceText(IDC_PROFILE_FILE_NAME, "NOVY.ICC");
            host.Click(IDC_PROFILE_ADD);
            host.ChooseItem(IDC_PROFILE_DESCRIPTION, "Stary");
            host.Click(IDC_PROFILE_DELETE);
            host.PressOk();
        });
        host.Click(IDC_ICC_SIMULATION_MANAGE);
        EXPECT_EQ(host.SelectedText(IDC_ICC_SIMULATION), kNoSimulation);
        EXPECT_EQ(b.colorSimulation(), 119);
        host.ChooseItem(IDC_ICC_SIMULATION, "Novy");
        EXPECT_EQ(b.colorSimulation(), 125);
        EXPECT_EQ(b.simulationProfileName(), "Novy");
        host.PressOk();
    });
    EXPECT_EQ(b.colorSimulation(), 125);
    EXPECT_THAT(app.registry.ValueNames(testing::ResidentKey(kResidentSimulation)),
                ElementsAre("Novy"));
}

// A resident profile whose name is longer than the 63 characters of the block's name fields is
// listed, but choosing it is refused with a message and the block keeps its choice; a name of
// 63 is chosen whole and found again when the dialog opens anew.
TEST_F(IccMatchingDialogTest, NamesTooLongForTheBlockAreRefused) {
    const std::string tooLong(64, 'R');
    const std::string fits(63, 'S');
    const std::string refusal = Cp1250(u8"Profil s názvom dlhším ako 63 znakov sa nedá vybrať");
    const struct {
        int listId;
        int kind;
        std::int16_t (app::PrinterSettingsBlock::*code)() const;
        std::string (app::PrinterSettingsBlock::*name)() const;
        std::string before; // the text the list shows for the block's choice
    } lists[] = {
        {IDC_ICC_RGB_SOURCE, kResidentRgbSource, &app::PrinterSettingsBlock::rgbSource,
         &app::PrinterSettingsBlock::rgbSourceProfileName, "sRGB"},
        {IDC_ICC_SIMULATION, kResidentSimulation, &app::PrinterSettingsBlock::colorSimulation,
         &app::PrinterSettingsBlock::simulationProfileName, kNoSimulation},
        {IDC_ICC_DESTINATION, kResidentDestination, &app::PrinterSettingsBlock::destinationProfile,
         &app::PrinterSettingsBlock::destinationProfileName, "Automaticky"},
    };
    for (const auto& l : lists) {
        SCOPED_TRACE(l.kind);
        AppState app("colour.ppd");
        app::PrinterSettingsBlock& b = app.block();
        b.setRgbSource(101);
        b.setColorSimulation(119);
        b.setDestinationProfile(143);
        PutResident(app.registry, l.kind, tooLong);
        PutResident(app.registry, l.kind, fits);
        const app::PrinterSettingsBlock before = b;
        Run([&] {
            EXPECT_THAT(host.Items(l.listId), ::testing::Contains(tooLong));
            const std::size_t shown = host.MessageBoxes().size();
            host.AnswerMessageBox(ui::kIdOk);
            host.ChooseItem(l.listId, tooLong);
            ASSERT_EQ(host.MessageBoxes().size(), shown + 1);
            EXPECT_EQ(host.MessageBoxes().back().text, refusal);
            EXPECT_EQ(host.MessageBoxes().back().style, ui::kMbOk | ui::kMbIconWarning);
            EXPECT_EQ(host.SelectedText(l.listId), l.before);
            EXPECT_EQ(b, before);
            host.ChooseItem(l.listId, fits);
            host.PressOk();
        });
        EXPECT_EQ((b.*l.code)(), l.kind);
        EXPECT_EQ((b.*l.name)(), fits);
        Run([&] {
            EXPECT_EQ(host.SelectedText(l.listId), fits);
            host.PressOk();
        });
        EXPECT_EQ((b.*l.code)(), l.kind);
    }
}

// "Správca načítania" starts the registered download manager for colour profiles.
TEST_F(IccMatchingDialogTest, DownloadManager) {
    AppState app("colour.ppd");
    platform::RecordingLauncher launcher;
    platform::ScopedServices services({nullptr, &launcher});
    app.registry.Put(kDownloadManagerKey, "", platform::RegistryType::String,
                     std::string("C:\\Program Files\\Vela\\OZProfDl.exe\0", 35));
    Run([&] {
        host.Click(IDC_ICC_DOWNLOAD_MANAGER);
        host.PressCancel();
    });
    EXPECT_THAT(launcher.commands, ElementsAre("\"C:\\Program Files\\Vela\\OZProfDl.exe\" 0"));
}

} // namespace
} // namespace pages
