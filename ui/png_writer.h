#pragma once
// PNG pictures of windows (screenshots of dialogs and of the running sheet): 8-bit RGB, no
// interlace, the image data in stored (uncompressed) deflate blocks, so no compression library
// is needed. Portable, so the encoding is tested natively; ui/win32/window_capture reads the
// pixels.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ui {

// CRC-32 of PNG chunks (ISO 3309, as zlib's crc32), continuing from `crc`.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);
// Adler-32 of a zlib stream.
std::uint32_t Adler32(std::span<const std::uint8_t> bytes);

// `rgb` holds `height` rows of `width` pixels, 3 bytes each (red, green, blue), top row first.
// Empty when a size is not positive, too large for a PNG, or does not match `rgb`.
std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const std::uint8_t> rgb);

// Writes the bytes to a file (path in UTF-8), replacing it; false on failure.
bool WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes);

} // namespace ui
