#pragma once
// The portable registry: a tree of keys held in memory, with the same names, results and buffer
// behaviour as the real one. Values enumerate in the order they were created. Tests seed and
// inspect it directly with the helpers below, and can make it refuse chosen operations as
// Windows refuses a standard user.
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace platform {

// Operations a test can make the registry refuse (RefuseOperations).
enum class RegistryOperation : unsigned {
    Create = 1,         // CreateKey of a key that does not exist yet: nothing is created
    OpenForWriting = 2, // OpenKey or CreateKey asked with any write right (set value, create
                        // subkey, create link, delete, write DAC or owner, generic write or all)
    Set = 4,            // SetValue
    Delete = 8,         // DeleteValue
    Enumerate = 16,     // EnumValue
};

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
    // Removes every key and value; keys still open become invalid handles. Refusals stay.
    void Clear();

    // Refuses the operations in `operations` (a bitwise OR of RegistryOperation values) on every
    // key whose path begins with `keyPathPrefix` (compared without regard to case; empty: every
    // key) with kRegistryAccessDenied, as Windows refuses a standard user. Paths compare in the
    // form "A\B\C\": doubled backslashes count once, and a prefix that ends with a backslash
    // matches whole keys only. Opening for reading stays allowed, and so does querying values.
    // Refusals add up until ClearRefusals; the checks come after the parameter and handle
    // checks, so a bad call fails as it would anyway.
    void RefuseOperations(unsigned operations, std::string keyPathPrefix = {});
    void ClearRefusals();

    // Stores a value, creating the key path as needed, whatever is refused; the result of the
    // store.
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
        std::string path; // the key's path in the form refusals compare
    };
    struct Refusal {
        unsigned operations;
        std::string prefix;
    };

    long Resolve(std::string_view path, bool create, Node** node, bool* created);
    const Node* Find(std::string_view path) const;
    // The node of an open key with the `needed` rights; `operation`, when given, must not be
    // refused on it.
    long Lookup(RegistryKey key, std::uint32_t needed, Node** node, unsigned operation = 0);
    long OpenOrCreate(std::string_view path, std::uint32_t access, bool create, RegistryKey* key,
                      bool* created);
    long AddHandle(Node* node, std::uint32_t access, std::string path, RegistryKey* key);
    bool Refused(RegistryOperation operation, std::string_view path) const;
    long StoreValue(Node* node, std::string_view name, RegistryType type, const void* data,
                    std::uint32_t size);

    std::unique_ptr<Node> root_;
    std::map<RegistryKey, Handle> handles_;
    std::vector<Refusal> refusals_;
    // Handles are never reused, so a closed one stays invalid.
    RegistryKey nextHandle_ = 0x1000;
};

} // namespace platform
