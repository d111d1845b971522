#include "tools/sheetrun/explore_command.h"

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "platform/codepage1250.h"
#include "platform/memory_registry.h"
#include "ppd/ppd.h"
#include "tools/sheetrun/explore_run.h"
#include "tools/sheetrun/ppd_list.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

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
SequenceSpec SpecOf(const ExploreOptions& options, const std::string& ppd,
                    const std::string& scratch, int index) {
    const unsigned nameHash = NameHash(std::filesystem::path(ppd).filename().string());
    const int kind = static_cast<int>((static_cast<unsigned>(index) + nameHash % 6) % 6);
    SequenceSpec spec;
    spec.ppdPath = ppd;
    spec.scratchDir = scratch;
    spec.device = kind % 2 == 1;
    spec.block = kind / 2;
    // Every third kind with writes refused, all of them or only values.
    if (kind == 2)
        spec.refused = SequenceSpec::Refused::Writes;
    else if (kind == 5)
        spec.refused = SequenceSpec::Refused::Values;
    spec.seed = nameHash ^ (options.seed * 2654435761u) ^ (static_cast<unsigned>(index) * 40503u);
    const int span = options.maxActions - options.minActions + 1;
    spec.actions = options.minActions + static_cast<int>(spec.seed % static_cast<unsigned>(span));
    return spec;
}

std::string DescribeSpec(const SequenceSpec& spec) {
    static const char* const kBlocks[] = {"the PPD's defaults", "every option installed",
                                          "random bytes"};
    static const char* const kRefused[] = {"", ", writes refused", ", value writes refused"};
    return std::string(spec.device ? "device" : "document") + " properties, " +
           kBlocks[spec.block % 3] + kRefused[static_cast<int>(spec.refused)] + ", seed " +
           std::to_string(spec.seed);
}

// ---- one sequence in a child process -------------------------------------------------------

struct IsolatedRun {
    std::vector<Finding> failures;
    std::vector<Action> actions;
    std::vector<std::string> script;
};

void WriteAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = write(fd, text.data() + written, text.size() - written);
        if (n <= 0)
            return;
        written += static_cast<std::size_t>(n);
    }
}

// A finding's text on one line of UTF-8 (findings quote code page 1250 texts).
std::string OneLine(std::string_view text) {
    std::string line = platform::Cp1250ToUtf8(text);
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    }
    return line;
}

// The child: the sequence, its actions streamed as they are done (a hang leaves them behind),
// then its failures and script.
[[noreturn]] void RunChild(const SequenceSpec& spec, const std::vector<Action>* plan, int fd,
                           int timeoutSeconds) {
    alarm(static_cast<unsigned>(timeoutSeconds));
    const SequenceResult result = RunSequence(spec, plan, [fd](const Action& action) {
        WriteAll(fd, "A " + EncodeAction(action) + "\n");
    });
    std::string out;
    for (const Finding& failure : result.failures)
        out += "F " + OneLine(failure.kind) + "\t" + OneLine(failure.detail) + "\n";
    for (const std::string& line : result.script)
        out += "S " + line + "\n";
#if defined(__SANITIZE_ADDRESS__)
    if (__lsan_do_recoverable_leak_check() != 0)
        out += "F leak\tthe sanitizer found leaked memory (its report is on the error stream)\n";
#endif
    WriteAll(fd, out);
    close(fd);
    _exit(0);
}

