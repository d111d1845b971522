// vela40ps.exe: the driver starts it, it answers the driver over DDE and ends. There is no
// command line and no configuration of its own; everything comes from the driver's settings
// message, the printer's PPD and the registry.
#include "app/config_app.h"
#include "app/driver_link.h"
#include "app/program/application.h"
#include "platform/services.h"

int main() {
    app::InitInstance(app::TheApp(), app::ProcessDriverLink(), platform::registry());
    return 0;
}
