#include "tools/drvsim/win32/sheet_automation.h"

#include <commctrl.h>

#include <algorithm>
#include <iostream>

#include "platform/codepage1250.h"
#include "res/compiled_resources.h"
#include "tools/drvsim/win32/capture.h"
#include "tools/drvsim/win32/process_windows.h"
#include "ui/headless/resources.h"

namespace drvsim {
namespace {

constexpr int kMessageBoxTextId = 0xFFFF;

std::string Quote(const std::wstring& text) {
    return "\"" + Utf8(text) + "\"";
}

bool IsComboBox(HWND window) {
    return lstrcmpiW(ClassName(window).c_str(), L"ComboBox") == 0;
}

bool IsListBox(HWND window) {
    return lstrcmpiW(ClassName(window).c_str(), L"ListBox") == 0;
}

// The text of entry `index` of a combo or list box (CB_GETLBTEXT and LB_GETTEXT cross
// processes like WM_GETTEXT).
std::wstring EntryText(HWND list, int index) {
    const bool combo = IsComboBox(list);
    LRESULT length = 0;
    SendBounded(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(index), 0,
                &length);
    if (length <= 0)
        return {};
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
    SendBounded(list, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index),
                reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

// The control ids a dialog template gives its window (statics without an id left out).
std::vector<int> TemplateControlIds(int dialogId) {
    std::vector<int> ids;
    const auto file = ui::headless::ResourceFile::Parse(res::CompiledResources());
    if (!file)
        return ids;
    const auto* record = file->Find(ui::headless::kResourceDialog, dialogId);
    if (!record)
        return ids;
    const auto dialog = ui::headless::ParseDialogTemplate(record->data);
    if (!dialog)
        return ids;
    for (const auto& item : dialog->items) {
        if (item.id > 0 && item.id != kMessageBoxTextId)
            ids.push_back(item.id);
    }
    return ids;
}

// The window that takes typed text for a control: a combo box's edit field, else the control.
HWND EditOf(HWND control) {
    if (!IsComboBox(control))
        return control;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(control, &info) && info.hwndItem && info.hwndItem != control)
        return info.hwndItem;
    return control;
}

} // namespace

SheetAutomation::SheetAutomation(DWORD processId, HANDLE process, HWND sheet, int timeoutMs)
    : processId_(processId), process_(process), sheet_(sheet), timeoutMs_(timeoutMs) {}

bool SheetAutomation::SheetEnded() const {
    // Without a sheet the program's own dialogs are driven until the program ends.
    if (!sheet_)
        return HasEnded(process_);
    return !IsWindow(sheet_) || !IsWindowVisible(sheet_) || HasEnded(process_);
}

bool SheetAutomation::Run(const std::vector<ScriptStep>& steps) {
    for (const ScriptStep& step : steps) {
        std::optional<std::string> failure;
        if (SheetEnded())
            failure = "the sheet is no longer shown";
        else
            failure = Execute(step);
        if (failure) {
            std::cerr << "drvsim: line " << step.line << ": " << step.source << ": " << *failure
                      << std::endl;
            return false;
        }
    }
    return true;
}

HWND SheetAutomation::Target() const {
    if (!dialogs_.empty())
        return dialogs_.back();
    LRESULT page = 0;
    SendBounded(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0, &page);
    return reinterpret_cast<HWND>(page);
}

HWND SheetAutomation::UsableComboBox(int id, std::string* error) const {
    const HWND control = Control(id, error);
    if (!control)
        return nullptr;
    if (!IsComboBox(control)) {
        *error = "the control is no combo box";
        return nullptr;
    }
    if (!IsWindowVisible(control) || !IsWindowEnabled(control)) {
        *error = "the list cannot be used (hidden or disabled)";
        return nullptr;
    }
    return control;
}

HWND SheetAutomation::Control(int id, std::string* error) const {
    const HWND target = Target();
    HWND control = target ? GetDlgItem(target, id) : nullptr;
    // The sheet's own buttons (OK, Cancel, Help) while no dialog is open.
    if (!control && dialogs_.empty())
        control = GetDlgItem(sheet_, id);
    if (!control)
        *error = "no control " + std::to_string(id) +
                 (dialogs_.empty() ? " on the current page" : " in the dialog");
    return control;
}

std::vector<HWND> SheetAutomation::ModalWindows() const {
    std::vector<HWND> windows = VisibleWindows(processId_);
    windows.erase(std::remove_if(windows.begin(), windows.end(),
                                 [&](HWND window) {
                                     return window == sheet_ || ClassName(window) != L"#32770";
                                 }),
                  windows.end());
    return windows;
}

HWND SheetAutomation::MessageBoxWindow() const {
    for (HWND window : ModalWindows()) {
        if (IsMessageBox(window))
            return window;
    }
    return nullptr;
}

void SheetAutomation::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    sends_.push_back(PendingSend{window, message, wParam, lParam});
    if (!sending_)
        SendNext();
}

