#include "pages/settings/logon_user_name.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "platform/registry.h"

namespace pages {

std::optional<std::string> LogonUserName(platform::Registry& registry) {
    platform::RegistryKey key = 0;
    if (registry.OpenKey(kLogonKey, platform::kKeyRead, &key) != platform::kRegistryOk)
        return std::nullopt;
    std::array<char, kMaxLogonUserNameBytes> buffer{};
    std::uint32_t size = static_cast<std::uint32_t>(buffer.size());
    platform::RegistryType type = platform::RegistryType::None;
    const long result = registry.QueryValue(key, kLogonUserNameValue, &type, buffer.data(), &size);
    registry.CloseKey(key);
    if (result != platform::kRegistryOk || type != platform::RegistryType::String)
        return std::nullopt;
    // A name stored without its NUL ends with the data read.
    const std::size_t length = std::min<std::size_t>(size, buffer.size());
    const void* nul = std::memchr(buffer.data(), '\0', length);
    return std::string(buffer.data(), nul != nullptr ? static_cast<const char*>(nul) - buffer.data()
                                                     : static_cast<std::ptrdiff_t>(length));
}

} // namespace pages
