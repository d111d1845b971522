// Starting real programs; Windows build only.
#ifdef _WIN32
#include "platform/win32/win32_launcher.h"

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "platform/codepage1250.h"

namespace platform {
namespace {

std::filesystem::path PathOf(const std::string& cp1250) {
    return std::filesystem::path(Cp1250ToUtf16(cp1250));
}

// Waits a bounded time for a started program to leave its trace.
bool AppearsWithin(const std::filesystem::path& path, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!std::filesystem::exists(path)) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// A command line with Slovak letters reaches the started program intact, whatever the
// system's code page, and the result is WinExec's success value.
TEST(Win32Launcher, SlovakCommandLineReachesTheProgram) {
    const std::string directory = std::filesystem::temp_directory_path().string() +
                                  "\\vela \x9Elt\xFD k\xF4\xF2 \xBE\x9A\xE8\x9D " +
                                  std::to_string(std::random_device()());
    Win32Launcher launcher;
    const std::uint32_t result = launcher.Run("cmd.exe /c mkdir \"" + directory + "\"", kShow);
    EXPECT_GT(result, 31u);
    EXPECT_TRUE(AppearsWithin(PathOf(directory), std::chrono::seconds(30)));
    std::error_code ignored;
    std::filesystem::remove(PathOf(directory), ignored);
}

// Programs that cannot start give WinExec's error results: file or path not found.
TEST(Win32Launcher, FailuresGiveWinExecErrors) {
    Win32Launcher launcher;
    for (const char* command : {"C:\\vela-missing\\none.exe", "vela-missing-program.exe", ""}) {
        const std::uint32_t result = launcher.Run(command, kShowNormal);
        EXPECT_TRUE(result == 2 || result == 3) << command << ": " << result;
    }
}

} // namespace
} // namespace platform
#endif
