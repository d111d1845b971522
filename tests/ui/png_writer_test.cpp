// The PNG writer of the screenshots: checksums against published values, and the file's
// structure read back chunk by chunk, with the stored deflate blocks inflated again.
#include "ui/png_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

// Checksums of the standard check inputs (zlib gives the same).
TEST(PngWriter, ChecksumsMatchPublishedValues) {
    const struct {
        std::vector<std::uint8_t> input;
        std::uint32_t crc, adler;
    } cases[] = {
        {Bytes("123456789"), 0xCBF43926u, 0x091E01DEu},
        {Bytes("IEND"), 0xAE426082u, 0x02D70121u},
        {Bytes("Wikipedia"), 0xADAAC02Eu, 0x11E60398u},
        {{}, 0u, 1u},
        // Large enough that both Adler sums wrap around their modulus many times.
        {std::vector<std::uint8_t>(100000, 0xFF), 0u, 0x149A302Cu},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input.size());
        if (c.input.size() < 100000) {
            EXPECT_EQ(ui::Crc32(c.input), c.crc);
        }
        EXPECT_EQ(ui::Adler32(c.input), c.adler);
    }
    // A CRC continues across pieces.
    const auto whole = Bytes("123456789");
    const std::span<const std::uint8_t> all(whole);
    EXPECT_EQ(ui::Crc32(all.subspan(4), ui::Crc32(all.first(4))), 0xCBF43926u);
}

struct Chunk {
    std::string type;
    std::vector<std::uint8_t> data;
};

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 |
           std::uint32_t{b[at + 2]} << 8 | b[at + 3];
}

// The chunks of a PNG with their CRCs checked; nothing when the structure is broken.
std::optional<std::vector<Chunk>> ReadChunks(const std::vector<std::uint8_t>& png) {
    const std::vector<std::uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 8 || !std::equal(signature.begin(), signature.end(), png.begin()))
        return std::nullopt;
    std::vector<Chunk> chunks;
    std::size_t at = 8;
    while (at < png.size()) {
        if (png.size() - at < 12)
            return std::nullopt;
        const std::size_t length = U32(png, at);
        if (png.size() - at - 12 < length)
            return std::nullopt;
        const std::span<const std::uint8_t> covered(png.data() + at + 4, length + 4);
        if (ui::Crc32(covered) != U32(png, at + 8 + length))
            return std::nullopt;
        chunks.push_back({std::string(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                                      png.begin() + static_cast<std::ptrdiff_t>(at + 8)),
                          {covered.begin() + 4, covered.end()}});
        at += 12 + length;
    }
    return chunks;
}

// The data of a zlib stream made of stored blocks, with its header, block lengths and Adler-32
// checked; `blocks` counts the blocks.
std::optional<std::vector<std::uint8_t>> InflateStored(const std::vector<std::uint8_t>& z,
                                                       int* blocks) {
    if (z.size() < 6 || (z[0] << 8 | z[1]) % 31 != 0 || (z[0] & 0x0F) != 8)
        return std::nullopt;
    std::vector<std::uint8_t> out;
    std::size_t at = 2;
    *blocks = 0;
    for (bool last = false; !last;) {
        if (z.size() - at < 5 || (z[at] & 0x06) != 0) // BTYPE 00: stored
            return std::nullopt;
        last = (z[at] & 1) != 0;
        const unsigned len = z[at + 1] | z[at + 2] << 8;
        const unsigned nlen = z[at + 3] | z[at + 4] << 8;
        if ((len ^ 0xFFFFu) != nlen || z.size() - at - 5 < len)
            return std::nullopt;
        out.insert(out.end(), z.begin() + static_cast<std::ptrdiff_t>(at + 5),
                   z.begin() + static_cast<std::ptrdiff_t>(at + 5 + len));
        at += 5 + len;
        ++*blocks;
    }
    if (z.size() - at != 4 || U32(z, at) != ui::Adler32(out))
        return std::nullopt;
    return out;
}

