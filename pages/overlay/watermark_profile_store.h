#pragma once
// The printer's watermark profiles: named copies of the block's 148-byte watermark record,
// kept as REG_BINARY values (value name = watermark name) under HKEY_LOCAL_MACHINE
// "System\CurrentControlSet\Control\Print\Printers\<printer>\Watermark Profiles". Also the
// watermark names that the Overlay page and the watermark editor share: the seven predefined
// watermarks of WatermarkNames, "Žiadny" (no watermark) first.
//
// Registry failures are not reported: a profile that cannot be read counts as absent, and a
// failed write or delete is returned to the caller, which decides what the user is told.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings_block.h"
#include "ui/window.h"

namespace pages {

// "Žiadny": no watermark; the first predefined name, code 1.
inline constexpr char kNoWatermarkName[] = "\x8Eiadny";
// `watermarkCode` values besides the predefined ids 1 to 7.
inline constexpr std::int16_t kNoWatermarkCode = 1;
inline constexpr std::int16_t kStoredWatermarkCode = 8;
inline constexpr std::int16_t kUnchosenWatermarkCode = -1;
// The longest name the block's `watermarkName` holds.
inline constexpr std::size_t kMaxWatermarkNameLength = 31;
// The longest watermark text the block holds.
inline constexpr std::size_t kMaxWatermarkTextLength = 63;

// The id (1 to 7) of the predefined watermark whose name is exactly `name`; 0 for any other.
int PredefinedWatermarkCode(std::string_view name);
inline bool IsPredefinedWatermark(std::string_view name) {
    return PredefinedWatermarkCode(name) != 0;
}

// The upper-case form of a code page 1250 text by that code page's own letters ("žiadny" is
// "ŽIADNY"), whatever code page the system runs with.
std::string UpperCaseName(std::string_view text);

// A typed name as the block and the store keep it: its first 31 characters. The profile's
// value name and the block's name are always this same text.
std::string CutWatermarkName(std::string_view typed);

// The store's key below HKEY_LOCAL_MACHINE.
std::string WatermarkProfilesKey(std::string_view printerName);

// The record with every text (name, text, font) terminated inside its array and followed only
// by zeros, so that a stored or loaded record never carries stale bytes.
app::WatermarkProfile NormalizedWatermarkRecord(const app::WatermarkProfile& record);

// Reads the profile named `watermarkName` into the block's record. A REG_BINARY value of at
// most 148 bytes is taken, followed by zeros where it is shorter (other programs write these
// values too); its texts are normalised, and the block keeps the name it was looked up by.
// Anything else (no printer or watermark name, no such value, a longer value or another type,
// an unreadable key) resets the attributes (ResetWatermarkAttributes with `editorMode`) and
// returns false. The store is opened for reading only.
bool LoadWatermarkProfile(app::PrinterSettingsBlock& block, int editorMode);

// Writes the block's record, normalised, as the profile named `watermarkName`, replacing one
// of that name; the key is created when missing. Returns the registry's result; without a
// printer or watermark name nothing is written (kRegistryInvalidParameter).
long SaveWatermarkProfile(const app::PrinterSettingsBlock& block);

// Deletes the profile `name`; the registry's result (kRegistryNotFound when there is none, or
// the store's).
long DeleteWatermarkProfile(std::string_view printerName, std::string_view name);

// The value names of the store in its enumeration order, leaving out names longer than the
// block's name field can hold: such a profile could not be found again under its cut name.
std::vector<std::string> StoredWatermarkNames(std::string_view printerName);

// Empties `list`, appends the seven predefined names in table order with their ids as item
// data, then adds every stored name the list does not hold yet (compared without regard to
// case) with the list's own add operation (sorted on the Overlay page) and item data 0.
void FillWatermarkList(const ui::ComboBox& list, std::string_view printerName);

} // namespace pages
