#pragma once
// The printer-resident profile lists: per printer and per kind, the colour profiles the user has
// declared as loaded into the printer, one REG_BINARY value per profile (value name = profile
// name, data = a 362-byte ResidentProfileRecord) under
// "System\CurrentControlSet\Control\Print\Printers\<printer>\Printer Resident\<kind>\". The ICC
// and CRD matching dialogs offer these names beside the PPD's options; a chosen name is copied
// into the settings block.
//
// A record is a REG_BINARY value of at most the record's size, read into a zeroed record (other
// programs, the download manager among them, write these values too); a longer value, another
// type, or a name that does not fit the 260-byte name buffer is skipped, and every text taken
// from a record is terminated inside its field. Lists are read with read rights only. Registry
// failures are silent: nothing is stored, listed or found.
//
// A profile whose name is longer than the block field of its kind stays listed (the printer
// holds it, and the lists are also where it is managed) but is never chosen: choosing it is
// refused with a message, since a cut name would name no profile.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/settings_block.h"

namespace platform {
class Registry;
}
namespace ui {
class ComboBox;
class Dialog;
} // namespace ui

namespace pages {

// Kinds of resident profile: the codes the block's colour fields carry for "the profile named in
// the matching name field". Any other code is treated as the CSA kind, but names no block field.
inline constexpr int kResidentRgbSource = 108;
inline constexpr int kResidentSimulation = 125;
inline constexpr int kResidentCsa = 137;
inline constexpr int kResidentDestination = 144;

// The value names of the lists are read into a buffer of this size (terminator included).
inline constexpr std::size_t kResidentNameBufferSize = 260;

// One entry of a resident list: bytes 0 to 3 are not written by this program, the 16-bit disk
// field at 4 is non-zero for a profile kept on the printer's hard disk, then the NUL-terminated
// description (`name`, also the value name) and the name of the file loaded into the printer.
struct ResidentProfileRecord {
    static constexpr std::size_t kSize = 362;
    static constexpr std::size_t kDiskOffset = 4;
    static constexpr std::size_t kNameOffset = 6;
    static constexpr std::size_t kNameSize = 96;
    static constexpr std::size_t kFileNameOffset = 102;
    static constexpr std::size_t kFileNameSize = 260;

    std::array<std::uint8_t, kSize> bytes{};

    std::int16_t disk() const { return app::detail::LoadInt16(&bytes[kDiskOffset]); }
    void setDisk(std::int16_t v) { app::detail::StoreInt16(&bytes[kDiskOffset], v); }
    std::string name() const { return app::detail::LoadText(&bytes[kNameOffset], kNameSize); }
    bool setName(std::string_view text) {
        return app::detail::StoreText(&bytes[kNameOffset], kNameSize, text);
    }
    std::string fileName() const {
        return app::detail::LoadText(&bytes[kFileNameOffset], kFileNameSize);
    }
    bool setFileName(std::string_view text) {
        return app::detail::StoreText(&bytes[kFileNameOffset], kFileNameSize, text);
    }

    bool operator==(const ResidentProfileRecord&) const = default;
};

// The message that refuses a name too long for its block field (code page 1250): "Profil s
// názvom dlhším ako " + the field's characters + " znakov sa nedá vybrať".
inline constexpr char kResidentNameTooLongBefore[] = "Profil s n\xE1zvom dlh\x9A\xEDm ako ";
inline constexpr char kResidentNameTooLongAfter[] = " znakov sa ned\xE1 vybra\x9D";

// "\Printer Resident\RGB Source Profiles\" and the like; the CSA list for any other code.
const char* ResidentKindSuffix(int kind);
// The key of a kind's list below HKEY_LOCAL_MACHINE.
std::string ResidentProfilesKeyPath(std::string_view printerName, int kind);

// The most characters the block field of the kind holds (63; 31 for the CSA kind); no limit for
// a code that names no field.
std::size_t ResidentNameLimit(int kind);
// Whether a profile of that name can be chosen for the kind: its name fits the block field.
bool ResidentNameFits(std::string_view name, int kind);
// The refusal for the kind: "Profil s názvom dlhším ako 31 znakov sa nedá vybrať".
std::string ResidentNameTooLongMessage(int kind);
// Shows that refusal in a message box of `owner` (the application's name as caption).
void RefuseResidentName(const ui::Dialog& owner, int kind);

// The operations below work on the application's registry (platform::registry()), the printer
// its live block names, and that block: its `diskInstalled` decides what is listed, and its name
// fields receive a chosen profile. Without a printer name they store, list and find nothing.

// Writes the record as the value named by its `name`, creating the key. False when nothing was
// written (no name in the record, or a registry failure).
bool StoreResidentProfile(const ResidentProfileRecord& record, int kind);

// Adds the names of the kind's profiles to `list` (in sorted position for a sorted list), with
// the kind as item data; a profile kept on the printer's disk only while `diskInstalled` is set.
// Opening the list creates its key; a key that was new lists nothing.
void ListResidentProfiles(const ui::ComboBox& list, int kind);

// The first profile whose name equals `name` exactly, or nothing.
std::optional<ResidentProfileRecord> FindResidentProfile(std::string_view name, int kind);

// Whether the registry holds a profile of that name (ignoring case), listed or hidden.
bool ResidentProfileExists(std::string_view name, int kind);

// The profile `text` names: the one whose name equals it (ignoring case), else the first whose
// name occurs within it. Its name goes into the block's name field of the kind (the CSA kind's
// field only for code 137); true when one was found. A name longer than the field is never cut:
// false, and the block is unchanged.
bool SelectResidentProfile(std::string_view text, int kind);

// Deletes the profile that `list` names (its selected entry, else its own text): the one whose
// name equals that text (ignoring case), else the first whose name contains it. Only that value
// goes, its entry leaves `list` and the first entry is selected. Returns the deleted profile's
// name; nothing (and nothing deleted) for an empty text or when no profile matches.
std::optional<std::string> DeleteResidentProfile(const ui::ComboBox& list, int kind);

// The resident profile of that value name when its record is readable (read directly, without
// walking the list), or nothing.
std::optional<ResidentProfileRecord> ReadResidentProfile(platform::Registry& registry,
                                                         std::string_view printerName, int kind,
                                                         std::string_view name);

} // namespace pages
