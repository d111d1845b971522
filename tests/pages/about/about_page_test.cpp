#include "pages/about/about_page.h"

#include <cstring>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/config_app.h"
#include "pages/fonts/font_substitution_store.h"
#include "pages/shared/registered_command.h"
#include "pages/shared/web_browser.h"
#include "ppd/ppd.h"
#include "tests/support/program_fixture.h"

namespace pages::testing {
namespace {

using namespace app;
using app::testing::kColorPpd;
using app::testing::ProgramTest;

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ui::headless::PaintOp;

constexpr char kPrinterPage[] = "http://www.vela-tlaciarne.example/";
constexpr char kShopPage[] = "http://obchod.vela-tlaciarne.example/";

class AboutPageTest : public ProgramTest {
protected:
    // Runs the About page alone in a sheet and acts on it.
    void OnPage(const std::function<void()>& act) {
        CAbout about;
        ui::PropertySheet sheet("Vela");
        sheet.AddPage(about);
        host.OnSheet([&] {
            act();
            host.PressCancel();
        });
        sheet.DoModal();
    }

    void SetBrowserCommand(std::string_view command) {
        registry.Put(pages::kHtmlOpenCommandKey, "", platform::RegistryType::String,
                     std::string(command) + '\0');
    }
};

// The version line exactly as the program states it (two blanks before 3.5.0 and one after),
// then a blank line, the maker's notice, a blank line and the licensed components' block.
TEST_F(AboutPageTest, VersionTextAndNotices) {
    OnPage([&] {
        const std::string text = host.Text(IDC_ABOUT_TEXT);
        EXPECT_EQ(text, AboutText());
        const std::string version = "PostScriptov\xFD ovl\xE1"
                                    "da\xE8 tla\xE8iarne verzie 3.0.4 pre Windows\xAE "
                                    "98/95/Millennium  3.5.0 \r\n\r\n";
        EXPECT_EQ(text.substr(0, version.size()), version);
        const std::string rest = text.substr(version.size());
        const std::size_t blank = rest.find("\r\n\r\n");
        ASSERT_NE(blank, std::string::npos);
        EXPECT_NE(rest.substr(0, blank).find("Vela tla\xE8iarne"), std::string::npos);
        EXPECT_EQ(rest.find("\r\n\r\n", blank + 4), std::string::npos); // no third paragraph
        // A heading and two holders with their years.
        const std::string notices = rest.substr(blank + 4);
        EXPECT_EQ(std::count(notices.begin(), notices.end(), '\n'), 2);
        EXPECT_NE(notices.find("2001"), std::string::npos);
    });
}

// The picture takes the bitmap's size, centred horizontally on the page and halfway between the
// page's top and the text.
void ExpectPictureCentred(ui::headless::TestHost& host, ui::Size expected) {
    const ui::Static picture = host.Picture(IDC_ABOUT_PICTURE);
    const ui::Size bitmap = picture.GetBitmapSize();
    EXPECT_EQ(bitmap, expected);
    const ui::Window page(host.ActiveDialog());
    const ui::Rect pageRect = page.GetWindowRect();
    const ui::Rect textRect = host.EditControl(IDC_ABOUT_TEXT).GetWindowRect();
    const ui::Rect placed = page.ScreenToClient(picture.GetWindowRect());
    EXPECT_EQ(placed.left, (pageRect.Width() + 1 - bitmap.cx) / 2);
    EXPECT_EQ(placed.top, (textRect.top - pageRect.top - bitmap.cy) / 2);
    EXPECT_EQ(placed.Width(), bitmap.cx);
    EXPECT_EQ(placed.Height(), bitmap.cy);
}

// The picture at 96 DPI; the two link buttons are drawn by the page.
TEST_F(AboutPageTest, PictureCentredAndLinksOwnerDrawn) {
    OnPage([&] {
        ExpectPictureCentred(host, {240, 72});
        for (const int id : {IDC_ABOUT_PRINTER_LINK, IDC_ABOUT_SHOP_LINK})
            EXPECT_EQ(host.ButtonControl(id).GetStyle() & ui::kBsTypeMask, ui::kBsOwnerDraw);
        EXPECT_NE(host.ButtonControl(IDC_ABOUT_RESET).GetStyle() & ui::kBsTypeMask,
                  ui::kBsOwnerDraw);
    });
}

// On a screen of 150 % the picture drawn for it; moved to one of 200 %, the picture of 100 %
// doubled, placed by the same rule in the page as laid out again.
TEST_F(AboutPageTest, PictureFollowsTheScreensScale) {
    host.SetDpi(144);
    OnPage([&] {
        ExpectPictureCentred(host, {360, 108});
        host.ChangeDpi(192);
        ExpectPictureCentred(host, {480, 144});
        EXPECT_EQ(host.Bitmap(IDC_ABOUT_PICTURE), IDB_ABOUT);
    });
}

// The sheet sizes its pages to the largest one after their initialisation: shown again, the page
// places its picture by the same rule on the page as it now is.
TEST_F(AboutPageTest, PictureCentredOnThePageAsTheSheetSizedIt) {
    CAbout about;
    ui::PropertyPage other(IDD_LAYOUT);
    ui::PropertySheet sheet("Vela");
    sheet.AddPage(about);
    sheet.AddPage(other);
    host.OnSheet([&] {
        const ui::Window page(about.GetHandle());
        const ui::Rect before = page.GetWindowRect();
        const ui::Point origin = ui::Window(host.Parent(page.GetHandle()))
                                     .ScreenToClient(ui::Point{before.left, before.top});
        host.SetWindowPos(page.GetHandle(), origin.x, origin.y, before.Width() + 60,
                          before.Height());
        host.SelectPage(1);
        host.SelectPage(0);
        ExpectPictureCentred(host, {240, 72});
        host.PressCancel();
    });
    sheet.DoModal();
}

// Owner drawing: a push-button frame (pressed while the mouse holds it), the caption in blue,
// centred on one line, then the previous text colour again.
TEST_F(AboutPageTest, LinkButtonDrawing) {
    struct Case {
        int id;
        bool pressed;
        const char* caption;
    };
    const Case cases[] = {
        {IDC_ABOUT_PRINTER_LINK, false, kPrinterPage},
        {IDC_ABOUT_PRINTER_LINK, true, kPrinterPage},
        {IDC_ABOUT_SHOP_LINK, true, kShopPage},
    };
    OnPage([&] {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.caption);
            host.Paint(c.id, c.pressed);
            const std::vector<PaintOp>& ops = host.LastPaint();
            ASSERT_EQ(ops.size(), 4u);
            EXPECT_EQ(ops[0].kind, PaintOp::Kind::PushButtonFrame);
            EXPECT_EQ(ops[0].pushed, c.pressed);
            EXPECT_EQ(ops[1].kind, PaintOp::Kind::TextColor);
            EXPECT_EQ(ops[1].color, 0x00FF0000u);
            EXPECT_EQ(ops[2].kind, PaintOp::Kind::Text);
            EXPECT_EQ(ops[2].text, c.caption);
            EXPECT_EQ(ops[2].color, 0x00FF0000u);
            EXPECT_EQ(ops[2].format, ui::kDtCenter | ui::kDtVCenter | ui::kDtSingleLine);
            EXPECT_EQ(ops[2].rect, ops[0].rect);
            EXPECT_EQ(ops[3].kind, PaintOp::Kind::TextColor);
            EXPECT_NE(ops[3].color, 0x00FF0000u);
        }
    });
}

