#include "ui/win32/win32_backend.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "platform/codepage1250.h"
#include "ui/dialog.h"
#include "ui/painter.h"
#include "ui/scaled_bitmap.h"

namespace ui::win32 {
namespace {

// The file dialog's DLL, and the printing DLLs it brings along, load with the first file dialog
// rather than with the program: most runs never open one, and under Wine every DLL loaded at
// the start delays the sheet.
using GetOpenFileNameFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);
GetOpenFileNameFunction OpenFileDialogFunction() {
    static const GetOpenFileNameFunction function = [] {
        const HMODULE module =
            LoadLibraryExW(L"comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        const FARPROC found = module ? GetProcAddress(module, "GetOpenFileNameW") : nullptr;
        return reinterpret_cast<GetOpenFileNameFunction>(reinterpret_cast<void (*)()>(found));
    }();
    return function;
}

// HtmlHelpW of hhctrl.ocx, loaded with the first help request that shows something: the
// viewer pulls in OLE and the browser control, far too much for every start of the sheet.
using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
HMODULE htmlHelpModule = nullptr;

HtmlHelpFunction HtmlHelpFunctionOf(bool load) {
    if (!htmlHelpModule && load)
        htmlHelpModule = LoadLibraryW(L"hhctrl.ocx");
    const FARPROC found = htmlHelpModule ? GetProcAddress(htmlHelpModule, "HtmlHelpW") : nullptr;
    return reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void (*)()>(found));
}

// htmlhelp.h, which mingw-w64 ships without its import library; the layout is the SDK's.
constexpr UINT kHhDisplayTopic = 0x0000;
constexpr UINT kHhDisplayToc = 0x0001;
constexpr UINT kHhDisplayTextPopup = 0x000E;
constexpr UINT kHhCloseAll = 0x0012;
struct HhPopup {
    int cbStruct;
    HINSTANCE hinst;
    UINT idString;
    LPCWSTR pszText;
    POINT pt;
    COLORREF clrForeground;
    COLORREF clrBackground;
    RECT rcMargins;
    LPCWSTR pszFont;
};

constexpr wchar_t kOwnedBitmapProperty[] = L"VelaOwnedBitmap";

// Messages of per-monitor awareness, which older headers lack.
constexpr UINT kWmDpiChanged = 0x02E0;
constexpr UINT kWmDpiChangedAfterParent = 0x02E3;
// Posted to a dialog or page whose screen scale changed, so that it redraws its own pictures
// after the dialog manager has laid its controls out for the new scale.
constexpr UINT kRedrawForDpiMessage = WM_APP + 0x2E0;

// The scale a window is drawn at: its monitor's with per-monitor awareness (GetDpiForWindow,
// Windows 10 1607 on), else the system's.
int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const GetDpiForWindowFunction getDpiForWindow = [] {
        const HMODULE user32 = GetModuleHandleW(L"user32.dll");
        const FARPROC found = user32 ? GetProcAddress(user32, "GetDpiForWindow") : nullptr;
        return reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void (*)()>(found));
    }();
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window))
            return static_cast<int>(dpi);
    }
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

// The bitmap with each pixel made factor x factor pixels (whole multiples keep it sharp); the
// source is freed. The source itself when the larger one cannot be made.
HBITMAP MultiplyPixels(HBITMAP source, int factor) {
    BITMAP info{};
    if (factor <= 1 || !GetObjectW(source, sizeof(info), &info))
        return source;
    const HDC screen = GetDC(nullptr);
    const HDC from = CreateCompatibleDC(screen);
    const HDC to = CreateCompatibleDC(screen);
    HBITMAP scaled = CreateCompatibleBitmap(screen, info.bmWidth * factor, info.bmHeight * factor);
    ReleaseDC(nullptr, screen);
    if (from && to && scaled) {
        const HGDIOBJ oldFrom = SelectObject(from, source);
        const HGDIOBJ oldTo = SelectObject(to, scaled);
        SetStretchBltMode(to, COLORONCOLOR);
        StretchBlt(to, 0, 0, info.bmWidth * factor, info.bmHeight * factor, from, 0, 0,
                   info.bmWidth, info.bmHeight, SRCCOPY);
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
    }
    if (from)
        DeleteDC(from);
    if (to)
        DeleteDC(to);
    if (!scaled)
        return source;
    DeleteObject(source);
    return scaled;
}

std::wstring Wide(std::string_view cp1250) {
    const std::u16string text = platform::Cp1250ToUtf16(cp1250);
    return std::wstring(text.begin(), text.end());
}

