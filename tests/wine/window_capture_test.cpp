// Screenshots of real windows: the pixels read from the screen and painted by the window itself
// come out in the right place and colour order, clipped to the screen, and saved as PNG.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "ui/win32/window_capture.h"

namespace ui::win32 {
namespace {

constexpr COLORREF kLeft = RGB(200, 30, 60);
constexpr COLORREF kRight = RGB(20, 160, 240);

// Left half one colour, right half another, so that a mirrored or shifted picture shows.
void PaintHalves(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    RECT left = client;
    left.right /= 2;
    RECT right = client;
    right.left = left.right;
    HBRUSH leftBrush = CreateSolidBrush(kLeft);
    HBRUSH rightBrush = CreateSolidBrush(kRight);
    FillRect(dc, &left, leftBrush);
    FillRect(dc, &right, rightBrush);
    DeleteObject(leftBrush);
    DeleteObject(rightBrush);
}

LRESULT CALLBACK HalvesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        PaintHalves(window, dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_PRINTCLIENT: // what PrintWindow asks for, as the standard controls answer it
        PaintHalves(window, reinterpret_cast<HDC>(wParam));
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void Pump(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    MSG message;
    do {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(10);
    } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

class WindowCapture : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = HalvesProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VelaCaptureHalves";
        RegisterClassW(&windowClass);
        window_ =
            CreateWindowExW(WS_EX_TOPMOST, L"VelaCaptureHalves", L"", WS_POPUP | WS_VISIBLE, 40, 30,
                            64, 48, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        Pump(150);
        RepaintNow(window_);
        Pump(150);
    }
    void TearDown() override {
        if (window_)
            DestroyWindow(window_);
    }

    static void ExpectHalves(const Picture& picture) {
        ASSERT_EQ(picture.width, 64);
        ASSERT_EQ(picture.height, 48);
        ASSERT_EQ(picture.rgb.size(), 64u * 48u * 3u);
        const auto pixel = [&](int x, int y) {
            const std::size_t at = (static_cast<std::size_t>(y) * 64 + x) * 3;
            return RGB(picture.rgb[at], picture.rgb[at + 1], picture.rgb[at + 2]);
        };
        for (int y : {0, 24, 47}) {
            EXPECT_EQ(pixel(0, y), kLeft) << y;
            EXPECT_EQ(pixel(31, y), kLeft) << y;
            EXPECT_EQ(pixel(32, y), kRight) << y;
            EXPECT_EQ(pixel(63, y), kRight) << y;
        }
    }

    HWND window_ = nullptr;
};

TEST_F(WindowCapture, ScreenPixelsOfTheWindow) {
    const HWND windows[] = {window_};
    const auto picture = CaptureWindows(windows);
    ASSERT_TRUE(picture.has_value());
    ExpectHalves(*picture);
}

TEST_F(WindowCapture, WindowPaintedByItself) {
    const auto picture = PrintWindowPicture(window_);
    ASSERT_TRUE(picture.has_value());
    ExpectHalves(*picture);
}

// The screen rectangle is clipped to the screen; wholly off the screen, or without a live
// window, there is no picture.
TEST_F(WindowCapture, ClippedToTheScreen) {
    const auto corner = CaptureScreenRect(RECT{-10, -20, 30, 40});
    ASSERT_TRUE(corner.has_value());
    EXPECT_EQ(corner->width, 30);
    EXPECT_EQ(corner->height, 40);
    EXPECT_FALSE(CaptureScreenRect(RECT{-100, -100, -10, -10}).has_value());
    EXPECT_FALSE(CaptureScreenRect(RECT{10, 10, 10, 50}).has_value());
    DestroyWindow(window_);
    const HWND gone[] = {window_};
    window_ = nullptr;
    EXPECT_FALSE(CaptureWindows(gone).has_value());
    EXPECT_FALSE(PrintWindowPicture(gone[0]).has_value());
}

// The picture lands in a PNG file; an empty picture writes nothing.
TEST_F(WindowCapture, SavedAsPng) {
    const HWND windows[] = {window_};
    const auto picture = CaptureWindows(windows);
    ASSERT_TRUE(picture.has_value());
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("vela_capture_test_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "halves.png").string();
    EXPECT_TRUE(SavePng(*picture, path));
    EXPECT_GT(std::filesystem::file_size(path), 64u * 48u * 3u);
    EXPECT_FALSE(SavePng(Picture{}, (dir / "empty.png").string()));
    EXPECT_FALSE(std::filesystem::exists(dir / "empty.png"));
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

} // namespace
} // namespace ui::win32
