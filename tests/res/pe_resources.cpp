#include "tests/res/pe_resources.h"

namespace restest {
namespace {

// Little-endian reads at an offset; false when they would leave the buffer.
bool U16At(std::span<const unsigned char> bytes, std::size_t at, std::uint16_t* value) {
    if (at > bytes.size() || bytes.size() - at < 2)
        return false;
    *value = static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
    return true;
}

bool U32At(std::span<const unsigned char> bytes, std::size_t at, std::uint32_t* value) {
    std::uint16_t lo = 0, hi = 0;
    if (!U16At(bytes, at, &lo) || !U16At(bytes, at + 2, &hi))
        return false;
    *value = lo | static_cast<std::uint32_t>(hi) << 16;
    return true;
}

struct Section {
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawOffset = 0;
};

// The file offset of a relative virtual address, or nullopt outside every section's data.
std::optional<std::size_t> FileOffset(const std::vector<Section>& sections, std::uint32_t rva) {
    for (const Section& s : sections) {
        if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize)
            return static_cast<std::size_t>(s.rawOffset) + (rva - s.virtualAddress);
    }
    return std::nullopt;
}

// The resource directory's tree: type, name and language levels, then the data entries.
class ResourceTree {
public:
    ResourceTree(std::span<const unsigned char> file, const std::vector<Section>& sections,
                 std::size_t root)
        : file_(file), sections_(sections), root_(root) {}

    bool Read(std::vector<ResRecord>* out) { return Directory(0, 0, {}, {}, out); }

private:
    static constexpr std::uint32_t kHighBit = 0x80000000u;
    static constexpr int kLevels = 3;
    static constexpr std::uint32_t kMaxEntries = 4096;

    bool Directory(std::uint32_t offset, int level, const ResId& type, const ResId& name,
                   std::vector<ResRecord>* out) {
        const std::size_t at = root_ + offset;
        std::uint16_t named = 0, numbered = 0;
        if (!U16At(file_, at + 12, &named) || !U16At(file_, at + 14, &numbered))
            return false;
        const std::uint32_t entries = static_cast<std::uint32_t>(named) + numbered;
        if (entries > kMaxEntries)
            return false;
        for (std::uint32_t i = 0; i < entries; ++i) {
            std::uint32_t id = 0, target = 0;
            if (!U32At(file_, at + 16 + 8 * i, &id) || !U32At(file_, at + 20 + 8 * i, &target))
                return false;
            ResId key;
            if (id & kHighBit) {
                if (!Name(id & ~kHighBit, &key.name))
                    return false;
            } else {
                key.ordinal = static_cast<std::uint16_t>(id);
            }
            const bool subdirectory = (target & kHighBit) != 0;
            if (subdirectory != (level < kLevels - 1))
                return false; // the tree has exactly three levels
            if (level == 0 && !Directory(target & ~kHighBit, 1, key, {}, out))
                return false;
            if (level == 1 && !Directory(target & ~kHighBit, 2, type, key, out))
                return false;
            if (level == 2 && !Leaf(target, type, name, key.ordinal, out))
                return false;
        }
        return true;
    }

    bool Name(std::uint32_t offset, std::u16string* name) {
        std::uint16_t length = 0;
        if (!U16At(file_, root_ + offset, &length))
            return false;
        for (std::uint16_t i = 0; i < length; ++i) {
            std::uint16_t c = 0;
            if (!U16At(file_, root_ + offset + 2 + 2u * i, &c))
                return false;
            name->push_back(static_cast<char16_t>(c));
        }
        return true;
    }

    bool Leaf(std::uint32_t offset, const ResId& type, const ResId& name, std::uint16_t language,
              std::vector<ResRecord>* out) {
        std::uint32_t rva = 0, size = 0;
        if (!U32At(file_, root_ + offset, &rva) || !U32At(file_, root_ + offset + 4, &size))
            return false;
        const std::optional<std::size_t> at = FileOffset(sections_, rva);
        if (!at || *at > file_.size() || file_.size() - *at < size)
            return false;
        out->push_back(ResRecord{type, name, language, file_.subspan(*at, size)});
        return true;
    }