std::string Narrow(const wchar_t* text, size_t length) {
    return platform::Utf16ToCp1250(
        std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

std::string WindowTextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    const int copied = GetWindowTextW(window, buffer.data(), length + 1);
    return Narrow(buffer.data(), static_cast<size_t>(std::max(copied, 0)));
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[64] = {};
    const int length = GetClassNameW(window, name, 64);
    std::wstring text(name, static_cast<size_t>(std::max(length, 0)));
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(towlower(c));
    return text;
}

Rect FromRect(const RECT& rect) {
    return Rect{rect.left, rect.top, rect.right, rect.bottom};
}

RECT ToRect(const Rect& rect) {
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

class GdiPainter : public Painter {
public:
    explicit GdiPainter(HDC dc) : dc_(dc) {}
    void DrawPushButtonFrame(const Rect& rect, bool pushed) override {
        RECT r = ToRect(rect);
        DrawFrameControl(dc_, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    }
    Color SetTextColor(Color color) override { return ::SetTextColor(dc_, color); }
    void PaintText(std::string_view text, const Rect& rect, unsigned format) override {
        const std::wstring wide = Wide(text);
        RECT r = ToRect(rect);
        const int mode = SetBkMode(dc_, TRANSPARENT);
        DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &r, format);
        SetBkMode(dc_, mode);
    }

private:
    HDC dc_;
};

DialogBase* DialogOf(HWND window) {
    return reinterpret_cast<DialogBase*>(GetWindowLongPtrW(window, DWLP_USER));
}

void SetResult(HWND window, LONG_PTR result) {
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
}

BOOL CALLBACK ReleaseOwnedBitmap(HWND child, LPARAM) {
    if (HANDLE bitmap = RemovePropW(child, kOwnedBitmapProperty)) {
        SendMessageW(child, STM_SETIMAGE, IMAGE_BITMAP, 0);
        DeleteObject(static_cast<HGDIOBJ>(bitmap));
    }
    return TRUE;
}

// What dialogs and pages handle alike. True when the message was handled.
bool HandleCommon(HWND window, DialogBase& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        DialogEvents::Command(dialog, LOWORD(wParam), HIWORD(wParam));
        return true;
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (!draw || draw->CtlType != ODT_BUTTON)
            return false;
        GdiPainter painter(draw->hDC);
        ui::DrawItem item{static_cast<int>(draw->CtlID),         FromRect(draw->rcItem),
                          (draw->itemState & ODS_SELECTED) != 0, (draw->itemState & ODS_FOCUS) != 0,
                          (draw->itemState & ODS_DISABLED) != 0, painter};
        const bool handled = DialogEvents::DrawItem(dialog, item);
        SetResult(window, handled ? TRUE : FALSE);
        return handled;
    }
    case WM_HELP: {
        auto* info = reinterpret_cast<HELPINFO*>(lParam);
        if (!info || info->iContextType != HELPINFO_WINDOW)
            return false;
        DialogEvents::Help(
            dialog, HelpRequest{info->iCtrlId, ToHandle(static_cast<HWND>(info->hItemHandle))});
        SetResult(window, TRUE);
        return true;
    }
    case kWmDpiChanged:            // a dialog moved to a screen of another scale
    case kWmDpiChangedAfterParent: // a page, after its sheet did
        PostMessageW(window, kRedrawForDpiMessage, 0, 0);
        return false; // the dialog manager lays the controls out for the new scale
    case kRedrawForDpiMessage:
        DialogEvents::DpiChanged(dialog);
        return true;
    case WM_DESTROY:
        EnumChildWindows(window, ReleaseOwnedBitmap, 0);
        return false;
    case WM_NCDESTROY:
        TheWin32Backend().WindowDestroyed(window);
        return false;
    default:
        return false;
    }
}

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<DialogBase*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
        DialogEvents::Attach(*dialog, ToHandle(window));
        TheWin32Backend().DialogCreated(window, *dialog);
        return DialogEvents::Initialize(*dialog) ? TRUE : FALSE;
    }
    DialogBase* dialog = DialogOf(window);
    if (!dialog)
        return FALSE;
    return HandleCommon(window, *dialog, message, wParam, lParam) ? TRUE : FALSE;
}

// A page being hidden hands the keyboard focus to the sheet's tabs, where a click on a tab
// leaves it too. Left on a hidden control, keys would act on it unseen (a space clicks a radio
// button, writing that page's stale choice), and under Wine a typed character then sends the
// dialog manager's mnemonic search round the sheet for ever.
void MoveFocusOutOfPage(HWND page) {
    const HWND focus = GetFocus();
    if (!focus || (focus != page && !IsChild(page, focus)))
        return;
    const HWND sheet = GetParent(page);
    const HWND tabs = PropSheet_GetTabControl(sheet);
    SetFocus(tabs && IsWindowVisible(tabs) && IsWindowEnabled(tabs) ? tabs : sheet);
}

INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32Backend& backend = TheWin32Backend();
    if (message == WM_INITDIALOG) {
        const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        auto* page = reinterpret_cast<PropertyPage*>(sheetPage->lParam);
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
        DialogEvents::Attach(*page, ToHandle(window));
        backend.PageCreated(window, GetParent(window));
        const Win32Backend::PageCode running(backend, window);
        return DialogEvents::Initialize(*page) ? TRUE : FALSE;
    }
    auto* page = static_cast<PropertyPage*>(DialogOf(window));
    if (!page)
        return FALSE;
    if (message == WM_COMMAND && !backend.PageHearsControls(window))
        return TRUE; // dropped: see PageHearsControls
    if (message == WM_SHOWWINDOW && !wParam && lParam == 0) {
        MoveFocusOutOfPage(window);
        return FALSE;
    }
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        const HWND sheet = GetParent(window);
        if (!header || header->hwndFrom != sheet)
            return FALSE;
        const Win32Backend::PageCode running(backend, window);
        switch (header->code) {
        case PSN_SETACTIVE:
            SetResult(window, DialogEvents::PageSetActive(*page) ? 0 : -1);
            return TRUE;
        case PSN_KILLACTIVE:
            SetResult(window, DialogEvents::PageKillActive(*page) ? FALSE : TRUE);
            return TRUE;
        case PSN_APPLY:
            DialogEvents::PageApply(*page);
            if (reinterpret_cast<const PSHNOTIFY*>(lParam)->lParam)
                TheWin32Backend().SheetEnded(sheet, kIdOk);
            SetResult(window, PSNRET_NOERROR);
            return TRUE;
        case PSN_RESET:
            DialogEvents::PageReset(*page);
            TheWin32Backend().SheetEnded(sheet, kIdCancel);
            return TRUE;
        case PSN_QUERYCANCEL:
            SetResult(window, DialogEvents::PageQueryCancel(*page) ? FALSE : TRUE);
            return TRUE;
        case PSN_HELP:
            DialogEvents::PageHelp(*page);
            return TRUE;
        default:
            return FALSE;
        }
    }
    if (message == kRedrawForDpiMessage) {
        const Win32Backend::PageCode running(backend, window);
        DialogEvents::DpiChanged(*page);
        return TRUE;
    }
    return HandleCommon(window, *page, message, wParam, lParam) ? TRUE : FALSE;
}

} // namespace

Win32Backend::Win32Backend() {
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX),
                              ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&init);
}

Win32Backend::~Win32Backend() = default;

Win32Backend& TheWin32Backend() {
    static Win32Backend backend;
    return backend;
}

// ---- windows ------------------------------------------------------------------------------

Handle Win32Backend::Item(Handle dialog, int id) {
    return dialog ? ToHandle(GetDlgItem(ToHwnd(dialog), id)) : nullptr;
}

int Win32Backend::ControlId(Handle window) {
    return window ? GetDlgCtrlID(ToHwnd(window)) : 0;
}

Handle Win32Backend::Parent(Handle window) {
    return window ? ToHandle(GetParent(ToHwnd(window))) : nullptr;
}

bool Win32Backend::IsComboBox(HWND window) const {
    return ClassNameOf(window) == L"combobox";
}

bool Win32Backend::IsListControl(HWND window) const {
    const std::wstring name = ClassNameOf(window);
    return name == L"combobox" || name == L"listbox";
}

ControlKind Win32Backend::Kind(Handle window) {
    if (!window || !IsWindow(ToHwnd(window)))
        return ControlKind::Other;
    const HWND hwnd = ToHwnd(window);
    const std::wstring name = ClassNameOf(hwnd);
    if (name == L"#32770")
        return IsSheet(hwnd) ? ControlKind::Sheet : ControlKind::Dialog;
    if (name == L"button")
        return ControlKind::Button;
    if (name == L"edit")
        return ControlKind::Edit;
    if (name == L"static")
        return ControlKind::Static;
    if (name == L"listbox")
        return ControlKind::ListBox;
    if (name == L"combobox")
        return ControlKind::ComboBox;
    if (name == L"msctls_updown32")
        return ControlKind::UpDown;
    if (name == L"msctls_progress32")
        return ControlKind::Progress;
    if (name == L"systabcontrol32")
        return ControlKind::Tab;
    return ControlKind::Other;
}