IsolatedRun RunIsolated(const SequenceSpec& spec, const std::vector<Action>* plan,
                        int timeoutSeconds) {
    IsolatedRun run;
    int pipes[2];
    if (pipe(pipes) != 0) {
        run.failures.push_back({"setup", "no pipe"});
        return run;
    }
    std::cout.flush();
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipes[0]);
        RunChild(spec, plan, pipes[1], timeoutSeconds);
    }
    close(pipes[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(pipes[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    close(pipes[0]);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) {
        run.failures.push_back({"setup", "the sequence's process could not be run"});
        return run;
    }
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("A ", 0) == 0) {
            if (const std::optional<Action> action = DecodeAction(line.substr(2)))
                run.actions.push_back(*action);
        } else if (line.rfind("F ", 0) == 0) {
            const std::size_t tab = line.find('\t');
            run.failures.push_back(
                {line.substr(2, tab - 2), tab == std::string::npos ? "" : line.substr(tab + 1)});
        } else if (line.rfind("S ", 0) == 0) {
            run.script.push_back(line.substr(2));
        }
    }
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        run.failures.insert(
            run.failures.begin(),
            signal == SIGALRM
                ? Finding{"hang", "no end within " + std::to_string(timeoutSeconds) + " s"}
                : Finding{"crash", "ended by signal " + std::to_string(signal)});
    } else if (WEXITSTATUS(status) != 0) {
        run.failures.insert(run.failures.begin(),
                            Finding{"crash", "exit status " + std::to_string(WEXITSTATUS(status)) +
                                                 " (a sanitizer's report is on the error stream)"});
    }
    return run;
}

bool HasKind(const IsolatedRun& run, const std::string& kind) {
    for (const Finding& failure : run.failures) {
        if (failure.kind == kind)
            return true;
    }
    return false;
}

// ---- replay files ---------------------------------------------------------------------------

// The Windows path of a file under Wine's drive Z:.
std::string WinePath(const std::filesystem::path& path) {
    std::string text = "Z:" + std::filesystem::absolute(path).lexically_normal().string();
    for (char& c : text) {
        if (c == '/')
            c = '\\';
    }
    return text;
}

void AppendUtf16(std::string& out, std::string_view utf8) {
    const std::u16string wide = platform::Utf8ToUtf16(utf8);
    for (const char16_t unit : wide) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }
}

// The seed entries as a .reg file for Wine's regedit (UTF-16 with its mark).
std::string RegFileOfSeed() {
    platform::MemoryRegistry seed;
    SeedRegistry(seed, kExplorerPrinter);
    const std::string root =
        std::string("System\\CurrentControlSet\\Control\\Print\\Printers\\") + kExplorerPrinter;
    const char* const suffixes[] = {"\\Watermark Profiles",
                                    "\\Color Profiles",
                                    "\\Printer Resident\\RGB Source Profiles",
                                    "\\Printer Resident\\Simulation Profiles",
                                    "\\Printer Resident\\Destination Profiles",
                                    "\\Printer Resident\\CSA Profiles",
                                    "\\PrinterDriverData"};
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n";
    for (const char* suffix : suffixes) {
        const std::string key = root + suffix;
        text += "[HKEY_LOCAL_MACHINE\\" + key + "]\r\n";
        for (const std::string& name : seed.ValueNames(key)) {
            const std::optional<platform::RegistryValue> value = seed.Get(key, name);
            if (!value)
                continue;
            text += "\"" + platform::Cp1250ToUtf8(name) + "\"=hex:";
            char hex[4];
            for (std::size_t i = 0; i < value->data.size(); ++i) {
                std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned char>(value->data[i]));
                text += (i == 0 ? "" : ",");
                text += hex;
            }
            text += "\r\n";
        }
        text += "\r\n";
    }
    std::string utf16 = "\xFF\xFE";
    AppendUtf16(utf16, text);
    return utf16;
}

