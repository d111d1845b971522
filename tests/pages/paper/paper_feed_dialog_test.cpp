// The advanced paper feed dialog: the three source lists pruned like the Paper page's, the
// multipurpose tray override, the first-page choice for documents only, and what OK stores.
#include "pages/paper/paper_feed_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/pages/page_test_support.h"

namespace pages {
namespace {

using testing::AppState;
using ::testing::ElementsAre;
using ui::headless::TestHost;

const std::string kBySize = "Pod\xBE"
                            "a form\xE1tu papiera";
const std::string kUpper = "Horn\xFD z\xE1sobn\xEDk";
const std::string kLower = "Doln\xFD z\xE1sobn\xEDk";
const std::string kMultipurpose = "Univerz\xE1lny z\xE1sobn\xEDk";
const std::string kManual = "Ru\xE8n\xE9 pod\xE1vanie";

const int kSourceLists[] = {IDC_FEED_BANNER_SOURCE, IDC_FEED_FIRST_PAGE_SOURCE,
                            IDC_FEED_TRAILER_SOURCE};

class PaperFeedDialogTest : public ::testing::Test {
protected:
    void SetUpBlock(AppState& app) {
        app::PrinterSettingsBlock& b = app.block();
        b.setPaperSize(9);
        b.setInputSlot(7);
        b.setBin1Installed(1);
        b.setBannerPageEnabled(1);
        b.setBannerPageSource(2);
        b.setFirstPageEnabled(0);
        b.setFirstPageSource(4);
        b.setTrailerPageEnabled(1);
        b.setTrailerPageSource(7);
        b.setOverrideMultipurposeTray(1);
    }

    int Run(const std::function<void()>& body) {
        CAdvancedFeedDialog dialog;
        host.OnDialog(IDD_ADVANCED_FEED, body);
        return dialog.DoModal();
    }

