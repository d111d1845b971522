#include "pages/overlay/watermark_profile_store.h"

#include <utility>

#include "app/option_tables.h"
#include "pages/overlay/watermark_reset.h"
#include "platform/registry.h"
#include "platform/registry_support.h"
#include "platform/scoped_registry_key.h"
#include "platform/services.h"

namespace pages {
namespace {

constexpr char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers\\";
constexpr char kProfilesSubkey[] = "\\Watermark Profiles\\";
// Value names are read into a buffer of this size (the terminator included).
constexpr std::size_t kValueNameBufferSize = 260;
// More values than any printer holds: a bound on the walk whatever the registry answers.
constexpr std::uint32_t kMaxStoredProfiles = 1u << 16;

// The store of the printer, opened for reading (never created: there is nothing to read in a
// store that does not exist) or for writing (created when missing).
platform::ScopedRegistryKey OpenStoreForReading(std::string_view printerName) {
    return platform::ScopedRegistryKey::Open(platform::registry(),
                                             WatermarkProfilesKey(printerName), platform::kKeyRead);
}

// The stored record named `name`: a binary value of at most the record's size, the rest zero.
bool ReadRecord(std::string_view printerName, std::string_view name,
                app::WatermarkProfile& record) {
    if (printerName.empty() || name.empty())
        return false;             // an empty name would read the key's default value
    app::WatermarkProfile buffer; // zeroed: nothing of an earlier read can show through
    if (!OpenStoreForReading(printerName).ReadRecord(name, buffer.bytes))
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
    const std::string printer = block.printerName();
    if (name.empty() || printer.empty())
        return platform::kRegistryInvalidParameter;
    const auto store = platform::ScopedRegistryKey::Create(
        platform::registry(), WatermarkProfilesKey(printer), platform::kKeyAllAccess);
    const app::WatermarkProfile record = NormalizedWatermarkRecord(block.watermarkProfile());
    return store.SetBinary(name, record.bytes);
}

long DeleteWatermarkProfile(std::string_view printerName, std::string_view name) {
    if (name.empty() || printerName.empty())
        return platform::kRegistryInvalidParameter; // never the key's default value
    const auto store = platform::ScopedRegistryKey::Open(
        platform::registry(), WatermarkProfilesKey(printerName), platform::kKeyAllAccess);
    return store.DeleteValue(name);
}

std::vector<std::string> StoredWatermarkNames(std::string_view printerName) {
    std::vector<std::string> names;
    if (printerName.empty())
        return names;
    const platform::ScopedRegistryKey store = OpenStoreForReading(printerName);
    for (std::uint32_t index = 0; index < kMaxStoredProfiles; ++index) {
        std::string name;
        const long result = store.EnumValueName(index, kValueNameBufferSize, &name);
        if (result == platform::kRegistryMoreData)
            continue; // a name longer than the buffer: not one of ours
        if (result != platform::kRegistryOk)
            break;
        if (!name.empty() && name.size() <= kMaxWatermarkNameLength)
            names.push_back(std::move(name));
    }
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
