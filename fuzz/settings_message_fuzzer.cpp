// The settings message as the driver pokes it: 0 to 2000 bytes of anything, then the whole
// program on the headless backend with the sheet walked up to OK. Inputs long enough to carry
// a block mostly get the path of a PPD of ours in the block's driver path (the first byte's
// low bit keeps the bytes as they came), so that the sheet is reached and shows what the
// block's other bytes make of it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/settings_message.h"
#include "platform/memory_registry.h"
#include "tools/sheetrun/headless_run.h"

namespace {

constexpr std::size_t kMaxPoke = 2000;
// driverFilePath: offset 65 of the block, 64 bytes.
constexpr std::size_t kDriverPathAt = app::kMessageBlockOffset + 65;
constexpr std::size_t kDriverPathSize = 64;

// A PPD of ours, written once beside a short driver path.
const std::string& DriverPath() {
    static const std::string path = [] {
        const std::string dir = "/tmp/vela-fuzz-message";
        std::string command = "mkdir -p " + dir;
        if (std::system(command.c_str()) != 0)
            return std::string();
        const std::string source = std::string(VELA_SOURCE_DIR) + "/samples/vela-demo.ppd";
        command = "cp " + source + " " + dir + "/d.ppd";
        if (std::system(command.c_str()) != 0)
            return std::string();
        return dir + "/d.dll";
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> message(data, data + std::min(size, kMaxPoke));
    if (size > 0 && (data[0] & 1) == 0 && message.size() >= kDriverPathAt + kDriverPathSize) {
        const std::string& path = DriverPath();
        std::memset(message.data() + kDriverPathAt, 0, kDriverPathSize);
        std::memcpy(message.data() + kDriverPathAt, path.data(),
                    std::min(path.size(), kDriverPathSize - 1));
    }
    platform::MemoryRegistry registry;
    const sheetrun::HeadlessRun run = sheetrun::RunProgramHeadless(message, registry);
    // Whatever came, the program answers at most once, and an answer is a whole message.
    if (run.answers.size() > 1 || !run.exception.empty())
        __builtin_trap();
    if (!run.answers.empty() && run.answers[0] &&
        run.answers[0]->size() != app::kSettingsMessageSize &&
        run.answers[0]->size() != app::kCancelMessageSize)
        __builtin_trap();
    return 0;
}
