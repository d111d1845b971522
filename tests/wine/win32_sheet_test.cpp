// Real windows only: a property sheet driven by the messages another program would send
// (PSM_SETCURSEL, PSM_PRESSBUTTON followed by a posted WM_NULL), the sheet's owner window,
// keyboard navigation and mnemonics through the system's own dialog manager, Slovak texts
// through the W functions, and comctl32 version 6.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/data/test_ids.h"
#include "ui/dialog.h"
#include "ui/services.h"
#include "ui/win32/win32_automation.h"

namespace ui::win32 {
namespace {

using ::testing::ElementsAre;

class RecordingPage : public PropertyPage {
public:
    RecordingPage(int id, std::string name, std::vector<std::string>& log)
        : PropertyPage(id), name_(std::move(name)), log_(log) {}

protected:
    bool OnSetActive() override {
        log_.push_back(name_ + " active");
        return PropertyPage::OnSetActive();
    }
    bool OnKillActive() override {
        log_.push_back(name_ + " kill");
        return PropertyPage::OnKillActive();
    }
    void OnOK() override { log_.push_back(name_ + " ok"); }
    void OnCancel() override { log_.push_back(name_ + " cancel"); }

private:
    std::string name_;
    std::vector<std::string>& log_;
};

// Pumps what is queued through the dialog manager of `dialog`, as its modal loop would.
void Pump(HWND dialog) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

struct PressCase {
    int button;   // PSBTN_OK or PSBTN_CANCEL
    int expected; // the sheet's result
    const char* last;
};

// What a driver stand-in does from outside: select a page, press a button, post WM_NULL.
TEST(Win32Sheet, DrivenByMessages) {
    const PressCase cases[] = {
        {PSBTN_OK, kIdOk, "2 ok"},
        {PSBTN_CANCEL, kIdCancel, "2 cancel"},
    };
    for (const PressCase& c : cases) {
        Win32Automation automation;
        std::vector<std::string> log;
        RecordingPage one(IDD_PAGE_ONE, "1", log);
        RecordingPage two(IDD_PAGE_TWO, "2", log);
        PropertySheet sheet("Driven");
        sheet.AddPage(one);
        sheet.AddPage(two);
        automation.OnSheet([&] {
            const HWND window = ToHwnd(sheet.GetHandle());
            EXPECT_TRUE(PropSheet_SetCurSel(window, nullptr, 1));
            EXPECT_EQ(PropSheet_GetCurrentPageHwnd(window), ToHwnd(two.GetHandle()));
            PropSheet_PressButton(window, c.button);
            PostMessageW(window, WM_NULL, 0, 0);
        });
        EXPECT_EQ(sheet.DoModal(), c.expected);
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back(), c.last);
        EXPECT_EQ(log[0], "1 active");
        EXPECT_EQ(log[1], "1 kill");
        EXPECT_EQ(log[2], "2 active");
        EXPECT_THAT(automation.TakeFailures(), ::testing::IsEmpty());
    }
}

// The sheet belongs to the window given as an integer: the owner is disabled while the sheet
// runs and enabled again afterwards.
TEST(Win32Sheet, OwnerWindowFromAnInteger) {
    Win32Automation automation;
    const HWND owner =
        CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    std::vector<std::string> log;
    RecordingPage one(IDD_PAGE_ONE, "1", log);
    PropertySheet sheet("\x8Eiadny", reinterpret_cast<std::uintptr_t>(owner));
    sheet.AddPage(one);
    automation.OnSheet([&] {
        const HWND window = ToHwnd(sheet.GetHandle());
        EXPECT_EQ(GetWindow(window, GW_OWNER), owner);
        EXPECT_FALSE(IsWindowEnabled(owner));
        wchar_t caption[32] = {};
        GetWindowTextW(window, caption, 32);
        EXPECT_STREQ(caption, L"\u017Diadny");
        // No Apply button; OK, Cancel and Help are there.
        EXPECT_EQ(GetDlgItem(window, 0x3021) && IsWindowVisible(GetDlgItem(window, 0x3021)), false);
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, IDOK)));
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, IDCANCEL)));
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, IDHELP)));
        automation.PressOk();
    });
    EXPECT_EQ(sheet.DoModal(), kIdOk);
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
    EXPECT_THAT(automation.TakeFailures(), ::testing::IsEmpty());
}

class KeyboardDialog : public Dialog {
public:
    KeyboardDialog() : Dialog(IDD_CONFORMANCE) {}
    int pushes = 0;

protected:
    MessageMap GetMessageMap() const override {
        static const MessageEntry entries[] = {OnClicked(IDC_PUSH, &KeyboardDialog::OnPush)};
        return entries;
    }

private:
    void OnPush() { ++pushes; }
};

// Tab moves to the next tab stop, Alt and a mnemonic presses its button, Esc cancels: the
// system's dialog manager runs in the modal loop.
TEST(Win32Dialog, KeyboardNavigationAndMnemonics) {
    Win32Automation automation;
    KeyboardDialog dialog;
    automation.OnDialog(IDD_CONFORMANCE, [&] {
        const HWND window = ToHwnd(dialog.GetHandle());
        automation.FocusControl(IDC_EDIT);
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        Pump(window);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDC_NUMBER);
        PostMessageW(GetFocus(), WM_SYSCHAR, L't', 1 << 29);
        Pump(window);
        EXPECT_EQ(dialog.pushes, 1);
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
        Pump(window);
    });
    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    EXPECT_THAT(automation.TakeFailures(), ::testing::IsEmpty());
}

