#include "app/printer_query.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/memory_registry.h"
#include "ppd/ppd.h"
#include "tests/net/agent/fake_agent.h"

namespace app {
namespace {

using net::ComponentEntries;
using net::ComponentEntry;

// Installable features (one spelled with another case), an input slot list and constraints
// that tie two slots to the absence of their units. Slovak letters as hexadecimal code page
// 1250 bytes, as PPD translations carry them.
const char kPpd[] = "*PPD-Adobe: \"4.3\"\n"
                    "*OpenGroup: InstallableOptions/Doplnky\n"
                    "*OpenUI *OptionalBin/Z<E1>sobn<ED>k 2: Boolean\n"
                    "*DefaultOptionalBin: False\n"
                    "*OptionalBin True/Nain<9A>talovan<E9>: \"\"\n"
                    "*OptionalBin False/Nein<9A>talovan<E9>: \"\"\n"
                    "*CloseUI: *OptionalBin\n"
                    "*OpenUI *OptionalBin2/Z<E1>sobn<ED>k 3: Boolean\n"
                    "*DefaultOptionalBin2: False\n"
                    "*OptionalBin2 True/Nain<9A>talovan<E9>: \"\"\n"
                    "*OptionalBin2 False/Nein<9A>talovan<E9>: \"\"\n"
                    "*CloseUI: *OptionalBin2\n"
                    "*OpenUI *Optionalbin3/Z<E1>sobn<ED>k 4: Boolean\n"
                    "*DefaultOptionalbin3: False\n"
                    "*Optionalbin3 True/Nain<9A>talovan<E9>: \"\"\n"
                    "*Optionalbin3 False/Nein<9A>talovan<E9>: \"\"\n"
                    "*CloseUI: *Optionalbin3\n"
                    "*OpenUI *OptionalMailbox/Schr<E1>nky: Boolean\n"
                    "*DefaultOptionalMailbox: False\n"
                    "*OptionalMailbox True/Nain<9A>talovan<E9>: \"\"\n"
                    "*OptionalMailbox False/Nein<9A>talovan<E9>: \"\"\n"
                    "*CloseUI: *OptionalMailbox\n"
                    "*OpenUI *Optionalenvelope/Ob<E1>lky: Boolean\n"
                    "*DefaultOptionalenvelope: False\n"
                    "*Optionalenvelope True/Nain<9A>talovan<E9>: \"\"\n"
                    "*Optionalenvelope False/Nein<9A>talovan<E9>: \"\"\n"
                    "*CloseUI: *Optionalenvelope\n"
                    "*OpenUI *Optionalfeeder/Pod<E1>va<E8>: Boolean\n"
                    "*DefaultOptionalfeeder: False\n"
                    "*Optionalfeeder True/Nain<9A>talovan<E9>: \"\"\n"
                    "*Optionalfeeder False/Nein<9A>talovan<E9>: \"\"\n"
                    "*CloseUI: *Optionalfeeder\n"
                    "*CloseGroup: InstallableOptions\n"
                    "*OpenUI *InputSlot/Zdroj: PickOne\n"
                    "*DefaultInputSlot: Auto\n"
                    "*InputSlot Auto/Automaticky: \"\"\n"
                    "*InputSlot Tray2/Z<E1>sobn<ED>k 2: \"\"\n"
                    "*InputSlot Feeder/Pod<E1>va<E8>: \"\"\n"
                    "*CloseUI: *InputSlot\n"
                    "*UIConstraints: *InputSlot Tray2 *OptionalBin False\n"
                    "*UIConstraints: *InputSlot Feeder *Optionalfeeder False\n";

const char kTray2[] = "Z\xE1sobn\xEDk 2";
const char kFeeder[] = "Pod\xE1va\xE8";

struct DocumentDeleter {
    void operator()(const ppd::PpdDocument* doc) const { ppd::FreePpdDocument(doc); }
};
using Document = std::unique_ptr<const ppd::PpdDocument, DocumentDeleter>;

Document LoadModel() {
    return Document(ppd::ParsePpdBytes(kPpd, sizeof kPpd - 1, "printer_query_test.ppd"));
}

struct Entry {
    const char* name;
    std::int32_t level;
    std::int32_t capacity;
    std::int32_t kind;
};

ComponentEntries Entries(const std::vector<Entry>& list) {
    ComponentEntries entries;
    std::memset(entries.data(), 0, sizeof(ComponentEntry) * entries.size());
    for (std::size_t i = 0; i < list.size() && i < entries.size(); ++i) {
        std::strncpy(entries[i].name, list[i].name, sizeof entries[i].name - 1);
        entries[i].level = list[i].level;
        entries[i].capacity = list[i].capacity;
        entries[i].kind = list[i].kind;
    }
    return entries;
}

// Scalar answers by row; -1 is no answer.
net::SnmpScalarTable Scalars(std::vector<std::int32_t> values) {
    net::SnmpScalarTable table = net::ScalarTable();
    for (std::size_t i = 0; i < values.size(); ++i)
        table[i].value = values[i];
    return table;
}

// The flags as one string, block order: disk duplexer bin1..bin5 feeder envelope stacker
// finisher mailbox multires.
std::string Flags(const PrinterSettingsBlock& block) {
    std::string flags;
    for (const InstalledOptionFlag& flag : InstalledOptionFlags())
        flags += static_cast<char>('0' + (block.*flag.get)());
    return flags;
}

PrinterSettingsBlock BlockWithFlags(const std::string& flags) {
    PrinterSettingsBlock block;
    std::size_t i = 0;
    for (const InstalledOptionFlag& flag : InstalledOptionFlags())
        (block.*flag.set)(static_cast<std::uint8_t>(flags[i++] - '0'));
    return block;
}

// The flag table is the block's layout at offsets 988 to 1003, 995 to 997 left out.
TEST(InstalledOptionFlags, MapKeywordsToBlockFields) {
    const std::vector<std::pair<std::string, int>> expected = {
        {"OptionalDisk", 988},      {"Optionalduplexer", 989},  {"OptionalBin", 990},
        {"OptionalBin2", 991},      {"OptionalBin3", 992},      {"OptionalBin4", 993},
        {"OptionalBin5", 994},      {"Optionalfeeder", 998},    {"Optionalenvelope", 999},
        {"Optionalstacker", 1000},  {"Optionalfinisher", 1001}, {"OptionalMailbox", 1002},
        {"Optionalmultires", 1003},
    };
    ASSERT_EQ(InstalledOptionFlags().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const InstalledOptionFlag& flag = InstalledOptionFlags()[i];
        EXPECT_EQ(flag.keyword, expected[i].first);
        const SettingsField* field = FindSettingsField(flag.fieldName);
        ASSERT_NE(field, nullptr) << flag.fieldName;
        EXPECT_EQ(field->offset, expected[i].second) << flag.keyword;
        PrinterSettingsBlock block;
        (block.*flag.set)(1);
        EXPECT_EQ(block.data()[field->offset], 1) << flag.keyword;
        EXPECT_EQ(FindInstalledOptionFlag(flag.keyword), &flag);
    }
    EXPECT_EQ(FindInstalledOptionFlag("optionalbin"), nullptr);
}

// MarkInstalled knows twelve of the thirteen flags; the duplexer and other spellings set none.
TEST(MarkInstalled, SetsOnlyTheKnownFlags) {
    const struct {
        const char* keyword;
        bool known;
        const char* flags;
    } cases[] = {
        {"OptionalDisk", true, "1000000000000"},     {"OptionalBin", true, "0010000000000"},
        {"OptionalBin5", true, "0000001000000"},     {"Optionalfeeder", true, "0000000100000"},
        {"Optionalenvelope", true, "0000000010000"}, {"Optionalstacker", true, "0000000001000"},
        {"Optionalfinisher", true, "0000000000100"}, {"OptionalMailbox", true, "0000000000010"},
        {"Optionalmultires", true, "0000000000001"}, {"Optionalduplexer", false, "0000000000000"},
        {"OptionalBIN", false, "0000000000000"},     {"", false, "0000000000000"},
    };
    for (const auto& c : cases) {
        PrinterSettingsBlock block;
        EXPECT_EQ(MarkInstalled(block, c.keyword), c.known) << c.keyword;
        EXPECT_EQ(Flags(block), c.flags) << c.keyword;
    }
}

// The three passes over the printer's answers, one case per rule.
TEST(SyncInstalledOptions, SetsFlagsFromTheAnswers) {
    const Document model = LoadModel();
    ASSERT_NE(model, nullptr);
    // Rows: 0 1 disk multires duplexer stacker count tray 8.
    const std::vector<std::int32_t> none = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
    const struct {
        const char* what;
        std::string before;
        std::vector<std::int32_t> scalars;
        std::vector<Entry> entries;
        std::string after;
    } cases[] = {
        {"no answers clear the scalar flags", "1111111111111", none, {}, "0001111110110"},
        {"scalar answers", "0000000000000", {0, 0, 1, 2, 0, 7, -1, 1, 0}, {}, "1110000001001"},
        {"multires needs a value above 1",
         "0000000000000",
         {0, 0, -1, 1, -1, -1, -1, -1, -1},
         {},
         "0000000000000"},
        {"a second tray in any letter case",
         "0000000000000",
         none,
         {{"OPTIONAL2", 10, 500, 2}},
         "0001000000000"},
        {"a tray without capacity changes nothing",
         "0001000000000",
         none,
         {{"optional2", 10, 0, 2}},
         "0001000000000"},
        {"a tray not installed clears its flag",
         "0001000000000",
         none,
         {{"optional2", 0, 500, 1}},
         "0000000000000"},
        {"another kind changes nothing",
         "0001000000000",
         none,
         {{"optional2", 0, 500, 3}},
         "0001000000000"},
        {"an entry for a feature the PPD spells otherwise",
         "0000000000000",
         none,
         {{"optional3", 1, 500, 2}},
         "0000000000000"},
        {"an entry for a feature the PPD lacks",
         "0000000000000",
         none,
         {{"optional4", 1, 500, 2}},
         "0000000000000"},
        {"a mailbox bin reported as a tray",
         "0000000000000",
         none,
         {{"mailbin1", 1, 9, 2}},
         "0000000000000"},
        {"a mailbox bin", "0000000000000", none, {{"mailbin1", 1, 9, 3}}, "0000000000010"},
        {"the envelope feeder", "0000000000000", none, {{"Envelope", 1, 50, 2}}, "0000000010000"},
        {"the scalar pass overrides a present first tray",
         "0000000000000",
         none,
         {{"optional1", 1, 500, 2}},
         "0000000000000"},
        {"a present slot whose constraint needs the feeder",
         "0000000000000",
         {-1, -1, -1, -1, -1, -1, 1, -1, -1},
         {{"Toner", 5, 10, 4}, {kFeeder, 3, 10, 9}},
         "0000000100000"},
        {"the constraint pass sets the first tray again",
         "0000000000000",
         {-1, -1, -1, -1, -1, -1, 0, -1, -1},
         {{kTray2, 0, 0, 0}},
         "0010000000000"},
        {"a slot reported without a level",
         "0000000000000",
         {-1, -1, -1, -1, -1, -1, 5, -1, -1},
         {{kFeeder, -1, 10, 9}},
         "0000000000000"},
        {"entries past the component count",
         "0000000000000",
         {-1, -1, -1, -1, -1, -1, 0, -1, -1},
         {{"Toner", 5, 10, 4}, {kFeeder, 3, 10, 9}},
         "0000000000000"},
        {"no component count", "0000000000000", none, {{kFeeder, 3, 10, 9}}, "0000000000000"},
        {"a component count above 20 stays within the entries",
         "0000000000000",
         {-1, -1, -1, -1, -1, -1, 1000, -1, -1},
         {{"a", 0, 0, 0}, {"b", 0, 0, 0}, {"c", 0, 0, 0}, {"d", 0, 0, 0}, {"e", 0, 0, 0},
          {"f", 0, 0, 0}, {"g", 0, 0, 0}, {"h", 0, 0, 0}, {"i", 0, 0, 0}, {"j", 0, 0, 0},
          {"k", 0, 0, 0}, {"l", 0, 0, 0}, {"m", 0, 0, 0}, {"n", 0, 0, 0}, {"o", 0, 0, 0},
          {"p", 0, 0, 0}, {"q", 0, 0, 0}, {"r", 0, 0, 0}, {"s", 0, 0, 0}, {kFeeder, 1, 0, 0}},
         "0000000100000"},
    };
    for (const auto& c : cases) {
        PrinterSettingsBlock block = BlockWithFlags(c.before);
        const net::SnmpScalarTable scalars = Scalars(c.scalars);
        SyncInstalledOptions(block, model.get(), kPrinterAnswered, scalars.data(),
                             Entries(c.entries));
        EXPECT_EQ(Flags(block), c.after) << c.what;
    }
}

// Without an answer nothing changes; without a model only the scalar pass runs.
TEST(SyncInstalledOptions, NeedsAnAnswerAndUsesTheModelWhenThere) {
    const Document model = LoadModel();
    ASSERT_NE(model, nullptr);
    const net::SnmpScalarTable scalars = Scalars({0, 0, 1, 2, 0, 7, 1, 1, 0});
    const ComponentEntries entries = Entries({{"optional2", 1, 500, 2}, {kFeeder, 3, 10, 9}});

    PrinterSettingsBlock unavailable = BlockWithFlags("0101010101010");
    const PrinterSettingsBlock before = unavailable;
    SyncInstalledOptions(unavailable, model.get(), kPrinterUnavailable, scalars.data(), entries);
    EXPECT_EQ(unavailable, before);

    PrinterSettingsBlock noModel;
    SyncInstalledOptions(noModel, nullptr, kPrinterAnswered, scalars.data(), entries);
    EXPECT_EQ(Flags(noModel), "1110000001001");

    PrinterSettingsBlock withModel;
    SyncInstalledOptions(withModel, model.get(), kPrinterAnswered, scalars.data(), entries);
    EXPECT_EQ(Flags(withModel), "1111000101001");
}

// The start-up query against a printer on the in-process agent, found through the registry.
class QueryPrinterAtStartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings_.setPrinterName("Vela 40");
        settings_.setSnmpCommunity("public");
        settings_.setPrinterAddress("10.9.9.9");
        settings_.setPortName("old port");
    }
    void AddPrinter(const std::string& port, const char* address) {
        registry_.Put("System\\CurrentControlSet\\Control\\Print\\Printers\\Vela 40", "Port",
                      platform::RegistryType::String, port + '\0');
        if (address != nullptr)
            registry_.Put("System\\CurrentControlSet\\Control\\Print\\Monitors\\ZEL "
                          "Port\\Ports\\" +
                              port,
                          "IPAddress", platform::RegistryType::String, std::string(address) + '\0');
    }
    std::int32_t Query(const net::testing::FakeAgent& agent, int timeoutMs = 2000) {
        std::memset(entries_.data(), 0x11, sizeof(ComponentEntry) * entries_.size());
        return QueryPrinterAtStartup(settings_, registry_, scalars_.data(), columns_.data(),
                                     &entries_, agent.options(timeoutMs));
    }

