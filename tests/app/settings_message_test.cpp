#include "app/settings_message.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

namespace app {
namespace {

PrinterSettingsBlock PatternBlock() {
    PrinterSettingsBlock b;
    for (std::size_t i = 0; i < b.size(); ++i) {
        b.data()[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    return b;
}

// The answer after OK: 1312, type 1, owner 0, the block byte for byte from offset 12.
TEST(SettingsMessage, BuildsTheOkMessage) {
    const PrinterSettingsBlock block = PatternBlock();
    const SettingsMessageBytes m = BuildSettingsMessage(block);
    const std::vector<std::uint8_t> header(m.begin(), m.begin() + 12);
    EXPECT_EQ(header, (std::vector<std::uint8_t>{0x20, 0x05, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(std::equal(block.data(), block.data() + block.size(), m.begin() + 12));
}

// The answer after Cancel: eight bytes, size 8 and type 2.
TEST(SettingsMessage, BuildsTheCancelMessage) {
    const CancelMessageBytes m = BuildCancelMessage();
    EXPECT_EQ(std::vector<std::uint8_t>(m.begin(), m.end()),
              (std::vector<std::uint8_t>{8, 0, 0, 0, 2, 0, 0, 0}));
}

// A received message gives its owner window and block; size and type come back unchecked.
TEST(SettingsMessage, ParsesOwnerWindowAndBlock) {
    std::vector<std::uint8_t> bytes(1312);
    const PrinterSettingsBlock block = PatternBlock();
    std::copy_n(block.data(), block.size(), bytes.begin() + 12);
    const std::uint8_t header[] = {0x99, 0, 0, 0, 7, 0, 0, 0, 0x78, 0x56, 0x34, 0x12};
    std::copy(std::begin(header), std::end(header), bytes.begin());

    const std::optional<SettingsMessage> m = ParseSettingsMessage(bytes);
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->size, 0x99);
    EXPECT_EQ(m->type, 7);
    EXPECT_EQ(m->ownerWindow, 0x12345678);
    EXPECT_EQ(m->block, block);
    EXPECT_EQ(MessageOwnerWindow(bytes), 0x12345678);

    // Our own message parses back to the same block.
    const SettingsMessageBytes ours = BuildSettingsMessage(block);
    EXPECT_EQ(ParseSettingsMessage(ours)->block, block);
    EXPECT_EQ(ParseSettingsMessage(ours)->ownerWindow, 0);
}

// Buffers of other lengths: too short for a block gives nothing, bytes beyond 1312 are ignored,
// and the owner window needs its four bytes.
TEST(SettingsMessage, ParsesOnlyWholeMessages) {
    struct Case {
        std::size_t length;
        bool parsed;
        std::int32_t owner;
    };
    const Case cases[] = {
        {0, false, 0},     {8, false, 0},    {11, false, 0},   {12, false, -1},
        {1311, false, -1}, {1312, true, -1}, {1400, true, -1},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes(c.length, 0xFF);
        EXPECT_EQ(ParseSettingsMessage(bytes).has_value(), c.parsed) << c.length;
        EXPECT_EQ(MessageOwnerWindow(bytes), c.owner) << c.length;
    }
}

} // namespace
} // namespace app
