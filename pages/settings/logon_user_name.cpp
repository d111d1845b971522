#include "pages/settings/logon_user_name.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "platform/registry.h"
#include "platform/scoped_registry_key.h"

namespace pages {

std::optional<std::string> LogonUserName(platform::Registry& registry) {
    const auto key = platform::ScopedRegistryKey::Open(registry, kLogonKey, platform::kKeyRead);
    std::array<char, kMaxLogonUserNameBytes> buffer{};
    std::uint32_t size = static_cast<std::uint32_t>(buffer.size());
    platform::RegistryType type = platform::RegistryType::None;
    const long result = key.QueryValue(kLogonUserNameValue, &type, buffer.data(), &size);
    if (result != platform::kRegistryOk || type != platform::RegistryType::String)
        return std::nullopt;
    // A name stored without its NUL ends with the data read.
    const std::size_t length = std::min<std::size_t>(size, buffer.size());
    const void* nul = std::memchr(buffer.data(), '\0', length);
    return std::string(buffer.data(), nul != nullptr ? static_cast<const char*>(nul) - buffer.data()
                                                     : static_cast<std::ptrdiff_t>(length));
}

} // namespace pages
