#pragma once
// One explorer sequence in a child process of its own, bounded in time: a crash, a hang or a
// sanitizer's finding becomes that sequence's failure, and the actions it did before are kept
// (they are passed back as they are done), so that the sequence can be shrunk all the same.
#include <string>
#include <string_view>
#include <vector>

#include "tools/sheetrun/explore_run.h"

namespace sheetrun {

struct IsolatedRun {
    std::vector<Finding> failures; // a "hang" or "crash" first, when the process ended so
    std::vector<Action> actions;
    std::vector<std::string> script;
};

// Runs RunSequence(setup, plan) in a child process that gets `timeoutSeconds`.
IsolatedRun RunIsolated(const SequenceSetup& setup, const std::vector<Action>* plan,
                        int timeoutSeconds);

bool HasKind(const IsolatedRun& run, std::string_view kind);

// A finding's text on one line of UTF-8 (findings quote code page 1250 texts).
std::string OneLine(std::string_view text);

} // namespace sheetrun
