#pragma once
// Programs the system registers for the program to start: the default (unnamed) text value of
// a key below HKEY_LOCAL_MACHINE, such as the browser's open command or a utility's App Paths
// entry.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {
class Registry;
} // namespace platform

namespace pages {

// The most bytes of a registered command that are read (its terminating NUL included). A
// longer command is treated as no registration rather than cut, since a cut command line would
// start something else.
inline constexpr std::size_t kMaxRegisteredCommandBytes = 256;

// The default value of `keyPath` as text, or nothing when there is no usable one (no key, no
// default value, a value that is not text, an empty text, or one longer than
// kMaxRegisteredCommandBytes).
std::optional<std::string> RegisteredCommand(platform::Registry& registry,
                                             std::string_view keyPath);

} // namespace pages
