// drvsim: the printer driver's stand-in. Starts the program (or finds one started separately),
// pokes a settings message over DDE as the driver does, optionally drives the sheet by a script
// or misbehaves on purpose, and reports what came back. With --no-driver it only starts a
// program and drives its dialogs by the script (dlgview --demo runs the colour dialogs so). See
// tools/drvsim/options.h and tools/drvsim/script.h for the options and the script commands.
//
// Output, one fact per line: "program: ...", "connection: ...", "poke N: ...",
// "sheet: ..." (when it became visible: after the poke and after the program's start),
// "link N: ..." (with several advise links), "answer: ...", the fields that changed (as psblock
// diff prints them), "program: ended ...". Without the driver: "program: ...", "window: ...",
// "sheet: ..." when the program shows a property sheet (the bare sheet of the start-up
// benchmark). Exit status: 0 done, 1 a script expectation failed, 2 bad usage, 3 the run could
// not be carried out.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "app/driver_link.h"
#include "app/settings_message.h"
#include "tools/drvsim/options.h"
#include "tools/drvsim/png.h"
#include "tools/drvsim/script.h"
#include "tools/drvsim/win32/dde_client.h"
#include "tools/drvsim/win32/process_windows.h"
#include "tools/drvsim/win32/sheet_automation.h"
#include "tools/drvsim/win32/win32_common.h"
#include "tools/psblock/psblock.h"

namespace drvsim {
namespace {

constexpr int kExitDone = 0;
constexpr int kExitExpectation = 1;
constexpr int kExitUsage = 2;
constexpr int kExitFailed = 3;

// The program waits 5000 ms for the poke; a cold Wine start adds a few seconds on top.
constexpr int kConnectMs = 15000;
constexpr int kSheetMs = 30000;
constexpr int kProgramEndMs = 12000;
constexpr int kOtherLinksMs = 500;
constexpr int kScriptStepMs = 10000;
// How often drvsim looks for the program's first window and its sheet: the times to them are
// measured to this precision.
constexpr int kPollMs = 5;

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(Wide(utf8));
}

std::optional<std::vector<std::uint8_t>> ReadBytes(const std::string& path) {
    std::ifstream file(PathOf(path), std::ios::binary);
    if (!file)
        return std::nullopt;
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}

std::string TempFile(const std::string& name) {
    return Utf8((std::filesystem::temp_directory_path() /
                 ("drvsim-" + std::to_string(GetCurrentProcessId()) + "-" + name))
                    .wstring());
}

// The block or message to poke, as the options describe it.
std::optional<std::vector<std::uint8_t>> BuildFile(const Options& options) {
    std::vector<std::uint8_t> bytes;
    if (!options.blockFile.empty()) {
        const auto read = ReadBytes(options.blockFile);
        if (!read) {
            std::cerr << "drvsim: cannot read " << options.blockFile << std::endl;
            return std::nullopt;
        }
        bytes = *read;
    } else {
        std::vector<std::string> args = {"new", "--printer", *options.printer, "--driver",
                                         *options.driver};
        if (options.device)
            args.push_back("--device");
        std::ostringstream out;
        if (psblock::RunPsblock(args, out, std::cerr) != psblock::kExitOk)
            return std::nullopt;
        const std::string block = out.str();
        bytes.assign(block.begin(), block.end());
    }
    if (!options.sets.empty()) {
        const std::string file = TempFile("set.bin");
        SaveBytes(file, bytes);
        std::vector<std::string> args = {"set", file};
        args.insert(args.end(), options.sets.begin(), options.sets.end());
        std::ostringstream out;
        const int status = psblock::RunPsblock(args, out, std::cerr);
        const auto edited = ReadBytes(file);
        std::filesystem::remove(PathOf(file));
        if (status != psblock::kExitOk || !edited)
            return std::nullopt;
        bytes = *edited;
    }
    if (options.randomReserved) {
        const std::size_t offset =
            bytes.size() == app::kSettingsMessageSize ? app::kMessageBlockOffset : 0;
        if (bytes.size() >= offset + app::PrinterSettingsBlock::kSize) {
            app::PrinterSettingsBlock block;
            block.assign(std::span<const std::uint8_t>(bytes).subspan(offset, block.size()));
            FillReservedBytes(block, *options.randomReserved);
            std::copy(block.data(), block.data() + block.size(), bytes.begin() + offset);
        }
    }
    return bytes;
}

// A top-level window of drvsim to own the sheet, as the driver's own window would.
HWND CreateOwnerWindow() {
    return CreateWindowExW(0, L"STATIC", L"drvsim", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 240,
                           80, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

std::wstring DefaultProgram() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::filesystem::path program(path);
    return (program.parent_path() / L"vela40ps.exe").wstring();
}

struct Program {
    HANDLE process = nullptr;
    DWORD id = 0;
    std::int64_t started = 0;
    bool everShown = false; // any visible window seen
    bool attached = false;  // started separately, found through its conversation
};

bool StartProgram(const std::wstring& path, const std::wstring& args, Program& program) {
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!args.empty())
        commandLine += L" " + args;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    program.process = info.hProcess;
    program.id = info.dwProcessId;
    program.started = NowMs();
    return true;
}

// The program of a conversation started separately.
bool FindProgram(HWND serverWindow, Program& program) {
    if (!serverWindow)
        return false;
    GetWindowThreadProcessId(serverWindow, &program.id);
    program.process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                      PROCESS_VM_READ | PROCESS_VM_WRITE,
                                  FALSE, program.id);
    program.started = NowMs();
    program.attached = true;
    return program.process != nullptr;
}

