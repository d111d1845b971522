#include "app/config_app.h"

#include "ppd/ppd.h"

namespace app {

ConfigApp::ConfigApp() = default;

ConfigApp::~ConfigApp() {
    SetPpdDocument(nullptr);
}

void ConfigApp::SetPpdDocument(const ppd::PpdDocument* document) {
    if (ppdDocument != nullptr && ppdDocument != document)
        ppd::FreePpdDocument(ppdDocument);
    ppdDocument = document;
}

ConfigApp& TheApp() {
    static ConfigApp app;
    return app;
}

} // namespace app
