#include "app/program/application.h"

#include <cstring>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/settings_message.h"
#include "res/resource.h"
#include "tests/support/program_fixture.h"
#include "ui/dialog.h"

namespace app::testing {
namespace {

using ::testing::IsEmpty;
using ::testing::IsSubsetOf;

constexpr std::int32_t kOwner = 0x00012345;

// The PPD beside the driver file: the last three characters become "ppd"; a path shorter than
// that has only its own characters replaced.
TEST(PpdPath, LastThreeCharactersBecomePpd) {
    struct Case {
        const char* driver;
        const char* ppd;
    };
    const Case cases[] = {
        {"C:\\WINDOWS\\SYSTEM\\VELA40PS.DLL", "C:\\WINDOWS\\SYSTEM\\VELA40PS.ppd"},
        {"printer.dll", "printer.ppd"},
        {"printer.xy", "printerppd"},
        {"printer.x", "printeppd"}, // three characters, whatever they are
        {"abc", "ppd"},
        {"ab", "pd"},
        {"x", "d"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PpdPathOfDriverFile(c.driver), c.ppd) << c.driver;
}

class RunTest : public ProgramTest {};

// OK answers the live block as a message of type 1 with owner window 0; every byte the sheet
// did not change (the reserved ones included) comes back as sent, the colour flag is the PPD's.
TEST_F(RunTest, OkSendsTheBlock) {
    const std::string driver = WritePpd("vela.ppd", kColorPpd);
    const PrinterSettingsBlock sent = DriverBlock(driver);
    ASSERT_EQ(sent.colorDevice(), 0);
    const std::size_t conv = Driver(Message(sent, kOwner));
    host.OnSheet([&] {
        ConfigApp& app = TheApp();
        ASSERT_NE(app.mainWindow, nullptr);
        EXPECT_EQ(host.Text(app.mainWindow->GetHandle()), "Vela Farebn\xE1");
        EXPECT_EQ(app.mainWindow->GetOwnerWindow(), static_cast<std::uintptr_t>(kOwner));
        EXPECT_EQ(app.mainWindow->GetActiveIndex(), 0);
        EXPECT_EQ(app.ownerWindow, static_cast<std::uintptr_t>(kOwner));
        host.PressOk();
    });
    EXPECT_EQ(RunConfigApp(TheApp(), link, registry), RunOutcome::SentSettings);

    const std::vector<Bytes> answers = Deliveries(conv);
    ASSERT_EQ(answers.size(), 1u);
    const std::optional<SettingsMessage> answer = ParseSettingsMessage(answers[0]);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answers[0].size(), kSettingsMessageSize);
    EXPECT_EQ(answer->size, 1312);
    EXPECT_EQ(answer->type, kMessageTypeSettings);
    EXPECT_EQ(answer->ownerWindow, 0);
    PrinterSettingsBlock expected = sent;
    expected.setColorDevice(1);
    EXPECT_EQ(answer->block, expected);
    EXPECT_EQ(link.status(), kLinkClosed);
    EXPECT_EQ(TheApp().mainWindow, nullptr);
}

// Cancel answers exactly the 8-byte cancellation.
TEST_F(RunTest, CancelSendsTheCancellation) {
    const std::size_t conv = Driver(Message(DriverBlock(WritePpd("vela.ppd", kColorPpd)), 0));
    host.OnSheet([&] { host.PressCancel(); });
    EXPECT_EQ(RunConfigApp(TheApp(), link, registry), RunOutcome::SentCancel);
    EXPECT_THAT(Deliveries(conv), ::testing::ElementsAre(Bytes{8, 0, 0, 0, 2, 0, 0, 0}));
    EXPECT_EQ(link.status(), kLinkClosed);
}

// Runs that end before the sheet show no window and answer nothing: no message within the
// wait, a driver that only disconnects, a PPD that cannot be loaded (the link stays open), a
// connection on another topic.
TEST_F(RunTest, RunsThatEndBeforeTheSheet) {
    struct Case {
        const char* name;
        bool poke;
        bool ppd;
        bool disconnectOnly;
        const char* topic;
        RunOutcome outcome;
        int status;
    };
    const Case cases[] = {
        {"no poke", false, true, false, kDdeTopicName, RunOutcome::NoSettings, kLinkTimedOut},
        {"disconnect before any poke", false, true, true, kDdeTopicName, RunOutcome::NoSettings,
         kLinkOpen},
        {"missing PPD", true, false, false, kDdeTopicName, RunOutcome::NoPpd, kLinkOpen},
        {"another topic", true, true, false, "SYSTEM", RunOutcome::NoSettings, kLinkWrongTopic},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::SimulatedDdeml sim;
        DriverLink caseLink(sim, sim);
        const std::string driver =
            c.ppd ? WritePpd("vela.ppd", kColorPpd) : (dir / "missing.dll").string();
        const std::size_t conv = sim.Connect(kDdeServiceName, c.topic);
        sim.StartAdvise(conv, kDdeItemName, 0xFFFFC000u);
        if (c.poke)
            sim.Poke(conv, kDdeItemName, Message(DriverBlock(driver), kOwner));
        if (c.disconnectOnly)
            sim.Disconnect(conv);
        // No OnSheet handler: a sheet would fail the test.
        EXPECT_EQ(RunConfigApp(TheApp(), caseLink, registry), c.outcome);
        EXPECT_EQ(caseLink.status(), c.status);
        EXPECT_EQ(TheApp().mainWindow, nullptr);
        for (const auto& advise : sim.conversation(conv).links)
            EXPECT_THAT(advise.deliveries, IsEmpty());
        caseLink.Close();
    }
}

// Pokes of 28 and 0 bytes are ignored and the full one that follows is used.
TEST_F(RunTest, IgnoredPokesBeforeTheMessage) {
    const PrinterSettingsBlock sent = DriverBlock(WritePpd("vela.ppd", kColorPpd));
    const std::size_t conv = dde.Connect(kDdeServiceName, kDdeTopicName);
    dde.StartAdvise(conv, kDdeItemName, 0xFFFFC000u);
    dde.Poke(conv, kDdeItemName, Bytes(28, 0xEE));
    dde.Poke(conv, kDdeItemName, Bytes());
    dde.Poke(conv, kDdeItemName, Message(sent, kOwner));
    host.OnSheet([&] { host.PressOk(); });
    EXPECT_EQ(RunConfigApp(TheApp(), link, registry), RunOutcome::SentSettings);
    const std::vector<Bytes> answers = Deliveries(conv);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(std::memcmp(answers[0].data() + kMessageBlockOffset, sent.data(), 147), 0);
}

// The driver disconnecting while the sheet is shown ends the sheet (the WM_QUIT the link posts
// ends its modal loop) and nothing is sent.
TEST_F(RunTest, DisconnectWhileShownEndsTheSheet) {
    const std::size_t conv = Driver(Message(DriverBlock(WritePpd("vela.ppd", kColorPpd)), 0));
    host.OnSheet([&] {
        dde.Disconnect(conv);
        // The sheet's loop dispatches the disconnect and retrieves the WM_QUIT it posts.
        if (dde.PumpMessages())
            host.PostQuit(0);
    });
    EXPECT_EQ(RunConfigApp(TheApp(), link, registry), RunOutcome::NothingSent);
    EXPECT_THAT(Deliveries(conv), IsEmpty());
    EXPECT_EQ(link.status(), kLinkOpen); // left for the process exit
    link.Close();
}

// A poke that arrives while the sheet is shown (the receive has returned and its buffer is gone)
// changes nothing: the answer is the block received first.
TEST_F(RunTest, LatePokeWritesNothing) {
    const PrinterSettingsBlock sent = DriverBlock(WritePpd("vela.ppd", kColorPpd));
    const std::size_t conv = Driver(Message(sent, 0));
    host.OnSheet([&] {
        PrinterSettingsBlock other = sent;
        other.setCopies(99);
        other.setPrinterName("In\xFD");
        dde.Poke(conv, kDdeItemName, Message(other, 0x777));
        EXPECT_FALSE(dde.PumpMessages());
        EXPECT_EQ(dde.conversation(conv).pokeResults.back(), platform::kDdeFack);
        EXPECT_EQ(TheApp().settings.copies(), sent.copies());
        host.PressOk();
    });
    EXPECT_EQ(RunConfigApp(TheApp(), link, registry), RunOutcome::SentSettings);
    const std::vector<Bytes> answers = Deliveries(conv);
    ASSERT_EQ(answers.size(), 1u);
    const std::optional<SettingsMessage> answer = ParseSettingsMessage(answers[0]);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->block.copies(), sent.copies());
    EXPECT_EQ(answer->block.printerName(), sent.printerName());
}

// A connection on another topic while the sheet is shown is refused; the failure it leaves does
// not crash the run, and OK still answers the driver and closes the link.
TEST_F(RunTest, StrangerWhileShownStillAnswers) {
    const std::size_t conv = Driver(Message(DriverBlock(WritePpd("vela.ppd", kColorPpd)), 0));
    host.OnSheet([&] {
        const std::size_t stranger = dde.Connect(kDdeServiceName, "SYSTEM");
        dde.PumpMessages();
        EXPECT_NE(dde.conversation(stranger).state,
                  platform::SimulatedDdeml::ConversationState::Connected);
        host.PressOk();
    });
    EXPECT_EQ(RunConfigApp(TheApp(), link, registry), RunOutcome::SentSettings);
    EXPECT_EQ(link.status(), kLinkClosed);
    EXPECT_EQ(Deliveries(conv).size(), 1u);
}

// The pages with their tabs' titles, exactly and in order: Consumables and Settings only with
// devicePropertiesMode, About last. Every page can be shown.
TEST_F(RunTest, PagesFollowDevicePropertiesMode) {
    struct Page {
        const char* title;
        bool deviceOnly;
    };
    const Page sheetPages[] = {
        {"Rozvrhnutie", false},
        {"Papier", false},
        {"Funkcie", false},
        {"Pretla\xE8", false},
        {"P\xEDsma", false},
        {"Spotrebn\xFD materi\xE1l", true},
        {"Nastavenie", true},
        {"O aplik\xE1"
         "cii",
         false},
    };
    for (const bool device : {false, true}) {
        SCOPED_TRACE(device ? "device properties" : "document properties");
        platform::SimulatedDdeml sim;
        DriverLink caseLink(sim, sim);
        const std::size_t conv = sim.Connect(kDdeServiceName, kDdeTopicName);
        sim.StartAdvise(conv, kDdeItemName, 0xFFFFC000u);
        sim.Poke(conv, kDdeItemName,
                 Message(DriverBlock(WritePpd("vela.ppd", kColorPpd), device), 0));
        std::vector<std::string> titles;
        host.OnSheet([&] {
            ui::PropertySheet& sheet = *TheApp().mainWindow;
            for (int i = 0; i < sheet.GetPageCount(); ++i) {
                const auto dialog = host.Template(sheet.GetPage(i).GetTemplateId());
                titles.push_back(dialog ? dialog->caption : "?");
                EXPECT_TRUE(sheet.SetActivePage(i));
                EXPECT_EQ(sheet.GetActiveIndex(), i);
            }
            host.PressCancel();
        });
        EXPECT_EQ(RunConfigApp(TheApp(), caseLink, registry), RunOutcome::SentCancel);
        std::vector<std::string> expected;
        for (const Page& page : sheetPages) {
            if (device || !page.deviceOnly)
                expected.emplace_back(page.title);
        }
        EXPECT_EQ(titles, expected);
    }
}

// The colour flag comes from the PPD, whatever the driver sent.
TEST_F(RunTest, ColorFlagFromThePpd) {
    struct Case {
        const char* ppd;
        std::int16_t sent;
        std::int16_t answered;
    };
    const Case cases[] = {
        {"*PPD-Adobe: \"4.3\"\n*Extensions: CMYK\n", 0, 1},
        {"*PPD-Adobe: \"4.3\"\n*ColorDevice: True\n", 0, 1},
        {"*PPD-Adobe: \"4.3\"\n*ColorDevice: False\n", 1, 0},
        {"*PPD-Adobe: \"4.3\"\n*NickName: \"Mono\"\n", 1, 0},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ppd);
        platform::SimulatedDdeml sim;
        DriverLink caseLink(sim, sim);
        PrinterSettingsBlock block =
            DriverBlock(WritePpd("c" + std::to_string(index++) + ".ppd", c.ppd));
        block.setColorDevice(c.sent);
        const std::size_t conv = sim.Connect(kDdeServiceName, kDdeTopicName);
        sim.StartAdvise(conv, kDdeItemName, 0xFFFFC000u);
        sim.Poke(conv, kDdeItemName, Message(block, 0));
        host.OnSheet([&] { host.PressOk(); });
        EXPECT_EQ(RunConfigApp(TheApp(), caseLink, registry), RunOutcome::SentSettings);
        const auto& deliveries = sim.conversation(conv).links.at(0).deliveries;
        ASSERT_EQ(deliveries.size(), 1u);
        const std::optional<SettingsMessage> answer = ParseSettingsMessage(*deliveries[0]);
        ASSERT_TRUE(answer.has_value());
        EXPECT_EQ(answer->block.colorDevice(), c.answered);
    }
}

