#include "tools/sheetrun/replay_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/codepage1250.h"
#include "platform/memory_registry.h"

namespace sheetrun {
namespace {

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

} // namespace

void WriteReplayFiles(const std::string& directory, const std::string& name,
                      const SequenceSetup& setup, const app::PrinterSettingsBlock& sent,
                      const std::vector<std::string>& header, const std::vector<Action>& actions,
                      const std::vector<std::string>& script) {
    const std::filesystem::path dir(directory);
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    std::filesystem::copy_file(setup.ppdPath, dir / (name + ".ppd"),
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
    out << "# wine drvsim.exe --block " << name
        << ".block --set 'driverFilePath=" << WinePath(dir / (name + ".dll")) << "' --script "
        << name << ".txt\n";
    for (const std::string& line : script)
        out << line << "\n";
}

} // namespace sheetrun
