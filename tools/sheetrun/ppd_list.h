#pragma once
// The PPDs named on a command line: a name ending in .ppd (any case) is a PPD, anything else a
// file that names one PPD per line.
#include <string>
#include <vector>

namespace sheetrun {

// Every `every`th PPD of the inputs, in order; empty when a list cannot be read.
std::vector<std::string> PpdsOf(const std::vector<std::string>& inputs, int every);

} // namespace sheetrun
