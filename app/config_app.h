#pragma once
// The one application object: the state the pages share during a run. Pages and dialogs reach
// it through TheApp(): the live settings block they edit, the PPD model they query, the
// printer's answers to the start-up query, and the sheet (the main window) with their sibling
// pages. The start-up routine that fills it lives in the application layer above.
#include <cstdint>

#include "app/printer_query.h"
#include "app/settings_block.h"
#include "net/snmp_client.h"

namespace ppd {
struct PpdDocument;
}
namespace ui {
class PropertySheet;
}

namespace app {

class ConfigApp {
public:
    ConfigApp();
    // Releases the PPD model.
    ~ConfigApp();
    ConfigApp(const ConfigApp&) = delete;
    ConfigApp& operator=(const ConfigApp&) = delete;

    // The window named in the driver's message; owner of the sheet. 0 until received.
    std::uintptr_t ownerWindow = 0;
    // The block the pages edit and that is sent back on OK.
    PrinterSettingsBlock settings;
    // The loaded PPD model, owned (released with FreePpdDocument); null until loaded.
    const ppd::PpdDocument* ppdDocument = nullptr;
    // The start-up query's tables with their answers.
    net::SnmpScalarTable startupScalars = net::ScalarTable();
    net::SnmpColumnTable startupColumns = net::ColumnTable();
    std::int32_t printerStatus = kPrinterUnavailable;
    net::ComponentEntries trayEntries{};
    // The property sheet while it runs; null otherwise.
    ui::PropertySheet* mainWindow = nullptr;

    // Takes over one reference to `document` (from LoadPpdDocument) and gives back the one
    // held before.
    void SetPpdDocument(const ppd::PpdDocument* document);
};

// The application singleton.
ConfigApp& TheApp();

} // namespace app
