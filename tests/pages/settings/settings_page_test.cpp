// The Settings page on the headless backend: the lists of installable options and their flags
// moved by hand (with the trays' rules), the lists locked when the printer answered, the two-way
// communication line against a printer played by the in-process SNMP agent, and the accounting
// data with the logged-on user's name.
#include "pages/settings/settings_page.h"

#include <cstring>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/printer_query.h"
#include "pages/settings/logon_user_name.h"
#include "tests/net/agent/fake_agent.h"
#include "tests/pages/page_test_support.h"

namespace pages {
namespace {

using net::testing::Bytes;
using net::testing::FakeAgent;
using net::testing::ReceivedRequest;
using testing::AppState;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::RunPage;
using ui::headless::Cp1250;
using ui::headless::TestHost;

// A translation string of the PPD: bytes above 127 in hexadecimal, as <E1>.
std::string PpdTranslation(const std::string& text) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string written;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            written += c;
        } else {
            written += '<';
            written += kDigits[byte >> 4];
            written += kDigits[byte & 0xF];
            written += '>';
        }
    }
    return written;
}

// An installable feature of the PPD with its two options.
std::string Installable(const std::string& keyword, const std::string& translation) {
    const std::string head =
        translation.empty() ? keyword : keyword + "/" + PpdTranslation(translation);
    return "*OpenUI *" + head + ": Boolean\n*Default" + keyword + ": False\n*" + keyword +
           " True/Nain<9A>talovan<E9>: \"\"\n*" + keyword +
           " False/Nein<9A>talovan<E9>: \"\"\n*CloseUI: *" + keyword + "\n";
}

const std::string kTray2 = Cp1250(u8"Zásobník 2");
const std::string kTray3 = Cp1250(u8"Zásobník 3");
const std::string kTray4 = Cp1250(u8"Zásobník 4");
const std::string kDisk = Cp1250(u8"Pevný disk");
const std::string kDuplexer = Cp1250(u8"Duplexná jednotka");
const std::string kEnvelope = Cp1250(u8"Podávač obálok");

// Installable features the flags know, one without a translation, one the flags do not know
// and one whose keyword differs from a known one in letter case only; and a regular feature
// named like a flag, which is no installable option.
const std::string kPpd =
    "*PPD-Adobe: \"4.3\"\n*OpenGroup: InstallableOptions\n" + Installable("OptionalBin", kTray2) +
    Installable("OptionalBin2", kTray3) + Installable("OptionalDisk", kDisk) +
    Installable("Optionalduplexer", kDuplexer) + Installable("Optionalenvelope", kEnvelope) +
    Installable("Optionalstacker", "") + Installable("OptionalFlash", "Flash") +
    Installable("optionalbin3", kTray4) + "*CloseGroup: InstallableOptions\n" +
    Installable("OptionalBin5", "Bin 5");

const std::string kUnavailable = Cp1250(u8"Obojsmerná komunikácia tlačiarne nie je dostupná");
const std::string kAvailable = Cp1250(u8"Obojsmerná komunikácia tlačiarne je nadviazaná");

constexpr std::intptr_t kDiskOffset = 988;
constexpr std::intptr_t kDuplexerOffset = 989;
constexpr std::intptr_t kBin1Offset = 990;
constexpr std::intptr_t kBin2Offset = 991;
constexpr std::intptr_t kEnvelopeOffset = 999;
constexpr std::intptr_t kStackerOffset = 1000;

// A printer that answers every object with 1, or stays silent.
class Printer {
public:
    explicit Printer(bool answers)
        : agent_([answers](const ReceivedRequest& request) {
              if (!answers)
                  return std::vector<Bytes>{};
              return std::vector<Bytes>{net::testing::IntegerResponse(
                  request.community, request.requestId, request.oid, 1)};
          }) {}
    FakeAgent& agent() { return agent_; }

private:
    FakeAgent agent_;
};

class SettingsPageTest : public ::testing::Test {
protected:
    SettingsPageTest() : app(AppState::Source::Text, kPpd) {
        app.block().setSnmpCommunity("public");
        app.block().setPortName("IP_10.0.0.7");
        page.SetSnmpOptions(silent.agent().options(20));
    }
    ~SettingsPageTest() override { app::TheApp().printerStatus = app::kPrinterUnavailable; }

    void SetUserName(const std::string& data,
                     platform::RegistryType type = platform::RegistryType::String) {
        app.registry.Put(kLogonKey, kLogonUserNameValue, type, data);
    }