unsigned Win32Backend::Style(Handle window) {
    return window ? static_cast<unsigned>(GetWindowLongW(ToHwnd(window), GWL_STYLE)) : 0;
}

std::string Win32Backend::Text(Handle window) {
    return window ? WindowTextOf(ToHwnd(window)) : std::string();
}

void Win32Backend::SetText(Handle window, std::string_view text) {
    if (window)
        SetWindowTextW(ToHwnd(window), Wide(text).c_str());
}

void Win32Backend::Enable(Handle window, bool enable) {
    if (window)
        EnableWindow(ToHwnd(window), enable ? TRUE : FALSE);
}

bool Win32Backend::IsEnabled(Handle window) {
    return window && IsWindowEnabled(ToHwnd(window));
}

void Win32Backend::Show(Handle window, bool show) {
    if (window)
        ShowWindow(ToHwnd(window), show ? SW_SHOW : SW_HIDE);
}

bool Win32Backend::IsVisible(Handle window) {
    return window && IsWindowVisible(ToHwnd(window));
}

Handle Win32Backend::Focus() {
    return ToHandle(GetFocus());
}

void Win32Backend::SetFocus(Handle window) {
    ::SetFocus(ToHwnd(window));
}

Rect Win32Backend::WindowRect(Handle window) {
    RECT rect{};
    if (window)
        GetWindowRect(ToHwnd(window), &rect);
    return FromRect(rect);
}

Rect Win32Backend::ClientRect(Handle window) {
    RECT rect{};
    if (window)
        GetClientRect(ToHwnd(window), &rect);
    return FromRect(rect);
}

Point Win32Backend::ScreenToClient(Handle window, Point point) {
    POINT p{point.x, point.y};
    if (window)
        ::ScreenToClient(ToHwnd(window), &p);
    return Point{p.x, p.y};
}

