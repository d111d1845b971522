// The Fonts page on the headless backend: the two lists, the download/substitute switch, the
// substitution table as edited and as stored in "FontSub" byte for byte, the restore of the
// default table, and what Cancel and a page never shown leave in the registry.
#include "pages/fonts/fonts_page.h"

#include <cstring>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/font_enumerator.h"
#include "tests/pages/page_test_support.h"

namespace pages {
namespace {

using testing::AppState;
using ::testing::ElementsAre;
using testing::RunPage;
using ui::headless::TestHost;

// The bytes of a literal, its inner NULs included.
template <std::size_t N>
std::string Bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

const std::string kDownload = kDownloadFontName;
const std::string kKey = FontSubstitutionKeyPath("Vela Test");
const std::string kHelvetica = Bytes("Arial\0Helvetica\0\0");

class FontsPageTest : public ::testing::Test {
protected:
    FontsPageTest() { app.block().setFontSubstitution(1); }

    void Put(const char* value, const std::string& bytes) {
        app.registry.Put(kKey, value, platform::RegistryType::Binary, bytes);
    }
    std::optional<std::string> Stored(const char* value = kCurrentFontTableValue) {
        const auto stored = app.registry.Get(kKey, value);
        if (stored) {
            EXPECT_EQ(stored->type, platform::RegistryType::Binary);
        }
        return stored ? std::optional<std::string>(stored->data) : std::nullopt;
    }
    // The pair chosen for `family`: its device font as the page shows it.
    std::string DeviceShownFor(const std::string& family) {
        host.ChooseItem(IDC_FONT_SYSTEM_LIST, family);
        return host.List(IDC_FONT_DEVICE_LIST).GetSelectedText();
    }

