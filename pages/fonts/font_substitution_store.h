#pragma once
// The printer's font substitution tables in the registry, under the printer's driver-data key:
// "FontSub" is the current table (the Fonts page edits it), "DfltFontSub" the default one that
// the driver side provides and this program only reads, "RESFONT" the printer-resident fonts.
#include <string>
#include <string_view>

namespace platform {
class Registry;
}

namespace pages {

inline constexpr char kCurrentFontTableValue[] = "FontSub";
inline constexpr char kDefaultFontTableValue[] = "DfltFontSub";
inline constexpr char kResidentFontsValue[] = "RESFONT";

// "System\CurrentControlSet\Control\Print\Printers\<printer>\PrinterDriverData".
std::string FontSubstitutionKeyPath(std::string_view printerName);

// Makes the default table the current one again: copies the bytes of "DfltFontSub" unchanged to
// "FontSub" (REG_BINARY, the same length). Writes nothing when the key does not open or the
// default cannot be read; the key is never created here. True when "FontSub" was written.
bool RestoreDefaultFontTable(platform::Registry& registry, std::string_view printerName);

} // namespace pages
