// The Consumables page on the headless backend, asking a printer played by the in-process SNMP
// agent: which rows it fills, the headings, the unavailable state and refreshes, and the shop
// button's browser command.
#include "pages/consumables/consumables_page.h"

#include <climits>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/config_app.h"
#include "pages/shared/web_browser.h"
#include "platform/memory_registry.h"
#include "platform/program_launcher.h"
#include "platform/services.h"
#include "res/resource.h"
#include "tests/net/agent/fake_agent.h"
#include "ui/dialog.h"
#include "ui/headless/test_host.h"

namespace pages {
namespace {

using net::testing::Bytes;
using net::testing::FakeAgent;
using net::testing::PrinterObjects;
using net::testing::ReceivedRequest;
using ui::headless::Cp1250;

const std::string kTitle = Cp1250(u8"Informácie o spotrebnom materiáli pre tlačiareň:Vela 40");
const std::string kMaintenance = Cp1250(u8"Položky preventívnej údržby:");
const std::string kUnavailable = Cp1250(u8"Informácie o spotrebnom materiáli nie sú dostupné");
// The row that carries the maintenance heading below the toners.
const std::string kHeadingRow = Cp1250(u8"Položky preventívnej údržby: | ~ | ~ | ~");
constexpr char kShop[] = "http://obchod.vela-tlaciarne.example/";
constexpr char kPrinterKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers\\Vela 40";
constexpr char kZelPorts[] =
    "System\\CurrentControlSet\\Control\\Print\\Monitors\\ZEL Port\\Ports\\";

struct Component {
    std::string name;
    std::int32_t level;
    std::int32_t capacity;
    std::string unit;
    std::int32_t kind;
};

// `prefix` followed by `n` in decimal.
std::string Numbered(const char* prefix, int n) {
    std::string text(prefix);
    text.append(std::to_string(n));
    return text;
}

net::ComponentEntry Entry(const Component& c) {
    net::ComponentEntry entry{};
    std::strncpy(entry.name, c.name.c_str(), sizeof entry.name - 1);
    std::strncpy(entry.unitText, c.unit.c_str(), sizeof entry.unitText - 1);
    entry.level = c.level;
    entry.capacity = c.capacity;
    entry.kind = c.kind;
    return entry;
}

// The printer's objects: the component count and components at instances 1, 2, ...
PrinterObjects Objects(const std::vector<Component>& components, int count) {
    PrinterObjects objects;
    objects.Integer(".1.3.6.1.4.1.480.1.304.1010.0", count);
    for (std::size_t i = 0; i < components.size(); ++i) {
        const int k = static_cast<int>(i) + 1;
        objects.Text(Numbered(".1.3.6.1.4.1.480.1.304.1000.1.", k), components[i].name);
        objects.Integer(Numbered(".1.3.6.1.4.1.480.1.304.1001.1.", k), components[i].level);
        objects.Integer(Numbered(".1.3.6.1.4.1.480.1.304.1002.1.", k), components[i].capacity);
        objects.Text(Numbered(".1.3.6.1.4.1.480.1.304.1003.1.", k), components[i].unit);
        objects.Integer(Numbered(".1.3.6.1.4.1.480.1.304.1004.1.", k), components[i].kind);
    }
    return objects;
}

// A printer whose answers the test changes between refreshes; switched off it stays silent.
class Printer {
public:
    Printer()
        : agent_([this](const ReceivedRequest& request) {
              std::lock_guard<std::mutex> lock(mutex_);
              return answers_ ? answers_(request) : std::vector<Bytes>{};
          }) {}
    void Serve(const std::vector<Component>& components, int count) {
        std::lock_guard<std::mutex> lock(mutex_);
        answers_ = Objects(components, count).Responder("public");
    }
    void Serve(const std::vector<Component>& components) {
        Serve(components, static_cast<int>(components.size()));
    }
    void SwitchOff() {
        std::lock_guard<std::mutex> lock(mutex_);
        answers_ = nullptr;
    }
    FakeAgent& agent() { return agent_; }

private:
    std::mutex mutex_;
    FakeAgent::Responder answers_;
    FakeAgent agent_;
};

// A page of the sheet that is not the Consumables page, to leave it and come back.
class OtherPage : public ui::PropertyPage {
public:
    OtherPage() : ui::PropertyPage(IDD_ABOUT) {}
};

class ConsumablesPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(printer_.agent().ok());
        app::PrinterSettingsBlock& settings = app::TheApp().settings;
        settings = app::PrinterSettingsBlock();
        settings.setPrinterName("Vela 40");
        settings.setSnmpCommunity("public");
        settings.setPrinterAddress("127.0.0.1");
        settings.setColorDevice(1);
        page_.SetSnmpOptions(printer_.agent().options(2000));
        sheet_.AddPage(page_);
        sheet_.AddPage(other_);
    }
    void TearDown() override { app::TheApp().settings = app::PrinterSettingsBlock(); }

