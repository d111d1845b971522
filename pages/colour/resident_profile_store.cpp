#include "pages/colour/resident_profile_store.h"

#include <functional>

#include "app/config_app.h"
#include "platform/registry.h"
#include "platform/registry_support.h"
#include "platform/services.h"
#include "ui/window.h"

namespace pages {
namespace {

constexpr char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers\\";
// More values than any list holds: a bound on the walk whatever the registry answers.
constexpr std::uint32_t kMaxListEntries = 1u << 16;

struct KindInfo {
    int kind;
    const char* suffix;
};

constexpr KindInfo kKinds[] = {
    {kResidentRgbSource, "\\Printer Resident\\RGB Source Profiles\\"},
    {kResidentSimulation, "\\Printer Resident\\Simulation Profiles\\"},
    {kResidentDestination, "\\Printer Resident\\Destination Profiles\\"},
};
constexpr char kCsaSuffix[] = "\\Printer Resident\\CSA Profiles\\";

bool IsKnownKind(int kind) {
    return kind == kResidentRgbSource || kind == kResidentSimulation || kind == kResidentCsa ||
           kind == kResidentDestination;
}

bool NamesEqual(std::string_view a, std::string_view b) {
    return platform::registry_support::NamesEqual(a, b);
}

// A record as read: texts terminated inside their fields.
void TerminateTexts(ResidentProfileRecord& record) {
    app::detail::TerminateText(&record.bytes[ResidentProfileRecord::kNameOffset],
                               ResidentProfileRecord::kNameSize);
    app::detail::TerminateText(&record.bytes[ResidentProfileRecord::kFileNameOffset],
                               ResidentProfileRecord::kFileNameSize);
}

// One readable entry of a list: its value name and record.
struct ListEntry {
    std::string valueName;
    ResidentProfileRecord record;
};

// Visits the readable entries of an open list in order until `visit` returns true. Names too
// long for the name buffer and values too long for a record are skipped; the walk ends at the
// last value or at any other failure.
void WalkList(platform::Registry& registry, platform::RegistryKey key,
              const std::function<bool(const ListEntry&)>& visit) {
    for (std::uint32_t index = 0; index < kMaxListEntries; ++index) {
        char name[kResidentNameBufferSize] = {};
        std::uint32_t nameSize = sizeof name;
        platform::RegistryType type = platform::RegistryType::None;
        ListEntry entry;
        std::uint32_t dataSize = ResidentProfileRecord::kSize;
        const long result = registry.EnumValue(key, index, name, &nameSize, &type,
                                               entry.record.bytes.data(), &dataSize);
        if (result == platform::kRegistryMoreData)
            continue;
        if (result != platform::kRegistryOk)
            return;
        if (type != platform::RegistryType::Binary || dataSize != ResidentProfileRecord::kSize)
            continue;
        TerminateTexts(entry.record);
        entry.valueName.assign(name, std::min<std::size_t>(nameSize, sizeof name - 1));
        if (visit(entry))
            return;
    }
}

// Opens the kind's list of the live block's printer; 0 when it cannot be opened.
platform::RegistryKey OpenList(int kind, std::uint32_t access) {
    const std::string printer = app::TheApp().settings.printerName();
    if (printer.empty())
        return 0;
    platform::RegistryKey key = 0;
    if (platform::registry().OpenKey(ResidentProfilesKeyPath(printer, kind), access, &key) !=
        platform::kRegistryOk)
        return 0;
    return key;
}

// The first entry that `match` accepts, from the walk of the kind's list.
std::optional<ListEntry> FindEntry(int kind, const std::function<bool(const ListEntry&)>& match) {
    const platform::RegistryKey key = OpenList(kind, platform::kKeyRead);
    if (!key)
        return std::nullopt;
    std::optional<ListEntry> found;
    WalkList(platform::registry(), key, [&](const ListEntry& entry) {
        if (!match(entry))
            return false;
        found = entry;
        return true;
    });
    platform::registry().CloseKey(key);
    return found;
}

// The entry `text` names: the one named exactly (ignoring case), else the first whose name
// relates to it by `fallback`.
std::optional<ListEntry>
FindNamedEntry(int kind, std::string_view text,
               const std::function<bool(std::string_view name, std::string_view text)>& fallback) {
    if (text.empty())
        return std::nullopt;
    if (auto exact = FindEntry(
            kind, [&](const ListEntry& entry) { return NamesEqual(entry.record.name(), text); }))
        return exact;
    return FindEntry(kind, [&](const ListEntry& entry) {
        const std::string name = entry.record.name();
        return !name.empty() && fallback(name, text);
    });
}

} // namespace

const char* ResidentKindSuffix(int kind) {
    for (const KindInfo& info : kKinds) {
        if (info.kind == kind)
            return info.suffix;
    }
    return kCsaSuffix;
}

std::string ResidentProfilesKeyPath(std::string_view printerName, int kind) {
    std::string path = kPrintersKey;
    path.append(printerName);
    path.append(ResidentKindSuffix(kind));
    return path;
}

std::optional<ResidentProfileRecord> ReadResidentProfile(platform::Registry& registry,
                                                         std::string_view printerName, int kind,
                                                         std::string_view name) {
    if (printerName.empty() || name.empty())
        return std::nullopt;
    platform::RegistryKey key = 0;
    if (registry.OpenKey(ResidentProfilesKeyPath(printerName, kind), platform::kKeyRead, &key) !=
        platform::kRegistryOk)
        return std::nullopt;
    ResidentProfileRecord record;
    platform::RegistryType type = platform::RegistryType::None;
    std::uint32_t size = ResidentProfileRecord::kSize;
    const long result = registry.QueryValue(key, name, &type, record.bytes.data(), &size);
    registry.CloseKey(key);
    if (result != platform::kRegistryOk || type != platform::RegistryType::Binary ||
        size != ResidentProfileRecord::kSize)
        return std::nullopt;
    TerminateTexts(record);
    return record;
}

bool StoreResidentProfile(const ResidentProfileRecord& record, int kind) {
    const std::string printer = app::TheApp().settings.printerName();
    const std::string name = record.name();
    if (printer.empty() || name.empty())
        return false;
    platform::Registry& registry = platform::registry();
    platform::RegistryKey key = 0;
    if (registry.CreateKey(ResidentProfilesKeyPath(printer, kind), platform::kKeyAllAccess, &key,
                           nullptr) != platform::kRegistryOk)
        return false;
    const long result = registry.SetValue(key, name, platform::RegistryType::Binary,
                                          record.bytes.data(), ResidentProfileRecord::kSize);
    registry.CloseKey(key);
    return result == platform::kRegistryOk;
}

void ListResidentProfiles(const ui::ComboBox& list, int kind) {
    const app::PrinterSettingsBlock& block = app::TheApp().settings;
    const std::string printer = block.printerName();
    if (printer.empty())
        return;
    platform::Registry& registry = platform::registry();
    platform::RegistryKey key = 0;
    bool created = false;
    if (registry.CreateKey(ResidentProfilesKeyPath(printer, kind), platform::kKeyRead, &key,
                           &created) != platform::kRegistryOk)
        return;
    if (!created) {
        const bool diskInstalled = block.diskInstalled() != 0;
        WalkList(registry, key, [&](const ListEntry& entry) {
            const std::string name = entry.record.name();
            if (name.empty() || (entry.record.disk() != 0 && !diskInstalled))
                return false;
            const int index = list.AddString(name);
            if (index >= 0 && IsKnownKind(kind))
                list.SetItemData(index, kind);
            return false;
        });
    }
    registry.CloseKey(key);
}

std::optional<ResidentProfileRecord> FindResidentProfile(std::string_view name, int kind) {
    if (name.empty())
        return std::nullopt;
    const auto entry = FindEntry(
        kind, [&](const ListEntry& candidate) { return candidate.record.name() == name; });
    if (!entry)
        return std::nullopt;
    return entry->record;
}

bool ResidentProfileExists(std::string_view name, int kind) {
    if (name.empty())
        return false;
    return FindEntry(kind,
                     [&](const ListEntry& entry) {
                         return NamesEqual(entry.valueName, name) ||
                                NamesEqual(entry.record.name(), name);
                     })
        .has_value();
}

bool SelectResidentProfile(std::string_view text, int kind) {
    const auto entry = FindNamedEntry(kind, text, [](std::string_view name, std::string_view text) {
        return text.find(name) != std::string_view::npos;
    });
    if (!entry)
        return false;
    app::PrinterSettingsBlock& block = app::TheApp().settings;
    const std::string name = entry->record.name();
    // A name longer than its field is cut to it (the setters never run past a field).
    switch (kind) {
    case kResidentRgbSource:
        block.setRgbSourceProfileName(name);
        break;
    case kResidentSimulation:
        block.setSimulationProfileName(name);
        break;
    case kResidentDestination:
        block.setDestinationProfileName(name);
        break;
    case kResidentCsa:
        block.setCrdColorSpaceName(name);
        break;
    default:
        break;
    }
    return true;
}

std::optional<std::string> DeleteResidentProfile(const ui::ComboBox& list, int kind) {
    const int selected = list.GetCurSel();
    const std::string text = selected >= 0 ? list.GetItemText(selected) : list.GetWindowText();
    const auto entry = FindNamedEntry(kind, text, [](std::string_view name, std::string_view text) {
        return name.find(text) != std::string_view::npos;
    });
    if (!entry)
        return std::nullopt;
    const platform::RegistryKey key = OpenList(kind, platform::kKeyAllAccess);
    if (!key)
        return std::nullopt;
    const long result = platform::registry().DeleteValue(key, entry->valueName);
    platform::registry().CloseKey(key);
    if (result != platform::kRegistryOk)
        return std::nullopt;
    const std::string name = entry->record.name();
    const int index = list.FindStringExact(-1, name);
    if (index >= 0)
        list.DeleteString(index);
    list.SetCurSel(0);
    return name;
}

} // namespace pages
