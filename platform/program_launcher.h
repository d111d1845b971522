#pragma once
// Starting another program with a command line, as WinExec does (the web browser, the
// profile download utility).
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

constexpr int kShowNormal = 1; // SW_SHOWNORMAL
constexpr int kShow = 5;       // SW_SHOW

class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // Returns WinExec's result: greater than 31 on success.
    virtual std::uint32_t Run(const std::string& commandLine, int showCommand) = 0;
};

// The portable launcher: starts nothing and records every command line, for tests.
class RecordingLauncher : public ProgramLauncher {
public:
    std::uint32_t Run(const std::string& commandLine, int showCommand) override {
        commands.push_back(commandLine);
        shows.push_back(showCommand);
        return result;
    }
    std::vector<std::string> commands;
    std::vector<int> shows;
    std::uint32_t result = 33;
};

} // namespace platform
