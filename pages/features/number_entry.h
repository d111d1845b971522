#pragma once
// Numbers typed into the dialogs' digit edits, and the message that refuses one out of range.
#include <string>
#include <string_view>

namespace pages {

// The number at the start of `text` as the C library's atol reads it (leading blanks, one
// sign, then digits up to the first other character; 0 when there are none), except that a
// number beyond the range of long long is held at its bound instead of wrapping round:
// "4294967296" stays far out of any field's range and never reads as 0.
long long TypedNumber(std::string_view text);

// "Hodnota je mimo rozsahu. Mala by byť medzi LOW a HIGH" (code page 1250).
std::string OutOfRangeMessage(long long low, long long high);

} // namespace pages
