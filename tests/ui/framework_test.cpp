// The framework on the headless backend: data exchange and its messages, message maps, the
// context-help routing, the system services and the test host's scripting.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/services.h"
#include "tests/ui/data/test_ids.h"
#include "tests/ui/test_resources.h"
#include "ui/data_exchange.h"
#include "ui/dialog.h"
#include "ui/headless/test_host.h"
#include "ui/services.h"

namespace ui {
namespace {

using headless::ScriptError;
using headless::TestHost;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The framework's messages, with the Slovak plural of "znak".
TEST(DataExchangeMessages, SlovakTexts) {
    EXPECT_EQ(TextTooLongMessage(1), "Zadajte najviac 1 znak.");
    EXPECT_EQ(TextTooLongMessage(3), "Zadajte najviac 3 znaky.");
    EXPECT_EQ(TextTooLongMessage(5), "Zadajte najviac 5 znakov.");
    EXPECT_EQ(TextTooLongMessage(63), "Zadajte najviac 63 znakov.");
    EXPECT_EQ(IntegerRangeMessage(-306, 306), "Zadajte cel\xE9 \xE8\xEDslo od -306 do 306.");
}

// A dialog whose data exchange binds a fixed text buffer, an int, an int16, a check box and a
// radio group.
class ExchangeDialog : public Dialog {
public:
    ExchangeDialog() : Dialog(IDD_CONFORMANCE) {}
    char name[8] = "abc";
    int number = 7;
    short small = 3;
    int checked = kChecked;
    int radio = 1;
    size_t maxName = 5;

protected:
    void DoDataExchange(DataExchange& dx) override {
        dx.Text(IDC_EDIT, name, maxName);
        dx.Int(IDC_NUMBER, number, 1, 99);
        dx.Int(IDC_READONLY, small);
        dx.Check(IDC_CHECK, checked);
        dx.Radio({IDC_RADIO_A1, IDC_RADIO_A2, IDC_RADIO_A3}, radio);
    }
};

class FrameworkTest : public ::testing::Test {
protected:
    TestHost host{testing::TestResources()};
};

// Loading fills the controls and limits the edit; saving stores every member.
TEST_F(FrameworkTest, DataExchangeLoadsAndStores) {
    ExchangeDialog dialog;
    host.OnDialog(IDD_CONFORMANCE, [&] {
        EXPECT_EQ(host.Text(IDC_EDIT), "abc");
        EXPECT_EQ(host.EditControl(IDC_EDIT).GetLimitText(), 5);
        EXPECT_EQ(host.Text(IDC_NUMBER), "7");
        EXPECT_EQ(host.Text(IDC_READONLY), "3");
        EXPECT_EQ(host.Check(IDC_CHECK), kChecked);
        EXPECT_EQ(host.Check(IDC_RADIO_A2), kChecked);
        host.ReplaceText(IDC_EDIT, "xyz");
        host.ReplaceText(IDC_NUMBER, "42");
        host.Click(IDC_CHECK);
        host.Click(IDC_RADIO_A3);
        host.EditControl(IDC_READONLY).SetWindowText(" -300 ");
        host.PressOk();
    });
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_STREQ(dialog.name, "xyz");
    EXPECT_EQ(dialog.number, 42);
    EXPECT_EQ(dialog.small, -300);
    EXPECT_EQ(dialog.checked, kUnchecked);
    EXPECT_EQ(dialog.radio, 2);
}

struct RefusedCase {
    int control;
    const char* text;
    std::string message;
};

// A text longer than its limit or a number that is not one within its range shows the message,
// focuses the control with its text selected, keeps the dialog open and the member unchanged.
TEST_F(FrameworkTest, DataExchangeRefusesAndKeepsTheDialogOpen) {
    const RefusedCase cases[] = {
        {IDC_EDIT, "toolong", TextTooLongMessage(5)},
        {IDC_NUMBER, "100", IntegerRangeMessage(1, 99)},
        {IDC_NUMBER, "0", IntegerRangeMessage(1, 99)},
        {IDC_NUMBER, "", IntegerRangeMessage(1, 99)},
        {IDC_NUMBER, "4x", IntegerRangeMessage(1, 99)},
        {IDC_NUMBER, "99999999999999999999", IntegerRangeMessage(1, 99)},
        {IDC_READONLY, "40000", IntegerRangeMessage(-32768, 32767)},
    };
    for (const RefusedCase& c : cases) {
        ExchangeDialog dialog;
        host.OnDialog(IDD_CONFORMANCE, [&] {
            host.Control(c.control).SetWindowText(c.text);
            host.OnMessageBox([&](const MessageBoxCall& box) {
                EXPECT_EQ(box.text, c.message);
                EXPECT_EQ(box.caption, "vela40ps");
                EXPECT_EQ(box.style, kMbOk | kMbIconWarning | kMbTaskModal);
                return kIdOk;
            });
            host.PressOk();
            EXPECT_EQ(host.FocusedId(), c.control) << c.text;
            EXPECT_TRUE(host.Control(c.control).IsWindowVisible());
            host.PressCancel();
        });
        EXPECT_EQ(dialog.DoModal(), kIdCancel) << c.text;
        EXPECT_STREQ(dialog.name, "abc");
        EXPECT_EQ(dialog.number, 7);
        EXPECT_EQ(dialog.small, 3);
    }
}

// A fixed buffer never takes more than it holds, even with a larger limit asked for, and is
// read only within its size when loading.
TEST_F(FrameworkTest, DataExchangeKeepsFixedBuffersBounded) {
    ExchangeDialog dialog;
    dialog.maxName = 100;
    std::memcpy(dialog.name, "12345678", 8); // no terminator within the buffer
    host.OnDialog(IDD_CONFORMANCE, [&] {
        EXPECT_EQ(host.Text(IDC_EDIT), "1234567");
        EXPECT_EQ(host.EditControl(IDC_EDIT).GetLimitText(), 7);
        host.Control(IDC_EDIT).SetWindowText("abcdefg");
        host.PressOk();
    });
    EXPECT_EQ(dialog.DoModal(), kIdOk);
    EXPECT_EQ(std::string(dialog.name), "abcdefg");
}

// Handlers: one member for several controls gets the id; unmapped notifications are ignored;
// OK and Cancel run OnOK and OnCancel without entries; EndDialog's value is the result.
class MappedDialog : public Dialog {
public:
    MappedDialog() : Dialog(IDD_CONFORMANCE) {}
    std::vector<int> clicked;
    int closeUps = 0;
    bool cancelRefused = false;

protected:
    MessageMap GetMessageMap() const override {
        static const MessageEntry entries[] = {
            OnClicked(IDC_RADIO_A1, &MappedDialog::OnRadio),
            OnClicked(IDC_RADIO_A2, &MappedDialog::OnRadio),
            OnCloseUp(IDC_PLAIN_COMBO, &MappedDialog::OnCloseUpList),
            OnClicked(IDC_PUSH, &MappedDialog::OnPush),
        };
        return entries;
    }
    void OnCancel() override {
        if (cancelRefused)
            return;
        Dialog::OnCancel();
    }

private:
    void OnRadio(int id) { clicked.push_back(id); }
    void OnCloseUpList() { ++closeUps; }
    void OnPush() { EndDialog(5); }
};

TEST_F(FrameworkTest, MessageMapDispatch) {
    MappedDialog dialog;
    host.OnDialog(IDD_CONFORMANCE, [&] {
        host.Click(IDC_RADIO_A2);
        host.Click(IDC_RADIO_A1);
        host.Click(IDC_RADIO_A3);
        host.Combo(IDC_PLAIN_COMBO).AddString("x");
        host.ChooseItem(IDC_PLAIN_COMBO, 0);
        dialog.cancelRefused = true;
        host.PressCancel();
        EXPECT_TRUE(host.Control(IDC_PUSH).IsWindowVisible());
        host.Click(IDC_PUSH);
    });
    EXPECT_EQ(dialog.DoModal(), 5);
    EXPECT_THAT(dialog.clicked, ElementsAre(IDC_RADIO_A2, IDC_RADIO_A1));
    EXPECT_EQ(dialog.closeUps, 1);
}

// Dialogs and pages that only show context help.
class HelpPage : public PropertyPage {
public:
    explicit HelpPage(int id) : PropertyPage(id) {}

protected:
    bool OnInitDialog() override {
        PropertyPage::OnInitDialog();
        SetContextHelpIds(*this, {GetTemplateId(), IDC_PAGE_EDIT, 4999});
        return true;
    }
};

// The Help command's routing: the sheet's Help button uses the page's id; OK and Cancel the
// contents; a control its own id, or its parent's control id (a page's is 0: the contents).
TEST_F(FrameworkTest, ContextHelpRouting) {
    HelpPage one(IDD_PAGE_ONE);
    HelpPage two(IDD_PAGE_TWO);
    PropertySheet sheet("Help");
    sheet.AddPage(one);
    sheet.AddPage(two);
    host.SetProgramPath("C:\\Program Files\\Vela\\vela40ps.exe");
    // Installed in another case than the name asked for: Windows finds it all the same.
    platform::KnownFiles files{"c:\\program files\\vela\\VELA40PS.hlp"};
    platform::ScopedServices installed({.files = &files});
    host.OnSheet([&] {
        host.SelectPage(1);
        host.PressHelp();
        host.FocusControl(IDC_PAGE_EDIT);
        RunContextHelp();
        host.FocusControl(IDC_PAGE_CHECK);
        RunContextHelp();
        host.SetFocus(sheet.GetHandle() ? host.Item(sheet.GetHandle(), kIdOk) : nullptr);
        RunContextHelp();
        host.SetFocus(nullptr);
        RunContextHelp();
        ShowHelpTopic(114);
        host.PressCancel();
    });
    EXPECT_EQ(sheet.DoModal(), kIdCancel);
    const std::string file = "C:\\Program Files\\Vela\\vela40ps.HLP";
    const auto& calls = host.HelpCalls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0].helpFile, file);
    EXPECT_EQ(calls[0].command, kHelpContext);
    EXPECT_EQ(calls[0].data, static_cast<unsigned long>(IDD_PAGE_TWO));
    EXPECT_EQ(calls[1].command, kHelpContext);
    EXPECT_EQ(calls[1].data, static_cast<unsigned long>(IDC_PAGE_EDIT));
    EXPECT_EQ(calls[2].command, kHelpContents);
    EXPECT_EQ(calls[2].data, 0u);
    EXPECT_EQ(calls[3].command, kHelpContents);
    EXPECT_EQ(calls[4].command, kHelpContext);
    EXPECT_EQ(calls[4].data, 114u);
    EXPECT_THAT(host.MessageBoxes(), IsEmpty());
}

