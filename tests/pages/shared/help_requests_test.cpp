// Help asked from the pages and the dialogs they open: with the help file beside the program
// the topic goes to the help viewer; without it a message owned by the asking window says so,
// the viewer is never asked and the window stays usable.
#include <functional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pages/paper/custom_size_dialog.h"
#include "pages/paper/paper_feed_dialog.h"
#include "pages/paper/paper_page.h"
#include "tests/pages/page_test_support.h"
#include "ui/services.h"

namespace pages {
namespace {

using testing::AppState;
using ::testing::IsEmpty;
using ui::headless::TestHost;

// Runs a window that asks for help; `body` acts as the user and ends it.
using RunWindow = std::function<int(TestHost&, const std::function<void()>& body)>;

template <class DialogClass>
RunWindow RunDialog(int dialogId) {
    return [dialogId](TestHost& host, const std::function<void()>& body) {
        DialogClass dialog;
        host.OnDialog(dialogId, body);
        return dialog.DoModal();
    };
}

RunWindow RunPaperPage() {
    return [](TestHost& host, const std::function<void()>& body) {
        CPaper paper;
        return testing::RunPage(host, paper, body);
    };
}

struct HelpRoad {
    const char* what;
    RunWindow run;
    std::function<void(TestHost&)> ask;
    unsigned long topic;
    bool ownedBySheet; // a page's request belongs to its sheet, a dialog's to the dialog
};

const HelpRoad kRoads[] = {
    {"custom size: Pomocn\xEDk", RunDialog<CCustomSizeDialog>(IDD_CUSTOM_SIZE),
     [](TestHost& host) { host.Click(IDC_CUSTOM_HELP); }, IDD_CUSTOM_SIZE, false},
    {"custom size: F1 on the width", RunDialog<CCustomSizeDialog>(IDD_CUSTOM_SIZE),
     [](TestHost& host) {
         host.FocusControl(IDC_CUSTOM_WIDTH);
         host.PressF1();
     },
     IDC_CUSTOM_WIDTH, false},
    {"advanced feed: Pomocn\xEDk", RunDialog<CAdvancedFeedDialog>(IDD_ADVANCED_FEED),
     [](TestHost& host) { host.Click(IDC_FEED_HELP); }, IDD_ADVANCED_FEED, false},
    {"paper page: F1 on the paper list", RunPaperPage(),
     [](TestHost& host) {
         host.FocusControl(IDC_PAPER_SIZE);
         host.PressF1();
     },
     IDC_PAPER_SIZE, true},
    {"paper page: the sheet's Help button", RunPaperPage(),
     [](TestHost& host) { host.PressHelp(); }, IDD_PAPER, true},
};

// The help file is there: the viewer gets the topic, nothing else is shown.
TEST(HelpRequests, WithTheHelpFileOpenTheTopic) {
    for (const HelpRoad& road : kRoads) {
        SCOPED_TRACE(road.what);
        TestHost host; // first: the help file lies beside the program it names
        AppState app("paper.ppd");
        app.InstallHelpFile();
        road.run(host, [&] {
            road.ask(host);
            host.PressCancel();
        });
        ASSERT_EQ(host.HelpCalls().size(), 1u);
        EXPECT_EQ(host.HelpCalls()[0].helpFile, "C:\\vela\\vela40ps.HLP");
        EXPECT_EQ(host.HelpCalls()[0].command, ui::kHelpContext);
        EXPECT_EQ(host.HelpCalls()[0].data, road.topic);
        EXPECT_THAT(host.MessageBoxes(), IsEmpty());
    }
}

// No help file: one message, owned by the window that asked, and the window goes on.
TEST(HelpRequests, WithoutTheHelpFileSayItIsNotInstalled) {
    for (const HelpRoad& road : kRoads) {
        SCOPED_TRACE(road.what);
        AppState app("paper.ppd");
        TestHost host;
        ui::Handle owner = nullptr;
        const int result = road.run(host, [&] {
            const ui::Handle asking = host.ActiveDialog();
            owner = road.ownedBySheet ? host.Parent(asking) : asking;
            host.AnswerMessageBox(ui::kIdOk);
            road.ask(host);
            EXPECT_EQ(host.ActiveDialog(), asking);
            host.PressCancel();
        });
        EXPECT_EQ(result, ui::kIdCancel);
        EXPECT_THAT(host.HelpCalls(), IsEmpty());
        ASSERT_EQ(host.MessageBoxes().size(), 1u);
        const ui::MessageBoxCall& box = host.MessageBoxes()[0];
        EXPECT_EQ(box.text, ui::headless::Cp1250(u8"Súbor pomocníka vela40ps.chm nie je "
                                                 u8"nainštalovaný."));
        EXPECT_EQ(box.caption, "vela40ps");
        EXPECT_NE(owner, nullptr);
        EXPECT_EQ(box.owner, owner);
        EXPECT_TRUE(host.TakeFailures().empty());
    }
}

} // namespace
} // namespace pages
