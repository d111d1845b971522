#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include "platform/codepage1250.h"

namespace platform {

bool Win32FileSystem::FileExists(std::string_view path) {
    if (path.empty() || path.find('\0') != std::string_view::npos)
        return false;
    const std::u16string wide = Cp1250ToUtf16(path);
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t*>(wide.c_str()));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace platform
