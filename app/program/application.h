#pragma once
// The run of the program: receive the driver's settings, load the printer's PPD, ask the printer
// what is installed, show the property sheet, answer the driver. Everything happens in the
// start-up routine; the program ends when it returns.
#include <string>
#include <string_view>

#include "app/config_app.h"
#include "app/driver_link.h"
#include "net/snmp_client.h"

namespace platform {
class Registry;
}

namespace app {

// The PPD file beside a driver file: the path with its last three characters replaced by
// "ppd" ("C:\drv\vela.dll" gives "C:\drv\vela.ppd", "printer.x" gives "printerppd"). A path
// shorter than three characters has only its own characters replaced, by the last ones of
// "ppd" ("ab" gives "pd", "" stays ""); nothing outside the text is touched.
std::string PpdPathOfDriverFile(std::string_view driverFilePath);

// How a run ended.
enum class RunOutcome {
    NoSettings,   // no settings message arrived
    NoPpd,        // the PPD could not be loaded
    SentSettings, // OK: the block was sent
    SentCancel,   // Cancel: the cancellation was sent
    NothingSent,  // the sheet ended otherwise (the driver disconnected)
};

// The run, in order: receive the settings message (up to 5000 ms; none: end without a window
// and without an answer); load the PPD named by the block's driver file path (none: end
// silently, the link left open); build the sheet with the printer's name as caption and the
// driver's window as owner; set the block's colour flag from the PPD; ask the printer at
// start-up and take its installed options; run the sheet; answer OK with the block and Cancel
// with the cancellation, nothing when the sheet ended otherwise. `snmp` exists for tests; the
// program asks the printer's port 161.
RunOutcome RunConfigApp(ConfigApp& app, DriverLink& link, platform::Registry& registry,
                        const net::SnmpOptions& snmp = {});

// The framework's start-up routine: the run, then false, so that the program ends.
bool InitInstance(ConfigApp& app, DriverLink& link, platform::Registry& registry);

} // namespace app
