#include "ui/png_writer.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <limits>

namespace ui {
namespace {

constexpr std::size_t kMaxStoredBlock = 65535;

std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, const char (&type)[5],
              std::span<const std::uint8_t> data) {
    PutU32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutU32(out, Crc32(std::span<const std::uint8_t>(out).subspan(typeAt, 4 + data.size())));
}

} // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
    static const std::array<std::uint32_t, 256> table = MakeCrcTable();
    std::uint32_t c = crc ^ 0xFFFFFFFFu;
    for (const std::uint8_t byte : bytes)
        c = table[(c ^ byte) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(std::span<const std::uint8_t> bytes) {
    constexpr std::uint32_t kModulus = 65521;
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : bytes) {
        a = (a + byte) % kModulus;
        b = (b + a) % kModulus;
    }
    return b << 16 | a;
}

std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const std::uint8_t> rgb) {
    // A chunk's length is 31 bits, and the IDAT chunk holds every row with its filter byte plus
    // five bytes per stored block: keep the whole image far below that.
    constexpr std::size_t kMaxPixels = std::size_t{1} << 26;
    if (width <= 0 || height <= 0)
        return {};
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    if (w > kMaxPixels || h > kMaxPixels / w)
        return {};
    const std::size_t rowBytes = w * 3;
    if (rgb.size() != rowBytes * h)
        return {};

    // Every row after its filter type byte (0: none).
    std::vector<std::uint8_t> rows;
    rows.reserve((rowBytes + 1) * h);
    for (std::size_t y = 0; y < h; ++y) {
        rows.push_back(0);
        const auto row = rgb.subspan(y * rowBytes, rowBytes);
        rows.insert(rows.end(), row.begin(), row.end());
    }

    // The zlib stream: header (deflate, 32 KiB window, no preset dictionary, fastest level;
    // 0x7801 is a multiple of 31), stored blocks of at most 65535 bytes, Adler-32 of the rows.
    std::vector<std::uint8_t> zlib = {0x78, 0x01};
    zlib.reserve(rows.size() + rows.size() / kMaxStoredBlock * 5 + 16);
    std::size_t offset = 0;
    do {
        const std::size_t length = std::min(kMaxStoredBlock, rows.size() - offset);
        const bool last = offset + length == rows.size();
        const auto len = static_cast<std::uint16_t>(length);
        const auto nlen = static_cast<std::uint16_t>(~len);
        zlib.insert(zlib.end(),
                    {static_cast<std::uint8_t>(last ? 1 : 0), static_cast<std::uint8_t>(len),
                     static_cast<std::uint8_t>(len >> 8), static_cast<std::uint8_t>(nlen),
                     static_cast<std::uint8_t>(nlen >> 8)});
        zlib.insert(zlib.end(), rows.begin() + static_cast<std::ptrdiff_t>(offset),
                    rows.begin() + static_cast<std::ptrdiff_t>(offset + length));
        offset += length;
    } while (offset < rows.size());
    PutU32(zlib, Adler32(rows));

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutU32(header, static_cast<std::uint32_t>(width));
    PutU32(header, static_cast<std::uint32_t>(height));
    // 8 bits a sample, colour type 2 (RGB), deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, 2, 0, 0, 0});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return png;
}

bool WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
    if (path.empty() ||
        bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::streamsize>::max()))
        return false;
    const std::filesystem::path name(std::u8string(path.begin(), path.end()));
    std::ofstream file(name, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

} // namespace ui
