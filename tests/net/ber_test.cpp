#include "net/ber.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

namespace net {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Lengths: short form below 128, then 0x82/0x83/0x84 (never 0x81).
TEST(BerLength, EncodesShortAndLongForms) {
    const struct {
        std::size_t length;
        Bytes expected;
    } cases[] = {
        {0, {0x00}},
        {127, {0x7F}},
        {128, {0x82, 0x00, 0x80}},
        {255, {0x82, 0x00, 0xFF}},
        {256, {0x82, 0x01, 0x00}},
        {65535, {0x82, 0xFF, 0xFF}},
        {65536, {0x83, 0x01, 0x00, 0x00}},
        {16777215, {0x83, 0xFF, 0xFF, 0xFF}},
        {16777216, {0x84, 0x01, 0x00, 0x00, 0x00}},
    };
    for (const auto& c : cases) {
        Bytes out;
        AppendBerLength(&out, c.length);
        EXPECT_EQ(out, c.expected) << c.length;
    }
}

// INTEGER contents are minimal two's complement and decode back to the same value.
TEST(BerInteger, EncodesMinimalTwosComplementAndRoundTrips) {
    const struct {
        std::int32_t value;
        Bytes expected;
    } cases[] = {
        {0, {0x02, 0x01, 0x00}},
        {127, {0x02, 0x01, 0x7F}},
        {128, {0x02, 0x02, 0x00, 0x80}},
        {257, {0x02, 0x02, 0x01, 0x01}},
        {65535, {0x02, 0x03, 0x00, 0xFF, 0xFF}},
        {-1, {0x02, 0x01, 0xFF}},
        {-128, {0x02, 0x01, 0x80}},
        {-129, {0x02, 0x02, 0xFF, 0x7F}},
        {INT32_MAX, {0x02, 0x04, 0x7F, 0xFF, 0xFF, 0xFF}},
        {INT32_MIN, {0x02, 0x04, 0x80, 0x00, 0x00, 0x00}},
    };
    for (const auto& c : cases) {
        Bytes out;
        AppendBerInteger(&out, c.value);
        EXPECT_EQ(out, c.expected) << c.value;
        std::int32_t decoded = 12345;
        ASSERT_TRUE(DecodeBerInteger(out.data() + 2, out.size() - 2, &decoded));
        EXPECT_EQ(decoded, c.value);
    }
}

// Decoding sign-extends from the first byte; five bytes only with a leading zero.
TEST(BerInteger, DecodesSignExtensionAndBoundsTheLength) {
    const struct {
        Bytes contents;
        bool ok;
        std::int32_t value;
    } cases[] = {
        {{0xFF}, true, -1},
        {{0x80}, true, -128},
        {{0xFF, 0x38}, true, -200},
        {{0x00, 0xFF}, true, 255},
        {{0x00, 0x00, 0x00, 0x00, 0x01}, true, 1},
        // 2^32 - 1 as Counter or Gauge: the low 32 bits.
        {{0x00, 0xFF, 0xFF, 0xFF, 0xFF}, true, -1},
        {{0x00, 0x80, 0x00, 0x00, 0x00}, true, INT32_MIN},
        {{}, false, 0},
        {{0x01, 0x00, 0x00, 0x00, 0x00}, false, 0},
        {{0x00, 0x00, 0x00, 0x00, 0x00, 0x01}, false, 0},
    };
    for (const auto& c : cases) {
        std::int32_t value = 777;
        EXPECT_EQ(DecodeBerInteger(c.contents.data(), c.contents.size(), &value), c.ok)
            << ::testing::PrintToString(c.contents);
        EXPECT_EQ(value, c.ok ? c.value : 777);
    }
}

// The reader takes long-form lengths and never hands out contents past its end.
TEST(BerReader, ReadsElementsWithinBounds) {
    Bytes data = {0x04, 0x82, 0x00, 0x03, 'a', 'b', 'c', 0x05, 0x00};
    BerReader reader(data.data(), data.size());
    BerElement element;
    ASSERT_TRUE(reader.Next(&element));
    EXPECT_EQ(element.tag, 0x04);
    EXPECT_EQ(element.length, 3u);
    EXPECT_EQ(element.contents, data.data() + 4);
    EXPECT_FALSE(reader.Expect(kBerInteger, &element)) << "wrong tag";
    EXPECT_EQ(reader.remaining(), 2u) << "a failed read leaves the cursor";
    ASSERT_TRUE(reader.Expect(kBerNull, &element));
    EXPECT_EQ(element.length, 0u);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_FALSE(reader.Next(&element));
}

TEST(BerReader, RefusesCutAndUnsupportedHeaders) {
    const Bytes cases[] = {
        {},
        {0x30},
        {0x30, 0x01},                         // contents missing
        {0x30, 0x05, 0x00, 0x00},             // length past the end
        {0x30, 0x82, 0x00},                   // long length cut
        {0x30, 0x80, 0x00, 0x00},             // indefinite length
        {0x30, 0x85, 0, 0, 0, 0, 1, 0x00},    // five length bytes
        {0x30, 0x84, 0xFF, 0xFF, 0xFF, 0xFF}, // 4 GB of contents
        {0x1F, 0x01, 0x00},                   // multi-byte tag
    };
    for (const Bytes& data : cases) {
        BerReader reader(data.data(), data.size());
        BerElement element;
        EXPECT_FALSE(reader.Next(&element)) << ::testing::PrintToString(data);
        EXPECT_EQ(reader.remaining(), data.size());
    }
}

// A child reader ends where its parent element ends, not where the buffer ends.
TEST(BerReader, ChildrenStayInsideTheParent) {
    // SEQUENCE of 2 bytes whose child claims 3 bytes that exist only after the parent.
    const Bytes data = {0x30, 0x02, 0x04, 0x03, 'x', 'y', 'z'};
    BerReader reader(data.data(), data.size());
    BerElement sequence;
    ASSERT_TRUE(reader.Expect(kBerSequence, &sequence));
    BerReader children = sequence.Children();
    BerElement child;
    EXPECT_FALSE(children.Next(&child));
}

// Object identifiers: 40 * first + second, then base 128 with continuation bits.
TEST(BerOid, EncodesAndDecodes) {
    const std::uint32_t ids[] = {1, 3, 6, 1, 4, 1, 480, 1, 1, 1001, 0, 4294967295u};
    Bytes out;
    ASSERT_TRUE(AppendBerOid(&out, ids, std::size(ids)));
    const Bytes expected = {0x06, 0x11, 0x2B, 0x06, 0x01, 0x04, 0x01, 0x83, 0x60, 0x01,
                            0x01, 0x87, 0x69, 0x00, 0x8F, 0xFF, 0xFF, 0xFF, 0x7F};
    EXPECT_EQ(out, expected);
    std::uint32_t decoded[16] = {};
    std::size_t count = 0;
    ASSERT_TRUE(DecodeBerOid(out.data() + 2, out.size() - 2, decoded, 16, &count));
    ASSERT_EQ(count, std::size(ids));
    for (std::size_t i = 0; i < count; ++i)
        EXPECT_EQ(decoded[i], ids[i]) << i;
    EXPECT_FALSE(DecodeBerOid(out.data() + 2, out.size() - 2, decoded, 5, &count))
        << "more sub-identifiers than room";
}

TEST(BerOid, RefusesBadContents) {
    const Bytes cases[] = {
        {},
        {0x2B, 0x86},                         // last sub-identifier cut
        {0x2B, 0x90, 0x80, 0x80, 0x80, 0x00}, // 2^32
    };
    for (const Bytes& contents : cases) {
        std::uint32_t ids[8];
        std::size_t count = 0;
        EXPECT_FALSE(DecodeBerOid(contents.data(), contents.size(), ids, 8, &count))
            << ::testing::PrintToString(contents);
    }
    Bytes out;
    const std::uint32_t badFirst[] = {3, 1};
    const std::uint32_t badSecond[] = {1, 40};
    const std::uint32_t single[] = {1};
    EXPECT_FALSE(AppendBerOid(&out, badFirst, 2));
    EXPECT_FALSE(AppendBerOid(&out, badSecond, 2));
    EXPECT_FALSE(AppendBerOid(&out, single, 1));
    EXPECT_TRUE(out.empty());
}

// The encoder stops at 128 content bytes; exactly 128 uses the two-byte long form.
TEST(BerOid, LimitsTheEncodingTo128Bytes) {
    std::vector<std::uint32_t> ids = {1, 3};
    while (ids.size() < 129)
        ids.push_back(5); // one byte each: 1 + 127 bytes
    Bytes out;
    ASSERT_TRUE(AppendBerOid(&out, ids.data(), ids.size()));
    ASSERT_EQ(out.size(), 4u + 128u);
    EXPECT_EQ(out[0], 0x06);
    EXPECT_EQ(out[1], 0x82);
    EXPECT_EQ(out[2], 0x00);
    EXPECT_EQ(out[3], 0x80);
    ids.push_back(5);
    Bytes tooLong;
    EXPECT_FALSE(AppendBerOid(&tooLong, ids.data(), ids.size()));
    EXPECT_TRUE(tooLong.empty());
}

} // namespace
} // namespace net
