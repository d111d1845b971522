#include "tools/sheetrun/corpus_run.h"

#include <cstring>
#include <exception>
#include <filesystem>
#include <random>

#include "app/config_app.h"
#include "app/driver_link.h"
#include "app/printer_query.h"
#include "app/program/application.h"
#include "app/settings_message.h"
#include "pages/about/reset_settings.h"
#include "platform/font_enumerator.h"
#include "platform/memory_registry.h"
#include "platform/program_launcher.h"
#include "platform/services.h"
#include "platform/simulated_ddeml.h"
#include "ppd/ppd.h"
#include "tools/sheetrun/answer_check.h"
#include "tools/sheetrun/sheet_walker.h"
#include "ui/headless/test_host.h"

namespace sheetrun {
namespace {

constexpr char kPrinterName[] = "Vela Corpus";

struct Block {
    const char* name;
    app::PrinterSettingsBlock block;
};

// The three blocks the driver might send for this PPD (`document` may be null).
std::vector<Block> DriverBlocks(const ppd::PpdDocument* document, unsigned seed) {
    app::PrinterSettingsBlock defaults;
    app::ApplyNewBlockDefaults(defaults);
    platform::MemoryRegistry scratch;
    pages::ResetSettingsToDefaults(defaults, document, scratch);

    app::PrinterSettingsBlock installed = defaults;
    for (const app::InstalledOptionFlag& flag : app::InstalledOptionFlags())
        (installed.*flag.set)(1);

    app::PrinterSettingsBlock random;
    std::mt19937 generator(seed);
    for (std::size_t i = 0; i < random.size(); ++i)
        random.data()[i] = static_cast<std::uint8_t>(generator());
    return {{"defaults", defaults}, {"installed", installed}, {"random", random}};
}

std::vector<std::uint8_t> Message(const app::PrinterSettingsBlock& block) {
    std::vector<std::uint8_t> bytes(app::kSettingsMessageSize);
    const std::int32_t header[3] = {static_cast<std::int32_t>(app::kSettingsMessageSize), 1, 0};
    std::memcpy(bytes.data(), header, sizeof header);
    std::memcpy(bytes.data() + app::kMessageBlockOffset, block.data(), block.size());
    return bytes;
}

// One run of the program; its problems are added to `failures` with `label` in front.
void RunOnce(const app::PrinterSettingsBlock& sent, const std::string& label, bool hasModel,
             PpdRunResult& result) {
    std::vector<std::string>& failures = result.failures;
    const auto fail = [&](const std::string& problem) {
        failures.push_back(label + ": " + problem);
    };
    platform::MemoryRegistry registry;
    platform::RecordingLauncher launcher;
    platform::FixedFontEnumerator fonts;
    platform::ScopedServices services({&registry, &launcher, &fonts});
    ui::headless::TestHost host;
    host.SetProgramPath("C:\\Vela\\VELA40PS.EXE");
    host.SetThrowOnFailure(false);
    platform::SimulatedDdeml dde;
    app::DriverLink link{dde, dde};
    SheetWalker walker(host);
    host.OnSheet([&] { walker.WalkSheetAndPressOk(); });

    app::RunOutcome outcome = app::RunOutcome::NothingSent;
    std::size_t conv = 0;
    try {
        conv = dde.Connect(app::kDdeServiceName, app::kDdeTopicName);
        dde.StartAdvise(conv, app::kDdeItemName, 0xFFFFC000u);
        dde.Poke(conv, app::kDdeItemName, Message(sent));
        outcome = app::RunConfigApp(app::TheApp(), link, registry);
    } catch (const std::exception& error) {
        fail(std::string("exception: ") + error.what());
    }
    for (const std::string& problem : host.TakeFailures())
        fail("script: " + problem);
    const auto& links = dde.conversation(conv).links;
    const auto& deliveries = links.empty() ? decltype(links[0].deliveries){} : links[0].deliveries;
    if (!hasModel) {
        // A PPD without a model ends the program silently: no sheet, no answer.
        if (outcome != app::RunOutcome::NoPpd || !deliveries.empty())
            fail("a PPD without a model did not end the program silently");
    } else if (outcome != app::RunOutcome::SentSettings) {
        const auto& boxes = host.MessageBoxes();
        static const char* const kOutcomes[] = {"no settings arrived", "no PPD model", "sent",
                                                "cancelled", "ended otherwise"};
        fail(std::string("the sheet did not end with OK: ") + kOutcomes[static_cast<int>(outcome)] +
             (walker.OkRefusedBy() != 0
                  ? " (OK refused by page " + std::to_string(walker.OkRefusedBy()) + ")"
                  : std::string()) +
             (boxes.empty() ? std::string() : " (last message: \"" + boxes.back().text + "\")"));
    } else {
        if (deliveries.size() != 1 || !deliveries[0] ||
            deliveries[0]->size() != app::kSettingsMessageSize) {
            fail("no single answer of " + std::to_string(app::kSettingsMessageSize) + " bytes");
        } else {
            app::PrinterSettingsBlock answer;
            std::memcpy(answer.data(), deliveries[0]->data() + app::kMessageBlockOffset,
                        answer.size());
            for (const std::string& problem : CheckAnswer(sent, answer))
                fail(problem);
        }
    }
    for (const std::string& problem : CheckRegistry(registry, kPrinterName))
        fail(problem);
    result.dialogs += walker.DialogsOpened();
    app::TheApp().SetPpdDocument(nullptr);
}

} // namespace

PpdRunResult RunSheetOverPpd(const std::string& ppdPath, const std::string& scratchDir,
                             unsigned seed) {
    PpdRunResult result;
    const std::filesystem::path link = std::filesystem::path(scratchDir) / "p.ppd";
    std::error_code error;
    std::filesystem::remove(link, error);
    std::filesystem::create_symlink(std::filesystem::absolute(ppdPath), link, error);
    if (error) {
        result.failures.push_back("cannot link the PPD into " + scratchDir);
        return result;
    }
    const std::string driverPath = (std::filesystem::path(scratchDir) / "p.dll").string();
    const ppd::PpdDocument* document = ppd::ReadPpdFile(ppdPath);
    const bool hasModel = document != nullptr;
    const std::vector<Block> blocks = DriverBlocks(document, seed);
    if (document)
        ppd::FreePpdDocument(document);
    for (const Block& driver : blocks) {
        for (const bool device : {false, true}) {
            app::PrinterSettingsBlock sent = driver.block;
            sent.setDevicePropertiesMode(device ? 1 : 0);
            sent.setPrinterName(kPrinterName);
            if (!sent.setDriverFilePath(driverPath)) {
                result.failures.push_back("the scratch path is too long for the block");
                return result;
            }
            ++result.runs;
            RunOnce(sent, std::string(device ? "device/" : "document/") + driver.name, hasModel,
                    result);
        }
    }
    ppd::ClearPpdDocumentCache();
    std::filesystem::remove(link, error);
    return result;
}

} // namespace sheetrun
