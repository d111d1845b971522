#include "ui/win32/window_capture.h"

#include <algorithm>

#include "ui/png_writer.h"

namespace ui::win32 {
namespace {

// A 32-bit top-down DIB section selected into a memory DC for as long as the object lives.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        ReleaseDC(nullptr, screen);
        if (dc_ && bitmap_)
            previous_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        if (previous_)
            SelectObject(dc_, previous_);
        if (bitmap_)
            DeleteObject(bitmap_);
        if (dc_)
            DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool Ready() const { return previous_ != nullptr && bits_ != nullptr; }
    HDC Dc() const { return dc_; }

    Picture Read() const {
        GdiFlush();
        Picture picture{width_, height_, {}};
        const std::size_t count = static_cast<std::size_t>(width_) * height_;
        picture.rgb.resize(count * 3);
        const auto* pixels = static_cast<const std::uint8_t*>(bits_);
        for (std::size_t i = 0; i < count; ++i) {
            picture.rgb[i * 3] = pixels[i * 4 + 2];
            picture.rgb[i * 3 + 1] = pixels[i * 4 + 1];
            picture.rgb[i * 3 + 2] = pixels[i * 4];
        }
        return picture;
    }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
};

RECT VirtualScreen() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

} // namespace

void RepaintNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
}

std::optional<Picture> CaptureScreenRect(const RECT& rect) {
    RECT area{};
    const RECT screen = VirtualScreen();
    if (!IntersectRect(&area, &rect, &screen))
        return std::nullopt;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    Canvas canvas(width, height);
    if (!canvas.Ready())
        return std::nullopt;
    HDC screenDc = GetDC(nullptr);
    const bool copied = BitBlt(canvas.Dc(), 0, 0, width, height, screenDc, area.left, area.top,
                               SRCCOPY | CAPTUREBLT) != 0;
    ReleaseDC(nullptr, screenDc);
    if (!copied)
        return std::nullopt;
    return canvas.Read();
}

std::optional<Picture> CaptureWindows(std::span<const HWND> windows) {
    RECT bounds{};
    bool any = false;
    for (HWND window : windows) {
        RECT rect{};
        if (!IsWindow(window) || !GetWindowRect(window, &rect))
            continue;
        if (any)
            UnionRect(&bounds, &bounds, &rect);
        else
            bounds = rect;
        any = true;
    }
    if (!any)
        return std::nullopt;
    return CaptureScreenRect(bounds);
}

std::optional<Picture> PrintWindowPicture(HWND window) {
    RECT rect{};
    if (!IsWindow(window) || !GetWindowRect(window, &rect))
        return std::nullopt;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return std::nullopt;
    Canvas canvas(width, height);
    if (!canvas.Ready() || !PrintWindow(window, canvas.Dc(), 0))
        return std::nullopt;
    return canvas.Read();
}

bool SavePng(const Picture& picture, const std::string& path) {
    const std::vector<std::uint8_t> png = EncodePng(picture.width, picture.height, picture.rgb);
    return !png.empty() && WriteFileBytes(path, png);
}

} // namespace ui::win32
