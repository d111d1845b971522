#pragma once
// One sequence of the explorer on the whole program, headless: the driver pokes a block for a
// PPD, the explorer acts on the sheet (choosing at random, or doing a recorded plan again), and
// what came back is checked: the explorer's own findings (shown is sent, stored entries), the
// answer (OK: the block at OK, valid fields; Cancel: the 8-byte cancellation), the registry
// records, and that no block field names a profile the run did not store.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings_block.h"
#include "tools/sheetrun/explore_action.h"
#include "tools/sheetrun/sheet_explorer.h"

namespace platform {
class MemoryRegistry;
}

namespace sheetrun {

inline constexpr char kExplorerPrinter[] = "Vela Explorer";

struct SequenceSetup {
    std::string ppdPath;
    std::string scratchDir; // a short directory of the caller's: the PPD is linked there
    bool device = false;    // device properties (eight pages) or document properties
    int block = 0;          // which of DriverBlocks: 0 defaults, 1 installed options, 2 random
    unsigned seed = 0;      // the random block's bytes and the explorer's choices
    int actions = 0;        // how many actions the explorer takes
    // Writes refused under the printer's key: none, every write (creating and opening keys for
    // writing, setting and deleting values), or setting and deleting values only.
    enum class Refused { Nothing, Writes, Values } refused = Refused::Nothing;
};

struct SequenceResult {
    std::vector<Finding> failures;
    std::vector<Action> actions;     // as done
    std::vector<std::string> script; // the drvsim script of the run
    app::PrinterSettingsBlock sent;  // the block the driver poked
};

// The block the driver pokes for the setup (its PPD linked into the scratch directory); nothing,
// with `problem` said, when that cannot be done.
std::optional<app::PrinterSettingsBlock> SentBlockOf(const SequenceSetup& setup, bool* hasModel,
                                                     std::string* problem);

// Runs a sequence; with `plan` the explorer does those actions again instead of choosing.
// `onAction` hears of each action as it is done.
SequenceResult RunSequence(const SequenceSetup& setup, const std::vector<Action>* plan = nullptr,
                           const std::function<void(const Action&)>& onAction = {});

// The registry a sequence starts from: stored watermarks, colour profiles and printer-resident
// profiles of every kind (one kept on the printer's disk), and the printer's font lists.
void SeedRegistry(platform::MemoryRegistry& registry, std::string_view printerName);

// Fields that name a stored or resident profile and changed from `sent` to `answer` must name
// one that the registry holds; one line per field that names a profile never stored.
std::vector<std::string> CheckNamedProfiles(const app::PrinterSettingsBlock& sent,
                                            const app::PrinterSettingsBlock& answer,
                                            const platform::MemoryRegistry& registry);

// A shorter list of actions for which `fails` still holds: chunks are left out while the
// failure stays, halving the chunks down to single actions, within `maxRuns` calls of `fails`.
std::vector<Action> ShrinkActions(std::vector<Action> actions,
                                  const std::function<bool(const std::vector<Action>&)>& fails,
                                  int maxRuns);

} // namespace sheetrun
