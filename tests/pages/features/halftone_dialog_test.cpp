// The halftone dialog: three lists of the PPD's halftones, written only on OK.
#include "pages/features/halftone_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/pages/features/features_test_support.h"
#include "tests/pages/page_test_support.h"

namespace pages {
namespace {

using namespace pages::testing;
using ::testing::ElementsAre;

const int kLists[] = {IDC_HALFTONE_IMAGE, IDC_HALFTONE_TEXT, IDC_HALFTONE_GRAPHICS};

class HalftoneDialogTest : public ::testing::Test {
protected:
    int Run(const std::function<void()>& body) {
        CHalftoneDialog dialog;
        host.OnDialog(IDD_HALFTONE, body);
        return dialog.DoModal();
    }

    ui::headless::TestHost host;
};

// Each list holds the PPD's halftones in file order, a keyword without code as 0, and shows
// its own field; OK stores the three choices, Cancel none.
TEST_F(HalftoneDialogTest, ListsAndOk) {
    for (const bool ok : {true, false}) {
        AppState app("features.ppd");
        app.InstallHelpFile();
        ASSERT_TRUE(app.loaded());
        app.block().setImageHalftone(4);
        app.block().setTextHalftone(10);
        app.block().setGraphicsHalftone(99);
        const app::PrinterSettingsBlock before = app.block();
        Run([&] {
            for (const int id : kLists) {
                EXPECT_THAT(host.Items(id), ElementsAre(kStandard, kSmooth, kDetail, kMosaic));
                EXPECT_THAT(host.ItemData(id), ElementsAre(7, 4, 10, 0));
                EXPECT_EQ(host.Control(id).GetContextHelpId(), static_cast<unsigned>(id));
            }
            EXPECT_EQ(host.SelectedText(IDC_HALFTONE_IMAGE), kSmooth);
            EXPECT_EQ(host.SelectedText(IDC_HALFTONE_TEXT), kDetail);
            EXPECT_EQ(host.SelectedText(IDC_HALFTONE_GRAPHICS), kStandard);
            host.ChooseItem(IDC_HALFTONE_IMAGE, kMosaic);
            host.ChooseItem(IDC_HALFTONE_TEXT, kStandard);
            const std::size_t helpCalls = host.HelpCalls().size();
            host.Click(IDC_HALFTONE_HELP);
            ASSERT_EQ(host.HelpCalls().size(), helpCalls + 1);
            EXPECT_EQ(host.HelpCalls().back().data, unsigned{IDD_HALFTONE});
            ok ? host.PressOk() : host.PressCancel();
        });
        if (ok) {
            EXPECT_EQ(app.block().imageHalftone(), 0);
            EXPECT_EQ(app.block().textHalftone(), 7);
            EXPECT_EQ(app.block().graphicsHalftone(), 7);
        } else {
            EXPECT_EQ(app.block(), before);
        }
    }
}

// Without "HalftoneType" the lists stay empty and OK stores -1 in all three.
TEST_F(HalftoneDialogTest, NoHalftones) {
    AppState app(AppState::Source::Text, kPpdHeader + kResolutions);
    ASSERT_TRUE(app.loaded());
    app.block().setImageHalftone(2);
    EXPECT_EQ(Run([&] {
                  for (const int id : kLists)
                      EXPECT_EQ(host.Combo(id).GetCount(), 0);
                  host.PressOk();
              }),
              ui::kIdOk);
    EXPECT_EQ(app.block().imageHalftone(), -1);
    EXPECT_EQ(app.block().textHalftone(), -1);
    EXPECT_EQ(app.block().graphicsHalftone(), -1);
}

} // namespace
} // namespace pages
