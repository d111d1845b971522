#pragma once
// Runs the program's dialog templates with the real Win32 backend: pages inside a property sheet
// that holds every page (so they appear as in the program's sheet), modal dialogs on their own.
// Optionally takes a picture of the window once it has been painted, then closes it.
#include <string>

#include "tools/dlgview/catalogue.h"
#include "tools/dlgview/win32/demo_printer.h"
#include "ui/win32/win32_backend.h"

namespace dlgview {

class Viewer : public ui::win32::Win32Backend::Hooks {
public:
    // With `demo`, the colour dialogs run as their classes on its printer's data.
    explicit Viewer(const DemoPrinter* demo = nullptr);
    ~Viewer() override;
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    // Shows the template until the user closes it.
    void Show(const TemplateInfo& info);
    // Shows the template, writes a PNG of its window (the whole sheet for a page) and closes it.
    // False with a reason when no picture was written.
    bool Screenshot(const TemplateInfo& info, const std::string& path, std::string* error);

    // Called from the capture timer.
    void CaptureStep(HWND window);

private:
    void Run(const TemplateInfo& info);

    void ModalStarted(HWND window, int templateId, bool isSheet) override;
    void MessageBoxStarting(const ui::MessageBoxCall&) override {}
    std::optional<std::string> OpenFile(const ui::OpenFileRequest&) override {
        return std::nullopt;
    }
    void WinHelp(const ui::HelpCall&) override {}
    bool HtmlHelp(const ui::HtmlHelpCall&) override { return true; }

    // The picture being taken: where to, which window, how far.
    struct Shot {
        std::string path;
        HWND window = nullptr;
        bool isSheet = false;
        int step = 0;
        bool written = false;
        std::string error;
    };
    Shot* shot_ = nullptr;
    const DemoPrinter* demo_;
};

} // namespace dlgview
