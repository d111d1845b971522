#include "app/settings_block.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace app {
namespace {

using T = FieldType;

struct Expected {
    const char* name;
    int offset;
    FieldType type;
    int size;
};

// The block layout written out a second time, independently of settings_fields.inc.
const Expected kLayout[] = {
    {"devicePropertiesMode", 0, T::UInt8, 1},
    {"printerName", 1, T::Text, 64},
    {"driverFilePath", 65, T::Text, 64},
    {"outputBin", 129, T::Int16, 2},
    {"reservedCode", 131, T::Int16, 2},
    {"colorDevice", 147, T::Int16, 2},
    {"orientation", 161, T::Int16, 2},
    {"duplexMode", 163, T::Int16, 2},
    {"pagesPerSheet", 165, T::Int16, 2},
    {"printPageBorders", 167, T::Int16, 2},
    {"paperSize", 169, T::Int16, 2},
    {"inputSlot", 171, T::Int16, 2},
    {"mediaType", 173, T::Int16, 2},
    {"bannerPageEnabled", 175, T::Int16, 2},
    {"bannerPageSource", 177, T::Int16, 2},
    {"firstPageEnabled", 179, T::Int16, 2},
    {"firstPageSource", 181, T::Int16, 2},
    {"trailerPageEnabled", 183, T::Int16, 2},
    {"trailerPageSource", 185, T::Int16, 2},
    {"overrideMultipurposeTray", 187, T::Int16, 2},
    {"resolutionDpi", 189, T::Int32, 4},
    {"resolutionCode", 193, T::Int16, 2},
    {"halftoneType", 197, T::Int16, 2},
    {"printQuality", 199, T::Int16, 2},
    {"tonerSaving", 201, T::Int16, 2},
    {"invertImage", 203, T::Int16, 2},
    {"mirrorImage", 205, T::Int16, 2},
    {"rotation", 207, T::Int16, 2},
    {"imageHalftone", 209, T::Int16, 2},
    {"textHalftone", 211, T::Int16, 2},
    {"graphicsHalftone", 213, T::Int16, 2},
    {"colorProfileName", 215, T::Text, 64},
    {"rgbSourceProfileName", 279, T::Text, 64},
    {"destinationProfileName", 343, T::Text, 64},
    {"simulationProfileName", 407, T::Text, 64},
    {"crdColorSpaceName", 471, T::Text, 32},
    {"colorProfileIndex", 503, T::Int16, 2},
    {"colorProfileReserved", 505, T::Int16, 2},
    {"colorSeparation", 507, T::Int16, 2},
    {"iccMatching", 509, T::Int16, 2},
    {"crdMatching", 511, T::Int16, 2},
    {"rgbSource", 513, T::Int16, 2},
    {"colorSimulation", 515, T::Int16, 2},
    {"destinationProfile", 517, T::Int16, 2},
    {"defaultCrd", 519, T::Int16, 2},
    {"imageCrd", 521, T::Int16, 2},
    {"textCrd", 523, T::Int16, 2},
    {"graphicsCrd", 525, T::Int16, 2},
    {"crdColorSpace", 527, T::Int16, 2},
    {"grayColorModel", 529, T::Int16, 2},
    {"useDsc", 531, T::Int16, 2},
    {"allowPsEmulation", 533, T::Int16, 2},
    {"printErrorInfo", 535, T::Int16, 2},
    {"useExternalHeader", 537, T::Int16, 2},
    {"externalHeaderPath", 539, T::Text, 64},
    {"endOfDocType", 603, T::Int16, 2},
    {"ctrlDPlacement", 605, T::Int16, 2},
    {"jobWaitTimeout", 607, T::Int16, 2},
    {"collate", 609, T::Int16, 2},
    {"copies", 611, T::Int16, 2},
    {"scale", 613, T::Int16, 2},
    {"reprintEnabled", 615, T::Int16, 2},
    {"reprintName", 617, T::Text, 64},
    {"notifyByEmail", 681, T::Int16, 2},
    {"emailAddress", 683, T::Text, 64},
    {"overlaySlots", 747, T::Bytes, 85},
    {"overlayCyclicFirstPage", 832, T::Int16, 2},
    {"overlayCyclicPeriod", 834, T::Int16, 2},
    {"watermarkCode", 836, T::Int16, 2},
    {"watermarkFirstPageOnly", 838, T::Int16, 2},
    {"watermarkName", 840, T::Text, 32},
    {"watermarkText", 872, T::Text, 64},
    {"watermarkFont", 936, T::Text, 32},
    {"watermarkFontCode", 968, T::Int16, 2},
    {"watermarkStyle", 970, T::Int16, 2},
    {"watermarkSize", 972, T::Int16, 2},
    {"watermarkAngle", 974, T::Int16, 2},
    {"watermarkColor", 976, T::Int16, 2},
    {"watermarkIntensity", 978, T::Int16, 2},
    {"watermarkBackground", 980, T::UInt8, 1},
    {"watermarkOutline", 981, T::UInt8, 1},
    {"watermarkPositionMode", 982, T::Int16, 2},
    {"watermarkOffsetX", 984, T::Int16, 2},
    {"watermarkOffsetY", 986, T::Int16, 2},
    {"diskInstalled", 988, T::UInt8, 1},
    {"duplexerInstalled", 989, T::UInt8, 1},
    {"bin1Installed", 990, T::UInt8, 1},
    {"bin2Installed", 991, T::UInt8, 1},
    {"bin3Installed", 992, T::UInt8, 1},
    {"bin4Installed", 993, T::UInt8, 1},
    {"bin5Installed", 994, T::UInt8, 1},
    {"feederInstalled", 998, T::UInt8, 1},
    {"envelopeFeederInstalled", 999, T::UInt8, 1},
    {"stackerInstalled", 1000, T::UInt8, 1},
    {"finisherInstalled", 1001, T::UInt8, 1},
    {"mailboxInstalled", 1002, T::UInt8, 1},
    {"multiresInstalled", 1003, T::UInt8, 1},
    {"accountingAuthor", 1004, T::Text, 64},
    {"accountingHost", 1068, T::Text, 64},
    {"accountingSeriesNumber", 1132, T::Text, 64},
    {"snmpCommunity", 1196, T::Text, 32},
    {"printerAddress", 1228, T::Text, 16},
    {"portName", 1244, T::Text, 32},
    {"reservedFlag", 1276, T::Int16, 2},
    {"fontSubstitution", 1278, T::Int16, 2},
    {"customSizeMinWidth", 1280, T::Int16, 2},
    {"customSizeMaxWidth", 1282, T::Int16, 2},
    {"customSizeMinHeight", 1284, T::Int16, 2},
    {"customSizeMaxHeight", 1286, T::Int16, 2},
    {"customSizeWidth", 1288, T::Float, 4},
    {"customSizeHeight", 1292, T::Float, 4},
    {"customSizeUnit", 1296, T::Int16, 2},
    {"customSizeFeedEdge", 1298, T::Int16, 2},
};

struct Range {
    int offset;
    int size;
};
const Range kReserved[] = {{133, 14}, {149, 12}, {195, 2}, {995, 3}};

std::vector<std::uint8_t> Bytes(const PrinterSettingsBlock& b) {
    return std::vector<std::uint8_t>(b.data(), b.data() + b.size());
}

PrinterSettingsBlock RandomBlock(unsigned seed) {
    std::mt19937 random(seed);
    PrinterSettingsBlock b;
    for (std::size_t i = 0; i < b.size(); ++i) {
        b.data()[i] = static_cast<std::uint8_t>(random());
    }
    return b;
}

// Every field of the layout sits at its offset with its type and width, and nothing else is named.
TEST(SettingsBlock, EveryFieldHasItsOffsetTypeAndWidth) {
    for (const Expected& e : kLayout) {
        const SettingsField* f = FindSettingsField(e.name);
        ASSERT_NE(f, nullptr) << e.name;
        EXPECT_EQ(f->offset, e.offset) << e.name;
        EXPECT_EQ(f->type, e.type) << e.name;
        EXPECT_EQ(f->size, e.size) << e.name;
    }
    std::vector<Range> reserved;
    std::size_t named = 0;
    for (const SettingsField& f : SettingsFields()) {
        if (f.named()) {
            ++named;
        } else {
            reserved.push_back({f.offset, f.size});
        }
    }
    EXPECT_EQ(named, std::size(kLayout));
    ASSERT_EQ(reserved.size(), std::size(kReserved));
    for (std::size_t i = 0; i < reserved.size(); ++i) {
        EXPECT_EQ(reserved[i].offset, kReserved[i].offset);
        EXPECT_EQ(reserved[i].size, kReserved[i].size);
    }
    EXPECT_EQ(FindSettingsField(""), nullptr);
    EXPECT_EQ(FindSettingsField("PaperSize"), nullptr);
}

// Each of the 1300 bytes belongs to exactly one row, named or reserved.
TEST(SettingsBlock, RowsCoverEveryByteOnce) {
    std::vector<int> owners(PrinterSettingsBlock::kSize, 0);
    for (const SettingsField& f : SettingsFields()) {
        for (int i = f.offset; i < f.offset + f.size; ++i) {
            ASSERT_LT(i, static_cast<int>(owners.size())) << f.name;
            ++owners[i];
        }
    }
    for (std::size_t i = 0; i < owners.size(); ++i) {
        EXPECT_EQ(owners[i], 1) << "byte " << i;
    }
}

// Typed accessors write little-endian bytes at their field's offset, odd offsets included, and
// touch nothing else.
TEST(SettingsBlock, TypedAccessorsWriteLittleEndianAtTheirOffsets) {
    struct Case {
        const char* what;
        void (*set)(PrinterSettingsBlock&);
        int offset;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"outputBin", [](PrinterSettingsBlock& b) { b.setOutputBin(-2); }, 129, {0xFE, 0xFF}},
        {"paperSize", [](PrinterSettingsBlock& b) { b.setPaperSize(0x1234); }, 169, {0x34, 0x12}},
        {"resolutionDpi",
         [](PrinterSettingsBlock& b) { b.setResolutionDpi(0x01020304); },
         189,
         {0x04, 0x03, 0x02, 0x01}},
        {"watermarkOffsetY",
         [](PrinterSettingsBlock& b) { b.setWatermarkOffsetY(-396); },
         986,
         {0x74, 0xFE}},
        {"watermarkBackground",
         [](PrinterSettingsBlock& b) { b.setWatermarkBackground(0xAB); },
         980,
         {0xAB}},
        {"customSizeWidth",
         [](PrinterSettingsBlock& b) { b.setCustomSizeWidth(210.0f); },
         1288,
         {0x00, 0x00, 0x52, 0x43}},
        {"customSizeHeight",
         [](PrinterSettingsBlock& b) { b.setCustomSizeHeight(-1.5f); },
         1292,
         {0x00, 0x00, 0xC0, 0xBF}},
        {"customSizeFeedEdge",
         [](PrinterSettingsBlock& b) { b.setCustomSizeFeedEdge(9); },
         1298,
         {0x09, 0x00}},
        {"printerAddress",
         [](PrinterSettingsBlock& b) { EXPECT_TRUE(b.setPrinterAddress("10.0.0.1")); },
         1228,
         {'1', '0', '.', '0', '.', '0', '.', '1', 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const PrinterSettingsBlock before = RandomBlock(7);
        PrinterSettingsBlock b = before;
        c.set(b);
        for (int i = 0; i < static_cast<int>(b.size()); ++i) {
            const int k = i - c.offset;
            const std::uint8_t want =
                k >= 0 && k < static_cast<int>(c.bytes.size()) ? c.bytes[k] : before.data()[i];
            ASSERT_EQ(b.data()[i], want) << c.what << " byte " << i;
        }
    }
    PrinterSettingsBlock b;
    b.setOutputBin(-2);
    b.setResolutionDpi(-2400);
    b.setCustomSizeHeight(297.25f);
    EXPECT_EQ(b.outputBin(), -2);
    EXPECT_EQ(b.resolutionDpi(), -2400);
    EXPECT_EQ(b.customSizeHeight(), 297.25f);
}

// Setting every named field of a block with arbitrary reserved bytes reads back what was set
// and leaves the reserved bytes as they came.
TEST(SettingsBlock, RoundTripKeepsReservedBytes) {
    const PrinterSettingsBlock original = RandomBlock(42);
    PrinterSettingsBlock b = original;
    std::mt19937 random(1);
    struct Written {
        const SettingsField* f;
        std::int64_t number;
        float real;
        std::string text;
    };
    std::vector<Written> written;
    for (const SettingsField& f : SettingsFields()) {
        Written w{&f, 0, 0.0f, {}};
        switch (f.type) {
        case T::UInt8:
            w.number = random() % 256;
            ASSERT_TRUE(b.writeInteger(f, w.number));
            break;
        case T::Int16:
            w.number = static_cast<std::int16_t>(random());
            ASSERT_TRUE(b.writeInteger(f, w.number));
            break;
        case T::Int32:
            w.number = static_cast<std::int32_t>(random());
            ASSERT_TRUE(b.writeInteger(f, w.number));
            break;
        case T::Float:
            w.real = static_cast<float>(random() % 100000) / 8.0f;
            ASSERT_TRUE(b.writeFloat(f, w.real));
            break;
        case T::Text:
            w.text = std::string(random() % f.size, static_cast<char>('A' + random() % 26));
            ASSERT_TRUE(b.writeText(f, w.text));
            break;
        case T::Bytes:
            for (int slot = 0; slot < kOverlaySlotCount; ++slot) {
                b.setOverlayEnabled(slot, 1);
                b.setOverlayFileName(slot, "F" + std::to_string(slot) + ".OVL");
                b.setOverlayDevice(slot, static_cast<std::int16_t>(slot + 1));
            }
            break;
        case T::Reserved:
            EXPECT_FALSE(b.writeInteger(f, 0));
            EXPECT_FALSE(b.writeText(f, ""));
            break;
        }
        written.push_back(w);
    }
    for (const Range& r : kReserved) {
        for (int i = r.offset; i < r.offset + r.size; ++i) {
            EXPECT_EQ(b.data()[i], original.data()[i]) << "reserved byte " << i;
        }
    }
    for (const Written& w : written) {
        switch (w.f->type) {
        case T::UInt8:
        case T::Int16:
        case T::Int32:
            EXPECT_EQ(b.readInteger(*w.f), w.number) << w.f->name;
            break;
        case T::Float:
            EXPECT_EQ(b.readFloat(*w.f), w.real) << w.f->name;
            break;
        case T::Text:
            EXPECT_EQ(b.readText(*w.f), w.text) << w.f->name;
            break;
        default:
            break;
        }
    }
    for (int slot = 0; slot < kOverlaySlotCount; ++slot) {
        EXPECT_EQ(b.overlayEnabled(slot), 1);
        EXPECT_EQ(b.overlayFileName(slot), "F" + std::to_string(slot) + ".OVL");
        EXPECT_EQ(b.overlayDevice(slot), slot + 1);
    }
}

// Every text field holds size-1 bytes with its terminator inside the array; one byte more is
// cut, reported, and still terminated; the neighbouring bytes stay as they were.
TEST(SettingsBlock, TextsAreBoundedAndTerminated) {
    for (const Expected& e : kLayout) {
        if (e.type != T::Text) {
            continue;
        }
        const SettingsField& f = *FindSettingsField(e.name);
        const PrinterSettingsBlock before = RandomBlock(3);
        PrinterSettingsBlock b = before;
        const std::string fits(e.size - 1, 'x');
        EXPECT_TRUE(b.writeText(f, fits)) << e.name;
        EXPECT_EQ(b.readText(f), fits) << e.name;
        EXPECT_EQ(b.data()[e.offset + e.size - 1], 0) << e.name;

        EXPECT_FALSE(b.writeText(f, fits + "y")) << e.name;
        EXPECT_EQ(b.readText(f), fits) << e.name;
        EXPECT_EQ(b.data()[e.offset + e.size - 1], 0) << e.name;
        EXPECT_EQ(b.data()[e.offset - 1], before.data()[e.offset - 1]) << e.name;
        if (e.offset + e.size < static_cast<int>(b.size())) {
            EXPECT_EQ(b.data()[e.offset + e.size], before.data()[e.offset + e.size]) << e.name;
        }
    }
    // The case the table itself names: a 63-character accounting host fits, 64 do not.
    PrinterSettingsBlock b;
    EXPECT_TRUE(b.setAccountingHost(std::string(63, 'h')));
    EXPECT_FALSE(b.setAccountingHost(std::string(64, 'h')));
    EXPECT_EQ(b.accountingHost(), std::string(63, 'h'));
}

// A shorter text clears the rest of the array; an embedded NUL ends the text and is reported.
TEST(SettingsBlock, TextSetterClearsTailAndStopsAtNul) {
    PrinterSettingsBlock b;
    b.setWatermarkName("ORIGIN\xC1L");
    EXPECT_TRUE(b.setWatermarkName("AB"));
    for (int i = 842; i < 872; ++i) {
        EXPECT_EQ(b.data()[i], 0) << i;
    }
    EXPECT_FALSE(b.setWatermarkName(std::string("ab\0cd", 5)));
    EXPECT_EQ(b.watermarkName(), "ab");
    EXPECT_TRUE(b.setWatermarkName("\x8E"
                                   "iadny"));
    EXPECT_EQ(b.watermarkName(), "\x8E"
                                 "iadny");
}

// A text without terminator, as a foreign block may hold, reads up to its array's end only.
TEST(SettingsBlock, UnterminatedTextReadsToArrayEnd) {
    PrinterSettingsBlock b;
    std::memset(b.data() + 1228, '7', 16);
    b.data()[1244] = 'P';
    EXPECT_EQ(b.printerAddress(), std::string(16, '7'));
}

// Overlay slots are 17-byte records at 747 with int16 fields at odd offsets; 12-character 8.3
// names fit; indexes outside 0..4 change nothing.
TEST(SettingsBlock, OverlaySlots) {
    PrinterSettingsBlock b;
    EXPECT_TRUE(b.setOverlayFileName(kOverlayEvenPages, "FORM1234.OVL"));
    EXPECT_FALSE(b.setOverlayFileName(kOverlayOddPages, "FORM12345.OVL"));
    b.setOverlayDevice(kOverlayEvenPages, 10);
    b.setOverlayEnabled(kOverlayCyclic, 1);
    const int even = 747 + 2 * 17;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + even + 2)), "FORM1234.OVL");
    EXPECT_EQ(b.data()[even + 15], 10);
    EXPECT_EQ(b.data()[even + 16], 0);
    EXPECT_EQ(b.data()[747 + 4 * 17], 1);
    EXPECT_EQ(b.overlayFileName(kOverlayOddPages), "FORM12345.OV");
    EXPECT_EQ(b.data()[747 + 3 * 17 + 14], 0);

    const auto before = Bytes(b);
    b.setOverlayEnabled(5, 1);
    b.setOverlayDevice(-1, 3);
    EXPECT_FALSE(b.setOverlayFileName(7, "X"));
    EXPECT_EQ(Bytes(b), before);
    EXPECT_EQ(b.overlaySlot(5), OverlaySlot{});

    // A slot copied in without a terminator in its name is terminated in the block.
    OverlaySlot slot;
    std::memset(slot.bytes.data(), 'N', slot.bytes.size());
    b.setOverlaySlot(kOverlayAllPages, slot);
    EXPECT_EQ(b.overlayFileName(kOverlayAllPages), std::string(12, 'N'));
}

