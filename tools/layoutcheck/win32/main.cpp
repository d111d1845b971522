// layoutcheck: the program's dialogs at several screen scales.
//
//   layoutcheck --scales 96,120,144,192 --ppd FILE.ppd --registry FILE.reg --agent SCRIPT
//
// The scale of a Windows session is fixed when a program starts (the LogPixels value under
// HKEY_CURRENT_USER\Control Panel\Desktop), so each scale is checked by a process of its own:
// this one sets the value, starts itself with --at-dpi and --driver, waits for it, and puts the
// value back as it was (or removes it) at the end. The printer is the demo printer: its PPD
// (copied beside a short driver path, as a block holds at most 63 characters of it), its
// registry data and its SNMP agent, from which the texts the program puts into its controls
// are gathered. Every problem is one line on the standard output; the exit status is 0 when
// there was none, 1 when there was one, 2 when the check could not run.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/codepage1250.h"
#include "tools/layoutcheck/win32/scale_check.h"
#include "ui/win32/win32.h"

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";
// A whole scale's check takes seconds; one that runs this long hangs.
constexpr DWORD kScaleTimeoutMs = 300000;

struct Arguments {
    std::vector<int> scales;
    int atDpi = 0;
    std::wstring ppdFile; // with --scales
    layoutcheck::ScaleCheckInput input;
};

std::string Utf8(const wchar_t* text) {
    const std::wstring wide(text);
    return platform::Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

std::optional<std::vector<int>> ParseScales(const std::string& text) {
    std::vector<int> scales;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t comma = std::min(text.find(',', at), text.size());
        const std::string item = text.substr(at, comma - at);
        if (item.empty() || item.size() > 3 ||
            item.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        const int dpi = std::stoi(item);
        if (dpi < 72 || dpi > 480)
            return std::nullopt;
        scales.push_back(dpi);
        at = comma + 1;
    }
    return scales;
}

std::optional<Arguments> ParseArguments(int argc, wchar_t** argv) {
    Arguments args;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring option = argv[i];
        const std::string value = Utf8(argv[i + 1]);
        if (option == L"--scales") {
            const std::optional<std::vector<int>> scales = ParseScales(value);
            if (!scales)
                return std::nullopt;
            args.scales = *scales;
        } else if (option == L"--at-dpi") {
            const std::optional<std::vector<int>> scale = ParseScales(value);
            if (!scale || scale->size() != 1)
                return std::nullopt;
            args.atDpi = scale->front();
        } else if (option == L"--driver") {
            args.input.driverPath = platform::Utf8ToCp1250(value);
        } else if (option == L"--ppd") {
            args.ppdFile = argv[i + 1];
        } else if (option == L"--registry") {
            args.input.registryFile = argv[i + 1];
        } else if (option == L"--agent") {
            args.input.agentScript = argv[i + 1];
        } else {
            return std::nullopt;
        }
    }
    const bool atOneScale = args.atDpi != 0;
    if (argc % 2 == 0 || !args.scales.empty() == atOneScale ||
        (atOneScale ? args.input.driverPath.empty() : args.ppdFile.empty()) ||
        args.input.registryFile.empty() || args.input.agentScript.empty())
        return std::nullopt;
    return args;
}

// The session's LogPixels value, restored when the check ends.
class LogPixelsSetting {
public:
    LogPixelsSetting() {
        DWORD value = 0, size = sizeof value, type = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, RRF_RT_REG_DWORD, &type,
                         &value, &size) == ERROR_SUCCESS)
            saved_ = value;
    }
    ~LogPixelsSetting() {
        if (saved_)
            Set(static_cast<int>(*saved_));
        else if (HKEY key; RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, &key) ==
                           ERROR_SUCCESS) {
            RegDeleteValueW(key, kLogPixels);
            RegCloseKey(key);
        }
    }
    LogPixelsSetting(const LogPixelsSetting&) = delete;
    LogPixelsSetting& operator=(const LogPixelsSetting&) = delete;

    static bool Set(int dpi) {
        const DWORD value = static_cast<DWORD>(dpi);
        return RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, REG_DWORD, &value,
                               sizeof value) == ERROR_SUCCESS;
    }

private:
    std::optional<DWORD> saved_;
};

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

