#pragma once
// The message that refuses a number outside its range in the pages and dialogs with number
// fields: "Hodnota je mimo rozsahu. Mala by byť medzi LOW a HIGH".
#include <string>

namespace pages {

// The message text with both limits as decimal numbers (code page 1250).
std::string OutOfRangeMessage(int low, int high);

} // namespace pages
