#include "tools/drvsim/png.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace drvsim {
namespace {

std::span<const std::uint8_t> Bytes(const char* text) {
    return {reinterpret_cast<const std::uint8_t*>(text), std::strlen(text)};
}

std::uint32_t BigEndian(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

// The published check values of both checksums.
TEST(DrvsimPng, Checksums) {
    EXPECT_EQ(Crc32(Bytes("123456789")), 0xCBF43926u);
    EXPECT_EQ(Crc32(Bytes("")), 0u);
    EXPECT_EQ(Adler32(Bytes("Wikipedia")), 0x11E60398u);
    EXPECT_EQ(Adler32(Bytes("")), 1u);
}

struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> raw; // filter byte and pixels of each row
};

// Reads back what EncodePng writes, checking every chunk's CRC, the stored blocks' lengths and
// the Adler-32 of the stream.
Decoded Decode(const std::vector<std::uint8_t>& png) {
    Decoded decoded;
    const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_EQ(std::memcmp(png.data(), signature, 8), 0);
    std::vector<std::uint8_t> zlib;
    std::size_t at = 8;
    std::vector<std::string> types;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = BigEndian(&png[at]);
        const std::string type(reinterpret_cast<const char*>(&png[at + 4]), 4);
        types.push_back(type);
        const std::span<const std::uint8_t> covered(&png[at + 4], 4 + length);
        EXPECT_EQ(BigEndian(&png[at + 8 + length]), Crc32(covered)) << type;
        const std::uint8_t* data = &png[at + 8];
        if (type == "IHDR") {
            decoded.width = static_cast<int>(BigEndian(data));
            decoded.height = static_cast<int>(BigEndian(data + 4));
            EXPECT_EQ(data[8], 8);  // bit depth
            EXPECT_EQ(data[9], 2);  // RGB
            EXPECT_EQ(data[12], 0); // no interlace
        } else if (type == "IDAT") {
            zlib.insert(zlib.end(), data, data + length);
        }
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    EXPECT_EQ((zlib[0] * 256 + zlib[1]) % 31, 0); // a valid zlib header
    std::size_t z = 2;
    for (bool last = false; !last;) {
        last = zlib[z] & 1;
        EXPECT_EQ(zlib[z] & 6, 0); // stored
        const std::size_t length = zlib[z + 1] | (zlib[z + 2] << 8);
        const std::size_t complement = zlib[z + 3] | (zlib[z + 4] << 8);
        EXPECT_EQ(length ^ 0xFFFF, complement);
        decoded.raw.insert(decoded.raw.end(), zlib.begin() + z + 5, zlib.begin() + z + 5 + length);
        z += 5 + length;
    }
    EXPECT_EQ(BigEndian(&zlib[z]), Adler32(decoded.raw));
    EXPECT_EQ(z + 4, zlib.size());
    return decoded;
}

// Small and large pictures (the large one needs several stored blocks) read back exactly.
TEST(DrvsimPng, RoundTrip) {
    for (const auto& [width, height] : {std::pair{1, 1}, std::pair{3, 2}, std::pair{400, 300}}) {
        SCOPED_TRACE(width * 1000 + height);
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
        for (std::size_t i = 0; i < rgb.size(); ++i)
            rgb[i] = static_cast<std::uint8_t>(i * 31 + i / 7);
        const Decoded decoded = Decode(EncodePng(width, height, rgb));
        EXPECT_EQ(decoded.width, width);
        EXPECT_EQ(decoded.height, height);
        ASSERT_EQ(decoded.raw.size(), (static_cast<std::size_t>(width) * 3 + 1) * height);
        for (int y = 0; y < height; ++y) {
            const std::size_t row = static_cast<std::size_t>(y) * (width * 3 + 1);
            ASSERT_EQ(decoded.raw[row], 0);
            ASSERT_EQ(std::memcmp(&decoded.raw[row + 1],
                                  &rgb[static_cast<std::size_t>(y) * width * 3],
                                  static_cast<std::size_t>(width) * 3),
                      0);
        }
    }
}

TEST(DrvsimPng, RefusesWrongSizes) {
    const std::vector<std::uint8_t> rgb(12);
    EXPECT_TRUE(EncodePng(0, 4, rgb).empty());
    EXPECT_TRUE(EncodePng(2, -1, rgb).empty());
    EXPECT_TRUE(EncodePng(2, 3, rgb).empty());
    EXPECT_FALSE(EncodePng(2, 2, rgb).empty());
}

} // namespace
} // namespace drvsim