// The watermark record is bytes 840..987 and the colour profile record bytes 215..530; copying
// in touches only their own bytes, terminates their texts, and keeps grayColorModel.
TEST(SettingsBlock, WatermarkAndColorProfileRecords) {
    PrinterSettingsBlock original = RandomBlock(9);
    original.setWatermarkName("KONE\xC8N\xC9");
    original.setWatermarkText("Text");
    original.setWatermarkFont("Arial");
    PrinterSettingsBlock b = original;
    const WatermarkProfile profile = b.watermarkProfile();
    EXPECT_TRUE(std::equal(profile.bytes.begin(), profile.bytes.end(), b.data() + 840));

    WatermarkProfile edited;
    std::memset(edited.bytes.data(), 'W', edited.bytes.size());
    b.setWatermarkProfile(edited);
    EXPECT_EQ(b.watermarkName(), std::string(31, 'W'));
    EXPECT_EQ(b.watermarkText(), std::string(63, 'W'));
    EXPECT_EQ(b.watermarkFont(), std::string(31, 'W'));
    EXPECT_EQ(b.watermarkSize(), 0x5757);
    EXPECT_EQ(b.data()[839], original.data()[839]);
    EXPECT_EQ(b.data()[988], original.data()[988]);
    b.setWatermarkProfile(profile);
    EXPECT_EQ(Bytes(b), Bytes(original));

    const ColorProfileRecord record = b.colorProfileRecord();
    EXPECT_TRUE(std::equal(record.bytes.begin(), record.bytes.end(), b.data() + 215));
    ColorProfileRecord other;
    std::memset(other.bytes.data(), 0x11, other.bytes.size());
    b.setColorProfileRecord(other);
    EXPECT_EQ(b.colorProfileName(), std::string(63, '\x11'));
    EXPECT_EQ(b.crdColorSpaceName(), std::string(31, '\x11'));
    EXPECT_EQ(b.crdColorSpace(), 0x1111);
    EXPECT_EQ(b.grayColorModel(), original.grayColorModel());
    EXPECT_EQ(b.data()[214], original.data()[214]);
    EXPECT_EQ(b.data()[531], original.data()[531]);
}

