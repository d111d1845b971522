// The texts the program puts into its controls, gathered from a headless run with the demo
// printer: its list entries from the PPD, what the Consumables page shows from the printer's
// answers and every status line of the Settings page; and the reader of the printer's agent
// script.
#include "tools/layoutcheck/runtime_texts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/memory_registry.h"
#include "res/resource.h"
#include "tools/layoutcheck/reg_file.h"

namespace layoutcheck {
namespace {

namespace fs = std::filesystem;

std::string ReadSample(const char* name) {
    std::ifstream in(std::string(VELA_SOURCE_DIR) + "/samples/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(AgentScript, ReadsNumbersWordsQuotedAndPrintfTexts) {
    const std::string script = "case \"$2\" in\n"
                               ".1.2.3.0) v=1 ;;\n"
                               ".1.2.4.0) v=-1 ;;\n"
                               ".1.2.5.0) t=string v=\"Vela 40\" ;;\n"
                               ".1.2.6.0) t=string v=$(printf '\\310ierny toner') ;;\n"
                               ".1.2.7.0) t=string v=listov ;;\n"
                               ".1.2.8.0) v=abc ;;\n"
                               ".1.2.9.0) t=string v=$(printf 'broken ;;\n"
                               "*) exit 0 ;;\n"
                               "esac\n";
    std::vector<std::string> problems;
    const std::vector<AgentObject> objects = ReadAgentScript(script, &problems);
    ASSERT_EQ(objects.size(), 5u);
    EXPECT_EQ(objects[0].oid, ".1.2.3.0");
    EXPECT_EQ(objects[0].number, 1);
    EXPECT_EQ(objects[1].number, -1);
    EXPECT_EQ(objects[2].bytes, "Vela 40");
    EXPECT_EQ(objects[3].bytes, "\xC8ierny toner");
    EXPECT_TRUE(objects[4].text);
    EXPECT_EQ(objects[4].bytes, "listov");
    EXPECT_EQ(problems.size(), 2u);
}

class HarvestTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The block holds at most 63 characters of the driver path: a short folder of its own.
        folder_ = fs::temp_directory_path() /
                  ("vela-lc-" + std::to_string(std::random_device{}() % 1000000));
        ASSERT_TRUE(fs::create_directory(folder_));
        fs::copy_file(fs::path(VELA_SOURCE_DIR) / "samples" / "vela-demo.ppd", folder_ / "v.ppd");
        std::vector<std::string> problems;
        ReadRegFile(ReadSample("vela-demo.reg"), registry_, &problems);
        printer_.agent = ReadAgentScript(ReadSample("demo-printer-agent"), &problems);
        ASSERT_TRUE(problems.empty());
        printer_.printerName = "Vela ColorLaser 40 PS";
        printer_.driverPath = (folder_ / "v.dll").string();
        printer_.registry = &registry_;
    }
    void TearDown() override { fs::remove_all(folder_); }

    bool Has(const Harvest& harvest, int dialog, int control, const std::string& text) {
        return Width(harvest, dialog, control, text) >= 0;
    }
    // The widest the control was with the text (0: its template's width), -1 without the text.
    int Width(const Harvest& harvest, int dialog, int control, const std::string& text) {
        const auto found = harvest.texts.find({dialog, control});
        if (found == harvest.texts.end())
            return -1;
        const auto entry = found->second.texts.find(text);
        return entry == found->second.texts.end() ? -1 : entry->second;
    }

    fs::path folder_;
    platform::MemoryRegistry registry_;
    PrinterData printer_;
};

TEST_F(HarvestTest, GathersWhatThePagesPutIntoTheirControls) {
    const Harvest harvest = HarvestRuntimeTexts(printer_);
    EXPECT_TRUE(harvest.problems.empty()) << harvest.problems.front();
    // List entries from the PPD, through the pages' own code.
    EXPECT_TRUE(Has(harvest, IDD_FEATURES, IDC_RESOLUTION, "1200 dpi"));
    EXPECT_TRUE(Has(harvest, IDD_PAPER, IDC_PAPER_SOURCE,
                    "Viac\xFA\xE8"
                    "elov\xFD z\xE1sobn\xEDk"));
    EXPECT_TRUE(Has(harvest, IDD_LAYOUT, IDC_PAGES_PER_SHEET, "Bro\x9E\xFAra"));
    // The registry's stored watermark profile.
    EXPECT_TRUE(Has(harvest, IDD_OVERLAY, IDC_WATERMARK_LIST, "Interne"));
    // The Consumables page: the printer's components, and the heading without answers.
    EXPECT_TRUE(Has(harvest, IDD_CONSUMABLES, IDC_SUPPLY_NAME_0, "\xC8ierny toner"));
    EXPECT_TRUE(Has(harvest, IDD_CONSUMABLES, IDC_SUPPLIES_HEADING,
                    "Inform\xE1"
                    "cie o spotrebnom materi\xE1li nie s\xFA dostupn\xE9"));
    // Every status of the two-way communication check.
    const auto status = harvest.texts.find({IDD_SETTINGS, IDC_COMM_STATUS});
    ASSERT_NE(status, harvest.texts.end());
    EXPECT_EQ(status->second.texts.size(), 3u);
}

// Below the demo printer's four toners the maintenance heading takes row 4, whose label then spans
// the row (from 7 to 213 dialog units); the names below keep their template's width (0: never
// sized). Controls the template hides count as shown only when the program shows them.
TEST_F(HarvestTest, NotesTheWidthOfEachTextAndWhatIsShown) {
    const Harvest harvest = HarvestRuntimeTexts(printer_);
    const std::string heading = "Polo\x9Eky prevent\xEDvnej \xFA"
                                "dr\x9E"
                                "by:";
    EXPECT_EQ(Width(harvest, IDD_CONSUMABLES, IDC_SUPPLY_NAME_0 + 4, heading), 206);
    EXPECT_EQ(Width(harvest, IDD_CONSUMABLES, IDC_SUPPLY_NAME_0 + 5, "Fixa\xE8n\xE1 jednotka"), 0);
    EXPECT_TRUE(harvest.texts.at({IDD_CONSUMABLES, IDC_SUPPLY_NAME_0}).shown);
    const auto hidden = harvest.texts.find({IDD_SETTINGS, IDC_QUICK_SETUP});
    EXPECT_TRUE(hidden == harvest.texts.end() || !hidden->second.shown);
}

// A driver path the block cannot hold is a problem, not a silent run without the PPD.
TEST_F(HarvestTest, ADriverPathTooLongIsAProblem) {
    printer_.driverPath = "/" + std::string(80, 'x') + "/v.dll";
    const Harvest harvest = HarvestRuntimeTexts(printer_);
    ASSERT_FALSE(harvest.problems.empty());
    EXPECT_NE(harvest.problems.front().find("does not fit the block"), std::string::npos);
}

} // namespace
} // namespace layoutcheck
