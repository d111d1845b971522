// The graphics options dialog: what it shows of the block and the PPD, the negative image
// only in grey on a colour printer, toner saving locked where the resolution rules it out and
// otherwise never switched off behind the user's back, and what OK stores.
#include "pages/features/graphics_options_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/pages/features/features_test_support.h"
#include "tests/pages/page_test_support.h"

namespace pages {
namespace {

using namespace pages::testing;
using ::testing::ElementsAre;

class GraphicsOptionsDialogTest : public ::testing::Test {
protected:
    // 600 dpi, toner saving on, a grey profile on a colour printer, Detail halftone, fine
    // print quality, mirrored and turned by 180 degrees.
    static void SetUpBlock(AppState& app) {
        app::PrinterSettingsBlock& b = app.block();
        b.setColorDevice(1);
        b.setColorProfileIndex(3);
        b.setResolutionCode(2);
        b.setTonerSaving(1);
        b.setInvertImage(1);
        b.setMirrorImage(1);
        b.setRotation(2);
        b.setHalftoneType(10);
        b.setPrintQuality(1);
    }

    int Run(const std::function<void()>& body) {
        CGraphicsOptionsDialog dialog;
        host.OnDialog(IDD_GRAPHICS_OPTIONS, body);
        return dialog.DoModal();
    }

