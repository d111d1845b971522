#pragma once
// The registry as the program uses it: keys under HKEY_LOCAL_MACHINE, named by backslash paths,
// with the Win32 result codes and buffer-size behaviour of the A functions. Names and string
// data (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) are code page 1250 bytes and their sizes count
// those bytes; binary data is passed through unchanged.
//
// Names: key paths and value names compare without regard to case (ASCII and the letters of
// code page 1250); a name ends at its first NUL byte, as a C string would. Path components are
// separated by backslashes; empty components are skipped, a leading backslash is refused.
#include <cstdint>
#include <string_view>

namespace platform {

// Win32 error codes; both implementations return exactly these.
enum RegistryResult : long {
    kRegistryOk = 0,                // ERROR_SUCCESS
    kRegistryNotFound = 2,          // ERROR_FILE_NOT_FOUND
    kRegistryAccessDenied = 5,      // ERROR_ACCESS_DENIED
    kRegistryInvalidHandle = 6,     // ERROR_INVALID_HANDLE
    kRegistryInvalidParameter = 87, // ERROR_INVALID_PARAMETER (also a key name over 255 chars)
    kRegistryBadPathname = 161,     // ERROR_BAD_PATHNAME (a path beginning with a backslash)
    kRegistryMoreData = 234,        // ERROR_MORE_DATA
    kRegistryNoMoreItems = 259,     // ERROR_NO_MORE_ITEMS
    kRegistryNoAccess = 998,        // ERROR_NOACCESS (data missing for a non-zero size)
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

// REGSAM access masks the program asks for. Reading values (query, enumerate) needs
// kKeyQueryValue, writing them (set, delete) kKeySetValue; otherwise kRegistryAccessDenied.
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
    // `created`, when given, tells whether the key was new (REG_CREATED_NEW_KEY). On failure
    // *key is 0.
    virtual long CreateKey(std::string_view path, std::uint32_t access, RegistryKey* key,
                           bool* created = nullptr) = 0;
    // RegOpenKeyEx: opens an existing key; kRegistryNotFound when it does not exist.
    virtual long OpenKey(std::string_view path, std::uint32_t access, RegistryKey* key) = 0;
    virtual long CloseKey(RegistryKey key) = 0;

    // RegQueryValueEx. `name` empty is the key's default value. `data` may be null to ask for
    // the size only. On entry *size is the capacity of `data`; a value longer than that fails
    // with kRegistryMoreData and *size becomes the length needed (the contents of `data` are
    // then unspecified, never written past the capacity). On success *size is the stored
    // length (REG_SZ: the bytes including the terminating NUL, as stored). A string stored
    // without its NUL gets one written after it when the buffer has room; *size does not count
    // it. `type` may be null.
    virtual long QueryValue(RegistryKey key, std::string_view name, RegistryType* type, void* data,
                            std::uint32_t* size) = 0;
    // RegSetValueEx: stores `size` bytes of `data` exactly (REG_SZ data includes its NUL),
    // replacing a value of the same name in its place. Value names are at most 16383 bytes.
    virtual long SetValue(RegistryKey key, std::string_view name, RegistryType type,
                          const void* data, std::uint32_t size) = 0;
    // RegEnumValue: the value at `index` in the key's order (the order of creation in the
    // in-memory registry and on Windows; Wine's registry lists values sorted by name). On entry
    // *nameSize is the capacity of `name` in bytes including the NUL; on success it is the
    // name's length without the NUL. A name or data that does not fit fails with
    // kRegistryMoreData, leaving *nameSize unchanged and setting *type and *dataSize to the
    // value's type and length. `type`, `data` and `dataSize` may be null. Past the last value:
    // kRegistryNoMoreItems.
    virtual long EnumValue(RegistryKey key, std::uint32_t index, char* name,
                           std::uint32_t* nameSize, RegistryType* type, void* data,
                           std::uint32_t* dataSize) = 0;
    virtual long DeleteValue(RegistryKey key, std::string_view name) = 0;
};

} // namespace platform
