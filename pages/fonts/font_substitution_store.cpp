#include "pages/fonts/font_substitution_store.h"

#include <cstdint>
#include <vector>

#include "platform/registry.h"
#include "platform/scoped_registry_key.h"

namespace pages {
namespace {

constexpr char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers\\";
constexpr char kDriverDataKey[] = "\\PrinterDriverData";

// Takes the next NUL-terminated name off the front of `rest`; a name without its NUL runs to
// the end. False when nothing is left.
bool TakeName(std::string_view& rest, std::string_view* name) {
    if (rest.empty())
        return false;
    const std::size_t nul = rest.find('\0');
    if (nul == std::string_view::npos) {
        *name = rest;
        rest = {};
    } else {
        *name = rest.substr(0, nul);
        rest.remove_prefix(nul + 1);
    }
    return true;
}

// The driver-data key for `access`, created when absent.
platform::ScopedRegistryKey OpenDriverDataKey(platform::Registry& registry,
                                              std::string_view printerName, std::uint32_t access) {
    return platform::ScopedRegistryKey::Create(registry, FontSubstitutionKeyPath(printerName),
                                               access);
}

} // namespace

std::string FontSubstitutionKeyPath(std::string_view printerName) {
    std::string path = kPrintersKey;
    path.append(printerName);
    path.append(kDriverDataKey);
    return path;
}

bool RestoreDefaultFontTable(platform::Registry& registry, std::string_view printerName) {
    const auto key = platform::ScopedRegistryKey::Open(
        registry, FontSubstitutionKeyPath(printerName), platform::kKeyAllAccess);
    std::string table;
    return key.ReadWholeValue(kDefaultFontTableValue, &table) &&
           key.SetValue(kCurrentFontTableValue, platform::RegistryType::Binary, table.data(),
                        static_cast<std::uint32_t>(table.size())) == platform::kRegistryOk;
}

FontSubstitutionTable FontSubstitutionTable::FromBytes(std::string_view bytes) {
    FontSubstitutionTable table;
    std::string_view rest = bytes;
    std::string_view family;
    std::string_view device;
    // Readers of the table take any empty name for its end, a device name's too.
    while (TakeName(rest, &family) && !family.empty() && TakeName(rest, &device) && !device.empty())
        table.pairs_.push_back({std::string(family), std::string(device)});
    return table;
}

std::string FontSubstitutionTable::ToBytes() const {
    std::string bytes;
    for (const FontSubstitution& pair : pairs_) {
        bytes.append(pair.family);
        bytes.push_back('\0');
        bytes.append(pair.device);
        bytes.push_back('\0');
    }
    bytes.push_back('\0');
    return bytes;
}

const std::string* FontSubstitutionTable::DeviceFontOf(std::string_view family) const {
    for (const FontSubstitution& pair : pairs_) {
        if (pair.family == family)
            return &pair.device;
    }
    return nullptr;
}

bool FontSubstitutionTable::Substitute(std::string_view family, std::string_view device) {
    if (family.empty() || device.empty())
        return false;
    bool found = false;
    for (FontSubstitution& pair : pairs_) {
        if (pair.family == family) {
            pair.device = device;
            found = true;
        }
    }
    if (!found)
        pairs_.push_back({std::string(family), std::string(device)});
    return true;
}

FontSubstitutionTable LoadFontTable(platform::Registry& registry, std::string_view printerName) {
    const auto key = OpenDriverDataKey(registry, printerName, platform::kKeyRead);
    if (!key)
        return {};
    std::string bytes;
    bool read = key.ReadWholeValue(kCurrentFontTableValue, &bytes);
    if (!read && RestoreDefaultFontTable(registry, printerName))
        read = key.ReadWholeValue(kCurrentFontTableValue, &bytes);
    return read ? FontSubstitutionTable::FromBytes(bytes) : FontSubstitutionTable();
}

bool StoreFontTable(platform::Registry& registry, std::string_view printerName,
                    const FontSubstitutionTable& table) {
    const auto key = OpenDriverDataKey(registry, printerName, platform::kKeyWrite);
    const std::string bytes = table.ToBytes();
    return key.SetValue(kCurrentFontTableValue, platform::RegistryType::Binary, bytes.data(),
                        static_cast<std::uint32_t>(bytes.size())) == platform::kRegistryOk;
}

std::vector<std::string> ReadResidentFonts(platform::Registry& registry,
                                           std::string_view printerName) {
    std::vector<std::string> names;
    std::string bytes;
    if (!OpenDriverDataKey(registry, printerName, platform::kKeyRead)
             .ReadWholeValue(kResidentFontsValue, &bytes))
        return names;
    std::string_view rest = bytes;
    std::string_view name;
    while (TakeName(rest, &name) && !name.empty())
        names.emplace_back(name);
    return names;
}

} // namespace pages
