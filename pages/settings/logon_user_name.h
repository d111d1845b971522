#pragma once
// The name of the user logged on to the network, which the Settings page shows as the author of
// the accounting data: the text value "username" of HKEY_LOCAL_MACHINE "Network\Logon".
#include <cstddef>
#include <optional>
#include <string>

namespace platform {
class Registry;
}

namespace pages {

inline constexpr char kLogonKey[] = "Network\\Logon";
inline constexpr char kLogonUserNameValue[] = "username";
// The most bytes read, the terminating NUL included: the room of `accountingAuthor`.
inline constexpr std::size_t kMaxLogonUserNameBytes = 64;

// The user name, up to its first NUL; nothing when the key does not exist (it is never created),
// the value is missing, is not REG_SZ or does not fit in kMaxLogonUserNameBytes.
std::optional<std::string> LogonUserName(platform::Registry& registry);

} // namespace pages
