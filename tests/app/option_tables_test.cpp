#include "app/option_tables.h"

#include "platform/codepage1250.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace app {
namespace {

struct NamedTable {
    const char* label;
    const OptionCode* table;
};

// Every table ends after exactly its number of rows, as declared.
TEST(OptionTables, RowCounts) {
    struct Case {
        NamedTable t;
        std::size_t rows;
        std::size_t declared;
    };
    const Case cases[] = {
        {{"PaperSize", PaperSizeNames}, 96, kPaperSizeRows},
        {{"InputSlot", InputSlotNames}, 29, kInputSlotRows},
        {{"OutputBin", OutputBinNames}, 57, kOutputBinRows},
        {{"Resolution", ResolutionNames}, 7, kResolutionRows},
        {{"MediaType", MediaTypeNames}, 13, kMediaTypeRows},
        {{"Halftone", HalftoneNames}, 11, kHalftoneRows},
        {{"PrintQuality", PrintQualityNames}, 2, kPrintQualityRows},
        {{"ColorProfile", ColorProfileNames}, 12, kColorProfileRows},
        {{"RgbSource", RgbSourceNames}, 9, kRgbSourceRows},
        {{"CrdColorSpace", CrdColorSpaceNames}, 8, kCrdColorSpaceRows},
        {{"Simulation", SimulationNames}, 7, kSimulationRows},
        {{"Destination", DestinationNames}, 1, kDestinationRows},
        {{"RenderingStyle", RenderingStyleNames}, 5, kRenderingStyleRows},
        {{"EndOfDocument", EndOfDocumentNames}, 3, kEndOfDocumentRows},
        {{"CtrlDPlacement", CtrlDPlacementNames}, 4, kCtrlDPlacementRows},
        {{"Watermark", WatermarkNames}, 7, kWatermarkRows},
        {{"WatermarkColor", WatermarkColorNames}, 5, kWatermarkColorRows},
        {{"FontStyle", FontStyleNames}, 4, kFontStyleRows},
        {{"PagesPerSheet", PagesPerSheetNames}, 7, kPagesPerSheetRows},
        {{"FeedEdge", FeedEdgeNames}, 2, kFeedEdgeRows},
        {{"StorageDevice", StorageDeviceNames}, 11, kStorageDeviceRows},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OptionRowCount(c.t.table), c.rows) << c.t.label;
        EXPECT_EQ(c.declared, c.rows) << c.t.label;
    }
    EXPECT_EQ(OptionRowCount(nullptr), 0u);
}

