#include "pages/overlay/watermark_reset.h"

#include <gtest/gtest.h>

namespace pages {
namespace {

// The attributes take their defaults; the text is the name only while a predefined watermark
// is being edited; the name and the font code are never touched.
TEST(WatermarkReset, AttributesAndTextRule) {
    struct Case {
        const char* name;
        int mode;
        const char* text;
    };
    const Case cases[] = {
        {"K\xD3PIA", kWatermarkEditing, "K\xD3PIA"},
        {"\x8Eiadny", kWatermarkEditing, "\x8Eiadny"},
        {"K\xD3PIA", kWatermarkAdding, "Vodoznak"},
        {"K\xD3PIA", kWatermarkNotEditing, "Vodoznak"},
        {"Moje logo", kWatermarkEditing, "Vodoznak"},
        {"k\xF3pia", kWatermarkEditing, "Vodoznak"}, // names compare exactly
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app::PrinterSettingsBlock block;
        for (std::size_t i = 0; i < block.size(); ++i)
            block.data()[i] = static_cast<std::uint8_t>(i * 31 + 7);
        const app::PrinterSettingsBlock before = block;
        block.setWatermarkName(c.name);
        block.setWatermarkFontCode(12);
        ResetWatermarkAttributes(block, c.mode);
        EXPECT_EQ(block.watermarkName(), c.name);
        EXPECT_EQ(block.watermarkText(), c.text);
        EXPECT_EQ(block.watermarkFont(), "Courier New");
        EXPECT_EQ(block.watermarkFontCode(), 12);
        EXPECT_EQ(block.watermarkStyle(), 0);
        EXPECT_EQ(block.watermarkSize(), 72);
        EXPECT_EQ(block.watermarkAngle(), 45);
        EXPECT_EQ(block.watermarkColor(), 0);
        EXPECT_EQ(block.watermarkIntensity(), 50);
        EXPECT_EQ(block.watermarkBackground(), 1);
        EXPECT_EQ(block.watermarkOutline(), 0);
        EXPECT_EQ(block.watermarkPositionMode(), 0);
        EXPECT_EQ(block.watermarkOffsetX(), 0);
        EXPECT_EQ(block.watermarkOffsetY(), 0);
        // Nothing outside the watermark record changes.
        for (std::size_t i = 0; i < block.size(); ++i) {
            if (i < 840 || i >= 988) {
                ASSERT_EQ(block.data()[i], before.data()[i]) << "byte " << i;
            }
        }
        // Texts are zero-filled after their terminator, as a stored profile needs.
        EXPECT_EQ(block.data()[872 + block.watermarkText().size() + 1], 0);
    }
}

} // namespace
} // namespace pages
