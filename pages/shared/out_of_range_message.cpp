#include "pages/shared/out_of_range_message.h"

namespace pages {

std::string OutOfRangeMessage(int low, int high) {
    return "Hodnota je mimo rozsahu. Mala by by\x9D medzi " + std::to_string(low) + " a " +
           std::to_string(high);
}

} // namespace pages
