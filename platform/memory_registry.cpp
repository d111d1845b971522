#include "platform/memory_registry.h"

#include <algorithm>

#include "platform/registry_support.h"

namespace platform {

using registry_support::CutAtNul;
using registry_support::NamesEqual;

struct MemoryRegistry::Node {
    struct Value {
        std::string name;
        RegistryValue value;
    };
    std::string name;
    std::vector<std::unique_ptr<Node>> children;
    // In creation order: the order of enumeration.
    std::vector<Value> values;

    Node* Child(std::string_view childName) const {
        for (const auto& child : children) {
            if (NamesEqual(child->name, childName))
                return child.get();
        }
        return nullptr;
    }
    Value* FindValue(std::string_view valueName) {
        for (Value& v : values) {
            if (NamesEqual(v.name, valueName))
                return &v;
        }
        return nullptr;
    }
};

namespace {

constexpr std::uint32_t kGenericRead = 0x80000000;
constexpr std::uint32_t kGenericWrite = 0x40000000;
constexpr std::uint32_t kGenericExecute = 0x20000000;
constexpr std::uint32_t kGenericAll = 0x10000000;
constexpr std::uint32_t kMaximumAllowed = 0x02000000;

// The rights that let a key be changed: set value, create subkey, create link, delete, write
// DAC, write owner, and the generic rights that include writing.
constexpr std::uint32_t kWriteRights = kKeySetValue | 0x0004 | 0x0020 | 0x00010000 | 0x00040000 |
                                       0x00080000 | kGenericWrite | kGenericAll | kMaximumAllowed;

// The specific key rights an access mask grants, with generic rights mapped as for keys.
std::uint32_t SpecificRights(std::uint32_t access) {
    std::uint32_t rights = access & 0xFFFF;
    if ((access & (kGenericRead | kGenericExecute)) != 0)
        rights |= kKeyRead;
    if ((access & kGenericWrite) != 0)
        rights |= kKeyWrite;
    if ((access & (kGenericAll | kMaximumAllowed)) != 0)
        rights |= kKeyAllAccess;
    return rights;
}

// Splits a key path into its components; empty components (doubled or trailing backslashes)
// are skipped. A path that starts with a backslash or has a component longer than Windows
// allows is refused.
long SplitPath(std::string_view path, std::vector<std::string_view>* parts) {
    path = CutAtNul(path);
    if (!path.empty() && path.front() == '\\')
        return kRegistryBadPathname;
    while (!path.empty()) {
        const std::size_t end = std::min(path.find('\\'), path.size());
        const std::string_view part = path.substr(0, end);
        if (part.size() > registry_support::kMaxKeyNameLength)
            return kRegistryInvalidParameter;
        if (!part.empty())
            parts->push_back(part);
        path.remove_prefix(std::min(end + 1, path.size()));
    }
    return kRegistryOk;
}

// A key path as refusals compare it: its components, each followed by one backslash.
std::string RefusalPath(const std::vector<std::string_view>& parts) {
    std::string path;
    for (std::string_view part : parts) {
        path.append(part);
        path.push_back('\\');
    }
    return path;
}

// A refusal's prefix in the same form: empty components (a leading, doubled or trailing
// backslash) are skipped, and the last one keeps its backslash only when the prefix had one.
std::string RefusalPrefix(std::string_view prefix) {
    prefix = CutAtNul(prefix);
    std::vector<std::string_view> parts;
    std::string_view rest = prefix;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\\'), rest.size());
        if (end > 0)
            parts.push_back(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    std::string path = RefusalPath(parts);
    if (!path.empty() && prefix.back() != '\\')
        path.pop_back();
    return path;
}

} // namespace

MemoryRegistry::MemoryRegistry() : root_(std::make_unique<Node>()) {}

MemoryRegistry::~MemoryRegistry() = default;

long MemoryRegistry::Resolve(std::string_view path, bool create, Node** node, bool* created) {
    std::vector<std::string_view> parts;
    if (const long result = SplitPath(path, &parts); result != kRegistryOk)
        return result;
    // The whole path was checked above, so a refused path creates nothing.
    Node* current = root_.get();
    bool isNew = false;
    for (std::string_view part : parts) {
        Node* next = current->Child(part);
        if (next == nullptr) {
            if (!create)
                return kRegistryNotFound;
            auto child = std::make_unique<Node>();
            child->name = std::string(part);
            next = child.get();
            current->children.push_back(std::move(child));
            isNew = true;
        }
        current = next;
    }
    *node = current;
    if (created != nullptr)
        *created = isNew;
    return kRegistryOk;
}

const MemoryRegistry::Node* MemoryRegistry::Find(std::string_view path) const {
    std::vector<std::string_view> parts;
    if (SplitPath(path, &parts) != kRegistryOk)
        return nullptr;
    const Node* current = root_.get();
    for (std::string_view part : parts) {
        current = current->Child(part);
        if (current == nullptr)
            return nullptr;
    }
    return current;
}

long MemoryRegistry::AddHandle(Node* node, std::uint32_t access, std::string path,
                               RegistryKey* key) {
    const RegistryKey handle = nextHandle_;
    nextHandle_ += 4;
    handles_[handle] = Handle{node, SpecificRights(access), std::move(path)};
    *key = handle;
    return kRegistryOk;
}

bool MemoryRegistry::Refused(RegistryOperation operation, std::string_view path) const {
    for (const Refusal& refusal : refusals_) {
        if ((refusal.operations & static_cast<unsigned>(operation)) != 0 &&
            path.size() >= refusal.prefix.size() &&
            NamesEqual(path.substr(0, refusal.prefix.size()), refusal.prefix))
            return true;
    }
    return false;
}

long MemoryRegistry::Lookup(RegistryKey key, std::uint32_t needed, Node** node,
                            unsigned operation) {
    const auto it = handles_.find(key);
    if (it == handles_.end())
        return kRegistryInvalidHandle;
    if ((it->second.access & needed) != needed)
        return kRegistryAccessDenied;
    if (operation != 0 && Refused(static_cast<RegistryOperation>(operation), it->second.path))
        return kRegistryAccessDenied;
    *node = it->second.node;
    return kRegistryOk;
}

long MemoryRegistry::OpenOrCreate(std::string_view path, std::uint32_t access, bool create,
                                  RegistryKey* key, bool* created) {
    if (key == nullptr)
        return kRegistryInvalidParameter;
    *key = 0;
    std::vector<std::string_view> parts;
    if (const long result = SplitPath(path, &parts); result != kRegistryOk)
        return result;
    std::string refusalPath = RefusalPath(parts);
    const bool exists = Find(path) != nullptr;
    if (!exists && !create)
        return kRegistryNotFound;
    // A refused key is neither created nor opened; nothing on its way is created either.
    if ((!exists && Refused(RegistryOperation::Create, refusalPath)) ||
        ((access & kWriteRights) != 0 && Refused(RegistryOperation::OpenForWriting, refusalPath)))
        return kRegistryAccessDenied;
    Node* node = nullptr;
    if (const long result = Resolve(path, create, &node, created); result != kRegistryOk)
        return result;
    return AddHandle(node, access, std::move(refusalPath), key);
}

long MemoryRegistry::CreateKey(std::string_view path, std::uint32_t access, RegistryKey* key,
                               bool* created) {
    return OpenOrCreate(path, access, true, key, created);
}

long MemoryRegistry::OpenKey(std::string_view path, std::uint32_t access, RegistryKey* key) {
    return OpenOrCreate(path, access, false, key, nullptr);
}

long MemoryRegistry::CloseKey(RegistryKey key) {
    return handles_.erase(key) == 1 ? kRegistryOk : kRegistryInvalidHandle;
}

long MemoryRegistry::QueryValue(RegistryKey key, std::string_view name, RegistryType* type,
                                void* data, std::uint32_t* size) {
    if (const long result = registry_support::CheckQueryParameters(data, size);
        result != kRegistryOk)
        return result;
    Node* node = nullptr;
    if (const long result = Lookup(key, kKeyQueryValue, &node); result != kRegistryOk)
        return result;
    const Node::Value* value = node->FindValue(CutAtNul(name));
    if (value == nullptr)
        return kRegistryNotFound;
    return registry_support::DeliverValue(value->value.type, value->value.data, type, data, size);
}

long MemoryRegistry::SetValue(RegistryKey key, std::string_view name, RegistryType type,
                              const void* data, std::uint32_t size) {
    if (const long result = registry_support::CheckSetParameters(name, data, size);
        result != kRegistryOk)
        return result;
    Node* node = nullptr;
    if (const long result =
            Lookup(key, kKeySetValue, &node, static_cast<unsigned>(RegistryOperation::Set));
        result != kRegistryOk)
        return result;
    return StoreValue(node, name, type, data, size);
}

long MemoryRegistry::StoreValue(Node* node, std::string_view name, RegistryType type,
                                const void* data, std::uint32_t size) {
    name = CutAtNul(name);
    RegistryValue stored{type, size == 0 ? std::string()
                                         : std::string(static_cast<const char*>(data), size)};
    // A replaced value keeps its place and the spelling of its name.
    if (Node::Value* existing = node->FindValue(name))
        existing->value = std::move(stored);
    else
        node->values.push_back(Node::Value{std::string(name), std::move(stored)});
    return kRegistryOk;
}

long MemoryRegistry::EnumValue(RegistryKey key, std::uint32_t index, char* name,
                               std::uint32_t* nameSize, RegistryType* type, void* data,
                               std::uint32_t* dataSize) {
    if (const long result = registry_support::CheckEnumParameters(name, nameSize, data, dataSize);
        result != kRegistryOk)
        return result;
    Node* node = nullptr;
    if (const long result =
            Lookup(key, kKeyQueryValue, &node, static_cast<unsigned>(RegistryOperation::Enumerate));
        result != kRegistryOk)
        return result;
    if (index >= node->values.size())
        return kRegistryNoMoreItems;
    const Node::Value& value = node->values[index];
    return registry_support::DeliverEnumeratedValue(value.name, value.value.type, value.value.data,
                                                    name, nameSize, type, data, dataSize);
}

long MemoryRegistry::DeleteValue(RegistryKey key, std::string_view name) {
    Node* node = nullptr;
    if (const long result =
            Lookup(key, kKeySetValue, &node, static_cast<unsigned>(RegistryOperation::Delete));
        result != kRegistryOk)
        return result;
    name = CutAtNul(name);
    const auto it = std::find_if(node->values.begin(), node->values.end(),
                                 [&](const Node::Value& v) { return NamesEqual(v.name, name); });
    if (it == node->values.end())
        return kRegistryNotFound;
    node->values.erase(it);
    return kRegistryOk;
}

void MemoryRegistry::Clear() {
    handles_.clear();
    root_ = std::make_unique<Node>();
}

void MemoryRegistry::RefuseOperations(unsigned operations, std::string keyPathPrefix) {
    refusals_.push_back(Refusal{operations, RefusalPrefix(keyPathPrefix)});
}

void MemoryRegistry::ClearRefusals() {
    refusals_.clear();
}

long MemoryRegistry::Put(std::string_view path, std::string_view name, RegistryType type,
                         std::string_view data) {
    if (const long result = registry_support::CheckSetParameters(
            name, data.data(), static_cast<std::uint32_t>(data.size()));
        result != kRegistryOk)
        return result;
    Node* node = nullptr;
    if (const long result = Resolve(path, true, &node, nullptr); result != kRegistryOk)
        return result;
    return StoreValue(node, name, type, data.data(), static_cast<std::uint32_t>(data.size()));
}

std::optional<RegistryValue> MemoryRegistry::Get(std::string_view path,
                                                 std::string_view name) const {
    const Node* node = Find(path);
    if (node == nullptr)
        return std::nullopt;
    for (const Node::Value& v : node->values) {
        if (NamesEqual(v.name, CutAtNul(name)))
            return v.value;
    }
    return std::nullopt;
}

bool MemoryRegistry::HasKey(std::string_view path) const {
    return Find(path) != nullptr;
}

std::vector<std::string> MemoryRegistry::ValueNames(std::string_view path) const {
    std::vector<std::string> names;
    if (const Node* node = Find(path)) {
        for (const Node::Value& v : node->values)
            names.push_back(v.name);
    }
    return names;
}

} // namespace platform
