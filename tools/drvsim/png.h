#pragma once
// A minimal PNG writer for screenshots: 8-bit RGB, no interlace, the image data in stored
// (uncompressed) deflate blocks, so that no compression library is needed.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace drvsim {

// CRC-32 of PNG chunks (ISO 3309) and Adler-32 of the zlib stream.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);
std::uint32_t Adler32(std::span<const std::uint8_t> bytes);

// `rgb` holds height rows of width pixels, 3 bytes each (red, green, blue), top row first.
// Empty result when the sizes do not match or are 0.
std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const std::uint8_t> rgb);

// Writes the bytes to a file; false on failure.
bool SaveBytes(const std::string& path, std::span<const std::uint8_t> bytes);

} // namespace drvsim
