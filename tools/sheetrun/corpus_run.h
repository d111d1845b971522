#pragma once
// The whole program over one PPD, headless: for document and device properties, each with the
// PPD's default settings, with every installed-option flag on and with random bytes in every
// field, the driver pokes the block, the sheet is walked (SheetWalker) and OK pressed, and the
// answer and the registry are checked (answer_check.h). A random block's values that a page
// refuses with the user's message (an overlay name that breaks the 8.3 rule) end the walk with
// Cancel, and then the driver must get the cancellation. No network: the printer has no port.
#include <string>
#include <vector>

#include "app/settings_block.h"

namespace ppd {
struct PpdDocument;
}

namespace sheetrun {

struct PpdRunResult {
    int runs = 0;
    int dialogs = 0; // dialogs the walks opened
    // "device/random: paperSize 300 is no value of its list", one line per problem.
    std::vector<std::string> failures;
};

// A block the driver might send for a PPD: "defaults" (a new block reset with the PPD's
// defaults), "installed" (the same with every installed-option flag on), "random" (random bytes
// from `seed` in every field).
struct DriverBlock {
    const char* name;
    app::PrinterSettingsBlock block;
};
std::vector<DriverBlock> DriverBlocks(const ppd::PpdDocument* document, unsigned seed);

// `scratchDir` is a directory of the caller's with a short path: the PPD is linked there,
// since the block's driver path holds at most 63 characters. `seed` fixes the random block.
PpdRunResult RunSheetOverPpd(const std::string& ppdPath, const std::string& scratchDir,
                             unsigned seed);

} // namespace sheetrun
