// Every registry record the program reads, as anything might have left it: the input is a
// list of values (where, type, name, data) put into the simulated registry, then the whole
// program runs on the headless backend over a PPD of ours, in device properties so that every
// page is there, with the sheet walked up to OK: each page and dialog reads its records as
// the user opens it.
//
// Input: records of [slot][type][name length][name][data length, 2 bytes][data], to the end.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/settings_block.h"
#include "app/settings_message.h"
#include "platform/memory_registry.h"
#include "tools/sheetrun/headless_run.h"

namespace {

constexpr char kPrinter[] = "Vela Fuzz";
const std::string kPrinterKey =
    std::string("System\\CurrentControlSet\\Control\\Print\\Printers\\") + kPrinter;

// Where a record goes: the key, and the value name when the slot fixes it (null: the input
// names it, as profile lists do).
struct Slot {
    std::string key;
    const char* name;
};
const Slot kSlots[] = {
    {kPrinterKey + "\\PrinterDriverData", "CustomSizes"},
    {kPrinterKey + "\\PrinterDriverData", "FontSub"},
    {kPrinterKey + "\\PrinterDriverData", "DfltFontSub"},
    {kPrinterKey + "\\PrinterDriverData", "RESFONT"},
    {"SOFTWARE\\CLASSES\\htmlfile\\shell\\open\\command", ""},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OZProfDl.exe", ""},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ZELProDw.exe", ""},
    {"Network\\Logon", "username"},
    {kPrinterKey + "\\Watermark Profiles", nullptr},
    {kPrinterKey + "\\Color Profiles", nullptr},
    {kPrinterKey + "\\Printer Resident\\RGB Source Profiles", nullptr},
    {kPrinterKey + "\\Printer Resident\\Simulation Profiles", nullptr},
    {kPrinterKey + "\\Printer Resident\\Destination Profiles", nullptr},
    {kPrinterKey + "\\Printer Resident\\CSA Profiles", nullptr},
};

const platform::RegistryType kTypes[] = {
    platform::RegistryType::Binary,       platform::RegistryType::String,
    platform::RegistryType::ExpandString, platform::RegistryType::Dword,
    platform::RegistryType::MultiString,  platform::RegistryType::None,
};

// The driver's message: the demo PPD's printer in device properties, with the block's defaults.
const std::vector<std::uint8_t>& Message() {
    static const std::vector<std::uint8_t> message = [] {
        const std::string dir = "/tmp/vela-fuzz-registry";
        const std::string command = "mkdir -p " + dir + " && cp " + VELA_SOURCE_DIR +
                                    "/samples/vela-demo.ppd " + dir + "/d.ppd";
        if (std::system(command.c_str()) != 0)
            std::abort();
        app::PrinterSettingsBlock block;
        app::ApplyNewBlockDefaults(block);
        block.setDevicePropertiesMode(1);
        block.setDiskInstalled(1);
        block.setPrinterName(kPrinter);
        block.setDriverFilePath(dir + "/d.dll");
        return sheetrun::SettingsMessageOf(block);
    }();
    return message;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::MemoryRegistry registry;
    std::size_t at = 0;
    const auto take = [&](std::size_t n) {
        const std::string bytes(reinterpret_cast<const char*>(data) + at, std::min(n, size - at));
        at += bytes.size();
        return bytes;
    };
    while (at + 3 <= size) {
        const Slot& slot = kSlots[data[at] % std::size(kSlots)];
        const platform::RegistryType type = kTypes[data[at + 1] % std::size(kTypes)];
        const std::size_t nameLength = data[at + 2];
        at += 3;
        const std::string name = slot.name ? std::string(slot.name) : take(nameLength);
        if (at + 2 > size)
            break;
        const std::size_t dataLength = (data[at] | (data[at + 1] << 8)) % 1024;
        at += 2;
        registry.Put(slot.key, name, type, take(dataLength));
    }
    const sheetrun::HeadlessRun run = sheetrun::RunProgramHeadless(Message(), registry);
    // Whatever the registry held, the sheet ends and answers once with a whole message.
    if (!run.exception.empty() || run.answers.size() != 1 || !run.answers[0] ||
        (run.answers[0]->size() != app::kSettingsMessageSize &&
         run.answers[0]->size() != app::kCancelMessageSize))
        __builtin_trap();
    return 0;
}
