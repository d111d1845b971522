// The colour options dialog: the summary and what is enabled, choosing, saving, overwriting and
// deleting profiles (the messages, the question, the 316-byte records), Default, when OK
// stores the settings as "Vlastné", and that a write the registry refuses is never shown as
// saved.
#include "pages/colour/color_options_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/pages/colour/colour_test_support.h"

namespace pages {
namespace {

using app::PrinterSettingsBlock;
using testing::AppState;
using testing::Bytes;
using testing::Cp1250;
using ::testing::ElementsAre;
using testing::ProfilesKey;
using testing::PutResident;
using testing::PutStoredProfile;
using testing::StoredFields;
using ui::headless::TestHost;

const std::string kAuto = "Automaticky";
const std::string kPhoto = "Fotografie";
const std::string kGray = "Odtiene sivej";
const std::string kCustom = Cp1250(u8"Vlastné");
const std::string kNotStored = Cp1250(u8"Farebný profil sa nedá uložiť do registra.");

const int kSummaryLines[] = {
    IDC_COLOR_SUMMARY_ICC,         IDC_COLOR_SUMMARY_RGB_SOURCE, IDC_COLOR_SUMMARY_SIMULATION,
    IDC_COLOR_SUMMARY_DESTINATION, IDC_COLOR_SUMMARY_CRD,        IDC_COLOR_SUMMARY_DEFAULT_CRD,
    IDC_COLOR_SUMMARY_IMAGE_CRD,   IDC_COLOR_SUMMARY_TEXT_CRD,   IDC_COLOR_SUMMARY_GRAPHICS_CRD,
    IDC_COLOR_SUMMARY_COLOR_SPACE,
};

class ColorOptionsDialogTest : public ::testing::Test {
protected:
    // The colour test printer with the automatic profile current and two stored profiles.
    void SetUpPrinter(AppState& app) {
        app.block().setColorProfileIndex(1);
        app.block().setColorProfileName(kAuto);
        app.block().setColorProfileReserved(1);
        PutStoredProfile(app.registry, "Moj", StoredFields());
        PrinterSettingsBlock other = StoredFields();
        other.setRgbSource(101);
        PutStoredProfile(app.registry, "Druhy", other);
    }

    int Run(const std::function<void()>& body) {
        ColorOptionsDialog dialog;
        host.OnDialog(IDD_COLOR_OPTIONS, body);
        return dialog.DoModal();
    }

    std::vector<std::string> Summary() {
        std::vector<std::string> lines;
        for (int id : kSummaryLines)
            lines.push_back(host.Text(id));
        return lines;
    }

    std::optional<std::string> Stored(AppState& app, std::string_view name) {
        const auto value = app.registry.Get(ProfilesKey(), name);
        if (!value)
            return std::nullopt;
        EXPECT_EQ(value->type, platform::RegistryType::Binary);
        return value->data;
    }

