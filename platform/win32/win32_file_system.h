#pragma once
// The file system of the machine, through GetFileAttributesW.
#include "platform/file_system.h"

namespace platform {

class Win32FileSystem : public FileSystem {
public:
    bool FileExists(std::string_view path) override;
};

} // namespace platform