    // A silent printer should be given up quickly.
    void ExpectSilence() { page_.SetSnmpOptions(printer_.agent().options(20)); }

    // Runs the sheet on the Consumables page and `body` on it, then cancels.
    void Run(const std::function<void()>& body) {
        host_.OnSheet([&] {
            body();
            host_.PressCancel();
        });
        EXPECT_EQ(sheet_.DoModal(), ui::kIdCancel);
        EXPECT_TRUE(host_.MessageBoxes().empty()) << "the page reports nothing in a box";
    }

    // Row k as "name | value | maximum | lower..upper@pos", a hidden control as "~" and a row
    // with all four hidden as "-".
    std::string Row(int k) {
        auto part = [&](int id) { return host_.IsShown(id) ? host_.Text(id) : std::string("~"); };
        const ui::ProgressBar bar = host_.Progress(IDC_SUPPLY_BAR_0 + k);
        const std::string barText = host_.IsShown(IDC_SUPPLY_BAR_0 + k)
                                        ? std::to_string(bar.GetRange().first) + ".." +
                                              std::to_string(bar.GetRange().second) + "@" +
                                              std::to_string(bar.GetPos())
                                        : "~";
        const std::string row = part(IDC_SUPPLY_NAME_0 + k) + " | " + part(IDC_SUPPLY_VALUE_0 + k) +
                                " | " + part(IDC_SUPPLY_MAX_0 + k) + " | " + barText;
        return row == "~ | ~ | ~ | ~" ? "-" : row;
    }
    // The rows before the first hidden one; every row after it must be hidden as well.
    std::vector<std::string> ShownRows() {
        std::vector<std::string> rows;
        int k = 0;
        for (; k < kSupplyRowCount && Row(k) != "-"; ++k)
            rows.push_back(Row(k));
        for (; k < kSupplyRowCount; ++k)
            EXPECT_EQ(Row(k), "-") << "row " << k;
        return rows;
    }
    void ExpectUnavailable(const char* what) {
        EXPECT_EQ(host_.Text(IDC_SUPPLIES_HEADING), kUnavailable) << what;
        EXPECT_FALSE(host_.IsShown(IDC_SUPPLIES_TITLE)) << what;
        EXPECT_TRUE(ShownRows().empty()) << what;
    }

    platform::MemoryRegistry registry_;
    platform::RecordingLauncher launcher_;
    platform::ScopedServices services_{{&registry_, &launcher_}};
    ui::headless::TestHost host_;
    Printer printer_;
    CConsumables page_;
    OtherPage other_;
    ui::PropertySheet sheet_{"Vela 40"};
};

