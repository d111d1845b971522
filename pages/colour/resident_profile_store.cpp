#include "pages/colour/resident_profile_store.h"

#include <functional>
#include <limits>

#include "app/config_app.h"
#include "platform/registry.h"
#include "platform/registry_support.h"
#include "platform/scoped_registry_key.h"
#include "platform/services.h"
#include "ui/dialog.h"

namespace pages {
namespace {

constexpr char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers\\";
// More values than any list holds: a bound on the walk whatever the registry answers.
constexpr std::uint32_t kMaxListEntries = 1u << 16;

struct KindInfo {
    int kind;
    const char* suffix;
    const char* blockField; // the name field a chosen profile goes to
};

constexpr char kCsaSuffix[] = "\\Printer Resident\\CSA Profiles\\";

constexpr KindInfo kKinds[] = {
    {kResidentRgbSource, "\\Printer Resident\\RGB Source Profiles\\", "rgbSourceProfileName"},
    {kResidentSimulation, "\\Printer Resident\\Simulation Profiles\\", "simulationProfileName"},
    {kResidentDestination, "\\Printer Resident\\Destination Profiles\\", "destinationProfileName"},
    {kResidentCsa, kCsaSuffix, "crdColorSpaceName"},
};

const KindInfo* InfoOfKind(int kind) {
    for (const KindInfo& info : kKinds) {
        if (info.kind == kind)
            return &info;
    }
    return nullptr;
}

bool IsKnownKind(int kind) {
    return InfoOfKind(kind) != nullptr;
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

// Visits the readable entries of an open list in order until `visit` returns true. A record is
// REG_BINARY of at most the record's size, zero-filled (other programs, the download manager
// among them, write these values too); names too long for the name buffer, values too long for
// a record and other types are skipped. The walk ends at the last value or at any other
// failure.
void WalkList(const platform::ScopedRegistryKey& key,
              const std::function<bool(const ListEntry&)>& visit) {
    for (std::uint32_t index = 0; index < kMaxListEntries; ++index) {
        ListEntry entry;
        bool isRecord = false;
        const long result = key.EnumRecord(index, kResidentNameBufferSize, &entry.valueName,
                                           entry.record.bytes, &isRecord);
        if (result == platform::kRegistryMoreData)
            continue;
        if (result != platform::kRegistryOk)
            return;
        if (!isRecord)
            continue;
        TerminateTexts(entry.record);
        if (visit(entry))
            return;
    }
}

// The kind's list of the live block's printer opened for `access`; not open without a printer.
std::optional<platform::ScopedRegistryKey> OpenList(int kind, std::uint32_t access) {
    const std::string printer = app::TheApp().settings.printerName();
    if (printer.empty())
        return std::nullopt;
    auto key = platform::ScopedRegistryKey::Open(platform::registry(),
                                                 ResidentProfilesKeyPath(printer, kind), access);
    if (!key)
        return std::nullopt;
    return key;
}

// The first entry that `match` accepts, from the walk of the kind's list.
std::optional<ListEntry> FindEntry(int kind, const std::function<bool(const ListEntry&)>& match) {
    const auto key = OpenList(kind, platform::kKeyRead);
    if (!key)
        return std::nullopt;
    std::optional<ListEntry> found;
    WalkList(*key, [&](const ListEntry& entry) {
        if (!match(entry))
            return false;
        found = entry;
        return true;
    });
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
    const KindInfo* info = InfoOfKind(kind);
    return info ? info->suffix : kCsaSuffix;
}

std::size_t ResidentNameLimit(int kind) {
    const KindInfo* info = InfoOfKind(kind);
    const app::SettingsField* field = info ? app::FindSettingsField(info->blockField) : nullptr;
    return field ? field->size - 1 : std::numeric_limits<std::size_t>::max();
}

bool ResidentNameFits(std::string_view name, int kind) {
    return name.size() <= ResidentNameLimit(kind);
}

std::string ResidentNameTooLongMessage(int kind) {
    std::string text = kResidentNameTooLongBefore;
    text.append(std::to_string(ResidentNameLimit(kind)));
    text.append(kResidentNameTooLongAfter);
    return text;
}

void RefuseResidentName(const ui::Dialog& owner, int kind) {
    owner.MessageBox(ResidentNameTooLongMessage(kind), ui::kMbOk | ui::kMbIconWarning);
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
    const auto key = platform::ScopedRegistryKey::Open(
        registry, ResidentProfilesKeyPath(printerName, kind), platform::kKeyRead);
    ResidentProfileRecord record;
    if (!key.ReadRecord(name, record.bytes))
        return std::nullopt;
    TerminateTexts(record);
    return record;
}

bool StoreResidentProfile(const ResidentProfileRecord& record, int kind) {
    const std::string printer = app::TheApp().settings.printerName();
    const std::string name = record.name();
    if (printer.empty() || name.empty())
        return false;
    const auto key = platform::ScopedRegistryKey::Create(
        platform::registry(), ResidentProfilesKeyPath(printer, kind), platform::kKeyAllAccess);
    return key.SetBinary(name, record.bytes) == platform::kRegistryOk;
}

void ListResidentProfiles(const ui::ComboBox& list, int kind) {
    const app::PrinterSettingsBlock& block = app::TheApp().settings;
    const std::string printer = block.printerName();
    if (printer.empty())
        return;
    bool created = false;
    const auto key = platform::ScopedRegistryKey::Create(
        platform::registry(), ResidentProfilesKeyPath(printer, kind), platform::kKeyRead, &created);
    if (key && !created) {
        const bool diskInstalled = block.diskInstalled() != 0;
        WalkList(key, [&](const ListEntry& entry) {
            const std::string name = entry.record.name();
            if (name.empty() || (entry.record.disk() != 0 && !diskInstalled))
                return false;
            const int index = list.AddString(name);
            if (index >= 0 && IsKnownKind(kind))
                list.SetItemData(index, kind);
            return false;
        });
    }
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
    const std::string name = entry->record.name();
    // A name longer than its field is never cut: cut, it would name no profile.
    if (!ResidentNameFits(name, kind))
        return false;
    app::PrinterSettingsBlock& block = app::TheApp().settings;
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
    const auto key = OpenList(kind, platform::kKeyAllAccess);
    if (!key || key->DeleteValue(entry->valueName) != platform::kRegistryOk)
        return std::nullopt;
    const std::string name = entry->record.name();
    const int index = list.FindStringExact(-1, name);
    if (index >= 0)
        list.DeleteString(index);
    list.SetCurSel(0);
    return name;
}

} // namespace pages
