#pragma once
// Screenshots of real windows: their pixels read from the screen (or painted by the window itself)
// and saved as PNG through ui/png_writer. Shared by the tools that take pictures of the UI
// (dlgview, drvsim).
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ui/win32/win32.h"

namespace ui::win32 {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // red, green, blue; top row first
};

// Paints the window, its frame and all its children now, so that the screen shows them.
void RepaintNow(HWND window);

// The screen's pixels in `rect` (screen coordinates) as shown, windows on top included; the part
// of the rectangle outside the screen is left out. Nothing when no part is on the screen.
std::optional<Picture> CaptureScreenRect(const RECT& rect);

// The smallest screen rectangle around the windows (frames included), as shown. Windows that no
// longer exist are skipped; nothing when none is left.
std::optional<Picture> CaptureWindows(std::span<const HWND> windows);

// The window painted by itself into a bitmap (PrintWindow), frame and children included: also
// when it is covered or off the screen, but only as far as its controls paint for WM_PRINT.
std::optional<Picture> PrintWindowPicture(HWND window);

// Writes the picture as a PNG file (path in UTF-8); false on failure.
bool SavePng(const Picture& picture, const std::string& path);

} // namespace ui::win32
