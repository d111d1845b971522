// The Features page on the headless backend: the resolution list pruned by toner saving both
// ways, choices however made, the block never left with a resolution its list forbids, toner
// saving cleared on leaving only where the resolution rules it out, leaving never refused, and
// the fields put back around each dialog that does not end with OK.
#include "pages/features/features_page.h"

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pages/colour/color_profile_store.h"
#include "pages/features/graphics_options_dialog.h"
#include "tests/pages/features/features_test_support.h"
#include "tests/pages/page_test_support.h"

namespace pages {
namespace {

using namespace pages::testing;
using ::testing::ElementsAre;

class FeaturesPageTest : public ::testing::Test {
protected:
    // A colour printer at 600 dpi without toner saving.
    static void SetUpBlock(AppState& app) {
        app::PrinterSettingsBlock& b = app.block();
        b.setColorDevice(1);
        b.setColorProfileIndex(1);
        b.setColorProfileName("AutoCustomColor");
        b.setResolutionCode(2);
        b.setResolutionDpi(600);
        b.setTonerSaving(0);
    }

    ui::headless::TestHost host;
    CFeatures page;
};

// The page's context help and the resolutions of the PPD in file order with their codes.
TEST_F(FeaturesPageTest, ResolutionsAtActivation) {
    AppState app("features.ppd");
    ASSERT_TRUE(app.loaded());
    SetUpBlock(app);
    RunPage(host, page, [&] {
        EXPECT_THAT(host.Items(IDC_RESOLUTION), ElementsAre(k300, k600, k1200));
        EXPECT_THAT(host.ItemData(IDC_RESOLUTION), ElementsAre(1, 2, 3));
        EXPECT_EQ(host.SelectedText(IDC_RESOLUTION), k600);
        EXPECT_EQ(ui::Window(host.ActiveDialog()).GetContextHelpId(), unsigned{IDD_FEATURES});
        for (const int id : {IDC_RESOLUTION, IDC_GRAPHICS_OPTIONS, IDC_QUICK_COLOR,
                             IDC_COLOR_OPTIONS, IDC_POSTSCRIPT_OPTIONS, IDC_DOCUMENT_OPTIONS})
            EXPECT_EQ(host.Control(id).GetContextHelpId(), static_cast<unsigned>(id)) << id;
        host.PressCancel();
    });
}

// A choice stores the code and its dots per inch, whether made with the mouse or with the
// keyboard and the wheel on the closed list.
TEST_F(FeaturesPageTest, ResolutionChoices) {
    AppState app(AppState::Source::Text, kPpdHeader + "*OpenUI *Resolution/Resolution: PickOne\n"
                                                      "*Resolution 300dpi/300 dpi: \"\"\n"
                                                      "*Resolution 600/600: \"\"\n"
                                                      "*Resolution 1200dpi/1200 dpi: \"\"\n"
                                                      "*Resolution 2400dpi/2400 dpi: \"\"\n"
                                                      "*Resolution 600dp/600 dp: \"\"\n"
                                                      "*CloseUI: *Resolution\n");
    ASSERT_TRUE(app.loaded());
    SetUpBlock(app);
    RunPage(host, page, [&] {
        EXPECT_THAT(host.ItemData(IDC_RESOLUTION), ElementsAre(1, 5, 3, 4, 6));
        const struct {
            std::function<void()> act;
            int code, dpi;
        } steps[] = {
            {[&] { host.ChooseItem(IDC_RESOLUTION, "2400 dpi"); }, 4, 2400},
            {[&] { host.ChooseItem(IDC_RESOLUTION, "300 dpi"); }, 1, 300},
            {[&] { host.PressListKey(IDC_RESOLUTION, ui::Automation::ListKey::Down); }, 5, 600},
            {[&] { host.PressListKey(IDC_RESOLUTION, ui::Automation::ListKey::End); }, 6, 600},
            {[&] { host.PressListKey(IDC_RESOLUTION, ui::Automation::ListKey::WheelUp); }, 4, 2400},
            {[&] { host.TypeListLetter(IDC_RESOLUTION, '1'); }, 3, 1200},
        };
        for (const auto& step : steps) {
            step.act();
            EXPECT_EQ(app.block().resolutionCode(), step.code);
            EXPECT_EQ(app.block().resolutionDpi(), step.dpi);
        }
        // A list closed with nothing selected chose nothing.
        host.Combo(IDC_RESOLUTION).SetCurSel(-1);
        ui::DialogEvents::Command(page, IDC_RESOLUTION, ui::kCbnCloseUp);
        EXPECT_EQ(app.block().resolutionCode(), 3);
        host.PressOk();
    });
    EXPECT_EQ(app.block().resolutionCode(), 3);
    EXPECT_EQ(app.block().resolutionDpi(), 1200);
}

// Toner saving rules 1200 dpi out of the list; when the block held it, or a code no option
// has, the block takes the resolution the list shows, code and dots per inch.
TEST_F(FeaturesPageTest, TonerSavingPrunesResolutions) {
    const struct {
        const char* what;
        int tonerSaving, code;
        std::vector<std::string> offered;
        std::string shown;
        int storedCode, storedDpi;
    } cases[] = {
        {"toner saving off", 0, 3, {k300, k600, k1200}, k1200, 3, 1200},
        {"toner saving on", 1, 2, {k300, k600}, k600, 2, 600},
        {"on, the block at 1200 dpi", 1, 3, {k300, k600}, k300, 1, 300},
        {"a code no option has", 1, 4, {k300, k600}, k300, 1, 300},
        {"a code of no table", 0, -3005, {k300, k600, k1200}, k300, 1, 300},
    };
    for (const auto& c : cases) {
        AppState app("features.ppd");
        SetUpBlock(app);
        app.block().setTonerSaving(static_cast<std::int16_t>(c.tonerSaving));
        app.block().setResolutionCode(static_cast<std::int16_t>(c.code));
        app.block().setResolutionDpi(app::DpiOfResolutionCode(c.code));
        CFeatures features;
        RunPage(host, features, [&] {
            EXPECT_EQ(host.Items(IDC_RESOLUTION), c.offered) << c.what;
            EXPECT_EQ(host.SelectedText(IDC_RESOLUTION), c.shown) << c.what;
            host.PressCancel();
        });
        EXPECT_EQ(app.block().resolutionCode(), c.storedCode) << c.what;
        EXPECT_EQ(app.block().resolutionDpi(), c.storedDpi) << c.what;
    }
}

// Toner saving "True" translated: the pruning looks its constraints up by its display text.
TEST_F(FeaturesPageTest, TranslatedTonerSavingPrunes) {
    AppState app(AppState::Source::Text, kPpdHeader + kResolutions + kTranslatedMiserMode +
                                             "*UIConstraints: *Resolution 1200dpi *MiserMode "
                                             "True\n");
    SetUpBlock(app);
    app.block().setTonerSaving(1);
    RunPage(host, page, [&] {
        EXPECT_THAT(host.Items(IDC_RESOLUTION), ElementsAre(k300, k600));
        host.PressCancel();
    });
}

// Leaving the page (another page or OK) switches toner saving off where the resolution rules
// out its "True" option or the whole feature, and never where it rules out only "False".
TEST_F(FeaturesPageTest, LeavingSettlesTonerSaving) {
    const struct {
        const char* what;
        std::string ppd; // empty: features.ppd
        int code, stored;
    } cases[] = {
        {"1200 dpi rules it out", "", 3, 0},
        {"600 dpi allows it", "", 2, 1},
        {"a code no option has", "", 4, 1},
        {"only False ruled out",
         kPpdHeader + kResolutions + kPlainMiserMode +
             "*UIConstraints: *MiserMode False *Resolution 1200dpi\n",
         3, 1},
        {"the feature ruled out",
         kPpdHeader + kResolutions + kPlainMiserMode +
             "*UIConstraints: *MiserMode *Resolution 1200dpi\n",
         3, 0},
    };
    for (const bool toOtherPage : {true, false}) {
        for (const auto& c : cases) {
            AppState app =
                c.ppd.empty() ? AppState("features.ppd") : AppState(AppState::Source::Text, c.ppd);
            ASSERT_TRUE(app.loaded());
            SetUpBlock(app);
            // Set after the activation, as the graphics options dialog of another run may.
            CFeatures features;
            EXPECT_EQ(RunPage(host, features,
                              [&] {
                                  app.block().setResolutionCode(static_cast<std::int16_t>(c.code));
                                  app.block().setTonerSaving(1);
                                  if (toOtherPage) {
                                      host.SelectPage(1);
                                      EXPECT_EQ(app.block().tonerSaving(), c.stored) << c.what;
                                  }
                                  host.PressOk();
                              }),
                      ui::kIdOk);
            EXPECT_EQ(app.block().tonerSaving(), c.stored) << c.what;
        }
    }
}

// A PPD whose resolutions have no display texts leaves the list empty; closing it, keys on it
// or leaving the page write nothing, and the user can always leave.
TEST_F(FeaturesPageTest, NothingToChooseNothingWritten) {
    const struct {
        const char* what;
        std::string ppd; // "-": no model
    } cases[] = {
        {"untranslated resolutions", kPpdHeader + kUntranslatedResolutions + kPlainMiserMode},
        {"no Resolution", kPpdHeader + kPlainMiserMode},
        {"no model", "-"},
    };
    for (const auto& c : cases) {
        AppState app = c.ppd == "-" ? AppState() : AppState(AppState::Source::Text, c.ppd);
        SetUpBlock(app);
        app.block().setResolutionCode(3);
        app.block().setResolutionDpi(1200);
        app.block().setTonerSaving(1);
        const app::PrinterSettingsBlock before = app.block();
        CFeatures features;
        EXPECT_EQ(RunPage(host, features,
                          [&] {
                              EXPECT_EQ(host.Combo(IDC_RESOLUTION).GetCount(), 0) << c.what;
                              ui::DialogEvents::Command(features, IDC_RESOLUTION, ui::kCbnCloseUp);
                              host.PressListKey(IDC_RESOLUTION, ui::Automation::ListKey::Down);
                              host.SelectPage(1);
                              EXPECT_EQ(host.TakeFailures(), std::vector<std::string>{}) << c.what;
                              host.SelectPage(0);
                              host.PressOk();
                          }),
                  ui::kIdOk)
            << c.what;
        EXPECT_EQ(app.block(), before) << c.what;
    }
}

// Graphics options: Cancel puts back the four fields the dialog may have written (its
// corrections included); OK refreshes the list, which toner saving now prunes.
TEST_F(FeaturesPageTest, GraphicsOptionsSavedAndRestored) {
    AppState app("features.ppd");
    SetUpBlock(app);
    app.block().setTonerSaving(0);
    app.block().setInvertImage(1);
    app.block().setRotation(1);
    RunPage(host, page, [&] {
        // 1200 dpi chosen with toner saving on (as a driver may send them): the dialog clears
        // toner saving, and a colour profile clears the negative, as it opens; Cancel brings
        // both back.
        host.ChooseItem(IDC_RESOLUTION, k1200);
        app.block().setTonerSaving(1);
        const app::PrinterSettingsBlock before = app.block();
        host.OnDialog(IDD_GRAPHICS_OPTIONS, [&] {
            EXPECT_EQ(app.block().tonerSaving(), 0);
            EXPECT_EQ(app.block().invertImage(), 0);
            host.Click(IDC_ROTATE_270);
            host.PressCancel();
        });
        host.Click(IDC_GRAPHICS_OPTIONS);
        EXPECT_EQ(app.block(), before);

        host.ChooseItem(IDC_RESOLUTION, k600);
        host.OnDialog(IDD_GRAPHICS_OPTIONS, [&] {
            EXPECT_TRUE(host.IsEnabled(IDC_TONER_SAVING));
            EXPECT_EQ(host.Check(IDC_TONER_SAVING), ui::kChecked);
            host.Click(IDC_MIRROR_IMAGE);
            host.PressOk();
        });
        host.Click(IDC_GRAPHICS_OPTIONS);
        EXPECT_THAT(host.Items(IDC_RESOLUTION), ElementsAre(k300, k600));
        EXPECT_EQ(app.block().mirrorImage(), 1);
        host.PressOk();
    });
    EXPECT_EQ(app.block().resolutionCode(), 2);
    EXPECT_EQ(app.block().tonerSaving(), 1);
}

// PostScript options: Cancel after the header check box, a browsed path and a refused OK
// leaves the block as it was.
TEST_F(FeaturesPageTest, PostScriptOptionsSavedAndRestored) {
    AppState app("features.ppd");
    SetUpBlock(app);
    app.block().setAllowPsEmulation(1);
    app.block().setUseExternalHeader(0);
    app.block().setExternalHeaderPath("C:\\OLD.PS");
    app.block().setJobWaitTimeout(30);
    const app::PrinterSettingsBlock before = app.block();
    RunPage(host, page, [&] {
        host.OnDialog(IDD_POSTSCRIPT_OPTIONS, [&] {
            host.Click(IDC_PS_USE_HEADER);
            host.OnOpenFile([](const ui::OpenFileRequest&) { return std::string("C:\\NEW.PS"); });
            host.Click(IDC_PS_HEADER_BROWSE);
            host.Click(IDC_PS_PRINT_ERRORS);
            EXPECT_EQ(app.block().useExternalHeader(), 1);
            EXPECT_EQ(app.block().externalHeaderPath(), "C:\\NEW.PS");
            host.AnswerMessageBox(ui::kIdOk);
            host.AnswerMessageBox(ui::kIdOk);
            host.ReplaceText(IDC_PS_JOB_TIMEOUT, "");
            host.PressOk();
            host.PressCancel();
        });
        host.Click(IDC_POSTSCRIPT_OPTIONS);
        EXPECT_EQ(app.block(), before);
        host.OnDialog(IDD_POSTSCRIPT_OPTIONS, [&] { host.PressOk(); });
        host.Click(IDC_POSTSCRIPT_OPTIONS);
        EXPECT_EQ(app.block().allowPsEmulation(), 0);
        host.PressOk();
    });
}

// Document options: Cancel puts back every field the dialog writes, reprint included.
TEST_F(FeaturesPageTest, DocumentOptionsSavedAndRestored) {
    AppState app("features.ppd");
    SetUpBlock(app);
    app.block().setDiskInstalled(1);
    app.block().setCollate(0);
    app.block().setCopies(2);
    app.block().setScale(100);
    app.block().setReprintEnabled(0);
    app.block().setReprintName("old");
    app.block().setNotifyByEmail(0);
    const app::PrinterSettingsBlock before = app.block();
    RunPage(host, page, [&] {
        host.OnDialog(IDD_DOCUMENT_OPTIONS, [&] {
            host.Click(IDC_DOC_COLLATE);
            host.Click(IDC_DOC_REPRINT);
            host.Click(IDC_DOC_NOTIFY_EMAIL);
            host.ReplaceText(IDC_DOC_REPRINT_NAME, "new");
            EXPECT_EQ(app.block().reprintEnabled(), 1);
            EXPECT_EQ(app.block().collate(), 1);
            host.PressCancel();
        });
        host.Click(IDC_DOCUMENT_OPTIONS);
        EXPECT_EQ(app.block(), before);
        host.OnDialog(IDD_DOCUMENT_OPTIONS, [&] {
            host.Click(IDC_DOC_REPRINT);
            host.ReplaceText(IDC_DOC_REPRINT_NAME, "new");
            host.ReplaceText(IDC_DOC_COPIES, "5");
            host.PressOk();
        });
        host.Click(IDC_DOCUMENT_OPTIONS);
        host.PressOk();
    });
    EXPECT_EQ(app.block().reprintEnabled(), 1);
    EXPECT_EQ(app.block().reprintName(), "new");
    EXPECT_EQ(app.block().copies(), 5);
}

const std::string kAuto = "Automaticky";
const std::string kPhoto = "Fotografie";
const std::string kGrey = "Odtiene sivej";
const std::string kMine = "Moje farby";

// A stored profile "Moje farby" with CRD matching from a resident colour space.
app::ColorProfileRecord PutMyProfile(platform::MemoryRegistry& registry) {
    app::PrinterSettingsBlock fields;
    fields.setColorProfileName(kMine);
    fields.setCrdMatching(1);
    fields.setCrdColorSpace(137);
    fields.setCrdColorSpaceName("MyRGB");
    fields.setRgbSource(104);
    const app::ColorProfileRecord record = BuildColorProfileRecord(fields);
    WriteStoredColorProfile(registry, "Vela Test", kMine, record);
    return record;
}

// The quick colour list: the PPD's profiles in file order, then the stored ones; the block's
// profile selected.
TEST_F(FeaturesPageTest, QuickColorList) {
    AppState app("features.ppd");
    PutMyProfile(app.registry);
    SetUpBlock(app);
    app.block().setColorProfileIndex(4);
    RunPage(host, page, [&] {
        // Stored profiles take their sorted place.
        EXPECT_THAT(host.Items(IDC_QUICK_COLOR), ElementsAre(kAuto, kPhoto, kMine, kGrey));
        EXPECT_THAT(host.ItemData(IDC_QUICK_COLOR), ElementsAre(1, 4, 0, 3));
        EXPECT_EQ(host.SelectedText(IDC_QUICK_COLOR), kPhoto);
        EXPECT_TRUE(host.IsShown(IDC_QUICK_COLOR));
        EXPECT_TRUE(host.IsShown(IDC_COLOR_OPTIONS));
        host.PressCancel();
    });
}

// A choice applies the profile: a predefined one from the PPD (grey ones set the grey model, the
// others clear it and the negative image), a stored one from the registry; by mouse or keys.
TEST_F(FeaturesPageTest, QuickColorChoices) {
    AppState app("features.ppd");
    const app::ColorProfileRecord mine = PutMyProfile(app.registry);
    SetUpBlock(app);
    app.block().setInvertImage(1);
    RunPage(host, page, [&] {
        host.ChooseItem(IDC_QUICK_COLOR, kGrey);
        EXPECT_EQ(app.block().colorProfileName(), kGrey);
        EXPECT_EQ(app.block().colorProfileIndex(), 3);
        EXPECT_EQ(app.block().grayColorModel(), 1);
        EXPECT_EQ(app.block().invertImage(), 1);
        EXPECT_EQ(app.block().destinationProfile(), 143);

        host.PressListKey(IDC_QUICK_COLOR, ui::Automation::ListKey::Up);
        EXPECT_EQ(app.block().colorProfileIndex(), 0);
        const app::ColorProfileRecord loaded = app.block().colorProfileRecord();
        EXPECT_TRUE(std::equal(mine.bytes.begin(),
                               mine.bytes.begin() + app::ColorProfileRecord::kRestoredSize,
                               loaded.bytes.begin()));
        // The grey model is no part of a stored profile.
        EXPECT_EQ(app.block().grayColorModel(), 1);

        host.TypeListLetter(IDC_QUICK_COLOR, 'f');
        EXPECT_EQ(app.block().colorProfileName(), kPhoto);
        EXPECT_EQ(app.block().colorProfileIndex(), 4);
        EXPECT_EQ(app.block().grayColorModel(), 0);
        EXPECT_EQ(app.block().invertImage(), 0);
        EXPECT_EQ(app.block().crdMatching(), 1);
        EXPECT_EQ(app.block().iccMatching(), 0);
        EXPECT_EQ(app.block().rgbSource(), 102);
        EXPECT_EQ(app.block().imageCrd(), 4);

        // A list closed with nothing selected chose nothing.
        host.Combo(IDC_QUICK_COLOR).SetCurSel(-1);
        ui::DialogEvents::Command(page, IDC_QUICK_COLOR, ui::kCbnCloseUp);
        EXPECT_EQ(app.block().colorProfileName(), kPhoto);
        host.PressOk();
    });
}

// The colour fields a profile sets, as the driver sent them: each differs from what the
// block's profile would set (the automatic profile matches with ICC and without separation;
// "Moje farby" is stored without ICC, with CRD matching).
void SendColourFieldsOtherwise(app::PrinterSettingsBlock& block) {
    block.setIccMatching(0);
    block.setColorSeparation(1);
    block.setCrdMatching(0);
    block.setRgbSource(101);
    block.setDestinationProfile(150);
    block.setGrayColorModel(0);
}

// A profile is applied only when the list's selection changes: opening the quick colour list
// and closing it on the entry it showed (Esc, a click elsewhere, the same entry clicked), and
// the page becoming current again, leave the colour fields as the page showed them (for a
// stored profile: as stored under its name); a change by the keyboard on the closed list or by
// the mouse still applies the profile.
TEST_F(FeaturesPageTest, QuickColorAppliedOnlyWhenChanged) {
    using Dismissal = ui::Automation::Dismissal;
    const struct {
        const char* what;
        int index; // colorProfileIndex sent; 0 names "Moje farby"
    } sent[] = {{"automatic profile", 1}, {"stored profile", 0}};
    for (const auto& s : sent) {
        SCOPED_TRACE(s.what);
        AppState app("features.ppd");
        PutMyProfile(app.registry);
        SetUpBlock(app);
        app.block().setColorProfileIndex(static_cast<std::int16_t>(s.index));
        if (s.index == 0)
            app.block().setColorProfileName(kMine);
        SendColourFieldsOtherwise(app.block());
        app::PrinterSettingsBlock asShown = app.block();
        const std::string shown = s.index == 0 ? kMine : kAuto;
        CFeatures features;
        RunPage(host, features, [&] {
            asShown = app.block();
            EXPECT_EQ(host.SelectedText(IDC_QUICK_COLOR), shown);
            host.DismissList(IDC_QUICK_COLOR, Dismissal::Escape);
            host.DismissList(IDC_QUICK_COLOR, Dismissal::ClickOutside);
            host.ChooseItem(IDC_QUICK_COLOR, shown);
            host.SelectPage(1);
            host.SelectPage(0);
            EXPECT_EQ(host.SelectedText(IDC_QUICK_COLOR), shown);
            host.PressOk();
        });
        const app::PrinterSettingsBlock& b = app.block();
        if (s.index != 0) {
            EXPECT_EQ(b.iccMatching(), 0);
            EXPECT_EQ(b.colorSeparation(), 1);
            EXPECT_EQ(b.crdMatching(), 0);
            EXPECT_EQ(b.rgbSource(), 101);
            EXPECT_EQ(b.destinationProfile(), 150);
        } else {
            EXPECT_EQ(b.crdColorSpaceName(), "MyRGB"); // as stored under "Moje farby"
        }
        EXPECT_EQ(b, asShown);
    }

    // A change still counts, by the keyboard on the closed list as by the mouse.
    AppState app("features.ppd");
    PutMyProfile(app.registry);
    SetUpBlock(app);
    SendColourFieldsOtherwise(app.block());
    RunPage(host, page, [&] {
        host.PressListKey(IDC_QUICK_COLOR, ui::Automation::ListKey::Down);
        EXPECT_EQ(app.block().colorProfileIndex(), 4);
        EXPECT_EQ(app.block().crdMatching(), 1);
        host.DismissList(IDC_QUICK_COLOR, Dismissal::Escape);
        EXPECT_EQ(app.block().colorProfileIndex(), 4);
        host.PressListKey(IDC_QUICK_COLOR, ui::Automation::ListKey::Up);
        EXPECT_EQ(app.block().colorProfileIndex(), 1);
        EXPECT_EQ(app.block().iccMatching(), 1);
        EXPECT_EQ(app.block().colorSeparation(), 0);
        SendColourFieldsOtherwise(app.block());
        host.ChooseItem(IDC_QUICK_COLOR, kMine);
        EXPECT_EQ(app.block().colorProfileIndex(), 0);
        EXPECT_EQ(app.block().crdMatching(), 1);
        EXPECT_EQ(app.block().crdColorSpaceName(), "MyRGB");
        host.ChooseItem(IDC_QUICK_COLOR, kAuto);
        EXPECT_EQ(app.block().iccMatching(), 1);
        EXPECT_EQ(app.block().colorSeparation(), 0);
        host.PressOk();
    });
}

// Without predefined or stored profiles the quick colour controls are hidden and disabled, and
// closing the empty list writes nothing; a monochrome printer has no colour options button.
TEST_F(FeaturesPageTest, QuickColorControlsHidden) {
    const struct {
        const char* what;
        std::string ppd; // empty: features.ppd
        int colorDevice;
        bool listShown, buttonShown;
    } cases[] = {
        {"colour printer", "", 1, true, true},
        {"monochrome printer", "", 0, true, false},
        {"no profiles", kPpdHeader + kResolutions, 1, false, true},
        {"no profiles, monochrome", kPpdHeader + kResolutions, 0, false, false},
    };
    for (const auto& c : cases) {
        AppState app =
            c.ppd.empty() ? AppState("features.ppd") : AppState(AppState::Source::Text, c.ppd);
        SetUpBlock(app);
        app.block().setColorDevice(static_cast<std::int16_t>(c.colorDevice));
        const app::PrinterSettingsBlock before = app.block();
        CFeatures features;
        RunPage(host, features, [&] {
            for (const int pass : {0, 1}) {
                for (const int id : {IDC_QUICK_COLOR, IDC_QUICK_COLOR_GROUP}) {
                    EXPECT_EQ(host.IsShown(id), c.listShown) << c.what << pass;
                    EXPECT_EQ(host.IsEnabled(id), c.listShown) << c.what << pass;
                }
                EXPECT_EQ(host.IsShown(IDC_COLOR_OPTIONS), c.buttonShown) << c.what;
                EXPECT_EQ(host.IsEnabled(IDC_COLOR_OPTIONS), c.buttonShown) << c.what;
                if (!c.listShown)
                    ui::DialogEvents::Command(features, IDC_QUICK_COLOR, ui::kCbnCloseUp);
                // Once more after another page: what was hidden stays hidden.
                host.SelectPage(1);
                host.SelectPage(0);
            }
            host.PressOk();
        });
        EXPECT_EQ(app.block(), before) << c.what;
    }
}

// The colour options dialog: Cancel puts back the profile's name and code (the dialog's other
// changes stay); OK keeps them; either way the quick colour list is filled again.
TEST_F(FeaturesPageTest, ColorOptionsSavedAndRestored) {
    AppState app("features.ppd");
    PutMyProfile(app.registry);
    SetUpBlock(app);
    RunPage(host, page, [&] {
        host.OnDialog(IDD_COLOR_OPTIONS, [&] {
            host.ChooseItem(IDC_COLOR_PROFILE_LIST, kGrey);
            EXPECT_EQ(app.block().colorProfileIndex(), 3);
            host.PressCancel();
        });
        host.Click(IDC_COLOR_OPTIONS);
        EXPECT_EQ(app.block().colorProfileIndex(), 1);
        EXPECT_EQ(app.block().colorProfileName(), "AutoCustomColor");
        EXPECT_EQ(host.SelectedText(IDC_QUICK_COLOR), kAuto);

        host.OnDialog(IDD_COLOR_OPTIONS, [&] {
            host.ChooseItem(IDC_COLOR_PROFILE_LIST, kMine);
            host.PressOk();
        });
        host.Click(IDC_COLOR_OPTIONS);
        EXPECT_EQ(app.block().colorProfileIndex(), 0);
        EXPECT_EQ(app.block().colorProfileName(), kMine);
        EXPECT_EQ(host.SelectedText(IDC_QUICK_COLOR), kMine);
        host.PressOk();
    });
}

} // namespace
} // namespace pages
