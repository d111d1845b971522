#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <vector>

#include "platform/codepage1250.h"

namespace platform {

bool Win32FileSystem::FileExists(std::string_view path) {
    if (path.empty() || path.find('\0') != std::string_view::npos)
        return false;
    const std::u16string wide = Cp1250ToUtf16(path);
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t*>(wide.c_str()));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> Win32FileSystem::ShortForm(std::string_view path) {
    if (path.empty())
        return std::nullopt;
    const std::u16string wide = Cp1250ToUtf16(path);
    const auto* longPath = reinterpret_cast<const wchar_t*>(wide.c_str());
    // The first call tells the room the short form needs, terminator included.
    const DWORD needed = GetShortPathNameW(longPath, nullptr, 0);
    if (needed == 0)
        return std::nullopt;
    std::vector<wchar_t> buffer(needed, L'\0');
    const DWORD length = GetShortPathNameW(longPath, buffer.data(), needed);
    if (length == 0 || length >= needed)
        return std::nullopt;
    const std::u16string shortPath(reinterpret_cast<const char16_t*>(buffer.data()), length);
    // A name outside code page 1250 cannot be handed on as a narrow path.
    if (Cp1250ToUtf16(Utf16ToCp1250(shortPath)) != shortPath)
        return std::nullopt;
    return Utf16ToCp1250(shortPath);
}

} // namespace platform
