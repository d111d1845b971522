#pragma once
// One scale of the layout check, in a process started at that scale: the texts the program puts
// into its controls are gathered, then every dialog template is created and measured and the
// program's own pictures are shown and measured. Problems are printed one a line.
#include <string>

namespace layoutcheck {

struct ScaleCheckInput {
    std::string driverPath;    // code page 1250, as the block carries it
    std::wstring registryFile; // the printer's registry data (REGEDIT4)
    std::wstring agentScript;  // the printer's SNMP agent (samples/demo-printer-agent)
};

// 0: no problem; 1: problems, printed; 2: the check could not run (the process is not at
// `dpi`, an input is missing).
int CheckScale(int dpi, const ScaleCheckInput& input);

} // namespace layoutcheck
