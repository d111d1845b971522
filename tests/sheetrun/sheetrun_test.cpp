// The corpus walk's judgement: what it calls a fault in an answer or in the registry, and a
// whole walk of a PPD of ours, which must find nothing and open the pages' dialogs.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/memory_registry.h"
#include "tools/sheetrun/answer_check.h"
#include "tools/sheetrun/corpus_run.h"

namespace sheetrun {
namespace {

using ::testing::IsEmpty;
using ::testing::SizeIs;

// One change to an answer and whether the walk counts it as a fault.
TEST(CheckAnswer, ChangesAndFaults) {
    app::PrinterSettingsBlock sent;
    app::ApplyNewBlockDefaults(sent);
    sent.setPrinterName("Vela");
    const struct {
        const char* what;
        std::function<void(app::PrinterSettingsBlock&)> change;
        bool fault;
    } cases[] = {
        {"nothing", [](auto&) {}, false},
        {"A4", [](auto& b) { b.setPaperSize(9); }, false},
        {"custom paper", [](auto& b) { b.setPaperSize(257); }, false},
        {"empty paper list", [](auto& b) { b.setPaperSize(-1); }, false},
        {"paper code of no list", [](auto& b) { b.setPaperSize(300); }, true},
        {"booklet", [](auto& b) { b.setPagesPerSheet(99); }, false},
        {"three pages per sheet", [](auto& b) { b.setPagesPerSheet(3); }, true},
        {"copies in range", [](auto& b) { b.setCopies(999); }, false},
        {"copies out of range", [](auto& b) { b.setCopies(1000); }, true},
        {"reserved byte", [](auto& b) { b.data()[133] ^= 1; }, true},
        {"printer name", [](auto& b) { b.setPrinterName("Other"); }, true},
        {"terminated text", [](auto& b) { b.setReprintName("A"); }, false},
        {"unterminated text", [](auto& b) { std::memset(b.data() + 617, 'x', 64); }, true},
    };
    for (const auto& c : cases) {
        app::PrinterSettingsBlock answer = sent;
        c.change(answer);
        EXPECT_THAT(CheckAnswer(sent, answer), c.fault ? SizeIs(1) : SizeIs(0)) << c.what;
    }
}

// Records of the wrong size and font tables of the wrong shape are faults; so is a key left
// open.
TEST(CheckRegistry, RecordSizesAndTables) {
    const std::string root = "System\\CurrentControlSet\\Control\\Print\\Printers\\Vela";
    const struct {
        const char* what;
        std::string key, name, data;
        bool fault;
    } cases[] = {
        {"colour profile", root + "\\Color Profiles", "Moje", std::string(316, 'c'), false},
        {"short colour profile", root + "\\Color Profiles", "Moje", std::string(314, 'c'), true},
        {"resident profile", root + "\\Printer Resident\\CSA Profiles", "A", std::string(362, 'r'),
         false},
        {"watermark", root + "\\Watermark Profiles", "W", std::string(149, 'w'), true},
        {"custom size", root + "\\PrinterDriverData", "CustomSizes", std::string(80, 's'), false},
        {"font table", root + "\\PrinterDriverData", "FontSub", std::string("Arial\0Helv\0\0", 12),
         false},
        {"empty font table", root + "\\PrinterDriverData", "FontSub", std::string(1, '\0'), false},
        {"table with an empty device", root + "\\PrinterDriverData", "FontSub",
         std::string("Arial\0\0\0", 8), true},
        {"table without its end", root + "\\PrinterDriverData", "FontSub",
         std::string("Arial\0Helv\0", 11), true},
    };
    for (const auto& c : cases) {
        platform::MemoryRegistry registry;
        registry.Put(c.key, c.name, platform::RegistryType::Binary, c.data);
        EXPECT_THAT(CheckRegistry(registry, "Vela"), c.fault ? SizeIs(1) : SizeIs(0)) << c.what;
    }
    platform::MemoryRegistry registry;
    platform::RegistryKey key = 0;
    registry.CreateKey(root, platform::kKeyWrite, &key);
    EXPECT_THAT(CheckRegistry(registry, "Vela"), SizeIs(1));
}

// Another program's short record, as it was before the run, is no fault; changed by the run,
// or longer than the record, it is.
TEST(CheckRegistry, OtherProgramsShortRecords) {
    const std::string key =
        "System\\CurrentControlSet\\Control\\Print\\Printers\\Vela\\Watermark Profiles";
    const struct {
        const char* what;
        std::string before, after;
        bool fault;
    } cases[] = {
        {"kept", std::string(120, 'w'), std::string(120, 'w'), false},
        {"rewritten short", std::string(120, 'w'), std::string(120, 'x'), true},
        {"rewritten full", std::string(120, 'w'), std::string(148, 'x'), false},
        {"kept but too long", std::string(150, 'w'), std::string(150, 'w'), true},
    };
    for (const auto& c : cases) {
        platform::MemoryRegistry registry;
        registry.Put(key, "W", platform::RegistryType::Binary, c.before);
        const StoredRecords before = RecordsUnder(registry, "Vela");
        registry.Put(key, "W", platform::RegistryType::Binary, c.after);
        EXPECT_THAT(CheckRegistry(registry, "Vela", before), c.fault ? SizeIs(1) : SizeIs(0))
            << c.what;
    }
}

// Our paper PPD through the whole program: six runs, dialogs opened, nothing found.
TEST(RunSheetOverPpd, PaperPpd) {
    char scratch[] = "/tmp/srt.XXXXXX";
    ASSERT_NE(mkdtemp(scratch), nullptr);
    const PpdRunResult result =
        RunSheetOverPpd(std::string(VELA_SOURCE_DIR) + "/tests/pages/data/paper.ppd", scratch, 7);
    rmdir(scratch);
    EXPECT_EQ(result.runs, 6);
    EXPECT_GT(result.dialogs, 0);
    EXPECT_THAT(result.failures, IsEmpty());
}

} // namespace
} // namespace sheetrun
