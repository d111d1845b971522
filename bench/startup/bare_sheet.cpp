// bare_sheet.exe: the floor of the start-up benchmark (scripts/bench startup). It does nothing
// but show a property sheet of empty pages, and is built and linked as vela40ps.exe is: a GUI
// program with the static runtime, common controls 6 through the same manifest, the same sheet
// flags, pages of the same size and font. The time from its start to its visible sheet is what
// Wine needs for any sheet at all, the time under which no start-up of ours can go.
//
//   bare_sheet.exe [PAGES]     1 to 8 empty pages; 6 when not given, the tabs of the sheet of
//                              document properties
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <cwchar>
#include <vector>

namespace {

// The program's tabs, in its order; the benchmark shows as many as the sheet it compares with.
const wchar_t* const kTabs[] = {L"Rozvrhnutie", L"Papier",
                                L"Funkcie",     L"Pretla\u010D",
                                L"P\u00EDsma",  L"Spotrebn\u00FD materi\u00E1l",
                                L"Nastavenie",  L"O aplik\u00E1cii"};
constexpr int kMaxPages = 8;
constexpr int kDefaultPages = 6;

// The pages' template: an empty page of the program's size (314 x 231 dialog units) in its font.
constexpr short kPageWidth = 314;
constexpr short kPageHeight = 231;
constexpr wchar_t kPageFont[] = L"MS Sans Serif";
constexpr WORD kPageFontSize = 8;

// An extended dialog template without controls, laid out word by word as the resource compiler
// writes one.
std::vector<WORD> EmptyPageTemplate() {
    std::vector<WORD> words;
    const auto add = [&](std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            words.push_back(static_cast<WORD>(value >> (16 * i)));
    };
    const auto text = [&](const wchar_t* value) {
        for (; *value; ++value)
            words.push_back(static_cast<WORD>(*value));
        words.push_back(0);
    };
    add(1, 1);      // dlgVer
    add(0xFFFF, 1); // signature
    add(0, 2);      // helpID
    add(0, 2);      // exStyle
    add(DS_SETFONT | DS_CONTROL | WS_CHILD | WS_CAPTION, 2);
    add(0, 1); // no controls
    add(0, 1); // x
    add(0, 1); // y
    add(static_cast<std::uint32_t>(kPageWidth), 1);
    add(static_cast<std::uint32_t>(kPageHeight), 1);
    add(0, 1); // no menu
    add(0, 1); // the standard class
    add(0, 1); // no title: the tab's text comes from the page
    add(kPageFontSize, 1);
    add(FW_NORMAL, 1);
    add(0x0100, 1); // italic 0, charset 1 (the default character set)
    text(kPageFont);
    return words;
}

INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

int PagesAsked() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int pages = kDefaultPages;
    if (argv != nullptr && argc > 1) {
        const long asked = std::wcstol(argv[1], nullptr, 10);
        if (asked >= 1 && asked <= kMaxPages)
            pages = static_cast<int>(asked);
    }
    LocalFree(argv);
    return pages;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX),
                              ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&init);

    const std::vector<WORD> page = EmptyPageTemplate();
    const int count = PagesAsked();
    std::vector<PROPSHEETPAGEW> pages(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        PROPSHEETPAGEW& sheetPage = pages[static_cast<std::size_t>(i)];
        sheetPage = PROPSHEETPAGEW{};
        sheetPage.dwSize = sizeof(PROPSHEETPAGEW);
        sheetPage.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE | PSP_HASHELP;
        sheetPage.hInstance = instance;
        sheetPage.pResource = reinterpret_cast<LPCDLGTEMPLATEW>(page.data());
        sheetPage.pszTitle = kTabs[i];
        sheetPage.pfnDlgProc = PageProc;
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(PROPSHEETHEADERW);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_HASHELP;
    header.hInstance = instance;
    header.pszCaption = L"Vela ColorLaser 40 PS";
    header.nPages = static_cast<UINT>(count);
    header.ppsp = pages.data();
    return PropertySheetW(&header) < 0 ? 1 : 0;
}
