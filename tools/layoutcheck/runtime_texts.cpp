#include "tools/layoutcheck/runtime_texts.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <mutex>
#include <optional>

#include "app/config_app.h"
#include "app/printer_query.h"
#include "app/settings_block.h"
#include "pages/about/reset_settings.h"
#include "pages/consumables/consumables_page.h"
#include "pages/settings/settings_page.h"
#include "platform/memory_registry.h"
#include "platform/program_launcher.h"
#include "platform/services.h"
#include "ppd/ppd.h"
#include "res/resource.h"
#include "tests/net/agent/fake_agent.h"
#include "tools/sheetrun/headless_run.h"
#include "ui/dialog.h"
#include "ui/headless/test_host.h"

namespace layoutcheck {
namespace {

using net::testing::FakeAgent;
using net::testing::PrinterObjects;

// The headless backend, noting every text a page or dialog puts into one of its controls, the
// width the control has while it shows the text, and the controls it shows.
class TextRecorder : public ui::headless::TestHost {
public:
    explicit TextRecorder(RuntimeTexts& texts) : texts_(texts) {}

    void SetText(ui::Handle window, std::string_view text) override {
        TestHost::SetText(window, text);
        if (ControlUse* use = Use(window)) {
            use->texts.emplace(std::string(text), 0);
            shownText_[window] = std::string(text);
        }
    }
    int AddString(ui::Handle list, std::string_view text) override {
        if (ControlUse* use = Use(list))
            use->texts.emplace(std::string(text), 0);
        return TestHost::AddString(list, text);
    }
    int InsertString(ui::Handle list, int index, std::string_view text) override {
        if (ControlUse* use = Use(list))
            use->texts.emplace(std::string(text), 0);
        return TestHost::InsertString(list, index, text);
    }
    void SetWindowPos(ui::Handle window, int x, int y, int cx, int cy) override {
        TestHost::SetWindowPos(window, x, y, cx, cy);
        const auto shown = shownText_.find(window);
        ControlUse* use = Use(window);
        if (shown == shownText_.end() || !use)
            return;
        // Back to dialog units, rounded up: the base unit of the templates' font at this DPI.
        const int baseUnit = kDialogBaseUnitX * Dpi() / 96;
        int& widest = use->texts[shown->second];
        widest = std::max(widest, (cx * 4 + baseUnit - 1) / baseUnit);
    }
    void Show(ui::Handle window, bool show) override {
        TestHost::Show(window, show);
        if (ControlUse* use = show ? Use(window) : nullptr)
            use->shown = true;
    }

private:
    // The record of a control of a dialog or page; null for other windows.
    ControlUse* Use(ui::Handle control) {
        const int dialog = DialogTemplateOf(control);
        return dialog != 0 ? &texts_[{dialog, ControlId(control)}] : nullptr;
    }

