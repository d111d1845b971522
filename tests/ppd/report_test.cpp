// The text forms of ppdcheck: string quoting, the dump, the constraint pairs and lint.
#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/mapped_file.h"
#include "ppd_test_util.h"
#include "tools/ppdcheck/lint.h"
#include "tools/ppdcheck/report.h"

namespace ppd {
namespace {

using test::DataPath;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Report, Quote) {
    EXPECT_EQ(ppdcheck::Quote(static_cast<const char*>(nullptr)), "-");
    EXPECT_EQ(ppdcheck::Quote(""), "\"\"");
    EXPECT_EQ(ppdcheck::Quote("A4 ~"), "\"A4 ~\"");
    EXPECT_EQ(ppdcheck::Quote("a\"b\\c"), "\"a\\x22b\\x5Cc\"");
    EXPECT_EQ(ppdcheck::Quote("\x1B\x7F\x9A\xFF\t"), "\"\\x1B\\x7F\\x9A\\xFF\\x09\"");
    EXPECT_EQ(ppdcheck::Quote(std::string_view("a\0b", 3)), "\"a\\x00b\"");
}

// The whole dump of a small document, record by record.
TEST(Report, DumpOfTinyDocument) {
    const test::DocumentPtr doc(ReadPpdFile(DataPath("tiny.ppd")));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(ppdcheck::Dump(doc.get()), ReadText(DataPath("tiny.dump")));
}

TEST(Report, DumpOfKindData) {
    const auto doc = test::Parse("*InputSlot Upper/Up: \"u\"\n"
                                 "*Resolution 600dpi: \"r\"\n*SetResolution 600dpi: \"s\"\n"
                                 "*VMOption 8MB: \"8388608\"\n");
    const std::string dump = ppdcheck::Dump(doc.get());
    EXPECT_NE(dump.find("  option 0 \"Upper\" translation \"Up\" invocation \"u\" "
                        "requiresPageRegion 1\n"),
              std::string::npos);
    EXPECT_NE(dump.find("  option 0 \"600dpi\" translation - invocation \"r\" jcl - set \"s\" "
                        "screenAngle 0 screenFreq 0\n"),
              std::string::npos);
    EXPECT_NE(dump.find("  option 0 \"8MB\" translation - invocation - vmAmount 8388608\n"),
              std::string::npos);
}

TEST(Report, ConstraintPairs) {
    const test::DocumentPtr doc(ReadPpdFile(DataPath("sample.ppd")));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(ppdcheck::Constraints(doc.get(), "Duplex", "Dlh\xFD okraj"),
              "\"PageSize\" \"Ob\\xE1lka #10\"\n");
    EXPECT_EQ(ppdcheck::Constraints(doc.get(), "Optionalduplexer", "Not Installed"),
              "\"Duplex\" \"Dlh\\xFD okraj\"\n\"Duplex\" \"Kr\\xE1tky okraj\"\n");
    EXPECT_EQ(ppdcheck::Constraints(doc.get(), "Duplex", "Nothing"), "");
}

std::string LintFile(const char* name, std::size_t* findings) {
    platform::MappedFile file;
    EXPECT_TRUE(file.Open(DataPath(name)));
    std::string out;
    *findings = ppdcheck::Lint(file.data(), file.size(), name, out);
    return out;
}

// Each kind of finding, with its line.
TEST(Report, LintFindings) {
    std::size_t findings = 0;
    const std::string out = LintFile("lint.ppd", &findings);
    const char* expected[] = {
        "line 4: entry ignored: *ColorDevice was already used",
        "line 5: entry skipped: a byte above 0x7F is written directly",
        "line 6: entry skipped (value of the wrong form): \"*PageSize A4: plain\"",
        "line 7: default of feature \"Toner\" names no option: \"Missing\"",
        "line 17: constraint names a feature or option the document lacks",
        "line 18: order dependency names a feature or option the document lacks",
        "installable feature \"OptionalBin\" option \"True\" has the translation \"Installed\"",
        "feature \"MediaType\" that the pages use is missing",
    };
    std::size_t last = 0;
    for (const char* line : expected) {
        const std::size_t at = out.find(line);
        EXPECT_NE(at, std::string::npos) << line << "\n" << out;
        if (at != std::string::npos) {
            EXPECT_GE(at, last) << line;
            last = at;
        }
    }
    EXPECT_EQ(out.find("option \"False\""), std::string::npos) << "well-translated option";
    EXPECT_EQ(findings, static_cast<std::size_t>(std::count(out.begin(), out.end(), '\n')));
}

// A file that gives no document says why.
TEST(Report, LintWithoutDocument) {
    const std::string text = "*OK: 1\n*PageSize A4/A<4: \"\"\n";
    std::string out;
    EXPECT_EQ(
        ppdcheck::Lint(reinterpret_cast<const unsigned char*>(text.data()), text.size(), "x", out),
        1u);
    EXPECT_EQ(out, "no document: line 2: malformed hexadecimal translation of a new option\n");
}

} // namespace
} // namespace ppd