void Win32Backend::SetWindowPos(Handle window, int x, int y, int cx, int cy) {
    if (window)
        ::SetWindowPos(ToHwnd(window), nullptr, x, y, cx, cy,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Win32Backend::Redraw(Handle window) {
    if (window)
        InvalidateRect(ToHwnd(window), nullptr, TRUE);
}

void Win32Backend::SetContextHelpId(Handle window, unsigned id) {
    if (window)
        SetWindowContextHelpId(ToHwnd(window), id);
}

unsigned Win32Backend::ContextHelpId(Handle window) {
    return window ? GetWindowContextHelpId(ToHwnd(window)) : 0;
}

// ---- buttons and edits --------------------------------------------------------------------

int Win32Backend::CheckState(Handle button) {
    return button ? static_cast<int>(SendMessageW(ToHwnd(button), BM_GETCHECK, 0, 0)) : 0;
}

void Win32Backend::SetCheckState(Handle button, int state) {
    if (button)
        SendMessageW(ToHwnd(button), BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

void Win32Backend::SetButtonStyle(Handle button, unsigned style, bool redraw) {
    if (button)
        SendMessageW(ToHwnd(button), BM_SETSTYLE, style, redraw ? TRUE : FALSE);
}

void Win32Backend::LimitText(Handle edit, int maxChars) {
    if (!edit)
        return;
    const UINT message = Kind(edit) == ControlKind::ComboBox ? CB_LIMITTEXT : EM_LIMITTEXT;
    SendMessageW(ToHwnd(edit), message, static_cast<WPARAM>(std::max(maxChars, 0)), 0);
}

int Win32Backend::TextLimit(Handle edit) {
    if (!edit)
        return 0;
    HWND window = ToHwnd(edit);
    // A combo box keeps its limit in its edit field.
    if (Kind(edit) == ControlKind::ComboBox) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (!GetComboBoxInfo(window, &info) || !info.hwndItem)
            return 0;
        window = info.hwndItem;
    }
    return static_cast<int>(SendMessageW(window, EM_GETLIMITTEXT, 0, 0));
}

void Win32Backend::SetSel(Handle edit, int start, int end) {
    if (edit)
        SendMessageW(ToHwnd(edit), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

// ---- combo and list boxes -----------------------------------------------------------------

int Win32Backend::AddString(Handle list, std::string_view text) {
    if (!list)
        return kListError;
    const HWND hwnd = ToHwnd(list);
    const std::wstring wide = Wide(text);
    return static_cast<int>(SendMessageW(hwnd, IsComboBox(hwnd) ? CB_ADDSTRING : LB_ADDSTRING, 0,
                                         reinterpret_cast<LPARAM>(wide.c_str())));
}

int Win32Backend::InsertString(Handle list, int index, std::string_view text) {
    if (!list)
        return kListError;
    const HWND hwnd = ToHwnd(list);
    const std::wstring wide = Wide(text);
    return static_cast<int>(SendMessageW(hwnd, IsComboBox(hwnd) ? CB_INSERTSTRING : LB_INSERTSTRING,
                                         static_cast<WPARAM>(index),
                                         reinterpret_cast<LPARAM>(wide.c_str())));
}

int Win32Backend::DeleteString(Handle list, int index) {
    if (!list)
        return kListError;
    const HWND hwnd = ToHwnd(list);
    return static_cast<int>(SendMessageW(hwnd, IsComboBox(hwnd) ? CB_DELETESTRING : LB_DELETESTRING,
                                         static_cast<WPARAM>(index), 0));
}

void Win32Backend::ResetContent(Handle list) {
    if (!list)
        return;
    const HWND hwnd = ToHwnd(list);
    SendMessageW(hwnd, IsComboBox(hwnd) ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
}

int Win32Backend::Count(Handle list) {
    if (!list)
        return kListError;
    const HWND hwnd = ToHwnd(list);
    return static_cast<int>(SendMessageW(hwnd, IsComboBox(hwnd) ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
}

int Win32Backend::FindString(Handle list, int startAfter, std::string_view text, bool exact) {
    if (!list)
        return kListError;
    const HWND hwnd = ToHwnd(list);
    const std::wstring wide = Wide(text);
    UINT message;
    if (IsComboBox(hwnd))
        message = exact ? CB_FINDSTRINGEXACT : CB_FINDSTRING;
    else
        message = exact ? LB_FINDSTRINGEXACT : LB_FINDSTRING;
    return static_cast<int>(SendMessageW(hwnd, message, static_cast<WPARAM>(startAfter),
                                         reinterpret_cast<LPARAM>(wide.c_str())));
}

int Win32Backend::CurSel(Handle list) {
    if (!list)
        return kListError;
    const HWND hwnd = ToHwnd(list);
    return static_cast<int>(
        SendMessageW(hwnd, IsComboBox(hwnd) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

bool Win32Backend::IsDroppedDown(Handle combo) {
    const HWND hwnd = ToHwnd(combo);
    return combo && IsComboBox(hwnd) && SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

int Win32Backend::SetCurSel(Handle list, int index) {
    if (!list)
        return kListError;
    const HWND hwnd = ToHwnd(list);
    return static_cast<int>(SendMessageW(hwnd, IsComboBox(hwnd) ? CB_SETCURSEL : LB_SETCURSEL,
                                         static_cast<WPARAM>(index), 0));
}

std::optional<std::string> Win32Backend::ItemText(Handle list, int index) {
    if (!list)
        return std::nullopt;
    const HWND hwnd = ToHwnd(list);
    const bool combo = IsComboBox(hwnd);
    const LRESULT length =
        SendMessageW(hwnd, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0)
        return std::nullopt;
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    const LRESULT copied =
        SendMessageW(hwnd, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(buffer.data()));
    if (copied < 0)
        return std::nullopt;
    return Narrow(buffer.data(), static_cast<size_t>(std::min(copied, length)));
}

std::intptr_t Win32Backend::ItemData(Handle list, int index) {
    if (!list)
        return kListError;
    const HWND hwnd = ToHwnd(list);
    return static_cast<std::intptr_t>(SendMessageW(
        hwnd, IsComboBox(hwnd) ? CB_GETITEMDATA : LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

int Win32Backend::SetItemData(Handle list, int index, std::intptr_t data) {
    if (!list)
        return kListError;
    const HWND hwnd = ToHwnd(list);
    return static_cast<int>(SendMessageW(hwnd, IsComboBox(hwnd) ? CB_SETITEMDATA : LB_SETITEMDATA,
                                         static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
}

// ---- up-down controls and progress bars ---------------------------------------------------

void Win32Backend::SetSpinRange(Handle spin, int lower, int upper) {
    if (spin)
        SendMessageW(ToHwnd(spin), UDM_SETRANGE32, static_cast<WPARAM>(lower),
                     static_cast<LPARAM>(upper));
}

std::pair<int, int> Win32Backend::SpinRange(Handle spin) {
    int lower = 0;
    int upper = 0;
    if (spin)
        SendMessageW(ToHwnd(spin), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower),
                     reinterpret_cast<LPARAM>(&upper));
    return {lower, upper};
}

int Win32Backend::SetSpinPos(Handle spin, int pos) {
    return spin ? static_cast<int>(
                      SendMessageW(ToHwnd(spin), UDM_SETPOS32, 0, static_cast<LPARAM>(pos)))
                : 0;
}

int Win32Backend::SpinPos(Handle spin, bool* error) {
    BOOL failed = TRUE;
    int pos = 0;
    if (spin)
        pos = static_cast<int>(
            SendMessageW(ToHwnd(spin), UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    if (error)
        *error = failed != FALSE;
    return pos;
}

void Win32Backend::SetSpinAccel(Handle spin, std::span<const SpinAccel> steps) {
    if (!spin || steps.empty())
        return;
    std::vector<UDACCEL> accel;
    for (const SpinAccel& step : steps)
        accel.push_back(UDACCEL{step.seconds, step.increment});
    SendMessageW(ToHwnd(spin), UDM_SETACCEL, accel.size(), reinterpret_cast<LPARAM>(accel.data()));
}

Handle Win32Backend::SpinBuddy(Handle spin) {
    return spin ? ToHandle(reinterpret_cast<HWND>(SendMessageW(ToHwnd(spin), UDM_GETBUDDY, 0, 0)))
                : nullptr;
}

void Win32Backend::SetProgressRange(Handle bar, int lower, int upper) {
    if (bar)
        SendMessageW(ToHwnd(bar), PBM_SETRANGE32, static_cast<WPARAM>(lower),
                     static_cast<LPARAM>(upper));
}

std::pair<int, int> Win32Backend::ProgressRange(Handle bar) {
    if (!bar)
        return {0, 0};
    PBRANGE range{};
    SendMessageW(ToHwnd(bar), PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    return {range.iLow, range.iHigh};
}

int Win32Backend::SetProgressPos(Handle bar, int pos) {
    return bar ? static_cast<int>(
                     SendMessageW(ToHwnd(bar), PBM_SETPOS, static_cast<WPARAM>(pos), 0))
               : 0;
}

int Win32Backend::ProgressPos(Handle bar) {
    return bar ? static_cast<int>(SendMessageW(ToHwnd(bar), PBM_GETPOS, 0, 0)) : 0;
}

// ---- pictures -----------------------------------------------------------------------------

bool Win32Backend::SetBitmap(Handle picture, int bitmapId) {
    if (!picture)
        return false;
    const HWND hwnd = ToHwnd(picture);
    if (ClassNameOf(hwnd) != L"static" ||
        (static_cast<unsigned>(GetWindowLongW(hwnd, GWL_STYLE)) & SS_TYPEMASK) != SS_BITMAP)
        return false;
    // The bitmap drawn for the control's screen scale, or the nearest one with its pixels
    // multiplied.
    const HMODULE module = GetModuleHandleW(nullptr);
    const ScaledBitmap chosen = ChooseScaledBitmap(bitmapId, WindowDpi(hwnd), [module](int id) {
        return FindResourceW(module, MAKEINTRESOURCEW(id), RT_BITMAP) != nullptr;
    });
    HBITMAP bitmap = LoadBitmapW(module, MAKEINTRESOURCEW(chosen.resourceId));
    if (!bitmap)
        return false;
    bitmap = MultiplyPixels(bitmap, chosen.factor);
    const HANDLE owned = GetPropW(hwnd, kOwnedBitmapProperty);
    const auto previous = reinterpret_cast<HANDLE>(
        SendMessageW(hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    SetPropW(hwnd, kOwnedBitmapProperty, bitmap);
    // The bitmap the control showed before is ours to free when we loaded it.
    if (owned && (previous == owned || !previous))
        DeleteObject(static_cast<HGDIOBJ>(owned));
    return true;
}

Size Win32Backend::ImageSize(Handle picture) {
    if (!picture)
        return {};
    const auto bitmap =
        reinterpret_cast<HBITMAP>(SendMessageW(ToHwnd(picture), STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info))
        return {};
    return Size{info.bmWidth, info.bmHeight};
}

// ---- modal runs ---------------------------------------------------------------------------

void Win32Backend::DialogCreated(HWND window, DialogBase& dialog) {
    modalStack_.push_back(window);
    if (hooks_)
        hooks_->ModalStarted(window, dialog.GetTemplateId(), false);
}

void Win32Backend::PageCreated(HWND page, HWND sheet) {
    if (sheets_.count(sheet))
        return;
    sheets_.insert(sheet);
    modalStack_.push_back(sheet);
    if (auto* object = static_cast<PropertyPage*>(DialogOf(page)); object && object->GetSheet())
        DialogEvents::SheetAttach(*object->GetSheet(), ToHandle(sheet));
    if (hooks_)
        hooks_->ModalStarted(sheet, 0, true);
}

bool Win32Backend::PageHearsControls(HWND page) const {
    if (std::find(pagesRunning_.begin(), pagesRunning_.end(), page) != pagesRunning_.end())
        return true;
    const HWND sheet = GetParent(page);
    if (!sheets_.count(sheet))
        return true;
    const HWND current = PropSheet_GetCurrentPageHwnd(sheet);
    return !current || current == page;
}

Win32Backend::PageCode::PageCode(Win32Backend& backend, HWND page)
    : backend_(backend), page_(page) {
    backend_.pagesRunning_.push_back(page_);
}

Win32Backend::PageCode::~PageCode() {
    auto& running = backend_.pagesRunning_;
    const auto last = std::find(running.rbegin(), running.rend(), page_);
    if (last != running.rend())
        running.erase(std::next(last).base());
}

void Win32Backend::WindowDestroyed(HWND window) {
    if (DialogBase* dialog = DialogOf(window))
        DialogEvents::Detach(*dialog);
    modalStack_.erase(std::remove(modalStack_.begin(), modalStack_.end(), window),
                      modalStack_.end());
}

int Win32Backend::RunDialog(DialogBase& dialog, Handle parent) {
    HWND owner = parent ? ToHwnd(parent) : ToHwnd(ActiveModalWindow());
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialog.GetTemplateId()), owner,
                        DialogProc, reinterpret_cast<LPARAM>(&dialog));
    DialogEvents::Detach(dialog);
    return static_cast<int>(result);
}

void Win32Backend::EndDialog(Handle dialog, int result) {
    if (dialog)
        ::EndDialog(ToHwnd(dialog), result);
}

int Win32Backend::RunSheet(PropertySheet& sheet) {
    auto& pages = DialogEvents::Pages(sheet);
    std::vector<PROPSHEETPAGEW> sheetPages(pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        PROPSHEETPAGEW& page = sheetPages[i];
        page = PROPSHEETPAGEW{};
        page.dwSize = sizeof(PROPSHEETPAGEW);
        page.dwFlags = PSP_DEFAULT | PSP_HASHELP;
        page.hInstance = GetModuleHandleW(nullptr);
        page.pszTemplate = MAKEINTRESOURCEW(pages[i]->GetTemplateId());
        page.pfnDlgProc = PageProc;
        page.lParam = reinterpret_cast<LPARAM>(pages[i]);
    }
    const std::wstring caption = Wide(sheet.GetCaption());
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(PROPSHEETHEADERW);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_HASHELP;
    // The owner comes from another process and may be gone by now; a handle that is no window
    // would make PropertySheetW fail, so the sheet is then shown without an owner.
    HWND owner = reinterpret_cast<HWND>(sheet.GetOwnerWindow());
    if (owner != nullptr && !IsWindow(owner))
        owner = nullptr;
    header.hwndParent = owner;
    header.hInstance = GetModuleHandleW(nullptr);
    header.pszCaption = caption.c_str();
    header.nPages = static_cast<UINT>(sheetPages.size());
    header.nStartPage = static_cast<UINT>(
        std::clamp(sheet.GetStartPage(), 0, static_cast<int>(sheetPages.size()) - 1));
    header.ppsp = sheetPages.data();

    const INT_PTR result = PropertySheetW(&header);

    const HWND window = ToHwnd(sheet.GetHandle());
    const auto ended = sheetResults_.find(window);
    const int outcome = ended == sheetResults_.end() ? kModalLoopEnded : ended->second;
    if (ended != sheetResults_.end())
        sheetResults_.erase(ended);
    sheets_.erase(window);
    modalStack_.erase(std::remove(modalStack_.begin(), modalStack_.end(), window),
                      modalStack_.end());
    DialogEvents::SheetAttach(sheet, nullptr);
    for (PropertyPage* page : pages)
        DialogEvents::Detach(*page);
    // PropertySheetW gives a positive value for OK and 0 for Cancel, but Wine's also 0 when a
    // WM_QUIT ended the loop: the pages' notifications tell the three apart.
    if (result < 0)
        return kModalLoopEnded;
    return outcome;
}

int Win32Backend::SheetActiveIndex(Handle sheet) {
    if (!sheet)
        return -1;
    const HWND hwnd = ToHwnd(sheet);
    const HWND page = PropSheet_GetCurrentPageHwnd(hwnd);
    return page ? static_cast<int>(PropSheet_HwndToIndex(hwnd, page)) : -1;
}

bool Win32Backend::SetSheetActiveIndex(Handle sheet, int index) {
    return sheet && PropSheet_SetCurSel(ToHwnd(sheet), nullptr, index);
}

Handle Win32Backend::SheetActivePage(Handle window) {
    if (!window || !IsSheet(ToHwnd(window)))
        return nullptr;
    return ToHandle(PropSheet_GetCurrentPageHwnd(ToHwnd(window)));
}

Handle Win32Backend::ActiveModalWindow() {
    return modalStack_.empty() ? nullptr : ToHandle(modalStack_.back());
}

void Win32Backend::PostQuit(int exitCode) {
    PostQuitMessage(exitCode);
}

// ---- system services ----------------------------------------------------------------------

int Win32Backend::MessageBox(Handle owner, std::string_view text, std::string_view caption,
                             unsigned style) {
    if (hooks_)
        hooks_->MessageBoxStarting(
            MessageBoxCall{std::string(text), std::string(caption), style, owner});
    return MessageBoxW(ToHwnd(owner), Wide(text).c_str(), Wide(caption).c_str(), style);
}

std::optional<std::string> Win32Backend::OpenFile(Handle owner, const OpenFileRequest& request) {
    if (hooks_)
        return hooks_->OpenFile(request);
    std::wstring filter = Wide(request.filter);
    if (!filter.empty())
        filter.append(2, L'\0');
    const std::wstring initialDir = Wide(request.initialDir);
    const std::wstring title = Wide(request.title);
    std::vector<wchar_t> path(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(OPENFILENAMEW);
    dialog.hwndOwner = ToHwnd(owner);
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.Flags = OFN_HIDEREADONLY | (request.pathMustExist ? OFN_PATHMUSTEXIST : 0) |
                   (request.fileMustExist ? OFN_FILEMUSTEXIST : 0) |
                   (request.noLongNames ? OFN_NOLONGNAMES : 0);
    const auto getOpenFileName = OpenFileDialogFunction();
    if (!getOpenFileName || !getOpenFileName(&dialog))
        return std::nullopt;
    return Narrow(path.data(), wcsnlen(path.data(), path.size()));
}

void Win32Backend::WinHelp(Handle owner, std::string_view helpFile, unsigned command,
                           unsigned long data) {
    if (hooks_) {
        hooks_->WinHelp(HelpCall{std::string(helpFile), command, data});
        return;
    }
    WinHelpW(ToHwnd(owner), Wide(helpFile).c_str(), command, data);
}

bool Win32Backend::HtmlHelp(Handle owner, const HtmlHelpCommand& command) {
    if (hooks_)
        return hooks_->HtmlHelp(HtmlHelpCall{command, owner});
    using Kind = HtmlHelpCommand::Kind;
    const HtmlHelpFunction htmlHelp = HtmlHelpFunctionOf(command.kind != Kind::CloseAll);
    if (!htmlHelp)
        return command.kind == Kind::CloseAll;
    const std::wstring file = Wide(command.file);
    switch (command.kind) {
    case Kind::Topic:
        return htmlHelp(ToHwnd(owner), file.c_str(), kHhDisplayTopic, 0) != nullptr;
    case Kind::Contents:
        return htmlHelp(ToHwnd(owner), file.c_str(), kHhDisplayToc, 0) != nullptr;
    case Kind::Popup: {
        HhPopup popup{};
        popup.cbStruct = sizeof popup;
        popup.idString = static_cast<UINT>(command.contextId);
        popup.pt = POINT{command.at.x, command.at.y};
        popup.clrForeground = popup.clrBackground = static_cast<COLORREF>(-1);
        popup.rcMargins = RECT{-1, -1, -1, -1};
        return htmlHelp(ToHwnd(owner), file.c_str(), kHhDisplayTextPopup,
                        reinterpret_cast<DWORD_PTR>(&popup)) != nullptr;
    }
    case Kind::CloseAll:
        htmlHelp(nullptr, nullptr, kHhCloseAll, 0);
        return true;
    }
    return false;
}

void Win32Backend::BeginWaitCursor() {
    if (waitCursorDepth_++ == 0)
        savedCursor_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

void Win32Backend::EndWaitCursor() {
    if (waitCursorDepth_ > 0 && --waitCursorDepth_ == 0)
        SetCursor(savedCursor_ ? savedCursor_ : LoadCursorW(nullptr, IDC_ARROW));
}

std::string Win32Backend::ProgramPath() {
    std::vector<wchar_t> path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    return Narrow(path.data(), std::min<size_t>(length, path.size()));
}

} // namespace ui::win32

namespace ui {

// The Windows build's own backend: real windows.
Backend& DefaultBackend() {
    return win32::TheWin32Backend();
}

} // namespace ui