// What the two passes put where, for the shapes of printer the page meets.
TEST_F(ConsumablesPageTest, FillsRowsFromThePrinter) {
    const Component cyan{"Cyan", 1800, 6000, "strany", 4};
    const Component black{"Black", 3000, 6000, "strany", 4};
    const Component drum{"Drum", 500, 1000, "strany", 6};
    const Component fuser{"Fuser", 0, 1000, "strany", 15};
    const struct {
        const char* what;
        int colorDevice;
        std::vector<Component> components;
        int count; // -2: the number of components
        std::string heading;
        std::vector<std::string> rows;
    } cases[] = {
        {"four toners and two maintenance items",
         1,
         {cyan,
          {"Magenta", 600, 6000, "strany", 4},
          drum,
          {"Yellow", 6000, 6000, "strany", 4},
          black,
          fuser},
         -2,
         "Tonery:",
         {"Cyan | 30% | 6000 strany | 0..6000@1800", "Magenta | 10% | 6000 strany | 0..6000@600",
          "Yellow | 100% | 6000 strany | 0..6000@6000", "Black | 50% | 6000 strany | 0..6000@3000",
          kHeadingRow, "Drum | 50% | 1000 strany | 0..1000@500",
          "Fuser | 0% | 1000 strany | 0..1000@0"}},
        {"a monochrome printer's toner",
         0,
         {black},
         -2,
         "Toner:",
         {"Black | 50% | 6000 strany | 0..6000@3000"}},
        {"only maintenance items start in row 0 under the heading",
         1,
         {drum, fuser},
         -2,
         kMaintenance,
         {"Drum | 50% | 1000 strany | 0..1000@500", "Fuser | 0% | 1000 strany | 0..1000@0"}},
        {"kind 4 without measures is shown, kind 5 only with them",
         1,
         {{"K4", -1, 6000, "g", 4},
          {"K5 no level", -1, 6000, "g", 5},
          {"K5 no capacity", 10, -1, "g", 5},
          {"K5", 3000, 6000, "g", 5}},
         -2,
         "Tonery:",
         {"K4 | 0% | 6000 g | 0..6000@0", "K5 | 50% | 6000 g | 0..6000@3000"}},
        {"trays, bins, unknown kinds and unmeasured items are never shown",
         1,
         {{"Tray", 100, 500, "listov", 2},
          {"Mailbox", 1, 50, "listov", 3},
          {"Absent", 0, 0, "", 1},
          {"Kind 16", 1, 2, "x", 16},
          {"Kind 0", 1, 2, "x", 0},
          {"Belt no level", -1, 1000, "x", 7},
          {"Belt no capacity", 10, -1, "x", 7}},
         -2,
         kUnavailable,
         {}},
        {"entries past the component count are not shown",
         1,
         {cyan, black},
         1,
         "Tonery:",
         {"Cyan | 30% | 6000 strany | 0..6000@1800"}},
        {"a component count of 0", 1, {cyan}, 0, kUnavailable, {}},
        {"a capacity of 0: the level is the per cent and the maximum the unit alone",
         1,
         {{"Waste", 45, 0, "%", 9}},
         -2,
         kMaintenance,
         {"Waste | 45% | % | 0..100@45"}},
    };
    for (const auto& c : cases) {
        app::TheApp().settings.setColorDevice(static_cast<std::int16_t>(c.colorDevice));
        printer_.Serve(c.components,
                       c.count == -2 ? static_cast<int>(c.components.size()) : c.count);
        Run([&] {
            EXPECT_EQ(host_.Text(IDC_SUPPLIES_HEADING), c.heading) << c.what;
            EXPECT_EQ(host_.IsShown(IDC_SUPPLIES_TITLE), !c.rows.empty()) << c.what;
            if (!c.rows.empty()) {
                EXPECT_EQ(host_.Text(IDC_SUPPLIES_TITLE), kTitle) << c.what;
            }
            EXPECT_EQ(ShownRows(), c.rows) << c.what;
        });
    }
}

// Twenty display rows for twenty entries: the maintenance heading needs a row of its own and
// an item under it, and nothing is written past the last row.
TEST_F(ConsumablesPageTest, KeepsToTwentyRows) {
    auto toners = [](int n) {
        std::vector<Component> list;
        for (int i = 0; i < n; ++i)
            list.push_back({Numbered("T", i), 50, 100, "u", 4});
        return list;
    };
    auto plus = [](std::vector<Component> list, int n) {
        for (int i = 0; i < n; ++i)
            list.push_back({Numbered("M", i), 10, 100, "u", 8});
        return list;
    };
    const struct {
        const char* what;
        std::vector<Component> components;
        int count;
        int lastRowsShown; // rows in use
        std::string row18;
        std::string row19;
    } cases[] = {
        {"the heading would take the last row: no heading, no item", plus(toners(19), 1), 20, 19,
         "T18 | 50% | 100 u | 0..100@50", "-"},
        {"the heading in row 18, one item in the last row", plus(toners(18), 2), 20, 20,
         kHeadingRow, "M0 | 10% | 100 u | 0..100@10"},
        {"twenty maintenance items fill every row", plus({}, 20), 20, 20,
         "M18 | 10% | 100 u | 0..100@10", "M19 | 10% | 100 u | 0..100@10"},
        {"a component count above 20 reads the 20 entries", toners(20), 1000, 20,
         "T18 | 50% | 100 u | 0..100@50", "T19 | 50% | 100 u | 0..100@50"},
    };
    for (const auto& c : cases) {
        printer_.Serve(c.components, c.count);
        Run([&] {
            EXPECT_EQ(ShownRows().size(), static_cast<std::size_t>(c.lastRowsShown)) << c.what;
            EXPECT_EQ(Row(18), c.row18) << c.what;
            EXPECT_EQ(Row(19), c.row19) << c.what;
            EXPECT_TRUE(host_.IsShown(IDC_SUPPLIES_TITLE)) << c.what;
        });
    }
}