    AppState app;
    Printer silent{false};
    TestHost host;
    CSettings page;
};

// The lists from the PPD's installable options the flags know, by the block's flags, sorted,
// each entry carrying its flag's offset; a feature without a translation shows its keyword.
TEST_F(SettingsPageTest, ListsFromThePpd) {
    ASSERT_TRUE(app.loaded());
    app.block().setBin1Installed(1);
    app.block().setDuplexerInstalled(1);
    app.block().setBin5Installed(1);
    app.block().setEnvelopeFeederInstalled(2); // only 1 counts as installed
    RunPage(host, page, [&] {
        EXPECT_THAT(host.Items(IDC_OPTIONS_INSTALLED), ElementsAre(kDuplexer, kTray2));
        EXPECT_THAT(host.ItemData(IDC_OPTIONS_INSTALLED),
                    ElementsAre(kDuplexerOffset, kBin1Offset));
        EXPECT_THAT(host.Items(IDC_OPTIONS_AVAILABLE),
                    ElementsAre("Optionalstacker", kDisk, kEnvelope, kTray3));
        EXPECT_THAT(host.ItemData(IDC_OPTIONS_AVAILABLE),
                    ElementsAre(kStackerOffset, kDiskOffset, kEnvelopeOffset, kBin2Offset));
        for (int id : {IDC_OPTIONS_AVAILABLE, IDC_OPTIONS_INSTALLED})
            EXPECT_TRUE(host.IsEnabled(id)) << id;
        for (int id : {IDC_OPTION_ADD, IDC_OPTION_REMOVE, IDC_PORT_NAME, IDC_ACCOUNT_AUTHOR})
            EXPECT_FALSE(host.IsEnabled(id)) << id;
        for (int id : {IDC_QUICK_SETUP, IDC_SNMP_COMMUNITY})
            EXPECT_FALSE(host.IsShown(id)) << id;
        EXPECT_EQ(host.Text(IDC_PORT_NAME), "IP_10.0.0.7");
        EXPECT_EQ(ui::Window(host.ActiveDialog()).GetContextHelpId(), unsigned{IDD_SETTINGS});
        for (int id : {IDC_OPTIONS_AVAILABLE, IDC_OPTION_ADD, IDC_OPTION_REMOVE,
                       IDC_OPTIONS_INSTALLED, IDC_PORT_NAME, IDC_COMM_STATUS, IDC_ACCOUNT_AUTHOR,
                       IDC_ACCOUNT_HOST, IDC_ACCOUNT_SERIES})
            EXPECT_EQ(host.Control(id).GetContextHelpId(), static_cast<unsigned>(id)) << id;
        host.PressCancel();
    });
}

// A PPD without installable options, or no PPD, gives two empty lists.
TEST_F(SettingsPageTest, NoInstallableOptions) {
    for (const bool withPpd : {true, false}) {
        SCOPED_TRACE(withPpd);
        AppState bare(AppState::Source::Text,
                      "*PPD-Adobe: \"4.3\"\n" + Installable("OptionalBin", kTray2));
        if (!withPpd)
            app::TheApp().SetPpdDocument(nullptr);
        CSettings settings;
        settings.SetSnmpOptions(silent.agent().options(20));
        RunPage(host, settings, [&] {
            EXPECT_THAT(host.Items(IDC_OPTIONS_AVAILABLE), IsEmpty());
            EXPECT_THAT(host.Items(IDC_OPTIONS_INSTALLED), IsEmpty());
            host.PressCancel();
        });
    }
}

