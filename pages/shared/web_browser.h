#pragma once
// Opening a web page in the browser registered for HTML files: the default value of
// SOFTWARE\CLASSES\htmlfile\shell\open\command, one blank and the page's address, started as a
// program. The command is used as stored; placeholders in it are not substituted.
#include <optional>
#include <string>
#include <string_view>

namespace platform {
class Registry;
class ProgramLauncher;
} // namespace platform

namespace pages {

inline constexpr char kHtmlOpenCommandKey[] = "SOFTWARE\\CLASSES\\htmlfile\\shell\\open\\command";

// The command line that opens `address`, or nothing when no usable command is registered (see
// RegisteredCommand).
std::optional<std::string> BrowserCommandLine(platform::Registry& registry,
                                              std::string_view address);

// Starts the browser on `address` with `showCommand` (platform::kShowNormal, ...). False when
// no browser is registered (nothing is started) or the start failed.
bool OpenWebPage(platform::Registry& registry, platform::ProgramLauncher& launcher,
                 std::string_view address, int showCommand);

} // namespace pages