    RuntimeTexts& texts_;
    std::map<ui::Handle, std::string> shownText_; // what SetText put there last
};

// The value of an agent script's object line after "v=", or nullopt when it is unreadable.
std::optional<std::string> AgentValue(std::string_view value) {
    constexpr std::string_view kPrintf = "$(printf '";
    if (value.substr(0, kPrintf.size()) == kPrintf) {
        const std::size_t end = value.find("')", kPrintf.size());
        if (end == std::string_view::npos)
            return std::nullopt;
        std::string bytes;
        for (std::size_t at = kPrintf.size(); at < end; ++at) {
            if (value[at] != '\\') {
                bytes.push_back(value[at]);
                continue;
            }
            int octal = 0, digits = 0;
            while (digits < 3 && at + 1 < end && value[at + 1] >= '0' && value[at + 1] <= '7') {
                octal = octal * 8 + (value[++at] - '0');
                ++digits;
            }
            if (digits == 0)
                return std::nullopt;
            bytes.push_back(static_cast<char>(octal));
        }
        return bytes;
    }
    if (!value.empty() && value[0] == '"') {
        const std::size_t end = value.find('"', 1);
        return end == std::string_view::npos ? std::nullopt
                                             : std::optional<std::string>(value.substr(1, end - 1));
    }
    const std::size_t end = value.find(' ');
    return std::string(value.substr(0, end));
}

bool IsNumber(std::string_view text) {
    const std::size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
    return text.size() > start && text.size() < 11 &&
           text.find_first_not_of("0123456789", start) == std::string_view::npos;
}

// The block the driver sends for the printer in device properties: the new block's defaults
// and the PPD's, with every installable option installed when `installed`.
app::PrinterSettingsBlock DriverBlock(const PrinterData& printer, bool installed) {
    app::PrinterSettingsBlock block;
    app::ApplyNewBlockDefaults(block);
    platform::MemoryRegistry scratch;
    const ppd::PpdDocument* document =
        ppd::ReadPpdFile(app::PpdPathOfDriverFile(printer.driverPath));
    pages::ResetSettingsToDefaults(block, document, scratch);
    if (document)
        ppd::FreePpdDocument(document);
    if (installed) {
        for (const app::InstalledOptionFlag& flag : app::InstalledOptionFlags())
            (block.*flag.set)(1);
    }
    block.setDevicePropertiesMode(1);
    block.setPrinterName(printer.printerName);
    block.setDriverFilePath(printer.driverPath);
    return block;
}

// The Consumables page alone, asking the printer played by `agent`.
void RunConsumablesPage(const PrinterData& printer, const net::SnmpOptions& snmp, int colorDevice,
                        RuntimeTexts& texts, std::vector<std::string>& problems) {
    platform::MemoryRegistry registry;
    platform::RecordingLauncher launcher;
    platform::ScopedServices services({&registry, &launcher});
    app::PrinterSettingsBlock& settings = app::TheApp().settings;
    settings = app::PrinterSettingsBlock();
    settings.setPrinterName(printer.printerName);
    settings.setSnmpCommunity("public");
    settings.setPrinterAddress("127.0.0.1");
    settings.setColorDevice(static_cast<std::int16_t>(colorDevice));
    TextRecorder host(texts);
    pages::CConsumables page;
    page.SetSnmpOptions(snmp);
    ui::PropertySheet sheet(printer.printerName);
    sheet.AddPage(page);
    host.OnSheet([&] { host.PressCancel(); });
    sheet.DoModal();
    for (const std::string& failure : host.TakeFailures())
        problems.push_back("Consumables page: " + failure);
    settings = app::PrinterSettingsBlock();
}

} // namespace

std::vector<AgentObject> ReadAgentScript(std::string_view script,
                                         std::vector<std::string>* problems) {
    std::vector<AgentObject> objects;
    std::size_t start = 0;
    while (start < script.size()) {
        std::size_t end = script.find('\n', start);
        if (end == std::string_view::npos)
            end = script.size();
        const std::string_view line = script.substr(start, end - start);
        start = end + 1;
        const std::size_t close = line.find(") ");
        if (line.empty() || line[0] != '.' || close == std::string_view::npos ||
            line.substr(close).find(";;") == std::string_view::npos)
            continue;
        AgentObject object;
        object.oid = std::string(line.substr(0, close));
        std::string_view rest = line.substr(close + 2);
        constexpr std::string_view kText = "t=string ";
        if (rest.substr(0, kText.size()) == kText) {
            object.text = true;
            rest.remove_prefix(kText.size());
        }
        std::optional<std::string> value;
        if (rest.substr(0, 2) == "v=")
            value = AgentValue(rest.substr(2));
        if (!value || (!object.text && !IsNumber(*value))) {
            problems->push_back("unreadable object: " + std::string(line));
            continue;
        }
        if (object.text)
            object.bytes = *value;
        else
            object.number = std::stoi(*value);
        objects.push_back(std::move(object));
    }
    return objects;
}

Harvest HarvestRuntimeTexts(const PrinterData& printer) {
    Harvest harvest;
    PrinterObjects objects;
    for (const AgentObject& object : printer.agent) {
        if (object.text)
            objects.Text(object.oid, object.bytes);
        else
            objects.Integer(object.oid, object.number);
    }
    // The printer answers while `answering`; then it is switched off.
    std::mutex mutex;
    bool answering = true;
    const FakeAgent::Responder answers = objects.Responder("public");
    FakeAgent agent([&](const net::testing::ReceivedRequest& request) {
        std::lock_guard<std::mutex> lock(mutex);
        return answering ? answers(request) : std::vector<net::testing::Bytes>{};
    });
    if (!agent.ok()) {
        harvest.problems.push_back("the printer's agent could not start");
        return harvest;
    }

    // The whole program, walked, as the printer's defaults and with every option installed.
    for (const bool installed : {false, true}) {
        const app::PrinterSettingsBlock block = DriverBlock(printer, installed);
        if (block.driverFilePath() != printer.driverPath) {
            harvest.problems.push_back("the driver path does not fit the block: " +
                                       printer.driverPath);
            return harvest;
        }
        TextRecorder host(harvest.texts);
        const net::SnmpOptions snmp = agent.options(2000);
        const sheetrun::HeadlessRun run = sheetrun::RunProgramHeadless(
            sheetrun::SettingsMessageOf(block),
            sheetrun::RunSetup{*printer.registry, &host, printer.fonts, &snmp});
        const std::string label = installed ? "walk with every option: " : "walk: ";
        if (!run.exception.empty())
            harvest.problems.push_back(label + run.exception);
        for (const std::string& failure : run.scriptFailures)
            harvest.problems.push_back(label + failure);
        if (run.outcome != app::RunOutcome::SentSettings)
            harvest.problems.push_back(label + "the sheet did not end with OK");
    }

    // What the Consumables page shows from the printer's answers, and without them.
    RunConsumablesPage(printer, agent.options(2000), 1, harvest.texts, harvest.problems);
    RunConsumablesPage(printer, agent.options(2000), 0, harvest.texts, harvest.problems);
    {
        std::lock_guard<std::mutex> lock(mutex);
        answering = false;
    }
    RunConsumablesPage(printer, agent.options(20), 1, harvest.texts, harvest.problems);

    // Every status line of the two-way communication check.
    for (const int status : {pages::kCommunicationChecking, pages::kCommunicationAvailable,
                             pages::kCommunicationUnavailable})
        harvest.texts[{IDD_SETTINGS, IDC_COMM_STATUS}].texts.emplace(
            std::string(pages::CommunicationStatusText(status)), 0);
    return harvest;
}

} // namespace layoutcheck
