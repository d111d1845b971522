// The Paper page on the headless backend: the chained lists and their pruning, the custom
// size entry, the lists emptied by missing PPD data, deactivation, and the save and restore
// around the two dialogs.
#include "pages/paper/paper_page.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "pages/layout/layout_page.h"
#include "pages/paper/custom_size_dialog.h"
#include "tests/pages/page_test_support.h"

namespace pages {
namespace {

using testing::AppState;
using ::testing::ElementsAre;
using testing::RunPage;
using ui::headless::TestHost;

const std::string kCustom = "Volite\xBEn\xFD form\xE1t papiera";
const std::string kPoster = "Plag\xE1t";
const std::string kBySize = "Pod\xBE"
                            "a form\xE1tu papiera";
const std::string kUpper = "Horn\xFD z\xE1sobn\xEDk";
const std::string kLower = "Doln\xFD z\xE1sobn\xEDk";
const std::string kMultipurpose = "Univerz\xE1lny z\xE1sobn\xEDk";
const std::string kManual = "Ru\xE8n\xE9 pod\xE1vanie";
const std::string kPlain = "Oby\xE8"
                           "ajn\xFD papier";
const std::string kFoil = "F\xF3lia";
const std::string kThick = "Hrub\xFD papier";
const std::string kLabels = "Etikety";
const std::string kPrinterDefault = "V\xFD"
                                    "chodiskov\xE9 nastavenie tla\xE8iarne";
const std::string kUpperBin = "Horn\xE1 priehradka";
const std::string kRearBin = "Zadn\xE1 priehradka";
const std::string kStacker = "Stohova\xE8";

class PaperPageTest : public ::testing::Test {
protected:
    // Everything installed, A4 from the upper tray on plain paper to the upper bin.
    void SetUpBlock(AppState& app) {
        app::PrinterSettingsBlock& b = app.block();
        b.setPaperSize(9);
        b.setInputSlot(1);
        b.setMediaType(1);
        b.setOutputBin(1);
        b.setDuplexMode(3);
        b.setBin1Installed(1);
        b.setStackerInstalled(1);
        b.setCustomSizeMinWidth(1000);
        b.setCustomSizeMaxWidth(3000);
        b.setCustomSizeMinHeight(1000);
        b.setCustomSizeMaxHeight(3000);
        b.setCustomSizeWidth(210.0f);
        b.setCustomSizeHeight(297.0f);
        b.setCustomSizeUnit(1);
        b.setCustomSizeFeedEdge(9);
    }

    std::optional<platform::RegistryValue> StoredRecord(AppState& app) {
        return app.registry.Get(PrinterDriverDataKey("Vela Test"), "CustomSizes");
    }

