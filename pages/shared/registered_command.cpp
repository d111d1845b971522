#include "pages/shared/registered_command.h"

#include <cstdint>
#include <cstring>

#include "platform/registry.h"
#include "platform/scoped_registry_key.h"

namespace pages {
namespace {

bool IsText(platform::RegistryType type) {
    return type == platform::RegistryType::String || type == platform::RegistryType::ExpandString;
}

} // namespace

std::optional<std::string> RegisteredCommand(platform::Registry& registry,
                                             std::string_view keyPath) {
    const auto key = platform::ScopedRegistryKey::Open(registry, keyPath, platform::kKeyQueryValue);
    char buffer[kMaxRegisteredCommandBytes];
    std::uint32_t size = sizeof buffer;
    platform::RegistryType type = platform::RegistryType::None;
    const long status = key.QueryValue("", &type, buffer, &size);
    if (status != platform::kRegistryOk || !IsText(type) || size > sizeof buffer)
        return std::nullopt;
    // The text ends at its NUL, or at the end of the data when it was stored without one.
    const char* end = static_cast<const char*>(std::memchr(buffer, '\0', size));
    std::string command(buffer, end != nullptr ? static_cast<std::size_t>(end - buffer) : size);
    if (command.empty())
        return std::nullopt;
    return command;
}

} // namespace pages
