#pragma once
// What a run's answer may hold, given the block the driver sent: bytes that no page writes come
// back as sent; a code field that changed holds a code of its option table or one of the
// values the program gives such a field (-1 for an empty list, 0 for a PPD keyword the table
// lacks, the special entries); a text field that changed is terminated inside its field; the
// registry records written under the printer's key have their exact sizes.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings_block.h"

namespace platform {
class MemoryRegistry;
}

namespace sheetrun {

// One line per problem ("paperSize 300 is no code of its list"); empty when the answer is good.
std::vector<std::string> CheckAnswer(const app::PrinterSettingsBlock& sent,
                                     const app::PrinterSettingsBlock& answer);

// The records and tables under the printer's key, by "key\\value" below it.
using StoredRecords = std::map<std::string, std::string>;
StoredRecords RecordsUnder(const platform::MemoryRegistry& registry, std::string_view printerName);

// One line per record of a wrong size or table of a wrong shape under the printer's key, and
// per key handle left open. A record exactly as it was `before` the run is another program's
// (they write records shorter than ours too, which the stores read zero-filled): only one
// longer than its size is a fault then.
std::vector<std::string> CheckRegistry(const platform::MemoryRegistry& registry,
                                       std::string_view printerName,
                                       const StoredRecords& before = {});

} // namespace sheetrun
