// Property sheets as Win32 runs them: page creation and activation order, OK and Cancel,
// pages that refuse to be left or shown, the end of the loop by a WM_QUIT, the Help button.
#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/services.h"
#include "tests/ui/conformance/conformance.h"
#include "tests/ui/data/test_ids.h"
#include "ui/data_exchange.h"
#include "ui/services.h"

namespace ui::conformance {
namespace {

using ::testing::ElementsAre;

class LoggingPage : public PropertyPage {
public:
    LoggingPage(int id, std::string name, std::vector<std::string>& log)
        : PropertyPage(id), name_(std::move(name)), log_(log) {}

    bool refuseKill = false;
    bool refuseActivation = false;
    bool refuseCancel = false;
    int number = 5; // bound to IDC_PAGE_EDIT with the range 1 to 99 when `exchange`
    bool exchange = false;
    Notifications heard;  // what the page's controls told it
    int focusAtKill = -1; // the focused control when the page was last left
    std::function<void(LoggingPage&)> onOk;

protected:
    bool OnInitDialog() override {
        log_.push_back(name_ + " init");
        SetContextHelpIds(*this, {GetTemplateId(), IDC_PAGE_EDIT});
        return PropertyPage::OnInitDialog();
    }
    bool OnSetActive() override {
        log_.push_back(name_ + " active");
        return !refuseActivation && PropertyPage::OnSetActive();
    }
    bool OnKillActive() override {
        log_.push_back(name_ + " kill");
        focusAtKill = FocusedControlId();
        return !refuseKill && PropertyPage::OnKillActive();
    }
    void OnOK() override {
        log_.push_back(name_ + " ok");
        if (onOk)
            onOk(*this);
    }
    void OnNotification(int controlId, int code) override { heard.emplace_back(controlId, code); }
    void OnCancel() override { log_.push_back(name_ + " cancel"); }
    bool OnQueryCancel() override {
        log_.push_back(name_ + " query");
        return !refuseCancel;
    }
    void DoDataExchange(DataExchange& dx) override {
        if (exchange)
            dx.Int(IDC_PAGE_EDIT, number, 1, 99);
    }

private:
    std::string name_;
    std::vector<std::string>& log_;
};

struct ThreePages {
    std::vector<std::string> log;
    LoggingPage one{IDD_PAGE_ONE, "1", log};
    LoggingPage two{IDD_PAGE_TWO, "2", log};
    LoggingPage three{IDD_PAGE_THREE, "3", log};
    PropertySheet sheet{"Tla\xE8iare\xF2 \xC8", 0, 0};
    ThreePages() {
        sheet.AddPage(one);
        sheet.AddPage(two);
        sheet.AddPage(three);
    }
};

// Pages are created when first shown; OK asks the current page, then tells every created page.
TEST_P(SheetConformance, ActivationOrderAndOk) {
    ThreePages p;
    A().OnSheet([&] {
        EXPECT_EQ(p.sheet.GetActiveIndex(), 0);
        EXPECT_EQ(Window(p.sheet.GetHandle()).GetWindowText(), "Tla\xE8iare\xF2 \xC8");
        A().SelectPage(2);
        EXPECT_EQ(p.sheet.GetActiveIndex(), 2);
        EXPECT_EQ(p.sheet.GetActivePage(), &p.three);
        A().PressOk();
    });
    EXPECT_EQ(p.sheet.DoModal(), kIdOk);
    EXPECT_THAT(p.log, ElementsAre("1 init", "1 active", "1 kill", "3 init", "3 active", "3 kill",
                                   "1 ok", "3 ok"));
    EXPECT_EQ(p.sheet.GetHandle(), nullptr);
}

// Cancel asks the current page, then tells every created page.
TEST_P(SheetConformance, CancelTellsCreatedPages) {
    ThreePages p;
    A().OnSheet([&] {
        A().SelectPage(1);
        A().PressCancel();
    });
    EXPECT_EQ(p.sheet.DoModal(), kIdCancel);
    EXPECT_THAT(p.log, ElementsAre("1 init", "1 active", "1 kill", "2 init", "2 active", "2 query",
                                   "1 cancel", "2 cancel"));
}

// Enter in an edit presses the sheet's OK without moving the focus: the page is left, and told
// of OK, while its edit still has the focus (so the edit has not reported losing it).
TEST_P(SheetConformance, EnterPressesOkWithoutMovingTheFocus) {
    ThreePages p;
    A().OnSheet([&] {
        A().FocusControl(IDC_PAGE_EDIT);
        A().PressEnter();
    });
    EXPECT_EQ(p.sheet.DoModal(), kIdOk);
    EXPECT_THAT(p.log, ElementsAre("1 init", "1 active", "1 kill", "1 ok"));
    EXPECT_EQ(p.one.focusAtKill, IDC_PAGE_EDIT);
}

// A page that refuses to be left keeps both a page change and OK from happening.
TEST_P(SheetConformance, RefusedKillActiveKeepsThePage) {
    ThreePages p;
    p.one.refuseKill = true;
    p.one.refuseCancel = true;
    A().OnSheet([&] {
        A().SelectPage(1);
        EXPECT_EQ(p.sheet.GetActiveIndex(), 0);
        A().PressOk();
        A().PressCancel();
        p.one.refuseKill = false;
        p.one.refuseCancel = false;
        A().PressOk();
    });
    EXPECT_EQ(p.sheet.DoModal(), kIdOk);
    EXPECT_THAT(p.log,
                ElementsAre("1 init", "1 active", "1 kill", "1 kill", "1 query", "1 kill", "1 ok"));
}

// A page that refuses activation is skipped towards the next one.
TEST_P(SheetConformance, RefusedActivationSkipsForward) {
    ThreePages p;
    p.two.refuseActivation = true;
    A().OnSheet([&] {
        EXPECT_TRUE(p.sheet.SetActivePage(1));
        EXPECT_EQ(p.sheet.GetActiveIndex(), 2);
        A().PressCancel();
    });
    EXPECT_EQ(p.sheet.DoModal(), kIdCancel);
    EXPECT_THAT(p.log, ElementsAre("1 init", "1 active", "1 kill", "2 init", "2 active", "3 init",
                                   "3 active", "3 query", "1 cancel", "2 cancel", "3 cancel"));
}

// A WM_QUIT ends the sheet with neither OK nor Cancel, and no page hears of either.
TEST_P(SheetConformance, QuitEndsTheLoop) {
    ThreePages p;
    A().OnSheet([&] { A().PostQuit(0); });
    EXPECT_EQ(p.sheet.DoModal(), kModalLoopEnded);
    EXPECT_THAT(p.log, ElementsAre("1 init", "1 active"));
}

// The sheet starts on the page asked for; its Help button opens the current page's topic.
TEST_P(SheetConformance, StartPageAndHelpButton) {
    platform::KnownFiles files{HelpFilePath()};
    platform::ScopedServices installed({.files = &files});
    ThreePages p;
    p.sheet.SetStartPage(1);
    A().OnSheet([&] {
        EXPECT_EQ(p.sheet.GetActiveIndex(), 1);
        // A page's own control id, which the context-help routing reads for its controls.
        EXPECT_EQ(p.two.GetDlgCtrlID(), 0);
        const size_t before = A().HelpCalls().size();
        A().PressHelp();
        ASSERT_EQ(A().HelpCalls().size(), before + 1);
        EXPECT_EQ(A().HelpCalls().back().command, kHelpContext);
        EXPECT_EQ(A().HelpCalls().back().data, static_cast<unsigned long>(IDD_PAGE_TWO));
        A().PressCancel();
    });
    EXPECT_EQ(p.sheet.DoModal(), kIdCancel);
}

// With only the HTML Help file the Help button opens the current page's topic, owned by the
// sheet, and the sheet goes on.
TEST_P(SheetConformance, HelpButtonOpensTheHtmlHelpTopic) {
    platform::KnownFiles files{HtmlHelpFilePath()};
    platform::ScopedServices installed({.files = &files});
    ThreePages p;
    A().OnSheet([&] {
        A().SelectPage(1);
        const size_t before = A().HtmlHelpCalls().size();
        A().PressHelp();
        ASSERT_EQ(A().HtmlHelpCalls().size(), before + 1);
        const HtmlHelpCall& call = A().HtmlHelpCalls().back();
        EXPECT_EQ(call.command.kind, HtmlHelpCommand::Kind::Topic);
        EXPECT_EQ(call.command.file,
                  HtmlHelpFilePath() + "::/" + std::to_string(IDD_PAGE_TWO) + ".htm");
        EXPECT_EQ(call.owner, p.sheet.GetHandle());
        A().PressOk();
    });
    EXPECT_EQ(p.sheet.DoModal(), kIdOk);
}

// Without the help file the Help button shows a message owned by the sheet; once it is
// answered the sheet goes on and OK ends it.
TEST_P(SheetConformance, HelpButtonWithoutTheHelpFile) {
    platform::KnownFiles none;
    platform::ScopedServices installed({.files = &none});
    ThreePages p;
    A().OnSheet([&] {
        const size_t helpCalls = A().HelpCalls().size();
        const size_t boxes = A().MessageBoxes().size();
        int answered = 0;
        A().OnMessageBox([&](const MessageBoxCall&) {
            ++answered;
            return kIdOk;
        });
        A().PressHelp();
        EXPECT_EQ(answered, 1);
        EXPECT_EQ(A().HelpCalls().size(), helpCalls);
        ASSERT_EQ(A().MessageBoxes().size(), boxes + 1);
        EXPECT_EQ(A().MessageBoxes().back().text, HelpFileMissingMessage(HtmlHelpFilePath()));
        EXPECT_EQ(A().MessageBoxes().back().owner, p.sheet.GetHandle());
        A().SelectPage(2);
        A().PressOk();
    });
    EXPECT_EQ(p.sheet.DoModal(), kIdOk);
    EXPECT_THAT(p.log, ElementsAre("1 init", "1 active", "1 kill", "3 init", "3 active", "3 kill",
                                   "1 ok", "3 ok"));
}

// Data exchange on leaving a page: a number out of range shows the framework's message,
// keeps the page and puts the focus into the field.
TEST_P(SheetConformance, DataExchangeKeepsThePageOnError) {
    ThreePages p;
    p.one.exchange = true;
    A().OnSheet([&] {
        EXPECT_EQ(A().Control(IDC_PAGE_EDIT).GetWindowText(), "5");
        A().ReplaceText(IDC_PAGE_EDIT, "150");
        A().OnMessageBox([](const MessageBoxCall& call) {
            EXPECT_EQ(call.text, IntegerRangeMessage(1, 99));
            EXPECT_EQ(call.style & kMbTaskModal, kMbTaskModal);
            return kIdOk;
        });
        A().SelectPage(1);
        EXPECT_EQ(p.sheet.GetActiveIndex(), 0);
        EXPECT_EQ(FocusedControlId(), IDC_PAGE_EDIT);
        A().ReplaceText(IDC_PAGE_EDIT, "42");
        A().PressOk();
    });
    EXPECT_EQ(p.sheet.DoModal(), kIdOk);
    EXPECT_EQ(p.one.number, 42);
}

// A dialog opened from a page runs over the sheet; actions go to the page again afterwards.
class OpeningPage : public LoggingPage {
public:
    using LoggingPage::LoggingPage;
    int nestedResult = 0;

protected:
    MessageMap GetMessageMap() const override {
        static const MessageEntry entries[] = {OnClicked(IDC_PAGE_BUTTON, &OpeningPage::Open)};
        return entries;
    }

private:
    void Open() {
        Dialog small(IDD_SMALL, this);
        nestedResult = small.DoModal();
    }
};

TEST_P(SheetConformance, DialogFromAPage) {
    std::vector<std::string> log;
    OpeningPage page(IDD_PAGE_ONE, "1", log);
    PropertySheet sheet("Sheet");
    sheet.AddPage(page);
    A().OnSheet([&] {
        A().OnDialog(IDD_SMALL, [&] { A().PressOk(); });
        A().Click(IDC_PAGE_BUTTON);
        EXPECT_EQ(page.nestedResult, kIdOk);
        EXPECT_EQ(A().ActiveDialog(), page.GetHandle());
        A().PressOk();
    });
    EXPECT_EQ(sheet.DoModal(), kIdOk);
}

// The id of the sheet's tab control, as comctl32 numbers it.
constexpr int kSheetTabsId = 0x3020;

// Changing pages from the program (or by Ctrl+Tab) leaves no keyboard focus on the page that
// is hidden: keys typed next must not reach its controls. The focus goes to the tabs.
TEST_P(SheetConformance, FocusLeavesTheHiddenPage) {
    struct Case {
        int focused; // a control of the current page
        int next;    // the page shown next
    };
    const Case cases[] = {{IDC_PAGE_EDIT, 1}, {IDC_PAGE_CHECK, 2}};
    ThreePages p;
    A().OnSheet([&] {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.focused);
            A().FocusControl(c.focused);
            ASSERT_EQ(FocusedControlId(), c.focused);
            const Window control = A().Control(c.focused);
            EXPECT_TRUE(p.sheet.SetActivePage(c.next));
            EXPECT_FALSE(control.IsWindowVisible());
            EXPECT_EQ(FocusedControlId(), kSheetTabsId);
        }
        A().PressCancel();
    });
    EXPECT_EQ(p.sheet.DoModal(), kIdCancel);
}

