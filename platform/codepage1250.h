#pragma once
// Conversions between code page 1250 (the program's texts, the settings block, the registry),
// UTF-16 (Win32 W APIs) and UTF-8 (terminal tools, Linux). One table serves both builds.
#include <string>
#include <string_view>

namespace platform {

// Every byte maps to one UTF-16 unit (the five bytes that Windows leaves undefined map to the
// C1 control of the same value, as Windows does).
char16_t Cp1250ToUnicode(unsigned char byte);
// The byte for a character, or '?' for one the code page lacks.
unsigned char UnicodeToCp1250(char32_t ch);

std::u16string Cp1250ToUtf16(std::string_view text);
std::string Utf16ToCp1250(std::u16string_view text);
std::string Cp1250ToUtf8(std::string_view text);
// Malformed UTF-8 sequences and characters outside the code page become '?'.
std::string Utf8ToCp1250(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

} // namespace platform