// The buttons open their pages with the browser command registered for HTML files, used as
// stored (placeholders kept), one blank and the address; nothing happens without a command.
TEST_F(AboutPageTest, LinksStartTheBrowser) {
    // 255 bytes and the NUL fill the 256 bytes read; the address comes on top of that.
    const std::string longCommand = "\"C:\\" + std::string(244, 'b') + "\\x.exe\"";
    const std::string tooLong = "\"C:\\" + std::string(245, 'b') + "\\x.exe\"";
    struct Case {
        const char* name;
        std::optional<std::string> command;
        int button;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"quoted path and switch", "\"C:\\Program Files\\Prehliadac\\prehliadac.exe\" -nohome",
         IDC_ABOUT_PRINTER_LINK,
         std::string("\"C:\\Program Files\\Prehliadac\\prehliadac.exe\" -nohome ") + kPrinterPage},
        {"placeholder kept", "browser.exe -url \"%1\"", IDC_ABOUT_SHOP_LINK,
         std::string("browser.exe -url \"%1\" ") + kShopPage},
        {"command filling the buffer", longCommand, IDC_ABOUT_PRINTER_LINK,
         longCommand + " " + kPrinterPage},
        {"command longer than the buffer", tooLong, IDC_ABOUT_PRINTER_LINK, std::nullopt},
        {"no command registered", std::nullopt, IDC_ABOUT_PRINTER_LINK, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        registry.Clear();
        launcher.commands.clear();
        launcher.shows.clear();
        if (c.command)
            SetBrowserCommand(*c.command);
        OnPage([&] { host.Click(c.button); });
        if (c.expected) {
            EXPECT_THAT(launcher.commands, ElementsAre(*c.expected));
            EXPECT_THAT(launcher.shows, ElementsAre(platform::kShow));
        } else {
            EXPECT_THAT(launcher.commands, IsEmpty());
        }
        EXPECT_THAT(host.MessageBoxes(), IsEmpty());
    }
    EXPECT_EQ(longCommand.size() + 1, pages::kMaxRegisteredCommandBytes);
}

