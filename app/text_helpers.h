#pragma once
// Checks of the texts that users type into the pages' edit controls.
#include <string_view>

namespace app {

// Modes of CheckNumericText; any other mode accepts every non-empty text.
inline constexpr int kIntegerText = 1;
inline constexpr int kDecimalText = 2;

enum class NumericTextCheck {
    Accepted,   // the text passes
    Empty,      // refused without a message
    NonNumeric, // refused; the caller shows kNonNumericTextMessage
};

// "Chybný údaj, nečíselné znaky" in code page 1250, shown when a text is NonNumeric.
inline constexpr char kNonNumericTextMessage[] = "Chybn\xFD \xFA"
                                                 "daj, ne\xE8\xEDseln\xE9 znaky";

// Checks that `text` holds only characters a number of the mode may have. Decimal digits
// always pass. Integer mode allows one "-" or "+" as the first character when more follow.
// Decimal mode allows one "+" as the first character when more follow, and one "." anywhere.
// The check looks at characters only; the caller converts and range-checks the value.
NumericTextCheck CheckNumericText(std::string_view text, int mode);

// True when the file name part of `text` (after the last backslash) keeps the DOS 8.3 limits:
// at most 8 characters before its last dot and at most 3 after it (8 in all when it has no
// dot). Only lengths are checked; an empty text passes.
bool IsDosFileName(std::string_view text);

} // namespace app