// The Help command: on the sheet's Help button, the topic of the active page in the help file
// named after the program.
TEST_F(RunTest, HelpOpensTheActivePagesTopic) {
    files.files = {"C:\\Vela\\VELA40PS.HLP"};
    Driver(Message(DriverBlock(WritePpd("vela.ppd", kColorPpd)), 0));
    host.OnSheet([&] {
        ui::PropertySheet& sheet = *TheApp().mainWindow;
        sheet.SetActivePage(sheet.GetPageCount() - 1); // About
        host.PressHelp();
        host.PressCancel();
    });
    RunConfigApp(TheApp(), link, registry);
    ASSERT_EQ(host.HelpCalls().size(), 1u);
    EXPECT_EQ(host.HelpCalls()[0].helpFile, "C:\\Vela\\VELA40PS.HLP");
    EXPECT_EQ(host.HelpCalls()[0].command, ui::kHelpContext);
    EXPECT_EQ(host.HelpCalls()[0].data, static_cast<unsigned long>(IDD_ABOUT));
}

// With the HTML Help file beside the program the Help button opens the active page's topic in
// HTML Help, owned by the sheet, and the run closes the help windows when the sheet ends.
TEST_F(RunTest, HtmlHelpOpensTheActivePagesTopicAndClosesWithTheSheet) {
    files.files = {"C:\\Vela\\VELA40PS.chm"};
    Driver(Message(DriverBlock(WritePpd("vela.ppd", kColorPpd)), 0));
    ui::Handle sheetWindow = nullptr;
    host.OnSheet([&] {
        ui::PropertySheet& sheet = *TheApp().mainWindow;
        sheetWindow = sheet.GetHandle();
        sheet.SetActivePage(sheet.GetPageCount() - 1); // About
        host.PressHelp();
        EXPECT_EQ(host.HtmlHelpCalls().size(), 1u); // nothing closed while the sheet runs
        host.PressOk();
    });
    EXPECT_EQ(RunConfigApp(TheApp(), link, registry), RunOutcome::SentSettings);
    EXPECT_TRUE(host.HelpCalls().empty());
    const auto& calls = host.HtmlHelpCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].command.kind, ui::HtmlHelpCommand::Kind::Topic);
    EXPECT_EQ(calls[0].command.file, "C:\\Vela\\VELA40PS.chm::/120.htm");
    EXPECT_EQ(calls[0].owner, sheetWindow);
    EXPECT_EQ(calls[1].command.kind, ui::HtmlHelpCommand::Kind::CloseAll);
}

