// The PostScript options dialog: what it shows, the end-of-job lists, the wait time checked
// while typed and on OK, an OK refused without a trace, and the header path that always fits
// its 63-character field (typed, browsed, or browsed and shortened).
#include "pages/features/postscript_options_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "tests/pages/features/features_test_support.h"
#include "tests/pages/page_test_support.h"

namespace pages {
namespace {

using namespace pages::testing;
using ::testing::ElementsAre;

const std::string kTimeoutRange = Cp1250(u8"Hodnota je mimo rozsahu. Mala by byť medzi 0 a 3000");
const std::string kHeaderTooLong =
    Cp1250(u8"Cesta k súboru je príliš dlhá: môže mať najviac 63 znakov.");
const std::string kStandardEod = Cp1250(u8"Štandardný");
const std::string kCompatibleEod = Cp1250(u8"Kompatibilný PJL");
const std::string kStart = Cp1250(u8"Začiatok");
const std::string kEnd = "Koniec";

// A path of `length` characters.
std::string PathOfLength(std::size_t length) {
    std::string path = "C:\\headers\\";
    path.append(length - path.size() - 3, 'x');
    return path + ".ps";
}

class PostScriptOptionsDialogTest : public ::testing::Test {
protected:
    // Error pages printed, a header in use, the compatible end of job with Ctrl-D at the start,
    // a wait of 120 seconds; the two options the dialog never offers set.
    static void SetUpBlock(AppState& app) {
        app::PrinterSettingsBlock& b = app.block();
        b.setUseDsc(1);
        b.setAllowPsEmulation(1);
        b.setPrintErrorInfo(1);
        b.setUseExternalHeader(1);
        b.setExternalHeaderPath("C:\\PS\\HEADER.PS");
        b.setEndOfDocType(2);
        b.setCtrlDPlacement(1);
        b.setJobWaitTimeout(120);
    }

    int Run(const std::function<void()>& body) {
        CPostScriptOptionsDialog dialog;
        host.OnDialog(IDD_POSTSCRIPT_OPTIONS, body);
        return dialog.DoModal();
    }

    void ExpectMessage(const std::string& text) {
        host.OnMessageBox([text](const ui::MessageBoxCall& box) {
            EXPECT_EQ(box.text, text);
            return ui::kIdOk;
        });
    }

