#pragma once
// The file system of the machine, through GetFileAttributesW and GetShortPathNameW.
#include "platform/file_system.h"

namespace platform {

class Win32FileSystem : public FileSystem {
public:
    bool FileExists(std::string_view path) override;
    std::optional<std::string> ShortForm(std::string_view path) override;
};

} // namespace platform