// With the HTML Help file alone the same requests go to HTML Help: the sheet's Help button
// the page's topic, F1 on a control the control's popup text below it (its place in the page's
// topic when the viewer shows no popup), F1 on a window without an id the page's topic, OK the
// contents; and closing the help asks the viewer to close its windows.
TEST_F(FrameworkTest, ContextHelpRoutingToHtmlHelp) {
    HelpPage one(IDD_PAGE_ONE);
    HelpPage two(IDD_PAGE_TWO);
    PropertySheet sheet("Help");
    sheet.AddPage(one);
    sheet.AddPage(two);
    host.SetProgramPath("C:\\Vela\\vela40ps.exe");
    platform::KnownFiles files{"C:\\Vela\\vela40ps.chm"};
    platform::ScopedServices installed({.files = &files});
    Rect edit{};
    host.OnSheet([&] {
        host.SelectPage(1);
        host.PressHelp();
        host.FocusControl(IDC_PAGE_EDIT);
        edit = host.WindowRect(host.Item(two.GetHandle(), IDC_PAGE_EDIT));
        RunContextHelp();
        host.SetHtmlHelpPopupsShown(false);
        RunContextHelp();
        host.FocusControl(IDC_PAGE_CHECK);
        RunContextHelp();
        host.SetFocus(host.Item(sheet.GetHandle(), kIdOk));
        RunContextHelp();
        host.PressCancel();
    });
    EXPECT_EQ(sheet.DoModal(), kIdCancel);
    CloseHelp();
    const std::string chm = "C:\\Vela\\vela40ps.chm";
    const std::string page = chm + "::/" + std::to_string(IDD_PAGE_TWO) + ".htm";
    using H = HtmlHelpCommand::Kind;
    const struct {
        H kind;
        std::string file;
    } expected[] = {
        {H::Topic, page},
        {H::Popup, chm + "::/cshelp.txt"},
        {H::Popup, chm + "::/cshelp.txt"},
        {H::Topic, page + "#c" + std::to_string(IDC_PAGE_EDIT)},
        {H::Topic, page},
        {H::Contents, chm},
        {H::CloseAll, ""},
    };
    const auto& calls = host.HtmlHelpCalls();
    ASSERT_EQ(calls.size(), std::size(expected));
    for (size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(calls[i].command.kind, expected[i].kind);
        EXPECT_EQ(calls[i].command.file, expected[i].file);
    }
    EXPECT_EQ(calls[1].command.contextId, static_cast<unsigned long>(IDC_PAGE_EDIT));
    EXPECT_EQ(calls[1].command.at, (Point{(edit.left + edit.right) / 2, edit.bottom}));
    EXPECT_NE(calls[0].owner, nullptr);
    EXPECT_THAT(host.HelpCalls(), IsEmpty());
    EXPECT_THAT(host.MessageBoxes(), IsEmpty());
}

