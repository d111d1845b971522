#include "platform/registry_support.h"

#include <array>
#include <cstring>

#include "platform/codepage1250.h"

namespace platform::registry_support {
namespace {

// Simple upper case of the Latin letters code page 1250 can hold (Latin-1 and Latin
// Extended-A). Windows compares registry names by their Unicode upper case, so folding through
// Unicode gives the same answer for every byte.
char32_t UnicodeUpper(char32_t ch) {
    if (ch >= 'a' && ch <= 'z')
        return ch - 0x20;
    if (ch >= 0xE0 && ch <= 0xFE && ch != 0xF7)
        return ch - 0x20;
    // Latin Extended-A pairs: upper case at the even code in these ranges...
    if ((ch >= 0x100 && ch <= 0x137) || (ch >= 0x14A && ch <= 0x177))
        return ch & ~char32_t{1};
    // ...and at the odd code in these.
    if ((ch >= 0x139 && ch <= 0x148) || (ch >= 0x179 && ch <= 0x17E))
        return (ch & 1) != 0 ? ch : ch - 1;
    return ch;
}

std::array<unsigned char, 256> BuildFoldTable() {
    std::array<unsigned char, 256> table{};
    for (int b = 0; b < 256; ++b) {
        const char32_t upper = UnicodeUpper(Cp1250ToUnicode(static_cast<unsigned char>(b)));
        const unsigned char folded = UnicodeToCp1250(upper);
        // A letter whose capital the code page lacks stays itself.
        table[b] = Cp1250ToUnicode(folded) == upper ? folded : static_cast<unsigned char>(b);
    }
    return table;
}

} // namespace

bool IsStringType(RegistryType type) {
    return type == RegistryType::String || type == RegistryType::ExpandString ||
           type == RegistryType::MultiString;
}

std::string_view CutAtNul(std::string_view name) {
    const std::size_t nul = name.find('\0');
    return nul == std::string_view::npos ? name : name.substr(0, nul);
}

unsigned char FoldCase(unsigned char byte) {
    static const std::array<unsigned char, 256> table = BuildFoldTable();
    return table[byte];
}

bool NamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(static_cast<unsigned char>(a[i])) !=
            FoldCase(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

long DeliverValue(RegistryType storedType, std::string_view stored, RegistryType* type, void* data,
                  std::uint32_t* size) {
    const auto length = static_cast<std::uint32_t>(stored.size());
    if (type != nullptr)
        *type = storedType;
    if (data != nullptr) {
        if (length > *size) {
            *size = length;
            return kRegistryMoreData;
        }
        auto* out = static_cast<unsigned char*>(data);
        if (length > 0) {
            std::memcpy(out, stored.data(), length);
            // A string stored without its terminator gets one when the buffer has room.
            if (IsStringType(storedType) && length < *size && out[length - 1] != 0)
                out[length] = 0;
        }
    }
    if (size != nullptr)
        *size = length;
    return kRegistryOk;
}

long DeliverEnumeratedValue(std::string_view storedName, RegistryType storedType,
                            std::string_view stored, char* name, std::uint32_t* nameSize,
                            RegistryType* type, void* data, std::uint32_t* dataSize) {
    const auto length = static_cast<std::uint32_t>(stored.size());
    if (type != nullptr)
        *type = storedType;
    const bool nameFits = storedName.size() < *nameSize;
    const bool dataFits = data == nullptr || length <= *dataSize;
    if (!nameFits || !dataFits) {
        if (dataSize != nullptr)
            *dataSize = length;
        return kRegistryMoreData;
    }
    std::memcpy(name, storedName.data(), storedName.size());
    name[storedName.size()] = '\0';
    *nameSize = static_cast<std::uint32_t>(storedName.size());
    return DeliverValue(storedType, stored, nullptr, data, dataSize);
}

long CheckQueryParameters(const void* data, const std::uint32_t* size) {
    return data != nullptr && size == nullptr ? kRegistryInvalidParameter : kRegistryOk;
}

long CheckSetParameters(std::string_view name, const void* data, std::uint32_t size) {
    if (CutAtNul(name).size() > kMaxValueNameLength)
        return kRegistryInvalidParameter;
    return data == nullptr && size > 0 ? kRegistryNoAccess : kRegistryOk;
}

long CheckEnumParameters(const char* name, const std::uint32_t* nameSize, const void* data,
                         const std::uint32_t* dataSize) {
    if (name == nullptr || nameSize == nullptr || (data != nullptr && dataSize == nullptr))
        return kRegistryInvalidParameter;
    return kRegistryOk;
}

} // namespace platform::registry_support