    platform::MemoryRegistry registry_;
    PrinterSettingsBlock settings_;
    net::SnmpScalarTable scalars_ = net::ScalarTable();
    const net::SnmpColumnTable columns_ = net::ColumnTable();
    ComponentEntries entries_;
};

TEST_F(QueryPrinterAtStartupTest, ReadsTheAnsweringPrinter) {
    net::testing::PrinterObjects printer;
    printer.Integer(".1.3.6.1.4.1.480.1.1.1010.0", 1);
    printer.Integer(".1.3.6.1.4.1.480.1.304.1010.0", 1);
    printer.Text(".1.3.6.1.4.1.480.1.304.1000.1.1", "optional1");
    printer.Integer(".1.3.6.1.4.1.480.1.304.1004.1.1", 2);
    net::testing::FakeAgent agent(printer.Responder());
    ASSERT_TRUE(agent.ok());
    AddPrinter("IP_1", "127.0.0.1");
    EXPECT_EQ(Query(agent), kPrinterAnswered);
    EXPECT_EQ(settings_.printerAddress(), "127.0.0.1");
    EXPECT_EQ(settings_.portName(), "IP_1");
    EXPECT_EQ(scalars_[net::kScalarRowDisk].value, 1);
    EXPECT_EQ(scalars_[net::kScalarRowComponentCount].value, 1);
    EXPECT_STREQ(entries_[0].name, "optional1");
    EXPECT_EQ(entries_[0].kind, 2);
    EXPECT_EQ(entries_[1].kind, 0) << "the walk cleared the entries";
}

