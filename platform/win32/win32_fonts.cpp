#include "platform/win32/win32_fonts.h"

#include <windows.h>

#include "platform/codepage1250.h"

namespace platform {
namespace {

int CALLBACK AddTrueTypeFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD fontType,
                               LPARAM param) {
    if (fontType & TRUETYPE_FONTTYPE) {
        auto* families = reinterpret_cast<std::vector<std::string>*>(param);
        families->push_back(Utf16ToCp1250(reinterpret_cast<const char16_t*>(font->lfFaceName)));
    }
    return 1;
}

} // namespace

std::vector<std::string> Win32FontEnumerator::TrueTypeFamilies() {
    std::vector<std::string> families;
    HDC screen = GetDC(nullptr);
    if (!screen)
        return families;
    EnumFontFamiliesW(screen, nullptr, AddTrueTypeFamily, reinterpret_cast<LPARAM>(&families));
    ReleaseDC(nullptr, screen);
    return families;
}

} // namespace platform
