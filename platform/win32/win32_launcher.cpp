#include "platform/win32/win32_launcher.h"

#include <windows.h>

#include <vector>

#include "platform/codepage1250.h"

namespace platform {
namespace {

constexpr std::uint32_t kWinExecSuccess = 33;
constexpr std::uint32_t kWinExecBadFormat = 11; // ERROR_BAD_FORMAT

} // namespace

std::uint32_t Win32Launcher::Run(const std::string& commandLine, int showCommand) {
    const std::u16string wide = Cp1250ToUtf16(std::string_view(commandLine.c_str()));
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::vector<wchar_t> buffer(wide.begin(), wide.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        // WinExec's results: the error code when it is below 32, otherwise "bad format".
        const DWORD error = GetLastError();
        return error < 32 ? error : kWinExecBadFormat;
    }
    // The program runs on its own; unlike WinExec we do not wait for it to become idle, so a
    // slow start never freezes the sheet.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return kWinExecSuccess;
}

} // namespace platform