// A new block gets the reset value of every field that has one; kept fields and reserved bytes
// stay as they were.
TEST(SettingsBlock, NewBlockDefaults) {
    struct Value {
        const char* name;
        std::int64_t value;
    };
    const Value numbers[] = {
        {"outputBin", 1},
        {"reservedCode", -1},
        {"orientation", 1},
        {"duplexMode", 1},
        {"pagesPerSheet", 1},
        {"printPageBorders", 0},
        {"paperSize", 1},
        {"inputSlot", 7},
        {"mediaType", 1},
        {"bannerPageEnabled", 0},
        {"bannerPageSource", 7},
        {"firstPageEnabled", 0},
        {"firstPageSource", 7},
        {"trailerPageEnabled", 0},
        {"trailerPageSource", 7},
        {"overrideMultipurposeTray", 1},
        {"resolutionDpi", 600},
        {"resolutionCode", 2},
        {"halftoneType", 0},
        {"printQuality", 0},
        {"tonerSaving", 0},
        {"invertImage", 0},
        {"mirrorImage", 0},
        {"rotation", 0},
        {"imageHalftone", 0},
        {"textHalftone", 0},
        {"graphicsHalftone", 0},
        {"colorProfileIndex", 1},
        {"colorProfileReserved", 1},
        {"colorSeparation", 0},
        {"iccMatching", 1},
        {"crdMatching", 0},
        {"rgbSource", 101},
        {"colorSimulation", 119},
        {"destinationProfile", 143},
        {"defaultCrd", 0},
        {"imageCrd", 4},
        {"textCrd", 1},
        {"graphicsCrd", 4},
        {"crdColorSpace", 131},
        {"grayColorModel", 0},
        {"useDsc", 0},
        {"allowPsEmulation", 1},
        {"printErrorInfo", 0},
        {"useExternalHeader", 0},
        {"endOfDocType", 0},
        {"ctrlDPlacement", 2},
        {"jobWaitTimeout", 0},
        {"collate", 0},
        {"copies", 1},
        {"scale", 100},
        {"reprintEnabled", 0},
        {"notifyByEmail", 0},
        {"overlayCyclicFirstPage", 1},
        {"overlayCyclicPeriod", 1},
        {"watermarkCode", 1},
        {"watermarkFirstPageOnly", 0},
        {"watermarkStyle", 0},
        {"watermarkSize", 72},
        {"watermarkAngle", 45},
        {"watermarkColor", 0},
        {"watermarkIntensity", 50},
        {"watermarkBackground", 1},
        {"watermarkOutline", 0},
        {"watermarkPositionMode", 0},
        {"watermarkOffsetX", 0},
        {"watermarkOffsetY", 0},
        {"reservedFlag", 1},
        {"fontSubstitution", 1},
    };
    struct Text {
        const char* name;
        const char* value;
    };
    const Text texts[] = {
        {"colorProfileName", "AutoCustomColor"},
        {"externalHeaderPath", ""},
        {"reprintName", ""},
        {"emailAddress", ""},
        {"watermarkName", "\x8E"
                          "iadny"},
        {"watermarkText", "Vodoznak"},
        {"watermarkFont", "Courier New"},
    };
    const PrinterSettingsBlock original = RandomBlock(5);
    PrinterSettingsBlock b = original;
    ApplyNewBlockDefaults(b);
    std::vector<bool> reset(b.size(), false);
    for (const Value& v : numbers) {
        const SettingsField& f = *FindSettingsField(v.name);
        EXPECT_EQ(b.readInteger(f), v.value) << v.name;
        std::fill_n(reset.begin() + f.offset, f.size, true);
    }
    for (const Text& t : texts) {
        const SettingsField& f = *FindSettingsField(t.name);
        EXPECT_EQ(b.readText(f), t.value) << t.name;
        std::fill_n(reset.begin() + f.offset, f.size, true);
    }
    for (int i = 747; i < 832; ++i) {
        EXPECT_EQ(b.data()[i], 0) << "overlay byte " << i;
        reset[i] = true;
    }
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (!reset[i]) {
            EXPECT_EQ(b.data()[i], original.data()[i]) << "kept byte " << i;
        }
    }
}