int EditChanges(const Notifications& heard) {
    return static_cast<int>(
        std::count(heard.begin(), heard.end(), std::pair<int, int>{IDC_PAGE_EDIT, kEnChange}));
}

// A page hears its controls while it is the current page or runs its own routines (here OK,
// which every created page runs); what a hidden page's controls report otherwise cannot come
// from the user and would write stale values, so it does not reach the page.
TEST_P(SheetConformance, HiddenPageHearsItsControlsOnlyInItsOwnRoutines) {
    ThreePages p;
    p.one.onOk = [](LoggingPage& page) { page.SetDlgItemText(IDC_PAGE_EDIT, "9"); };
    A().OnSheet([&] {
        const Window hiddenEdit = p.one.GetDlgItem(IDC_PAGE_EDIT);
        hiddenEdit.SetWindowText("1");
        EXPECT_EQ(EditChanges(p.one.heard), 1);
        A().SelectPage(1);
        hiddenEdit.SetWindowText("2");
        EXPECT_EQ(EditChanges(p.one.heard), 1);
        p.two.GetDlgItem(IDC_PAGE_EDIT).SetWindowText("3");
        EXPECT_EQ(EditChanges(p.two.heard), 1);
        A().PressOk();
    });
    EXPECT_EQ(p.sheet.DoModal(), kIdOk);
    EXPECT_EQ(EditChanges(p.one.heard), 2);
}

} // namespace
} // namespace ui::conformance