// The notices come up without a selection, whether the page opens on them or the Tab key
// brings the focus back to them (the dialog manager selects an edit's whole text then).
TEST_F(AboutPageTest, TextShowsNoSelection) {
    OnPage([&] {
        const ui::Handle text = host.Control(IDC_ABOUT_TEXT).GetHandle();
        EXPECT_EQ(host.FocusedId(), IDC_ABOUT_TEXT);
        const auto [openStart, openEnd] = host.EditSelection(text);
        EXPECT_EQ(openStart, openEnd);
        host.FocusControl(IDC_ABOUT_RESET);
        host.FocusControl(IDC_ABOUT_TEXT);
        const auto [backStart, backEnd] = host.EditSelection(text);
        EXPECT_EQ(backStart, backEnd);
    });
}

// Context help: the page's own id, and each control's id.
TEST_F(AboutPageTest, ContextHelpIds) {
    OnPage([&] {
        EXPECT_EQ(ui::Window(host.ActiveDialog()).GetContextHelpId(), unsigned{IDD_ABOUT});
        for (const int id :
             {IDC_ABOUT_TEXT, IDC_ABOUT_PRINTER_LINK, IDC_ABOUT_RESET, IDC_ABOUT_SHOP_LINK})
            EXPECT_EQ(host.Control(id).GetContextHelpId(), static_cast<unsigned>(id)) << id;
    });
}

// The reset button resets the live block (with the loaded PPD's defaults) and the printer's
// font substitution table, without asking and without a message.
TEST_F(AboutPageTest, ResetButton) {
    ConfigApp& app = TheApp();
    app.SetPpdDocument(ppd::ParsePpdBytes(kColorPpd, std::strlen(kColorPpd), "color.ppd"));
    ASSERT_NE(app.ppdDocument, nullptr);
    app.settings.setPrinterName("Vela");
    app.settings.setCopies(7);
    app.settings.setPaperSize(1);
    app.settings.setAccountingAuthor("jana");
    const std::string driverData = pages::FontSubstitutionKeyPath("Vela");
    registry.Put(driverData, pages::kDefaultFontTableValue, platform::RegistryType::Binary,
                 std::string("Arial\0Helvetica\0\0", 17));
    registry.Put(driverData, pages::kCurrentFontTableValue, platform::RegistryType::Binary,
                 std::string("\0", 1));
    OnPage([&] { host.Click(IDC_ABOUT_RESET); });
    EXPECT_EQ(app.settings.copies(), 1);
    EXPECT_EQ(app.settings.paperSize(), 9); // A4, the PPD's default
    EXPECT_EQ(app.settings.accountingAuthor(), "jana");
    EXPECT_EQ(registry.Get(driverData, pages::kCurrentFontTableValue),
              registry.Get(driverData, pages::kDefaultFontTableValue));
    EXPECT_THAT(host.MessageBoxes(), IsEmpty());
}

} // namespace
} // namespace pages::testing
