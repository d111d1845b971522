// sheetrun: the whole program, headless, over PPD files (see corpus_run.h). Each PPD runs in a
// child process of its own with a time bound, so that a crash or a hang is reported against
// its PPD and the run goes on.
//
//   sheetrun [--every N] [--timeout SECONDS] [--jobs J] LIST|PPD...
//   sheetrun explore ...      (random sequences of a user's actions: explore_command.h)
//
// LIST is a file naming one PPD per line (a name ending in .ppd, any case, is taken as a PPD).
// --every N takes every Nth PPD of the list (a fixed sample). Prints one line per problem and
// "RESULT P PPDs, R runs, F failures (D dialogs opened)"; the exit status is 1 when anything
// failed.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "tools/sheetrun/child_pool.h"
#include "tools/sheetrun/corpus_run.h"
#include "tools/sheetrun/explore_command.h"
#include "tools/sheetrun/ppd_list.h"

namespace {

struct Options {
    int every = 1;
    int timeoutSeconds = 120;
    int jobs = 1;
    std::vector<std::string> ppds;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto number = [&](int& out) {
            if (i + 1 >= argc)
                return false;
            out = std::atoi(argv[++i]);
            return out > 0;
        };
        if (arg == "--every") {
            if (!number(options.every))
                return false;
        } else if (arg == "--timeout") {
            if (!number(options.timeoutSeconds))
                return false;
        } else if (arg == "--jobs") {
            if (!number(options.jobs))
                return false;
        } else {
            inputs.push_back(arg);
        }
    }
    options.ppds = sheetrun::PpdsOf(inputs, options.every);
    return !options.ppds.empty();
}

// In the child: runs one PPD and writes "RUNS n" and its failure lines to scratch/result.
[[noreturn]] void RunChild(const std::string& ppd, const std::string& scratch, int timeoutSeconds,
                           unsigned seed) {
    alarm(static_cast<unsigned>(timeoutSeconds));
    const sheetrun::PpdRunResult result = sheetrun::RunSheetOverPpd(ppd, scratch, seed);
    std::ofstream out(scratch + "/result");
    out << "RUNS " << result.runs << " " << result.dialogs << "\n";
    for (const std::string& failure : result.failures)
        out << failure << "\n";
    out.close();
    _exit(out ? 0 : 4);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "explore")
        return sheetrun::RunExploreCommand(argc, argv);
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::cerr << "usage: sheetrun [--every N] [--timeout SECONDS] [--jobs J] LIST|PPD...\n";
        return 2;
    }
    int runs = 0;
    long dialogs = 0;
    int failures = 0;
    const auto report = [&](std::size_t index, const std::string& problem) {
        ++failures;
        std::cout << "FAIL " << options.ppds[index] << ": " << problem << "\n";
    };
    const auto ended = [&](std::size_t index, const std::string& scratch, int status) {
        std::ifstream result(scratch + "/result");
        for (std::string line; std::getline(result, line);) {
            if (line.rfind("RUNS ", 0) == 0) {
                char* rest = nullptr;
                runs += static_cast<int>(std::strtol(line.c_str() + 5, &rest, 10));
                dialogs += std::strtol(rest, nullptr, 10);
            } else
                report(index, line);
        }
        if (WIFSIGNALED(status)) {
            report(index, WTERMSIG(status) == SIGALRM
                              ? "no end within " + std::to_string(options.timeoutSeconds) + " s"
                              : "ended by signal " + std::to_string(WTERMSIG(status)));
        } else if (WEXITSTATUS(status) != 0) {
            report(index, "exit status " + std::to_string(WEXITSTATUS(status)));
        }
        std::cout.flush();
    };
    const auto child = [&](std::size_t index, const std::string& scratch) {
        RunChild(options.ppds[index], scratch, options.timeoutSeconds,
                 static_cast<unsigned>(index) * 2654435761u);
    };
    if (!sheetrun::RunEachInChildren(options.ppds.size(), options.jobs, child, ended))
        return 2;
    std::cout << "RESULT " << options.ppds.size() << " PPDs, " << runs << " runs, " << failures
              << " failures (" << dialogs << " dialogs opened)\n";
    return failures == 0 ? 0 : 1;
}
