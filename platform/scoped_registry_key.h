#pragma once
// One open registry key, closed when it goes out of scope, whatever path the caller leaves by.
// Every store of the program opens, uses and closes its keys through this class: opened for
// reading where it only reads (a standard user may read a printer's key but not write it), for
// writing only where it writes, and records read by one rule.
//
// A key that did not open answers every operation with the result of its opening, so a caller
// may go straight on and check only the final result.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace platform {

class ScopedRegistryKey {
public:
    // RegOpenKeyEx: the existing key at `path` with `access` (kKeyRead, kKeyQueryValue for
    // reading; a mask with kKeySetValue for writing).
    static ScopedRegistryKey Open(Registry& registry, std::string_view path, std::uint32_t access);
    // RegCreateKeyEx: the key, created when missing; `created`, when given, tells whether it was
    // new (false when the key did not open).
    static ScopedRegistryKey Create(Registry& registry, std::string_view path, std::uint32_t access,
                                    bool* created = nullptr);

    ScopedRegistryKey(ScopedRegistryKey&& other) noexcept;
    ScopedRegistryKey& operator=(ScopedRegistryKey&& other) noexcept;
    ScopedRegistryKey(const ScopedRegistryKey&) = delete;
    ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;
    ~ScopedRegistryKey();

    bool IsOpen() const { return key_ != 0; }
    explicit operator bool() const { return IsOpen(); }
    // kRegistryOk, or why the key did not open.
    long OpenResult() const { return openResult_; }

    // The Registry operations on this key (see registry.h).
    long QueryValue(std::string_view name, RegistryType* type, void* data,
                    std::uint32_t* size) const;
    long SetValue(std::string_view name, RegistryType type, const void* data,
                  std::uint32_t size) const;
    long EnumValue(std::uint32_t index, char* name, std::uint32_t* nameSize, RegistryType* type,
                   void* data, std::uint32_t* dataSize) const;
    long DeleteValue(std::string_view name) const;

    // Stores `bytes` as the REG_BINARY value `name`.
    long SetBinary(std::string_view name, std::span<const std::uint8_t> bytes) const;

    // Reads the value `name` as a record of `record.size()` bytes: a REG_BINARY value of at most
    // that size lands at the front of `record` and the rest is zero. Other programs write these
    // values too, some shorter than the whole record. A longer value, another type, an empty
    // name (the key's default value) or a failed read leave `record` all zero and return false.
    bool ReadRecord(std::string_view name, std::span<std::uint8_t> record) const;

    // Reads the whole value `name`, of any length and type, into `bytes`.
    bool ReadWholeValue(std::string_view name, std::string* bytes) const;

    // The name of the value at `index` in the key's order, read into a buffer of
    // `nameBufferSize` bytes (its terminator included): kRegistryOk with the name,
    // kRegistryMoreData for a longer name (callers pass over it), kRegistryNoMoreItems past the
    // last value, or the failure.
    long EnumValueName(std::uint32_t index, std::size_t nameBufferSize, std::string* name) const;

    // As EnumValueName, with the value's data read as by ReadRecord: `*isRecord` tells whether it
    // was a record (REG_BINARY of at most `record.size()` bytes, now at the front of `record`,
    // the rest zero); otherwise `record` is all zero. A value longer than the record gives
    // kRegistryMoreData, as a long name does.
    long EnumRecord(std::uint32_t index, std::size_t nameBufferSize, std::string* name,
                    std::span<std::uint8_t> record, bool* isRecord) const;

private:
    ScopedRegistryKey(Registry& registry, RegistryKey key, long openResult)
        : registry_(&registry), key_(key), openResult_(openResult) {}
    // The result an operation gives on a key that did not open.
    long NotOpen() const;
    void Close();

    Registry* registry_;
    RegistryKey key_;
    long openResult_;
};

// Whether a value of `type` and `size` bytes is a record of `recordSize` bytes: REG_BINARY of at
// most that size (other programs write shorter ones; the rest of the record reads as zero).
bool IsRecordValue(RegistryType type, std::uint32_t size, std::size_t recordSize);

} // namespace platform
