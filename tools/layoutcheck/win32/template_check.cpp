#include "tools/layoutcheck/win32/template_check.h"

#include <algorithm>
#include <map>
#include <optional>

#include "platform/codepage1250.h"
#include "tools/layoutcheck/fit_rules.h"
#include "ui/win32/win32.h"

namespace layoutcheck {
namespace {

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::string Utf8(const std::wstring& text) {
    return platform::Utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

std::wstring Wide(const std::string& cp1250) {
    const std::u16string text = platform::Cp1250ToUtf16(cp1250);
    return std::wstring(text.begin(), text.end());
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    const int length = GetClassNameW(window, name, 64);
    std::wstring text(name, static_cast<std::size_t>(std::max(length, 0)));
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(towlower(c));
    return text;
}

std::wstring TextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

// How the control shows text, and where its text goes: nullopt for controls without text to
// check (edits, pictures, frames, spin buttons, progress bars).
struct TextArea {
    TextKind kind;
    int width;  // of the control's text area
    int height; // of the control's client area
    UINT format;
    bool lists; // its texts are list entries, not the window text
};

std::optional<TextArea> TextAreaOf(HWND control) {
    const std::wstring name = ClassOf(control);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    RECT client{};
    GetClientRect(control, &client);
    TextArea area{TextKind::SingleLineStatic, client.right, client.bottom, DT_SINGLELINE, false};
    if (name == L"button") {
        switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_OWNERDRAW: // the About page's links: a push-button frame around the text
            area.kind = TextKind::PushButton;
            return area;
        case BS_DEFPUSHBUTTON:
            area.kind = TextKind::DefaultPushButton;
            return area;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
            area.kind = TextKind::CheckBox;
            return area;
        case BS_GROUPBOX:
            area.kind = TextKind::GroupCaption;
            return area;
        default:
            return std::nullopt;
        }
    }
    if (name == L"static") {
        const DWORD type = style & SS_TYPEMASK;
        if (style & SS_NOPREFIX)
            area.format |= DT_NOPREFIX;
        if (type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE)
            return area;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT)
            return std::nullopt;
        // A text static with SS_CENTERIMAGE shows one line, centred vertically.
        if (!(style & SS_CENTERIMAGE)) {
            area.kind = TextKind::WrappedStatic;
            area.format = (area.format & ~DT_SINGLELINE) | DT_WORDBREAK | DT_EXPANDTABS;
        }
        return area;
    }
    if (name == L"combobox") {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (!GetComboBoxInfo(control, &info))
            return std::nullopt;
        return TextArea{TextKind::ListEntry, info.rcItem.right - info.rcItem.left,
                        info.rcItem.bottom - info.rcItem.top, DT_SINGLELINE | DT_NOPREFIX, true};
    }
    if (name == L"listbox") {
        // The scroll bar takes its room once the entries outgrow the list.
        const int bar = (style & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
        return TextArea{TextKind::ListEntry, client.right - bar, client.bottom,
                        DT_SINGLELINE | DT_NOPREFIX, true};
    }
    return std::nullopt;
}

struct Extent {
    int cx = 0;
    int cy = 0;
};

Extent Measure(HDC dc, const std::wstring& text, UINT format, int wrapWidth) {
    RECT rect{0, 0, std::max(wrapWidth, 1), 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
    return Extent{rect.right - rect.left, rect.bottom - rect.top};
}

// The texts of one control against its text area; a text the program shows while it has made
// the control wider (`texts` gives that width in dialog units, 0 for none) gets the wider area.
void CheckTexts(int templateId, int dpi, HWND dialog, HWND control, const TextArea& area,
                const std::map<std::wstring, int>& texts, std::vector<std::string>& problems,
                TemplateStats& stats) {
    const HDC dc = GetDC(control);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    int zeroWidth = 0;
    GetCharWidth32W(dc, L'0', L'0', &zeroWidth);
    const int id = GetDlgCtrlID(control);
    for (const auto& [text, widened] : texts) {
        ++stats.texts;
        RECT wide{0, 0, widened, 0};
        MapDialogRect(dialog, &wide);
        const int width = std::max(area.width, widened > 0 ? static_cast<int>(wide.right) : 0);
        const int room = TextRoom(area.kind, width, dpi, zeroWidth);
        const Extent need = Measure(dc, text, area.format, room);
        std::string what;
        if (need.cx > room) {
            what = "needs " + std::to_string(need.cx) + " px, has " + std::to_string(room);
        } else if (need.cy > area.height) {
            // Broken into more lines than the control shows: what one line would need.
            const Extent line = Measure(dc, text, (area.format & ~DT_WORDBREAK) | DT_SINGLELINE, 0);
            what = "needs " + std::to_string(need.cy) + " px of height, has " +
                   std::to_string(area.height) + " (on one line it needs " +
                   std::to_string(line.cx) + " px, has " + std::to_string(room) + ")";
        }
        if (!what.empty())
            problems.push_back(Describe(templateId, id, Utf8(text), dpi, what));
    }
    if (previous)
        SelectObject(dc, previous);
    ReleaseDC(control, dc);
}

} // namespace

void CheckTemplate(int templateId, int dpi, const RuntimeTexts& texts,
                   std::vector<std::string>& problems, TemplateStats& stats) {
    // Pages are child dialogs: they get a hidden window of their own to live in.
    const HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
    const HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId),
                                           host, QuietDialogProc, 0);
    if (!dialog) {
        problems.push_back("template " + std::to_string(templateId) + ", " + std::to_string(dpi) +
                           " DPI: cannot be created");
        DestroyWindow(host);
        return;
    }
    RECT client{};
    GetClientRect(dialog, &client);
    std::vector<PlacedControl> placed;
    for (HWND control = GetWindow(dialog, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        ++stats.controls;
        const int id = GetDlgCtrlID(control);
        const DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
        const auto use = texts.find({templateId, id});
        // A control its template hides counts only when the program shows it.
        const bool visible = (style & WS_VISIBLE) || (use != texts.end() && use->second.shown);
        RECT rect{};
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        const std::wstring text = TextOf(control);
        placed.push_back(
            PlacedControl{id, Utf8(text), visible,
                          ClassOf(control) == L"button" && (style & BS_TYPEMASK) == BS_GROUPBOX,
                          ui::Rect{rect.left, rect.top, rect.right, rect.bottom}});

        const std::optional<TextArea> area = TextAreaOf(control);
        if (!area || !visible)
            continue;
        std::map<std::wstring, int> shown;
        if (!area->lists && !text.empty())
            shown.emplace(text, 0);
        if (use != texts.end())
            for (const auto& [runtime, widened] : use->second.texts) {
                int& widest = shown[Wide(runtime)];
                widest = std::max(widest, widened);
            }
        CheckTexts(templateId, dpi, dialog, control, *area, shown, problems, stats);
    }
    const std::vector<std::string> placement = PlacementProblems(
        placed, ui::Rect{client.left, client.top, client.right, client.bottom}, templateId, dpi);
    problems.insert(problems.end(), placement.begin(), placement.end());
    DestroyWindow(dialog);
    DestroyWindow(host);
}

} // namespace layoutcheck