// Rows at fixed positions: first and last rows, the odd and duplicate rows, and every row of
// the display-text tables, whose code page 1250 bytes must come out as these Slovak texts.
TEST(OptionTables, RowsAtPosition) {
    struct Case {
        NamedTable t;
        std::size_t index;
        std::int32_t id;
        const char* utf8;
    };
    const Case cases[] = {
        {{"PaperSize", PaperSizeNames}, 0, 1, "Letter"},
        {{"PaperSize", PaperSizeNames}, 2, 17, "11x17"},
        {{"PaperSize", PaperSizeNames}, 3, 3, "11x17"},
        {{"PaperSize", PaperSizeNames}, 4, 4, "11x17"},
        {{"PaperSize", PaperSizeNames}, 21, 22, "Envelope #12 4 ľ x 11"},
        {{"PaperSize", PaperSizeNames}, 32, 33, "B4"},
        {{"PaperSize", PaperSizeNames}, 41, 511, "Postcard"},
        {{"PaperSize", PaperSizeNames}, 49, 48, "RESERVED--DO NOT USE"},
        {{"PaperSize", PaperSizeNames}, 50, 49, "RESERVED--DO NOT USE"},
        {{"PaperSize", PaperSizeNames}, 51, 50, "Letter Extra 9 ˝ x 12 in"},
        {{"PaperSize", PaperSizeNames}, 52, 51, "Legal Extra 9 ˝ x 15 in"},
        {{"PaperSize", PaperSizeNames}, 55, 54, "Letter Transverse 8 ˝ x 11 in"},
        {{"PaperSize", PaperSizeNames}, 57, 56, "Letter Extra Transverse 9˝ x 12 in"},
        {{"PaperSize", PaperSizeNames}, 58, 57, "SuperA/SuperA/A4 227 x 356 mm"},
        {{"PaperSize", PaperSizeNames}, 69, 68, "A3 Extra Transverse 322 x 445 mm"},
        {{"PaperSize", PaperSizeNames}, 70, 491, "Envelope"},
        {{"PaperSize", PaperSizeNames}, 78, 70, "A6"},
        {{"PaperSize", PaperSizeNames}, 91, 490, "A4 (SEF)"},
        {{"PaperSize", PaperSizeNames}, 94, 487, "32Kai"},
        {{"PaperSize", PaperSizeNames}, 95, 257, "Custom Paper"},
        {{"InputSlot", InputSlotNames}, 0, 1, "Upper"},
        {{"InputSlot", InputSlotNames}, 6, 7, "Match Paper Size"},
        {{"InputSlot", InputSlotNames}, 11, 14, "Cassette"},
        {{"InputSlot", InputSlotNames}, 15, 258, "Optional"},
        {{"InputSlot", InputSlotNames}, 16, 258, "OptionalBin"},
        {{"InputSlot", InputSlotNames}, 28, 270, "MonarchTray"},
        {{"OutputBin", OutputBinNames}, 0, 0, "Default"},
        {{"OutputBin", OutputBinNames}, 5, 5, "Large Capacity Stacker"},
        {{"OutputBin", OutputBinNames}, 50, 50, "FaceUpStack"},
        {{"OutputBin", OutputBinNames}, 51, 51, "FaceDownStack"},
        {{"OutputBin", OutputBinNames}, 56, 56, "Mailbin5"},
        {{"Resolution", ResolutionNames}, 0, 1, "300dpi"},
        {{"Resolution", ResolutionNames}, 4, 5, "600"},
        {{"Resolution", ResolutionNames}, 6, 7, "600dpi"},
        {{"MediaType", MediaTypeNames}, 2, 256, "ThinPaper"},
        {{"MediaType", MediaTypeNames}, 5, 3, "GlossyPlain"},
        {{"MediaType", MediaTypeNames}, 12, 247, "Default"},
        {{"Halftone", HalftoneNames}, 0, 0, "PrinterDefault"},
        {{"Halftone", HalftoneNames}, 10, 10, "Detail"},
        {{"PrintQuality", PrintQualityNames}, 1, 1, "FineMode"},
        {{"ColorProfile", ColorProfileNames}, 0, 1, "AutoCustomColor"},
        {{"ColorProfile", ColorProfileNames}, 11, 15, "BARGBCustomColor"},
        {{"RgbSource", RgbSourceNames}, 3, 103, "TrinitronG1.8D50"},
        {{"RgbSource", RgbSourceNames}, 8, 117, "BlueAdjustRGB"},
        {{"CrdColorSpace", CrdColorSpaceNames}, 0, 130, "MaxGamut"},
        {{"CrdColorSpace", CrdColorSpaceNames}, 7, 141, "None"},
        {{"Simulation", SimulationNames}, 4, 124, "CMYKDisplay"},
        {{"Simulation", SimulationNames}, 5, 123, "PrinterDefault"},
        {{"Simulation", SimulationNames}, 6, 126, "InkjetProofer"},
        {{"Destination", DestinationNames}, 0, 143, "Auto"},
        {{"RenderingStyle", RenderingStyleNames}, 0, 1, "Business"},
        {{"RenderingStyle", RenderingStyleNames}, 4, 0, "None"},
        {{"EndOfDocument", EndOfDocumentNames}, 0, 0, "StandardEOD"},
        {{"EndOfDocument", EndOfDocumentNames}, 2, 2, "HPEOD"},
        {{"CtrlDPlacement", CtrlDPlacementNames}, 0, 0, "Žiadny"},
        {{"CtrlDPlacement", CtrlDPlacementNames}, 1, 1, "Začiatok"},
        {{"CtrlDPlacement", CtrlDPlacementNames}, 2, 2, "Koniec"},
        {{"CtrlDPlacement", CtrlDPlacementNames}, 3, 3, "Obe"},
        {{"Watermark", WatermarkNames}, 0, 1, "Žiadny"},
        {{"Watermark", WatermarkNames}, 1, 2, "DÔVERNÉ"},
        {{"Watermark", WatermarkNames}, 2, 3, "KÓPIA"},
        {{"Watermark", WatermarkNames}, 3, 4, "NÁVRH"},
        {{"Watermark", WatermarkNames}, 4, 5, "KONEČNÉ"},
        {{"Watermark", WatermarkNames}, 5, 6, "ORIGINÁL"},
        {{"Watermark", WatermarkNames}, 6, 7, "NÁHĽAD"},
        {{"WatermarkColor", WatermarkColorNames}, 0, 0, "Čierny"},
        {{"WatermarkColor", WatermarkColorNames}, 1, 1, "Červená"},
        {{"WatermarkColor", WatermarkColorNames}, 2, 2, "Zelená"},
        {{"WatermarkColor", WatermarkColorNames}, 3, 3, "Žltý"},
        {{"WatermarkColor", WatermarkColorNames}, 4, 4, "Modrý"},
        {{"FontStyle", FontStyleNames}, 0, 0, "Normalny"},
        {{"FontStyle", FontStyleNames}, 1, 1, "Tučné"},
        {{"FontStyle", FontStyleNames}, 2, 2, "Kurzíva"},
        {{"FontStyle", FontStyleNames}, 3, 3, "Tučné a Kurzíva"},
        {{"PagesPerSheet", PagesPerSheetNames}, 0, 1, "1"},
        {{"PagesPerSheet", PagesPerSheetNames}, 5, 16, "16"},
        {{"PagesPerSheet", PagesPerSheetNames}, 6, 99, "Brožúra"},
        {{"FeedEdge", FeedEdgeNames}, 0, 8, "Dlhší okraj"},
        {{"FeedEdge", FeedEdgeNames}, 1, 9, "Kratší okraj"},
        {{"StorageDevice", StorageDeviceNames}, 0, 0, "SYS:"},
        {{"StorageDevice", StorageDeviceNames}, 10, 10, "DSK9:"},
    };
    for (const Case& c : cases) {
        const OptionCode& row = c.t.table[c.index];
        ASSERT_NE(row.name, nullptr) << c.t.label << " row " << c.index;
        EXPECT_EQ(row.id, c.id) << c.t.label << " row " << c.index;
        EXPECT_EQ(platform::Cp1250ToUtf8(row.name), c.utf8) << c.t.label << " row " << c.index;
    }
}

