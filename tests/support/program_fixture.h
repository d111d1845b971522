#pragma once
// A run of the program on the headless backend: the driver is played over the simulated DDEML,
// the registry lives in memory, programs are only recorded, the files beside the program are
// the test's choice, and PPD files are written to a directory of the test's own.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "app/config_app.h"
#include "app/driver_link.h"
#include "app/settings_block.h"
#include "platform/file_system.h"
#include "platform/memory_registry.h"
#include "platform/program_launcher.h"
#include "platform/services.h"
#include "platform/simulated_ddeml.h"
#include "ui/headless/test_host.h"

namespace app::testing {

using Bytes = std::vector<std::uint8_t>;

// A PPD of a colour printer with defaults for every feature the reset takes.
extern const char kColorPpd[];

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest();
    ~ProgramTest() override;

    // Writes `text` as the PPD file `name` and returns the driver file path (a .dll beside it).
    std::string WritePpd(std::string_view name, std::string_view text);
    // A block as the driver sends it: defaults, the printer's name and driver path, and
    // recognisable bytes in every reserved range.
    PrinterSettingsBlock DriverBlock(const std::string& driverFilePath, bool device = false);
    // The 1312-byte message of `block` with the driver's owner window.
    Bytes Message(const PrinterSettingsBlock& block, std::int32_t owner) const;
    // The driver's start: connect, advise link on "Data", poke the message.
    std::size_t Driver(const Bytes& message, const std::string& topic = kDdeTopicName);

    // What the advise link of conversation `conv` delivered, one entry per advise request.
    std::vector<Bytes> Deliveries(std::size_t conv, std::size_t link = 0) const;

    platform::SimulatedDdeml dde;
    DriverLink link{dde, dde};
    platform::MemoryRegistry registry;
    platform::RecordingLauncher launcher;
    // The files beside the program: none until a test puts them there (the help file).
    platform::KnownFiles files;
    platform::ScopedServices services{platform::Services{&registry, &launcher, nullptr, &files}};
    ui::headless::TestHost host;
    std::filesystem::path dir;
};

} // namespace app::testing
