#include "tools/sheetrun/explore_run.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <initializer_list>

#include "app/config_app.h"
#include "app/settings_message.h"
#include "pages/colour/color_profile_store.h"
#include "pages/colour/resident_profile_store.h"
#include "pages/fonts/font_substitution_store.h"
#include "pages/overlay/watermark_profile_store.h"
#include "pages/paper/custom_size_dialog.h"
#include "platform/memory_registry.h"
#include "ppd/ppd.h"
#include "tools/sheetrun/answer_check.h"
#include "tools/sheetrun/corpus_run.h"
#include "tools/sheetrun/headless_run.h"

namespace sheetrun {
namespace {

using platform::RegistryType;

constexpr char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers\\";

std::string Bytes(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

void PutWatermark(platform::MemoryRegistry& registry, std::string_view printer,
                  std::string_view name, std::string_view text,
                  std::size_t size = app::WatermarkProfile::kSize) {
    app::PrinterSettingsBlock block;
    app::ApplyNewBlockDefaults(block);
    block.setWatermarkName(name);
    block.setWatermarkText(text);
    block.setWatermarkSize(96);
    const app::WatermarkProfile profile = block.watermarkProfile();
    registry.Put(pages::WatermarkProfilesKey(printer), name, RegistryType::Binary,
                 Bytes(profile.bytes.data(), std::min(size, profile.bytes.size())));
}

void PutColorProfile(platform::MemoryRegistry& registry, std::string_view printer,
                     std::string_view name) {
    app::PrinterSettingsBlock block;
    app::ApplyNewBlockDefaults(block);
    block.setColorProfileName(name);
    block.setColorProfileIndex(0);
    block.setCrdMatching(1);
    block.setIccMatching(0);
    const app::ColorProfileRecord record = block.colorProfileRecord();
    registry.Put(pages::ColorProfilesKeyPath(printer), name, RegistryType::Binary,
                 Bytes(record.bytes.data(), record.bytes.size()));
}

void PutResident(platform::MemoryRegistry& registry, std::string_view printer, int kind,
                 std::string_view name, std::string_view file, bool onDisk) {
    pages::ResidentProfileRecord record;
    record.setDisk(onDisk ? 1 : 0);
    record.setName(name);
    record.setFileName(file);
    registry.Put(pages::ResidentProfilesKeyPath(printer, kind), name, RegistryType::Binary,
                 Bytes(record.bytes.data(), record.bytes.size()));
}

// The answer's block, or nothing when the delivery is not a 1312-byte message.
std::optional<app::PrinterSettingsBlock> BlockOf(const std::vector<std::uint8_t>& message) {
    if (message.size() != app::kSettingsMessageSize)
        return std::nullopt;
    app::PrinterSettingsBlock block;
    std::memcpy(block.data(), message.data() + app::kMessageBlockOffset, block.size());
    return block;
}

bool IsCancelMessage(const std::vector<std::uint8_t>& message) {
    if (message.size() != 8)
        return false;
    std::int32_t header[2];
    std::memcpy(header, message.data(), sizeof header);
    return header[0] == 8 && header[1] == 2;
}

// Checks what the driver received against how the sheet ended.
void CheckOutcome(const HeadlessRun& run, const SheetExplorer& explorer,
                  const app::PrinterSettingsBlock& sent, const platform::MemoryRegistry& registry,
                  std::vector<Finding>& failures) {
    const auto fail = [&](std::string kind, std::string detail) {
        failures.push_back({std::move(kind), std::move(detail)});
    };
    const bool single = run.answers.size() == 1 && run.answers[0].has_value();
    if (explorer.SheetResult() == ui::kIdOk) {
        if (run.outcome != app::RunOutcome::SentSettings || !single)
            return fail("answer", "OK was accepted, but the driver got no single answer");
        const std::optional<app::PrinterSettingsBlock> answer = BlockOf(*run.answers[0]);
        if (!answer)
            return fail("answer", "OK was accepted, but the answer holds " +
                                      std::to_string(run.answers[0]->size()) + " bytes");
        if (explorer.BlockAtOk() && *answer != *explorer.BlockAtOk())
            fail("answer", "the answer is not the block as it was when OK was accepted");
        for (const std::string& problem : CheckAnswer(sent, *answer))
            fail("answer-field", problem);
        for (const std::string& problem : CheckNamedProfiles(sent, *answer, registry))
            fail("named-profile", problem);
    } else if (explorer.SheetResult() == ui::kIdCancel) {
        if (run.outcome != app::RunOutcome::SentCancel || !single ||
            !IsCancelMessage(*run.answers[0]))
            fail("answer", "the sheet was cancelled, but the driver did not get the 8-byte cancel");
    } else {
        fail("answer", "the sheet did not end with OK or Cancel");
    }
}

} // namespace

void SeedRegistry(platform::MemoryRegistry& registry, std::string_view printer) {
    PutWatermark(registry, printer, "Logo firmy", "Firma s.r.o.");
    PutWatermark(registry, printer, "K\xD3PIA", "K\xD3PIA");
    // Another program's record, shorter than ours: the store reads it zero-filled.
    PutWatermark(registry, printer, "D\xF4ver", "D\xD4VERN\xC9", 120);
    PutColorProfile(registry, printer, "Moje farby");
    PutResident(registry, printer, pages::kResidentRgbSource, "sRGB tla\xE8iare\xF2", "SRGB.ICC",
                false);
    PutResident(registry, printer, pages::kResidentRgbSource, "Adobe RGB na disku", "ADOBE.ICC",
                true);
    PutResident(registry, printer, pages::kResidentSimulation, "SWOP", "SWOP.ICC", false);
    PutResident(registry, printer, pages::kResidentDestination, "Leskl\xFD papier", "GLOSS.ICC",
                false);
    PutResident(registry, printer, pages::kResidentCsa, "Farebn\xFD priestor A", "CSA.PS", false);
    const std::string driverData = pages::PrinterDriverDataKey(printer);
    registry.Put(driverData, pages::kDefaultFontTableValue, RegistryType::Binary,
                 std::string("Arial\0Helvetica\0Times New Roman\0Times\0\0", 39));
    registry.Put(driverData, pages::kResidentFontsValue, RegistryType::Binary,
                 std::string("Helvetica\0Times\0Courier\0\0", 25));
}

std::vector<std::string> CheckNamedProfiles(const app::PrinterSettingsBlock& sent,
                                            const app::PrinterSettingsBlock& answer,
                                            const platform::MemoryRegistry& registry) {
    const std::string printer = answer.printerName();
    struct Named {
        const char* what;
        int code;
        int storedCode;
        std::string sentName;
        std::string name;
        int sentCode;
        std::string key;
    };
    using B = app::PrinterSettingsBlock;
    const auto row = [&](const char* what, std::int16_t (B::*code)() const, int storedCode,
                         std::string (B::*name)() const, std::string key) {
        return Named{what,           (answer.*code)(), storedCode, (sent.*name)(), (answer.*name)(),
                     (sent.*code)(), std::move(key)};
    };
    const Named fields[] = {
        row("watermarkName", &B::watermarkCode, 8, &B::watermarkName,
            pages::WatermarkProfilesKey(printer)),
        row("colorProfileName", &B::colorProfileIndex, pages::kStoredColorProfile,
            &B::colorProfileName, pages::ColorProfilesKeyPath(printer)),
        row("rgbSourceProfileName", &B::rgbSource, pages::kResidentRgbSource,
            &B::rgbSourceProfileName,
            pages::ResidentProfilesKeyPath(printer, pages::kResidentRgbSource)),
        row("simulationProfileName", &B::colorSimulation, pages::kResidentSimulation,
            &B::simulationProfileName,
            pages::ResidentProfilesKeyPath(printer, pages::kResidentSimulation)),
        row("destinationProfileName", &B::destinationProfile, pages::kResidentDestination,
            &B::destinationProfileName,
            pages::ResidentProfilesKeyPath(printer, pages::kResidentDestination)),
        row("crdColorSpaceName", &B::crdColorSpace, pages::kResidentCsa, &B::crdColorSpaceName,
            pages::ResidentProfilesKeyPath(printer, pages::kResidentCsa)),
    };
    std::vector<std::string> problems;
    for (const Named& field : fields) {
        const bool changed = field.code != field.sentCode || field.name != field.sentName;
        if (field.code != field.storedCode || !changed)
            continue;
        if (!registry.Get(field.key, field.name))
            problems.push_back(std::string(field.what) + " names \"" + field.name +
                               "\", which is not stored");
    }
    return problems;
}

std::optional<app::PrinterSettingsBlock> SentBlockOf(const SequenceSetup& setup, bool* hasModel,
                                                     std::string* problem) {
    const std::filesystem::path link = std::filesystem::path(setup.scratchDir) / "p.ppd";
    std::error_code error;
    if (!std::filesystem::is_symlink(link, error)) {
        std::filesystem::create_symlink(std::filesystem::absolute(setup.ppdPath), link, error);
        if (error) {
            *problem = "cannot link the PPD into " + setup.scratchDir;
            return std::nullopt;
        }
    }
    const ppd::PpdDocument* document = ppd::LoadPpdDocument(link.string());
    *hasModel = document != nullptr;
    const std::vector<DriverBlock> blocks = DriverBlocks(document, setup.seed);
    ppd::FreePpdDocument(document);
    app::PrinterSettingsBlock sent =
        blocks.at(static_cast<std::size_t>(setup.block) % blocks.size()).block;
    sent.setDevicePropertiesMode(setup.device ? 1 : 0);
    sent.setPrinterName(kExplorerPrinter);
    if (!sent.setDriverFilePath((std::filesystem::path(setup.scratchDir) / "p.dll").string())) {
        *problem = "the scratch path is too long for the block";
        return std::nullopt;
    }
    return sent;
}

SequenceResult RunSequence(const SequenceSetup& setup, const std::vector<Action>* plan,
                           const std::function<void(const Action&)>& onAction) {
    SequenceResult result;
    const auto fail = [&](std::string kind, std::string detail) {
        result.failures.push_back({std::move(kind), std::move(detail)});
    };
    bool hasModel = false;
    std::string problem;
    const std::optional<app::PrinterSettingsBlock> block = SentBlockOf(setup, &hasModel, &problem);
    if (!block) {
        fail("setup", problem);
        return result;
    }
    const app::PrinterSettingsBlock& sent = result.sent = *block;

    platform::MemoryRegistry registry;
    SeedRegistry(registry, kExplorerPrinter);
    const StoredRecords seeded = RecordsUnder(registry, kExplorerPrinter);
    using Operation = platform::RegistryOperation;
    const auto bits = [](std::initializer_list<Operation> operations) {
        unsigned all = 0;
        for (const Operation operation : operations)
            all |= static_cast<unsigned>(operation);
        return all;
    };
    const std::string printerKey = std::string(kPrintersKey) + kExplorerPrinter + "\\";
    if (setup.refused == SequenceSetup::Refused::Writes)
        registry.RefuseOperations(
            bits({Operation::Create, Operation::OpenForWriting, Operation::Set, Operation::Delete}),
            printerKey);
    else if (setup.refused == SequenceSetup::Refused::Values)
        registry.RefuseOperations(bits({Operation::Set, Operation::Delete}), printerKey);
    ui::headless::TestHost host;
    SheetExplorer::Options options;
    options.seed = setup.seed;
    options.actions = setup.actions;
    options.plan = plan;
    options.registry = &registry;
    options.onAction = onAction;
    SheetExplorer explorer(host, options);
    host.OnSheet([&] {
        if (ui::PropertySheet* sheet = app::TheApp().mainWindow)
            explorer.Explore(*sheet);
    });
    const HeadlessRun run = RunProgramWithHost(SettingsMessageOf(sent), registry, host);

    if (!run.exception.empty())
        fail("exception", run.exception);
    for (const std::string& problem : run.scriptFailures)
        fail("script", problem);
    result.failures.insert(result.failures.end(), explorer.Findings().begin(),
                           explorer.Findings().end());
    if (!hasModel) {
        // A PPD without a model ends the program silently: no sheet, no answer.
        if (run.outcome != app::RunOutcome::NoPpd || !run.answers.empty())
            fail("answer", "a PPD without a model did not end the program silently");
    } else if (run.exception.empty()) {
        CheckOutcome(run, explorer, sent, registry, result.failures);
    }
    for (const std::string& problem : CheckRegistry(registry, kExplorerPrinter, seeded))
        fail("registry", problem);
    result.actions = explorer.Actions();
    result.script = explorer.Script();
    return result;
}

std::vector<Action> ShrinkActions(std::vector<Action> actions,
                                  const std::function<bool(const std::vector<Action>&)>& fails,
                                  int maxRuns) {
    int runs = 0;
    for (std::size_t chunk = std::max<std::size_t>(actions.size() / 2, 1); chunk >= 1; chunk /= 2) {
        for (std::size_t start = 0; start < actions.size() && runs < maxRuns;) {
            std::vector<Action> candidate(actions.begin(),
                                          actions.begin() + static_cast<std::ptrdiff_t>(start));
            const std::size_t end = std::min(actions.size(), start + chunk);
            candidate.insert(candidate.end(), actions.begin() + static_cast<std::ptrdiff_t>(end),
                             actions.end());
            ++runs;
            if (fails(candidate))
                actions = std::move(candidate); // the same start now holds what came after
            else
                start = end;
        }
        if (chunk == 1 || runs >= maxRuns)
            break;
    }
    return actions;
}

} // namespace sheetrun
