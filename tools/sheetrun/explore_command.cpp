#include "tools/sheetrun/explore_command.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>

#include "ppd/ppd.h"
#include "tools/sheetrun/child_pool.h"
#include "tools/sheetrun/explore_child.h"
#include "tools/sheetrun/explore_run.h"
#include "tools/sheetrun/ppd_list.h"
#include "tools/sheetrun/replay_files.h"

namespace sheetrun {
namespace {

struct ExploreOptions {
    unsigned seed = 1;
    int sequences = 8;
    int minActions = 5;
    int maxActions = 200;
    int every = 1;
    int jobs = 1;
    int timeoutSeconds = 60;
    std::string replayDir;
    int only = -1;            // only this sequence of each PPD
    bool inline_ = false;     // in this process, without shrinking: for a debugger
    std::vector<Action> plan; // done again instead of chosen (--plan FILE)
    bool hasPlan = false;
    std::vector<std::string> ppds;
};

// Replays while shrinking one failing sequence; a hang costs the time bound on every replay.
constexpr int kMaxShrinkRuns = 150;
constexpr int kMaxHangShrinkRuns = 6;

bool ParseExploreOptions(int argc, char** argv, ExploreOptions& options) {
    std::vector<std::string> inputs;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto number = [&](int& out, int least) {
            if (i + 1 >= argc)
                return false;
            out = std::atoi(argv[++i]);
            return out >= least;
        };
        if (arg == "--seed") {
            if (i + 1 >= argc)
                return false;
            options.seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--sequences") {
            if (!number(options.sequences, 1))
                return false;
        } else if (arg == "--actions") {
            if (i + 1 >= argc ||
                std::sscanf(argv[++i], "%d-%d", &options.minActions, &options.maxActions) != 2 ||
                options.minActions < 1 || options.maxActions < options.minActions)
                return false;
        } else if (arg == "--every") {
            if (!number(options.every, 1))
                return false;
        } else if (arg == "--jobs") {
            if (!number(options.jobs, 1))
                return false;
        } else if (arg == "--timeout") {
            if (!number(options.timeoutSeconds, 1))
                return false;
        } else if (arg == "--only") {
            if (!number(options.only, 0))
                return false;
        } else if (arg == "--inline") {
            options.inline_ = true;
        } else if (arg == "--plan") {
            if (i + 1 >= argc)
                return false;
            std::ifstream file(argv[++i]);
            if (!file)
                return false;
            for (std::string line; std::getline(file, line);) {
                if (const std::optional<Action> action = DecodeAction(line))
                    options.plan.push_back(*action);
            }
            options.hasPlan = true;
        } else if (arg == "--replay-dir") {
            if (i + 1 >= argc)
                return false;
            options.replayDir = argv[++i];
        } else {
            inputs.push_back(arg);
        }
    }
    options.ppds = PpdsOf(inputs, options.every);
    return !options.ppds.empty();
}

// FNV-1a: a seed per PPD that does not depend on which other PPDs run.
unsigned NameHash(std::string_view text) {
    unsigned hash = 2166136261u;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

// The PPD's sequence `index`: its kind (mode, block, refused writes) runs through a cycle of six
// from a start of the PPD's own, so that a few sequences per PPD still meet every kind over a
// sample of PPDs.
SequenceSetup SetupOf(const ExploreOptions& options, const std::string& ppd,
                      const std::string& scratch, int index) {
    const unsigned nameHash = NameHash(std::filesystem::path(ppd).filename().string());
    const int kind = static_cast<int>((static_cast<unsigned>(index) + nameHash % 6) % 6);
    SequenceSetup setup;
    setup.ppdPath = ppd;
    setup.scratchDir = scratch;
    setup.device = kind % 2 == 1;
    setup.block = kind / 2;
    // Every third kind with writes refused, all of them or only values.
    if (kind == 2)
        setup.refused = SequenceSetup::Refused::Writes;
    else if (kind == 5)
        setup.refused = SequenceSetup::Refused::Values;
    setup.seed = nameHash ^ (options.seed * 2654435761u) ^ (static_cast<unsigned>(index) * 40503u);
    const int span = options.maxActions - options.minActions + 1;
    setup.actions = options.minActions + static_cast<int>(setup.seed % static_cast<unsigned>(span));
    return setup;
}

std::string DescribeSetup(const SequenceSetup& setup) {
    static const char* const kBlocks[] = {"the PPD's defaults", "every option installed",
                                          "random bytes"};
    static const char* const kRefused[] = {"", ", writes refused", ", value writes refused"};
    return std::string(setup.device ? "device" : "document") + " properties, " +
           kBlocks[setup.block % 3] + kRefused[static_cast<int>(setup.refused)] + ", seed " +
           std::to_string(setup.seed);
}

// ---- one PPD in a worker process ------------------------------------------------------------

struct Totals {
    long sequences = 0;
    long actions = 0;
    long failures = 0;
};

// Runs the PPD's sequences; their failures, shrunk, go to `report`.
Totals ExplorePpd(const ExploreOptions& options, const std::string& ppd, const std::string& scratch,
                  std::ostream& report) {
    Totals totals;
    // The children find the parsed PPD in the cache.
    const std::filesystem::path link = std::filesystem::path(scratch) / "p.ppd";
    std::error_code error;
    std::filesystem::create_symlink(std::filesystem::absolute(ppd), link, error);
    ppd::FreePpdDocument(ppd::LoadPpdDocument(link.string()));
    for (int index = 0; index < options.sequences; ++index) {
        if (options.only >= 0 && index != options.only)
            continue;
        const SequenceSetup setup = SetupOf(options, ppd, scratch, index);
        const std::vector<Action>* plan = options.hasPlan ? &options.plan : nullptr;
        if (options.inline_) {
            const SequenceResult result = RunSequence(setup, plan);
            ++totals.sequences;
            totals.actions += static_cast<long>(result.actions.size());
            totals.failures += result.failures.empty() ? 0 : 1;
            for (const Finding& failure : result.failures)
                report << "FAIL " << ppd << ": sequence " << index << ": " << failure.kind << ": "
                       << OneLine(failure.detail) << "\n";
            for (const std::string& line : result.script)
                report << "    | " << line << "\n";
            continue;
        }
        const IsolatedRun run = RunIsolated(setup, plan, options.timeoutSeconds);
        ++totals.sequences;
        totals.actions += static_cast<long>(run.actions.size());
        if (run.failures.empty())
            continue;
        ++totals.failures;
        const Finding& first = run.failures.front();
        int replays = 0;
        const int budget = first.kind == "hang" ? kMaxHangShrinkRuns : kMaxShrinkRuns;
        const std::vector<Action> shrunk = ShrinkActions(
            run.actions,
            [&](const std::vector<Action>& plan) {
                ++replays;
                return HasKind(RunIsolated(setup, &plan, options.timeoutSeconds), first.kind);
            },
            budget);
        const IsolatedRun replay = RunIsolated(setup, &shrunk, options.timeoutSeconds);
        std::vector<std::string> header = {
            "# sheetrun explore: " + ppd + ", sequence " + std::to_string(index) + " (" +
                DescribeSetup(setup) + ")",
            "# found: " + first.kind + ": " + first.detail,
        };
        report << "FAIL " << ppd << ": sequence " << index << " (" << DescribeSetup(setup) << ", "
               << run.actions.size() << " actions): " << first.kind << ": " << first.detail << "\n";
        for (std::size_t i = 1; i < run.failures.size() && i < 4; ++i)
            report << "    also " << run.failures[i].kind << ": " << run.failures[i].detail << "\n";
        report << "    shrunk to " << shrunk.size() << " actions in " << replays << " replays"
               << (HasKind(replay, first.kind) ? "" : " (the shrunk replay no longer fails)")
               << "; drvsim script:\n";
        for (const std::string& line : replay.script)
            report << "    | " << line << "\n";
        if (!options.replayDir.empty()) {
            const std::string name =
                std::filesystem::path(ppd).stem().string() + "-" + std::to_string(index);
            bool hasModel = false;
            std::string problem;
            if (const std::optional<app::PrinterSettingsBlock> sent =
                    SentBlockOf(setup, &hasModel, &problem))
                WriteReplayFiles(options.replayDir, name, setup, *sent, header, shrunk,
                                 replay.script);
            report << "    written to " << options.replayDir << "/" << name << ".txt\n";
        }
    }
    ppd::ClearPpdDocumentCache();
    return totals;
}

} // namespace

int RunExploreCommand(int argc, char** argv) {
    ExploreOptions options;
    if (!ParseExploreOptions(argc, argv, options)) {
        std::cerr << "usage: sheetrun explore [--seed N] [--sequences N] [--actions MIN-MAX] "
                     "[--every N] [--jobs J] [--timeout SECONDS] [--replay-dir DIR] LIST|PPD...\n";
        return 2;
    }
    Totals totals;
    const auto ended = [&](std::size_t index, const std::string& scratch, int status) {
        std::ifstream summary(scratch + "/summary");
        Totals part;
        if (summary >> part.sequences >> part.actions >> part.failures) {
            totals.sequences += part.sequences;
            totals.actions += part.actions;
            totals.failures += part.failures;
        } else {
            ++totals.failures;
            std::cout << "FAIL " << options.ppds[index]
                      << ": the worker ended without its summary (status " << status << ")\n";
        }
        std::ifstream report(scratch + "/report");
        // An empty stream buffer would leave the output failed.
        for (std::string line; std::getline(report, line);)
            std::cout << line << "\n";
        std::cout.flush();
    };
    const auto child = [&](std::size_t index, const std::string& scratch) {
        std::ofstream report(scratch + "/report");
        const Totals part = ExplorePpd(options, options.ppds[index], scratch, report);
        report.close();
        std::ofstream(scratch + "/summary")
            << part.sequences << " " << part.actions << " " << part.failures << "\n";
    };
    if (!RunEachInChildren(options.ppds.size(), options.jobs, child, ended))
        return 2;
    std::cout << "explore: " << totals.sequences << " sequences, " << totals.actions << " actions, "
              << totals.failures << " failures\n";
    return totals.failures == 0 ? 0 : 1;
}

} // namespace sheetrun