// Each reason for having nothing to show ends in the same state, without a message box.
TEST_F(ConsumablesPageTest, ShowsTheUnavailableState) {
    printer_.Serve({{"Cyan", 1, 2, "u", 4}});
    app::PrinterSettingsBlock& settings = app::TheApp().settings;

    settings.setSnmpCommunity("");
    Run([&] { ExpectUnavailable("no community"); });
    EXPECT_TRUE(printer_.agent().requests().empty()) << "nothing is sent without a community";

    settings.setSnmpCommunity("public");
    settings.setPrinterAddress("");
    Run([&] { ExpectUnavailable("no address and no printer key"); });
    EXPECT_EQ(settings.printerAddress(), "");
    EXPECT_TRUE(printer_.agent().requests().empty());

    registry_.Put(kPrinterKey, "Port", platform::RegistryType::String, std::string("LPT1:\0", 6));
    Run([&] { ExpectUnavailable("a local port"); });
    EXPECT_EQ(settings.printerAddress(), "");
    EXPECT_EQ(settings.portName(), "") << "the page keeps the block's port name";

    settings.setPrinterAddress("127.0.0.1");
    printer_.SwitchOff();
    ExpectSilence();
    Run([&] { ExpectUnavailable("a silent printer"); });
    EXPECT_EQ(page_.Scalars()[net::kScalarRowComponentCount].value, -1);
    EXPECT_EQ(settings.printerAddress(), "127.0.0.1") << "the page does not empty the address";
}

// An empty address is resolved from the printer's port and kept in the block.
TEST_F(ConsumablesPageTest, ResolvesAndKeepsTheAddress) {
    printer_.Serve({{"Cyan", 1800, 6000, "u", 4}});
    app::PrinterSettingsBlock& settings = app::TheApp().settings;
    settings.setPrinterAddress("");
    settings.setPortName("kept");
    registry_.Put(kPrinterKey, "Port", platform::RegistryType::String, std::string("IP_1\0", 5));
    registry_.Put(std::string(kZelPorts) + "IP_1", "IPAddress", platform::RegistryType::String,
                  std::string("127.0.0.1\0", 10));
    Run([&] {
        EXPECT_EQ(ShownRows(), std::vector<std::string>{"Cyan | 30% | 6000 u | 0..6000@1800"});
    });
    EXPECT_EQ(settings.printerAddress(), "127.0.0.1");
    EXPECT_EQ(settings.portName(), "kept");
    EXPECT_FALSE(printer_.agent().requests().empty());
    EXPECT_EQ(registry_.OpenKeyCount(), 0u);
}

// The page asks again on every activation and on "Obnoviť": levels change, a printer that went
// away gives the unavailable state, and one that came back brings the title line back.
TEST_F(ConsumablesPageTest, RefreshesOnActivationAndOnRequest) {
    printer_.Serve({{"Cyan", 1800, 6000, "u", 4}});
    Run([&] {
        EXPECT_EQ(Row(0), "Cyan | 30% | 6000 u | 0..6000@1800");

        printer_.Serve({{"Cyan", 600, 6000, "u", 4}});
        host_.Click(IDC_SUPPLIES_REFRESH);
        EXPECT_EQ(Row(0), "Cyan | 10% | 6000 u | 0..6000@600") << "Obnovit asks again";

        printer_.SwitchOff();
        ExpectSilence();
        host_.SelectPage(1);
        host_.SelectPage(0);
        ExpectUnavailable("back on the page after the printer went away");

        printer_.Serve({{"Cyan", 0, 6000, "u", 4}, {"Drum", 5, 10, "u", 6}});
        page_.SetSnmpOptions(printer_.agent().options(2000));
        host_.Click(IDC_SUPPLIES_REFRESH);
        EXPECT_TRUE(host_.IsShown(IDC_SUPPLIES_TITLE));
        EXPECT_EQ(host_.Text(IDC_SUPPLIES_TITLE), kTitle);
        EXPECT_EQ(host_.Text(IDC_SUPPLIES_HEADING), "Tonery:");
        EXPECT_EQ(ShownRows(),
                  (std::vector<std::string>{"Cyan | 0% | 6000 u | 0..6000@0", kHeadingRow,
                                            "Drum | 50% | 10 u | 0..10@5"}));
    });
}

