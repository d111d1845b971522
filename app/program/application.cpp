#include "app/program/application.h"

#include <cstdint>

#include "app/printer_query.h"
#include "app/program/properties_sheet.h"
#include "ppd/ppd.h"
#include "ui/services.h"
#include "ui/types.h"

namespace app {
namespace {

constexpr std::string_view kPpdExtension = "ppd";

// A window handle received as a 32-bit integer: handles are 32-bit values, zero-extended.
std::uintptr_t WindowOf(std::int32_t handle) {
    return static_cast<std::uintptr_t>(static_cast<std::uint32_t>(handle));
}

} // namespace

std::string PpdPathOfDriverFile(std::string_view driverFilePath) {
    std::string path(driverFilePath);
    const std::size_t replaced = std::min(path.size(), kPpdExtension.size());
    path.replace(path.size() - replaced, replaced,
                 kPpdExtension.substr(kPpdExtension.size() - replaced));
    return path;
}

RunOutcome RunConfigApp(ConfigApp& app, DriverLink& link, platform::Registry& registry,
                        const net::SnmpOptions& snmp) {
    // A run starts without a model and with the start-up query's tables fresh.
    app.SetPpdDocument(nullptr);
    app.startupScalars = net::ScalarTable();
    app.startupColumns = net::ColumnTable();

    std::int32_t owner = 0;
    if (!link.ReceiveSettings(owner, app.settings))
        return RunOutcome::NoSettings;
    app.ownerWindow = WindowOf(owner);

    const ppd::PpdDocument* document =
        ppd::LoadPpdDocument(PpdPathOfDriverFile(app.settings.driverFilePath()));
    if (document == nullptr)
        return RunOutcome::NoPpd;
    app.SetPpdDocument(document);

    PropertiesSheet sheet(app.settings.printerName(), app.ownerWindow,
                          app.settings.devicePropertiesMode() != 0);
    app.mainWindow = &sheet;

    app.settings.setColorDevice(document->colorDevice != 0 ? 1 : 0);

    app.printerStatus = QueryPrinterAtStartup(app.settings, registry, app.startupScalars.data(),
                                              app.startupColumns.data(), &app.trayEntries, snmp);
    SyncInstalledOptions(app.settings, document, app.printerStatus, app.startupScalars.data(),
                         app.trayEntries);

    RunOutcome outcome = RunOutcome::NothingSent;
    switch (sheet.DoModal()) {
    case ui::kIdOk:
        link.SendSettings(app.settings);
        outcome = RunOutcome::SentSettings;
        break;
    case ui::kIdCancel:
        link.SendCancel();
        outcome = RunOutcome::SentCancel;
        break;
    default:
        // The driver went away (or the loop ended otherwise): nobody is there to answer.
        break;
    }
    // Help windows opened from the sheet must not outlive the program's last window.
    ui::CloseHelp();
    app.mainWindow = nullptr;
    return outcome;
}

bool InitInstance(ConfigApp& app, DriverLink& link, platform::Registry& registry) {
    RunConfigApp(app, link, registry);
    return false;
}

} // namespace app
