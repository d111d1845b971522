#include "pages/about/reset_settings.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "app/option_tables.h"
#include "pages/fonts/font_substitution_store.h"
#include "platform/memory_registry.h"
#include "ppd/ppd.h"
#include "tests/support/program_fixture.h"

namespace pages::testing {
namespace {

using namespace app;
using app::testing::kColorPpd;
using app::testing::ProgramTest;

// A block in which no byte holds its reset value: every byte a pattern of its offset.
PrinterSettingsBlock Scrambled() {
    PrinterSettingsBlock block;
    for (std::size_t i = 0; i < block.size(); ++i)
        block.data()[i] = static_cast<std::uint8_t>(0xC3 ^ (i * 13));
    block.setPrinterName("Vela");
    return block;
}

struct Document {
    explicit Document(std::string_view text)
        : doc(ppd::ParsePpdBytes(text.data(), text.size(), "reset.ppd")) {}
    ~Document() { ppd::FreePpdDocument(doc); }
    const ppd::PpdDocument* doc;
};

std::string Ppd(std::string_view resolutionLines) {
    return std::string("*PPD-Adobe: \"4.3\"\n") + std::string(resolutionLines);
}

// The fixed values of the reset, in the order the reset stores them.
TEST(ResetSettings, FixedValues) {
    platform::MemoryRegistry registry;
    PrinterSettingsBlock block = Scrambled();
    ResetSettingsToDefaults(block, nullptr, registry);
    struct Expected {
        const char* field;
        std::int64_t value;
    };
    const Expected values[] = {
        {"outputBin", 1},
        {"reservedCode", -1},
        {"orientation", 1},
        {"duplexMode", 1},
        {"pagesPerSheet", 1},
        {"printPageBorders", 0},
        {"inputSlot", 7},
        {"bannerPageEnabled", 0},
        {"bannerPageSource", 7},
        {"firstPageEnabled", 0},
        {"firstPageSource", 7},
        {"trailerPageEnabled", 0},
        {"trailerPageSource", 7},
        {"overrideMultipurposeTray", 1},
        {"colorProfileIndex", 1},
        {"iccMatching", 1},
        {"crdMatching", 0},
        {"rgbSource", 101},
        {"colorSimulation", 119},
        {"destinationProfile", 143},
        {"crdColorSpace", 131},
        {"tonerSaving", 0},
        {"rotation", 0},
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
    for (const Expected& e : values)
        EXPECT_EQ(block.readInteger(*FindSettingsField(e.field)), e.value) << e.field;
    EXPECT_EQ(block.colorProfileName(), NameOfCode(ColorProfileNames, 1));
    EXPECT_EQ(block.watermarkName(), NameOfCode(WatermarkNames, 1));
    EXPECT_EQ(block.watermarkText(), "Vodoznak");
    EXPECT_EQ(block.watermarkFont(), "Courier New");
    EXPECT_EQ(block.externalHeaderPath(), "");
    EXPECT_EQ(block.reprintName(), "");
    EXPECT_EQ(block.emailAddress(), "");
    for (int slot = 0; slot < kOverlaySlotCount; ++slot)
        EXPECT_EQ(block.overlaySlot(slot), OverlaySlot()) << slot;
}

// What the reset keeps is kept byte for byte: names, paths, installed options, accounting,
// network, custom size, the reserved bytes, the watermark font code; and, without a PPD, the
// PPD-defaulted fields other than the output bin.
TEST(ResetSettings, KeptFieldsSurvive) {
    platform::MemoryRegistry registry;
    const PrinterSettingsBlock before = Scrambled();
    PrinterSettingsBlock block = before;
    ResetSettingsToDefaults(block, nullptr, registry);
    for (const SettingsField& field : SettingsFields()) {
        const bool kept =
            field.reset.kind == ResetKind::Kept || field.reset.kind == ResetKind::PpdDefault ||
            field.reset.kind == ResetKind::PpdDefaultOrKept ||
            field.reset.kind == ResetKind::SameAs || field.reset.kind == ResetKind::DpiOfResolution;
        if (!kept)
            continue;
        EXPECT_EQ(
            std::memcmp(block.data() + field.offset, before.data() + field.offset, field.size), 0)
            << (field.named() ? field.name : "reserved") << " at " << field.offset;
    }
}

// With a PPD: its defaults, the resolution's dots per inch always matching its code, the three
// object halftones following the job halftone, sentinels replaced by their fallbacks.
TEST(ResetSettings, PpdDefaults) {
    struct Case {
        const char* name;
        std::string ppd;
        std::int16_t resolutionCode; // -1: kept
        std::int32_t dpi;
        std::int16_t paperSize;
        std::int16_t outputBin;
        std::int16_t halftone;
        std::int16_t quality;
    };
    const Case cases[] = {
        {"full PPD", kColorPpd, 3, 1200, 9, 11, 4, 1},
        {"300 dpi", Ppd("*DefaultResolution: 300dpi\n*Resolution 300dpi: \"\"\n"), 1, 300, 1, 1, 0,
         0},
        {"2400 dpi", Ppd("*DefaultResolution: 2400dpi\n*Resolution 2400dpi: \"\"\n"), 4, 2400, 1, 1,
         0, 0},
        {"alternative 600 keyword", Ppd("*DefaultResolution: 600\n*Resolution 600: \"\"\n"), 5, 600,
         1, 1, 0, 0},
        {"keyword outside the table", Ppd("*DefaultResolution: 720dpi\n*Resolution 720dpi: \"\"\n"),
         0, 600, 1, 1, 0, 0},
        {"no resolution", Ppd("*NickName: \"x\"\n"), -1, 600, 1, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Document document(c.ppd);
        ASSERT_NE(document.doc, nullptr);
        platform::MemoryRegistry registry;
        PrinterSettingsBlock block = Scrambled();
        const std::int16_t codeBefore = block.resolutionCode();
        ResetSettingsToDefaults(block, document.doc, registry);
        EXPECT_EQ(block.resolutionCode(), c.resolutionCode < 0 ? codeBefore : c.resolutionCode);
        EXPECT_EQ(block.resolutionDpi(), c.dpi);
        EXPECT_EQ(block.paperSize(), c.paperSize);
        EXPECT_EQ(block.outputBin(), c.outputBin);
        EXPECT_EQ(block.halftoneType(), c.halftone);
        EXPECT_EQ(block.imageHalftone(), c.halftone);
        EXPECT_EQ(block.textHalftone(), c.halftone);
        EXPECT_EQ(block.graphicsHalftone(), c.halftone);
        EXPECT_EQ(block.printQuality(), c.quality);
    }
}

// The font substitution table: "DfltFontSub" is copied unchanged to "FontSub"; without a
// default or without the key nothing is written and no key is created.
TEST(ResetSettings, FontTableBecomesTheDefault) {
    const std::string key = pages::FontSubstitutionKeyPath("Vela");
    const std::string table("Arial\0Helvetica\0Times New Roman\0Na\xE8\xEDta\x9D\0\0", 41);
    {
        platform::MemoryRegistry registry;
        registry.Put(key, "DfltFontSub", platform::RegistryType::Binary, table);
        registry.Put(key, "FontSub", platform::RegistryType::Binary, std::string("X\0Y\0\0", 5));
        PrinterSettingsBlock block = Scrambled();
        ResetSettingsToDefaults(block, nullptr, registry);
        const auto current = registry.Get(key, "FontSub");
        ASSERT_TRUE(current.has_value());
        EXPECT_EQ(current->type, platform::RegistryType::Binary);
        EXPECT_EQ(current->data, table);
        EXPECT_EQ(registry.OpenKeyCount(), 0u);
    }
    {
        platform::MemoryRegistry registry;
        registry.Put(key, "FontSub", platform::RegistryType::Binary, std::string("X\0Y\0\0", 5));
        PrinterSettingsBlock block = Scrambled();
        ResetSettingsToDefaults(block, nullptr, registry);
        EXPECT_EQ(registry.Get(key, "FontSub")->data, std::string("X\0Y\0\0", 5));
    }
    {
        platform::MemoryRegistry registry;
        PrinterSettingsBlock block = Scrambled();
        ResetSettingsToDefaults(block, nullptr, registry);
        EXPECT_FALSE(registry.HasKey(key));
    }
}

} // namespace
} // namespace pages::testing
