#include "pages/colour/color_profile_store.h"

#include <cstdint>

#include "app/config_app.h"
#include "app/option_tables.h"
#include "pages/colour/list_entries.h"
#include "pages/colour/resident_profile_store.h"
#include "platform/registry.h"
#include "platform/scoped_registry_key.h"
#include "platform/services.h"
#include "ppd/ppd.h"

namespace pages {
namespace {

using app::ColorProfileRecord;
using app::PrinterSettingsBlock;

constexpr char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers\\";
constexpr char kColorProfilesSuffix[] = "\\Color Profiles\\";
// Value names of the "Color Profiles" key are read into a buffer of this size.
constexpr std::size_t kProfileNameBufferSize = 260;
// More values than any printer holds: a bound on the walk whatever the registry answers.
constexpr std::uint32_t kMaxStoredProfiles = 1u << 16;
// `destinationProfile` of a predefined profile: "Auto".
constexpr std::int16_t kAutoDestination = 143;

// The name slots of a record: offset and size, as in the block from byte 215.
struct NameSlot {
    std::size_t offset;
    std::size_t size;
};
constexpr NameSlot kNameSlots[] = {{0, 64}, {64, 64}, {128, 64}, {192, 64}, {256, 32}};
static_assert(kMaxColorProfileNameLength + 1 == kNameSlots[0].size);

// The codes ColorSettingsMatch compares (record offsets; 290, `colorProfileReserved`, is not).
constexpr std::size_t kComparedCodes[] = {288, 292, 294, 296, 298, 300,
                                          302, 304, 306, 308, 310, 312};
constexpr std::size_t kUnownedOffset = 314;

// How a predefined profile's setting turns its value into a field.
enum class SettingKind { GrayModel, Flag, Code };

struct PredefinedSetting {
    const char* keyword;
    SettingKind kind;
    const app::OptionCode* table; // for Code
    void (PrinterSettingsBlock::*set)(std::int16_t);
};

const PredefinedSetting kPredefinedSettings[] = {
    {"Colormodel", SettingKind::GrayModel, nullptr, &PrinterSettingsBlock::setGrayColorModel},
    {"CRDMatch", SettingKind::Flag, nullptr, &PrinterSettingsBlock::setCrdMatching},
    {"CRDImage", SettingKind::Code, app::RenderingStyleNames, &PrinterSettingsBlock::setImageCrd},
    {"CRDText", SettingKind::Code, app::RenderingStyleNames, &PrinterSettingsBlock::setTextCrd},
    {"CRDGraphics", SettingKind::Code, app::RenderingStyleNames,
     &PrinterSettingsBlock::setGraphicsCrd},
    {"CSA", SettingKind::Code, app::CrdColorSpaceNames, &PrinterSettingsBlock::setCrdColorSpace},
    {"CMMmatch", SettingKind::Flag, nullptr, &PrinterSettingsBlock::setIccMatching},
    {"RGBSource", SettingKind::Code, app::RgbSourceNames, &PrinterSettingsBlock::setRgbSource},
    {"Simulation", SettingKind::Code, app::SimulationNames,
     &PrinterSettingsBlock::setColorSimulation},
    {"ColorSeps", SettingKind::Flag, nullptr, &PrinterSettingsBlock::setColorSeparation},
};

std::int16_t SettingValue(const PredefinedSetting& setting, std::string_view value) {
    switch (setting.kind) {
    case SettingKind::GrayModel:
        return value == "Gray" ? 1 : 0;
    case SettingKind::Flag:
        return value == "True" ? 1 : 0;
    case SettingKind::Code:
        return static_cast<std::int16_t>(app::CodeOfName(setting.table, value));
    }
    return 0;
}

// The stored profile's fields, read through a block's accessors.
PrinterSettingsBlock BlockOf(const ColorProfileRecord& record) {
    PrinterSettingsBlock fields;
    fields.setColorProfileRecord(record);
    return fields;
}

// The resident profiles a stored profile may use, with the kind of each.
struct ResidentUse {
    int kind;
    std::int16_t (PrinterSettingsBlock::*code)() const;
    std::string (PrinterSettingsBlock::*name)() const;
};
constexpr ResidentUse kResidentUses[] = {
    {kResidentRgbSource, &PrinterSettingsBlock::rgbSource,
     &PrinterSettingsBlock::rgbSourceProfileName},
    {kResidentDestination, &PrinterSettingsBlock::destinationProfile,
     &PrinterSettingsBlock::destinationProfileName},
    {kResidentSimulation, &PrinterSettingsBlock::colorSimulation,
     &PrinterSettingsBlock::simulationProfileName},
};

// Runs `use` on the printer's "Color Profiles" key, opened for `access` and created when absent
// as every use of the store has it, for the profile `name`; `otherwise` when the name or the
// printer is empty or the key cannot be had. Reading asks for read rights only, which a
// standard user has on an existing key.
template <typename Result, typename Use>
Result WithProfilesKey(platform::Registry& registry, std::string_view printerName,
                       std::string_view name, std::uint32_t access, Result otherwise, Use use) {
    if (name.empty() || printerName.empty())
        return otherwise;
    const auto key =
        platform::ScopedRegistryKey::Create(registry, ColorProfilesKeyPath(printerName), access);
    if (!key)
        return otherwise;
    return use(key);
}

// Adds the usable stored profiles to the list, with item data 0. A name longer than the block's
// `colorProfileName` holds is not offered: chosen, it would be cut and never found again.
void ListStoredProfiles(const app::OptionComboBox& list) {
    const std::string printer = app::TheApp().settings.printerName();
    if (printer.empty())
        return;
    const auto key = platform::ScopedRegistryKey::Create(
        platform::registry(), ColorProfilesKeyPath(printer), platform::kKeyRead);
    if (!key)
        return;
    for (std::uint32_t index = 0; index < kMaxStoredProfiles; ++index) {
        std::string name;
        const long result = key.EnumValueName(index, kProfileNameBufferSize, &name);
        if (result == platform::kRegistryMoreData)
            continue; // a name too long for the buffer
        if (result != platform::kRegistryOk)
            break;
        if (name.empty() || name.size() > kMaxColorProfileNameLength ||
            !IsStoredColorProfileUsable(name))
            continue;
        const int entry = list.AddString(name);
        if (entry >= 0)
            list.SetItemData(entry, kStoredColorProfile);
    }
}

} // namespace

std::string ColorProfilesKeyPath(std::string_view printerName) {
    std::string path = kPrintersKey;
    path.append(printerName);
    path.append(kColorProfilesSuffix);
    return path;
}

bool IsPredefinedColorProfileCode(int code) {
    return code != kStoredColorProfile && app::NameOfCode(app::ColorProfileNames, code) != nullptr;
}

ColorProfileRecord BuildColorProfileRecord(const PrinterSettingsBlock& block) {
    ColorProfileRecord record = block.colorProfileRecord();
    for (const NameSlot& slot : kNameSlots) {
        std::uint8_t* text = &record.bytes[slot.offset];
        app::detail::StoreText(text, slot.size, app::detail::LoadText(text, slot.size));
    }
    record.bytes[kUnownedOffset] = 0;
    record.bytes[kUnownedOffset + 1] = 0;
    return record;
}

void RestoreColorProfileRecord(PrinterSettingsBlock& block, const ColorProfileRecord& record) {
    block.setColorProfileRecord(record);
}

bool ColorSettingsMatch(const PrinterSettingsBlock& block, const ColorProfileRecord& snapshot) {
    const ColorProfileRecord current = block.colorProfileRecord();
    for (const NameSlot& slot : kNameSlots) {
        if (app::detail::LoadText(&current.bytes[slot.offset], slot.size) !=
            app::detail::LoadText(&snapshot.bytes[slot.offset], slot.size))
            return false;
    }
    for (std::size_t offset : kComparedCodes) {
        if (app::detail::LoadInt16(&current.bytes[offset]) !=
            app::detail::LoadInt16(&snapshot.bytes[offset]))
            return false;
    }
    return true;
}

std::optional<ColorProfileRecord> ReadStoredColorProfile(platform::Registry& registry,
                                                         std::string_view printerName,
                                                         std::string_view name) {
    ColorProfileRecord record;
    const bool read = WithProfilesKey(
        registry, printerName, name, platform::kKeyRead, false,
        [&](const platform::ScopedRegistryKey& key) { return key.ReadRecord(name, record.bytes); });
    if (!read)
        return std::nullopt;
    for (const NameSlot& slot : kNameSlots)
        app::detail::TerminateText(&record.bytes[slot.offset], slot.size);
    return record;
}

bool WriteStoredColorProfile(platform::Registry& registry, std::string_view printerName,
                             std::string_view name, const ColorProfileRecord& record) {
    return WithProfilesKey(registry, printerName, name, platform::kKeyAllAccess, false,
                           [&](const platform::ScopedRegistryKey& key) {
                               return key.SetBinary(name, record.bytes) == platform::kRegistryOk;
                           });
}

bool DeleteStoredColorProfile(platform::Registry& registry, std::string_view printerName,
                              std::string_view name) {
    return WithProfilesKey(registry, printerName, name, platform::kKeyAllAccess, false,
                           [&](const platform::ScopedRegistryKey& key) {
                               return key.DeleteValue(name) == platform::kRegistryOk;
                           });
}

bool StoredColorProfileExists(platform::Registry& registry, std::string_view printerName,
                              std::string_view name) {
    return WithProfilesKey(registry, printerName, name, platform::kKeyRead, false,
                           [&](const platform::ScopedRegistryKey& key) {
                               std::uint32_t size = 0;
                               return key.QueryValue(name, nullptr, nullptr, &size) ==
                                      platform::kRegistryOk;
                           });
}

bool IsStoredColorProfileUsable(std::string_view name) {
    const PrinterSettingsBlock& block = app::TheApp().settings;
    platform::Registry& registry = platform::registry();
    const std::string printer = block.printerName();
    const std::optional<ColorProfileRecord> record =
        ReadStoredColorProfile(registry, printer, name);
    if (!record)
        return false;
    if (block.diskInstalled() != 0)
        return true;
    const PrinterSettingsBlock profile = BlockOf(*record);
    for (const ResidentUse& use : kResidentUses) {
        if ((profile.*use.code)() != use.kind)
            continue;
        const auto resident =
            ReadResidentProfile(registry, printer, use.kind, (profile.*use.name)());
        if (resident && resident->disk() != 0)
            return false;
    }
    return true;
}

void FillColorProfileList(const app::OptionComboBox& list) {
    PrinterSettingsBlock& block = app::TheApp().settings;
    list.ResetContent();
    list.FillFromFeature(app::TheApp().ppdDocument, kColorProfileFeature, app::ColorProfileNames,
                         kStoredColorProfile);
    ListStoredProfiles(list);
    const int index = block.colorProfileIndex();
    if (index != kStoredColorProfile) {
        list.SelectCode(index);
        // A profile the PPD does not offer is shown as the entry the list selected instead: the
        // block takes that predefined profile, so that OK sends what the list shows.
        const int shown = list.GetCurSel();
        const auto shownCode = static_cast<int>(shown >= 0 ? list.GetItemData(shown) : index);
        if (shownCode != index && IsPredefinedColorProfileCode(shownCode)) {
            block.setColorProfileIndex(static_cast<std::int16_t>(shownCode));
            block.setColorProfileName(list.GetItemText(shown));
        }
        return;
    }
    const int stored = FindEntryWithCode(list, block.colorProfileName(), kStoredColorProfile);
    if (stored >= 0) {
        list.SetCurSel(stored);
        return;
    }
    block.setColorProfileIndex(kAutoColorProfile);
    list.SelectCode(kAutoColorProfile);
}

bool LoadStoredColorProfile() {
    PrinterSettingsBlock& block = app::TheApp().settings;
    const std::optional<ColorProfileRecord> record =
        ReadStoredColorProfile(platform::registry(), block.printerName(), block.colorProfileName());
    if (!record)
        return false;
    RestoreColorProfileRecord(block, *record);
    block.setColorProfileIndex(kStoredColorProfile);
    return true;
}

bool ApplyPredefinedColorProfile() {
    PrinterSettingsBlock& block = app::TheApp().settings;
    const ppd::PpdDocument* document = app::TheApp().ppdDocument;
    const char* keyword = app::NameOfCode(app::ColorProfileNames, block.colorProfileIndex());
    const ppd::PpdOption* profile = nullptr;
    if (!keyword || !document || !ppd::GetOptions(document, kColorProfileFeature, &profile))
        return false;
    const std::string_view wanted = keyword;
    while (profile && !(profile->name && wanted == profile->name.get()))
        profile = profile->next.get();
    const ppd::PpdOption* setting = nullptr;
    if (!profile || !ppd::GetOptions(document, wanted, &setting))
        return false;
    block.setDestinationProfile(kAutoDestination);
    for (; setting; setting = setting->next.get()) {
        if (!setting->name)
            continue;
        const std::string_view name = setting->name.get();
        const std::string_view value = setting->invocation ? setting->invocation.get() : "";
        for (const PredefinedSetting& known : kPredefinedSettings) {
            if (name == known.keyword)
                (block.*known.set)(SettingValue(known, value));
        }
    }
    return true;
}

} // namespace pages