// A help request that names its control (the question-mark clicked on a control, or F1 seen
// by a window that no longer holds the focus) opens that control's help, not the focused one's.
TEST_F(FrameworkTest, HelpRequestForANamedControl) {
    HelpPage two(IDD_PAGE_TWO);
    PropertySheet sheet("Help");
    sheet.AddPage(two);
    host.SetProgramPath("C:\\Vela\\vela40ps.exe");
    platform::KnownFiles files{"C:\\Vela\\vela40ps.chm"};
    platform::ScopedServices installed({.files = &files});
    host.OnSheet([&] {
        host.FocusControl(IDC_PAGE_CHECK);
        const Handle edit = host.Item(two.GetHandle(), IDC_PAGE_EDIT);
        DialogEvents::Help(two, HelpRequest{IDC_PAGE_EDIT, edit});
        host.PressCancel();
    });
    EXPECT_EQ(sheet.DoModal(), kIdCancel);
    ASSERT_EQ(host.HtmlHelpCalls().size(), 1u);
    EXPECT_EQ(host.HtmlHelpCalls()[0].command.kind, HtmlHelpCommand::Kind::Popup);
    EXPECT_EQ(host.HtmlHelpCalls()[0].command.contextId, static_cast<unsigned long>(IDC_PAGE_EDIT));
}

