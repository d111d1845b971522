#pragma once
// The printer's font substitution tables in the registry, under the printer's driver-data key:
// "FontSub" is the current table (the Fonts page edits it), "DfltFontSub" the default one that
// the driver side provides and this program only reads, "RESFONT" the printer-resident fonts.
//
// A table is stored as pairs of NUL-terminated code page 1250 names, a system TrueType family
// followed by the device font that replaces it, and one empty name after the last pair (an empty
// table is the single byte 0). The device name kDownloadFontName means that the family is
// downloaded rather than replaced.
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class Registry;
}

namespace pages {

inline constexpr char kCurrentFontTableValue[] = "FontSub";
inline constexpr char kDefaultFontTableValue[] = "DfltFontSub";
inline constexpr char kResidentFontsValue[] = "RESFONT";

// "Načítať": the family is downloaded as TrueType.
inline constexpr char kDownloadFontName[] = "Na\xE8\xEDta\x9D";

// "System\CurrentControlSet\Control\Print\Printers\<printer>\PrinterDriverData".
std::string FontSubstitutionKeyPath(std::string_view printerName);

// Makes the default table the current one again: copies the bytes of "DfltFontSub" unchanged to
// "FontSub" (REG_BINARY, the same length). Writes nothing when the key does not open or the
// default cannot be read; the key is never created here. True when "FontSub" was written.
bool RestoreDefaultFontTable(platform::Registry& registry, std::string_view printerName);

struct FontSubstitution {
    std::string family; // system TrueType family
    std::string device; // device font, or kDownloadFontName

    bool operator==(const FontSubstitution&) const = default;
};

// A substitution table in memory; it holds any number of pairs.
class FontSubstitutionTable {
public:
    FontSubstitutionTable() = default;

    // Reads the stored form: pairs up to the first empty name (the table's end for every reader
    // of it) or the end of the bytes, whichever comes first. A name that runs to the end without
    // its NUL ends there; a family left without a device name is dropped. Bytes after the end
    // are ignored.
    static FontSubstitutionTable FromBytes(std::string_view bytes);
    // The stored form: every pair, then the terminating NUL.
    std::string ToBytes() const;

    const std::vector<FontSubstitution>& Pairs() const { return pairs_; }
    bool Empty() const { return pairs_.empty(); }
    void Clear() { pairs_.clear(); }

    // The device name of the first pair for `family` (compared exactly), or null.
    const std::string* DeviceFontOf(std::string_view family) const;
    // Gives every pair of `family` the device name `device`, or appends the pair when the
    // family has none. An empty name is refused (it would end the stored table early and lose
    // the pairs after it): false, and nothing changes.
    bool Substitute(std::string_view family, std::string_view device);

private:
    std::vector<FontSubstitution> pairs_;
};

// The current table, opening the driver-data key (creating it when absent). When "FontSub"
// cannot be read, the default table is made the current one first (RestoreDefaultFontTable) and
// read again; when that fails too, the table is empty.
FontSubstitutionTable LoadFontTable(platform::Registry& registry, std::string_view printerName);

// Writes the table as "FontSub" (REG_BINARY). False when the key or the value cannot be written.
bool StoreFontTable(platform::Registry& registry, std::string_view printerName,
                    const FontSubstitutionTable& table);

// The printer-resident font names of "RESFONT" in stored order, up to its first empty name
// (opening the key, creating it when absent); empty when the value cannot be read.
std::vector<std::string> ReadResidentFonts(platform::Registry& registry,
                                           std::string_view printerName);

} // namespace pages
