#include "app/text_helpers.h"

#include <cstddef>

namespace app {

namespace {

// Not std::isdigit: texts are code page 1250 bytes, and a negative char is undefined there.
bool IsDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

NumericTextCheck CheckNumericText(std::string_view text, int mode) {
    if (text.empty()) {
        return NumericTextCheck::Empty;
    }
    if (mode != kIntegerText && mode != kDecimalText) {
        return NumericTextCheck::Accepted;
    }
    bool seenDot = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDecimalDigit(c)) {
            continue;
        }
        // A sign alone is no number, so it needs at least one more character after it.
        const bool leadingSign = i == 0 && text.size() > 1;
        if (mode == kIntegerText) {
            if (leadingSign && (c == '-' || c == '+')) {
                continue;
            }
        } else {
            if (leadingSign && c == '+') {
                continue;
            }
            if (c == '.' && !seenDot) {
                seenDot = true;
                continue;
            }
        }
        return NumericTextCheck::NonNumeric;
    }
    return NumericTextCheck::Accepted;
}

bool IsDosFileName(std::string_view text) {
    const std::size_t slash = text.rfind('\\');
    const std::string_view name = slash == std::string_view::npos ? text : text.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return name.size() <= 8;
    }
    return dot <= 8 && name.size() - dot - 1 <= 3;
}

} // namespace app
