#pragma once
// Opening a web page in the browser registered for HTML files: the default value of
// SOFTWARE\CLASSES\htmlfile\shell\open\command, one blank and the page's address, started as a
// program. The command is used as stored; placeholders in it are not substituted.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {
class Registry;
class ProgramLauncher;
} // namespace platform

namespace pages {

inline constexpr char kHtmlOpenCommandKey[] = "SOFTWARE\\CLASSES\\htmlfile\\shell\\open\\command";
// The most bytes of the registered command that are read (its terminating NUL included). A
// longer command is treated as no registration rather than cut, since a cut command line would
// start something else.
inline constexpr std::size_t kMaxBrowserCommandBytes = 256;

// The command line that opens `address`, or nothing when no usable command is registered (no
// key, no default value, a value that is not text, an empty text, or one longer than
// kMaxBrowserCommandBytes).
std::optional<std::string> BrowserCommandLine(platform::Registry& registry,
                                              std::string_view address);

// Starts the browser on `address` with `showCommand` (platform::kShowNormal, ...). False when
// no browser is registered (nothing is started) or the start failed.
bool OpenWebPage(platform::Registry& registry, platform::ProgramLauncher& launcher,
                 std::string_view address, int showCommand);

} // namespace pages
