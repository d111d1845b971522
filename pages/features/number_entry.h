#pragma once
// Numbers typed into the dialogs' digit edits.
#include <string_view>

namespace pages {

// The number at the start of `text` as the C library's atol reads it (leading blanks, one
// sign, then digits up to the first other character; 0 when there are none), except that a
// number beyond the range of long long is held at its bound instead of wrapping round:
// "4294967296" stays far out of any field's range and never reads as 0.
long long TypedNumber(std::string_view text);

} // namespace pages