    TestHost host;
};

// The automatic profile's summary; ICC's lines enabled, CRD's not; Delete only for stored
// profiles; the help ids.
TEST_F(ColorOptionsDialogTest, OpeningShowsTheCurrentProfile) {
    AppState app("colour.ppd");
    app.InstallHelpFile();
    SetUpPrinter(app);
    Run([&] {
        EXPECT_THAT(host.Items(IDC_COLOR_PROFILE_LIST),
                    ElementsAre(kAuto, "Druhy", kPhoto, "Moj", kGray, "Napodobnenie SWOP",
                                Cp1250(u8"Iba čierna")));
        EXPECT_EQ(host.SelectedText(IDC_COLOR_PROFILE_LIST), kAuto);
        EXPECT_THAT(
            Summary(),
            ElementsAre(
                Cp1250(u8"Súlad farieb ICC: Zapnuté"), "Zdroj RGB: sRGB",
                Cp1250(u8"Napodobnenie: Žiadne"), Cp1250(u8"Cieľ: Automaticky"),
                Cp1250(u8"Súlad farieb CRD: Vypnuté"), Cp1250(u8"Východiskové CRD: Žiadny"),
                Cp1250(u8"CRD obrazu : Fotografický"), Cp1250(u8"Textový CRD : Obchodná grafika"),
                Cp1250(u8"Grafický CRD: Fotografický"), Cp1250(u8"Farebný priestor: sRGB")));
        EXPECT_EQ(host.Check(IDC_ICC_MATCHING), ui::kChecked);
        EXPECT_EQ(host.Check(IDC_CRD_MATCHING), ui::kUnchecked);
        EXPECT_EQ(host.Check(IDC_COLOR_SEPARATION), ui::kUnchecked);
        for (int id : {IDC_ICC_CONFIGURE, IDC_COLOR_SUMMARY_RGB_SOURCE,
                       IDC_COLOR_SUMMARY_DESTINATION, IDC_COLOR_SUMMARY_CRD, IDC_COLOR_SEPARATION})
            EXPECT_TRUE(host.IsEnabled(id)) << id;
        for (int id : {IDC_CRD_CONFIGURE, IDC_COLOR_SUMMARY_DEFAULT_CRD,
                       IDC_COLOR_SUMMARY_COLOR_SPACE, IDC_COLOR_PROFILE_DELETE})
            EXPECT_FALSE(host.IsEnabled(id)) << id;
        EXPECT_EQ(ui::Window(host.ActiveDialog()).GetContextHelpId(), unsigned{IDD_COLOR_OPTIONS});
        EXPECT_EQ(host.Control(IDC_COLOR_PROFILE_LIST).GetContextHelpId(),
                  unsigned{IDC_COLOR_PROFILE_LIST});
        host.Click(IDC_COLOR_HELP);
        EXPECT_EQ(host.HelpCalls().back().data, unsigned{IDD_COLOR_OPTIONS});
        host.PressCancel();
    });
}

// Printer-resident profiles show their names (18 characters) while the printer's lists offer
// them; otherwise "Žiadny".
TEST_F(ColorOptionsDialogTest, ResidentProfilesInTheSummary) {
    const std::string rgbName = "Kalibrovany monitor 2024";
    const struct {
        const char* what;
        bool listed;
        int disk; // the resident profile kept on the printer's disk
        int diskInstalled;
        std::string rgbLine;
    } cases[] = {
        {"listed", true, 0, 0, "Zdroj RGB: Kalibrovany monito"},
        {"on the disk, with the disk", true, 1, 1, "Zdroj RGB: Kalibrovany monito"},
        {"not in the printer's list", false, 0, 1, Cp1250(u8"Zdroj RGB: Žiadny")},
    };
    for (const auto& c : cases) {
        AppState app("colour.ppd");
        app.block().setDiskInstalled(static_cast<std::uint8_t>(c.diskInstalled));
        PrinterSettingsBlock fields = StoredFields();
        fields.setRgbSource(kResidentRgbSource);
        fields.setRgbSourceProfileName(rgbName);
        fields.setColorSimulation(kResidentSimulation);
        fields.setSimulationProfileName("");
        fields.setDestinationProfile(kResidentDestination);
        fields.setDestinationProfileName("Ciel");
        fields.setCrdColorSpace(kResidentCsa);
        fields.setCrdColorSpaceName("Farebny priestor tlaciarne");
        PutStoredProfile(app.registry, "Rezidentny", fields);
        if (c.listed)
            PutResident(app.registry, kResidentRgbSource, rgbName, "K.ICC",
                        static_cast<std::int16_t>(c.disk));
        PutResident(app.registry, kResidentSimulation, "Sim");
        app.block().setColorProfileIndex(0);
        app.block().setColorProfileName("Rezidentny");
        Run([&] {
            EXPECT_EQ(host.SelectedText(IDC_COLOR_PROFILE_LIST), "Rezidentny") << c.what;
            EXPECT_EQ(host.Text(IDC_COLOR_SUMMARY_RGB_SOURCE), c.rgbLine) << c.what;
            EXPECT_EQ(host.Text(IDC_COLOR_SUMMARY_SIMULATION), Cp1250(u8"Napodobnenie: Žiadny"));
            EXPECT_EQ(host.Text(IDC_COLOR_SUMMARY_DESTINATION), Cp1250(u8"Cieľ: Žiadny"));
            EXPECT_EQ(host.Text(IDC_COLOR_SUMMARY_COLOR_SPACE),
                      Cp1250(u8"Farebný priestor: Farebny priestor t"));
            EXPECT_EQ(host.Check(IDC_CRD_MATCHING), ui::kChecked);
            EXPECT_TRUE(host.IsEnabled(IDC_COLOR_PROFILE_DELETE));
            host.PressCancel();
        });
    }
}

// A choice applies or loads the profile; the grey profiles switch colour separation off and
// disable it; the matching check boxes exclude each other and enable their lines.
TEST_F(ColorOptionsDialogTest, ChoosingProfilesAndMatching) {
    AppState app("colour.ppd");
    SetUpPrinter(app);
    PrinterSettingsBlock& b = app.block();
    b.setInvertImage(1);
    Run([&] {
        host.ChooseItem(IDC_COLOR_PROFILE_LIST, kPhoto);
        EXPECT_EQ(b.colorProfileIndex(), 4);
        EXPECT_EQ(b.colorProfileName(), kPhoto);
        EXPECT_EQ(b.crdMatching(), 1);
        EXPECT_EQ(b.colorSeparation(), 1);
        EXPECT_EQ(b.invertImage(), 0);
        EXPECT_EQ(host.Check(IDC_CRD_MATCHING), ui::kChecked);
        EXPECT_EQ(host.Text(IDC_COLOR_SUMMARY_IMAGE_CRD), Cp1250(u8"CRD obrazu : Kolorimetrický"));

        host.ChooseItem(IDC_COLOR_PROFILE_LIST, kGray);
        EXPECT_EQ(b.colorSeparation(), 0);
        EXPECT_FALSE(host.IsEnabled(IDC_COLOR_SEPARATION));
        EXPECT_EQ(host.Text(IDC_COLOR_SUMMARY_RGB_SOURCE), Cp1250(u8"Zdroj RGB: Žiadny"));

        host.ChooseItem(IDC_COLOR_PROFILE_LIST, "Moj");
        EXPECT_EQ(b.colorProfileIndex(), 0);
        EXPECT_EQ(b.rgbSource(), 102);
        EXPECT_TRUE(host.IsEnabled(IDC_COLOR_SEPARATION));
        EXPECT_TRUE(host.IsEnabled(IDC_COLOR_PROFILE_DELETE));
        EXPECT_EQ(host.Text(IDC_COLOR_SUMMARY_RGB_SOURCE), "Zdroj RGB: Apple RGB");

        host.Click(IDC_ICC_MATCHING);
        EXPECT_EQ(b.iccMatching(), 1);
        EXPECT_EQ(b.crdMatching(), 0);
        EXPECT_EQ(host.Check(IDC_CRD_MATCHING), ui::kUnchecked);
        EXPECT_TRUE(host.IsEnabled(IDC_COLOR_SUMMARY_SIMULATION));
        EXPECT_FALSE(host.IsEnabled(IDC_COLOR_SUMMARY_TEXT_CRD));
        host.Click(IDC_CRD_MATCHING);
        EXPECT_EQ(b.iccMatching(), 0);
        EXPECT_EQ(b.crdMatching(), 1);
        EXPECT_EQ(host.Check(IDC_ICC_MATCHING), ui::kUnchecked);
        for (int id : {IDC_ICC_CONFIGURE, IDC_COLOR_SUMMARY_RGB_SOURCE,
                       IDC_COLOR_SUMMARY_SIMULATION, IDC_COLOR_SUMMARY_DESTINATION})
            EXPECT_FALSE(host.IsEnabled(id)) << id;
        for (int id : {IDC_CRD_CONFIGURE, IDC_COLOR_SUMMARY_DEFAULT_CRD,
                       IDC_COLOR_SUMMARY_IMAGE_CRD, IDC_COLOR_SUMMARY_TEXT_CRD,
                       IDC_COLOR_SUMMARY_GRAPHICS_CRD, IDC_COLOR_SUMMARY_COLOR_SPACE})
            EXPECT_TRUE(host.IsEnabled(id)) << id;
        EXPECT_EQ(host.Text(IDC_COLOR_SUMMARY_CRD), Cp1250(u8"Súlad farieb CRD: Zapnuté"));
        host.Click(IDC_CRD_MATCHING);
        EXPECT_EQ(b.crdMatching(), 0);
        host.Click(IDC_COLOR_SEPARATION);
        EXPECT_EQ(b.colorSeparation(), 0);
        host.PressCancel();
    });
    // Cancel undoes nothing and stores nothing.
    EXPECT_EQ(b.colorProfileName(), "Moj");
    EXPECT_FALSE(Stored(app, kCustom));
}

// Save: the name of the selection or the one typed (32 characters at most); refused names
// change nothing; an existing stored profile, shown or hidden, is overwritten only on "Yes".
TEST_F(ColorOptionsDialogTest, Save) {
    const std::string name40(40, 'N');
    const std::string overwrite = "\"Moj\"already exists. Overwrite it?";
    const struct {
        const char* what;
        std::string typed; // empty: "Moj" chosen in the list
        std::string message;
        int answer;
        std::string saved; // empty: nothing written
    } cases[] = {
        {"a new name", "Nove nastavenie", "", 0, "Nove nastavenie"},
        {"a name cut to 32", name40, "", 0, std::string(32, 'N')},
        {"overwrite answered Yes", "", overwrite, ui::kIdYes, "Moj"},
        {"overwrite answered No", "", overwrite, ui::kIdNo, ""},
        {"typed name of a stored profile", "MOJ", overwrite, ui::kIdYes, "Moj"},
        {"a stored profile the list hides", "Skryty", "\"Skryty\"already exists. Overwrite it?",
         ui::kIdYes, "Skryty"},
        {"empty name", " ", kEmptyProfileNameText, ui::kIdOk, ""},
        {"backslash", "\\siet", kBackslashProfileNameText, ui::kIdOk, ""},
        {"a predefined name typed", "automaticky", kPredefinedProfileNameText, ui::kIdOk, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AppState app("colour.ppd");
        SetUpPrinter(app);
        PrinterSettingsBlock hidden = StoredFields();
        hidden.setDestinationProfile(kResidentDestination);
        hidden.setDestinationProfileName("Disk");
        PutResident(app.registry, kResidentDestination, "Disk", "D.ICC", 1);
        const std::string hiddenBefore = Bytes(PutStoredProfile(app.registry, "Skryty", hidden));
        const std::string mojBefore = *Stored(app, "Moj");
        PrinterSettingsBlock& b = app.block();
        PrinterSettingsBlock before;
        std::string shownAfter;
        Run([&] {
            if (c.typed.empty()) {
                host.ChooseItem(IDC_COLOR_PROFILE_LIST, "Moj");
            } else {
                host.ChooseItem(IDC_COLOR_PROFILE_LIST, kPhoto);
                // " " stands for an empty name: typing it replaces the text with nothing.
                host.ReplaceText(IDC_COLOR_PROFILE_LIST, c.typed == " " ? "" : c.typed);
            }
            host.Click(IDC_COLOR_SEPARATION);
            before = b;
            if (!c.message.empty()) {
                host.OnMessageBox([&](const ui::MessageBoxCall& box) {
                    EXPECT_EQ(box.text, c.message);
                    if (c.answer == ui::kIdOk) {
                        EXPECT_EQ(box.caption, kColorProfileNameCaption);
                        EXPECT_EQ(box.style, ui::kMbOk | ui::kMbIconWarning);
                    } else {
                        EXPECT_EQ(box.caption, kOverwriteProfileCaption);
                        EXPECT_EQ(box.style, ui::kMbYesNo | ui::kMbIconQuestion);
                    }
                    return c.answer;
                });
            }
            const std::size_t shown = host.MessageBoxes().size();
            host.Click(IDC_COLOR_PROFILE_SAVE);
            EXPECT_EQ(host.MessageBoxes().size(), shown + (c.message.empty() ? 0 : 1));
            shownAfter = host.SelectedText(IDC_COLOR_PROFILE_LIST);
            if (!c.saved.empty()) {
                EXPECT_TRUE(host.IsEnabled(IDC_COLOR_PROFILE_DELETE));
            }
            host.PressCancel();
        });
        if (c.saved.empty()) {
            EXPECT_EQ(b, before);
            EXPECT_EQ(*Stored(app, "Moj"), mojBefore);
            EXPECT_EQ(*Stored(app, "Skryty"), hiddenBefore);
            continue;
        }
        EXPECT_EQ(b.colorProfileName(), c.saved);
        EXPECT_EQ(b.colorProfileIndex(), 0);
        EXPECT_EQ(shownAfter, c.saved);
        PrinterSettingsBlock expected = before;
        expected.setColorProfileName(c.saved);
        expected.setColorProfileIndex(0);
        EXPECT_EQ(Stored(app, c.saved), Bytes(BuildColorProfileRecord(expected)));
        // Saved settings are the new snapshot: no "Vlastné" for them.
        EXPECT_FALSE(Stored(app, kCustom));
    }
}

// Delete removes the stored profile and its entry, then the first entry is chosen and applied;
// with nothing left the block names the automatic profile.
TEST_F(ColorOptionsDialogTest, Delete) {
    AppState app("colour.ppd");
    SetUpPrinter(app);
    PrinterSettingsBlock& b = app.block();
    Run([&] {
        host.ChooseItem(IDC_COLOR_PROFILE_LIST, "Moj");
        host.Click(IDC_COLOR_PROFILE_DELETE);
        EXPECT_THAT(host.Items(IDC_COLOR_PROFILE_LIST), ::testing::Not(::testing::Contains("Moj")));
        EXPECT_EQ(host.Selection(IDC_COLOR_PROFILE_LIST), 0);
        EXPECT_EQ(b.colorProfileName(), kAuto);
        EXPECT_EQ(b.colorProfileIndex(), 1);
        EXPECT_EQ(b.rgbSource(), 101);
        EXPECT_FALSE(host.IsEnabled(IDC_COLOR_PROFILE_DELETE));
        host.PressOk();
    });
    EXPECT_FALSE(Stored(app, "Moj"));
    EXPECT_TRUE(Stored(app, "Druhy"));
    EXPECT_FALSE(Stored(app, kCustom));

    // Without predefined profiles the only stored one goes and leaves an empty list.
    AppState bare("bare.ppd");
    PutStoredProfile(bare.registry, "Jediny", StoredFields());
    bare.block().setColorProfileName("Jediny");
    bare.block().setColorProfileIndex(0);
    Run([&] {
        EXPECT_TRUE(host.IsEnabled(IDC_COLOR_PROFILE_DELETE));
        host.Click(IDC_COLOR_PROFILE_DELETE);
        EXPECT_EQ(host.Combo(IDC_COLOR_PROFILE_LIST).GetCount(), 0);
        EXPECT_FALSE(host.IsEnabled(IDC_COLOR_PROFILE_DELETE));
        host.PressOk();
    });
    EXPECT_EQ(bare.block().colorProfileName(), kAutoColorProfileName);
    EXPECT_EQ(bare.block().colorProfileIndex(), 1);
    EXPECT_TRUE(bare.registry.ValueNames(ProfilesKey()).empty());
}

// Default chooses the automatic profile wherever the PPD lists it; without it the first entry
// is chosen as a click chooses it, so that the block holds the profile the list shows.
TEST_F(ColorOptionsDialogTest, Default) {
    const std::string kAutoSecond = "*PPD-Adobe: \"4.3\"\n"
                                    "*OpenUI *CustomColor/Profil: PickOne\n"
                                    "*CustomColor PhotoCustomColor/Fotografie: \"\"\n"
                                    "*CustomColor AutoCustomColor/Automaticky: \"\"\n"
                                    "*CloseUI: *CustomColor\n";
    const struct {
        const char* what;
        const char* fixture; // null: kAutoSecond
        int selection;
        std::string name;
        int index, rgbSource;
    } cases[] = {
        {"the automatic profile first", "colour.ppd", 0, kAuto, 1, 101},
        {"the automatic profile second", nullptr, 1, kAuto, 1, 102},
        {"no predefined profiles", "bare.ppd", 0, "Druhy", 0, 101},
    };
    for (const auto& c : cases) {
        AppState app =
            c.fixture ? AppState(c.fixture) : AppState(AppState::Source::Text, kAutoSecond);
        SetUpPrinter(app);
        app.block().setColorProfileIndex(0);
        app.block().setColorProfileName("Moj");
        Run([&] {
            host.Click(IDC_COLOR_PROFILE_DEFAULT);
            EXPECT_EQ(host.Selection(IDC_COLOR_PROFILE_LIST), c.selection) << c.what;
            EXPECT_EQ(host.SelectedText(IDC_COLOR_PROFILE_LIST), c.name) << c.what;
            EXPECT_EQ(app.block().colorProfileName(), c.name) << c.what;
            EXPECT_EQ(app.block().colorProfileIndex(), c.index) << c.what;
            host.PressOk();
        });
        EXPECT_EQ(app.block().rgbSource(), c.rgbSource) << c.what;
    }
}

// OK stores the settings as "Vlastné" exactly when a compared field differs from the profile
// last chosen; the grey profiles print grey without separation.
TEST_F(ColorOptionsDialogTest, OkAndTheCustomProfile) {
    using Act = std::function<void(TestHost&, PrinterSettingsBlock&)>;
    const struct {
        const char* what;
        Act act;
        bool custom;
        int gray;
    } cases[] = {
        {"nothing changed", [](TestHost&, PrinterSettingsBlock&) {}, false, 0},
        {"another profile chosen",
         [](TestHost& h, PrinterSettingsBlock&) { h.ChooseItem(IDC_COLOR_PROFILE_LIST, kPhoto); },
         false, 0},
        {"separation switched on",
         [](TestHost& h, PrinterSettingsBlock&) { h.Click(IDC_COLOR_SEPARATION); }, true, 0},
        {"CRD matching", [](TestHost& h, PrinterSettingsBlock&) { h.Click(IDC_CRD_MATCHING); },
         true, 0},
        {"only the reserved code and the grey model",
         [](TestHost&, PrinterSettingsBlock& b) {
             b.setColorProfileReserved(5);
             b.setGrayColorModel(1);
         },
         false, 0},
        {"a grey profile",
         [](TestHost& h, PrinterSettingsBlock&) { h.ChooseItem(IDC_COLOR_PROFILE_LIST, kGray); },
         false, 1},
        {"an RGB source changed in the block",
         [](TestHost&, PrinterSettingsBlock& b) { b.setRgbSource(106); }, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AppState app("colour.ppd");
        SetUpPrinter(app);
        PrinterSettingsBlock& b = app.block();
        EXPECT_EQ(Run([&] {
                      c.act(host, b);
                      host.PressOk();
                  }),
                  ui::kIdOk);
        EXPECT_EQ(b.grayColorModel(), c.gray);
        if (c.gray) {
            EXPECT_EQ(b.colorSeparation(), 0);
        }
        const auto custom = Stored(app, kCustom);
        ASSERT_EQ(custom.has_value(), c.custom);
        if (!c.custom)
            continue;
        EXPECT_EQ(b.colorProfileName(), kCustom);
        EXPECT_EQ(b.colorProfileIndex(), 0);
        EXPECT_EQ(*custom, Bytes(BuildColorProfileRecord(b)));
        EXPECT_EQ(custom->substr(288, 2), std::string(2, '\0'));
    }

    // An existing "Vlastné" is overwritten and chosen again in the list.
    AppState app("colour.ppd");
    SetUpPrinter(app);
    PutStoredProfile(app.registry, kCustom, StoredFields());
    Run([&] {
        host.Click(IDC_COLOR_SEPARATION);
        host.PressOk();
    });
    EXPECT_EQ(app.registry.ValueNames(ProfilesKey()).size(), 3u);
    EXPECT_EQ(*Stored(app, kCustom), Bytes(BuildColorProfileRecord(app.block())));
}

// A write the registry refuses (Save, OK's "Vlastné") says so and adds, chooses and names
// nothing: the list and the block stay as they were, while the colour settings the user made
// stay in the block. A standard user still sees and chooses the stored profiles.
TEST_F(ColorOptionsDialogTest, RefusedWritesAreNotShownAsSaved) {
    using Prepare = std::function<void(TestHost&)>;
    const std::string printerKey =
        std::string("System\\CurrentControlSet\\Control\\Print\\Printers\\") +
        testing::kTestPrinter;
    const struct {
        const char* what;
        unsigned refused;
        std::string prefix;
        Prepare prepare;   // up to pressing "Uložiť"
        bool overwriting;  // the overwrite question comes first and is answered Yes
        std::string shown; // the list's text after the refused save: as before it
    } cases[] = {
        {"save under a new name", testing::Refusing(platform::RegistryOperation::Set),
         ProfilesKey(),
         [](TestHost& h) {
             h.ChooseItem(IDC_COLOR_PROFILE_LIST, kPhoto);
             h.Click(IDC_COLOR_SEPARATION);
             h.ReplaceText(IDC_COLOR_PROFILE_LIST, "Nove");
         },
         false, "Nove"},
        {"save over a stored profile", testing::Refusing(platform::RegistryOperation::Set),
         ProfilesKey(),
         [](TestHost& h) {
             h.ChooseItem(IDC_COLOR_PROFILE_LIST, "Moj");
             h.Click(IDC_COLOR_SEPARATION);
         },
         true, "Moj"},
        {"standard user types the name of a stored profile", testing::kWritesRefused, printerKey,
         [](TestHost& h) {
             h.ChooseItem(IDC_COLOR_PROFILE_LIST, kPhoto);
             h.ReplaceText(IDC_COLOR_PROFILE_LIST, "druhy");
         },
         true, "druhy"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AppState app("colour.ppd");
        SetUpPrinter(app);
        const std::vector<std::string> storedBefore = app.registry.ValueNames(ProfilesKey());
        const std::string mojBefore = *Stored(app, "Moj");
        app.registry.RefuseOperations(c.refused, c.prefix);
        PrinterSettingsBlock& b = app.block();
        PrinterSettingsBlock before;
        Run([&] {
            // Reading is allowed: the stored profiles are offered.
            EXPECT_THAT(host.Items(IDC_COLOR_PROFILE_LIST), ::testing::Contains("Druhy"));
            c.prepare(host);
            before = b;
            const std::vector<std::string> items = host.Items(IDC_COLOR_PROFILE_LIST);
            if (c.overwriting)
                host.AnswerMessageBox(ui::kIdYes);
            host.OnMessageBox([&](const ui::MessageBoxCall& box) {
                EXPECT_EQ(box.text, kNotStored);
                EXPECT_EQ(box.style, ui::kMbOk);
                return ui::kIdOk;
            });
            const std::size_t shown = host.MessageBoxes().size();
            host.Click(IDC_COLOR_PROFILE_SAVE);
            EXPECT_EQ(host.MessageBoxes().size(), shown + (c.overwriting ? 2 : 1));
            EXPECT_EQ(host.Items(IDC_COLOR_PROFILE_LIST), items);
            EXPECT_EQ(host.Text(IDC_COLOR_PROFILE_LIST), c.shown);
            EXPECT_EQ(b, before);
            host.PressCancel();
        });
        EXPECT_EQ(app.registry.ValueNames(ProfilesKey()), storedBefore);
        EXPECT_EQ(*Stored(app, "Moj"), mojBefore);
        EXPECT_EQ(app.registry.OpenKeyCount(), 0u);
    }

    // OK with changed settings: "Vlastné" is neither stored nor named, the settings stay and
    // the dialog still ends with OK.
    AppState app("colour.ppd");
    SetUpPrinter(app);
    app.registry.RefuseOperations(testing::kWritesRefused);
    PrinterSettingsBlock& b = app.block();
    std::int16_t separation = 0;
    EXPECT_EQ(Run([&] {
                  host.Click(IDC_COLOR_SEPARATION);
                  separation = b.colorSeparation();
                  host.AnswerMessageBox(ui::kIdOk);
                  host.PressOk();
                  ASSERT_FALSE(host.MessageBoxes().empty());
                  EXPECT_EQ(host.MessageBoxes().back().text, kNotStored);
                  EXPECT_THAT(host.Items(IDC_COLOR_PROFILE_LIST),
                              ::testing::Not(::testing::Contains(kCustom)));
              }),
              ui::kIdOk);
    EXPECT_FALSE(Stored(app, kCustom));
    EXPECT_EQ(b.colorProfileName(), kAuto);
    EXPECT_EQ(b.colorProfileIndex(), 1);
    EXPECT_EQ(b.colorSeparation(), separation);
}

// The matching dialogs open from "Konfigurovať"; the summary shows their choices, which stay
// after their Cancel.
TEST_F(ColorOptionsDialogTest, ConfigureMatching) {
    AppState app("colour.ppd");
    SetUpPrinter(app);
    Run([&] {
        host.OnDialog(IDD_ICC_MATCHING, [&] {
            host.ChooseItem(IDC_ICC_SIMULATION, "Euroscale");
            host.PressCancel();
        });
        host.Click(IDC_ICC_CONFIGURE);
        EXPECT_EQ(host.Text(IDC_COLOR_SUMMARY_SIMULATION), "Napodobnenie: Euroscale");
        host.Click(IDC_CRD_MATCHING);
        host.OnDialog(IDD_CRD_MATCHING, [&] {
            host.ChooseItem(IDC_CRD_TEXT, Cp1250(u8"Kolorimetrický"));
            host.PressOk();
        });
        host.Click(IDC_CRD_CONFIGURE);
        EXPECT_EQ(host.Text(IDC_COLOR_SUMMARY_TEXT_CRD), Cp1250(u8"Textový CRD : Kolorimetrický"));
        host.PressOk();
    });
    EXPECT_EQ(app.block().colorSimulation(), 121);
    EXPECT_EQ(app.block().textCrd(), 2);
    EXPECT_TRUE(Stored(app, kCustom));
}

} // namespace
} // namespace pages
