#pragma once
// What lets a failing sequence be done again on the real program under Wine: the drvsim script
// with a header saying how to run it, the block the driver poked, the PPD, the registry's seed
// as a .reg file, and the actions for sheetrun explore --plan.
#include <string>
#include <vector>

#include "app/settings_block.h"
#include "tools/sheetrun/explore_run.h"

namespace sheetrun {

// Writes NAME.txt, NAME.block, NAME.ppd, NAME.reg and NAME.plan into `directory`.
void WriteReplayFiles(const std::string& directory, const std::string& name,
                      const SequenceSetup& setup, const app::PrinterSettingsBlock& sent,
                      const std::vector<std::string>& header, const std::vector<Action>& actions,
                      const std::vector<std::string>& script);

} // namespace sheetrun