    AppState app;
    platform::FixedFontEnumerator fonts{{"Times New Roman", "Arial", "Courier New"}};
    platform::ScopedServices fontService{platform::Services{nullptr, nullptr, &fonts}};
    TestHost host;
    CFonts page;
};

// The first activation without a current table starts from the default one, which becomes the
// current one at once; the lists hold each family and each resident font once.
TEST_F(FontsPageTest, FirstActivationFromTheDefaultTable) {
    fonts.families = {"Times New Roman", "Arial", "arial", "Courier New", "Arial", ""};
    Put(kDefaultFontTableValue, kHelvetica);
    Put(kResidentFontsValue, Bytes("Helvetica\0Courier\0helvetica\0Times-Roman\0\0Symbol\0"));
    RunPage(host, page, [&] {
        EXPECT_EQ(Stored(), kHelvetica);
        EXPECT_THAT(host.Items(IDC_FONT_SYSTEM_LIST),
                    ElementsAre("Arial", "Courier New", "Times New Roman"));
        EXPECT_THAT(host.Items(IDC_FONT_DEVICE_LIST),
                    ElementsAre(kDownload, "Helvetica", "Courier", "Times-Roman"));
        EXPECT_EQ(host.List(IDC_FONT_SYSTEM_LIST).GetSelectedText(), "Arial");
        EXPECT_EQ(host.List(IDC_FONT_DEVICE_LIST).GetSelectedText(), "Helvetica");
        EXPECT_EQ(DeviceShownFor("Courier New"), kDownload);
        EXPECT_EQ(DeviceShownFor("Arial"), "Helvetica");
        EXPECT_EQ(ui::Window(host.ActiveDialog()).GetContextHelpId(), unsigned{IDD_FONTS});
        for (int id : {IDC_FONT_DOWNLOAD, IDC_FONT_SUBSTITUTE, IDC_FONT_SYSTEM_LIST,
                       IDC_FONT_DEVICE_LIST, IDC_FONT_DEFAULT_TABLE, IDC_FONT_DOWNLOAD_MANAGER})
            EXPECT_EQ(host.Control(id).GetContextHelpId(), static_cast<unsigned>(id)) << id;
        EXPECT_FALSE(host.IsShown(IDC_FONT_DOWNLOAD_MANAGER));
        EXPECT_FALSE(host.IsShown(IDC_FONT_SEND_AS));
        host.PressOk();
    });
    EXPECT_EQ(Stored(), kHelvetica);
    EXPECT_EQ(app.registry.OpenKeyCount(), 0u);
}

// Without any table or resident font list the page starts empty with "Načítať" alone.
TEST_F(FontsPageTest, NothingStored) {
    RunPage(host, page, [&] {
        EXPECT_THAT(host.Items(IDC_FONT_DEVICE_LIST), ElementsAre(kDownload));
        EXPECT_EQ(host.List(IDC_FONT_DEVICE_LIST).GetSelectedText(), kDownload);
        EXPECT_EQ(Stored(), std::nullopt);
        host.PressOk();
    });
    EXPECT_EQ(Stored(), Bytes("\0"));
}

// The switch between downloading and substituting: the radio buttons show the block's choice,
// the table's controls work only with substitution, and the choice reaches the block at once.
TEST_F(FontsPageTest, DownloadOrSubstitute) {
    for (const std::int16_t received : {0, 1, 7}) {
        SCOPED_TRACE(received);
        app.block().setFontSubstitution(received);
        CFonts fontsPage;
        RunPage(host, fontsPage, [&] {
            const bool substitute = received != 0;
            EXPECT_EQ(host.Check(IDC_FONT_SUBSTITUTE), substitute ? ui::kChecked : ui::kUnchecked);
            EXPECT_EQ(host.Check(IDC_FONT_DOWNLOAD), substitute ? ui::kUnchecked : ui::kChecked);
            for (int id : {IDC_FONT_SYSTEM_LIST, IDC_FONT_DEVICE_LIST, IDC_FONT_DEFAULT_TABLE})
                EXPECT_EQ(host.IsEnabled(id), substitute) << id;
            host.Click(substitute ? IDC_FONT_DOWNLOAD : IDC_FONT_SUBSTITUTE);
            EXPECT_EQ(app.block().fontSubstitution(), substitute ? 0 : 1);
            for (int id : {IDC_FONT_SYSTEM_LIST, IDC_FONT_DEVICE_LIST, IDC_FONT_DEFAULT_TABLE})
                EXPECT_EQ(host.IsEnabled(id), !substitute) << id;
            host.PressOk();
        });
        EXPECT_EQ(app.block().fontSubstitution(), received != 0 ? 0 : 1);
    }
}

// Choices of device fonts as stored on leaving: a family with a pair gets the new device font
// in every pair of it, a family without one appends a pair, "Načítať" is stored as a name.
TEST_F(FontsPageTest, ChoicesReachTheStoredTable) {
    Put(kCurrentFontTableValue,
        Bytes("Arial\0Helvetica\0Times New Roman\0Times\0Arial\0Courier\0\0"));
    Put(kResidentFontsValue, Bytes("Helvetica\0Courier\0Times\0\0"));
    RunPage(host, page, [&] {
        EXPECT_EQ(host.List(IDC_FONT_DEVICE_LIST).GetSelectedText(), "Helvetica");
        host.ChooseItem(IDC_FONT_DEVICE_LIST, "Courier");
        host.ChooseItem(IDC_FONT_SYSTEM_LIST, "Courier New");
        host.ChooseItem(IDC_FONT_DEVICE_LIST, "Courier");
        host.ChooseItem(IDC_FONT_SYSTEM_LIST, "Times New Roman");
        EXPECT_EQ(host.List(IDC_FONT_DEVICE_LIST).GetSelectedText(), "Times");
        host.ChooseItem(IDC_FONT_DEVICE_LIST, kDownload);
        EXPECT_EQ(DeviceShownFor("Arial"), "Courier");
        // Nothing is written before the page is left.
        EXPECT_EQ(Stored(), Bytes("Arial\0Helvetica\0Times New Roman\0Times\0Arial\0Courier\0\0"));
        host.SelectPage(1);
        host.PressCancel();
    });
    EXPECT_EQ(Stored(), "Arial" + Bytes("\0Courier\0Times New Roman\0") + kDownload +
                            Bytes("\0Arial\0Courier\0Courier New\0Courier\0\0"));
}

// A device font named in the table that the printer does not list leaves nothing selected; a
// family compared by exact text.
TEST_F(FontsPageTest, DeviceFontNotListed) {
    fonts.families = {"Arial", "ARIAL NARROW"};
    Put(kCurrentFontTableValue, Bytes("Arial\0Univers\0Arial Narrow\0Helvetica\0\0"));
    Put(kResidentFontsValue, Bytes("Helvetica\0\0"));
    RunPage(host, page, [&] {
        EXPECT_EQ(host.List(IDC_FONT_DEVICE_LIST).GetCurSel(), ui::kListError);
        EXPECT_EQ(DeviceShownFor("ARIAL NARROW"), kDownload);
        host.PressCancel();
    });
}

// The restore button makes the default table current at once and shows it.
TEST_F(FontsPageTest, RestoreDefaultTable) {
    Put(kCurrentFontTableValue, Bytes("Arial\0Courier\0\0"));
    Put(kDefaultFontTableValue, kHelvetica);
    Put(kResidentFontsValue, Bytes("Helvetica\0Courier\0\0"));
    RunPage(host, page, [&] {
        host.ChooseItem(IDC_FONT_SYSTEM_LIST, "Times New Roman");
        host.ChooseItem(IDC_FONT_DEVICE_LIST, "Courier");
        EXPECT_EQ(host.List(IDC_FONT_DEVICE_LIST).GetSelectedText(), "Courier");
        host.Click(IDC_FONT_DEFAULT_TABLE);
        EXPECT_EQ(Stored(), kHelvetica);
        EXPECT_EQ(host.List(IDC_FONT_SYSTEM_LIST).GetSelectedText(), "Arial");
        EXPECT_EQ(host.List(IDC_FONT_DEVICE_LIST).GetSelectedText(), "Helvetica");
        EXPECT_EQ(DeviceShownFor("Times New Roman"), kDownload);
        host.PressOk();
    });
    EXPECT_EQ(Stored(), kHelvetica);
    // The About page's reset reaches the same store through the page.
    Put(kCurrentFontTableValue, Bytes("\0"));
    page.RestoreDefaultFontTable();
    EXPECT_EQ(Stored(), kHelvetica);
}

// Cancel on the page drops the edits of this activation and releases the table; edits of an
// activation already left stay written whatever the sheet ends with.
TEST_F(FontsPageTest, CancelAndLeaving) {
    const std::string before = Bytes("Arial\0Courier\0\0");
    Put(kCurrentFontTableValue, before);
    Put(kResidentFontsValue, Bytes("Helvetica\0Courier\0\0"));
    RunPage(host, page, [&] {
        host.ChooseItem(IDC_FONT_DEVICE_LIST, "Helvetica");
        EXPECT_EQ(page.Table().Pairs().size(), 1u);
        host.PressCancel();
    });
    EXPECT_EQ(Stored(), before);
    EXPECT_TRUE(page.Table().Empty());

    CFonts again;
    RunPage(host, again, [&] {
        host.ChooseItem(IDC_FONT_DEVICE_LIST, "Helvetica");
        host.SelectPage(1);
        EXPECT_TRUE(again.Table().Empty());
        host.PressCancel();
    });
    EXPECT_EQ(Stored(), kHelvetica);
    EXPECT_EQ(app.registry.OpenKeyCount(), 0u);
}

// With no family to substitute (no TrueType fonts) a device font chosen adds no pair: an
// empty family would end the stored table and lose the pairs after it.
TEST_F(FontsPageTest, NoPairWithAnEmptyName) {
    fonts.families.clear();
    Put(kCurrentFontTableValue, kHelvetica);
    Put(kResidentFontsValue, Bytes("Helvetica\0Courier\0\0"));
    RunPage(host, page, [&] {
        EXPECT_TRUE(host.Items(IDC_FONT_SYSTEM_LIST).empty());
        host.ChooseItem(IDC_FONT_DEVICE_LIST, "Courier");
        host.PressOk();
    });
    EXPECT_EQ(Stored(), kHelvetica);
}

// Names longer than the 63 characters a fixed buffer would take are shown and stored whole.
TEST_F(FontsPageTest, LongNames) {
    const std::string family(100, 'F');
    const std::string device(90, 'D');
    fonts.families = {family};
    Put(kResidentFontsValue, device + Bytes("\0\0"));
    RunPage(host, page, [&] {
        EXPECT_THAT(host.Items(IDC_FONT_SYSTEM_LIST), ElementsAre(family));
        host.ChooseItem(IDC_FONT_DEVICE_LIST, device);
        host.PressOk();
    });
    EXPECT_EQ(Stored(), family + '\0' + device + Bytes("\0\0"));
}

// A page that is never shown neither reads nor writes the registry, and leaves the switch as
// received.
TEST_F(FontsPageTest, NeverShown) {
    app.block().setFontSubstitution(0);
    testing::OtherPage first;
    ui::PropertySheet sheet("Vela Test");
    sheet.AddPage(first);
    sheet.AddPage(page);
    host.OnSheet([&] { host.PressOk(); });
    EXPECT_EQ(sheet.DoModal(), ui::kIdOk);
    EXPECT_FALSE(app.registry.HasKey(kKey));
    EXPECT_EQ(app.block().fontSubstitution(), 0);
}

// A printer name that fills its field without a terminator names the key by its 64 bytes.
TEST_F(FontsPageTest, PrinterNameWithoutTerminator) {
    std::memset(app.block().data() + 1, 'P', 64);
    app.block().data()[65] = 'X'; // the driver file path right after it
    RunPage(host, page, [&] {
        host.ChooseItem(IDC_FONT_DEVICE_LIST, kDownload);
        host.PressOk();
    });
    const auto stored =
        app.registry.Get(FontSubstitutionKeyPath(std::string(64, 'P')), kCurrentFontTableValue);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->data, "Arial" + Bytes("\0") + kDownload + Bytes("\0\0"));
}

} // namespace
} // namespace pages
