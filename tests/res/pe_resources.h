#pragma once
// Readers of what a built program carries: the resource tree of a PE file (both the 32-bit and
// the 64-bit kind) and the version resource (VS_VERSIONINFO). Every read is bounded by its
// buffer; malformed input gives std::nullopt.
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tests/res/res_file.h"

namespace restest {

struct PeImage {
    std::uint16_t machine = 0;        // IMAGE_FILE_MACHINE_I386 (0x14C) or _AMD64 (0x8664)
    std::vector<ResRecord> resources; // their data point into the file's bytes
};

std::optional<PeImage> ParsePeResources(std::span<const unsigned char> file);

constexpr std::uint16_t kMachineI386 = 0x14C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kRtVersion = 16;

struct VersionInfo {
    // VS_FIXEDFILEINFO: the four parts each, major first.
    std::uint16_t fileVersion[4] = {};
    std::uint16_t productVersion[4] = {};
    std::uint32_t fileOs = 0;
    std::uint32_t fileType = 0;
    // StringFileInfo: table key ("041b04e2") -> value name -> value.
    std::map<std::u16string, std::map<std::u16string, std::u16string>> strings;
    // VarFileInfo's Translation: (language, code page) pairs.
    std::vector<std::pair<std::uint16_t, std::uint16_t>> translations;
};

std::optional<VersionInfo> ParseVersionInfo(std::span<const unsigned char> data);

} // namespace restest
