#include "pages/fonts/font_substitution_store.h"

#include <cstdint>
#include <vector>

#include "platform/registry.h"

namespace pages {
namespace {

constexpr char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers\\";
constexpr char kDriverDataKey[] = "\\PrinterDriverData";

// Reads a whole value of any length: asks for the size first, then reads it.
bool ReadWholeValue(platform::Registry& registry, platform::RegistryKey key, std::string_view name,
                    std::vector<std::uint8_t>& bytes) {
    std::uint32_t size = 0;
    if (registry.QueryValue(key, name, nullptr, nullptr, &size) != platform::kRegistryOk)
        return false;
    bytes.assign(size, 0);
    std::uint32_t read = size;
    if (registry.QueryValue(key, name, nullptr, bytes.empty() ? nullptr : bytes.data(), &read) !=
        platform::kRegistryOk)
        return false;
    bytes.resize(read);
    return true;
}

std::string_view AsText(const std::vector<std::uint8_t>& bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

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

// Opens the driver-data key, creating it when absent.
bool OpenDriverDataKey(platform::Registry& registry, std::string_view printerName,
                       std::uint32_t access, platform::RegistryKey* key) {
    return registry.CreateKey(FontSubstitutionKeyPath(printerName), access, key) ==
           platform::kRegistryOk;
}

} // namespace

std::string FontSubstitutionKeyPath(std::string_view printerName) {
    std::string path = kPrintersKey;
    path.append(printerName);
    path.append(kDriverDataKey);
    return path;
}

bool RestoreDefaultFontTable(platform::Registry& registry, std::string_view printerName) {
    platform::RegistryKey key = 0;
    if (registry.OpenKey(FontSubstitutionKeyPath(printerName), platform::kKeyAllAccess, &key) !=
        platform::kRegistryOk)
        return false;
    std::vector<std::uint8_t> table;
    bool written = false;
    if (ReadWholeValue(registry, key, kDefaultFontTableValue, table)) {
        written = registry.SetValue(key, kCurrentFontTableValue, platform::RegistryType::Binary,
                                    table.data(), static_cast<std::uint32_t>(table.size())) ==
                  platform::kRegistryOk;
    }
    registry.CloseKey(key);
    return written;
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
    platform::RegistryKey key = 0;
    if (!OpenDriverDataKey(registry, printerName, platform::kKeyRead, &key))
        return {};
    std::vector<std::uint8_t> bytes;
    bool read = ReadWholeValue(registry, key, kCurrentFontTableValue, bytes);
    if (!read && RestoreDefaultFontTable(registry, printerName))
        read = ReadWholeValue(registry, key, kCurrentFontTableValue, bytes);
    registry.CloseKey(key);
    return read ? FontSubstitutionTable::FromBytes(AsText(bytes)) : FontSubstitutionTable();
}

bool StoreFontTable(platform::Registry& registry, std::string_view printerName,
                    const FontSubstitutionTable& table) {
    platform::RegistryKey key = 0;
    if (!OpenDriverDataKey(registry, printerName, platform::kKeyWrite, &key))
        return false;
    const std::string bytes = table.ToBytes();
    const bool written =
        registry.SetValue(key, kCurrentFontTableValue, platform::RegistryType::Binary, bytes.data(),
                          static_cast<std::uint32_t>(bytes.size())) == platform::kRegistryOk;
    registry.CloseKey(key);
    return written;
}

std::vector<std::string> ReadResidentFonts(platform::Registry& registry,
                                           std::string_view printerName) {
    std::vector<std::string> names;
    platform::RegistryKey key = 0;
    if (!OpenDriverDataKey(registry, printerName, platform::kKeyRead, &key))
        return names;
    std::vector<std::uint8_t> bytes;
    if (ReadWholeValue(registry, key, kResidentFontsValue, bytes)) {
        std::string_view rest = AsText(bytes);
        std::string_view name;
        while (TakeName(rest, &name) && !name.empty())
            names.emplace_back(name);
    }
    registry.CloseKey(key);
    return names;
}

} // namespace pages