    ui::headless::TestHost host;
};

// Opening shows the block; OK without touching anything stores the same values.
TEST_F(GraphicsOptionsDialogTest, ShowsTheBlockAndOkKeepsIt) {
    AppState app("features.ppd");
    app.InstallHelpFile();
    ASSERT_TRUE(app.loaded());
    SetUpBlock(app);
    const app::PrinterSettingsBlock before = app.block();
    EXPECT_EQ(Run([&] {
                  EXPECT_THAT(host.Items(IDC_JOB_HALFTONE),
                              ElementsAre(kStandard, kSmooth, kDetail, kMosaic));
                  EXPECT_EQ(host.SelectedText(IDC_JOB_HALFTONE), kDetail);
                  EXPECT_THAT(host.Items(IDC_PRINT_QUALITY), ElementsAre(kNormal, kFine));
                  EXPECT_THAT(host.ItemData(IDC_PRINT_QUALITY), ElementsAre(0, 1));
                  EXPECT_EQ(host.SelectedText(IDC_PRINT_QUALITY), kFine);
                  EXPECT_TRUE(host.IsEnabled(IDC_PRINT_QUALITY));
                  EXPECT_EQ(host.Check(IDC_TONER_SAVING), ui::kChecked);
                  EXPECT_TRUE(host.IsEnabled(IDC_TONER_SAVING));
                  EXPECT_EQ(host.Check(IDC_INVERT_IMAGE), ui::kChecked);
                  EXPECT_TRUE(host.IsEnabled(IDC_INVERT_IMAGE));
                  EXPECT_EQ(host.Check(IDC_MIRROR_IMAGE), ui::kChecked);
                  EXPECT_EQ(host.Check(IDC_ROTATE_180), ui::kChecked);
                  EXPECT_EQ(host.Check(IDC_ROTATE_0), ui::kUnchecked);
                  EXPECT_FALSE(host.IsShown(IDC_MARGINS_DEFAULT));
                  EXPECT_EQ(ui::Window(host.ActiveDialog()).GetContextHelpId(),
                            unsigned{IDD_GRAPHICS_OPTIONS});
                  for (const int id : kRotationButtons)
                      EXPECT_EQ(host.Control(id).GetContextHelpId(), static_cast<unsigned>(id));
                  host.Click(IDC_GRAPHICS_HELP);
                  ASSERT_EQ(host.HelpCalls().size(), 1u);
                  EXPECT_EQ(host.HelpCalls().back().data, unsigned{IDD_GRAPHICS_OPTIONS});
                  host.PressOk();
              }),
              ui::kIdOk);
    EXPECT_EQ(app.block(), before);
}

// The user's changes reach the block on OK, and only then.
TEST_F(GraphicsOptionsDialogTest, OkStoresTheChoices) {
    for (const bool ok : {true, false}) {
        AppState app("features.ppd");
        SetUpBlock(app);
        const app::PrinterSettingsBlock before = app.block();
        Run([&] {
            host.ChooseItem(IDC_JOB_HALFTONE, kMosaic);
            host.ChooseItem(IDC_PRINT_QUALITY, kNormal);
            host.Click(IDC_TONER_SAVING);
            host.Click(IDC_INVERT_IMAGE);
            host.Click(IDC_MIRROR_IMAGE);
            host.Click(IDC_ROTATE_270);
            EXPECT_EQ(app.block(), before);
            ok ? host.PressOk() : host.PressCancel();
        });
        if (!ok) {
            EXPECT_EQ(app.block(), before);
            continue;
        }
        EXPECT_EQ(app.block().halftoneType(), 0);
        EXPECT_EQ(app.block().printQuality(), 0);
        EXPECT_EQ(app.block().tonerSaving(), 0);
        EXPECT_EQ(app.block().invertImage(), 0);
        EXPECT_EQ(app.block().mirrorImage(), 0);
        EXPECT_EQ(app.block().rotation(), 3);
    }
}

// Each rotation code checks its own button; a code out of range checks none and, left alone,
// is kept.
TEST_F(GraphicsOptionsDialogTest, Rotation) {
    for (const int rotation : {0, 1, 2, 3, 7}) {
        AppState app("features.ppd");
        SetUpBlock(app);
        app.block().setRotation(static_cast<std::int16_t>(rotation));
        Run([&] {
            for (int code = 0; code < 4; ++code)
                EXPECT_EQ(host.Check(kRotationButtons[code]),
                          code == rotation ? ui::kChecked : ui::kUnchecked)
                    << rotation;
            host.PressOk();
        });
        EXPECT_EQ(app.block().rotation(), rotation);
    }
}

// A colour printer prints a negative only with a grey profile: otherwise the box is disabled
// and unchecked and `invertImage` is cleared at once, even when the dialog is cancelled.
TEST_F(GraphicsOptionsDialogTest, NegativeImage) {
    const struct {
        int colorDevice, profile;
        bool offered;
    } cases[] = {
        {1, 3, true}, {1, 6, true}, {1, 1, false}, {1, 0, false}, {0, 1, true},
    };
    for (const auto& c : cases) {
        AppState app("features.ppd");
        SetUpBlock(app);
        app.block().setColorDevice(static_cast<std::int16_t>(c.colorDevice));
        app.block().setColorProfileIndex(static_cast<std::int16_t>(c.profile));
        Run([&] {
            EXPECT_EQ(host.IsEnabled(IDC_INVERT_IMAGE), c.offered) << c.profile;
            EXPECT_EQ(host.Check(IDC_INVERT_IMAGE), c.offered ? ui::kChecked : ui::kUnchecked);
            host.PressCancel();
        });
        EXPECT_EQ(app.block().invertImage(), c.offered ? 1 : 0) << c.profile;
    }
}

// Toner saving: locked and cleared where the resolution rules it out, disabled and stored as
// 0 on a printer without it, and otherwise showing the block's value, also where the PPD
// cannot name the resolution and without a model, so that OK keeps the user's choice.
TEST_F(GraphicsOptionsDialogTest, TonerSaving) {
    const struct {
        const char* what;
        std::string ppd; // empty: features.ppd; "-": no model
        int resolution;
        bool enabled;
        int shown, stored;
    } cases[] = {
        {"600 dpi allows it", "", 2, true, 1, 1},
        {"1200 dpi rules it out", "", 3, false, 0, 0},
        {"a code no option has", "", 4, true, 1, 1},
        {"no MiserMode", kPpdHeader + kResolutions, 3, false, 0, 0},
        {"resolutions without texts", kPpdHeader + kUntranslatedResolutions + kPlainMiserMode, 2,
         true, 1, 1},
        {"no Resolution", kPpdHeader + kPlainMiserMode, 2, true, 1, 1},
        {"no model", "-", 3, true, 1, 1},
    };
    for (const auto& c : cases) {
        AppState app = c.ppd.empty()  ? AppState("features.ppd")
                       : c.ppd == "-" ? AppState()
                                      : AppState(AppState::Source::Text, c.ppd);
        SetUpBlock(app);
        app.block().setResolutionCode(static_cast<std::int16_t>(c.resolution));
        Run([&] {
            EXPECT_EQ(host.IsEnabled(IDC_TONER_SAVING), c.enabled) << c.what;
            EXPECT_EQ(host.Check(IDC_TONER_SAVING), c.shown) << c.what;
            host.PressOk();
        });
        EXPECT_EQ(app.block().tonerSaving(), c.stored) << c.what;
    }
}

// A resolution that rules out only "False" locks the choice but does not switch toner saving
// off; one that rules out the whole feature does.
TEST_F(GraphicsOptionsDialogTest, TonerSavingRuledOutOtherwise) {
    const struct {
        const char* what;
        const char* constraint;
        int shown;
    } cases[] = {
        {"False ruled out", "*UIConstraints: *MiserMode False *Resolution 1200dpi\n", 1},
        {"the feature ruled out", "*UIConstraints: *MiserMode *Resolution 1200dpi\n", 0},
        {"translated True ruled out", "*UIConstraints: *MiserMode True *Resolution 1200dpi\n", 0},
    };
    for (const auto& c : cases) {
        AppState app(AppState::Source::Text,
                     kPpdHeader + kResolutions + kTranslatedMiserMode + c.constraint);
        ASSERT_TRUE(app.loaded());
        SetUpBlock(app);
        app.block().setResolutionCode(3);
        Run([&] {
            EXPECT_FALSE(host.IsEnabled(IDC_TONER_SAVING)) << c.what;
            EXPECT_EQ(host.Check(IDC_TONER_SAVING), c.shown) << c.what;
            host.PressCancel();
        });
        EXPECT_EQ(app.block().tonerSaving(), c.shown) << c.what;
    }
}

// Without "PrintQuality" its list is disabled and OK stores -1; without "HalftoneType" the
// halftone list is empty and OK stores -1 too.
TEST_F(GraphicsOptionsDialogTest, MissingLists) {
    AppState app(AppState::Source::Text, kPpdHeader + kResolutions + kPlainMiserMode);
    SetUpBlock(app);
    Run([&] {
        EXPECT_FALSE(host.IsEnabled(IDC_PRINT_QUALITY));
        EXPECT_EQ(host.Combo(IDC_PRINT_QUALITY).GetCount(), 0);
        EXPECT_EQ(host.Combo(IDC_JOB_HALFTONE).GetCount(), 0);
        host.PressOk();
    });
    EXPECT_EQ(app.block().printQuality(), -1);
    EXPECT_EQ(app.block().halftoneType(), -1);
}

// The halftone dialog's choices stay when the graphics options dialog is then cancelled; the
// job's halftone does not change.
TEST_F(GraphicsOptionsDialogTest, ElementHalftonesOutliveCancel) {
    AppState app("features.ppd");
    SetUpBlock(app);
    Run([&] {
        host.ChooseItem(IDC_JOB_HALFTONE, kSmooth);
        host.OnDialog(IDD_HALFTONE, [&] {
            host.ChooseItem(IDC_HALFTONE_IMAGE, kSmooth);
            host.ChooseItem(IDC_HALFTONE_TEXT, kDetail);
            host.ChooseItem(IDC_HALFTONE_GRAPHICS, kMosaic);
            host.PressOk();
        });
        host.Click(IDC_ELEMENT_HALFTONES);
        host.PressCancel();
    });
    EXPECT_EQ(app.block().imageHalftone(), 4);
    EXPECT_EQ(app.block().textHalftone(), 10);
    EXPECT_EQ(app.block().graphicsHalftone(), 0);
    EXPECT_EQ(app.block().halftoneType(), 10);
}

} // namespace
} // namespace pages
