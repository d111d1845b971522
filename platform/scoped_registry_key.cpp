#include "platform/scoped_registry_key.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace platform {
namespace {

// A size as the registry counts it; never more than a value can hold.
std::uint32_t RegistrySize(std::size_t size) {
    return static_cast<std::uint32_t>(std::min<std::size_t>(size, UINT32_MAX));
}

} // namespace

bool IsRecordValue(RegistryType type, std::uint32_t size, std::size_t recordSize) {
    return type == RegistryType::Binary && size <= recordSize;
}

ScopedRegistryKey ScopedRegistryKey::Open(Registry& registry, std::string_view path,
                                          std::uint32_t access) {
    RegistryKey key = 0;
    const long result = registry.OpenKey(path, access, &key);
    return ScopedRegistryKey(registry, result == kRegistryOk ? key : 0, result);
}

ScopedRegistryKey ScopedRegistryKey::Create(Registry& registry, std::string_view path,
                                            std::uint32_t access, bool* created) {
    RegistryKey key = 0;
    bool isNew = false;
    const long result = registry.CreateKey(path, access, &key, &isNew);
    if (created != nullptr)
        *created = result == kRegistryOk && isNew;
    return ScopedRegistryKey(registry, result == kRegistryOk ? key : 0, result);
}

ScopedRegistryKey::ScopedRegistryKey(ScopedRegistryKey&& other) noexcept
    : registry_(other.registry_), key_(std::exchange(other.key_, 0)),
      openResult_(other.openResult_) {}

ScopedRegistryKey& ScopedRegistryKey::operator=(ScopedRegistryKey&& other) noexcept {
    if (this != &other) {
        Close();
        registry_ = other.registry_;
        key_ = std::exchange(other.key_, 0);
        openResult_ = other.openResult_;
    }
    return *this;
}

ScopedRegistryKey::~ScopedRegistryKey() {
    Close();
}

void ScopedRegistryKey::Close() {
    if (key_ != 0)
        registry_->CloseKey(std::exchange(key_, 0));
}

long ScopedRegistryKey::NotOpen() const {
    return openResult_ != kRegistryOk ? openResult_ : kRegistryInvalidHandle;
}

long ScopedRegistryKey::QueryValue(std::string_view name, RegistryType* type, void* data,
                                   std::uint32_t* size) const {
    return IsOpen() ? registry_->QueryValue(key_, name, type, data, size) : NotOpen();
}

long ScopedRegistryKey::SetValue(std::string_view name, RegistryType type, const void* data,
                                 std::uint32_t size) const {
    return IsOpen() ? registry_->SetValue(key_, name, type, data, size) : NotOpen();
}

long ScopedRegistryKey::EnumValue(std::uint32_t index, char* name, std::uint32_t* nameSize,
                                  RegistryType* type, void* data, std::uint32_t* dataSize) const {
    return IsOpen() ? registry_->EnumValue(key_, index, name, nameSize, type, data, dataSize)
                    : NotOpen();
}

long ScopedRegistryKey::DeleteValue(std::string_view name) const {
    return IsOpen() ? registry_->DeleteValue(key_, name) : NotOpen();
}

long ScopedRegistryKey::SetBinary(std::string_view name,
                                  std::span<const std::uint8_t> bytes) const {
    return SetValue(name, RegistryType::Binary, bytes.data(), RegistrySize(bytes.size()));
}

bool ScopedRegistryKey::ReadRecord(std::string_view name, std::span<std::uint8_t> record) const {
    std::fill(record.begin(), record.end(), std::uint8_t{0});
    if (name.empty())
        return false;
    RegistryType type = RegistryType::None;
    std::uint32_t size = RegistrySize(record.size());
    const long result = QueryValue(name, &type, record.data(), &size);
    if (result != kRegistryOk || !IsRecordValue(type, size, record.size())) {
        std::fill(record.begin(), record.end(), std::uint8_t{0});
        return false;
    }
    // Nothing but the value's own bytes: the rest reads as zero.
    std::fill(record.begin() + size, record.end(), std::uint8_t{0});
    return true;
}

bool ScopedRegistryKey::ReadWholeValue(std::string_view name, std::string* bytes) const {
    std::uint32_t size = 0;
    if (QueryValue(name, nullptr, nullptr, &size) != kRegistryOk)
        return false;
    std::string data(size, '\0');
    std::uint32_t read = size;
    if (QueryValue(name, nullptr, data.empty() ? nullptr : data.data(), &read) != kRegistryOk)
        return false;
    data.resize(std::min(read, size));
    *bytes = std::move(data);
    return true;
}

long ScopedRegistryKey::EnumValueName(std::uint32_t index, std::size_t nameBufferSize,
                                      std::string* name) const {
    std::vector<char> buffer(std::max<std::size_t>(nameBufferSize, 1), '\0');
    std::uint32_t nameSize = RegistrySize(buffer.size());
    const long result = EnumValue(index, buffer.data(), &nameSize, nullptr, nullptr, nullptr);
    if (result == kRegistryOk)
        name->assign(buffer.data(), std::min<std::size_t>(nameSize, buffer.size() - 1));
    return result;
}

long ScopedRegistryKey::EnumRecord(std::uint32_t index, std::size_t nameBufferSize,
                                   std::string* name, std::span<std::uint8_t> record,
                                   bool* isRecord) const {
    *isRecord = false;
    std::fill(record.begin(), record.end(), std::uint8_t{0});
    std::vector<char> buffer(std::max<std::size_t>(nameBufferSize, 1), '\0');
    std::uint32_t nameSize = RegistrySize(buffer.size());
    RegistryType type = RegistryType::None;
    std::uint32_t dataSize = RegistrySize(record.size());
    const long result = EnumValue(index, buffer.data(), &nameSize, &type, record.data(), &dataSize);
    if (result != kRegistryOk) {
        std::fill(record.begin(), record.end(), std::uint8_t{0});
        return result;
    }
    name->assign(buffer.data(), std::min<std::size_t>(nameSize, buffer.size() - 1));
    if (IsRecordValue(type, dataSize, record.size())) {
        *isRecord = true;
        std::fill(record.begin() + dataSize, record.end(), std::uint8_t{0});
    } else {
        std::fill(record.begin(), record.end(), std::uint8_t{0});
    }
    return result;
}

} // namespace platform
