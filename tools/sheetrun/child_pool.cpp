#include "tools/sheetrun/child_pool.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <utility>

namespace sheetrun {

bool RunEachInChildren(std::size_t count, int jobs,
                       const std::function<void(std::size_t, const std::string&)>& child,
                       const std::function<void(std::size_t, const std::string&, int)>& ended) {
    std::size_t next = 0;
    std::map<pid_t, std::pair<std::size_t, std::string>> running;
    while (next < count || !running.empty()) {
        while (next < count && static_cast<int>(running.size()) < jobs) {
            char scratch[] = "/tmp/sheetrun.XXXXXX";
            if (!mkdtemp(scratch))
                return false;
            // What the parent printed must not be printed again by the child's copy.
            std::cout.flush();
            const pid_t pid = fork();
            if (pid == 0) {
                child(next, scratch);
                _exit(0);
            }
            if (pid < 0)
                return false;
            running[pid] = {next++, scratch};
        }
        int status = 0;
        const pid_t pid = waitpid(-1, &status, 0);
        if (pid < 0)
            break;
        const auto found = running.find(pid);
        if (found == running.end())
            continue;
        ended(found->second.first, found->second.second, status);
        std::error_code ignored;
        std::filesystem::remove_all(found->second.second, ignored);
        running.erase(found);
    }
    return true;
}

} // namespace sheetrun
