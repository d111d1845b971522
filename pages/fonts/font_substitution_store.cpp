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

} // namespace pages
