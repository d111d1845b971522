#include "tools/drvsim/win32/capture.h"

#include <cstdint>

#include "tools/drvsim/png.h"

namespace drvsim {

bool CaptureWindows(const std::vector<HWND>& windows, const std::string& file, std::string* error) {
    RECT bounds{};
    bool any = false;
    for (HWND window : windows) {
        RECT rect{};
        if (!GetWindowRect(window, &rect))
            continue;
        if (!any)
            bounds = rect;
        else
            UnionRect(&bounds, &bounds, &rect);
        any = true;
    }
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (!any || width <= 0 || height <= 0) {
        *error = "no window to capture";
        return false;
    }

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (bitmap != nullptr && bits != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, screen, bounds.left, bounds.top,
                        SRCCOPY | CAPTUREBLT) != 0;
        GdiFlush();
        SelectObject(memory, previous);
    }
    std::vector<std::uint8_t> rgb;
    if (copied) {
        const auto* pixels = static_cast<const std::uint8_t*>(bits);
        rgb.reserve(static_cast<std::size_t>(width) * height * 3);
        for (int i = 0; i < width * height; ++i) {
            rgb.push_back(pixels[i * 4 + 2]);
            rgb.push_back(pixels[i * 4 + 1]);
            rgb.push_back(pixels[i * 4 + 0]);
        }
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!copied) {
        *error = "the screen could not be read";
        return false;
    }
    if (!SaveBytes(file, EncodePng(width, height, rgb))) {
        *error = "cannot write " + file;
        return false;
    }
    return true;
}

} // namespace drvsim
