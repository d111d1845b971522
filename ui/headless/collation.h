#pragma once
// Text comparison of the list controls, on code page 1250 texts: case folding as Windows'
// towupper does it for every letter of the code page, and the order sorted lists keep
// (CompareString with NORM_IGNORECASE: letters by their base letter first, accents second,
// hyphen and apostrophe ignored at first).
#include <string_view>

namespace ui::headless {

// The upper-case form of one code page 1250 character (the same byte for non-letters).
unsigned char UpperCp1250(unsigned char byte);

// Equal ignoring case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
// `text` begins with `prefix`, ignoring the case of ASCII letters only, as the list controls'
// prefix search does (an accented letter must match exactly).
bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);

// <0, 0 or >0 as `a` sorts before, with or after `b`.
int CompareForSort(std::string_view a, std::string_view b);

} // namespace ui::headless
