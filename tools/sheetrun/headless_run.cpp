#include "tools/sheetrun/headless_run.h"

#include <cstring>
#include <exception>
#include <optional>

#include "app/config_app.h"
#include "app/driver_link.h"
#include "app/settings_message.h"
#include "platform/font_enumerator.h"
#include "platform/memory_registry.h"
#include "platform/program_launcher.h"
#include "platform/services.h"
#include "platform/simulated_ddeml.h"
#include "tools/sheetrun/sheet_walker.h"
#include "ui/headless/test_host.h"

namespace sheetrun {

std::vector<std::uint8_t> SettingsMessageOf(const app::PrinterSettingsBlock& block) {
    std::vector<std::uint8_t> bytes(app::kSettingsMessageSize);
    const std::int32_t header[3] = {static_cast<std::int32_t>(app::kSettingsMessageSize), 1, 0};
    std::memcpy(bytes.data(), header, sizeof header);
    std::memcpy(bytes.data() + app::kMessageBlockOffset, block.data(), block.size());
    return bytes;
}

HeadlessRun RunProgramHeadless(std::span<const std::uint8_t> message,
                               platform::MemoryRegistry& registry) {
    return RunProgramHeadless(message, RunSetup{registry});
}

HeadlessRun RunProgramHeadless(std::span<const std::uint8_t> message, const RunSetup& setup) {
    std::optional<ui::headless::TestHost> ownHost;
    if (!setup.host)
        ownHost.emplace();
    ui::headless::TestHost& host = setup.host ? *setup.host : *ownHost;
    SheetWalker walker(host);
    host.OnSheet([&] { walker.WalkSheetAndPressOk(); });
    RunSetup walked = setup;
    walked.host = &host;
    HeadlessRun run = RunProgramWithHost(message, walked);
    run.dialogs = walker.DialogsOpened();
    run.okRefusedBy = walker.OkRefusedBy();
    return run;
}

HeadlessRun RunProgramWithHost(std::span<const std::uint8_t> message,
                               platform::MemoryRegistry& registry, ui::headless::TestHost& host) {
    return RunProgramWithHost(message, RunSetup{registry, &host});
}

HeadlessRun RunProgramWithHost(std::span<const std::uint8_t> message, const RunSetup& setup) {
    HeadlessRun run;
    platform::RecordingLauncher launcher;
    platform::FixedFontEnumerator fixedFonts;
    platform::Registry& registry = setup.registry;
    platform::ScopedServices services(
        {&registry, &launcher, setup.fonts ? setup.fonts : &fixedFonts});
    ui::headless::TestHost& host = *setup.host;
    host.SetProgramPath("C:\\Vela\\VELA40PS.EXE");
    host.SetThrowOnFailure(false);
    platform::SimulatedDdeml dde;
    app::DriverLink link{dde, dde};
    try {
        const std::size_t conv = dde.Connect(app::kDdeServiceName, app::kDdeTopicName);
        dde.StartAdvise(conv, app::kDdeItemName, 0xFFFFC000u);
        dde.Poke(conv, app::kDdeItemName,
                 std::vector<std::uint8_t>(message.begin(), message.end()));
        run.outcome = app::RunConfigApp(app::TheApp(), link, registry,
                                        setup.snmp ? *setup.snmp : net::SnmpOptions{});
        const auto& links = dde.conversation(conv).links;
        if (!links.empty())
            run.answers = links[0].deliveries;
    } catch (const std::exception& error) {
        run.exception = error.what();
    }
    run.scriptFailures = host.TakeFailures();
    if (!host.MessageBoxes().empty())
        run.lastMessage = host.MessageBoxes().back().text;
    app::TheApp().SetPpdDocument(nullptr);
    return run;
}

} // namespace sheetrun
