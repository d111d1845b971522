#include "tests/support/program_fixture.h"

#include <chrono>
#include <cstring>
#include <fstream>
#include <random>

#include "app/settings_message.h"
#include "ppd/ppd.h"

namespace app::testing {

const char kColorPpd[] = R"(*PPD-Adobe: "4.3"
*ColorDevice: False
*Extensions: CMYK
*OpenUI *PageSize: PickOne
*DefaultPageSize: A4
*PageSize Letter/Letter: "<</PageSize[612 792]>>setpagedevice"
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *MediaType: PickOne
*DefaultMediaType: Transparency
*MediaType PlainPaper/Plain: ""
*MediaType Transparency/Transparency: ""
*CloseUI: *MediaType
*OpenUI *OutputBin: PickOne
*DefaultOutputBin: Tray2
*OutputBin Upper/Upper: ""
*OutputBin Tray2/Tray 2: ""
*CloseUI: *OutputBin
*OpenUI *Resolution: PickOne
*DefaultResolution: 1200dpi
*Resolution 600dpi/600 dpi: ""
*Resolution 1200dpi/1200 dpi: ""
*CloseUI: *Resolution
*OpenUI *HalftoneType: PickOne
*DefaultHalftoneType: ColorSmooth
*HalftoneType Standard/Standard: ""
*HalftoneType ColorSmooth/Smooth: ""
*CloseUI: *HalftoneType
*OpenUI *PrintQuality: PickOne
*DefaultPrintQuality: FineMode
*PrintQuality NormalMode/Normal: ""
*PrintQuality FineMode/Fine: ""
*CloseUI: *PrintQuality
)";

ProgramTest::ProgramTest() {
    std::mt19937 random(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    dir = std::filesystem::temp_directory_path() / ("vp" + std::to_string(random() % 1000000));
    std::filesystem::create_directories(dir);
    host.SetProgramPath("C:\\Vela\\VELA40PS.EXE");
    ConfigApp& app = TheApp();
    app.settings = PrinterSettingsBlock();
    app.ownerWindow = 0;
    app.SetPpdDocument(nullptr);
    app.printerStatus = kPrinterUnavailable;
    ppd::ClearPpdDocumentCache();
}

ProgramTest::~ProgramTest() {
    TheApp().SetPpdDocument(nullptr);
    ppd::ClearPpdDocumentCache();
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

std::string ProgramTest::WritePpd(std::string_view name, std::string_view text) {
    const std::filesystem::path file = dir / name;
    std::ofstream(file, std::ios::binary)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
    std::string driver = file.string();
    driver.replace(driver.size() - 3, 3, "dll");
    return driver;
}

PrinterSettingsBlock ProgramTest::DriverBlock(const std::string& driverFilePath, bool device) {
    PrinterSettingsBlock block;
    ApplyNewBlockDefaults(block);
    for (const SettingsField& field : SettingsFields()) {
        if (!field.named()) {
            for (std::size_t i = 0; i < field.size; ++i)
                block.data()[field.offset + i] = static_cast<std::uint8_t>(0x5A + field.offset + i);
        }
    }
    block.setPrinterName("Vela Farebn\xE1");
    EXPECT_TRUE(block.setDriverFilePath(driverFilePath)) << driverFilePath;
    block.setDevicePropertiesMode(device ? 1 : 0);
    return block;
}

Bytes ProgramTest::Message(const PrinterSettingsBlock& block, std::int32_t owner) const {
    Bytes bytes(kSettingsMessageSize);
    const std::int32_t header[3] = {static_cast<std::int32_t>(kSettingsMessageSize), 1, owner};
    std::memcpy(bytes.data(), header, sizeof header);
    std::memcpy(bytes.data() + kMessageBlockOffset, block.data(), block.size());
    return bytes;
}

std::size_t ProgramTest::Driver(const Bytes& message, const std::string& topic) {
    const std::size_t conv = dde.Connect(kDdeServiceName, topic);
    dde.StartAdvise(conv, kDdeItemName, 0xFFFFC000u);
    dde.Poke(conv, kDdeItemName, message);
    return conv;
}

std::vector<Bytes> ProgramTest::Deliveries(std::size_t conv, std::size_t linkIndex) const {
    std::vector<Bytes> result;
    const auto& links = dde.conversation(conv).links;
    if (linkIndex >= links.size())
        return result;
    for (const auto& delivery : links[linkIndex].deliveries)
        result.push_back(delivery.value_or(Bytes()));
    return result;
}

} // namespace app::testing
