#include "pages/shared/web_browser.h"

#include <cstdint>

#include "pages/shared/registered_command.h"
#include "platform/program_launcher.h"

namespace pages {
namespace {

// WinExec reports success with a value above 31.
constexpr std::uint32_t kFirstSuccessfulStart = 32;

} // namespace

std::optional<std::string> BrowserCommandLine(platform::Registry& registry,
                                              std::string_view address) {
    std::optional<std::string> line = RegisteredCommand(registry, kHtmlOpenCommandKey);
    if (!line)
        return std::nullopt;
    line->reserve(line->size() + 1 + address.size());
    line->push_back(' ');
    line->append(address);
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
