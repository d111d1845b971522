#include "pages/features/number_entry.h"

#include <limits>

namespace pages {

long long TypedNumber(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    constexpr long long kLimit = std::numeric_limits<long long>::max();
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        const int digit = text[at] - '0';
        if (value > (kLimit - digit) / 10) {
            value = kLimit;
            // The rest of the digits cannot bring it back into range.
            break;
        }
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

} // namespace pages
