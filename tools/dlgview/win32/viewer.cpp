#include "tools/dlgview/win32/viewer.h"

#include <memory>
#include <vector>

#include "ui/dialog.h"
#include "ui/win32/window_capture.h"

namespace dlgview {
namespace {

constexpr UINT_PTR kCaptureTimer = 0x6C67;
// First the window is shown and painted by its own loop; then it is repainted, and the picture
// is taken one tick later, after the loop has flushed the painting to the screen.
constexpr UINT kFirstDelayMs = 400;
constexpr UINT kStepDelayMs = 150;
constexpr int kLastStep = 2;
// The window property that leads the timer back to the viewer.
constexpr wchar_t kViewerProperty[] = L"dlgview.viewer";

// The sheet's caption stands for the printer's name, which the driver would give.
constexpr char kSheetCaption[] = "Tla\xE8iare\xF2";

void CALLBACK CaptureTimer(HWND window, UINT, UINT_PTR, DWORD) {
    if (auto* viewer = static_cast<Viewer*>(GetPropW(window, kViewerProperty)))
        viewer->CaptureStep(window);
}

} // namespace

Viewer::Viewer(const DemoPrinter* demo) : demo_(demo) {
    ui::win32::TheWin32Backend().SetHooks(this);
}

Viewer::~Viewer() {
    ui::win32::TheWin32Backend().SetHooks(nullptr);
}

void Viewer::Run(const TemplateInfo& info) {
    if (!info.page) {
        if (std::unique_ptr<ui::Dialog> dialog = demo_ ? demo_->MakeDialog(info.id) : nullptr) {
            dialog->DoModal();
            return;
        }
        ui::Dialog dialog(info.id);
        dialog.DoModal();
        return;
    }
    std::vector<std::unique_ptr<ui::PropertyPage>> pages;
    ui::PropertySheet sheet(kSheetCaption, 0, PageIndex(info.id));
    for (const TemplateInfo& page : Pages()) {
        pages.push_back(std::make_unique<ui::PropertyPage>(page.id));
        sheet.AddPage(*pages.back());
    }
    sheet.DoModal();
}

void Viewer::Show(const TemplateInfo& info) {
    Run(info);
}

bool Viewer::Screenshot(const TemplateInfo& info, const std::string& path, std::string* error) {
    Shot shot;
    shot.path = path;
    shot_ = &shot;
    Run(info);
    shot_ = nullptr;
    if (!shot.written)
        *error = shot.error.empty() ? "the window never appeared" : shot.error;
    return shot.written;
}

void Viewer::ModalStarted(HWND window, int, bool isSheet) {
    // Only the template's own window: nothing else opens while dlgview runs.
    if (shot_ == nullptr || shot_->window != nullptr)
        return;
    shot_->window = window;
    shot_->isSheet = isSheet;
    SetPropW(window, kViewerProperty, this);
    SetTimer(window, kCaptureTimer, kFirstDelayMs, CaptureTimer);
}

void Viewer::CaptureStep(HWND window) {
    KillTimer(window, kCaptureTimer);
    if (shot_ == nullptr || shot_->window != window)
        return;
    if (++shot_->step < kLastStep) {
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(window); // an active caption, as the user sees it
        ui::win32::RepaintNow(window);
        SetTimer(window, kCaptureTimer, kStepDelayMs, CaptureTimer);
        return;
    }
    const HWND windows[] = {window};
    const std::optional<ui::win32::Picture> picture = ui::win32::CaptureWindows(windows);
    if (!picture)
        shot_->error = "the screen could not be read";
    else if (!ui::win32::SavePng(*picture, shot_->path))
        shot_->error = "cannot write " + shot_->path;
    else
        shot_->written = true;
    RemovePropW(window, kViewerProperty);
    if (shot_->isSheet) {
        PropSheet_PressButton(window, PSBTN_CANCEL);
        // Wine's sheet loop notices the end only with the next message.
        PostMessageW(window, WM_NULL, 0, 0);
    } else {
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
}

} // namespace dlgview
