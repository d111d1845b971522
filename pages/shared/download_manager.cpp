#include "pages/shared/download_manager.h"

#include <cstdint>

#include "pages/shared/registered_command.h"
#include "platform/program_launcher.h"
#include "platform/services.h"
#include "ui/backend.h"

namespace pages {
namespace {

// WinExec reports success with a value above 31.
constexpr std::uint32_t kFirstSuccessfulStart = 32;

std::string QuotedWhenBlank(std::string path) {
    if (path.find(' ') == std::string::npos || path.front() == '"')
        return path;
    return '"' + path + '"';
}

} // namespace

std::optional<std::string> DownloadManagerCommandLine(platform::Registry& registry,
                                                      std::string_view argument) {
    if (std::optional<std::string> path = RegisteredCommand(registry, kDownloadManagerKey))
        return QuotedWhenBlank(std::move(*path)).append(argument);
    if (std::optional<std::string> path = RegisteredCommand(registry, kOlderDownloadManagerKey))
        return QuotedWhenBlank(std::move(*path));
    return std::nullopt;
}

bool LaunchDownloadManager(std::string_view argument) {
    const std::optional<std::string> line =
        DownloadManagerCommandLine(platform::registry(), argument);
    if (line && platform::launcher().Run(*line, platform::kShowNormal) >= kFirstSuccessfulStart)
        return true;
    ui::CurrentBackend().MessageBox(nullptr, kDownloadManagerMissingText, "Error",
                                    ui::kMbOk | ui::kMbTaskModal);
    return false;
}

} // namespace pages
