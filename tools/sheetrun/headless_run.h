#pragma once
// One run of the whole program on the headless backend: the driver (over the simulated DDEML)
// pokes a message, the program loads the PPD its block names, the sheet is walked as
// SheetWalker walks it and OK pressed, and what the driver received is collected. No network:
// the printer has no port in the registry unless the caller puts one there.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/program/application.h"

namespace platform {
class FontEnumerator;
class MemoryRegistry;
class Registry;
} // namespace platform

namespace ui::headless {
class TestHost;
}

namespace sheetrun {

struct HeadlessRun {
    app::RunOutcome outcome = app::RunOutcome::NothingSent;
    // Every delivery of the driver's advise link (nullopt: a delivery without data).
    std::vector<std::optional<std::vector<std::uint8_t>>> answers;
    std::vector<std::string> scriptFailures;
    std::string exception; // what escaped the run, if anything did
    int dialogs = 0;       // dialogs the walk opened
    int okRefusedBy = 0;   // the page template that kept the sheet open on OK
    std::string lastMessage;
};

HeadlessRun RunProgramHeadless(std::span<const std::uint8_t> message,
                               platform::MemoryRegistry& registry);

// What a run uses besides the message: the registry; the backend the sheet runs on, when the
// caller wants one of its own (a TestHost that records what the pages do), else a new one;
// the fonts the system offers, else a fixed list; where the start-up query asks the printer,
// else its port 161.
struct RunSetup {
    platform::Registry& registry;
    ui::headless::TestHost* host = nullptr;
    platform::FontEnumerator* fonts = nullptr;
    const net::SnmpOptions* snmp = nullptr;
};
HeadlessRun RunProgramHeadless(std::span<const std::uint8_t> message, const RunSetup& setup);

// The same run with no walk: the scripts of the caller's host (TestHost::OnSheet, the
// fallbacks) act on the sheet; `dialogs` and `okRefusedBy` are left 0. `setup.host` is needed.
HeadlessRun RunProgramWithHost(std::span<const std::uint8_t> message, const RunSetup& setup);
HeadlessRun RunProgramWithHost(std::span<const std::uint8_t> message,
                               platform::MemoryRegistry& registry, ui::headless::TestHost& host);

// The settings message of `block` as the driver pokes it (type 1, owner window 0).
std::vector<std::uint8_t> SettingsMessageOf(const app::PrinterSettingsBlock& block);

} // namespace sheetrun
