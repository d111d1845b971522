#include "tools/layoutcheck/win32/picture_check.h"

#include <cstdlib>

#include "app/config_app.h"
#include "app/program/application.h"
#include "app/settings_block.h"
#include "pages/about/about_page.h"
#include "pages/about/reset_settings.h"
#include "pages/layout/layout_page.h"
#include "platform/memory_registry.h"
#include "ppd/ppd.h"
#include "res/resource.h"
#include "tools/layoutcheck/fit_rules.h"
#include "ui/dialog.h"
#include "ui/win32/win32_automation.h"

namespace layoutcheck {
namespace {

using ui::win32::ToHwnd;

constexpr SIZE kPreviewSize{160, 160}; // the preview bitmaps at 96 DPI
constexpr SIZE kAboutSize{240, 72};    // the About picture at 96 DPI

// The size a picture drawn at `base` for 96 DPI must have at `dpi`: at the scales the program
// draws for (120 and 144 DPI) and their whole multiples exactly scaled; at other scales the
// largest of those not above `dpi`, at least three quarters of the exact size.
bool SizeFits(SIZE shown, SIZE base, int dpi) {
    const bool exact = dpi % 24 == 0 && (dpi % 96 == 0 || dpi % 120 == 0 || dpi % 144 == 0);
    const long cx = base.cx * dpi / 96;
    const long cy = base.cy * dpi / 96;
    if (exact)
        return shown.cx == cx && shown.cy == cy;
    return shown.cx <= cx && shown.cy <= cy && shown.cx * 4 >= cx * 3 && shown.cy * 4 >= cy * 3;
}

SIZE ImageSize(HWND picture) {
    const auto bitmap =
        reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info))
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

RECT RectIn(HWND window, HWND parent) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string SizeText(SIZE size) {
    return std::to_string(size.cx) + " x " + std::to_string(size.cy);
}

// The Layout page's preview: the bitmap for the scale, the picture its size, centred in the
// group box "Náhľad".
void CheckPreview(HWND page, int dpi, std::vector<std::string>& problems) {
    const HWND picture = GetDlgItem(page, IDC_PREVIEW_PICTURE);
    const HWND group = GetDlgItem(page, IDC_PREVIEW_GROUP);
    const auto fail = [&](const std::string& what) {
        problems.push_back(Describe(IDD_LAYOUT, IDC_PREVIEW_PICTURE, "", dpi, what));
    };
    const SIZE image = ImageSize(picture);
    if (!SizeFits(image, kPreviewSize, dpi))
        fail("the preview bitmap is " + SizeText(image) + " pixels, drawn for another scale");
    const RECT placed = RectIn(picture, page);
    const RECT frame = RectIn(group, page);
    if (placed.right - placed.left != image.cx || placed.bottom - placed.top != image.cy)
        fail("the picture is " +
             SizeText({placed.right - placed.left, placed.bottom - placed.top}) +
             " pixels, its bitmap " + SizeText(image));
    const long offX = (placed.left - frame.left) - (frame.right - placed.right);
    const long offY = (placed.top - frame.top) - (frame.bottom - placed.bottom);
    if (std::labs(offX) > 1 || std::labs(offY) > 1)
        fail("the picture lies " + std::to_string(offX / 2) + ", " + std::to_string(offY / 2) +
             " pixels off the middle of its group box");
}

// The About picture: the bitmap for the scale, centred on the page and halfway between the
// page's top and the text.
void CheckAboutPicture(HWND page, int dpi, std::vector<std::string>& problems) {
    const HWND picture = GetDlgItem(page, IDC_ABOUT_PICTURE);
    const auto fail = [&](const std::string& what) {
        problems.push_back(Describe(IDD_ABOUT, IDC_ABOUT_PICTURE, "", dpi, what));
    };
    const SIZE image = ImageSize(picture);
    if (!SizeFits(image, kAboutSize, dpi))
        fail("the bitmap is " + SizeText(image) + " pixels, drawn for another scale");
    RECT pageRect{}, textRect{};
    GetWindowRect(page, &pageRect);
    GetWindowRect(GetDlgItem(page, IDC_ABOUT_TEXT), &textRect);
    const RECT placed = RectIn(picture, page);
    const long x = (pageRect.right - pageRect.left + 1 - image.cx) / 2;
    const long y = (textRect.top - pageRect.top - image.cy) / 2;
    if (placed.left != x || placed.top != y || placed.right - placed.left != image.cx ||
        placed.bottom - placed.top != image.cy)
        fail("the picture lies at (" + std::to_string(placed.left) + "," +
             std::to_string(placed.top) + "), not at (" + std::to_string(x) + "," +
             std::to_string(y) + ") at its bitmap's size");
}

} // namespace

void CheckPictures(int dpi, const std::string& driverPath, std::vector<std::string>& problems) {
    app::ConfigApp& app = app::TheApp();
    app.SetPpdDocument(ppd::ReadPpdFile(app::PpdPathOfDriverFile(driverPath)));
    if (!app.ppdDocument) {
        problems.push_back("pictures, " + std::to_string(dpi) + " DPI: no PPD beside " +
                           driverPath);
        return;
    }
    app::PrinterSettingsBlock& block = app.settings;
    block = app::PrinterSettingsBlock();
    app::ApplyNewBlockDefaults(block);
    platform::MemoryRegistry scratch;
    pages::ResetSettingsToDefaults(block, app.ppdDocument, scratch);
    block.setDuplexerInstalled(1);
    block.setDuplexMode(2);
    block.setPagesPerSheet(4);

    ui::win32::Win32Automation automation;
    pages::CLayout layout;
    pages::CAbout about;
    ui::PropertySheet sheet("Vela");
    sheet.AddPage(layout);
    sheet.AddPage(about);
    automation.OnSheet([&] {
        CheckPreview(ToHwnd(layout.GetHandle()), dpi, problems);
        automation.SelectPage(1);
        CheckAboutPicture(ToHwnd(about.GetHandle()), dpi, problems);
        automation.PressCancel();
    });
    sheet.DoModal();
    for (const std::string& failure : automation.TakeFailures())
        problems.push_back("pictures, " + std::to_string(dpi) + " DPI: " + failure);
    app.SetPpdDocument(nullptr);
    block = app::PrinterSettingsBlock();
}

} // namespace layoutcheck
