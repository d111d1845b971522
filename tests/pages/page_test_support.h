#pragma once
// What the page tests share: the application state of one test (a fresh block, a PPD model,
// an in-memory registry) and running a page in a sheet on the headless backend.
#include <functional>
#include <string>
#include <string_view>

#include "app/config_app.h"
#include "app/settings_block.h"
#include "platform/file_system.h"
#include "platform/memory_registry.h"
#include "platform/services.h"
#include "ppd/ppd.h"
#include "res/resource.h"
#include "ui/dialog.h"
#include "ui/headless/test_host.h"
#include "ui/services.h"

namespace pages::testing {

// Every operation that changes the registry, refused as Windows refuses a standard user: no key
// created or opened for writing, no value set or deleted.
inline constexpr unsigned kWritesRefused =
    static_cast<unsigned>(platform::RegistryOperation::Create) |
    static_cast<unsigned>(platform::RegistryOperation::OpenForWriting) |
    static_cast<unsigned>(platform::RegistryOperation::Set) |
    static_cast<unsigned>(platform::RegistryOperation::Delete);

// One operation as the mask RefuseOperations takes.
inline constexpr unsigned Refusing(platform::RegistryOperation operation) {
    return static_cast<unsigned>(operation);
}

inline std::string DataPath(std::string_view name) {
    return std::string(VELA_SOURCE_DIR) + "/tests/pages/data/" + std::string(name);
}

// For the duration of a test: a zeroed block carrying a printer name, the PPD model read from
// a fixture (or parsed from text, or none), an in-memory registry and no files beside the
// program (a test that opens help installs the help file with InstallHelpFile).
class AppState {
public:
    enum class Source { File, Text };

    AppState()
        : services_(platform::Services{&registry, platform::CurrentServices().launcher, nullptr,
                                       &files}) {
        app::TheApp().settings = app::PrinterSettingsBlock();
        app::TheApp().settings.setPrinterName("Vela Test");
        app::TheApp().SetPpdDocument(nullptr);
    }
    // A fixture of tests/pages/data.
    explicit AppState(std::string_view fixture) : AppState() {
        app::TheApp().SetPpdDocument(ppd::ReadPpdFile(DataPath(fixture)));
    }
    AppState(Source, std::string_view text) : AppState() {
        app::TheApp().SetPpdDocument(ppd::ParsePpdBytes(text.data(), text.size(), "inline.ppd"));
    }
    ~AppState() {
        app::TheApp().SetPpdDocument(nullptr);
        app::TheApp().settings = app::PrinterSettingsBlock();
    }
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    app::PrinterSettingsBlock& block() { return app::TheApp().settings; }
    bool loaded() const { return app::TheApp().ppdDocument != nullptr; }

    // Puts the help file beside the program of the backend in use (install the TestHost first).
    void InstallHelpFile() { files.files.push_back(ui::HelpFilePath()); }

    platform::MemoryRegistry registry;
    platform::KnownFiles files;

private:
    platform::ScopedServices services_;
};

// A page without code of its own, to switch to (the page being left runs its deactivation).
class OtherPage : public ui::PropertyPage {
public:
    OtherPage() : ui::PropertyPage(IDD_FONTS) {}
};

// Runs `page` in a sheet followed by another page; `body` acts as the user and ends the sheet.
inline int RunPage(ui::headless::TestHost& host, ui::PropertyPage& page,
                   const std::function<void()>& body) {
    OtherPage other;
    ui::PropertySheet sheet("Vela Test");
    sheet.AddPage(page);
    sheet.AddPage(other);
    host.OnSheet(body);
    return sheet.DoModal();
}

} // namespace pages::testing