// The row that carries the maintenance heading lends its label the whole row, so that the heading
// is not cut; the other labels keep their width, and a refresh that puts the heading into
// another row (or none) gives the label its width back.
TEST_F(ConsumablesPageTest, TheHeadingRowsLabelSpansItsRow) {
    const auto rect = [&](int id) { return host_.Control(id).GetWindowRect(); };
    const Component toner{"Cyan", 1800, 6000, "u", 4};
    const Component drum{"Drum", 500, 1000, "u", 6};
    printer_.Serve({toner, drum});
    Run([&] {
        const ui::Rect plain = rect(IDC_SUPPLY_NAME_0);
        ASSERT_EQ(Row(1), kHeadingRow);
        EXPECT_EQ(rect(IDC_SUPPLY_NAME_0 + 1).left, plain.left);
        EXPECT_EQ(rect(IDC_SUPPLY_NAME_0 + 1).right, rect(IDC_SUPPLY_MAX_0 + 1).right);
        EXPECT_EQ(rect(IDC_SUPPLY_NAME_0 + 2).right, plain.right);

        printer_.Serve({toner, toner, drum});
        host_.Click(IDC_SUPPLIES_REFRESH);
        ASSERT_EQ(Row(2), kHeadingRow);
        EXPECT_EQ(rect(IDC_SUPPLY_NAME_0 + 1).right, plain.right) << "row 1 holds a toner again";
        EXPECT_EQ(rect(IDC_SUPPLY_NAME_0 + 2).right, rect(IDC_SUPPLY_MAX_0 + 2).right);

        printer_.Serve({toner});
        host_.Click(IDC_SUPPLIES_REFRESH);
        for (int row = 0; row < kSupplyRowsPerColumn; ++row)
            EXPECT_EQ(rect(IDC_SUPPLY_NAME_0 + row).right, plain.right) << row;
        EXPECT_GT(rect(IDC_SUPPLY_NAME_0 + kSupplyRowsPerColumn).left, plain.right)
            << "the right column keeps its own labels";
    });
}

// Context help: the page's own id and the refresh button's.
TEST_F(ConsumablesPageTest, RegistersContextHelp) {
    printer_.Serve({});
    Run([&] {
        EXPECT_EQ(ui::Window(host_.ActiveDialog()).GetContextHelpId(), unsigned{IDD_CONSUMABLES});
        EXPECT_EQ(host_.Control(IDC_SUPPLIES_REFRESH).GetContextHelpId(),
                  unsigned{IDC_SUPPLIES_REFRESH});
        EXPECT_FALSE(host_.IsShown(IDC_BEACON_VIEW));
    });
}

// The shop button runs the registered browser on the address its caption shows, or nothing.
TEST_F(ConsumablesPageTest, OpensTheShop) {
    printer_.Serve({});
    Run([&] {
        EXPECT_EQ(host_.Text(IDC_SUPPLIES_SHOP), kShop);
        host_.Click(IDC_SUPPLIES_SHOP);
        EXPECT_TRUE(launcher_.commands.empty()) << "no browser registered";

        const std::string command = "\"C:\\Program Files\\Browser\\browser.exe\" -nohome";
        registry_.Put(kHtmlOpenCommandKey, "", platform::RegistryType::String, command + '\0');
        host_.Click(IDC_SUPPLIES_SHOP);
        ASSERT_EQ(launcher_.commands.size(), 1u);
        EXPECT_EQ(launcher_.commands[0], command + " " + kShop);
        EXPECT_EQ(launcher_.shows[0], platform::kShowNormal);
    });
    EXPECT_EQ(registry_.OpenKeyCount(), 0u);
}

