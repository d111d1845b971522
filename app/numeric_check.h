#pragma once
// CheckNumericText as the pages use it: the character check of text_helpers.h together with
// its message box.
#include <string_view>

namespace app {

// True when `text` passes CheckNumericText in `mode`. An empty text is refused silently; a
// text with characters a number of the mode cannot have is refused with the message box
// "Chybný údaj, nečíselné znaky" (the application's name as its caption).
bool CheckNumericTextWithMessage(std::string_view text, int mode);

} // namespace app