// Each reason for an unavailable printer: the address ends empty and the port name follows
// the lookup.
TEST_F(QueryPrinterAtStartupTest, ReportsAnUnavailablePrinter) {
    net::testing::FakeAgent silent(
        [](const net::testing::ReceivedRequest&) { return std::vector<net::testing::Bytes>{}; });
    ASSERT_TRUE(silent.ok());

    // No printer key: the port name stays, nothing is sent.
    EXPECT_EQ(Query(silent), kPrinterUnavailable);
    EXPECT_EQ(settings_.printerAddress(), "");
    EXPECT_EQ(settings_.portName(), "old port");
    EXPECT_EQ(entries_[0].level, 0x11111111) << "no walk without an address";

    // A local port.
    AddPrinter("LPT1:", nullptr);
    EXPECT_EQ(Query(silent), kPrinterUnavailable);
    EXPECT_EQ(settings_.portName(), "LPT1:");

    // No community.
    AddPrinter("IP_1", "127.0.0.1");
    settings_.setSnmpCommunity("");
    EXPECT_EQ(Query(silent), kPrinterUnavailable);
    EXPECT_EQ(settings_.printerAddress(), "");
    EXPECT_EQ(settings_.portName(), "IP_1");
    EXPECT_TRUE(silent.requests().empty());

    // A silent printer: no walk after the unanswered scalars, the entries cleared as the walk
    // would leave them, the address emptied.
    settings_.setSnmpCommunity("public");
    EXPECT_EQ(Query(silent, 20), kPrinterUnavailable);
    EXPECT_EQ(settings_.printerAddress(), "");
    EXPECT_EQ(silent.WaitForRequests(5), 5u) << "five sends for the scalars, none for the walk";
    EXPECT_EQ(entries_[0].level, 0);
    EXPECT_EQ(entries_[19].name[0], '\0');
}

} // namespace
} // namespace app
