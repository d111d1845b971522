#pragma once
// The registry as the program uses it: keys under HKEY_LOCAL_MACHINE, named by backslash paths,
// with the Win32 result codes and buffer-size behaviour. Names and REG_SZ data are code page
// 1250 bytes; binary data is passed through unchanged.
#include <cstdint>
#include <string_view>

namespace platform {

// Win32 error codes; both implementations return exactly these.
enum RegistryResult : long {
    kRegistryOk = 0,                // ERROR_SUCCESS
    kRegistryNotFound = 2,          // ERROR_FILE_NOT_FOUND
    kRegistryAccessDenied = 5,      // ERROR_ACCESS_DENIED
    kRegistryInvalidHandle = 6,     // ERROR_INVALID_HANDLE
    kRegistryInvalidParameter = 87, // ERROR_INVALID_PARAMETER
    kRegistryMoreData = 234,        // ERROR_MORE_DATA
    kRegistryNoMoreItems = 259,     // ERROR_NO_MORE_ITEMS
};

// REG_* value types.
enum class RegistryType : std::uint32_t {
    None = 0,
    String = 1,       // REG_SZ
    ExpandString = 2, // REG_EXPAND_SZ
    Binary = 3,       // REG_BINARY
    Dword = 4,        // REG_DWORD
    MultiString = 7,  // REG_MULTI_SZ
};

// REGSAM access masks the program asks for.
enum RegistryAccess : std::uint32_t {
    kKeyQueryValue = 0x0001,
    kKeySetValue = 0x0002,
    kKeyRead = 0x20019,
    kKeyWrite = 0x20006,
    kKeyAllAccess = 0xF003F,
};

// An open key; 0 is no key.
using RegistryKey = std::uintptr_t;

class Registry {
public:
    virtual ~Registry() = default;

    // RegCreateKeyEx: opens the key at `path` below HKEY_LOCAL_MACHINE, creating missing keys.
    virtual long CreateKey(std::string_view path, std::uint32_t access, RegistryKey* key) = 0;
    // RegOpenKeyEx: opens an existing key; kRegistryNotFound when it does not exist.
    virtual long OpenKey(std::string_view path, std::uint32_t access, RegistryKey* key) = 0;
    virtual long CloseKey(RegistryKey key) = 0;

    // RegQueryValueEx. `name` empty is the key's default value. `data` may be null to ask for
    // the size only. On entry *size is the capacity of `data`; a value longer than that fails
    // with kRegistryMoreData and *size becomes the length needed. On success *size is the
    // stored length (REG_SZ: the bytes including the terminating NUL, as stored).
    virtual long QueryValue(RegistryKey key, std::string_view name, RegistryType* type, void* data,
                            std::uint32_t* size) = 0;
    // RegSetValueEx: stores `size` bytes of `data` (REG_SZ data includes its NUL).
    virtual long SetValue(RegistryKey key, std::string_view name, RegistryType type,
                          const void* data, std::uint32_t size) = 0;
    // RegEnumValue: the value at `index` in the key's order. On entry *nameSize is the capacity
    // of `name` in bytes including the NUL; on success it is the name's length without the NUL.
    // A name that does not fit fails with kRegistryMoreData. `type`, `data` and `dataSize`
    // may be null. Past the last value: kRegistryNoMoreItems.
    virtual long EnumValue(RegistryKey key, std::uint32_t index, char* name,
                           std::uint32_t* nameSize, RegistryType* type, void* data,
                           std::uint32_t* dataSize) = 0;
    virtual long DeleteValue(RegistryKey key, std::string_view name) = 0;
};

} // namespace platform
