#include "app/settings_message.h"

#include <algorithm>

namespace app {

SettingsMessageBytes BuildSettingsMessage(const PrinterSettingsBlock& block) {
    SettingsMessageBytes message{};
    detail::StoreInt32(&message[kMessageSizeOffset], static_cast<std::int32_t>(message.size()));
    detail::StoreInt32(&message[kMessageTypeOffset], kMessageTypeSettings);
    detail::StoreInt32(&message[kMessageOwnerWindowOffset], 0);
    std::copy_n(block.data(), block.size(), message.begin() + kMessageBlockOffset);
    return message;
}

CancelMessageBytes BuildCancelMessage() {
    CancelMessageBytes message{};
    detail::StoreInt32(&message[kMessageSizeOffset], static_cast<std::int32_t>(message.size()));
    detail::StoreInt32(&message[kMessageTypeOffset], kMessageTypeCancel);
    return message;
}

std::optional<SettingsMessage> ParseSettingsMessage(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kSettingsMessageSize) {
        return std::nullopt;
    }
    SettingsMessage message;
    message.size = detail::LoadInt32(&bytes[kMessageSizeOffset]);
    message.type = detail::LoadInt32(&bytes[kMessageTypeOffset]);
    message.ownerWindow = detail::LoadInt32(&bytes[kMessageOwnerWindowOffset]);
    message.block.assign(bytes.subspan(kMessageBlockOffset, PrinterSettingsBlock::kSize));
    return message;
}

std::int32_t MessageOwnerWindow(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kMessageOwnerWindowOffset + 4) {
        return 0;
    }
    return detail::LoadInt32(&bytes[kMessageOwnerWindowOffset]);
}

} // namespace app