// "Pridať" for a selected available option: the hard disk always, any other option only while
// none of the first three trays is installed. A selected installed option enables "Odstrániť".
TEST_F(SettingsPageTest, AddAllowedByTheTrays) {
    struct Case {
        const char* name;
        std::uint8_t bin1, bin2, bin3;
        const std::string& selected;
        bool addEnabled;
    };
    const Case cases[] = {
        {"no tray installed", 0, 0, 0, kEnvelope, true},
        {"no tray, the second tray", 0, 0, 0, kTray3, true},
        {"first tray", 1, 0, 0, kEnvelope, false},
        {"first tray, the disk", 1, 0, 0, kDisk, true},
        {"second tray", 0, 1, 0, kTray2, false},
        {"third tray", 0, 0, 1, kDuplexer, false},
        {"third tray, the disk", 0, 0, 1, kDisk, true},
        {"a tray flag other than 1", 2, 0, 0, kEnvelope, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app::PrinterSettingsBlock& block = app.block();
        block.setBin1Installed(c.bin1);
        block.setBin2Installed(c.bin2);
        block.setBin3Installed(c.bin3);
        block.setDuplexerInstalled(0);
        CSettings settings;
        settings.SetSnmpOptions(silent.agent().options(20));
        RunPage(host, settings, [&] {
            host.ChooseItem(IDC_OPTIONS_AVAILABLE, c.selected);
            EXPECT_EQ(host.IsEnabled(IDC_OPTION_ADD), c.addEnabled);
            EXPECT_FALSE(host.IsEnabled(IDC_OPTION_REMOVE));
            if (!host.Items(IDC_OPTIONS_INSTALLED).empty()) {
                host.ChooseItem(IDC_OPTIONS_INSTALLED, 0);
                EXPECT_FALSE(host.IsEnabled(IDC_OPTION_ADD));
                EXPECT_TRUE(host.IsEnabled(IDC_OPTION_REMOVE));
            }
            host.PressCancel();
        });
    }
}

// Moving options by hand: the entry changes lists with its flag's offset, the flag follows,
// the button used is disabled and the focus goes back to the list the entry came from.
TEST_F(SettingsPageTest, MovesOptionsByHand) {
    app.block().setDuplexerInstalled(1);
    RunPage(host, page, [&] {
        host.ChooseItem(IDC_OPTIONS_AVAILABLE, kTray3);
        host.Click(IDC_OPTION_ADD);
        EXPECT_EQ(app.block().bin2Installed(), 1);
        EXPECT_THAT(host.Items(IDC_OPTIONS_INSTALLED), ElementsAre(kDuplexer, kTray3));
        EXPECT_THAT(host.ItemData(IDC_OPTIONS_INSTALLED),
                    ElementsAre(kDuplexerOffset, kBin2Offset));
        EXPECT_THAT(host.Items(IDC_OPTIONS_AVAILABLE),
                    ElementsAre("Optionalstacker", kDisk, kEnvelope, kTray2));
        EXPECT_FALSE(host.IsEnabled(IDC_OPTION_ADD));
        EXPECT_EQ(host.FocusedId(), IDC_OPTIONS_AVAILABLE);

        host.ChooseItem(IDC_OPTIONS_INSTALLED, kDuplexer);
        host.Click(IDC_OPTION_REMOVE);
        EXPECT_EQ(app.block().duplexerInstalled(), 0);
        EXPECT_THAT(host.Items(IDC_OPTIONS_INSTALLED), ElementsAre(kTray3));
        EXPECT_THAT(host.ItemData(IDC_OPTIONS_AVAILABLE),
                    ElementsAre(kDuplexerOffset, kStackerOffset, kDiskOffset, kEnvelopeOffset,
                                kBin1Offset));
        EXPECT_FALSE(host.IsEnabled(IDC_OPTION_REMOVE));
        EXPECT_EQ(host.FocusedId(), IDC_OPTIONS_INSTALLED);
        host.PressOk();
    });
    EXPECT_EQ(app.block().duplexerInstalled(), 0);
    // The second tray follows the first when the page is left.
    EXPECT_EQ(app.block().bin2Installed(), 0);
}

// Leaving the page pairs the second tray with the first; the lists show the pairing when the
// page comes back.
TEST_F(SettingsPageTest, SecondTrayFollowsTheFirst) {
    app.block().setBin1Installed(1);
    RunPage(host, page, [&] {
        EXPECT_THAT(host.Items(IDC_OPTIONS_INSTALLED), ElementsAre(kTray2));
        host.SelectPage(1);
        EXPECT_EQ(app.block().bin2Installed(), 1);
        host.SelectPage(0);
        EXPECT_THAT(host.Items(IDC_OPTIONS_INSTALLED), ElementsAre(kTray2, kTray3));
        host.ChooseItem(IDC_OPTIONS_INSTALLED, kTray2);
        host.Click(IDC_OPTION_REMOVE);
        host.PressOk();
    });
    EXPECT_EQ(app.block().bin1Installed(), 0);
    EXPECT_EQ(app.block().bin2Installed(), 0);
}

// The two-way communication line: nothing is sent without an address or a community; an
// answering printer is "nadviazaná", a silent one "nie je dostupná". The lists stay editable
// unless the printer answered at start-up, also when the address was resolved later (as the
// Consumables page does for a printer that did not answer).
TEST_F(SettingsPageTest, TwoWayCommunication) {
    struct Case {
        const char* name;
        std::int32_t startup;
        const char* address;
        const char* community;
        bool answers;
        const std::string& text;
        bool queried;
    };
    const std::int32_t answered = app::kPrinterAnswered;
    const std::int32_t unavailable = app::kPrinterUnavailable;
    const Case cases[] = {
        {"no address", unavailable, "", "public", true, kUnavailable, false},
        {"no community", unavailable, "127.0.0.1", "", true, kUnavailable, false},
        {"answering printer", answered, "127.0.0.1", "public", true, kAvailable, true},
        {"silent printer", answered, "127.0.0.1", "public", false, kUnavailable, true},
        {"address resolved after start-up", unavailable, "127.0.0.1", "public", true, kAvailable,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Printer printer(c.answers);
        ASSERT_TRUE(printer.agent().ok());
        app::TheApp().printerStatus = c.startup;
        app.block().setPrinterAddress(c.address);
        app.block().setSnmpCommunity(c.community);
        CSettings settings;
        settings.SetSnmpOptions(printer.agent().options(c.answers ? 2000 : 20));
        RunPage(host, settings, [&] {
            EXPECT_EQ(host.Text(IDC_COMM_STATUS), c.text);
            const bool editable = c.startup != answered;
            EXPECT_EQ(host.IsEnabled(IDC_OPTIONS_AVAILABLE), editable);
            EXPECT_EQ(host.IsEnabled(IDC_OPTIONS_INSTALLED), editable);
            const std::size_t sent =
                c.answers ? printer.agent().requests().size()
                          : printer.agent().WaitForRequests(c.queried ? net::kSnmpSendAttempts : 0);
            EXPECT_EQ(sent > 0, c.queried);
            // A silent printer is asked once (five sends), without the walk after it.
            if (!c.answers && c.queried) {
                EXPECT_EQ(sent, static_cast<std::size_t>(net::kSnmpSendAttempts));
            }
            // The check runs once, when the page is first shown.
            host.SelectPage(1);
            host.SelectPage(0);
            EXPECT_EQ(printer.agent().requests().size(), sent);
            EXPECT_EQ(host.IsEnabled(IDC_OPTIONS_AVAILABLE), editable);
            host.PressCancel();
        });
        EXPECT_EQ(settings.Status(),
                  c.text == kAvailable ? kCommunicationAvailable : kCommunicationUnavailable);
        for (const ReceivedRequest& request : printer.agent().requests())
            EXPECT_EQ(request.community, "public");
        EXPECT_EQ(host.WaitCursorDepth(), 0);
    }
    EXPECT_EQ(CommunicationStatusText(kCommunicationChecking),
              Cp1250(u8"Kontrola dostupnosti obojsmernej komunikácie tlačiarne"));
    EXPECT_EQ(CommunicationStatusText(-1), kUnavailable);
}

// The logged-on user's name: only a text value that fits the 64-byte field is taken; the key
// is never created.
TEST(LogonUserName, Reads) {
    struct Case {
        const char* name;
        bool key;
        std::string data;
        platform::RegistryType type;
        std::optional<std::string> user;
    };
    const std::string longest(63, 'u');
    const Case cases[] = {
        {"a name", true, std::string("jana\0", 5), platform::RegistryType::String, "jana"},
        {"63 characters", true, longest + '\0', platform::RegistryType::String, longest},
        {"64 characters and the NUL", true, longest + "u" + '\0', platform::RegistryType::String,
         std::nullopt},
        {"64 characters without a NUL", true, longest + "u", platform::RegistryType::String,
         longest + "u"},
        {"an inner NUL ends the name", true, std::string("jan\0xx\0", 7),
         platform::RegistryType::String, "jan"},
        {"not a text", true, std::string("\1\0\0\0", 4), platform::RegistryType::Dword,
         std::nullopt},
        {"no value", true, "", platform::RegistryType::None, std::nullopt},
        {"no key", false, "", platform::RegistryType::None, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::MemoryRegistry registry;
        if (c.key && c.type != platform::RegistryType::None)
            registry.Put(kLogonKey, kLogonUserNameValue, c.type, c.data);
        else if (c.key)
            registry.Put(kLogonKey, "other", platform::RegistryType::String, std::string(1, '\0'));
        EXPECT_EQ(LogonUserName(registry), c.user);
        EXPECT_EQ(registry.HasKey(kLogonKey), c.key);
        EXPECT_EQ(registry.OpenKeyCount(), 0u);
    }

    // The key is opened for reading only: a standard user reads the name too.
    platform::MemoryRegistry registry;
    registry.Put(kLogonKey, kLogonUserNameValue, platform::RegistryType::String,
                 std::string("jana\0", 5));
    registry.RefuseOperations(testing::kWritesRefused);
    EXPECT_EQ(LogonUserName(registry), "jana");
}

// The author is the logged-on user at every activation, and kept when the name cannot be read;
// host and series number go to the block when the edit is left and when OK is pressed with
// Enter while the focus is still in the edit.
TEST_F(SettingsPageTest, AccountingData) {
    app.block().setAccountingAuthor("driver");
    app.block().setAccountingHost("host0");
    app.block().setAccountingSeriesNumber("S0");
    RunPage(host, page, [&] {
        EXPECT_EQ(host.Text(IDC_ACCOUNT_AUTHOR), "driver");
        EXPECT_EQ(host.Text(IDC_ACCOUNT_HOST), "host0");
        EXPECT_EQ(host.Text(IDC_ACCOUNT_SERIES), "S0");
        for (int id : {IDC_ACCOUNT_AUTHOR, IDC_ACCOUNT_HOST, IDC_ACCOUNT_SERIES})
            EXPECT_EQ(host.EditControl(id).GetLimitText(), 63) << id;
        SetUserName(Cp1250(u8"Ján") + '\0');
        host.SelectPage(1);
        host.SelectPage(0);
        EXPECT_EQ(host.Text(IDC_ACCOUNT_AUTHOR), Cp1250(u8"Ján"));
        host.ReplaceText(IDC_ACCOUNT_HOST, "PC-12");
        host.FocusControl(IDC_ACCOUNT_SERIES);
        EXPECT_EQ(app.block().accountingHost(), "PC-12");
        host.ReplaceText(IDC_ACCOUNT_SERIES, std::string(70, '7'));
        host.PressEnter();
    });
    EXPECT_EQ(app.block().accountingAuthor(), Cp1250(u8"Ján"));
    EXPECT_EQ(app.block().accountingHost(), "PC-12");
    EXPECT_EQ(app.block().accountingSeriesNumber(), std::string(63, '7'));
}

// Typed texts reach the block with Enter on OK even when the edit never reports losing the
// focus.
TEST_F(SettingsPageTest, EnterInAnAccountingEdit) {
    for (const int id : {IDC_ACCOUNT_HOST, IDC_ACCOUNT_SERIES}) {
        SCOPED_TRACE(id);
        app.block().setAccountingHost("");
        app.block().setAccountingSeriesNumber("");
        CSettings settings;
        settings.SetSnmpOptions(silent.agent().options(20));
        RunPage(host, settings, [&] {
            host.ReplaceText(id, "typed");
            EXPECT_EQ(host.FocusedId(), id);
            host.PressEnter();
        });
        EXPECT_EQ(id == IDC_ACCOUNT_HOST ? app.block().accountingHost()
                                         : app.block().accountingSeriesNumber(),
                  "typed");
    }
}

// Texts of the block that fill their fields without a terminator are shown up to the field's
// end; leaving the page sends what it showed: an unchanged text as it came, a changed one
// terminated; the fields after them stay as they were.
TEST_F(SettingsPageTest, BlockTextsWithoutTerminator) {
    app::PrinterSettingsBlock& block = app.block();
    std::memset(block.data() + 1244, 'p', 32); // portName, to the end of the block's texts
    std::memset(block.data() + 1068, 'h', 64); // accountingHost
    std::memset(block.data() + 1132, 's', 64); // accountingSeriesNumber
    RunPage(host, page, [&] {
        EXPECT_EQ(host.Text(IDC_PORT_NAME), std::string(32, 'p'));
        EXPECT_EQ(host.Text(IDC_ACCOUNT_HOST), std::string(64, 'h'));
        host.ReplaceText(IDC_ACCOUNT_SERIES, "S1");
        host.PressOk();
    });
    EXPECT_EQ(block.accountingHost(), std::string(64, 'h'));
    EXPECT_EQ(block.data()[1068 + 63], 'h');
    EXPECT_EQ(block.accountingSeriesNumber(), "S1");
    EXPECT_EQ(block.portName(), std::string(32, 'p'));
}

} // namespace
} // namespace pages
