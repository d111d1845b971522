#pragma once
// The portable registry: a tree of keys held in memory, with the same names, results and buffer
// behaviour as the real one. Values enumerate in the order they were created. Tests seed and
// inspect it directly with the helpers below.
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace platform {

struct RegistryValue {
    RegistryType type = RegistryType::None;
    std::string data;

    bool operator==(const RegistryValue&) const = default;
};

class MemoryRegistry final : public Registry {
public:
    MemoryRegistry();
    ~MemoryRegistry() override;
    MemoryRegistry(const MemoryRegistry&) = delete;
    MemoryRegistry& operator=(const MemoryRegistry&) = delete;

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

    // Test helpers, outside the Win32 surface.
    // Removes every key and value; keys still open become invalid handles.
    void Clear();
    // Stores a value, creating the key path as needed; the result of the store.
    long Put(std::string_view path, std::string_view name, RegistryType type,
             std::string_view data);
    std::optional<RegistryValue> Get(std::string_view path, std::string_view name) const;
    bool HasKey(std::string_view path) const;
    // The key's value names in enumeration order (empty when the key does not exist).
    std::vector<std::string> ValueNames(std::string_view path) const;
    // Keys opened and not yet closed: lets tests find leaked handles.
    std::size_t OpenKeyCount() const { return handles_.size(); }

private:
    struct Node;
    struct Handle {
        Node* node;
        std::uint32_t access;
    };

    long Resolve(std::string_view path, bool create, Node** node, bool* created);
    const Node* Find(std::string_view path) const;
    long Lookup(RegistryKey key, std::uint32_t needed, Node** node);
    long AddHandle(Node* node, std::uint32_t access, RegistryKey* key);

    std::unique_ptr<Node> root_;
    std::map<RegistryKey, Handle> handles_;
    // Handles are never reused, so a closed one stays invalid.
    RegistryKey nextHandle_ = 0x1000;
};

} // namespace platform
