// The Layout page on the headless backend: the duplex unit at start, the activation rules
// (booklet, constraints against duplex, custom size), the handlers and the preview.
#include "pages/layout/layout_page.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "tests/pages/page_test_support.h"

namespace pages {
namespace {

using testing::AppState;
using ::testing::ElementsAre;
using testing::RunPage;
using ui::headless::TestHost;

const std::string kBooklet = "Bro\x9E\xFAra";

// Every cell of the preview table that the row and column rules can reach.
TEST(PreviewBitmap, ChosenByOrientationDuplexAndCount) {
    const struct {
        int orientation, duplex, pages, bitmap;
    } cases[] = {
        {1, 1, 1, 152},  {1, 2, 1, 166},    {1, 3, 1, 167},   {2, 1, 1, 153},  {2, 2, 1, 164},
        {2, 3, 1, 165},  {1, 1, 2, 156},    {1, 2, 2, 154},   {2, 3, 2, 160},  {1, 2, 4, 169},
        {2, 2, 4, 190},  {2, 3, 4, 189},    {1, 3, 6, 172},   {2, 1, 6, 163},  {1, 1, 9, 173},
        {2, 2, 9, 185},  {1, 3, 16, 178},   {2, 1, 16, 183},  {1, 1, 99, 179}, {1, 3, 99, 179},
        {2, 2, 99, 180}, {270, 2, 99, 180}, {270, 1, 4, 162}, {0, 1, 1, 153},  {1, 0, 2, 155},
        {1, 7, 9, 175},  {1, 1, 3, 152},    {1, 3, -1, 152},  {2, 2, 0, 153},  {270, 1, 100, 153},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PreviewBitmapId(c.orientation, c.duplex, c.pages), c.bitmap)
            << c.orientation << "/" << c.duplex << "/" << c.pages;

    // Every bitmap 152 to 190 but 168 is reachable, and nothing else.
    std::set<int> seen;
    for (int orientation : {1, 2})
        for (int duplex : {1, 2, 3})
            for (int pages : {1, 2, 4, 6, 9, 16, 99, 5})
                seen.insert(PreviewBitmapId(orientation, duplex, pages));
    std::set<int> expected;
    for (int id = 152; id <= 190; ++id)
        if (id != 168)
            expected.insert(id);
    EXPECT_EQ(seen, expected);
}

class LayoutPageTest : public ::testing::Test {
protected:
    // A block as the driver sends it for a printer with a duplex unit.
    void SetUpBlock(AppState& app) {
        app::PrinterSettingsBlock& b = app.block();
        b.setOrientation(1);
        b.setDuplexMode(2);
        b.setPagesPerSheet(4);
        b.setPrintPageBorders(1);
        b.setPaperSize(9);
        b.setMediaType(1);
        b.setDuplexerInstalled(1);
    }

