#pragma once
// Work over many PPDs, each in a child process of its own, so that a crash or a hang is
// reported against its PPD and the rest goes on.
#include <cstddef>
#include <functional>
#include <string>

namespace sheetrun {

// Runs `child(index, scratch)` for every index below `count` in a process of its own, at most
// `jobs` at once, each with a fresh scratch folder; `child` ends the process (_exit). As each
// process ends, `ended(index, scratch, status)` runs here, status as waitpid gives it, and the
// folder is removed. False when a folder or a process could not be made.
bool RunEachInChildren(std::size_t count, int jobs,
                       const std::function<void(std::size_t, const std::string&)>& child,
                       const std::function<void(std::size_t, const std::string&, int)>& ended);

} // namespace sheetrun