void SheetAutomation::SendNext() {
    while (!sends_.empty()) {
        const PendingSend next = sends_.front();
        sends_.pop_front();
        if (SendMessageCallbackW(next.window, next.message, next.wParam, next.lParam, SendDone,
                                 reinterpret_cast<ULONG_PTR>(this))) {
            sending_ = true;
            return;
        }
        // The window is gone: what was meant for it is dropped.
    }
    sending_ = false;
}

void CALLBACK SheetAutomation::SendDone(HWND, UINT, ULONG_PTR context, LRESULT) {
    reinterpret_cast<SheetAutomation*>(context)->SendNext();
}

void SheetAutomation::ReleaseHeldSend() {
    sending_ = false;
    SendNext();
}

void SheetAutomation::WaitHandled() {
    const std::vector<HWND> before = ModalWindows();
    PumpUntil(
        [&] {
            if (!sending_ && sends_.empty())
                return true;
            for (HWND window : ModalWindows()) {
                if (std::find(before.begin(), before.end(), window) == before.end())
                    return true; // a new dialog or message box holds the rest back
            }
            return HasEnded(process_);
        },
        timeoutMs_, process_);
    if (IsWindow(sheet_))
        Settle(sheet_);
}

std::optional<std::string> SheetAutomation::Execute(const ScriptStep& step) {
    std::string error;
    switch (step.command) {
    case Command::Page:
        return SelectPage(step);
    case Command::Select: {
        const HWND control = Control(step.id, &error);
        if (!control)
            return error;
        return SelectEntry(step, control);
    }
    case Command::Click: {
        const HWND control = Control(step.id, &error);
        if (!control)
            return error;
        if (!IsWindowVisible(control))
            return "the button is hidden";
        if (!IsWindowEnabled(control))
            return "the button is disabled";
        Send(control, BM_CLICK);
        WaitHandled();
        return std::nullopt;
    }
    case Command::Check: {
        const HWND control = Control(step.id, &error);
        if (!control)
            return error;
        LRESULT state = 0;
        SendBounded(control, BM_GETCHECK, 0, 0, &state);
        if ((state == BST_CHECKED) != step.flag) {
            if (!IsWindowVisible(control) || !IsWindowEnabled(control))
                return "the button cannot be clicked (hidden or disabled)";
            Send(control, BM_CLICK);
            WaitHandled();
            SendBounded(control, BM_GETCHECK, 0, 0, &state);
        }
        if ((state == BST_CHECKED) != step.flag)
            return std::string("the button stayed ") +
                   (state == BST_CHECKED ? "checked" : "unchecked");
        return std::nullopt;
    }
    case Command::Type: {
        const HWND control = Control(step.id, &error);
        if (!control)
            return error;
        if (!IsWindowVisible(control) || !IsWindowEnabled(control))
            return "the control cannot take input (hidden or disabled)";
        Send(GetParent(control), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        // A combo box takes the text in its edit field.
        const HWND edit = EditOf(control);
        Send(edit, EM_SETSEL, 0, -1);
        const std::wstring text = Wide(step.text);
        if (text.empty())
            Send(edit, WM_CHAR, VK_BACK, 1);
        for (const wchar_t unit : text)
            Send(edit, WM_CHAR, unit, 1);
        WaitHandled();
        return std::nullopt;
    }
    case Command::Focus: {
        const HWND control = Control(step.id, &error);
        if (!control)
            return error;
        Send(GetParent(control), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        WaitHandled();
        return std::nullopt;
    }
    case Command::Help: {
        const HWND control = Control(step.id, &error);
        if (!control)
            return error;
        return PressF1(control);
    }
    case Command::ExpectWindow:
        return WaitForWindow(step.text);
    case Command::Key: {
        const HWND control = UsableComboBox(step.id, &error);
        if (!control)
            return error;
        Send(GetParent(control), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        PressKey(control, step.text);
        WaitHandled();
        return std::nullopt;
    }
    case Command::Dismiss: {
        const HWND control = UsableComboBox(step.id, &error);
        if (!control)
            return error;
        DismissList(control, step.flag);
        return std::nullopt;
    }
    case Command::Tab: {
        const HWND target = Target();
        if (!target)
            return "no page or dialog is in front";
        Send(target, WM_NEXTDLGCTL, step.flag ? TRUE : FALSE, FALSE);
        WaitHandled();
        return std::nullopt;
    }
    case Command::Spin: {
        const HWND control = Control(step.id, &error);
        if (!control)
            return error;
        if (lstrcmpiW(ClassName(control).c_str(), UPDOWN_CLASSW) != 0)
            return "the control is no up-down control";
        if (!IsWindowVisible(control) || !IsWindowEnabled(control))
            return "the arrows cannot be used (hidden or disabled)";
        // A click on the upper or the lower half.
        RECT rect{};
        GetClientRect(control, &rect);
        const int y = step.flag ? rect.bottom / 4 : rect.bottom * 3 / 4;
        const LPARAM point = MAKELPARAM(rect.right / 2, y);
        Send(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
        Send(control, WM_LBUTTONUP, 0, point);
        WaitHandled();
        return std::nullopt;
    }
    case Command::ExpectText: {
        const HWND control = Control(step.id, &error);
        if (!control)
            return error;
        const std::wstring text = WindowText(control);
        if (text != Wide(step.text))
            return "the text is " + Quote(text);
        return std::nullopt;
    }
    case Command::ExpectEnabled:
    case Command::ExpectVisible: {
        const HWND control = Control(step.id, &error);
        if (!control)
            return error;
        const bool enabled = step.command == Command::ExpectEnabled;
        const bool state = enabled ? IsWindowEnabled(control) != 0 : IsWindowVisible(control) != 0;
        if (state != step.flag)
            return std::string("the control is ") +
                   (enabled ? (state ? "enabled" : "disabled") : (state ? "visible" : "hidden"));
        return std::nullopt;
    }
    case Command::ExpectSelected: {
        const HWND control = Control(step.id, &error);
        if (!control)
            return error;
        if (!IsComboBox(control) && !IsListBox(control))
            return "the control is no combo or list box";
        LRESULT selected = -1;
        SendBounded(control, IsComboBox(control) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0, &selected);
        const std::wstring text =
            selected < 0 ? std::wstring() : EntryText(control, static_cast<int>(selected));
        if (selected < 0 && !step.text.empty())
            return "nothing is selected";
        if (text != Wide(step.text))
            return "the selected entry is " + Quote(text);
        return std::nullopt;
    }
    case Command::ExpectMessage:
        return WaitForMessageBox(step.text);
    case Command::Answer:
        return Answer(step.id);
    case Command::Dialog:
        return WaitForDialog(step.id);
    case Command::OpenFile:
        return AnswerFileDialog(step.text);
    case Command::Ok:
    case Command::Cancel:
        return PressButton(step.command == Command::Ok);
    case Command::Enter:
        return PressEnter();
    case Command::Screenshot:
        return Screenshot(step.text);
    case Command::WalkPages:
        return WalkPages(step.text);
    case Command::ExpectPages: {
        std::wstring shown;
        for (const std::wstring& title : TabTitles())
            shown += (shown.empty() ? L"" : L"|") + title;
        if (shown != Wide(step.text))
            return "the pages are " + Quote(shown);
        return std::nullopt;
    }
    }
    return "unknown command";
}

std::vector<std::wstring> SheetAutomation::TabTitles() const {
    std::vector<std::wstring> titles;
    LRESULT tabResult = 0;
    SendBounded(sheet_, PSM_GETTABCONTROL, 0, 0, &tabResult);
    const HWND tab = reinterpret_cast<HWND>(tabResult);
    LRESULT count = 0;
    if (!tab || !SendBounded(tab, TCM_GETITEMCOUNT, 0, 0, &count))
        return titles;
    // TCM_GETITEMW fills a structure that must live in the program's memory.
    constexpr std::size_t kTextUnits = 256;
    const std::size_t size = sizeof(TCITEMW) + kTextUnits * sizeof(wchar_t);
    void* remote = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    if (!remote)
        return titles;
    for (int i = 0; i < count; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(TCITEMW));
        item.cchTextMax = kTextUnits;
        SIZE_T moved = 0;
        wchar_t text[kTextUnits + 1] = {};
        LRESULT ok = 0;
        if (WriteProcessMemory(process_, remote, &item, sizeof item, &moved))
            SendBounded(tab, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote),
                        &ok);
        if (ok)
            ReadProcessMemory(process_, item.pszText, text, kTextUnits * sizeof(wchar_t), &moved);
        titles.push_back(text);
    }
    VirtualFreeEx(process_, remote, 0, MEM_RELEASE);
    return titles;
}

std::optional<int> SheetAutomation::PageIndexOfTitle(const std::string& title) const {
    const std::vector<std::wstring> titles = TabTitles();
    const auto found = std::find(titles.begin(), titles.end(), Wide(title));
    if (found == titles.end())
        return std::nullopt;
    return static_cast<int>(found - titles.begin());
}

std::optional<std::string> SheetAutomation::WalkPages(const std::string& directory) {
    if (!dialogs_.empty())
        return "a dialog is open";
    const std::vector<std::wstring> titles = TabTitles();
    if (titles.empty())
        return "the sheet's tabs cannot be read";
    for (std::size_t i = 0; i < titles.size(); ++i) {
        ScriptStep page;
        page.index = static_cast<int>(i);
        if (auto failure = SelectPage(page))
            return "page " + std::to_string(i) + ": " + *failure;
        if (MessageBoxWindow())
            return "page " + std::to_string(i) + " could not be left";
        std::string file = directory;
        if (!file.empty() && file.back() != '/' && file.back() != '\\')
            file += '/';
        file += PictureName(static_cast<int>(i), Utf8(titles[i]));
        if (auto failure = Screenshot(file))
            return *failure;
    }
    return std::nullopt;
}

std::optional<std::string> SheetAutomation::SelectPage(const ScriptStep& step) {
    if (!dialogs_.empty())
        return "a dialog is open";
    int index = step.index;
    if (index < 0) {
        const std::optional<int> found = PageIndexOfTitle(step.text);
        if (!found)
            return "no page has the title \"" + step.text + "\"";
        index = *found;
    }
    Send(sheet_, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
    WaitHandled();
    if (MessageBoxWindow())
        return std::nullopt; // the current page refused to be left and says why
    LRESULT page = 0;
    SendBounded(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0, &page);
    LRESULT current = -1;
    SendBounded(sheet_, PSM_HWNDTOINDEX, static_cast<WPARAM>(page), 0, &current);
    if (current != index)
        return "the sheet shows page " + std::to_string(current);
    return std::nullopt;
}

// What the keyboard and the wheel send to a focused combo box.
void SheetAutomation::PressKey(HWND control, const std::string& key) {
    if (key == "wheel-down" || key == "wheel-up") {
        const short delta = key == "wheel-down" ? -WHEEL_DELTA : WHEEL_DELTA;
        Send(control, WM_MOUSEWHEEL, MAKEWPARAM(0, delta));
        return;
    }
    static const struct {
        const char* name;
        WPARAM vk;
    } kVirtualKeys[] = {{"down", VK_DOWN}, {"up", VK_UP}, {"home", VK_HOME}, {"end", VK_END}};
    for (const auto& named : kVirtualKeys) {
        if (key == named.name) {
            Send(control, WM_KEYDOWN, named.vk, 1);
            Send(control, WM_KEYUP, named.vk, 0xC0000001);
            return;
        }
    }
    for (const wchar_t unit : Wide(key))
        Send(control, WM_CHAR, unit, 1);
}

// The user opens the list with a click on its arrow and closes it again without a choice: Esc,
// or a click outside, which the open list's capture takes (as CB_SHOWDROPDOWN FALSE rolls it up).
void SheetAutomation::DismissList(HWND control, bool outside) {
    Send(GetParent(control), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    RECT rect{};
    GetClientRect(control, &rect);
    const LPARAM point = MAKELPARAM(rect.right - 5, rect.bottom / 2);
    Send(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
    Send(control, WM_LBUTTONUP, 0, point);
    WaitHandled();
    LRESULT dropped = 0;
    SendBounded(control, CB_GETDROPPEDSTATE, 0, 0, &dropped);
    if (!dropped)
        Send(control, CB_SHOWDROPDOWN, TRUE, 0);
    if (outside) {
        Send(control, CB_SHOWDROPDOWN, FALSE, 0);
    } else {
        Send(control, WM_KEYDOWN, VK_ESCAPE, 1);
        Send(control, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    }
    WaitHandled();
}

std::optional<std::string> SheetAutomation::SelectEntry(const ScriptStep& step, HWND control) {
    const bool combo = IsComboBox(control);
    if (!combo && !IsListBox(control))
        return "the control is no combo or list box";
    if (!IsWindowVisible(control) || !IsWindowEnabled(control))
        return "the list cannot be used (hidden or disabled)";
    LRESULT count = 0;
    SendBounded(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0, &count);
    int index = step.index;
    if (index < 0) {
        const std::wstring wanted = Wide(step.text);
        for (int i = 0; i < count; ++i) {
            if (EntryText(control, i) == wanted) {
                index = i;
                break;
            }
        }
        if (index < 0)
            return "no entry \"" + step.text + "\"";
    } else if (index >= count) {
        return "the list has " + std::to_string(count) + " entries";
    }
    const int id = GetDlgCtrlID(control);
    const HWND parent = GetParent(control);
    const LPARAM from = reinterpret_cast<LPARAM>(control);
    Send(control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (combo) {
        // What the control tells its dialog when the user opens the list, picks the entry and
        // the list closes.
        for (const WORD code : {CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP})
            Send(parent, WM_COMMAND, MAKEWPARAM(id, code), from);
    } else {
        Send(parent, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), from);
    }
    WaitHandled();
    return std::nullopt;
}

std::optional<std::string> SheetAutomation::PressButton(bool ok) {
    if (!dialogs_.empty()) {
        const HWND dialog = dialogs_.back();
        const HWND button = GetDlgItem(dialog, ok ? IDOK : IDCANCEL);
        if (button)
            Send(button, BM_CLICK);
        else
            Send(dialog, WM_COMMAND, MAKEWPARAM(ok ? IDOK : IDCANCEL, BN_CLICKED), 0);
        WaitHandled();
        return WaitForEnd();
    }
    Send(sheet_, PSM_PRESSBUTTON, ok ? PSBTN_OK : PSBTN_CANCEL, 0);
    return WaitForEnd();
}

std::optional<std::string> SheetAutomation::PressEnter() {
    // The key goes through the program's message loop, where IsDialogMessage turns it into the
    // default button's command, as for a user's key press.
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(sheet_, nullptr);
    if (!GetGUIThreadInfo(thread, &info))
        return "the program's thread cannot be asked for its focus";
    // With no window focused (a message box just closed, say) the key goes to the active window,
    // as the keyboard's input does.
    const HWND focus = info.hwndFocus      ? info.hwndFocus
                       : info.hwndActive   ? info.hwndActive
                       : !dialogs_.empty() ? dialogs_.back()
                                           : sheet_;
    PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(focus, WM_KEYUP, VK_RETURN, 0xC01C0001);
    return WaitForEnd();
}

std::optional<std::string> SheetAutomation::WaitForEnd() {
    if (!dialogs_.empty()) {
        const HWND dialog = dialogs_.back();
        PumpUntil([&] { return !IsWindowVisible(dialog) || MessageBoxWindow() != nullptr; },
                  timeoutMs_, process_);
        if (!IsWindowVisible(dialog))
            dialogs_.pop_back();
        return std::nullopt; // a dialog that refused shows its message next
    }
    // Wine's modal loop of the sheet notices that the sheet ended at its next message.
    PumpUntil(
        [&] {
            PostMessageW(sheet_, WM_NULL, 0, 0);
            return SheetEnded() || MessageBoxWindow() != nullptr;
        },
        timeoutMs_, process_);
    if (!SheetEnded() && !MessageBoxWindow())
        return "the sheet did not end";
    return std::nullopt;
}

std::optional<std::string> SheetAutomation::WaitForDialog(int id) {
    const std::vector<int> controls = TemplateControlIds(id);
    if (controls.empty())
        return "the program has no dialog " + std::to_string(id);
    HWND found = nullptr;
    PumpUntil(
        [&] {
            for (HWND window : ModalWindows()) {
                if (std::find(dialogs_.begin(), dialogs_.end(), window) != dialogs_.end() ||
                    IsMessageBox(window) || ClassName(window) != L"#32770")
                    continue;
                const bool all = std::all_of(controls.begin(), controls.end(), [&](int control) {
                    return GetDlgItem(window, control);
                });
                if (all) {
                    found = window;
                    return true;
                }
            }
            return HasEnded(process_);
        },
        timeoutMs_, process_);
    if (!found)
        return "no dialog " + std::to_string(id) + " appeared";
    dialogs_.push_back(found);
    ReleaseHeldSend();
    Settle(found);
    return std::nullopt;
}

std::optional<std::string> SheetAutomation::AnswerFileDialog(const std::string& path) {
    // The file name box: a combo box in the Explorer-style dialog, an edit in the old one.
    constexpr int kFileNameCombo = 0x47C;
    constexpr int kFileNameEdit = 0x480;
    HWND found = nullptr;
    PumpUntil(
        [&] {
            for (HWND window : ModalWindows()) {
                if (std::find(dialogs_.begin(), dialogs_.end(), window) != dialogs_.end() ||
                    IsMessageBox(window) || ClassName(window) != L"#32770")
                    continue;
                if (GetDlgItem(window, kFileNameCombo) || GetDlgItem(window, kFileNameEdit)) {
                    found = window;
                    return true;
                }
            }
            return HasEnded(process_);
        },
        timeoutMs_, process_);
    if (!found)
        return "no file dialog appeared";
    ReleaseHeldSend();
    Settle(found);
    HWND name = GetDlgItem(found, kFileNameCombo);
    if (!name)
        name = GetDlgItem(found, kFileNameEdit);
    if (!path.empty()) {
        // A text crosses into the program's process only with a synchronous send.
        const std::wstring text = Wide(path);
        if (!SendBounded(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())))
            return "the file name cannot be entered";
    }
    const HWND button = GetDlgItem(found, path.empty() ? IDCANCEL : IDOK);
    if (!button)
        return "the file dialog has no such button";
    Send(button, BM_CLICK);
    PumpUntil([&] { return !IsWindowVisible(found) || HasEnded(process_); }, timeoutMs_, process_);
    if (IsWindowVisible(found))
        return "the file dialog stayed open";
    WaitHandled();
    return std::nullopt;
}

std::optional<std::string> SheetAutomation::PressF1(HWND control) {
    const HWND dialog = GetParent(control);
    // A help window opened before may hold the focus: the user clicks back into the sheet.
    const HWND root = GetAncestor(control, GA_ROOT);
    if (GetForegroundWindow() != root) {
        SetForegroundWindow(root);
        Settle(root);
    }
    Send(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    WaitHandled();
    HELPINFO info{};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    info.iCtrlId = GetDlgCtrlID(control);
    info.hItemHandle = control;
    RECT rect{};
    GetWindowRect(control, &rect);
    info.MousePos = POINT{rect.left, rect.top};
    // The system copies the HELPINFO of WM_HELP into the receiving process, as it does for the
    // other messages that carry a structure of a known size.
    LRESULT ignored = 0;
    if (!SendBounded(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&info), &ignored, timeoutMs_))
        return "the dialog did not answer the help request";
    if (IsWindow(sheet_))
        Settle(sheet_);
    return std::nullopt;
}

std::optional<std::string> SheetAutomation::WaitForWindow(const std::string& classAndTitle) {
    const std::wstring wanted = Wide(classAndTitle);
    const size_t bar = wanted.find(L'|');
    const std::wstring className = wanted.substr(0, bar);
    const std::wstring title = wanted.substr(bar + 1);
    std::wstring seen;
    const auto matches = [&] {
        seen.clear();
        for (HWND window : VisibleWindows(processId_)) {
            if (ClassName(window) != className)
                continue;
            seen = WindowText(window);
            if (seen == title)
                return true;
        }
        return false;
    };
    PumpUntil([&] { return matches() || HasEnded(process_); }, timeoutMs_, process_);
    if (matches())
        return std::nullopt;
    if (!seen.empty())
        return "the window's title is " + Quote(seen);
    return "no window of the class " + Quote(className) + " appeared";
}

std::optional<std::string> SheetAutomation::WaitForMessageBox(const std::string& text) {
    PumpUntil([&] { return MessageBoxWindow() != nullptr || HasEnded(process_); }, timeoutMs_,
              process_);
    messageBox_ = MessageBoxWindow();
    if (!messageBox_)
        return "no message box appeared";
    ReleaseHeldSend();
    const std::wstring shown = WindowText(GetDlgItem(messageBox_, kMessageBoxTextId));
    if (shown != Wide(text))
        return "the message is " + Quote(shown);
    return std::nullopt;
}

std::optional<std::string> SheetAutomation::Answer(int button) {
    const HWND box = messageBox_ && IsWindowVisible(messageBox_) ? messageBox_ : MessageBoxWindow();
    if (!box)
        return "no message box is shown";
    const HWND control = GetDlgItem(box, button);
    if (!control)
        return "the message box has no such button";
    ReleaseHeldSend();
    Send(control, BM_CLICK);
    PumpUntil([&] { return !IsWindowVisible(box); }, timeoutMs_, process_);
    messageBox_ = nullptr;
    if (IsWindowVisible(box))
        return "the message box stayed open";
    WaitHandled();
    return std::nullopt;
}

std::optional<std::string> SheetAutomation::Screenshot(const std::string& file) {
    std::vector<HWND> windows = VisibleWindows(processId_);
    for (HWND window : windows)
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    for (HWND window : windows)
        Settle(window);
    Pump(150);
    std::string error;
    if (!CaptureWindows(windows, file, &error))
        return error;
    return std::nullopt;
}

} // namespace drvsim