// Images of several shapes read back as IHDR, IDAT, IEND with every row behind filter type 0;
// rows longer than one stored block split into several blocks.
TEST(PngWriter, EncodedImageReadsBack) {
    const struct {
        int width, height, blocks;
    } cases[] = {{1, 1, 1},      {3, 2, 1},     {200, 200, 2},
                 {800, 600, 22}, {1456, 15, 1}, // exactly one full block
                 {21845, 1, 2},  {21845, 2, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(c.width) * c.height * 3);
        for (std::size_t i = 0; i < rgb.size(); ++i)
            rgb[i] = static_cast<std::uint8_t>(i * 7 + i / 3);
        const auto chunks = ReadChunks(ui::EncodePng(c.width, c.height, rgb));
        ASSERT_TRUE(chunks.has_value());
        ASSERT_EQ(chunks->size(), 3u);
        EXPECT_EQ((*chunks)[0].type, "IHDR");
        EXPECT_EQ((*chunks)[1].type, "IDAT");
        EXPECT_EQ((*chunks)[2].type, "IEND");
        EXPECT_TRUE((*chunks)[2].data.empty());
        const std::vector<std::uint8_t>& ihdr = (*chunks)[0].data;
        ASSERT_EQ(ihdr.size(), 13u);
        EXPECT_EQ(U32(ihdr, 0), static_cast<std::uint32_t>(c.width));
        EXPECT_EQ(U32(ihdr, 4), static_cast<std::uint32_t>(c.height));
        EXPECT_EQ(std::vector<std::uint8_t>(ihdr.begin() + 8, ihdr.end()),
                  (std::vector<std::uint8_t>{8, 2, 0, 0, 0}));
        int blocks = 0;
        const auto rows = InflateStored((*chunks)[1].data, &blocks);
        ASSERT_TRUE(rows.has_value());
        EXPECT_EQ(blocks, c.blocks);
        const std::size_t rowBytes = static_cast<std::size_t>(c.width) * 3;
        ASSERT_EQ(rows->size(), (rowBytes + 1) * c.height);
        for (int y = 0; y < c.height; ++y) {
            const auto row = rows->begin() + static_cast<std::ptrdiff_t>(y * (rowBytes + 1));
            EXPECT_EQ(*row, 0);
            EXPECT_TRUE(std::equal(row + 1, row + 1 + static_cast<std::ptrdiff_t>(rowBytes),
                                   rgb.begin() + static_cast<std::ptrdiff_t>(y * rowBytes)));
        }
    }
}

// Sizes that do not fit the pixels, or no PNG could hold, give nothing (and allocate nothing).
TEST(PngWriter, RefusesSizesThatDoNotFit) {
    const std::vector<std::uint8_t> pixel = {1, 2, 3};
    const struct {
        int width, height;
        std::size_t bytes;
    } cases[] = {{0, 1, 0},
                 {1, 0, 0},
                 {-1, 1, 3},
                 {1, -1, 3},
                 {1, 1, 0},
                 {1, 1, 4},
                 {2, 1, 3},
                 {1 << 20, 1 << 20, 3},
                 {0x7FFFFFFF, 0x7FFFFFFF, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        std::vector<std::uint8_t> rgb(c.bytes, 0);
        EXPECT_TRUE(ui::EncodePng(c.width, c.height, rgb).empty());
    }
}

// The bytes land in the file, replacing what was there; a path that cannot be written fails.
TEST(PngWriter, WritesTheFile) {
    // A folder of its own, as other builds may run this test at the same time.
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("vela_png_writer_test_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "picture.png").string();
    const std::vector<std::uint8_t> first(100, 0xAB);
    const std::vector<std::uint8_t> second = {1, 2, 3};
    EXPECT_TRUE(ui::WriteFileBytes(path, first));
    EXPECT_TRUE(ui::WriteFileBytes(path, second));
    {
        std::ifstream file(std::filesystem::path(path), std::ios::binary);
        const std::vector<std::uint8_t> read((std::istreambuf_iterator<char>(file)),
                                             std::istreambuf_iterator<char>());
        EXPECT_EQ(read, second);
    }
    EXPECT_FALSE(ui::WriteFileBytes((dir / "no such folder" / "x.png").string(), second));
    EXPECT_FALSE(ui::WriteFileBytes("", second));
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

} // namespace
