#pragma once
// The start-up printer query and the installed-option flags. At start-up the application asks
// the printer over SNMP what it has (QueryPrinterAtStartup) and, when it answered, sets the
// flags of the settings block from the answers (SyncInstalledOptions). Without an answer the
// flags stay as the driver sent them, for the user to edit on the Settings page.
#include <cstdint>
#include <span>
#include <string_view>

#include "app/settings_block.h"
#include "net/snmp_client.h"

namespace platform {
class Registry;
}
namespace ppd {
struct PpdDocument;
}

namespace app {

// printerStatus: whether the printer answered the start-up query.
enum PrinterStatus : std::int32_t {
    kPrinterAnswered = 1,
    kPrinterUnavailable = 2,
};

// One installed-option flag of the block and the PPD feature (of the installable options) it
// stands for; keywords compare exactly, case-sensitively.
struct InstalledOptionFlag {
    const char* keyword;
    const char* fieldName; // the block field (see FindSettingsField)
    std::uint8_t (PrinterSettingsBlock::*get)() const;
    void (PrinterSettingsBlock::*set)(std::uint8_t);
};

// The 13 flags in block order (offsets 988 to 1003).
std::span<const InstalledOptionFlag> InstalledOptionFlags();
// The flag of a feature keyword, or null.
const InstalledOptionFlag* FindInstalledOptionFlag(std::string_view keyword);

// The display texts of the installable features' two options (code page 1250).
inline constexpr char kInstalledText[] = "Nain\x9Atalovan\xE9";
inline constexpr char kNotInstalledText[] = "Nein\x9Atalovan\xE9";

// Resolves the printer's address into `printerAddress` and `portName` (see
// lookupPrinterAddress), then, when the community and the address are both non-empty, reads
// the scalar rows and walks the component table into `trayEntries` (no walk when the scalars
// got no answer at all: the entries are only cleared). Returns kPrinterAnswered
// when the scalar query succeeded, else kPrinterUnavailable, in which case `printerAddress` is
// emptied. `options` exist for tests; the program asks port 161.
std::int32_t QueryPrinterAtStartup(PrinterSettingsBlock& settings, platform::Registry& registry,
                                   net::SnmpScalarRow* scalars, const net::SnmpScalarRow* columns,
                                   net::ComponentEntries* trayEntries,
                                   const net::SnmpOptions& options = {});

// Sets the installed-option flags from the answers of the start-up query: the entry pass over
// the tray entries, the scalar pass, then the constraint pass. Does nothing unless
// `printerStatus` is kPrinterAnswered. `model` may be null (no PPD). `scalars` is the start-up
// scalar table.
void SyncInstalledOptions(PrinterSettingsBlock& settings, const ppd::PpdDocument* model,
                          std::int32_t printerStatus, const net::SnmpScalarRow* scalars,
                          const net::ComponentEntries& trayEntries);

// Sets to 1 the flag of `keyword` among OptionalBin to OptionalBin5, Optionalfeeder,
// Optionalenvelope, Optionalstacker, Optionalfinisher, Optionalmultires, OptionalMailbox and
// OptionalDisk; false (nothing set) for any other keyword, "Optionalduplexer" included.
bool MarkInstalled(PrinterSettingsBlock& settings, std::string_view keyword);

} // namespace app