// Writes NAME.txt (the script with how to run it), NAME.block (the block poked), NAME.ppd (the
// PPD), NAME.reg (the registry's seed) and NAME.plan (the actions, for sheetrun explore --plan)
// into the replay directory.
void WriteReplayFiles(const std::string& directory, const std::string& name,
                      const SequenceSpec& spec, const app::PrinterSettingsBlock& sent,
                      const std::vector<std::string>& header, const std::vector<Action>& actions,
                      const std::vector<std::string>& script) {
    const std::filesystem::path dir(directory);
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    std::filesystem::copy_file(spec.ppdPath, dir / (name + ".ppd"),
                               std::filesystem::copy_options::overwrite_existing, error);
    std::ofstream(dir / (name + ".block"), std::ios::binary)
        .write(reinterpret_cast<const char*>(sent.data()),
               static_cast<std::streamsize>(sent.size()));
    std::ofstream(dir / (name + ".reg"), std::ios::binary) << RegFileOfSeed();
    std::ofstream plan(dir / (name + ".plan"));
    for (const Action& action : actions)
        plan << EncodeAction(action) << "\n";
    std::ofstream out(dir / (name + ".txt"), std::ios::binary);
    for (const std::string& line : header)
        out << line << "\n";
    out << "# wine regedit /S " << name << ".reg\n";
    out << "# wine drvsim.exe --block " << name << ".block --set 'driverFilePath="
        << WinePath(dir / (name + ".dll")) << "' --script " << name << ".txt\n";
    for (const std::string& line : script)
        out << line << "\n";
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
        const SequenceSpec spec = SpecOf(options, ppd, scratch, index);
        const std::vector<Action>* plan = options.hasPlan ? &options.plan : nullptr;
        if (options.inline_) {
            const SequenceResult result = RunSequence(spec, plan);
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
        const IsolatedRun run = RunIsolated(spec, plan, options.timeoutSeconds);
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
                return HasKind(RunIsolated(spec, &plan, options.timeoutSeconds), first.kind);
            },
            budget);
        const IsolatedRun replay = RunIsolated(spec, &shrunk, options.timeoutSeconds);
        std::vector<std::string> header = {
            "# sheetrun explore: " + ppd + ", sequence " + std::to_string(index) + " (" +
                DescribeSpec(spec) + ")",
            "# found: " + first.kind + ": " + first.detail,
        };
        report << "FAIL " << ppd << ": sequence " << index << " (" << DescribeSpec(spec) << ", "
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
                    SentBlockOf(spec, &hasModel, &problem))
                WriteReplayFiles(options.replayDir, name, spec, *sent, header, shrunk,
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
    struct Worker {
        std::string ppd;
        std::string scratch;
    };
    const auto finish = [&](const Worker& worker, int status) {
        std::ifstream summary(worker.scratch + "/summary");
        Totals part;
        if (summary >> part.sequences >> part.actions >> part.failures) {
            totals.sequences += part.sequences;
            totals.actions += part.actions;
            totals.failures += part.failures;
        } else {
            ++totals.failures;
            std::cout << "FAIL " << worker.ppd << ": the worker ended without its summary (status "
                      << status << ")\n";
        }
        std::ifstream report(worker.scratch + "/report");
        // An empty stream buffer would leave the output failed.
        for (std::string line; std::getline(report, line);)
            std::cout << line << "\n";
        std::cout.flush();
        std::error_code ignored;
        std::filesystem::remove_all(worker.scratch, ignored);
    };
    std::size_t next = 0;
    std::map<pid_t, Worker> running;
    while (next < options.ppds.size() || !running.empty()) {
        while (next < options.ppds.size() && static_cast<int>(running.size()) < options.jobs) {
            char scratch[] = "/tmp/sx.XXXXXX";
            if (!mkdtemp(scratch))
                return 2;
            Worker worker{options.ppds[next++], scratch};
            std::cout.flush();
            const pid_t pid = fork();
            if (pid == 0) {
                std::ofstream report(worker.scratch + "/report");
                const Totals part = ExplorePpd(options, worker.ppd, worker.scratch, report);
                report.close();
                std::ofstream(worker.scratch + "/summary")
                    << part.sequences << " " << part.actions << " " << part.failures << "\n";
                _exit(0);
            }
            if (pid < 0)
                return 2;
            running[pid] = worker;
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
    std::cout << "explore: " << totals.sequences << " sequences, " << totals.actions << " actions, "
              << totals.failures << " failures\n";
    return totals.failures == 0 ? 0 : 1;
}

} // namespace sheetrun
