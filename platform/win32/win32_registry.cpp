#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/codepage1250.h"
#include "platform/registry_support.h"

namespace platform {
namespace {

using registry_support::CutAtNul;
using registry_support::IsStringType;

// Reads of a value that keeps growing between the size query and the read give up after this
// many attempts.
constexpr int kReadAttempts = 8;
constexpr std::size_t kFirstReadSize = 512;

std::wstring Wide(std::string_view text) {
    const std::u16string wide = Cp1250ToUtf16(CutAtNul(text));
    return std::wstring(wide.begin(), wide.end());
}

std::string Narrow(const wchar_t* text, std::size_t length) {
    return Utf16ToCp1250(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

// Our handles are the ones RegCreateKeyEx/RegOpenKeyEx returned; the predefined root keys
// (HKEY_LOCAL_MACHINE and its kind, with the top bit set) are never handed out and not accepted.
bool IsOurHandle(RegistryKey key) {
    return key != 0 && (static_cast<std::uint32_t>(key) & 0x80000000u) == 0;
}

HKEY ToHkey(RegistryKey key) {
    return reinterpret_cast<HKEY>(key);
}

// The stored data as the caller sees it: string types converted to code page 1250 (an odd
// trailing byte is dropped, as the A functions do), everything else unchanged.
std::string ToCallerData(DWORD type, const std::vector<BYTE>& bytes, DWORD size) {
    if (IsStringType(static_cast<RegistryType>(type)))
        return Narrow(reinterpret_cast<const wchar_t*>(bytes.data()), size / sizeof(wchar_t));
    return std::string(reinterpret_cast<const char*>(bytes.data()), size);
}

} // namespace

long Win32Registry::CreateKey(std::string_view path, std::uint32_t access, RegistryKey* key,
                              bool* created) {
    if (key == nullptr)
        return kRegistryInvalidParameter;
    *key = 0;
    HKEY opened = nullptr;
    DWORD disposition = 0;
    const LONG result =
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, Wide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        access, nullptr, &opened, &disposition);
    if (result != ERROR_SUCCESS)
        return result;
    *key = reinterpret_cast<RegistryKey>(opened);
    if (created != nullptr)
        *created = disposition == REG_CREATED_NEW_KEY;
    return kRegistryOk;
}

long Win32Registry::OpenKey(std::string_view path, std::uint32_t access, RegistryKey* key) {
    if (key == nullptr)
        return kRegistryInvalidParameter;
    *key = 0;
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(path).c_str(), 0, access, &opened);
    if (result != ERROR_SUCCESS)
        return result;
    *key = reinterpret_cast<RegistryKey>(opened);
    return kRegistryOk;
}

long Win32Registry::CloseKey(RegistryKey key) {
    if (!IsOurHandle(key))
        return kRegistryInvalidHandle;
    return RegCloseKey(ToHkey(key));
}

long Win32Registry::QueryValue(RegistryKey key, std::string_view name, RegistryType* type,
                               void* data, std::uint32_t* size) {
    if (const long result = registry_support::CheckQueryParameters(data, size);
        result != kRegistryOk)
        return result;
    if (!IsOurHandle(key))
        return kRegistryInvalidHandle;
    // The whole value is read, since a string's length in code page 1250 bytes is known only
    // after conversion.
    const std::wstring wideName = Wide(name);
    std::vector<BYTE> bytes(kFirstReadSize);
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        DWORD storedType = REG_NONE;
        DWORD stored = static_cast<DWORD>(bytes.size());
        const LONG result = RegQueryValueExW(ToHkey(key), wideName.c_str(), nullptr, &storedType,
                                             bytes.data(), &stored);
        if (result == ERROR_MORE_DATA) {
            bytes.resize(stored);
            continue;
        }
        if (result != ERROR_SUCCESS)
            return result;
        return registry_support::DeliverValue(static_cast<RegistryType>(storedType),
                                              ToCallerData(storedType, bytes, stored), type, data,
                                              size);
    }
    return kRegistryMoreData;
}

long Win32Registry::SetValue(RegistryKey key, std::string_view name, RegistryType type,
                             const void* data, std::uint32_t size) {
    if (const long result = registry_support::CheckSetParameters(name, data, size);
        result != kRegistryOk)
        return result;
    if (!IsOurHandle(key))
        return kRegistryInvalidHandle;
    const std::wstring wideName = Wide(name);
    const DWORD regType = static_cast<DWORD>(type);
    if (!IsStringType(type) || size == 0) {
        return RegSetValueExW(ToHkey(key), wideName.c_str(), 0, regType,
                              static_cast<const BYTE*>(data), size);
    }
    std::u16string wide = Cp1250ToUtf16(std::string_view(static_cast<const char*>(data), size));
    const auto bytes = static_cast<DWORD>(wide.size() * sizeof(char16_t));
    // RegSetValueEx counts one more character when the string lacks its NUL and a NUL follows
    // in memory; a non-NUL guard after the data keeps the value exactly as given.
    wide += u'?';
    return RegSetValueExW(ToHkey(key), wideName.c_str(), 0, regType,
                          reinterpret_cast<const BYTE*>(wide.data()), bytes);
}

long Win32Registry::EnumValue(RegistryKey key, std::uint32_t index, char* name,
                              std::uint32_t* nameSize, RegistryType* type, void* data,
                              std::uint32_t* dataSize) {
    if (const long result = registry_support::CheckEnumParameters(name, nameSize, data, dataSize);
        result != kRegistryOk)
        return result;
    if (!IsOurHandle(key))
        return kRegistryInvalidHandle;
    std::vector<wchar_t> wideName(registry_support::kMaxValueNameLength + 1);
    std::vector<BYTE> bytes(kFirstReadSize);
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        DWORD nameLength = static_cast<DWORD>(wideName.size());
        DWORD storedType = REG_NONE;
        DWORD stored = static_cast<DWORD>(bytes.size());
        const LONG result = RegEnumValueW(ToHkey(key), index, wideName.data(), &nameLength, nullptr,
                                          &storedType, bytes.data(), &stored);
        if (result == ERROR_MORE_DATA) {
            bytes.resize(std::max<std::size_t>(stored, bytes.size() * 2));
            continue;
        }
        if (result != ERROR_SUCCESS)
            return result;
        return registry_support::DeliverEnumeratedValue(
            Narrow(wideName.data(), nameLength), static_cast<RegistryType>(storedType),
            ToCallerData(storedType, bytes, stored), name, nameSize, type, data, dataSize);
    }
    return kRegistryMoreData;
}

long Win32Registry::DeleteValue(RegistryKey key, std::string_view name) {
    if (!IsOurHandle(key))
        return kRegistryInvalidHandle;
    return RegDeleteValueW(ToHkey(key), Wide(name).c_str());
}

long Win32Registry::DeleteTree(std::string_view path) {
    // Never the whole of HKEY_LOCAL_MACHINE.
    if (CutAtNul(path).find_first_not_of('\\') == std::string_view::npos)
        return kRegistryInvalidParameter;
    return RegDeleteTreeW(HKEY_LOCAL_MACHINE, Wide(path).c_str());
}

long Win32Registry::DeleteKey(std::string_view path) {
    return RegDeleteKeyW(HKEY_LOCAL_MACHINE, Wide(path).c_str());
}

bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

} // namespace platform
