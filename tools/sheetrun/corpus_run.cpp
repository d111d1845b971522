#include "tools/sheetrun/corpus_run.h"

#include <cstring>
#include <filesystem>
#include <random>

#include "app/printer_query.h"
#include "app/settings_message.h"
#include "pages/about/reset_settings.h"
#include "platform/memory_registry.h"
#include "ppd/ppd.h"
#include "tools/sheetrun/answer_check.h"
#include "tools/sheetrun/headless_run.h"

namespace sheetrun {
namespace {

constexpr char kPrinterName[] = "Vela Corpus";

} // namespace

std::vector<DriverBlock> DriverBlocks(const ppd::PpdDocument* document, unsigned seed) {
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

namespace {

// One run of the program; its problems are added to the result with `label` in front.
// A random block may hold values a page refuses with the user's message (an overlay name that
// breaks the 8.3 rule): the walk then cancels, and the driver must get the cancellation.
bool RefusedWithAMessage(const HeadlessRun& run) {
    return run.outcome == app::RunOutcome::SentCancel && run.okRefusedBy != 0 &&
           !run.lastMessage.empty() && run.answers.size() == 1 && run.answers[0] &&
           run.answers[0]->size() == 8;
}

void RunOnce(const app::PrinterSettingsBlock& sent, const std::string& label, bool hasModel,
             bool randomBlock, PpdRunResult& result) {
    const auto fail = [&](const std::string& problem) {
        result.failures.push_back(label + ": " + problem);
    };
    platform::MemoryRegistry registry;
    const HeadlessRun run = RunProgramHeadless(SettingsMessageOf(sent), registry);
    if (!run.exception.empty())
        fail("exception: " + run.exception);
    for (const std::string& problem : run.scriptFailures)
        fail("script: " + problem);
    if (!hasModel) {
        // A PPD without a model ends the program silently: no sheet, no answer.
        if (run.outcome != app::RunOutcome::NoPpd || !run.answers.empty())
            fail("a PPD without a model did not end the program silently");
    } else if (randomBlock && RefusedWithAMessage(run)) {
        // Nothing more to check: the block went nowhere.
    } else if (run.outcome != app::RunOutcome::SentSettings) {
        static const char* const kOutcomes[] = {"no settings arrived", "no PPD model", "sent",
                                                "cancelled", "ended otherwise"};
        fail(std::string("the sheet did not end with OK: ") +
             kOutcomes[static_cast<int>(run.outcome)] +
             (run.okRefusedBy != 0 ? " (OK refused by page " + std::to_string(run.okRefusedBy) + ")"
                                   : std::string()) +
             (run.lastMessage.empty() ? std::string()
                                      : " (last message: \"" + run.lastMessage + "\")"));
    } else if (run.answers.size() != 1 || !run.answers[0] ||
               run.answers[0]->size() != app::kSettingsMessageSize) {
        fail("no single answer of " + std::to_string(app::kSettingsMessageSize) + " bytes");
    } else {
        app::PrinterSettingsBlock answer;
        std::memcpy(answer.data(), run.answers[0]->data() + app::kMessageBlockOffset,
                    answer.size());
        for (const std::string& problem : CheckAnswer(sent, answer))
            fail(problem);
    }
    for (const std::string& problem : CheckRegistry(registry, kPrinterName))
        fail(problem);
    result.dialogs += run.dialogs;
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
    const std::vector<DriverBlock> blocks = DriverBlocks(document, seed);
    if (document)
        ppd::FreePpdDocument(document);
    for (const DriverBlock& driver : blocks) {
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
                    std::string(driver.name) == "random", result);
        }
    }
    ppd::ClearPpdDocumentCache();
    std::filesystem::remove(link, error);
    return result;
}

} // namespace sheetrun