// Without the help file the Help button shows a message owned by the sheet instead of asking
// the help viewer; once it is answered, OK sends the settings to the driver.
TEST_F(RunTest, HelpWithoutTheHelpFileThenOkAnswersTheDriver) {
    files.files = {"C:\\Vela\\VELA40PS.EXE"};
    const std::size_t conv = Driver(Message(DriverBlock(WritePpd("vela.ppd", kColorPpd)), 0));
    ui::Handle sheetWindow = nullptr;
    host.OnSheet([&] {
        sheetWindow = TheApp().mainWindow->GetHandle();
        host.AnswerMessageBox(ui::kIdOk);
        host.PressHelp();
        host.PressOk();
    });
    EXPECT_EQ(RunConfigApp(TheApp(), link, registry), RunOutcome::SentSettings);
    EXPECT_TRUE(host.HelpCalls().empty());
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].text,
              "S\xFA"
              "bor pomocn\xEDka VELA40PS.chm nie je nain\x9Atalovan\xFD.");
    EXPECT_EQ(host.MessageBoxes()[0].caption, "VELA40PS");
    EXPECT_NE(sheetWindow, nullptr);
    EXPECT_EQ(host.MessageBoxes()[0].owner, sheetWindow);
    const std::vector<Bytes> answers = Deliveries(conv);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].size(), kSettingsMessageSize);
}

// With a printer whose port has no address, the start-up query sends nothing and leaves the
// status "not available"; the run goes on.
TEST_F(RunTest, PrinterQueryWithoutAddress) {
    PrinterSettingsBlock block = DriverBlock(WritePpd("vela.ppd", kColorPpd));
    block.setSnmpCommunity("public");
    block.setPrinterAddress("10.0.0.1");
    Driver(Message(block, 0));
    host.OnSheet([&] {
        EXPECT_EQ(TheApp().printerStatus, kPrinterUnavailable);
        EXPECT_EQ(TheApp().settings.printerAddress(), "");
        host.PressCancel();
    });
    EXPECT_EQ(RunConfigApp(TheApp(), link, registry), RunOutcome::SentCancel);
}

} // namespace
} // namespace app::testing
