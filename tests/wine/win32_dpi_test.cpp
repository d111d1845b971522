// Real windows only: a dialog told by the system that its screen's scale changed (WM_DPICHANGED),
// and a page after its sheet (WM_DPICHANGED_AFTERPARENT), hear it once the dialog manager is
// done with the message; and pictures at this session's scale.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/ui/data/test_ids.h"
#include "ui/dialog.h"
#include "ui/win32/win32_automation.h"

namespace ui::win32 {
namespace {

constexpr UINT kWmDpiChanged = 0x02E0;
constexpr UINT kWmDpiChangedAfterParent = 0x02E3;

// Counts what it hears of a change of scale.
template <class Base>
class ScaleListener : public Base {
public:
    using Base::Base;
    int changes = 0;

protected:
    void OnDpiChanged() override { ++changes; }
};

// Runs the messages queued for the thread.
void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// WM_DPICHANGED as the system sends it: the new DPI twice and the window's suggested rectangle.
void SendDpiChanged(HWND window, UINT message, int dpi) {
    RECT suggested{};
    GetWindowRect(window, &suggested);
    SendMessageW(window, message, MAKEWPARAM(dpi, dpi),
                 message == kWmDpiChanged ? reinterpret_cast<LPARAM>(&suggested) : 0);
}

TEST(Win32Dpi, ADialogHearsTheChangeOfItsScreen) {
    Win32Automation automation;
    ScaleListener<Dialog> dialog(IDD_CONFORMANCE);
    automation.OnDialog(IDD_CONFORMANCE, [&] {
        SendDpiChanged(ToHwnd(dialog.GetHandle()), kWmDpiChanged, 144);
        EXPECT_EQ(dialog.changes, 0) << "heard before the dialog manager has laid it out";
        Pump();
        EXPECT_EQ(dialog.changes, 1);
        automation.PressCancel();
    });
    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    EXPECT_THAT(automation.TakeFailures(), ::testing::IsEmpty());
}

TEST(Win32Dpi, APageHearsItAfterItsSheet) {
    Win32Automation automation;
    ScaleListener<PropertyPage> one(IDD_PAGE_ONE);
    ScaleListener<PropertyPage> two(IDD_PAGE_TWO);
    PropertySheet sheet("Scale");
    sheet.AddPage(one);
    sheet.AddPage(two);
    automation.OnSheet([&] {
        SendDpiChanged(ToHwnd(one.GetHandle()), kWmDpiChangedAfterParent, 120);
        Pump();
        EXPECT_EQ(one.changes, 1);
        EXPECT_EQ(two.changes, 0) << "a page not yet created has nothing to redraw";
        automation.PressCancel();
    });
    EXPECT_EQ(sheet.DoModal(), kIdCancel);
    EXPECT_THAT(automation.TakeFailures(), ::testing::IsEmpty());
}

} // namespace
} // namespace ui::win32
