#pragma once
// Pieces both registry implementations share, so that they hand values and names to callers
// with exactly the same buffer behaviour.
#include <cstdint>
#include <string_view>

#include "platform/registry.h"

namespace platform::registry_support {

constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxValueNameLength = 16383;

// REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ: the types whose data is text.
bool IsStringType(RegistryType type);

// The part of `name` before its first NUL byte.
std::string_view CutAtNul(std::string_view name);

// The upper-case form of a code page 1250 byte (letters only; every other byte unchanged).
unsigned char FoldCase(unsigned char byte);
// Whether two code page 1250 names are equal without regard to case.
bool NamesEqual(std::string_view a, std::string_view b);

// Gives a stored value (data already in code page 1250 bytes) to RegQueryValueEx's outputs.
long DeliverValue(RegistryType storedType, std::string_view stored, RegistryType* type, void* data,
                  std::uint32_t* size);
// Gives an enumerated value to RegEnumValue's outputs.
long DeliverEnumeratedValue(std::string_view storedName, RegistryType storedType,
                            std::string_view stored, char* name, std::uint32_t* nameSize,
                            RegistryType* type, void* data, std::uint32_t* dataSize);

// Parameter checks done before the key is looked at, in the order Windows makes them.
long CheckQueryParameters(const void* data, const std::uint32_t* size);
long CheckSetParameters(std::string_view name, const void* data, std::uint32_t size);
long CheckEnumParameters(const char* name, const std::uint32_t* nameSize, const void* data,
                         const std::uint32_t* dataSize);

} // namespace platform::registry_support
