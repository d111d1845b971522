// The document options dialog: what it shows, the clicks that write at once, the range checks
// while typing and on OK, an OK refused without a trace, and reprint only with the disk.
#include "pages/features/document_options_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/text_helpers.h"
#include "tests/pages/features/features_test_support.h"
#include "tests/pages/page_test_support.h"

namespace pages {
namespace {

using namespace pages::testing;

const std::string kCopiesRange = Cp1250(u8"Hodnota je mimo rozsahu. Mala by byť medzi 1 a 999");
const std::string kScaleRange = Cp1250(u8"Hodnota je mimo rozsahu. Mala by byť medzi 25 a 400");

class DocumentOptionsDialogTest : public ::testing::Test {
protected:
    // Collated, 3 copies at 90 %, reprint under a name with the disk, a notice by e-mail.
    static void SetUpBlock(AppState& app) {
        app::PrinterSettingsBlock& b = app.block();
        b.setCollate(1);
        b.setCopies(3);
        b.setScale(90);
        b.setDiskInstalled(1);
        b.setReprintEnabled(1);
        b.setReprintName("report");
        b.setNotifyByEmail(1);
        b.setEmailAddress("user@example.sk");
    }

    int Run(const std::function<void()>& body) {
        CDocumentOptionsDialog dialog;
        host.OnDialog(IDD_DOCUMENT_OPTIONS, body);
        return dialog.DoModal();
    }

    // Answers the next message box after checking its text; range messages are task-modal.
    void ExpectMessage(const std::string& text) {
        host.OnMessageBox([text](const ui::MessageBoxCall& box) {
            EXPECT_EQ(box.text, text);
            if (text != app::kNonNumericTextMessage) {
                EXPECT_NE(box.style & ui::kMbTaskModal, 0u);
            }
            return ui::kIdOk;
        });
    }