    TestHost host;
    CPaper page;
};

// Activation fills the chain from the block: every list in file order with the codes of the
// tables, the custom entry first, the block's choices selected.
TEST_F(PaperPageTest, ListsAtActivation) {
    AppState app("paper.ppd");
    ASSERT_TRUE(app.loaded());
    SetUpBlock(app);
    RunPage(host, page, [&] {
        EXPECT_THAT(host.Items(IDC_PAPER_SIZE),
                    ElementsAre(kCustom, "A4", "Letter", "A5", kPoster));
        EXPECT_THAT(host.ItemData(IDC_PAPER_SIZE), ElementsAre(257, 9, 1, 11, 0));
        EXPECT_EQ(host.SelectedText(IDC_PAPER_SIZE), "A4");
        EXPECT_THAT(host.Items(IDC_PAPER_SOURCE),
                    ElementsAre(kBySize, kUpper, kLower, kMultipurpose, kManual));
        EXPECT_THAT(host.ItemData(IDC_PAPER_SOURCE), ElementsAre(7, 1, 2, 257, 4));
        EXPECT_EQ(host.SelectedText(IDC_PAPER_SOURCE), kUpper);
        EXPECT_THAT(host.Items(IDC_MEDIA_TYPE), ElementsAre(kPlain, kFoil, kThick, kLabels));
        EXPECT_THAT(host.ItemData(IDC_MEDIA_TYPE), ElementsAre(1, 2, 255, 254));
        EXPECT_EQ(host.SelectedText(IDC_MEDIA_TYPE), kPlain);
        EXPECT_THAT(host.Items(IDC_OUTPUT_BIN), ElementsAre(kUpperBin, kRearBin, kStacker));
        EXPECT_THAT(host.ItemData(IDC_OUTPUT_BIN), ElementsAre(1, 3, 7));
        EXPECT_EQ(host.SelectedText(IDC_OUTPUT_BIN), kUpperBin);
        EXPECT_FALSE(host.IsShown(IDC_CUSTOM_SIZE_CONFIGURE));
        EXPECT_FALSE(host.IsEnabled(IDC_CUSTOM_SIZE_CONFIGURE));
        EXPECT_EQ(ui::Window(host.ActiveDialog()).GetContextHelpId(), unsigned{IDD_PAPER});
        for (int id : {IDC_PAPER_SIZE, IDC_PAPER_SOURCE, IDC_MEDIA_TYPE, IDC_OUTPUT_BIN,
                       IDC_ADVANCED_FEED, IDC_CUSTOM_SIZE_CONFIGURE})
            EXPECT_EQ(host.Control(id).GetContextHelpId(), static_cast<unsigned>(id)) << id;
        host.ChooseItem(IDC_PAPER_SIZE, "Letter");
        EXPECT_EQ(app.block().paperSize(), 1);
        host.ChooseItem(IDC_OUTPUT_BIN, kStacker);
        EXPECT_EQ(app.block().outputBin(), 7);
        host.PressOk();
    });
    EXPECT_EQ(app.block().paperSize(), 1);
    EXPECT_EQ(app.block().inputSlot(), 1);
    EXPECT_EQ(app.block().mediaType(), 1);
    EXPECT_EQ(app.block().outputBin(), 7);
}

// A paper size the PPD does not offer selects the custom entry when there is one, else the
// first paper; an option keyword the table lacks has code 0.
TEST_F(PaperPageTest, PaperSizeSelection) {
    const struct {
        const char* fixture;
        int stored;
        const char* selected;
        int code;
    } cases[] = {
        {"paper.ppd", 8, "Volite\xBEn\xFD form\xE1t papiera", 257},
        {"paper.ppd", 257, "Volite\xBEn\xFD form\xE1t papiera", 257},
        {"paper.ppd", 0, "Plag\xE1t", 0},
        {"paper.ppd", 11, "A5", 11},
        {"bare.ppd", 8, "Letter", 1},
        {"bare.ppd", 9, "A4", 9},
        {nullptr, 9, "", -1},
    };
    for (const auto& c : cases) {
        AppState app = c.fixture ? AppState(c.fixture) : AppState();
        SetUpBlock(app);
        app.block().setPaperSize(static_cast<std::int16_t>(c.stored));
        CPaper paper;
        RunPage(host, paper, [&] {
            EXPECT_EQ(host.SelectedText(IDC_PAPER_SIZE), c.selected) << c.stored;
            host.PressCancel();
        });
        EXPECT_EQ(app.block().paperSize(), c.code) << c.stored;
    }
}

// Sources: the paper size and the missing optional bin rule out the lower tray; a ruled-out
// selection falls back to "Podľa formátu papiera".
TEST_F(PaperPageTest, SourcePruning) {
    const struct {
        const char* what;
        const char* paper;
        int bin1Installed;
        bool lowerOffered;
    } cases[] = {
        {"A4 with the bin", "A4", 1, true},
        {"A5 rules out the lower tray", "A5", 1, false},
        {"the lower tray needs its bin", "A4", 0, false},
        {"Letter without the bin", "Letter", 0, false},
    };
    for (const auto& c : cases) {
        AppState app("paper.ppd");
        SetUpBlock(app);
        app.block().setInputSlot(2);
        app.block().setBin1Installed(static_cast<std::uint8_t>(c.bin1Installed));
        CPaper paper;
        RunPage(host, paper, [&] {
            host.ChooseItem(IDC_PAPER_SIZE, c.paper);
            const auto items = host.Items(IDC_PAPER_SOURCE);
            EXPECT_EQ(std::count(items.begin(), items.end(), kLower), c.lowerOffered ? 1 : 0)
                << c.what;
            EXPECT_EQ(host.SelectedText(IDC_PAPER_SOURCE), c.lowerOffered ? kLower : kBySize)
                << c.what;
            host.PressCancel();
        });
        EXPECT_EQ(app.block().inputSlot(), c.lowerOffered ? 2 : 7) << c.what;
    }
}

// Media: the source and the paper size rule out media; with none left the printer's default
// is the only choice.
TEST_F(PaperPageTest, MediaPruning) {
    const struct {
        const char* what;
        int paperSize, inputSlot, mediaType;
        std::vector<std::string> media;
        int stored;
    } cases[] = {
        {"A4 from the upper tray", 9, 1, 2, {kPlain, kFoil, kThick, kLabels}, 2},
        {"manual feed rules out foil", 9, 4, 2, {kPlain, kThick, kLabels}, 1},
        {"A5 rules out thick stock", 11, 1, 255, {kPlain, kFoil, kLabels}, 1},
        {"A5 by manual feed", 11, 4, 254, {kPlain, kLabels}, 254},
        {"nothing on a poster", 0, 1, 1, {kPrinterDefault}, 247},
    };
    for (const auto& c : cases) {
        AppState app("paper.ppd");
        SetUpBlock(app);
        app.block().setPaperSize(static_cast<std::int16_t>(c.paperSize));
        app.block().setInputSlot(static_cast<std::int16_t>(c.inputSlot));
        app.block().setMediaType(static_cast<std::int16_t>(c.mediaType));
        CPaper paper;
        RunPage(host, paper, [&] {
            EXPECT_EQ(host.Items(IDC_MEDIA_TYPE), c.media) << c.what;
            host.PressCancel();
        });
        EXPECT_EQ(app.block().mediaType(), c.stored) << c.what;
    }
}

// Output bins: the media, the paper size and the missing stacker rule out bins.
TEST_F(PaperPageTest, OutputBinPruning) {
    const struct {
        const char* what;
        int paperSize, mediaType, stackerInstalled, outputBin;
        std::vector<std::string> bins;
        int stored;
    } cases[] = {
        {"everything offered", 9, 1, 1, 3, {kUpperBin, kRearBin, kStacker}, 3},
        {"labels rule out the rear bin", 9, 254, 1, 3, {kUpperBin, kStacker}, 1},
        {"Letter rules out the rear bin", 1, 1, 1, 7, {kUpperBin, kStacker}, 7},
        {"no stacker", 9, 1, 0, 7, {kUpperBin, kRearBin}, 1},
    };
    for (const auto& c : cases) {
        AppState app("paper.ppd");
        SetUpBlock(app);
        app.block().setPaperSize(static_cast<std::int16_t>(c.paperSize));
        app.block().setMediaType(static_cast<std::int16_t>(c.mediaType));
        app.block().setStackerInstalled(static_cast<std::uint8_t>(c.stackerInstalled));
        app.block().setOutputBin(static_cast<std::int16_t>(c.outputBin));
        CPaper paper;
        RunPage(host, paper, [&] {
            EXPECT_EQ(host.Items(IDC_OUTPUT_BIN), c.bins) << c.what;
            EXPECT_TRUE(host.IsEnabled(IDC_OUTPUT_BIN)) << c.what;
            host.PressCancel();
        });
        EXPECT_EQ(app.block().outputBin(), c.stored) << c.what;
    }
}

// The custom size: "Konfigurovať" appears, only the multipurpose tray and the upper bin are
// offered; another paper size brings the full lists back.
TEST_F(PaperPageTest, CustomSizeEntry) {
    AppState app("paper.ppd");
    SetUpBlock(app);
    RunPage(host, page, [&] {
        host.ChooseItem(IDC_PAPER_SIZE, kCustom);
        EXPECT_EQ(app.block().paperSize(), 257);
        EXPECT_TRUE(host.IsShown(IDC_CUSTOM_SIZE_CONFIGURE));
        EXPECT_TRUE(host.IsEnabled(IDC_CUSTOM_SIZE_CONFIGURE));
        EXPECT_THAT(host.Items(IDC_PAPER_SOURCE), ElementsAre(kMultipurpose));
        EXPECT_THAT(host.ItemData(IDC_PAPER_SOURCE), ElementsAre(257));
        EXPECT_EQ(host.Selection(IDC_PAPER_SOURCE), 0);
        EXPECT_EQ(app.block().inputSlot(), 257);
        EXPECT_THAT(host.Items(IDC_OUTPUT_BIN), ElementsAre(kUpperBin));
        EXPECT_EQ(host.Selection(IDC_OUTPUT_BIN), 0);
        EXPECT_EQ(app.block().outputBin(), 1);

        host.ChooseItem(IDC_PAPER_SIZE, "A4");
        EXPECT_FALSE(host.IsShown(IDC_CUSTOM_SIZE_CONFIGURE));
        EXPECT_EQ(host.Items(IDC_PAPER_SOURCE).size(), 5u);
        EXPECT_EQ(host.SelectedText(IDC_PAPER_SOURCE), kMultipurpose);
        EXPECT_EQ(host.Items(IDC_OUTPUT_BIN).size(), 3u);
        host.PressCancel();
    });
}

// Missing PPD features: only "Podľa formátu papiera" as source (selected only for code 7), the
// printer's default medium, and a disabled output bin list with its label.
TEST_F(PaperPageTest, MissingFeatures) {
    for (int inputSlot : {7, 1}) {
        AppState app("bare.ppd");
        SetUpBlock(app);
        app.block().setInputSlot(static_cast<std::int16_t>(inputSlot));
        CPaper paper;
        RunPage(host, paper, [&] {
            EXPECT_THAT(host.Items(IDC_PAPER_SOURCE), ElementsAre(kBySize));
            EXPECT_EQ(host.Selection(IDC_PAPER_SOURCE), inputSlot == 7 ? 0 : -1);
            EXPECT_TRUE(host.IsEnabled(IDC_PAPER_SOURCE));
            EXPECT_THAT(host.Items(IDC_MEDIA_TYPE), ElementsAre(kPrinterDefault));
            EXPECT_EQ(host.Combo(IDC_OUTPUT_BIN).GetCount(), 0);
            EXPECT_FALSE(host.IsEnabled(IDC_OUTPUT_BIN));
            EXPECT_FALSE(host.IsEnabled(IDC_OUTPUT_BIN_LABEL));
            host.PressCancel();
        });
        EXPECT_EQ(app.block().inputSlot(), inputSlot == 7 ? 7 : -1);
        EXPECT_EQ(app.block().mediaType(), 247);
        EXPECT_EQ(app.block().outputBin(), -1);
    }
}

// A list emptied by the custom size (no multipurpose tray, no upper bin) is disabled, and is
// enabled again, with its label, as soon as another paper size gives it entries.
TEST_F(PaperPageTest, EmptiedListsAreEnabledAgain) {
    const char kPpd[] = "*PPD-Adobe: \"4.3\"\n"
                        "*CustomPageSize True: \"pop pop pop\"\n"
                        "*PageSize A4/A4: \"\"\n"
                        "*InputSlot Upper/Horn<FD>: \"\"\n"
                        "*OpenUI *OutputBin/Priehradka: PickOne\n"
                        "*OutputBin Rear/Zadn<E1>: \"\"\n"
                        "*CloseUI: *OutputBin\n";
    AppState app(AppState::Source::Text, kPpd);
    ASSERT_TRUE(app.loaded());
    SetUpBlock(app);
    RunPage(host, page, [&] {
        host.ChooseItem(IDC_PAPER_SIZE, kCustom);
        EXPECT_EQ(host.Combo(IDC_PAPER_SOURCE).GetCount(), 0);
        EXPECT_FALSE(host.IsEnabled(IDC_PAPER_SOURCE));
        EXPECT_FALSE(host.IsEnabled(IDC_OUTPUT_BIN));
        EXPECT_FALSE(host.IsEnabled(IDC_OUTPUT_BIN_LABEL));
        EXPECT_EQ(app.block().inputSlot(), -1);
        EXPECT_EQ(app.block().outputBin(), -1);
        host.ChooseItem(IDC_PAPER_SIZE, "A4");
        EXPECT_TRUE(host.IsEnabled(IDC_PAPER_SOURCE));
        EXPECT_TRUE(host.IsEnabled(IDC_OUTPUT_BIN));
        EXPECT_TRUE(host.IsEnabled(IDC_OUTPUT_BIN_LABEL));
        EXPECT_EQ(app.block().outputBin(), 3);
        host.PressCancel();
    });
}

// Leaving the page settles the duplex mode against paper and media, and stores the custom
// size record whatever paper is chosen.
TEST_F(PaperPageTest, Deactivation) {
    const struct {
        const char* what;
        const char* paper;
        const char* media;
        int duplex;
    } cases[] = {
        {"A4 on plain paper", "A4", kPlain.c_str(), 3},
        {"A5 rules out a duplex option", "A5", kPlain.c_str(), 1},
        {"foil rules out duplex", "A4", kFoil.c_str(), 1},
        {"custom size", kCustom.c_str(), nullptr, 1},
        {"Letter on labels", "Letter", kLabels.c_str(), 3},
    };
    for (const auto& c : cases) {
        AppState app("paper.ppd");
        SetUpBlock(app);
        app.block().setCustomSizeWidth(210.5f);
        CPaper paper;
        RunPage(host, paper, [&] {
            host.ChooseItem(IDC_PAPER_SIZE, c.paper);
            if (c.media)
                host.ChooseItem(IDC_MEDIA_TYPE, c.media);
            EXPECT_EQ(app.block().duplexMode(), 3) << c.what;
            EXPECT_FALSE(StoredRecord(app)) << c.what;
            host.SelectPage(1);
            EXPECT_EQ(app.block().duplexMode(), c.duplex) << c.what;
            host.PressCancel();
        });
        const auto record = StoredRecord(app);
        ASSERT_TRUE(record) << c.what;
        ASSERT_EQ(record->data.size(), 80u);
        EXPECT_EQ(app::detail::LoadInt32(reinterpret_cast<const std::uint8_t*>(&record->data[64])),
                  21050)
            << c.what;
    }
}

// The advanced feed dialog's six fields come back unless it ends with OK.
TEST_F(PaperPageTest, AdvancedFeedRestoredUnlessOk) {
    AppState app("paper.ppd");
    SetUpBlock(app);
    app::PrinterSettingsBlock& b = app.block();
    b.setBannerPageEnabled(1);
    b.setBannerPageSource(2);
    b.setTrailerPageSource(4);
    b.setFirstPageSource(7);
    RunPage(host, page, [&] {
        const app::PrinterSettingsBlock before = b;
        host.OnDialog(IDD_ADVANCED_FEED, [&] {
            // As a dialog writing while the user works would.
            b.setBannerPageEnabled(0);
            b.setBannerPageSource(1);
            b.setTrailerPageEnabled(1);
            b.setTrailerPageSource(257);
            b.setFirstPageEnabled(1);
            b.setFirstPageSource(1);
            host.PressCancel();
        });
        host.Click(IDC_ADVANCED_FEED);
        EXPECT_EQ(b, before);

        host.OnDialog(IDD_ADVANCED_FEED, [&] {
            host.Click(IDC_FEED_TRAILER);
            host.ChooseItem(IDC_FEED_TRAILER_SOURCE, kManual);
            host.PressOk();
        });
        host.Click(IDC_ADVANCED_FEED);
        EXPECT_EQ(b.trailerPageEnabled(), 1);
        EXPECT_EQ(b.trailerPageSource(), 4);
        EXPECT_EQ(b.bannerPageSource(), 2);
        host.PressCancel();
    });
}

// The custom size dialog: size, unit and feed edge come back after Cancel, the driver's limits
// always; a record stored by an earlier OK stays in the registry.
TEST_F(PaperPageTest, CustomSizeRestoredUnlessOk) {
    AppState app("paper.ppd");
    SetUpBlock(app);
    app.block().setPaperSize(257);
    app::PrinterSettingsBlock& b = app.block();
    RunPage(host, page, [&] {
        ASSERT_TRUE(host.IsShown(IDC_CUSTOM_SIZE_CONFIGURE));
        host.OnDialog(IDD_CUSTOM_SIZE, [&] {
            host.ReplaceText(IDC_CUSTOM_WIDTH, "250");
            host.ReplaceText(IDC_CUSTOM_HEIGHT, "280");
            host.Click(IDC_CUSTOM_UNIT_INCH);
            b.setCustomSizeMaxHeight(5000);
            host.PressOk();
        });
        host.Click(IDC_CUSTOM_SIZE_CONFIGURE);
        // Read back from the inches shown: 9.84 and 11.02.
        EXPECT_FLOAT_EQ(b.customSizeWidth(), 9.84f * 25.4f);
        EXPECT_FLOAT_EQ(b.customSizeHeight(), 11.02f * 25.4f);
        EXPECT_EQ(b.customSizeUnit(), 0);
        EXPECT_EQ(b.customSizeMaxHeight(), 3000);
        const auto stored = StoredRecord(app);
        ASSERT_TRUE(stored);

        const app::PrinterSettingsBlock before = b;
        host.OnDialog(IDD_CUSTOM_SIZE, [&] {
            host.Click(IDC_CUSTOM_UNIT_POINT);
            host.ChooseItem(IDC_CUSTOM_FEED_EDGE, "Dlh\x9A\xED okraj");
            EXPECT_EQ(b.customSizeFeedEdge(), 8);
            b.setCustomSizeMinWidth(1);
            host.PressCancel();
        });
        host.Click(IDC_CUSTOM_SIZE_CONFIGURE);
        EXPECT_EQ(b, before);
        EXPECT_EQ(StoredRecord(app), stored);
        host.PressCancel();
    });
}

// The Layout page sees what the Paper page chose: the custom size leaves single-sided only.
TEST_F(PaperPageTest, LayoutFollowsThePaper) {
    AppState app("paper.ppd");
    SetUpBlock(app);
    app.block().setDuplexerInstalled(1);
    app.block().setPagesPerSheet(99);
    CLayout layout;
    ui::PropertySheet sheet("Vela Test");
    sheet.AddPage(layout);
    sheet.AddPage(page);
    host.OnSheet([&] {
        EXPECT_TRUE(host.IsEnabled(IDC_DUPLEX_LONG_EDGE));
        host.SelectPage(1);
        host.ChooseItem(IDC_PAPER_SIZE, kCustom);
        host.SelectPage(0);
        EXPECT_FALSE(host.IsEnabled(IDC_DUPLEX_LONG_EDGE));
        EXPECT_EQ(host.Check(IDC_DUPLEX_NONE), ui::kChecked);
        EXPECT_EQ(host.Items(IDC_PAGES_PER_SHEET).size(), 6u);
        host.PressOk();
    });
    EXPECT_EQ(sheet.DoModal(), ui::kIdOk);
    EXPECT_EQ(app.block().duplexMode(), 1);
    EXPECT_EQ(app.block().pagesPerSheet(), 1);
    EXPECT_EQ(app.block().paperSize(), 257);
}

} // namespace
} // namespace pages
