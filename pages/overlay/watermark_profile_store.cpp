#include "pages/overlay/watermark_profile_store.h"

#include <algorithm>
#include <array>

#include "app/option_tables.h"
#include "pages/overlay/watermark_reset.h"
#include "platform/registry.h"
#include "platform/registry_support.h"
#include "platform/services.h"

namespace pages {
namespace {

constexpr char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers\\";
constexpr char kProfilesSubkey[] = "\\Watermark Profiles\\";
// Value names are read into a buffer of this size (the terminator included).
constexpr std::uint32_t kValueNameBufferSize = 260;

// Opens the store for `access`; 0 when it cannot be opened. Writes create it when missing.
platform::RegistryKey OpenStore(std::string_view printerName, std::uint32_t access, bool create) {
    if (printerName.empty())
        return 0;
    platform::Registry& registry = platform::registry();
    platform::RegistryKey key = 0;
    const std::string path = WatermarkProfilesKey(printerName);
    const long result = create ? registry.CreateKey(path, access, &key, nullptr)
                               : registry.OpenKey(path, access, &key);
    return result == platform::kRegistryOk ? key : 0;
}

// The stored record named `name`, when it is a binary value of exactly the record's size.
bool ReadRecord(std::string_view printerName, std::string_view name,
                app::WatermarkProfile& record) {
    if (name.empty())
        return false; // an empty name would read the key's default value
    const platform::RegistryKey key = OpenStore(printerName, platform::kKeyRead, false);
    if (key == 0)
        return false;
    app::WatermarkProfile buffer; // zeroed: nothing of an earlier read can show through
    platform::RegistryType type = platform::RegistryType::None;
    std::uint32_t size = static_cast<std::uint32_t>(buffer.bytes.size());
    const long result =
        platform::registry().QueryValue(key, name, &type, buffer.bytes.data(), &size);
    platform::registry().CloseKey(key);
    if (result != platform::kRegistryOk || type != platform::RegistryType::Binary ||
        size != app::WatermarkProfile::kSize)
        return false;
    record = buffer;
    return true;
}

} // namespace

int PredefinedWatermarkCode(std::string_view name) {
    for (const app::OptionCode* row = app::WatermarkNames; row->name != nullptr; ++row) {
        if (name == row->name)
            return row->id;
    }
    return 0;
}

std::string UpperCaseName(std::string_view text) {
    std::string upper(text);
    for (char& ch : upper)
        ch =
            static_cast<char>(platform::registry_support::FoldCase(static_cast<unsigned char>(ch)));
    return upper;
}

std::string CutWatermarkName(std::string_view typed) {
    const std::size_t nul = typed.find('\0');
    if (nul != std::string_view::npos)
        typed = typed.substr(0, nul);
    return std::string(typed.substr(0, kMaxWatermarkNameLength));
}

std::string WatermarkProfilesKey(std::string_view printerName) {
    std::string path = kPrintersKey;
    path.append(printerName);
    path.append(kProfilesSubkey);
    return path;
}

app::WatermarkProfile NormalizedWatermarkRecord(const app::WatermarkProfile& record) {
    app::WatermarkProfile normalized = record;
    const std::size_t begin = app::WatermarkProfile::kBlockOffset;
    for (const app::SettingsField& field : app::SettingsFields()) {
        if (field.type != app::FieldType::Text || field.offset < begin ||
            field.offset + field.size > begin + app::WatermarkProfile::kSize)
            continue;
        std::uint8_t* text = normalized.bytes.data() + (field.offset - begin);
        app::detail::StoreText(text, field.size, app::detail::LoadText(text, field.size));
    }
    return normalized;
}

bool LoadWatermarkProfile(app::PrinterSettingsBlock& block, int editorMode) {
    const std::string name = block.watermarkName();
    app::WatermarkProfile record;
    if (!ReadRecord(block.printerName(), name, record)) {
        ResetWatermarkAttributes(block, editorMode);
        return false;
    }
    block.setWatermarkProfile(NormalizedWatermarkRecord(record));
    // The name the profile was found under, whatever another writer put into its record.
    block.setWatermarkName(name);
    return true;
}

long SaveWatermarkProfile(const app::PrinterSettingsBlock& block) {
    const std::string name = block.watermarkName();
    if (name.empty())
        return platform::kRegistryInvalidParameter;
    const platform::RegistryKey key = OpenStore(block.printerName(), platform::kKeyAllAccess, true);
    if (key == 0)
        return platform::kRegistryAccessDenied;
    const app::WatermarkProfile record = NormalizedWatermarkRecord(block.watermarkProfile());
    const long result = platform::registry().SetValue(
        key, name, platform::RegistryType::Binary, record.bytes.data(),
        static_cast<std::uint32_t>(record.bytes.size()));
    platform::registry().CloseKey(key);
    return result;
}

long DeleteWatermarkProfile(std::string_view printerName, std::string_view name) {
    if (name.empty())
        return platform::kRegistryInvalidParameter; // never the key's default value
    const platform::RegistryKey key = OpenStore(printerName, platform::kKeyAllAccess, false);
    if (key == 0)
        return platform::kRegistryNotFound;
    const long result = platform::registry().DeleteValue(key, name);
    platform::registry().CloseKey(key);
    return result;
}

std::vector<std::string> StoredWatermarkNames(std::string_view printerName) {
    std::vector<std::string> names;
    const platform::RegistryKey key = OpenStore(printerName, platform::kKeyRead, false);
    if (key == 0)
        return names;
    platform::Registry& registry = platform::registry();
    for (std::uint32_t index = 0;; ++index) {
        std::array<char, kValueNameBufferSize> name{};
        std::uint32_t nameSize = kValueNameBufferSize;
        const long result =
            registry.EnumValue(key, index, name.data(), &nameSize, nullptr, nullptr, nullptr);
        if (result == platform::kRegistryMoreData)
            continue; // a name longer than the buffer: not one of ours
        if (result != platform::kRegistryOk)
            break;
        const std::string_view found(name.data(), std::min<std::size_t>(nameSize, name.size() - 1));
        if (!found.empty() && found.size() <= kMaxWatermarkNameLength)
            names.emplace_back(found);
    }
    registry.CloseKey(key);
    return names;
}

void FillWatermarkList(const ui::ComboBox& list, std::string_view printerName) {
    list.ResetContent();
    for (const app::OptionCode* row = app::WatermarkNames; row->name != nullptr; ++row) {
        const int index = list.InsertString(-1, row->name);
        if (index >= 0)
            list.SetItemData(index, row->id);
    }
    for (const std::string& name : StoredWatermarkNames(printerName)) {
        if (list.FindStringExact(-1, name) != ui::kListError)
            continue;
        const int index = list.AddString(name);
        if (index >= 0)
            list.SetItemData(index, 0);
    }
}

} // namespace pages