    ui::headless::TestHost host;
};

// Opening shows the block; OK without changes stores it as it was.
TEST_F(DocumentOptionsDialogTest, ShowsTheBlock) {
    AppState app;
    app.InstallHelpFile();
    SetUpBlock(app);
    const app::PrinterSettingsBlock before = app.block();
    EXPECT_EQ(Run([&] {
                  EXPECT_EQ(host.Check(IDC_DOC_COLLATE), ui::kChecked);
                  EXPECT_EQ(host.Check(IDC_DOC_NO_COLLATE), ui::kUnchecked);
                  EXPECT_EQ(host.Text(IDC_DOC_COPIES), "3");
                  EXPECT_EQ(host.Text(IDC_DOC_SCALE), "90");
                  EXPECT_EQ(host.Check(IDC_DOC_REPRINT), ui::kChecked);
                  EXPECT_TRUE(host.IsEnabled(IDC_DOC_REPRINT));
                  EXPECT_TRUE(host.IsEnabled(IDC_DOC_REPRINT_NAME));
                  EXPECT_EQ(host.Text(IDC_DOC_REPRINT_NAME), "report");
                  EXPECT_EQ(host.Check(IDC_DOC_NOTIFY_EMAIL), ui::kChecked);
                  EXPECT_TRUE(host.IsEnabled(IDC_DOC_EMAIL_ADDRESS));
                  EXPECT_EQ(host.Text(IDC_DOC_EMAIL_ADDRESS), "user@example.sk");
                  EXPECT_EQ(host.EditControl(IDC_DOC_EMAIL_ADDRESS).GetLimitText(), 63);
                  EXPECT_EQ(host.EditControl(IDC_DOC_REPRINT_NAME).GetLimitText(), 63);
                  EXPECT_EQ(host.EditControl(IDC_DOC_COPIES).GetLimitText(), 3);
                  EXPECT_EQ(host.EditControl(IDC_DOC_SCALE).GetLimitText(), 3);
                  EXPECT_EQ(host.Spin(IDC_DOC_COPIES_SPIN).GetRange(), std::make_pair(1, 999));
                  EXPECT_FALSE(host.IsShown(IDC_DOC_KEEP_DATE));
                  EXPECT_EQ(ui::Window(host.ActiveDialog()).GetContextHelpId(),
                            unsigned{IDD_DOCUMENT_OPTIONS});
                  host.Click(IDC_DOC_HELP);
                  EXPECT_EQ(host.HelpCalls().back().data, unsigned{IDD_DOCUMENT_OPTIONS});
                  host.PressOk();
              }),
              ui::kIdOk);
    EXPECT_EQ(app.block(), before);
}

// The radio buttons and check boxes write the block when clicked, and enable their edits.
TEST_F(DocumentOptionsDialogTest, ClicksWriteAtOnce) {
    AppState app;
    SetUpBlock(app);
    Run([&] {
        host.Click(IDC_DOC_NO_COLLATE);
        EXPECT_EQ(app.block().collate(), 0);
        host.Click(IDC_DOC_REPRINT);
        EXPECT_EQ(app.block().reprintEnabled(), 0);
        EXPECT_FALSE(host.IsEnabled(IDC_DOC_REPRINT_NAME));
        host.Click(IDC_DOC_NOTIFY_EMAIL);
        EXPECT_EQ(app.block().notifyByEmail(), 0);
        EXPECT_FALSE(host.IsEnabled(IDC_DOC_EMAIL_ADDRESS));
        host.Click(IDC_DOC_COLLATE);
        EXPECT_EQ(app.block().collate(), 1);
        host.Click(IDC_DOC_NOTIFY_EMAIL);
        EXPECT_EQ(app.block().notifyByEmail(), 1);
        EXPECT_TRUE(host.IsEnabled(IDC_DOC_EMAIL_ADDRESS));
        host.PressCancel();
    });
    EXPECT_EQ(app.block().collate(), 1);
    EXPECT_EQ(app.block().reprintEnabled(), 0);
}

// Without the disk "Nátlač" is disabled and unchecked and the block's reprint is cleared, so
// OK cannot store it whatever the block said.
TEST_F(DocumentOptionsDialogTest, ReprintNeedsTheDisk) {
    AppState app;
    SetUpBlock(app);
    app.block().setDiskInstalled(0);
    Run([&] {
        EXPECT_FALSE(host.IsEnabled(IDC_DOC_REPRINT));
        EXPECT_EQ(host.Check(IDC_DOC_REPRINT), ui::kUnchecked);
        EXPECT_FALSE(host.IsEnabled(IDC_DOC_REPRINT_NAME));
        EXPECT_EQ(app.block().reprintEnabled(), 0);
        host.PressOk();
    });
    EXPECT_EQ(app.block().reprintEnabled(), 0);
}

// The numbers are checked as they are typed: texts too short to be out of range pass.
TEST_F(DocumentOptionsDialogTest, LiveChecks) {
    const struct {
        int id;
        const char* typed;
        int messages;
    } cases[] = {
        {IDC_DOC_COPIES, "0", 0},  {IDC_DOC_COPIES, "00", 1}, {IDC_DOC_COPIES, "999", 0},
        {IDC_DOC_COPIES, "10", 0}, {IDC_DOC_SCALE, "12", 0},  {IDC_DOC_SCALE, "500", 1},
        {IDC_DOC_SCALE, "024", 1}, {IDC_DOC_SCALE, "400", 0}, {IDC_DOC_SCALE, "025", 0},
    };
    for (const auto& c : cases) {
        AppState app;
        SetUpBlock(app);
        Run([&] {
            const std::size_t shown = host.MessageBoxes().size();
            for (int i = 0; i < c.messages; ++i)
                ExpectMessage(c.id == IDC_DOC_COPIES ? kCopiesRange : kScaleRange);
            host.ReplaceText(c.id, c.typed);
            EXPECT_EQ(host.MessageBoxes().size(), shown + c.messages) << c.typed;
            if (c.messages > 0) {
                EXPECT_EQ(host.FocusedId(), c.id) << c.typed;
            }
            host.PressCancel();
        });
    }
}

// OK checks copies, then scale; a refused OK keeps the dialog open and writes nothing, not
// even what the check boxes show.
TEST_F(DocumentOptionsDialogTest, RefusedOkWritesNothing) {
    const struct {
        const char* copies;
        const char* scale;
        std::vector<std::string> messages;
        int focus;
    } cases[] = {
        {"", "100", {kCopiesRange}, IDC_DOC_COPIES},
        {"5", "24", {kScaleRange}, IDC_DOC_SCALE},
        {"5", "4294967296", {kScaleRange, kScaleRange}, IDC_DOC_SCALE},
        {"1000", "100", {kCopiesRange, kCopiesRange}, IDC_DOC_COPIES},
        {"-5", "100", {kCopiesRange, kCopiesRange}, IDC_DOC_COPIES},
        {"5a", "100", {app::kNonNumericTextMessage, kCopiesRange}, IDC_DOC_COPIES},
    };
    for (const auto& c : cases) {
        AppState app;
        SetUpBlock(app);
        const app::PrinterSettingsBlock before = app.block();
        EXPECT_EQ(Run([&] {
                      // Pasted, not typed: one change each, the live check may speak once.
                      host.FocusControl(IDC_DOC_EMAIL_ADDRESS);
                      host.ReplaceText(IDC_DOC_EMAIL_ADDRESS, "other@example.sk");
                      for (const auto& message : c.messages)
                          ExpectMessage(message);
                      host.FocusControl(IDC_DOC_COPIES);
                      host.EditControl(IDC_DOC_COPIES).SetWindowText(c.copies);
                      host.FocusControl(IDC_DOC_SCALE);
                      host.EditControl(IDC_DOC_SCALE).SetWindowText(c.scale);
                      host.PressOk();
                      EXPECT_EQ(host.FocusedId(), c.focus) << c.copies << " " << c.scale;
                      EXPECT_EQ(app.block(), before) << c.copies << " " << c.scale;
                      host.PressCancel();
                  }),
                  ui::kIdCancel);
        EXPECT_TRUE(host.TakeFailures().empty()) << c.copies << " " << c.scale;
    }
}

// What passes is stored: the bounds themselves, and the two texts.
TEST_F(DocumentOptionsDialogTest, OkStoresNumbersAndTexts) {
    const struct {
        const char* copies;
        const char* scale;
        int storedCopies, storedScale;
    } cases[] = {{"1", "25", 1, 25}, {"999", "400", 999, 400}, {"07", "100", 7, 100}};
    for (const auto& c : cases) {
        AppState app;
        SetUpBlock(app);
        Run([&] {
            host.ReplaceText(IDC_DOC_COPIES, c.copies);
            host.ReplaceText(IDC_DOC_SCALE, c.scale);
            host.ReplaceText(IDC_DOC_REPRINT_NAME, "invoice");
            host.ReplaceText(IDC_DOC_EMAIL_ADDRESS, "");
            host.PressOk();
        });
        EXPECT_EQ(app.block().copies(), c.storedCopies);
        EXPECT_EQ(app.block().scale(), c.storedScale);
        EXPECT_EQ(app.block().reprintName(), "invoice");
        EXPECT_EQ(app.block().emailAddress(), "");
    }
}

// OK sends the collation the radio buttons show: a value the driver sent other than 1 shows
// as "Nekompletovať" and goes back as 0.
TEST_F(DocumentOptionsDialogTest, OkSendsTheCollationShown) {
    const struct { std::int16_t sent, stored; } cases[] = {{1, 1}, {0, 0}, {2, 0}, {-1, 0}};
    for (const auto& c : cases) {
        AppState app;
        SetUpBlock(app);
        app.block().setCollate(c.sent);
        Run([&] {
            EXPECT_EQ(host.Check(IDC_DOC_NO_COLLATE),
                      c.stored == 0 ? ui::kChecked : ui::kUnchecked);
            host.PressOk();
        });
        EXPECT_EQ(app.block().collate(), c.stored) << c.sent;
    }
}

// The spin control stops at 1 and at 999.
TEST_F(DocumentOptionsDialogTest, SpinStopsAtTheBounds) {
    AppState app;
    SetUpBlock(app);
    app.block().setCopies(998);
    Run([&] {
        host.SpinUp(IDC_DOC_COPIES_SPIN);
        host.SpinUp(IDC_DOC_COPIES_SPIN);
        EXPECT_EQ(host.Text(IDC_DOC_COPIES), "999");
        host.ReplaceText(IDC_DOC_COPIES, "2");
        host.SpinDown(IDC_DOC_COPIES_SPIN);
        host.SpinDown(IDC_DOC_COPIES_SPIN);
        EXPECT_EQ(host.Text(IDC_DOC_COPIES), "1");
        host.PressOk();
    });
    EXPECT_EQ(app.block().copies(), 1);
    EXPECT_TRUE(host.MessageBoxes().empty());
}

} // namespace
} // namespace pages