    TestHost host;
    CLayout page;
};

// Initialisation: a PPD with "Duplex" and without "Optionalduplexer" has the unit built in.
TEST_F(LayoutPageTest, DuplexUnitAtStart) {
    const char kInstallableDuplexer[] = "*PPD-Adobe: \"4.3\"\n"
                                        "*OpenGroup: InstallableOptions\n"
                                        "*OpenUI *Optionalduplexer/Duplex: Boolean\n"
                                        "*Optionalduplexer True/Nain<9A>talovan<E9>: \"\"\n"
                                        "*Optionalduplexer False/Nein<9A>talovan<E9>: \"\"\n"
                                        "*CloseUI: *Optionalduplexer\n"
                                        "*CloseGroup: InstallableOptions\n"
                                        "*PageSize A4/A4: \"\"\n"
                                        "*Duplex None/Nie: \"\"\n"
                                        "*Duplex DuplexNoTumble/Dlh<9A><ED>: \"\"\n";
    const struct {
        const char* fixture;
        const char* text;
        int expected;
    } cases[] = {
        {"paper.ppd", nullptr, 1},
        {nullptr, kInstallableDuplexer, 0},
        {"bare.ppd", nullptr, 0},
        {nullptr, nullptr, 0},
    };
    for (const auto& c : cases) {
        AppState app = c.fixture ? AppState(c.fixture)
                       : c.text  ? AppState(AppState::Source::Text, c.text)
                                 : AppState();
        ASSERT_EQ(app.loaded(), c.fixture != nullptr || c.text != nullptr);
        CLayout layout;
        RunPage(host, layout, [&] { host.PressCancel(); });
        EXPECT_EQ(app.block().duplexerInstalled(), c.expected) << (c.fixture ? c.fixture : "-");
    }
}

// Without a duplex unit: no booklet, single-sided only, the duplex radios disabled; a booklet
// received from the driver becomes the entry selected after the booklet's removal, one page per
// sheet without borders.
TEST_F(LayoutPageTest, WithoutDuplexUnit) {
    AppState app("bare.ppd");
    ASSERT_TRUE(app.loaded());
    SetUpBlock(app);
    app.block().setDuplexerInstalled(0);
    app.block().setPagesPerSheet(99);
    app.block().setDuplexMode(3);
    app.block().setPrintPageBorders(1);
    RunPage(host, page, [&] {
        EXPECT_THAT(host.Items(IDC_PAGES_PER_SHEET), ElementsAre("1", "2", "4", "6", "9", "16"));
        EXPECT_EQ(host.SelectedText(IDC_PAGES_PER_SHEET), "1");
        EXPECT_FALSE(host.IsEnabled(IDC_PRINT_PAGE_BORDERS));
        EXPECT_EQ(host.Check(IDC_PRINT_PAGE_BORDERS), ui::kUnchecked);
        for (int id : {IDC_DUPLEX_NONE, IDC_DUPLEX_LONG_EDGE, IDC_DUPLEX_SHORT_EDGE})
            EXPECT_FALSE(host.IsEnabled(id)) << id;
        EXPECT_EQ(host.Check(IDC_DUPLEX_NONE), ui::kChecked);
        EXPECT_EQ(host.Check(IDC_DUPLEX_SHORT_EDGE), ui::kUnchecked);
        EXPECT_EQ(host.Bitmap(IDC_PREVIEW_PICTURE), IDB_PREVIEW_PORTRAIT_SINGLE_1);
        host.PressCancel();
    });
    EXPECT_EQ(app.block().pagesPerSheet(), 1);
    EXPECT_EQ(app.block().duplexMode(), 1);
    EXPECT_EQ(app.block().printPageBorders(), 0);
}

// Paper or media that the PPD does not allow with any duplex choice, and the custom size,
// leave single-sided printing only and remove the booklet; other paper keeps the booklet,
// which allows the long edge only.
TEST_F(LayoutPageTest, ConstraintsAgainstDuplex) {
    const struct {
        const char* what;
        int paperSize, mediaType;
        bool forced;
    } cases[] = {
        {"A5 rules out a duplex option", 11, 1, true},
        {"transparencies rule out duplex", 9, 2, true},
        {"custom size", 257, 1, true},
        {"A4 on plain paper", 9, 1, false},
        {"Letter on thick stock", 1, 255, false},
        {"paper the PPD lacks", 8, 1, false},
    };
    for (const auto& c : cases) {
        AppState app("paper.ppd");
        ASSERT_TRUE(app.loaded());
        SetUpBlock(app);
        app.block().setPaperSize(static_cast<std::int16_t>(c.paperSize));
        app.block().setMediaType(static_cast<std::int16_t>(c.mediaType));
        app.block().setPagesPerSheet(99);
        app.block().setDuplexMode(3);
        app.block().setPrintPageBorders(1);
        CLayout layout;
        RunPage(host, layout, [&] {
            const std::vector<std::string> items = host.Items(IDC_PAGES_PER_SHEET);
            const bool hasBooklet = !items.empty() && items.back() == kBooklet;
            EXPECT_EQ(hasBooklet, !c.forced) << c.what;
            EXPECT_TRUE(host.IsEnabled(IDC_DUPLEX_NONE)) << c.what;
            EXPECT_EQ(host.IsEnabled(IDC_DUPLEX_LONG_EDGE), !c.forced) << c.what;
            EXPECT_FALSE(host.IsEnabled(IDC_DUPLEX_SHORT_EDGE)) << c.what;
            EXPECT_EQ(host.Check(c.forced ? IDC_DUPLEX_NONE : IDC_DUPLEX_LONG_EDGE), ui::kChecked)
                << c.what;
            EXPECT_EQ(host.Bitmap(IDC_PREVIEW_PICTURE),
                      c.forced ? IDB_PREVIEW_PORTRAIT_SINGLE_1 : IDB_PREVIEW_BOOKLET_PORTRAIT)
                << c.what;
            host.PressCancel();
        });
        EXPECT_EQ(app.block().duplexMode(), c.forced ? 1 : 2) << c.what;
        EXPECT_EQ(app.block().pagesPerSheet(), c.forced ? 1 : 99) << c.what;
        EXPECT_EQ(app.block().printPageBorders(), c.forced ? 0 : 1) << c.what;
    }
}

// Choosing the booklet selects the long edge and disables the short one; single-sided
// printing afterwards turns the booklet into two pages per sheet.
TEST_F(LayoutPageTest, BookletAndSingleSided) {
    AppState app("paper.ppd");
    SetUpBlock(app);
    app.block().setDuplexMode(3);
    RunPage(host, page, [&] {
        EXPECT_EQ(host.Check(IDC_DUPLEX_SHORT_EDGE), ui::kChecked);
        EXPECT_TRUE(host.IsEnabled(IDC_DUPLEX_SHORT_EDGE));
        host.ChooseItem(IDC_PAGES_PER_SHEET, kBooklet);
        EXPECT_EQ(app.block().pagesPerSheet(), 99);
        EXPECT_EQ(app.block().duplexMode(), 2);
        EXPECT_FALSE(host.IsEnabled(IDC_DUPLEX_SHORT_EDGE));
        EXPECT_EQ(host.Check(IDC_DUPLEX_LONG_EDGE), ui::kChecked);
        EXPECT_EQ(host.Check(IDC_DUPLEX_SHORT_EDGE), ui::kUnchecked);
        EXPECT_EQ(host.Bitmap(IDC_PREVIEW_PICTURE), IDB_PREVIEW_BOOKLET_PORTRAIT);

        host.Click(IDC_DUPLEX_NONE);
        EXPECT_EQ(app.block().pagesPerSheet(), 2);
        EXPECT_EQ(host.SelectedText(IDC_PAGES_PER_SHEET), "2");
        EXPECT_EQ(app.block().duplexMode(), 1);
        EXPECT_EQ(host.Bitmap(IDC_PREVIEW_PICTURE), IDB_PREVIEW_PORTRAIT_SINGLE_2);

        host.Click(IDC_DUPLEX_LONG_EDGE);
        EXPECT_EQ(app.block().duplexMode(), 2);
        EXPECT_EQ(host.Bitmap(IDC_PREVIEW_PICTURE), IDB_PREVIEW_PORTRAIT_LONG_2);
        // The next activation enables the short edge again.
        host.ChooseItem(IDC_PAGES_PER_SHEET, "9");
        EXPECT_TRUE(host.IsEnabled(IDC_DUPLEX_SHORT_EDGE));
        host.Click(IDC_DUPLEX_SHORT_EDGE);
        EXPECT_EQ(app.block().duplexMode(), 3);
        EXPECT_EQ(host.Bitmap(IDC_PREVIEW_PICTURE), IDB_PREVIEW_PORTRAIT_SHORT_9);
        host.PressOk();
    });
}

// One page per sheet has no page borders: unchecked, disabled and 0, at activation and when
// chosen; more pages enable the box again.
TEST_F(LayoutPageTest, PageBorders) {
    AppState app("paper.ppd");
    SetUpBlock(app);
    RunPage(host, page, [&] {
        EXPECT_EQ(host.Check(IDC_PRINT_PAGE_BORDERS), ui::kChecked);
        host.ChooseItem(IDC_PAGES_PER_SHEET, "1");
        EXPECT_EQ(app.block().pagesPerSheet(), 1);
        EXPECT_EQ(app.block().printPageBorders(), 0);
        EXPECT_EQ(host.Check(IDC_PRINT_PAGE_BORDERS), ui::kUnchecked);
        EXPECT_FALSE(host.IsEnabled(IDC_PRINT_PAGE_BORDERS));
        host.ChooseItem(IDC_PAGES_PER_SHEET, "16");
        EXPECT_TRUE(host.IsEnabled(IDC_PRINT_PAGE_BORDERS));
        host.Click(IDC_PRINT_PAGE_BORDERS);
        EXPECT_EQ(app.block().printPageBorders(), 1);
        host.Click(IDC_PRINT_PAGE_BORDERS);
        EXPECT_EQ(app.block().printPageBorders(), 0);
        host.PressCancel();
    });

    AppState again("paper.ppd");
    SetUpBlock(again);
    again.block().setPagesPerSheet(1);
    CLayout layout;
    RunPage(host, layout, [&] {
        EXPECT_FALSE(host.IsEnabled(IDC_PRINT_PAGE_BORDERS));
        EXPECT_EQ(host.Check(IDC_PRINT_PAGE_BORDERS), ui::kUnchecked);
        host.PressCancel();
    });
    EXPECT_EQ(again.block().printPageBorders(), 0);
}

// Orientation: the radio checked for each stored value, the value each radio stores, and the
// landscape pictures for everything but portrait.
TEST_F(LayoutPageTest, Orientation) {
    const struct {
        int stored, checked, bitmap;
    } shown[] = {
        {1, IDC_ORIENT_PORTRAIT, IDB_PREVIEW_PORTRAIT_LONG_4},
        {2, IDC_ORIENT_LANDSCAPE, IDB_PREVIEW_LANDSCAPE_LONG_4},
        {270, IDC_ORIENT_ROTATED, IDB_PREVIEW_LANDSCAPE_LONG_4},
        {5, IDC_ORIENT_ROTATED, IDB_PREVIEW_LANDSCAPE_LONG_4},
    };
    for (const auto& c : shown) {
        AppState app("paper.ppd");
        SetUpBlock(app);
        app.block().setOrientation(static_cast<std::int16_t>(c.stored));
        CLayout layout;
        RunPage(host, layout, [&] {
            EXPECT_EQ(host.Check(c.checked), ui::kChecked) << c.stored;
            EXPECT_EQ(host.Bitmap(IDC_PREVIEW_PICTURE), c.bitmap) << c.stored;
            host.PressCancel();
        });
    }

    const struct {
        int clicked, stored, bitmap;
    } clicks[] = {
        {IDC_ORIENT_ROTATED, 270, IDB_PREVIEW_LANDSCAPE_LONG_4},
        {IDC_ORIENT_PORTRAIT, 1, IDB_PREVIEW_PORTRAIT_LONG_4},
        {IDC_ORIENT_LANDSCAPE, 2, IDB_PREVIEW_LANDSCAPE_LONG_4},
    };
    AppState app("paper.ppd");
    SetUpBlock(app);
    RunPage(host, page, [&] {
        for (const auto& c : clicks) {
            host.Click(c.clicked);
            EXPECT_EQ(app.block().orientation(), c.stored) << c.clicked;
            EXPECT_EQ(host.Bitmap(IDC_PREVIEW_PICTURE), c.bitmap) << c.clicked;
        }
        host.PressCancel();
    });
}

// The picture sits in the middle of the preview frame, at the size of its bitmap.
void ExpectPreviewCentred(TestHost& host, int expectedSize) {
    const ui::Rect frame = host.Control(IDC_PREVIEW_GROUP).GetWindowRect();
    const ui::Rect picture = host.Control(IDC_PREVIEW_PICTURE).GetWindowRect();
    const ui::Size size = host.Picture(IDC_PREVIEW_PICTURE).GetBitmapSize();
    EXPECT_EQ(size, (ui::Size{expectedSize, expectedSize}));
    EXPECT_EQ(picture.Width(), size.cx);
    EXPECT_EQ(picture.Height(), size.cy);
    EXPECT_LE(std::abs((picture.left - frame.left) - (frame.right - picture.right)), 1);
    EXPECT_LE(std::abs((picture.top - frame.top) - (frame.bottom - picture.bottom)), 1);
}

// At every screen scale the picture is the one drawn for it (160 pixels at 96 DPI), or at 200 %
// the 96 DPI one doubled, centred in the frame the dialog units make.
TEST_F(LayoutPageTest, PreviewIsCentredAtEveryScale) {
    const struct {
        int dpi;
        int size;
    } scales[] = {{96, 160}, {120, 200}, {144, 240}, {192, 320}};
    for (const auto& scale : scales) {
        SCOPED_TRACE(scale.dpi);
        TestHost scaled;
        scaled.SetDpi(scale.dpi);
        CLayout layout;
        AppState app("paper.ppd");
        SetUpBlock(app);
        RunPage(scaled, layout, [&] {
            for (int pages : {4, 99}) {
                scaled.ChooseItem(IDC_PAGES_PER_SHEET,
                                  pages == 99 ? kBooklet : std::to_string(pages));
                ExpectPreviewCentred(scaled, scale.size);
            }
            scaled.PressCancel();
        });
    }
}

// Moved to a screen of another scale, the page shows the picture drawn for it, centred in the
// frame as the system laid it out again; the layout itself stays.
TEST_F(LayoutPageTest, PreviewFollowsAChangeOfScreen) {
    AppState app("paper.ppd");
    SetUpBlock(app);
    RunPage(host, page, [&] {
        ExpectPreviewCentred(host, 160);
        host.ChangeDpi(144);
        EXPECT_EQ(host.Bitmap(IDC_PREVIEW_PICTURE), IDB_PREVIEW_PORTRAIT_LONG_4);
        ExpectPreviewCentred(host, 240);
        host.ChangeDpi(120);
        ExpectPreviewCentred(host, 200);
        host.PressCancel();
    });
    EXPECT_EQ(app.block().pagesPerSheet(), 4);
    EXPECT_EQ(app.block().duplexMode(), 2);
}

// The picture is loaded when the layout changes, not on every refresh: once when the page
// starts (its initialisation and first activation show the same layout), not when it becomes
// current again or a click leaves the layout as it was; a new run of the sheet has a new
// window, whose template picture the page replaces again.
TEST_F(LayoutPageTest, PreviewLoadedOnlyWhenItChanges) {
    AppState app("paper.ppd");
    SetUpBlock(app);
    const int before = host.BitmapLoads();
    const auto loads = [&] { return host.BitmapLoads() - before; };
    RunPage(host, page, [&] {
        EXPECT_EQ(loads(), 2) << "the template's picture and the page's";
        host.SelectPage(1);
        host.SelectPage(0);
        EXPECT_EQ(loads(), 2) << "current again";
        host.Click(IDC_ORIENT_PORTRAIT);
        EXPECT_EQ(loads(), 2) << "portrait again";
        host.Click(IDC_ORIENT_LANDSCAPE);
        EXPECT_EQ(loads(), 3) << "landscape";
        EXPECT_EQ(host.Bitmap(IDC_PREVIEW_PICTURE), IDB_PREVIEW_LANDSCAPE_LONG_4);
        host.PressCancel();
    });
    RunPage(host, page, [&] {
        EXPECT_EQ(host.Bitmap(IDC_PREVIEW_PICTURE), IDB_PREVIEW_LANDSCAPE_LONG_4);
        EXPECT_EQ(loads(), 5) << "the second sheet's template picture and the page's";
        host.PressCancel();
    });
}

// Without a model the page still shows the block's layout (only the PPD's constraints are
// missing), and its handlers write and show.
TEST_F(LayoutPageTest, WithoutModel) {
    AppState app;
    SetUpBlock(app);
    RunPage(host, page, [&] {
        EXPECT_EQ(host.Combo(IDC_PAGES_PER_SHEET).GetCount(), 7);
        EXPECT_EQ(host.SelectedText(IDC_PAGES_PER_SHEET), "4");
        EXPECT_EQ(host.Check(IDC_ORIENT_PORTRAIT), ui::kChecked);
        EXPECT_EQ(host.Check(IDC_DUPLEX_LONG_EDGE), ui::kChecked);
        EXPECT_EQ(host.Check(IDC_PRINT_PAGE_BORDERS), ui::kChecked);
        EXPECT_EQ(host.Bitmap(IDC_PREVIEW_PICTURE), IDB_PREVIEW_PORTRAIT_LONG_4);
        host.Click(IDC_ORIENT_LANDSCAPE);
        EXPECT_EQ(app.block().orientation(), 2);
        EXPECT_EQ(host.Bitmap(IDC_PREVIEW_PICTURE), IDB_PREVIEW_LANDSCAPE_LONG_4);
        host.PressCancel();
    });
}

// A paper-size or output-bin option without a display text, reached before the block's
// option, leaves out only the PPD's constraints against duplex printing: the page shows the
// block's layout, and a choice made with the keyboard shows at once.
TEST_F(LayoutPageTest, UnusableOptionSkipsOnlyTheConstraints) {
    const char kPpd[] = "*PPD-Adobe: \"4.3\"\n"
                        "*OpenUI *Duplex/Duplex: PickOne\n"
                        "*Duplex None/Nie: \"\"\n"
                        "*Duplex DuplexNoTumble/Dlh<9A><ED>: \"\"\n"
                        "*CloseUI: *Duplex\n"
                        "*PageSize A4/A4: \"\"\n"
                        "*PageSize Legal: \"\"\n"
                        "*PageSize A5/A5: \"\"\n"
                        "*OpenUI *OutputBin/Priehradka: PickOne\n"
                        "*OutputBin Upper/Horn<E1>: \"\"\n"
                        "*OutputBin Rear: \"\"\n"
                        "*OutputBin FaceUp/Hore: \"\"\n"
                        "*CloseUI: *OutputBin\n"
                        "*UIConstraints: *PageSize A4 *Duplex DuplexNoTumble\n"
                        "*UIConstraints: *Duplex DuplexNoTumble *PageSize A4\n";
    const struct {
        int paperSize, outputBin;
        bool forced;
    } cases[] = {{9, 1, true}, {11, 1, false}, {9, 6, false}, {9, 2, false}};
    for (const auto& c : cases) {
        AppState app(AppState::Source::Text, kPpd);
        ASSERT_TRUE(app.loaded());
        SetUpBlock(app);
        app.block().setPaperSize(static_cast<std::int16_t>(c.paperSize));
        app.block().setOutputBin(static_cast<std::int16_t>(c.outputBin));
        CLayout layout;
        RunPage(host, layout, [&] {
            const std::string what =
                std::to_string(c.paperSize) + "/" + std::to_string(c.outputBin);
            EXPECT_EQ(host.SelectedText(IDC_PAGES_PER_SHEET), "4") << what;
            EXPECT_EQ(host.Check(IDC_ORIENT_PORTRAIT), ui::kChecked) << what;
            EXPECT_EQ(host.Check(c.forced ? IDC_DUPLEX_NONE : IDC_DUPLEX_LONG_EDGE), ui::kChecked)
                << what;
            // "9" typed on the closed list: the count, its borders and its picture at once.
            host.TypeListLetter(IDC_PAGES_PER_SHEET, '9');
            EXPECT_EQ(app.block().pagesPerSheet(), 9) << what;
            EXPECT_TRUE(host.IsEnabled(IDC_PRINT_PAGE_BORDERS)) << what;
            EXPECT_EQ(host.Bitmap(IDC_PREVIEW_PICTURE),
                      c.forced ? IDB_PREVIEW_PORTRAIT_SINGLE_9 : IDB_PREVIEW_PORTRAIT_LONG_9)
                << what;
            host.PressCancel();
        });
    }
}

// A count the list does not offer is sent as the entry the list shows, with that entry's
// border rule.
TEST_F(LayoutPageTest, CountOutsideTheListIsSentAsShown) {
    for (const int received : {3, 0, -16836, 4730}) {
        AppState app("paper.ppd");
        SetUpBlock(app);
        app.block().setPagesPerSheet(static_cast<std::int16_t>(received));
        CLayout layout;
        RunPage(host, layout, [&] {
            EXPECT_EQ(host.SelectedText(IDC_PAGES_PER_SHEET), "1") << received;
            EXPECT_EQ(host.Check(IDC_PRINT_PAGE_BORDERS), ui::kUnchecked) << received;
            EXPECT_EQ(host.Bitmap(IDC_PREVIEW_PICTURE), IDB_PREVIEW_PORTRAIT_LONG_1) << received;
            host.PressOk();
        });
        EXPECT_EQ(app.block().pagesPerSheet(), 1) << received;
        EXPECT_EQ(app.block().printPageBorders(), 0) << received;
    }
}

// Context help: the page's own id and the listed controls' ids.
TEST_F(LayoutPageTest, ContextHelpIds) {
    AppState app("paper.ppd");
    SetUpBlock(app);
    RunPage(host, page, [&] {
        EXPECT_EQ(ui::Window(host.ActiveDialog()).GetContextHelpId(), unsigned{IDD_LAYOUT});
        for (int id :
             {IDC_ORIENT_PORTRAIT, IDC_ORIENT_ROTATED, IDC_DUPLEX_SHORT_EDGE, IDC_PAGES_PER_SHEET,
              IDC_PRINT_PAGE_BORDERS, IDC_PREVIEW_GROUP, IDC_ORIENTATION_GROUP})
            EXPECT_EQ(host.Control(id).GetContextHelpId(), static_cast<unsigned>(id)) << id;
        EXPECT_EQ(host.Control(IDC_PREVIEW_PICTURE).GetContextHelpId(), 0u);
        host.PressCancel();
    });
}

} // namespace
} // namespace pages