    ui::headless::TestHost host;
};

// Opening shows the block; the two options the dialog does not offer are disabled and
// unchecked, so OK stores 0 in them (and what the block had in all the rest).
TEST_F(PostScriptOptionsDialogTest, ShowsTheBlock) {
    AppState app("features.ppd");
    app.InstallHelpFile();
    ASSERT_TRUE(app.loaded());
    SetUpBlock(app);
    EXPECT_EQ(Run([&] {
                  for (const int id : {IDC_PS_USE_DSC, IDC_PS_ALLOW_EMULATION}) {
                      EXPECT_FALSE(host.IsEnabled(id));
                      EXPECT_EQ(host.Check(id), ui::kUnchecked);
                  }
                  EXPECT_EQ(host.Check(IDC_PS_PRINT_ERRORS), ui::kChecked);
                  EXPECT_EQ(host.Check(IDC_PS_USE_HEADER), ui::kChecked);
                  EXPECT_TRUE(host.IsEnabled(IDC_PS_HEADER_PATH));
                  EXPECT_TRUE(host.IsEnabled(IDC_PS_HEADER_BROWSE));
                  EXPECT_EQ(host.Text(IDC_PS_HEADER_PATH), "C:\\PS\\HEADER.PS");
                  EXPECT_EQ(host.EditControl(IDC_PS_HEADER_PATH).GetLimitText(), 63);
                  EXPECT_THAT(host.Items(IDC_PS_EOD_MODE),
                              ElementsAre(kStandardEod, kCompatibleEod));
                  EXPECT_THAT(host.ItemData(IDC_PS_EOD_MODE), ElementsAre(0, 2));
                  EXPECT_EQ(host.SelectedText(IDC_PS_EOD_MODE), kCompatibleEod);
                  EXPECT_THAT(host.ItemData(IDC_PS_CTRLD_POSITION), ElementsAre(0, 1, 2, 3));
                  EXPECT_EQ(host.SelectedText(IDC_PS_CTRLD_POSITION), kStart);
                  EXPECT_EQ(host.Text(IDC_PS_JOB_TIMEOUT), "120");
                  EXPECT_EQ(ui::Window(host.ActiveDialog()).GetContextHelpId(),
                            unsigned{IDD_POSTSCRIPT_OPTIONS});
                  host.Click(IDC_PS_HELP);
                  EXPECT_EQ(host.HelpCalls().back().data, unsigned{IDD_POSTSCRIPT_OPTIONS});
                  host.PressOk();
              }),
              ui::kIdOk);
    EXPECT_EQ(app.block().useDsc(), 0);
    EXPECT_EQ(app.block().allowPsEmulation(), 0);
    EXPECT_EQ(app.block().printErrorInfo(), 1);
    EXPECT_EQ(app.block().useExternalHeader(), 1);
    EXPECT_EQ(app.block().externalHeaderPath(), "C:\\PS\\HEADER.PS");
    EXPECT_EQ(app.block().endOfDocType(), 2);
    EXPECT_EQ(app.block().ctrlDPlacement(), 1);
    EXPECT_EQ(app.block().jobWaitTimeout(), 120);
}

// The choices reach the block on OK; only the header check box writes before.
TEST_F(PostScriptOptionsDialogTest, OkStoresTheChoices) {
    AppState app("features.ppd");
    SetUpBlock(app);
    Run([&] {
        host.Click(IDC_PS_PRINT_ERRORS);
        host.ChooseItem(IDC_PS_EOD_MODE, kStandardEod);
        host.ChooseItem(IDC_PS_CTRLD_POSITION, kEnd);
        host.ReplaceText(IDC_PS_JOB_TIMEOUT, "3000");
        host.ReplaceText(IDC_PS_HEADER_PATH, "D:\\H.PS");
        EXPECT_EQ(app.block().printErrorInfo(), 1);
        EXPECT_EQ(app.block().jobWaitTimeout(), 120);
        host.Click(IDC_PS_USE_HEADER);
        EXPECT_EQ(app.block().useExternalHeader(), 0);
        // Unchecked: the path stays, only disabled.
        EXPECT_FALSE(host.IsEnabled(IDC_PS_HEADER_PATH));
        EXPECT_FALSE(host.IsEnabled(IDC_PS_HEADER_BROWSE));
        host.PressOk();
    });
    EXPECT_EQ(app.block().printErrorInfo(), 0);
    EXPECT_EQ(app.block().endOfDocType(), 0);
    EXPECT_EQ(app.block().ctrlDPlacement(), 2);
    EXPECT_EQ(app.block().jobWaitTimeout(), 3000);
    EXPECT_EQ(app.block().useExternalHeader(), 0);
    EXPECT_EQ(app.block().externalHeaderPath(), "D:\\H.PS");
}

// Without "EndOfDocType" the list is empty and OK stores -1.
TEST_F(PostScriptOptionsDialogTest, NoEndOfDocType) {
    AppState app(AppState::Source::Text, kPpdHeader + kResolutions);
    SetUpBlock(app);
    Run([&] {
        EXPECT_EQ(host.Combo(IDC_PS_EOD_MODE).GetCount(), 0);
        host.PressOk();
    });
    EXPECT_EQ(app.block().endOfDocType(), -1);
}

// The wait time is checked as it is typed: clearing it or going past 3000 raises the message
// at once, with the focus back in the edit.
TEST_F(PostScriptOptionsDialogTest, LiveCheck) {
    const struct {
        const char* typed;
        int messages;
    } cases[] = {{"3000", 0}, {"0", 0}, {"3001", 1}, {"", 1}, {"99999", 1}};
    for (const auto& c : cases) {
        AppState app("features.ppd");
        SetUpBlock(app);
        Run([&] {
            for (int i = 0; i < c.messages; ++i)
                ExpectMessage(kTimeoutRange);
            const std::size_t shown = host.MessageBoxes().size();
            host.ReplaceText(IDC_PS_JOB_TIMEOUT, c.typed);
            EXPECT_EQ(host.MessageBoxes().size(), shown + c.messages) << c.typed;
            EXPECT_EQ(host.FocusedId(), IDC_PS_JOB_TIMEOUT) << c.typed;
            host.PressCancel();
        });
    }
}

// A refused OK keeps the dialog open and writes nothing, not even the fields before the wait
// time; a number past every range does not wrap round into it.
TEST_F(PostScriptOptionsDialogTest, RefusedOkWritesNothing) {
    const struct {
        const char* pasted;
        int messages;
    } cases[] = {{"3001", 2}, {"", 2}, {"4294967296", 2}, {"18446744073709551616", 2}};
    for (const auto& c : cases) {
        AppState app("features.ppd");
        SetUpBlock(app);
        const app::PrinterSettingsBlock before = app.block();
        EXPECT_EQ(Run([&] {
                      host.Click(IDC_PS_PRINT_ERRORS);
                      host.ChooseItem(IDC_PS_EOD_MODE, kStandardEod);
                      for (int i = 0; i < c.messages; ++i)
                          ExpectMessage(kTimeoutRange);
                      host.FocusControl(IDC_PS_JOB_TIMEOUT);
                      host.EditControl(IDC_PS_JOB_TIMEOUT).SetWindowText(c.pasted);
                      host.PressOk();
                      EXPECT_EQ(host.FocusedId(), IDC_PS_JOB_TIMEOUT);
                      EXPECT_EQ(app.block(), before) << c.pasted;
                      host.PressCancel();
                  }),
                  ui::kIdCancel);
        EXPECT_EQ(app.block(), before) << c.pasted;
    }
}

// The path to store: the browsed path when it fits, else its short form when that fits.
TEST(HeaderPathThatFits, PathOrShortForm) {
    platform::KnownFiles files;
    const std::string fits = PathOfLength(63);
    const std::string tooLong = PathOfLength(64);
    const std::string longest = PathOfLength(200);
    files.shortForms[tooLong] = "C:\\HEADERS\\XXXXXX~1.PS";
    files.shortForms[longest] = PathOfLength(64);
    files.shortForms[fits] = "C:\\SHORT.PS";
    EXPECT_EQ(HeaderPathThatFits(fits, files), fits);
    EXPECT_EQ(HeaderPathThatFits(tooLong, files), "C:\\HEADERS\\XXXXXX~1.PS");
    EXPECT_EQ(HeaderPathThatFits(longest, files), std::nullopt);
    EXPECT_EQ(HeaderPathThatFits(PathOfLength(100), files), std::nullopt);
}

// Browsing: the system's Open dialog without a filter, for existing files; a path that fits is
// taken at once, a long one in its short form, and one that fits in neither is refused with a
// message, the field and the block keeping what they had. A cancelled Open dialog changes
// nothing.
TEST_F(PostScriptOptionsDialogTest, Browse) {
    const std::string longPath = PathOfLength(80);
    const struct {
        std::optional<std::string> chosen;
        std::string shown;
        bool refused;
    } cases[] = {
        {std::string("C:\\Program Files\\Vela\\job header.ps"),
         "C:\\Program Files\\Vela\\job header.ps", false},
        {PathOfLength(63), PathOfLength(63), false},
        {longPath, "C:\\HEADERS\\XXXXXX~1.PS", false},
        {PathOfLength(64), "C:\\PS\\HEADER.PS", true},
        {std::nullopt, "C:\\PS\\HEADER.PS", false},
    };
    for (const auto& c : cases) {
        AppState app("features.ppd");
        app.files.shortForms[longPath] = "C:\\HEADERS\\XXXXXX~1.PS";
        SetUpBlock(app);
        Run([&] {
            host.OnOpenFile([&](const ui::OpenFileRequest& request) {
                EXPECT_TRUE(request.filter.empty());
                EXPECT_TRUE(request.pathMustExist);
                EXPECT_TRUE(request.fileMustExist);
                EXPECT_TRUE(request.noLongNames);
                return c.chosen;
            });
            if (c.refused)
                ExpectMessage(kHeaderTooLong);
            const std::size_t shown = host.MessageBoxes().size();
            host.Click(IDC_PS_HEADER_BROWSE);
            EXPECT_EQ(host.MessageBoxes().size(), shown + (c.refused ? 1 : 0));
            EXPECT_EQ(host.Text(IDC_PS_HEADER_PATH), c.shown);
            EXPECT_EQ(app.block().externalHeaderPath(), c.shown);
            host.PressOk();
        });
        EXPECT_EQ(app.block().externalHeaderPath(), c.shown);
    }
}

} // namespace
} // namespace pages
