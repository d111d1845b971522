#include "tools/sheetrun/explore_child.h"

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <sstream>

#include "platform/codepage1250.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace sheetrun {
namespace {

void WriteAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = write(fd, text.data() + written, text.size() - written);
        if (n <= 0)
            return;
        written += static_cast<std::size_t>(n);
    }
}

// The child: the sequence, its actions streamed as they are done (a hang leaves them behind),
// then its failures and script.
[[noreturn]] void RunChild(const SequenceSetup& setup, const std::vector<Action>* plan, int fd,
                           int timeoutSeconds) {
    alarm(static_cast<unsigned>(timeoutSeconds));
    const SequenceResult result = RunSequence(setup, plan, [fd](const Action& action) {
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

} // namespace

std::string OneLine(std::string_view text) {
    std::string line = platform::Cp1250ToUtf8(text);
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    }
    return line;
}

IsolatedRun RunIsolated(const SequenceSetup& setup, const std::vector<Action>* plan,
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
        RunChild(setup, plan, pipes[1], timeoutSeconds);
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

bool HasKind(const IsolatedRun& run, std::string_view kind) {
    for (const Finding& failure : run.failures) {
        if (failure.kind == kind)
            return true;
    }
    return false;
}

} // namespace sheetrun
