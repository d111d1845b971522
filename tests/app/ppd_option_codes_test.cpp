#include "app/ppd_option_codes.h"

#include <memory>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "ppd/ppd.h"

namespace app {
namespace {

struct Deleter {
    void operator()(const ppd::PpdDocument* doc) const { ppd::FreePpdDocument(doc); }
};
using Document = std::unique_ptr<const ppd::PpdDocument, Deleter>;

Document Parse(std::string_view text) {
    return Document(ppd::ParsePpdBytes(text.data(), text.size(), "codes.ppd"));
}

const char kPpd[] = "*OpenUI *PageSize/Paper: PickOne\n"
                    "*DefaultPageSize: A4\n"
                    "*PageSize Letter/US Letter: \"\"\n"
                    "*PageSize A4/A4 210 x 297 mm: \"\"\n"
                    "*PageSize 11x17/Ledger: \"\"\n"
                    "*PageSize a5/small a5: \"\"\n"
                    "*PageSize B5: \"\"\n"
                    "*CloseUI: *PageSize\n"
                    "*OpenUI *InputSlot: PickOne\n"
                    "*DefaultInputSlot: OptionalBin\n"
                    "*InputSlot Upper: \"\"\n"
                    "*InputSlot OptionalBin/Pr<ED>davn<FD>: \"\"\n"
                    "*CloseUI: *InputSlot\n"
                    "*OpenUI *OutputBin: PickOne\n"
                    "*DefaultOutputBin: Shelf\n"
                    "*OutputBin Shelf/Shelf: \"\"\n"
                    "*CloseUI: *OutputBin\n"
                    "*OpenUI *MediaType: PickOne\n"
                    "*DefaultMediaType: Transparency\n"
                    "*CloseUI: *MediaType\n"
                    "*OpenUI *HalftoneType: PickOne\n"
                    "*DefaultHalftoneType: Missing\n"
                    "*HalftoneType High/High: \"\"\n"
                    "*HalftoneType Low/Low: \"\"\n"
                    "*CloseUI: *HalftoneType\n"
                    "*OpenUI *PrintQuality: PickOne\n"
                    "*PrintQuality Draft/Draft: \"\"\n"
                    "*PrintQuality Fine/Fine: \"\"\n"
                    "*CloseUI: *PrintQuality\n";

// Defaults as codes: the sentinel only when the PPD gives no default option, never 0.
TEST(PpdDefaultCode, Cases) {
    const Document doc = Parse(kPpd);
    ASSERT_NE(doc, nullptr);
    const struct {
        const char* feature;
        const OptionCode* table;
        std::int32_t code;
    } cases[] = {
        {"PageSize", PaperSizeNames, 9},
        {"InputSlot", InputSlotNames, 258},           // "OptionalBin" and "Optional" share 258
        {"OutputBin", OutputBinNames, 0},             // a keyword the table lacks
        {"MediaType", MediaTypeNames, kNoPpdDefault}, // a feature without options
        {"HalftoneType", HalftoneNames, 2}, // a default naming no option: the first option
        {"PrintQuality", PrintQualityNames, kNoPpdDefault}, // options but no default line
        {"Resolution", ResolutionNames, kNoPpdDefault},
        {"pagesize", PaperSizeNames, kNoPpdDefault},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PpdDefaultCode(doc.get(), c.feature, c.table), c.code) << c.feature;
    EXPECT_EQ(PpdDefaultCode(nullptr, "PageSize", PaperSizeNames), kNoPpdDefault);
}

// Display texts by code: the table's first name for the code, matched exactly in file order.
TEST(PpdOptionText, Cases) {
    const Document doc = Parse(kPpd);
    ASSERT_NE(doc, nullptr);
    const struct {
        const char* feature;
        const OptionCode* table;
        std::int32_t id;
        const char* text; // null: nothing
    } cases[] = {
        {"PageSize", PaperSizeNames, 9, "A4 210 x 297 mm"},
        {"PageSize", PaperSizeNames, 17, "Ledger"},
        {"PageSize", PaperSizeNames, 3, "Ledger"},    // 3 and 4 name "11x17" too
        {"PageSize", PaperSizeNames, 11, nullptr},    // "A5": the PPD has only "a5"
        {"PageSize", PaperSizeNames, 13, nullptr},    // "B5" has no display text
        {"PageSize", PaperSizeNames, 12345, nullptr}, // no such code
        {"InputSlot", InputSlotNames, 258, nullptr},  // 258 names "Optional" first
        {"InputSlot", InputSlotNames, 1, nullptr},    // "Upper" has no display text
        {"Duplex", PaperSizeNames, 9, nullptr},       // no such feature
    };
    for (const auto& c : cases) {
        const char* text = PpdOptionText(doc.get(), c.feature, c.table, c.id);
        EXPECT_EQ(text != nullptr ? std::string(text) : "<none>",
                  c.text != nullptr ? std::string(c.text) : "<none>")
            << c.feature << " " << c.id;
    }
    EXPECT_EQ(PpdOptionText(nullptr, "PageSize", PaperSizeNames, 9), nullptr);
    const Document slots =
        Parse("*InputSlot OptionalBin: \"\"\n*InputSlot Optional/Volite<BE>n<FD>: \"\"\n");
    EXPECT_EQ(std::string(PpdOptionText(slots.get(), "InputSlot", InputSlotNames, 258)),
              "Volite\xBEn\xFD");
}

} // namespace
} // namespace app