// Without the help file neither the Help command (for a topic or for the contents) nor a
// dialog's own topic reaches the help viewer: each shows one message that names the file,
// owned by the window that asked, and returns to it. (F1 and the Pomocník buttons: the
// conformance and page tests.)
TEST_F(FrameworkTest, HelpWithoutTheHelpFileShowsAMessage) {
    HelpPage one(IDD_PAGE_ONE);
    HelpPage two(IDD_PAGE_TWO);
    PropertySheet sheet("Help");
    sheet.AddPage(one);
    sheet.AddPage(two);
    host.SetProgramPath("C:\\Vela\\vela40ps.exe");
    // Only the program itself is there.
    platform::KnownFiles files{"C:\\Vela\\vela40ps.exe"};
    platform::ScopedServices installed({.files = &files});
    enum class Owner { Sheet, Dialog };
    const struct {
        const char* what;
        Owner owner;
        std::function<void()> ask;
    } roads[] = {
        {"Help button", Owner::Sheet, [&] { host.PressHelp(); }},
        {"F1 on OK", Owner::Sheet,
         [&] {
             host.SetFocus(host.Item(sheet.GetHandle(), kIdOk));
             RunContextHelp();
         }},
        {"a dialog's topic", Owner::Dialog, [&] { ShowHelpTopic(IDD_CONFORMANCE); }},
    };
    const std::string message = "S\xFA"
                                "bor pomocn\xEDka vela40ps.chm nie je nain\x9Atalovan\xFD.";
    host.OnSheet([&] {
        for (const auto& road : roads) {
            SCOPED_TRACE(road.what);
            const size_t before = host.MessageBoxes().size();
            Handle owner = sheet.GetHandle();
            int answered = 0;
            auto ask = [&] {
                host.OnMessageBox([&](const MessageBoxCall&) {
                    ++answered;
                    return kIdOk;
                });
                road.ask();
            };
            if (road.owner == Owner::Dialog) {
                Dialog dialog(IDD_CONFORMANCE);
                host.OnDialog(IDD_CONFORMANCE, [&] {
                    owner = dialog.GetHandle();
                    ask();
                    EXPECT_EQ(host.ActiveDialog(), dialog.GetHandle());
                    host.PressCancel();
                });
                EXPECT_EQ(dialog.DoModal(), kIdCancel);
            } else {
                ask();
            }
            EXPECT_EQ(answered, 1);
            ASSERT_EQ(host.MessageBoxes().size(), before + 1);
            const MessageBoxCall& box = host.MessageBoxes().back();
            EXPECT_EQ(box.text, message);
            EXPECT_EQ(box.caption, "vela40ps");
            EXPECT_EQ(box.style, kMbOk | kMbIconInformation);
            EXPECT_EQ(box.owner, owner);
            EXPECT_NE(owner, nullptr);
        }
        // The sheet still works after the messages.
        host.SelectPage(0);
        host.PressOk();
    });
    EXPECT_EQ(sheet.DoModal(), kIdOk);
    EXPECT_THAT(host.HelpCalls(), IsEmpty());
}

