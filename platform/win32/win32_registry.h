#pragma once
// The registry through the Reg*W functions on HKEY_LOCAL_MACHINE. Names and string data are
// converted between code page 1250 and UTF-16 here, so callers see code page 1250 bytes and
// byte counts whatever the system's code page.
#include "platform/registry.h"

namespace platform {

class Win32Registry final : public Registry {
public:
    long CreateKey(std::string_view path, std::uint32_t access, RegistryKey* key,
                   bool* created = nullptr) override;
    long OpenKey(std::string_view path, std::uint32_t access, RegistryKey* key) override;
    long CloseKey(RegistryKey key) override;
    long QueryValue(RegistryKey key, std::string_view name, RegistryType* type, void* data,
                    std::uint32_t* size) override;
    long SetValue(RegistryKey key, std::string_view name, RegistryType type, const void* data,
                  std::uint32_t size) override;
    long EnumValue(RegistryKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                   RegistryType* type, void* data, std::uint32_t* dataSize) override;
    long DeleteValue(RegistryKey key, std::string_view name) override;

    // Removes the key at `path` with its subkeys and values; for tests cleaning up after
    // themselves (the program itself never deletes keys).
    long DeleteTree(std::string_view path);
    // Removes the key at `path` when it has no subkeys.
    long DeleteKey(std::string_view path);
};

// Whether the program runs under Wine (whose registry enumerates values sorted by name).
bool RunningUnderWine();

} // namespace platform
