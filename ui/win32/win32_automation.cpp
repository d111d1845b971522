#include "ui/win32/win32_automation.h"

#include <utility>

#include "platform/codepage1250.h"
#include "ui/dialog.h"

namespace ui::win32 {
namespace {

std::wstring Wide(std::string_view cp1250) {
    const std::u16string text = platform::Cp1250ToUtf16(cp1250);
    return std::wstring(text.begin(), text.end());
}

LPARAM PointParam(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

struct BoxSearch {
    std::wstring caption;
    const std::vector<HWND>* known = nullptr;
    HWND found = nullptr;
};

BOOL CALLBACK FindMessageBox(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<BoxSearch*>(param);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (lstrcmpW(className, L"#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    for (HWND known : *search.known) {
        if (known == window)
            return TRUE;
    }
    wchar_t caption[512] = {};
    GetWindowTextW(window, caption, 512);
    if (search.caption == caption) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

int DefaultAnswer(unsigned style) {
    switch (style & 0xF) {
    case kMbOk:
        return kIdOk;
    case kMbOkCancel:
        return kIdCancel;
    default:
        return kIdNo;
    }
}

} // namespace

Win32Automation* Win32Automation::current_ = nullptr;

Win32Automation::Win32Automation() : backend_(TheWin32Backend()), scope_(TheWin32Backend()) {
    current_ = this;
    backend_.SetHooks(this);
}

Win32Automation::~Win32Automation() {
    backend_.SetHooks(nullptr);
    current_ = nullptr;
    // A WM_QUIT that ended a modal loop stays queued; it must not end the next test's loops.
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void Win32Automation::ReportFailure(std::string message) {
    RecordFailure(std::move(message));
}

// ---- scripts of modal runs ----------------------------------------------------------------

void Win32Automation::ModalStarted(HWND window, int templateId, bool isSheet) {
    PendingScript script;
    script.window = window;
    script.sheet = isSheet;
    script.what =
        isSheet ? std::string("the property sheet") : "dialog " + std::to_string(templateId);
    script.handler = isSheet ? TakeSheetHandler() : TakeDialogHandler(templateId);
    pendingScripts_.push_back(std::move(script));
    // Runs once the modal loop is idle, that is after the window has been shown.
    SetTimer(nullptr, 0, 0, RunPendingScript);
}

void CALLBACK Win32Automation::RunPendingScript(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (current_)
        current_->RunNextScript();
}

bool Win32Automation::HasEnded(HWND window, bool sheet) const {
    if (!IsWindow(window))
        return true;
    if (sheet)
        return backend_.SheetHasEnded(window);
    auto* dialog =
        dynamic_cast<Dialog*>(reinterpret_cast<DialogBase*>(GetWindowLongPtrW(window, DWLP_USER)));
    return !dialog || DialogEvents::DialogHasEnded(*dialog);
}

void Win32Automation::Close(HWND window, bool sheet) {
    if (sheet)
        PropSheet_PressButton(window, PSBTN_CANCEL);
    else
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (!HasEnded(window, sheet) && !sheet)
        ::EndDialog(window, IDCANCEL);
}

void Win32Automation::RunNextScript() {
    if (pendingScripts_.empty())
        return;
    // A modal dialog is shown when its loop first finds the queue empty, which may come after
    // the timer: wait for it (a bounded number of times) so that the script acts on what a
    // user would see.
    PendingScript& next = pendingScripts_.front();
    if (IsWindow(next.window) && !IsWindowVisible(next.window) && next.waits < 200) {
        ++next.waits;
        SetTimer(nullptr, 0, 5, RunPendingScript);
        return;
    }
    PendingScript script = std::move(pendingScripts_.front());
    pendingScripts_.pop_front();
    if (!IsWindow(script.window))
        return;
    if (!script.handler) {
        ReportFailure(script.what + " opened, but no handler was given for it");
        Close(script.window, script.sheet);
        return;
    }
    script.handler();
    // Lets the modal loop notice that its window has ended.
    PostMessageW(script.window, WM_NULL, 0, 0);
    // The script may have ended its window with posted messages (as another program would):
    // check once they have been handled, which is before the next timer.
    verifications_.push_back(std::move(script));
    SetTimer(nullptr, 0, 0, VerifyEnded);
}

void CALLBACK Win32Automation::VerifyEnded(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (current_)
        current_->VerifyNextEnded();
}

void Win32Automation::VerifyNextEnded() {
    if (verifications_.empty())
        return;
    PendingScript script = std::move(verifications_.front());
    verifications_.pop_front();
    if (!quitPosted_ && !HasEnded(script.window, script.sheet)) {
        ReportFailure("the handler of " + script.what + " left it open");
        Close(script.window, script.sheet);
        PostMessageW(script.window, WM_NULL, 0, 0);
    }
}

// ---- message boxes and services -----------------------------------------------------------

void Win32Automation::MessageBoxStarting(const MessageBoxCall& call) {
    RecordMessageBox(call);
    pendingBoxes_.push_back(call);
    SetTimer(nullptr, 0, 0, AnswerMessageBox);
}

void CALLBACK Win32Automation::AnswerMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (current_)
        current_->AnswerNextMessageBox();
}

void Win32Automation::AnswerNextMessageBox() {
    if (pendingBoxes_.empty())
        return;
    const MessageBoxCall call = pendingBoxes_.front();
    BoxSearch search;
    search.caption = Wide(call.caption);
    search.known = &backend_.ModalStack();
    EnumThreadWindows(GetCurrentThreadId(), FindMessageBox, reinterpret_cast<LPARAM>(&search));
    if (!search.found) {
        SetTimer(nullptr, 0, 10, AnswerMessageBox); // not shown yet: look again
        return;
    }
    pendingBoxes_.pop_front();
    int answer = DefaultAnswer(call.style);
    if (auto handler = TakeMessageBoxHandler())
        answer = (*handler)(call);
    else
        ReportFailure("unexpected message box \"" + call.text + "\"");
    SendMessageW(search.found, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
}

std::optional<std::string> Win32Automation::OpenFile(const OpenFileRequest& request) {
    auto handler = TakeOpenFileHandler();
    if (!handler) {
        ReportFailure("unexpected file-open dialog");
        return std::nullopt;
    }
    return (*handler)(request);
}

void Win32Automation::WinHelp(const HelpCall& call) {
    RecordHelpCall(call);
}

bool Win32Automation::HtmlHelp(const HtmlHelpCall& call) {
    return RecordHtmlHelpCall(call);
}

// ---- the user's actions -------------------------------------------------------------------

HWND Win32Automation::TopWindow() const {
    const auto& stack = backend_.ModalStack();
    return stack.empty() ? nullptr : stack.back();
}

Handle Win32Automation::ActiveDialog() {
    const HWND top = TopWindow();
    if (top && backend_.IsSheet(top))
        return ToHandle(PropSheet_GetCurrentPageHwnd(top));
    return ToHandle(top);
}

HWND Win32Automation::ControlWindow(int id, const char* action) {
    const HWND dialog = ToHwnd(ActiveDialog());
    const HWND control = dialog ? GetDlgItem(dialog, id) : nullptr;
    if (!control) {
        ReportFailure(std::string("cannot ") + action + " control " + std::to_string(id) +
                      (dialog ? ": the dialog has no such control" : ": no dialog is running"));
    }
    return control;
}

void Win32Automation::ClickWindow(HWND button) {
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button))
        return;
    SendMessageW(button, BM_CLICK, 0, 0);
}

void Win32Automation::Click(int id) {
    ClickWindow(ControlWindow(id, "click"));
}

// The closed drop-down list of control `id`, focused as the Tab key would; null where the
// keyboard cannot reach it.
HWND Win32Automation::FocusClosedCombo(int id, const char* action) {
    const HWND control = ControlWindow(id, action);
    if (!control)
        return nullptr;
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    if (lstrcmpiW(className, L"ComboBox") != 0) {
        ReportFailure("control " + std::to_string(id) + " is no combo box");
        return nullptr;
    }
    if (!IsWindowVisible(control) || !IsWindowEnabled(control))
        return nullptr;
    SetFocus(control);
    return control;
}

void Win32Automation::PressListKey(int id, ListKey key) {
    const HWND control = FocusClosedCombo(id, "press a key on");
    if (!control)
        return;
    if (key == ListKey::WheelDown || key == ListKey::WheelUp) {
        const short delta = key == ListKey::WheelDown ? -WHEEL_DELTA : WHEEL_DELTA;
        SendMessageW(control, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0);
        return;
    }
    const WPARAM keys[] = {VK_DOWN, VK_UP, VK_HOME, VK_END};
    const WPARAM vk = keys[static_cast<int>(key)];
    SendMessageW(control, WM_KEYDOWN, vk, 1);
    SendMessageW(control, WM_KEYUP, vk, 1 | (1u << 30) | (1u << 31));
}

void Win32Automation::TypeListLetter(int id, char letter) {
    const HWND control = FocusClosedCombo(id, "type a letter on");
    if (control)
        SendMessageW(control, WM_CHAR, static_cast<unsigned char>(letter), 1);
}

void Win32Automation::DismissList(int id, Dismissal how) {
    const HWND control = FocusClosedCombo(id, "open and dismiss");
    if (!control)
        return;
    RECT rect{};
    GetClientRect(control, &rect);
    const LPARAM point = PointParam(rect.right - 5, rect.bottom / 2);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(control, WM_LBUTTONUP, 0, point);
    if (!SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0))
        SendMessageW(control, CB_SHOWDROPDOWN, TRUE, 0);
    if (how == Dismissal::Escape) {
        SendMessageW(control, WM_KEYDOWN, VK_ESCAPE, 1);
        SendMessageW(control, WM_KEYUP, VK_ESCAPE, 1 | (1u << 30) | (1u << 31));
    } else {
        // A click outside the open list rolls it up as CB_SHOWDROPDOWN does; the list's
        // capture takes the click, so no other control sees it.
        SendMessageW(control, CB_SHOWDROPDOWN, FALSE, 0);
    }
}

void Win32Automation::ChooseItem(int id, int index) {
    const HWND control = ControlWindow(id, "choose an entry of");
    if (!control)
        return;
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    const bool combo = lstrcmpiW(className, L"ComboBox") == 0;
    if (!combo && lstrcmpiW(className, L"ListBox") != 0) {
        ReportFailure("control " + std::to_string(id) + " is no list");
        return;
    }
    const LRESULT count = SendMessageW(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    if (index < 0 || index >= count) {
        ReportFailure("control " + std::to_string(id) + " has no entry " + std::to_string(index));
        return;
    }
    if (!IsWindowVisible(control) || !IsWindowEnabled(control))
        return;
    HWND list = control;
    if (combo) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        GetComboBoxInfo(control, &info);
        // A click on the combo box focuses it and drops its list down.
        RECT rect{};
        GetClientRect(control, &rect);
        const LPARAM point = PointParam(rect.right - 5, rect.bottom / 2);
        SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
        SendMessageW(control, WM_LBUTTONUP, 0, point);
        list = info.hwndList;
        if (!SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0))
            SendMessageW(control, CB_SHOWDROPDOWN, TRUE, 0);
    }
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    const LPARAM point = PointParam((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(list, WM_LBUTTONUP, 0, point);
}

void Win32Automation::DoubleClickItem(int id, int index) {
    ChooseItem(id, index);
    const HWND list = ControlWindow(id, "double-click");
    if (!list || !IsWindowEnabled(list))
        return;
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    const LPARAM point = PointParam((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    SendMessageW(list, WM_LBUTTONUP, 0, point);
}

void Win32Automation::FocusControl(int id) {
    const HWND control = ControlWindow(id, "focus");
    if (!control)
        return;
    SendMessageW(GetParent(control), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void Win32Automation::PressTab(bool backward) {
    const HWND dialog = ToHwnd(ActiveDialog());
    if (!dialog) {
        ReportFailure("cannot press Tab: no dialog is running");
        return;
    }
    SendMessageW(dialog, WM_NEXTDLGCTL, backward ? TRUE : FALSE, FALSE);
}

void Win32Automation::TypeChars(HWND edit, std::string_view text) {
    for (char c : text) {
        if (!IsWindow(edit) || GetFocus() != edit)
            break; // a handler moved the focus away: the rest goes elsewhere
        const char16_t unit = platform::Cp1250ToUnicode(static_cast<unsigned char>(c));
        SendMessageW(edit, WM_CHAR, static_cast<WPARAM>(unit), 1);
    }
}

HWND Win32Automation::TextWindow(int id) {
    const HWND control = ControlWindow(id, "type into");
    if (!control)
        return nullptr;
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    if (lstrcmpiW(name, L"ComboBox") != 0)
        return control;
    // A combo box takes typed text in its edit field; a drop-down list has none.
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(control, &info) || !info.hwndItem || info.hwndItem == control) {
        ReportFailure("control " + std::to_string(id) + " is no edit");
        return nullptr;
    }
    return info.hwndItem;
}

void Win32Automation::ReplaceText(int id, std::string_view text) {
    const HWND edit = TextWindow(id);
    if (!edit || !IsWindowVisible(edit) || !IsWindowEnabled(edit))
        return;
    if (edit == GetDlgItem(GetParent(edit), id))
        FocusControl(id);
    else
        ::SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    if (text.empty()) {
        const LRESULT selection = SendMessageW(edit, EM_GETSEL, 0, 0);
        if (LOWORD(selection) != HIWORD(selection))
            SendMessageW(edit, WM_CHAR, VK_BACK, 1);
        return;
    }
    TypeChars(edit, text);
}

void Win32Automation::TypeText(int id, std::string_view text) {
    const HWND edit = TextWindow(id);
    if (!edit || !IsWindowVisible(edit) || !IsWindowEnabled(edit))
        return;
    ::SetFocus(edit);
    const int length = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(length), length);
    TypeChars(edit, text);
}

void Win32Automation::Spin(int id, bool up) {
    const HWND spin = ControlWindow(id, "spin");
    if (!spin || !IsWindowVisible(spin) || !IsWindowEnabled(spin))
        return;
    RECT rect{};
    GetClientRect(spin, &rect);
    const int y = up ? rect.bottom / 4 : rect.bottom * 3 / 4;
    const LPARAM point = PointParam(rect.right / 2, y);
    SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(spin, WM_LBUTTONUP, 0, point);
}

void Win32Automation::SpinUp(int id) {
    Spin(id, true);
}

void Win32Automation::SpinDown(int id) {
    Spin(id, false);
}

void Win32Automation::Paint(int id, bool pressed) {
    const HWND button = ControlWindow(id, "paint");
    if (!button)
        return;
    if (pressed)
        SendMessageW(button, BM_SETSTATE, TRUE, 0);
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if (pressed) {
        SendMessageW(button, BM_SETSTATE, FALSE, 0);
        ValidateRect(button, nullptr);
    }
}

void Win32Automation::PressF1() {
    const HWND focus = GetFocus();
    if (!focus)
        return;
    HELPINFO info{};
    info.cbSize = sizeof(info);
    info.iContextType = HELPINFO_WINDOW;
    info.iCtrlId = GetDlgCtrlID(focus);
    info.hItemHandle = focus;
    info.dwContextId = GetWindowContextHelpId(focus);
    SendMessageW(focus, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

void Win32Automation::PressOk() {
    const HWND top = TopWindow();
    if (!top) {
        ReportFailure("cannot press OK: no dialog is running");
        return;
    }
    const HWND ok = GetDlgItem(top, IDOK);
    if (!ok) {
        ReportFailure("cannot press OK: the dialog has no OK button");
        return;
    }
    ClickWindow(ok);
}

void Win32Automation::PressCancel() {
    const HWND top = TopWindow();
    if (!top) {
        ReportFailure("cannot press Cancel: no dialog is running");
        return;
    }
    const HWND cancel = GetDlgItem(top, IDCANCEL);
    if (cancel || backend_.IsSheet(top)) {
        ClickWindow(cancel);
        return;
    }
    // Without a Cancel button, Esc sends the same command.
    SendMessageW(top, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void Win32Automation::PressEnter() {
    const HWND top = TopWindow();
    if (!top) {
        ReportFailure("cannot press Enter: no dialog is running");
        return;
    }
    // What IsDialogMessage does with VK_RETURN: the default button's command, sent only while
    // that button is enabled; IDOK when the dialog names none.
    const LRESULT defId = SendMessageW(top, DM_GETDEFID, 0, 0);
    if (HIWORD(defId) == DC_HASDEFID) {
        const HWND button = GetDlgItem(top, LOWORD(defId));
        if (button && IsWindowEnabled(button))
            SendMessageW(top, WM_COMMAND, MAKEWPARAM(LOWORD(defId), BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
        if (button)
            return;
    }
    SendMessageW(top, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(top, IDOK)));
}

void Win32Automation::PressHelp() {
    const HWND top = TopWindow();
    if (!top || !backend_.IsSheet(top)) {
        ReportFailure("cannot press Help: no property sheet is running");
        return;
    }
    ClickWindow(GetDlgItem(top, IDHELP));
}

void Win32Automation::SelectPage(int index) {
    const HWND top = TopWindow();
    if (!top || !backend_.IsSheet(top)) {
        ReportFailure("cannot select a page: no property sheet is running");
        return;
    }
    const HWND tab = PropSheet_GetTabControl(top);
    if (index < 0 || index >= TabCtrl_GetItemCount(tab)) {
        ReportFailure("the sheet has no page " + std::to_string(index));
        return;
    }
    RECT item{};
    TabCtrl_GetItemRect(tab, index, &item);
    const LPARAM point = PointParam((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(tab, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(tab, WM_LBUTTONUP, 0, point);
}

void Win32Automation::PostQuit(int exitCode) {
    quitPosted_ = true;
    PostQuitMessage(exitCode);
}

} // namespace ui::win32