// Waits for the program to end, watching for windows meanwhile; prints how it ended.
void AwaitEnd(Program& program, int ms) {
    if (!program.process) {
        std::cout << "program: not watched (attached without access)" << std::endl;
        return;
    }
    PumpUntil(
        [&] {
            if (program.id && !VisibleWindows(program.id).empty())
                program.everShown = true;
            return HasEnded(program.process);
        },
        ms, program.process);
    DWORD code = 0;
    if (HasEnded(program.process) && GetExitCodeProcess(program.process, &code))
        std::cout << "program: ended, exit code " << code << ", " << (NowMs() - program.started)
                  << " ms after drvsim " << (program.attached ? "found" : "started") << " it"
                  << std::endl;
    else
        std::cout << "program: still running after " << ms << " ms" << std::endl;
}

void PrintAnswer(const DdeClient& client, const std::vector<std::uint8_t>& sent,
                 const Options& options) {
    const auto& links = client.links();
    const DdeClient::Link* answered = nullptr;
    for (std::size_t i = 0; i < links.size(); ++i) {
        const auto& link = links[i];
        if (link.answered && !answered)
            answered = &link;
        if (links.size() == 1)
            continue;
        std::cout << "link " << i + 1 << ": ";
        if (link.answered)
            std::cout << "answer of " << link.data.size() << " bytes" << std::endl;
        else if (link.emptyDataMessage)
            std::cout << "data message without data (length 0)" << std::endl;
        else
            std::cout << "nothing" << std::endl;
    }
    if (!answered) {
        std::cout << "answer: none" << std::endl;
        return;
    }
    const std::vector<std::uint8_t>& data = answered->data;
    if (!options.answerFile.empty())
        SaveBytes(options.answerFile, data);
    std::int32_t header[3] = {0, 0, 0};
    std::memcpy(header, data.data(), std::min(data.size(), sizeof header));
    if (data.size() == app::kCancelMessageSize) {
        std::cout << "answer: cancel, " << data.size() << " bytes, size " << header[0] << ", type "
                  << header[1] << std::endl;
        return;
    }
    std::cout << "answer: settings, " << data.size() << " bytes, size " << header[0] << ", type "
              << header[1] << ", owner window " << header[2] << std::endl;
    if (data.size() != app::kSettingsMessageSize)
        return;
    const std::string sentFile = options.sentFile.empty() ? TempFile("sent.bin") : options.sentFile;
    const std::string answerFile =
        options.answerFile.empty() ? TempFile("answer.bin") : options.answerFile;
    SaveBytes(sentFile, sent);
    SaveBytes(answerFile, data);
    psblock::RunPsblock({"diff", sentFile, answerFile}, std::cout, std::cerr);
    if (options.sentFile.empty())
        std::filesystem::remove(PathOf(sentFile));
    if (options.answerFile.empty())
        std::filesystem::remove(PathOf(answerFile));
}