// Dots per inch follow the resolution code; the alternative 600 dpi codes and unknown codes give
// 600.
TEST(SettingsBlock, DpiOfResolutionCode) {
    const std::pair<int, int> cases[] = {{1, 300}, {2, 600}, {3, 1200}, {4, 2400}, {5, 600},
                                         {6, 600}, {7, 600}, {0, 600},  {-1, 600}, {99999999, 600}};
    for (const auto& [code, dpi] : cases) {
        EXPECT_EQ(DpiOfResolutionCode(code), dpi) << code;
    }
}

// Writes outside a field's range, of the wrong kind, or to reserved bytes are refused and leave
// the block unchanged.
TEST(SettingsBlock, GenericWritesRefuseWhatDoesNotFit) {
    struct Case {
        const char* name;
        std::int64_t value;
        bool ok;
    };
    const Case cases[] = {
        {"diskInstalled", 255, true},
        {"diskInstalled", 256, false},
        {"diskInstalled", -1, false},
        {"paperSize", 32767, true},
        {"paperSize", -32768, true},
        {"paperSize", 32768, false},
        {"paperSize", -32769, false},
        {"resolutionDpi", 2147483647, true},
        {"resolutionDpi", -2147483648LL, true},
        {"resolutionDpi", 2147483648LL, false},
        {"printerName", 1, false},
        {"customSizeWidth", 1, false},
        {"overlaySlots", 0, false},
    };
    for (const Case& c : cases) {
        PrinterSettingsBlock b = RandomBlock(11);
        const auto before = Bytes(b);
        const SettingsField& f = *FindSettingsField(c.name);
        EXPECT_EQ(b.writeInteger(f, c.value), c.ok) << c.name << " " << c.value;
        if (c.ok) {
            EXPECT_EQ(b.readInteger(f), c.value) << c.name;
        } else {
            EXPECT_EQ(Bytes(b), before) << c.name << " " << c.value;
        }
    }
    PrinterSettingsBlock b;
    EXPECT_FALSE(b.writeText(*FindSettingsField("paperSize"), "1"));
    EXPECT_FALSE(b.writeFloat(*FindSettingsField("paperSize"), 1.0f));
    const SettingsField beyond{"beyond", 1299, 2, T::Int16, {}};
    EXPECT_FALSE(b.writeInteger(beyond, 1));
    EXPECT_TRUE(b.assign(std::vector<std::uint8_t>(1300, 0xEE)));
    EXPECT_FALSE(b.assign(std::vector<std::uint8_t>(1299, 0)));
    EXPECT_EQ(b.data()[0], 0xEE);
}

} // namespace
} // namespace app
