#include "tools/drvsim/win32/capture.h"

#include "ui/win32/window_capture.h"

namespace drvsim {

bool CaptureWindows(const std::vector<HWND>& windows, const std::string& file, std::string* error) {
    const auto picture = ui::win32::CaptureWindows(windows);
    if (!picture) {
        *error = "no window on the screen to capture";
        return false;
    }
    if (!ui::win32::SavePng(*picture, file)) {
        *error = "cannot write " + file;
        return false;
    }
    return true;
}

} // namespace drvsim