// The message names the help file by its name alone, whatever the path.
TEST(HelpFileMissingMessage, NamesTheFile) {
    const struct {
        const char* helpFile;
        const char* name;
    } cases[] = {
        {"C:\\Program Files\\Vela\\vela40ps.HLP", "vela40ps.HLP"},
        {"D:/tla\xE8/VELA.HLP", "VELA.HLP"},
        {"prog.HLP", "prog.HLP"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HelpFileMissingMessage(c.helpFile), std::string("S\xFA") + "bor pomocn\xEDka " +
                                                          c.name + " nie je nain\x9Atalovan\xFD.")
            << c.helpFile;
}

struct PathCase {
    const char* program;
    const char* helpFile;
    const char* name;
};

TEST_F(FrameworkTest, HelpFileAndApplicationNameFromTheProgramPath) {
    const PathCase cases[] = {
        {"C:\\dir\\vela40ps.exe", "C:\\dir\\vela40ps.HLP", "vela40ps"},
        {"C:\\dir.x\\prog", "C:\\dir.x\\prog.HLP", "prog"},
        {"prog.a.b", "prog.a.HLP", "prog.a"},
        {"", ".HLP", ""},
    };
    for (const PathCase& c : cases) {
        host.SetProgramPath(c.program);
        EXPECT_EQ(HelpFilePath(), c.helpFile);
        const std::string html = HtmlHelpFilePath();
        EXPECT_EQ(html.substr(0, html.size() - 4) + ".HLP", c.helpFile);
        EXPECT_EQ(html.substr(html.size() - 4), ".chm");
        EXPECT_EQ(ApplicationName(), c.name);
    }
}

TEST_F(FrameworkTest, WaitCursorAndFileDialog) {
    {
        WaitCursor outer;
        WaitCursor inner;
        EXPECT_EQ(host.WaitCursorDepth(), 2);
    }
    EXPECT_EQ(host.WaitCursorDepth(), 0);
    EXPECT_EQ(host.WaitCursorShows(), 2);

    host.OnOpenFile([](const OpenFileRequest& request) -> std::optional<std::string> {
        EXPECT_TRUE(request.fileMustExist);
        EXPECT_TRUE(request.noLongNames);
        return std::string("C:\\HEADER.PS");
    });
    OpenFileRequest request;
    request.noLongNames = true;
    EXPECT_EQ(ShowOpenFileDialog(request), "C:\\HEADER.PS");
    host.OnOpenFile([](const OpenFileRequest&) { return std::optional<std::string>(); });
    EXPECT_EQ(ShowOpenFileDialog(request), std::nullopt);
    EXPECT_THROW(ShowOpenFileDialog(request), ScriptError);
}

// Script failures are loud, and leave the backend clean for what follows.
TEST_F(FrameworkTest, ScriptFailuresThrowAndCleanUp) {
    {
        Dialog dialog(IDD_SMALL);
        EXPECT_THROW(dialog.DoModal(), ScriptError);
        EXPECT_EQ(dialog.GetHandle(), nullptr);
    }
    {
        Dialog dialog(IDD_SMALL);
        host.OnDialog(IDD_SMALL, [] {});
        EXPECT_THROW(dialog.DoModal(), ScriptError);
    }
    EXPECT_THROW(MessageBox("unexpected"), ScriptError);
    {
        Dialog dialog(IDD_SMALL);
        host.OnDialog(IDD_SMALL, [&] { host.Click(12345); });
        EXPECT_THROW(dialog.DoModal(), ScriptError);
    }
    EXPECT_EQ(host.ActiveModalWindow(), nullptr);
    EXPECT_EQ(host.TakeFailures().size(), 4u);
    Dialog dialog(9999);
    host.SetThrowOnFailure(false);
    EXPECT_EQ(dialog.DoModal(), kModalLoopEnded);
    EXPECT_EQ(host.TakeFailures().size(), 1u);
}

// Fallbacks answer what no specific handler was queued for; queued handlers still come first.
TEST_F(FrameworkTest, FallbackHandlers) {
    std::vector<int> dialogs;
    host.SetDialogFallback([&](int id) {
        dialogs.push_back(id);
        host.PressCancel();
    });
    host.SetMessageBoxFallback([](const MessageBoxCall&) { return kIdNo; });
    host.SetOpenFileFallback([](const OpenFileRequest&) { return std::string("C:\\A.PS"); });
    host.OnDialog(IDD_SMALL, [&] { host.PressOk(); });
    host.AnswerMessageBox(kIdYes);
    Dialog first(IDD_SMALL);
    Dialog second(IDD_SMALL);
    EXPECT_EQ(first.DoModal(), kIdOk);
    EXPECT_EQ(second.DoModal(), kIdCancel);
    EXPECT_EQ(dialogs, std::vector<int>{IDD_SMALL});
    EXPECT_EQ(MessageBox("first"), kIdYes);
    EXPECT_EQ(MessageBox("second"), kIdNo);
    EXPECT_EQ(ShowOpenFileDialog({}), "C:\\A.PS");
    EXPECT_TRUE(host.TakeFailures().empty());
}

// The test host's views and shortcuts read what the controls hold.
TEST_F(FrameworkTest, TestHostShortcuts) {
    Dialog dialog(IDD_CONFORMANCE);
    host.OnDialog(IDD_CONFORMANCE, [&] {
        const ComboBox combo = host.Combo(IDC_PLAIN_COMBO);
        combo.AddString("Jednostrann\xE1 tla\xE8");
        combo.AddString("Dlh\x9A\xED okraj");
        combo.SetItemData(1, 2);
        combo.SetCurSel(1);
        EXPECT_THAT(host.Items(IDC_PLAIN_COMBO),
                    ElementsAre(headless::Cp1250(u8"Jednostranná tlač"),
                                headless::Cp1250(u8"Dlhší okraj")));
        EXPECT_THAT(host.ItemData(IDC_PLAIN_COMBO), ElementsAre(0, 2));
        EXPECT_EQ(host.Selection(IDC_PLAIN_COMBO), 1);
        EXPECT_EQ(host.SelectedText(IDC_PLAIN_COMBO), headless::Cp1250(u8"Dlhší okraj"));
        EXPECT_EQ(host.Bitmap(IDC_PICTURE), IDB_TEST_WIDE);
        EXPECT_EQ(host.BitmapSize(IDB_TEST_SMALL), (Size{17, 11}));
        EXPECT_FALSE(host.IsEnabled(IDC_DISABLED));
        EXPECT_FALSE(host.IsShown(IDC_HIDDEN));
        EXPECT_EQ(host.Template(IDD_SMALL)->caption, "Mal\xFD");
        host.Paint(IDC_OWNERDRAW, true);
        host.PressCancel();
    });
    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    // The dialog has no owner-draw handler: nothing was drawn.
    EXPECT_THAT(host.LastPaint(), IsEmpty());
}

} // namespace
} // namespace ui
