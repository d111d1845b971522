#pragma once
// What the colour tests share: the test printer's registry keys, records put there directly,
// and a list control of a running dialog to fill.
#include <functional>
#include <string>
#include <string_view>

#include "pages/colour/color_profile_store.h"
#include "pages/colour/resident_profile_store.h"
#include "tests/pages/page_test_support.h"

namespace pages::testing {

using ui::headless::Cp1250;

// The printer AppState names.
inline constexpr char kTestPrinter[] = "Vela Test";

inline std::string ProfilesKey() {
    return ColorProfilesKeyPath(kTestPrinter);
}

inline std::string ResidentKey(int kind) {
    return ResidentProfilesKeyPath(kTestPrinter, kind);
}

inline std::string Bytes(const auto& record) {
    return std::string(record.bytes.begin(), record.bytes.end());
}

// A resident profile as the registry holds it.
inline ResidentProfileRecord Resident(std::string_view name, std::string_view fileName,
                                      std::int16_t disk = 0) {
    ResidentProfileRecord record;
    record.setName(name);
    record.setFileName(fileName);
    record.setDisk(disk);
    return record;
}

inline void PutResident(platform::MemoryRegistry& registry, int kind, std::string_view name,
                        std::string_view fileName = "PROFILE.ICC", std::int16_t disk = 0) {
    registry.Put(ResidentKey(kind), name, platform::RegistryType::Binary,
                 Bytes(Resident(name, fileName, disk)));
}

// A stored colour profile of the block's colour fields under `name` (the record carries the
// name and index 0, as a save writes it).
inline app::ColorProfileRecord PutStoredProfile(platform::MemoryRegistry& registry,
                                                std::string_view name,
                                                app::PrinterSettingsBlock fields) {
    fields.setColorProfileName(name);
    fields.setColorProfileIndex(0);
    const app::ColorProfileRecord record = BuildColorProfileRecord(fields);
    registry.Put(ProfilesKey(), name, platform::RegistryType::Binary, Bytes(record));
    return record;
}

// Colour fields of a stored profile that differ from every predefined profile of colour.ppd.
inline app::PrinterSettingsBlock StoredFields() {
    app::PrinterSettingsBlock fields;
    fields.setColorProfileReserved(1);
    fields.setColorSeparation(1);
    fields.setIccMatching(0);
    fields.setCrdMatching(1);
    fields.setRgbSource(102);
    fields.setColorSimulation(121);
    fields.setDestinationProfile(143);
    fields.setDefaultCrd(2);
    fields.setImageCrd(1);
    fields.setTextCrd(3);
    fields.setGraphicsCrd(2);
    fields.setCrdColorSpace(136);
    return fields;
}

// Runs dialog template `dialogId` without a class of its own and hands `body` its list `listId`.
inline void WithList(ui::headless::TestHost& host, int dialogId, int listId,
                     const std::function<void(const app::OptionComboBox&)>& body) {
    ui::Dialog dialog(dialogId);
    host.OnDialog(dialogId, [&] {
        body(app::OptionComboBox(host.Control(listId).GetHandle()));
        host.PressCancel();
    });
    dialog.DoModal();
}

} // namespace pages::testing
