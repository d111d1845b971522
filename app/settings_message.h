#pragma once
// The DDE message that carries a settings block between the driver and this program:
// little-endian int32 `size`, `type`, `ownerWindow`, then the 1300-byte block. The cancellation
// is only `size` 8 and `type` 2.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "app/settings_block.h"

namespace app {

inline constexpr std::size_t kSettingsMessageSize = 1312;
inline constexpr std::size_t kCancelMessageSize = 8;
inline constexpr std::size_t kMessageSizeOffset = 0;
inline constexpr std::size_t kMessageTypeOffset = 4;
inline constexpr std::size_t kMessageOwnerWindowOffset = 8;
inline constexpr std::size_t kMessageBlockOffset = 12;
inline constexpr std::int32_t kMessageTypeSettings = 1;
inline constexpr std::int32_t kMessageTypeCancel = 2;

static_assert(kMessageBlockOffset + PrinterSettingsBlock::kSize == kSettingsMessageSize);

using SettingsMessageBytes = std::array<std::uint8_t, kSettingsMessageSize>;
using CancelMessageBytes = std::array<std::uint8_t, kCancelMessageSize>;

// The answer after OK: size 1312, type 1, owner window 0, then `block`.
SettingsMessageBytes BuildSettingsMessage(const PrinterSettingsBlock& block);
// The answer after Cancel: size 8, type 2.
CancelMessageBytes BuildCancelMessage();

struct SettingsMessage {
    std::int32_t size = 0;
    std::int32_t type = 0;
    std::int32_t ownerWindow = 0;
    PrinterSettingsBlock block;
};

// Reads a received settings message. Size and type are returned as found, not checked (the
// driver's own values are not relied on). A buffer shorter than a whole message holds no whole
// block and gives nothing; bytes beyond 1312 are ignored.
std::optional<SettingsMessage> ParseSettingsMessage(std::span<const std::uint8_t> bytes);

// The owner window of a received buffer, 0 when the buffer is too short to hold the field.
std::int32_t MessageOwnerWindow(std::span<const std::uint8_t> bytes);

} // namespace app
