#pragma once
// Colour profiles: the colour fields of the settings block (bytes 215 to 530) as one unit. A
// profile is predefined (an option of the PPD's "CustomColor" feature, whose own feature of the
// same keyword describes what it sets; `colorProfileIndex` holds its ColorProfileNames code) or
// stored (a named copy of the fields, the 316-byte ColorProfileRecord kept as a REG_BINARY value
// under the printer's "Color Profiles" key; `colorProfileIndex` 0 and `colorProfileName` naming
// the value). The colour options dialog and the Features page's quick colour list share this
// store.
//
// The operations without a block argument work on the application's live block, PPD model and
// registry (platform::registry()), under the printer the block names. Registry failures are
// silent: a profile that cannot be read is not listed and does not load. The key is opened with
// read rights for reading and full rights only to write or delete.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/option_combo_box.h"
#include "app/settings_block.h"

namespace platform {
class Registry;
}

namespace pages {

// `colorProfileIndex` of a stored profile, and the predefined codes the colour rules name.
inline constexpr int kStoredColorProfile = 0;
inline constexpr int kAutoColorProfile = 1;
inline constexpr int kGrayColorProfile = 3;
inline constexpr int kAllBlackColorProfile = 6;

// The profile name of a fresh block, and the stored profile that holds unsaved changes.
inline constexpr char kAutoColorProfileName[] = "AutoCustomColor";
inline constexpr char kCustomColorProfileName[] = "Vlastn\xE9";

// The longest name `colorProfileName` holds.
inline constexpr std::size_t kMaxColorProfileNameLength = 63;

// The PPD feature that lists the predefined profiles.
inline constexpr char kColorProfileFeature[] = "CustomColor";

// "System\CurrentControlSet\Control\Print\Printers\<printer>\Color Profiles\".
std::string ColorProfilesKeyPath(std::string_view printerName);

// True for a code of ColorProfileNames (a predefined profile); 0 and unknown codes are not.
bool IsPredefinedColorProfileCode(int code);

// True for the grey profiles (3 and 6), which print without colour separation.
inline bool IsGrayColorProfile(int code) {
    return code == kGrayColorProfile || code == kAllBlackColorProfile;
}

// The block's colour fields as a stored record: the five names (each zero-filled after its
// terminator) and the thirteen codes; the last two bytes, which no field owns, are zero.
app::ColorProfileRecord BuildColorProfileRecord(const app::PrinterSettingsBlock& block);
// Copies the record's names and codes back into the block; `grayColorModel` is left alone.
void RestoreColorProfileRecord(app::PrinterSettingsBlock& block,
                               const app::ColorProfileRecord& record);
// True when the block's five names and its codes but `colorProfileReserved` (and the grey
// model, which is no part of a profile) equal the snapshot's.
bool ColorSettingsMatch(const app::PrinterSettingsBlock& block,
                        const app::ColorProfileRecord& snapshot);

// The stored profile of that name, or nothing when it is missing or unreadable (a value that is
// not REG_BINARY, or longer than 316 bytes). A shorter value is read as the front of a zeroed
// record (other programs write these values too); its names are terminated in their slots.
std::optional<app::ColorProfileRecord> ReadStoredColorProfile(platform::Registry& registry,
                                                              std::string_view printerName,
                                                              std::string_view name);
// Writes the record as the REG_BINARY value `name` (316 bytes), creating the key. False when
// nothing was written.
bool WriteStoredColorProfile(platform::Registry& registry, std::string_view printerName,
                             std::string_view name, const app::ColorProfileRecord& record);
// Deletes the value `name`; true when it was deleted.
bool DeleteStoredColorProfile(platform::Registry& registry, std::string_view printerName,
                              std::string_view name);
// Whether the registry holds a value of that name, readable or not.
bool StoredColorProfileExists(platform::Registry& registry, std::string_view printerName,
                              std::string_view name);

// Whether the stored profile `name` can be offered: it is readable and, while no hard disk is
// installed, none of the printer-resident profiles it uses (RGB source, destination,
// simulation) is kept on the printer's disk. A resident profile that is missing does not count.
bool IsStoredColorProfileUsable(std::string_view name);

// Empties `list` and fills it: the PPD's predefined profiles in file order (their display
// texts, their codes as item data), then the usable stored profiles in sorted position with
// item data 0, leaving out names longer than kMaxColorProfileNameLength (the block could not
// name them). Selects the current profile: by code when `colorProfileIndex` is non-zero (the
// first entry stays selected without one), else the entry whose whole text is
// `colorProfileName` (ignoring case); when there is none, `colorProfileIndex` becomes 1 and the
// entry with code 1 is selected.
void FillColorProfileList(const app::OptionComboBox& list);

// Loads the stored profile `colorProfileName` into the block and sets `colorProfileIndex` to 0;
// false (the block unchanged) when it is missing or unreadable.
bool LoadStoredColorProfile();

// Sets the colour fields from the PPD's description of the predefined profile
// `colorProfileIndex`: `destinationProfile` becomes 143 ("Auto"), then each option of the
// profile's feature sets the field its keyword names ("Colormodel", "CRDMatch", "CRDImage",
// "CRDText", "CRDGraphics", "CSA", "CMMmatch", "RGBSource", "Simulation", "ColorSeps") from its
// invocation. False, the block unchanged, when the PPD does not describe the profile.
bool ApplyPredefinedColorProfile();

} // namespace pages