// The fraction characters are the single bytes 0xBD and 0xBE, not multi-byte sequences.
TEST(OptionTables, FractionBytesAreSingleBytes) {
    EXPECT_STREQ(NameOfCode(PaperSizeNames, 22), "Envelope #12 4 \xBE x 11");
    EXPECT_STREQ(NameOfCode(PaperSizeNames, 56), "Letter Extra Transverse 9\xBD x 12 in");
    EXPECT_STREQ(NameOfCode(PagesPerSheetNames, 99), "Bro\x9E\xFAra");
    EXPECT_STREQ(NameOfCode(WatermarkNames, 1), "\x8E"
                                                "iadny");
}

// Paper codes in table order: the order decides which duplicate a lookup finds.
TEST(OptionTables, PaperSizeIdsInOrder) {
    const std::vector<std::int32_t> expected = {
        1,   2,   17,  3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,
        16,  18,  19,  20,  21,  22,  23,  24,  25,  26,  27,  28,  29,  30,  31,  32,
        33,  34,  35,  36,  37,  38,  39,  40,  41,  511, 43,  73,  74,  44,  45,  46,
        47,  48,  49,  50,  51,  52,  53,  54,  55,  56,  57,  58,  59,  60,  61,  62,
        63,  64,  65,  66,  67,  68,  491, 510, 509, 508, 507, 506, 505, 504, 70,  503,
        502, 501, 500, 499, 498, 497, 496, 495, 494, 493, 492, 490, 489, 488, 487, 257};
    std::vector<std::int32_t> ids;
    for (const OptionCode* row = PaperSizeNames; row->name != nullptr; ++row) {
        ids.push_back(row->id);
    }
    EXPECT_EQ(ids, expected);
}

// The numbered rows run without gaps: Tray1..Tray40 as 10..49, Mailbin1..5 as 52..56,
// DSK0:..DSK9: as 1..10.
TEST(OptionTables, NumberedRows) {
    for (int n = 1; n <= 40; ++n) {
        EXPECT_EQ(OutputBinNames[9 + n].id, 9 + n);
        EXPECT_EQ(std::string(OutputBinNames[9 + n].name), "Tray" + std::to_string(n));
    }
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(OutputBinNames[51 + n].id, 51 + n);
        EXPECT_EQ(std::string(OutputBinNames[51 + n].name), "Mailbin" + std::to_string(n));
    }
    for (int n = 0; n <= 9; ++n) {
        EXPECT_EQ(StorageDeviceNames[1 + n].id, 1 + n);
        EXPECT_EQ(std::string(StorageDeviceNames[1 + n].name), "DSK" + std::to_string(n) + ":");
    }
}

