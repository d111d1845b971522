#pragma once
// Screenshots: the screen area covered by some windows, saved as PNG.
#include <string>
#include <vector>

#include "tools/drvsim/win32/win32_common.h"

namespace drvsim {

// Captures the bounding rectangle of `windows` from the screen; false with a reason on failure.
bool CaptureWindows(const std::vector<HWND>& windows, const std::string& file, std::string* error);

} // namespace drvsim