    std::span<const unsigned char> file_;
    const std::vector<Section>& sections_;
    std::size_t root_;
};

// One node of a version resource: wLength, wValueLength, wType, the key, the value and the
// children, each part DWORD-aligned from the start of the resource.
struct VersionNode {
    std::u16string key;
    std::span<const unsigned char> value;
    bool text = false;
    std::vector<VersionNode> children;
};

std::size_t Align4(std::size_t at) {
    return (at + 3) & ~static_cast<std::size_t>(3);
}

std::optional<VersionNode> ReadVersionNode(std::span<const unsigned char> data, std::size_t at,
                                           int depth) {
    constexpr int kMaxDepth = 4;
    std::uint16_t length = 0, valueLength = 0, type = 0;
    if (depth > kMaxDepth || !U16At(data, at, &length) || !U16At(data, at + 2, &valueLength) ||
        !U16At(data, at + 4, &type) || length < 6 || length > data.size() - at)
        return std::nullopt;
    const std::size_t end = at + length;
    VersionNode node;
    node.text = type == 1;
    std::size_t pos = at + 6;
    for (;;) {
        std::uint16_t c = 0;
        if (pos >= end || !U16At(data, pos, &c))
            return std::nullopt;
        pos += 2;
        if (c == 0)
            break;
        node.key.push_back(static_cast<char16_t>(c));
    }
    pos = Align4(pos);
    // A text value's length counts WORDs, a binary one's bytes.
    const std::size_t valueBytes = node.text ? 2u * valueLength : valueLength;
    if (pos > end || end - pos < valueBytes)
        return std::nullopt;
    node.value = data.subspan(pos, valueBytes);
    pos = Align4(pos + valueBytes);
    while (pos < end) {
        std::optional<VersionNode> child = ReadVersionNode(data.first(end), pos, depth + 1);
        if (!child)
            return std::nullopt;
        std::uint16_t childLength = 0;
        U16At(data, pos, &childLength);
        node.children.push_back(std::move(*child));
        pos = Align4(pos + childLength);
    }
    return node;
}

std::u16string TextOf(std::span<const unsigned char> value) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < value.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(value[i] | value[i + 1] << 8);
        if (c == 0)
            break;
        text.push_back(c);
    }
    return text;
}

} // namespace

std::optional<PeImage> ParsePeResources(std::span<const unsigned char> file) {
    std::uint32_t peOffset = 0, signature = 0;
    if (file.size() < 64 || file[0] != 'M' || file[1] != 'Z' || !U32At(file, 0x3C, &peOffset) ||
        !U32At(file, peOffset, &signature) || signature != 0x00004550u)
        return std::nullopt;
    const std::size_t coff = static_cast<std::size_t>(peOffset) + 4;
    PeImage image;
    std::uint16_t sectionCount = 0, optionalSize = 0, magic = 0;
    if (!U16At(file, coff, &image.machine) || !U16At(file, coff + 2, &sectionCount) ||
        !U16At(file, coff + 16, &optionalSize))
        return std::nullopt;
    const std::size_t optional = coff + 20;
    if (!U16At(file, optional, &magic) || (magic != 0x10B && magic != 0x20B))
        return std::nullopt;
    // The data directories follow the optional header's fixed part; the resources are the third.
    const std::size_t directories = optional + (magic == 0x10B ? 96 : 112);
    std::uint32_t directoryCount = 0, resourceRva = 0, resourceSize = 0;
    if (!U32At(file, directories - 4, &directoryCount) || directoryCount < 3 ||
        !U32At(file, directories + 16, &resourceRva) ||
        !U32At(file, directories + 20, &resourceSize))
        return std::nullopt;
    std::vector<Section> sections;
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        const std::size_t at = optional + optionalSize + 40u * i;
        Section s;
        if (!U32At(file, at + 8, &s.virtualSize) || !U32At(file, at + 12, &s.virtualAddress) ||
            !U32At(file, at + 16, &s.rawSize) || !U32At(file, at + 20, &s.rawOffset))
            return std::nullopt;
        sections.push_back(s);
    }
    if (resourceRva == 0 || resourceSize == 0)
        return image; // no resources at all
    const std::optional<std::size_t> root = FileOffset(sections, resourceRva);
    if (!root)
        return std::nullopt;
    ResourceTree tree(file, sections, *root);
    if (!tree.Read(&image.resources))
        return std::nullopt;
    return image;
}

std::optional<VersionInfo> ParseVersionInfo(std::span<const unsigned char> data) {
    const std::optional<VersionNode> root = ReadVersionNode(data, 0, 0);
    if (!root || root->key != u"VS_VERSION_INFO" || root->value.size() < 52)
        return std::nullopt;
    std::uint32_t words[13] = {};
    for (int i = 0; i < 13; ++i)
        U32At(root->value, 4u * i, &words[i]);
    if (words[0] != 0xFEEF04BDu)
        return std::nullopt;
    VersionInfo info;
    const auto split = [](std::uint32_t ms, std::uint32_t ls, std::uint16_t* parts) {
        parts[0] = static_cast<std::uint16_t>(ms >> 16);
        parts[1] = static_cast<std::uint16_t>(ms & 0xFFFF);
        parts[2] = static_cast<std::uint16_t>(ls >> 16);
        parts[3] = static_cast<std::uint16_t>(ls & 0xFFFF);
    };
    split(words[2], words[3], info.fileVersion);
    split(words[4], words[5], info.productVersion);
    info.fileOs = words[8];
    info.fileType = words[9];
    for (const VersionNode& block : root->children) {
        if (block.key == u"StringFileInfo") {
            for (const VersionNode& table : block.children)
                for (const VersionNode& entry : table.children)
                    info.strings[table.key][entry.key] = TextOf(entry.value);
        } else if (block.key == u"VarFileInfo") {
            for (const VersionNode& var : block.children) {
                if (var.key != u"Translation")
                    continue;
                for (std::size_t i = 0; i + 3 < var.value.size(); i += 4) {
                    std::uint16_t language = 0, codePage = 0;
                    U16At(var.value, i, &language);
                    U16At(var.value, i + 2, &codePage);
                    info.translations.emplace_back(language, codePage);
                }
            }
        }
    }
    return info;
}

} // namespace restest
