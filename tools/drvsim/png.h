#pragma once
// drvsim's names for the PNG writer and the file output, which the tools share (ui/png_writer.h).
#include <cstdint>
#include <span>
#include <string>

#include "ui/png_writer.h"

namespace drvsim {

using ui::Adler32;
using ui::Crc32;
using ui::EncodePng;

// Writes the bytes to a file (path in UTF-8); false on failure.
inline bool SaveBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
    return ui::WriteFileBytes(path, bytes);
}

} // namespace drvsim