// --no-driver: starts the program, waits for its first window and lets the script drive it; the
// program ends by itself once the script has closed its windows.
int RunWithoutDriver(const Options& options, const std::vector<ScriptStep>& steps) {
    Program program;
    if (!StartProgram(Wide(options.program), Wide(options.args), program)) {
        std::cerr << "drvsim: cannot start " << options.program << std::endl;
        return kExitFailed;
    }
    std::cout << "program: started" << std::endl;
    const bool shown =
        PumpUntil([&] { return !VisibleWindows(program.id).empty() || HasEnded(program.process); },
                  kSheetMs, program.process, kPollMs);
    if (!shown || VisibleWindows(program.id).empty()) {
        std::cout << "window: none" << std::endl;
        AwaitEnd(program, kProgramEndMs);
        return kExitFailed;
    }
    const std::int64_t shownMs = NowMs() - program.started;
    std::cout << "window: visible" << std::endl;
    // A property sheet is timed as the program's own is, and the script acts on it.
    const HWND sheet = FindSheet(program.id);
    if (sheet)
        std::cout << "sheet: visible " << shownMs << " ms after the start" << std::endl;
    SheetAutomation automation(program.id, program.process, sheet, kScriptStepMs);
    if (!automation.Run(steps)) {
        TerminateProcess(program.process, 1);
        return kExitExpectation;
    }
    AwaitEnd(program, kProgramEndMs);
    DWORD code = 0;
    return GetExitCodeProcess(program.process, &code) && code == 0 ? kExitDone : kExitFailed;
}