    TestHost host;
};

// Each list: "Podľa formátu papiera", then the PPD's sources, the block's source selected;
// the check boxes and the lists' enable states follow the enable fields.
TEST_F(PaperFeedDialogTest, Lists) {
    AppState app("paper.ppd");
    ASSERT_TRUE(app.loaded());
    SetUpBlock(app);
    app.InstallHelpFile();
    Run([&] {
        for (int id : kSourceLists) {
            EXPECT_THAT(host.Items(id),
                        ElementsAre(kBySize, kUpper, kLower, kMultipurpose, kManual))
                << id;
            EXPECT_THAT(host.ItemData(id), ElementsAre(7, 1, 2, 257, 4)) << id;
        }
        EXPECT_EQ(host.SelectedText(IDC_FEED_BANNER_SOURCE), kLower);
        EXPECT_EQ(host.SelectedText(IDC_FEED_FIRST_PAGE_SOURCE), kManual);
        EXPECT_EQ(host.SelectedText(IDC_FEED_TRAILER_SOURCE), kBySize);
        EXPECT_EQ(host.Check(IDC_FEED_BANNER), ui::kChecked);
        EXPECT_EQ(host.Check(IDC_FEED_FIRST_PAGE), ui::kUnchecked);
        EXPECT_TRUE(host.IsEnabled(IDC_FEED_BANNER_SOURCE));
        EXPECT_FALSE(host.IsEnabled(IDC_FEED_FIRST_PAGE_SOURCE));
        EXPECT_TRUE(host.IsShown(IDC_FEED_FIRST_PAGE_SOURCE));
        EXPECT_FALSE(host.IsShown(IDC_FEED_ADVANCED_TRAY));
        EXPECT_EQ(ui::Window(host.ActiveDialog()).GetContextHelpId(), unsigned{IDD_ADVANCED_FEED});
        EXPECT_EQ(host.Control(IDC_FEED_OVERRIDE_MP_TRAY).GetContextHelpId(),
                  unsigned{IDC_FEED_OVERRIDE_MP_TRAY});
        host.Click(IDC_FEED_HELP);
        ASSERT_FALSE(host.HelpCalls().empty());
        EXPECT_EQ(host.HelpCalls().back().data, unsigned{IDD_ADVANCED_FEED});
        host.PressCancel();
    });
}

// A source the paper size or the missing equipment rules out is gone from all three lists; a
// source code the lists do not offer falls back to "Podľa formátu papiera".
TEST_F(PaperFeedDialogTest, Pruning) {
    const struct {
        const char* what;
        int paperSize, bin1Installed;
        bool lowerOffered;
    } cases[] = {
        {"A4, bin installed", 9, 1, true},
        {"A5 rules out the lower tray", 11, 1, false},
        {"the lower tray needs the optional bin", 9, 0, false},
        {"paper the PPD lacks", 8, 1, true},
    };
    for (const auto& c : cases) {
        AppState app("paper.ppd");
        SetUpBlock(app);
        app.block().setPaperSize(static_cast<std::int16_t>(c.paperSize));
        app.block().setBin1Installed(static_cast<std::uint8_t>(c.bin1Installed));
        app.block().setFirstPageSource(2);
        app.block().setTrailerPageSource(33);
        Run([&] {
            for (int id : kSourceLists) {
                const auto items = host.Items(id);
                EXPECT_EQ(std::count(items.begin(), items.end(), kLower), c.lowerOffered ? 1 : 0)
                    << c.what << " " << id;
                EXPECT_EQ(items.size(), c.lowerOffered ? 5u : 4u) << c.what;
            }
            EXPECT_EQ(host.SelectedText(IDC_FEED_BANNER_SOURCE), c.lowerOffered ? kLower : kBySize)
                << c.what;
            EXPECT_EQ(host.SelectedText(IDC_FEED_TRAILER_SOURCE), kBySize) << c.what;
            host.PressOk();
        });
        EXPECT_EQ(app.block().bannerPageSource(), c.lowerOffered ? 2 : 7) << c.what;
        EXPECT_EQ(app.block().firstPageSource(), c.lowerOffered ? 2 : 7) << c.what;
        EXPECT_EQ(app.block().trailerPageSource(), 7) << c.what;
    }
}

// The override applies to the multipurpose tray and the automatic choice only; otherwise the
// box is disabled and unchecked, and OK stores 0.
TEST_F(PaperFeedDialogTest, MultipurposeTrayOverride) {
    const struct {
        int inputSlot, stored;
        bool enabled;
        int checked, afterOk;
    } cases[] = {
        {7, 1, true, ui::kChecked, 1},     {257, 1, true, ui::kChecked, 1},
        {257, 0, true, ui::kUnchecked, 0}, {4, 1, false, ui::kUnchecked, 0},
        {1, 1, false, ui::kUnchecked, 0},  {-1, 1, false, ui::kUnchecked, 0},
    };
    for (const auto& c : cases) {
        AppState app("paper.ppd");
        SetUpBlock(app);
        app.block().setInputSlot(static_cast<std::int16_t>(c.inputSlot));
        app.block().setOverrideMultipurposeTray(static_cast<std::int16_t>(c.stored));
        Run([&] {
            EXPECT_EQ(host.IsEnabled(IDC_FEED_OVERRIDE_MP_TRAY), c.enabled) << c.inputSlot;
            EXPECT_EQ(host.Check(IDC_FEED_OVERRIDE_MP_TRAY), c.checked) << c.inputSlot;
            host.PressOk();
        });
        EXPECT_EQ(app.block().overrideMultipurposeTray(), c.afterOk) << c.inputSlot;
    }

    AppState app("paper.ppd");
    SetUpBlock(app);
    Run([&] {
        host.Click(IDC_FEED_OVERRIDE_MP_TRAY);
        host.PressOk();
    });
    EXPECT_EQ(app.block().overrideMultipurposeTray(), 0);
}

// The check boxes enable their lists; OK stores checks and selections, including those of
// disabled lists and of the first-page controls hidden for device properties.
TEST_F(PaperFeedDialogTest, OkStoresEverything) {
    for (int deviceProperties : {0, 1}) {
        AppState app("paper.ppd");
        SetUpBlock(app);
        app.block().setDevicePropertiesMode(static_cast<std::uint8_t>(deviceProperties));
        const int result = Run([&] {
            for (int id :
                 {IDC_FEED_FIRST_PAGE, IDC_FEED_FIRST_PAGE_SOURCE, IDC_FEED_FIRST_PAGE_GROUP})
                EXPECT_EQ(host.IsShown(id), deviceProperties == 0) << id;
            host.Click(IDC_FEED_BANNER);
            EXPECT_FALSE(host.IsEnabled(IDC_FEED_BANNER_SOURCE));
            host.Click(IDC_FEED_TRAILER);
            host.Click(IDC_FEED_TRAILER);
            EXPECT_TRUE(host.IsEnabled(IDC_FEED_TRAILER_SOURCE));
            host.ChooseItem(IDC_FEED_TRAILER_SOURCE, kMultipurpose);
            if (deviceProperties == 0) {
                host.Click(IDC_FEED_FIRST_PAGE);
                EXPECT_TRUE(host.IsEnabled(IDC_FEED_FIRST_PAGE_SOURCE));
                host.ChooseItem(IDC_FEED_FIRST_PAGE_SOURCE, kUpper);
            }
            host.PressOk();
        });
        EXPECT_EQ(result, ui::kIdOk);
        const app::PrinterSettingsBlock& b = app.block();
        EXPECT_EQ(b.bannerPageEnabled(), 0);
        EXPECT_EQ(b.bannerPageSource(), 2);
        EXPECT_EQ(b.trailerPageEnabled(), 1);
        EXPECT_EQ(b.trailerPageSource(), 257);
        EXPECT_EQ(b.firstPageEnabled(), deviceProperties == 0 ? 1 : 0);
        EXPECT_EQ(b.firstPageSource(), deviceProperties == 0 ? 1 : 4);
    }
}

// Cancel writes nothing; without a model the lists stay empty and OK stores -1 as the sources
// of the lists shown.
TEST_F(PaperFeedDialogTest, CancelAndMissingModel) {
    AppState app("paper.ppd");
    SetUpBlock(app);
    const app::PrinterSettingsBlock before = app.block();
    EXPECT_EQ(Run([&] {
                  host.Click(IDC_FEED_BANNER);
                  host.ChooseItem(IDC_FEED_TRAILER_SOURCE, kManual);
                  host.Click(IDC_FEED_OVERRIDE_MP_TRAY);
                  host.PressCancel();
              }),
              ui::kIdCancel);
    EXPECT_EQ(app.block(), before);

    // Without a model in device properties the first-page controls are hidden as well, and
    // their source, never offered, stays as it was.
    for (const char* fixture : {static_cast<const char*>(nullptr), "paper.ppd"}) {
        for (int device : {0, 1}) {
            AppState bare = fixture ? AppState(fixture) : AppState();
            SetUpBlock(bare);
            bare.block().setDevicePropertiesMode(static_cast<std::uint8_t>(device));
            if (fixture)
                bare.block().setPaperSize(257); // no PageSize option: the lists are still filled
            Run([&] {
                for (int id : kSourceLists)
                    EXPECT_EQ(host.Combo(id).GetCount(), fixture ? 5 : 0) << id;
                EXPECT_EQ(host.IsShown(IDC_FEED_FIRST_PAGE_SOURCE), device == 0);
                EXPECT_EQ(host.IsShown(IDC_FEED_FIRST_PAGE_GROUP), device == 0);
                host.PressOk();
            });
            const bool kept = !fixture && device == 1;
            EXPECT_EQ(bare.block().bannerPageSource(), fixture ? 2 : -1);
            EXPECT_EQ(bare.block().firstPageSource(), fixture || kept ? 4 : -1);
            EXPECT_EQ(bare.block().trailerPageSource(), fixture ? 7 : -1);
        }
    }
}

} // namespace
} // namespace pages