// Code to name: the first row with the id wins; unknown ids give nothing.
TEST(OptionTables, NameOfCode) {
    struct Case {
        NamedTable t;
        std::int32_t id;
        const char* expected; // nullptr: no name
    };
    const Case cases[] = {
        {{"PaperSize", PaperSizeNames}, 9, "A4"},
        {{"PaperSize", PaperSizeNames}, 17, "11x17"},
        {{"PaperSize", PaperSizeNames}, 3, "11x17"},
        {{"PaperSize", PaperSizeNames}, 4, "11x17"},
        {{"PaperSize", PaperSizeNames}, 257, "Custom Paper"},
        {{"PaperSize", PaperSizeNames}, 42, nullptr},
        {{"PaperSize", PaperSizeNames}, 0, nullptr},
        {{"PaperSize", PaperSizeNames}, -1, nullptr},
        {{"InputSlot", InputSlotNames}, 258, "Optional"},
        {{"InputSlot", InputSlotNames}, 12, nullptr},
        {{"OutputBin", OutputBinNames}, 0, "Default"},
        {{"MediaType", MediaTypeNames}, 247, "Default"},
        {{"RenderingStyle", RenderingStyleNames}, 0, "None"},
        {{"Destination", DestinationNames}, 143, "Auto"},
        {{"Destination", DestinationNames}, 0, nullptr},
        {{"null", nullptr}, 1, nullptr},
    };
    for (const Case& c : cases) {
        const char* name = NameOfCode(c.t.table, c.id);
        if (c.expected == nullptr) {
            EXPECT_EQ(name, nullptr) << c.t.label << " " << c.id;
        } else {
            EXPECT_STREQ(name, c.expected) << c.t.label << " " << c.id;
        }
    }
}

// Name to code: exact, case-sensitive byte match, first row wins, 0 when nothing matches.
TEST(OptionTables, CodeOfName) {
    struct Case {
        NamedTable t;
        std::string_view name;
        std::int32_t expected;
    };
    using namespace std::string_view_literals;
    const Case cases[] = {
        {{"PaperSize", PaperSizeNames}, "A4", 9},
        {{"PaperSize", PaperSizeNames}, "11x17", 17},
        {{"PaperSize", PaperSizeNames}, "B4", 12},
        {{"PaperSize", PaperSizeNames}, "B5", 13},
        {{"PaperSize", PaperSizeNames}, "B6", 35},
        {{"PaperSize", PaperSizeNames}, "RESERVED--DO NOT USE", 48},
        {{"PaperSize", PaperSizeNames}, "Custom Paper", 257},
        {{"PaperSize", PaperSizeNames}, "a4", 0},
        {{"PaperSize", PaperSizeNames}, "A4 ", 0},
        {{"PaperSize", PaperSizeNames}, "A", 0},
        {{"PaperSize", PaperSizeNames}, "", 0},
        {{"PaperSize", PaperSizeNames}, "A4\0x"sv, 0},
        {{"PaperSize", PaperSizeNames}, "Letter Extra 9 \xBD x 12 in", 50},
        {{"InputSlot", InputSlotNames}, "Optional", 258},
        {{"InputSlot", InputSlotNames}, "OptionalBin", 258},
        {{"InputSlot", InputSlotNames}, "optional", 0},
        {{"InputSlot", InputSlotNames}, "Tray2", 0},
        {{"OutputBin", OutputBinNames}, "Tray2", 11},
        {{"OutputBin", OutputBinNames}, "NoSuchBin", 0},
        {{"Halftone", HalftoneNames}, "NoSuchScreen", 0},
        {{"Resolution", ResolutionNames}, "600dpi", 2},
        {{"Resolution", ResolutionNames}, "600", 5},
        {{"MediaType", MediaTypeNames}, "Envelope", 249},
        {{"Simulation", SimulationNames}, "PrinterDefault", 123},
        {{"Watermark", WatermarkNames},
         "N\xC1H\xBC"
         "AD",
         7},
        {{"Watermark", WatermarkNames}, "NÁHĽAD", 0}, // UTF-8 bytes are not the table's text
        {{"StorageDevice", StorageDeviceNames}, "DSK0:", 1},
        {{"StorageDevice", StorageDeviceNames}, "DSK0", 0},
        {{"null", nullptr}, "A4", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CodeOfName(c.t.table, c.name), c.expected) << c.t.label << " " << c.name;
    }
}

} // namespace
} // namespace app