int Run(const Options& options) {
    std::vector<ScriptStep> steps;
    if (!options.script.empty()) {
        const auto text = ReadBytes(options.script);
        if (!text) {
            std::cerr << "drvsim: cannot read " << options.script << std::endl;
            return kExitUsage;
        }
        ScriptError error;
        const auto parsed = ParseScript(std::string(text->begin(), text->end()), &error);
        if (!parsed) {
            std::cerr << "drvsim: " << options.script << " line " << error.line << ": "
                      << error.message << std::endl;
            return kExitUsage;
        }
        steps = *parsed;
    }
    if (options.noDriver)
        return RunWithoutDriver(options, steps);

    const auto file = BuildFile(options);
    if (!file)
        return kExitUsage;
    HWND ownerWindow = options.ownerSelf ? CreateOwnerWindow() : nullptr;
    const std::int32_t owner =
        ownerWindow ? static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(ownerWindow))
                    : options.owner;
    const auto message = MessageOfFile(*file, owner);
    if (!message) {
        std::cerr << "drvsim: a block has 1300 bytes and a message 1312, not " << file->size()
                  << std::endl;
        return kExitUsage;
    }
    if (!options.sentFile.empty())
        SaveBytes(options.sentFile, *message);

    Program program;
    if (!options.attach) {
        const std::wstring path =
            options.program.empty() ? DefaultProgram() : Wide(options.program);
        if (!StartProgram(path, std::wstring(), program)) {
            std::cerr << "drvsim: cannot start " << Utf8(path) << std::endl;
            return kExitFailed;
        }
        std::cout << "program: started" << std::endl;
    }

    DdeClient client;
    if (!client.Initialize(options.links, options.topic, options.item)) {
        std::cerr << "drvsim: DDEML refused to start" << std::endl;
        return kExitFailed;
    }
    // The program registers its service when it starts; until then connections fail. A
    // connection that the program refuses ends it, which also ends the attempts.
    const bool connected =
        PumpUntil([&] { return client.TryConnect(0) || HasEnded(program.process); }, kConnectMs,
                  program.process) &&
        client.links()[0].conversation;
    if (!connected) {
        std::cout << "connection: refused or no server" << std::endl;
        AwaitEnd(program, kProgramEndMs);
        std::cout << "sheet: " << (program.everShown ? "a window was shown" : "none") << std::endl;
        std::cout << "answer: none" << std::endl;
        return kExitDone;
    }
    if (options.attach && !FindProgram(client.ServerWindow(), program))
        std::cerr << "drvsim: the program's process cannot be watched" << std::endl;
    for (int i = 1; i < options.links; ++i)
        client.TryConnect(i);
    int advised = 0;
    for (int i = 0; i < options.links; ++i)
        advised +=
            client.links()[static_cast<std::size_t>(i)].conversation && client.StartAdvise(i);
    std::cout << "connection: " << app::kDdeServiceName << " " << options.topic << ", " << advised
              << " advise link" << (advised == 1 ? "" : "s") << std::endl;

    if (options.noPoke) {
        AwaitEnd(program, kProgramEndMs);
        std::cout << "sheet: " << (program.everShown ? "a window was shown" : "none") << std::endl;
        PrintAnswer(client, *message, options);
        return kExitDone;
    }

    const std::vector<std::size_t> sizes =
        options.pokes.empty() ? std::vector<std::size_t>{message->size()} : options.pokes;
    std::int64_t poked = 0;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const bool acknowledged = client.Poke(SizedPoke(*message, sizes[i]));
        poked = NowMs();
        std::cout << "poke " << i + 1 << ": " << sizes[i] << " bytes, "
                  << (acknowledged ? "acknowledged" : "not acknowledged") << std::endl;
    }

    HWND sheet = nullptr;
    PumpUntil(
        [&] {
            sheet = program.id ? FindSheet(program.id) : nullptr;
            return sheet != nullptr || HasEnded(program.process) || client.AnyAnswer();
        },
        kSheetMs, program.process, kPollMs);
    if (!sheet) {
        std::cout << "sheet: none" << std::endl;
        AwaitEnd(program, kProgramEndMs);
        PrintAnswer(client, *message, options);
        return kExitDone;
    }
    std::cout << "sheet: visible " << (NowMs() - poked) << " ms after the poke";
    if (!program.attached)
        std::cout << ", " << (NowMs() - program.started) << " ms after the start";
    std::cout << std::endl;

    if (options.disconnectWhenShown) {
        client.DisconnectAll();
        std::cout << "connection: ended by drvsim while the sheet is shown" << std::endl;
        AwaitEnd(program, kProgramEndMs);
        PrintAnswer(client, *message, options);
        return kExitDone;
    }

    if (!steps.empty()) {
        SheetAutomation automation(program.id, program.process, sheet, kScriptStepMs);
        if (!automation.Run(steps)) {
            if (!options.attach && program.process)
                TerminateProcess(program.process, 1);
            return kExitExpectation;
        }
    }

    // The answer: from the first advise link it reaches, the others right after it.
    const int wait = options.timeoutMs > 0 ? options.timeoutMs : INT32_MAX;
    PumpUntil([&] { return client.AnyAnswer() || HasEnded(program.process); }, wait,
              program.process);
    PumpUntil([&] { return client.AllSettled(); }, kOtherLinksMs);
    PrintAnswer(client, *message, options);
    // The program waits for the driver to take the answer and hang up.
    client.DisconnectAll();
    AwaitEnd(program, kProgramEndMs);
    if (ownerWindow)
        DestroyWindow(ownerWindow);
    return kExitDone;
}

} // namespace
} // namespace drvsim

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(drvsim::Utf8(argv[i]));
    std::string error;
    const auto options = drvsim::ParseOptions(args, &error);
    if (!options) {
        std::cerr << "drvsim: " << error << "\n" << drvsim::kUsage;
        return drvsim::kExitUsage;
    }
    return drvsim::Run(*options);
}
