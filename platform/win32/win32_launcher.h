#pragma once
// Starts programs as WinExec does, but through CreateProcessW so that a command line with
// Slovak letters reaches the program intact whatever the system's code page.
#include "platform/program_launcher.h"

namespace platform {

class Win32Launcher final : public ProgramLauncher {
public:
    std::uint32_t Run(const std::string& commandLine, int showCommand) override;
};

} // namespace platform
