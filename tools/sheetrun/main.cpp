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
#include <map>
#include <string>
#include <vector>

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

struct Child {
    std::string ppd;
    std::string scratch; // the child's directory; its lines end up in scratch/result
};

// In the child: runs one PPD and writes "RUNS n" and its failure lines to scratch/result.
[[noreturn]] void RunChild(const Child& child, int timeoutSeconds, unsigned seed) {
    alarm(static_cast<unsigned>(timeoutSeconds));
    const sheetrun::PpdRunResult result = sheetrun::RunSheetOverPpd(child.ppd, child.scratch, seed);
    std::ofstream out(child.scratch + "/result");
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
    const auto report = [&](const Child& child, const std::string& problem) {
        ++failures;
        std::cout << "FAIL " << child.ppd << ": " << problem << "\n";
    };
    const auto finish = [&](const Child& child, int status) {
        std::ifstream result(child.scratch + "/result");
        for (std::string line; std::getline(result, line);) {
            if (line.rfind("RUNS ", 0) == 0) {
                char* rest = nullptr;
                runs += static_cast<int>(std::strtol(line.c_str() + 5, &rest, 10));
                dialogs += std::strtol(rest, nullptr, 10);
            } else
                report(child, line);
        }
        if (WIFSIGNALED(status)) {
            report(child, WTERMSIG(status) == SIGALRM
                              ? "no end within " + std::to_string(options.timeoutSeconds) + " s"
                              : "ended by signal " + std::to_string(WTERMSIG(status)));
        } else if (WEXITSTATUS(status) != 0) {
            report(child, "exit status " + std::to_string(WEXITSTATUS(status)));
        }
        std::cout.flush();
        std::error_code ignored;
        std::filesystem::remove_all(child.scratch, ignored);
    };
    std::size_t next = 0;
    std::map<pid_t, Child> running;
    while (next < options.ppds.size() || !running.empty()) {
        while (next < options.ppds.size() && static_cast<int>(running.size()) < options.jobs) {
            char scratch[] = "/tmp/sr.XXXXXX";
            if (!mkdtemp(scratch))
                return 2;
            Child child{options.ppds[next], scratch};
            const unsigned seed = static_cast<unsigned>(next) * 2654435761u;
            const pid_t pid = fork();
            if (pid == 0)
                RunChild(child, options.timeoutSeconds, seed);
            if (pid < 0)
                return 2;
            running[pid] = child;
            ++next;
        }
        int status = 0;
        const pid_t ended = waitpid(-1, &status, 0);
        if (ended < 0)
            break;
        const auto found = running.find(ended);
        if (found == running.end())
            continue;
        finish(found->second, status);
        running.erase(found);
    }
    std::cout << "RESULT " << options.ppds.size() << " PPDs, " << runs << " runs, " << failures
              << " failures (" << dialogs << " dialogs opened)\n";
    return failures == 0 ? 0 : 1;
}
