#include "pages/shared/web_browser.h"

#include <cstdint>
#include <cstring>

#include "platform/program_launcher.h"
#include "platform/registry.h"

namespace pages {
namespace {

// WinExec reports success with a value above 31.
constexpr std::uint32_t kFirstSuccessfulStart = 32;

bool IsText(platform::RegistryType type) {
    return type == platform::RegistryType::String || type == platform::RegistryType::ExpandString;
}

} // namespace

std::optional<std::string> BrowserCommandLine(platform::Registry& registry,
                                              std::string_view address) {
    platform::RegistryKey key = 0;
    if (registry.OpenKey(kHtmlOpenCommandKey, platform::kKeyQueryValue, &key) !=
        platform::kRegistryOk)
        return std::nullopt;
    char buffer[kMaxBrowserCommandBytes];
    std::uint32_t size = sizeof buffer;
    platform::RegistryType type = platform::RegistryType::None;
    const long status = registry.QueryValue(key, "", &type, buffer, &size);
    registry.CloseKey(key);
    if (status != platform::kRegistryOk || !IsText(type) || size > sizeof buffer)
        return std::nullopt;
    // The text ends at its NUL, or at the end of the data when it was stored without one.
    const char* end = static_cast<const char*>(std::memchr(buffer, '\0', size));
    const std::string_view command(buffer,
                                   end != nullptr ? static_cast<std::size_t>(end - buffer) : size);
    if (command.empty())
        return std::nullopt;
    std::string line;
    line.reserve(command.size() + 1 + address.size());
    line.append(command);
    line.push_back(' ');
    line.append(address);
    return line;
}

bool OpenWebPage(platform::Registry& registry, platform::ProgramLauncher& launcher,
                 std::string_view address, int showCommand) {
    const std::optional<std::string> line = BrowserCommandLine(registry, address);
    if (!line)
        return false;
    return launcher.Run(*line, showCommand) >= kFirstSuccessfulStart;
}

} // namespace pages