// Runs this program at one scale; its exit status, or 2 when it could not run or hung.
int RunScale(int dpi, const Arguments& args) {
    wchar_t self[MAX_PATH] = {};
    if (!GetModuleFileNameW(nullptr, self, MAX_PATH))
        return 2;
    const std::u16string driver = platform::Cp1250ToUtf16(args.input.driverPath);
    std::wstring command = Quoted(self) + L" --at-dpi " + std::to_wstring(dpi) + L" --driver " +
                           Quoted(std::wstring(driver.begin(), driver.end())) + L" --registry " +
                           Quoted(args.input.registryFile) + L" --agent " +
                           Quoted(args.input.agentScript);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("layoutcheck: cannot start the check at %d DPI\n", dpi);
        return 2;
    }
    CloseHandle(process.hThread);
    DWORD status = 2;
    if (WaitForSingleObject(process.hProcess, kScaleTimeoutMs) != WAIT_OBJECT_0) {
        std::printf("layoutcheck: the check at %d DPI did not end within %lu s\n", dpi,
                    static_cast<unsigned long>(kScaleTimeoutMs / 1000));
        TerminateProcess(process.hProcess, 2);
        WaitForSingleObject(process.hProcess, INFINITE);
    } else if (!GetExitCodeProcess(process.hProcess, &status)) {
        status = 2;
    }
    CloseHandle(process.hProcess);
    return static_cast<int>(status);
}

// The demo PPD copied into a folder of its own under the temporary folder, as VELA.PPD beside
// the driver file VELA.DLL that the block names; removed again when the check ends.
class ShortDriverPath {
public:
    explicit ShortDriverPath(const std::wstring& ppdFile) {
        wchar_t temp[MAX_PATH] = {};
        const DWORD length = GetTempPathW(MAX_PATH, temp);
        if (length == 0 || length >= MAX_PATH)
            return;
        folder_ = std::wstring(temp) + L"vela-layoutcheck";
        CreateDirectoryW(folder_.c_str(), nullptr);
        ppd_ = folder_ + L"\\VELA.PPD";
        if (CopyFileW(ppdFile.c_str(), ppd_.c_str(), FALSE)) {
            const std::wstring driver = folder_ + L"\\VELA.DLL";
            driver_ = platform::Utf16ToCp1250(std::u16string(driver.begin(), driver.end()));
        }
    }
    ~ShortDriverPath() {
        DeleteFileW(ppd_.c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    ShortDriverPath(const ShortDriverPath&) = delete;
    ShortDriverPath& operator=(const ShortDriverPath&) = delete;

    // Code page 1250; empty when the copy failed.
    const std::string& driverPath() const { return driver_; }

private:
    std::wstring folder_;
    std::wstring ppd_;
    std::string driver_;
};

int RunScales(Arguments args) {
    const ShortDriverPath driver(args.ppdFile);
    if (driver.driverPath().empty()) {
        std::printf("layoutcheck: cannot copy the PPD into the temporary folder\n");
        return 2;
    }
    args.input.driverPath = driver.driverPath();
    int worst = 0;
    {
        const LogPixelsSetting restore;
        for (const int dpi : args.scales) {
            std::fflush(stdout);
            if (!LogPixelsSetting::Set(dpi)) {
                std::printf("layoutcheck: cannot set the screen scale to %d DPI\n", dpi);
                return 2;
            }
            const int status = RunScale(dpi, args);
            worst = std::max(worst, status == 0 || status == 1 ? status : 2);
        }
    }
    std::printf("layoutcheck: %s\n", worst == 0   ? "every scale passed"
                                     : worst == 1 ? "problems found"
                                                  : "the check could not run at every scale");
    return worst;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::optional<Arguments> args = ParseArguments(argc, argv);
    if (!args) {
        std::fputs("usage: layoutcheck --scales DPI[,DPI...] --ppd FILE.ppd --registry FILE.reg"
                   " --agent SCRIPT\n",
                   stderr);
        return 2;
    }
    if (args->atDpi != 0) {
        const int status = layoutcheck::CheckScale(args->atDpi, args->input);
        std::fflush(stdout);
        return status;
    }
    return RunScales(*args);
}