// The registered command as stored, bounded, and only when it is text.
TEST(BrowserCommandLine, ReadsTheRegisteredCommand) {
    const std::string address = "http://a.example/";
    const struct {
        const char* what;
        bool present;
        platform::RegistryType type;
        std::string data;
        std::optional<std::string> line;
    } cases[] = {
        {"no key", false, platform::RegistryType::String, "", std::nullopt},
        {"a quoted path and a switch", true, platform::RegistryType::String,
         std::string("\"C:\\b.exe\" -nohome\0", 19), "\"C:\\b.exe\" -nohome " + address},
        {"a placeholder stays", true, platform::RegistryType::ExpandString,
         std::string("b.exe \"%1\"\0", 11), "b.exe \"%1\" " + address},
        {"stored without its NUL", true, platform::RegistryType::String, "b.exe",
         "b.exe " + address},
        {"text after a NUL is not used", true, platform::RegistryType::String,
         std::string("b.exe\0junk\0", 11), "b.exe " + address},
        {"255 characters and the NUL fit", true, platform::RegistryType::String,
         std::string(255, 'b') + '\0', std::string(255, 'b') + " " + address},
        {"256 characters are too long", true, platform::RegistryType::String,
         std::string(256, 'b') + '\0', std::nullopt},
        {"an empty command", true, platform::RegistryType::String, std::string(1, '\0'),
         std::nullopt},
        {"a number", true, platform::RegistryType::Dword, std::string("\1\0\0\0", 4), std::nullopt},
    };
    for (const auto& c : cases) {
        platform::MemoryRegistry registry;
        if (c.present)
            registry.Put(kHtmlOpenCommandKey, "", c.type, c.data);
        EXPECT_EQ(BrowserCommandLine(registry, address), c.line) << c.what;
        EXPECT_EQ(registry.OpenKeyCount(), 0u) << c.what;
    }
}

// A failed start is reported; nothing starts without a registration.
TEST(OpenWebPage, ReportsTheStart) {
    platform::MemoryRegistry registry;
    platform::RecordingLauncher launcher;
    EXPECT_FALSE(OpenWebPage(registry, launcher, "http://a.example/", platform::kShow));
    EXPECT_TRUE(launcher.commands.empty());
    registry.Put(kHtmlOpenCommandKey, "", platform::RegistryType::String, std::string("b\0", 2));
    EXPECT_TRUE(OpenWebPage(registry, launcher, "http://a.example/", platform::kShow));
    launcher.result = 2; // file not found
    EXPECT_FALSE(OpenWebPage(registry, launcher, "http://a.example/", platform::kShow));
    EXPECT_EQ(launcher.commands,
              (std::vector<std::string>{"b http://a.example/", "b http://a.example/"}));
    EXPECT_EQ(launcher.shows, (std::vector<int>{platform::kShow, platform::kShow}));
}

// One row's texts and bar: the per cent truncated toward zero and computed without overflow.
TEST(SupplyRow, ComputesValueMaximumAndBar) {
    const struct {
        Component component;
        const char* value;
        const char* maximum;
        int lower, upper, pos;
    } cases[] = {
        {{"", 1800, 6000, "U", 4}, "30%", "6000 U", 0, 6000, 1800},
        {{"", 5999, 6000, "U", 4}, "99%", "6000 U", 0, 6000, 5999},
        {{"", -150, 100, "U", 4}, "-150%", "100 U", 0, 100, -150},
        {{"", 30000000, 60000000, "U", 4}, "50%", "60000000 U", 0, 60000000, 30000000},
        {{"", INT_MAX, INT_MAX, "U", 4}, "100%", "2147483647 U", 0, INT_MAX, INT_MAX},
        {{"", 45, 0, "U", 9}, "45%", "U", 0, 100, 45},
        {{"", 0, 0, "", 9}, "0%", "", 0, 100, 0},
        {{"", 7, 10, "", 9}, "70%", "10 ", 0, 10, 7},
    };
    for (const auto& c : cases) {
        const SupplyRowTexts row = SupplyRow(Entry(c.component));
        const std::string label =
            std::to_string(c.component.level) + "/" + std::to_string(c.component.capacity);
        EXPECT_EQ(row.value, c.value) << label;
        EXPECT_EQ(row.maximum, c.maximum) << label;
        EXPECT_EQ(row.barLower, c.lower) << label;
        EXPECT_EQ(row.barUpper, c.upper) << label;
        EXPECT_EQ(row.barPos, c.pos) << label;
    }
}

// A unit text that fills its whole field without a NUL is read within the field.
TEST(SupplyRow, ReadsAUnitWithoutTerminator) {
    net::ComponentEntry entry = Entry({"", 1, 2, "", 4});
    std::memset(entry.unitText, 'u', sizeof entry.unitText);
    EXPECT_EQ(SupplyRow(entry).maximum, "2 " + std::string(net::kComponentTextSize, 'u'));
}

} // namespace
} // namespace pages
