#include "app/config_app.h"

#include "ppd/ppd.h"

namespace app {

ConfigApp::ConfigApp() = default;

ConfigApp::~ConfigApp() {
    SetPpdDocument(nullptr);
}

void ConfigApp::SetPpdDocument(const ppd::PpdDocument* document) {
    // Every document handed over is a reference of its own (the loader's cache may hand out
    // the same document again), so the one held before is given back even when it is the same.
    if (ppdDocument != nullptr)
        ppd::FreePpdDocument(ppdDocument);
    ppdDocument = document;
}

ConfigApp& TheApp() {
    static ConfigApp app;
    return app;
}

} // namespace app