// A page of three automatic radio buttons that logs the clicks it hears.
class RadioPage : public PropertyPage {
public:
    explicit RadioPage(std::vector<std::string>& log) : PropertyPage(IDD_PAGE_RADIOS), log_(log) {}

protected:
    MessageMap GetMessageMap() const override {
        static const MessageEntry entries[] = {
            OnClicked(IDC_PAGE_RADIO_1, &RadioPage::OnRadio),
            OnClicked(IDC_PAGE_RADIO_2, &RadioPage::OnRadio),
            OnClicked(IDC_PAGE_RADIO_3, &RadioPage::OnRadio),
        };
        return entries;
    }

private:
    void OnRadio(int id) { log_.push_back("radio " + std::to_string(id - IDC_PAGE_RADIO_1 + 1)); }
    std::vector<std::string>& log_;
};

// Pumps what is queued through the sheet's own keyboard handling (Ctrl+Tab, then the dialog
// manager), as its modal loop does.
void PumpSheet(HWND sheet) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!PropSheet_IsDialogMessage(sheet, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

// A key typed on the focused window, with Ctrl held down when `control`.
void Key(HWND sheet, WPARAM key, bool control = false) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    const BYTE saved = state[VK_CONTROL];
    if (control) {
        state[VK_CONTROL] = 0x80;
        SetKeyboardState(state);
    }
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
    PumpSheet(sheet);
    state[VK_CONTROL] = saved;
    SetKeyboardState(state);
}

// The user's clicks and arrow keys on the current page's radio buttons reach the page; after
// Ctrl+Tab the keys no longer go to the hidden page, and what its radio buttons report without
// the user (Windows reports a click when the focus reaches a radio button; a click sent to an
// invisible button) does not reach it either, so it cannot write what it shows over settings
// changed elsewhere.
TEST(Win32Sheet, OnlyTheCurrentPageHearsItsRadioButtons) {
    Win32Automation automation;
    std::vector<std::string> log;
    std::vector<std::string> pages;
    RadioPage radios(log);
    RecordingPage other(IDD_PAGE_TWO, "2", pages);
    PropertySheet sheet("Vo\xBE\x62y");
    sheet.AddPage(radios);
    sheet.AddPage(other);
    automation.OnSheet([&] {
        const HWND window = ToHwnd(sheet.GetHandle());
        const HWND page = ToHwnd(radios.GetHandle());
        const HWND first = GetDlgItem(page, IDC_PAGE_RADIO_1);
        automation.Click(IDC_PAGE_RADIO_1);
        Key(window, VK_DOWN);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDC_PAGE_RADIO_2);
        EXPECT_EQ(radios.IsDlgButtonChecked(IDC_PAGE_RADIO_2), kChecked);

        Key(window, VK_TAB, true);
        ASSERT_EQ(sheet.GetActiveIndex(), 1);
        ASSERT_FALSE(IsChild(page, GetFocus())); // typing on a hidden page hangs Wine
        Key(window, VK_SPACE);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_PAGE_RADIO_1, BN_CLICKED),
                     reinterpret_cast<LPARAM>(first));
        SendMessageW(first, BM_CLICK, 0, 0);

        EXPECT_TRUE(sheet.SetActivePage(0));
        automation.Click(IDC_PAGE_RADIO_3);
        automation.PressOk();
    });
    EXPECT_EQ(sheet.DoModal(), kIdOk);
    EXPECT_THAT(log, ElementsAre("radio 1", "radio 2", "radio 3"));
    EXPECT_THAT(automation.TakeFailures(), ::testing::IsEmpty());
}

// Texts reach the real controls as the Slovak letters the resource script and the code page
// 1250 bytes say, and the common controls are version 6.
TEST(Win32Dialog, SlovakTextsAndCommonControls6) {
    Win32Automation automation;
    Dialog dialog(IDD_CONFORMANCE);
    automation.OnDialog(IDD_CONFORMANCE, [&] {
        const HWND window = ToHwnd(dialog.GetHandle());
        wchar_t text[64] = {};
        GetDlgItemTextW(window, IDC_LABEL, text, 64);
        EXPECT_STREQ(text,
                     L"\u017Dlt\u00FD k\u00F4\u0148 \u00FApel \u010F\u00E1belsk\u00E9 \u00F3dy");
        dialog.SetDlgItemText(IDC_EDIT, "\x9D\x61\x9Ek\xFD \xBE\x61\x64");
        GetDlgItemTextW(window, IDC_EDIT, text, 64);
        EXPECT_STREQ(text, L"\u0165a\u017Ek\u00FD \u013Ead");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT), "\x9D\x61\x9Ek\xFD \xBE\x61\x64");
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(GetModuleHandleW(L"comctl32.dll"), path, MAX_PATH);
        EXPECT_NE(std::wstring(path).find(L"winsxs"), std::wstring::npos);
        automation.PressCancel();
    });
    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    EXPECT_THAT(automation.TakeFailures(), ::testing::IsEmpty());
}

} // namespace
} // namespace ui::win32
