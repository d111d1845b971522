// Numbers read from the digit edits: as the C library reads them, but never wrapping round.
#include "pages/features/number_entry.h"

#include <gtest/gtest.h>

#include <limits>

namespace pages {
namespace {

TEST(TypedNumber, ReadsWithoutWrapping) {
    constexpr long long kMax = std::numeric_limits<long long>::max();
    const struct {
        const char* text;
        long long number;
    } cases[] = {
        {"", 0},
        {"0", 0},
        {"3000", 3000},
        {"007", 7},
        {"+25", 25},
        {"-1", -1},
        {"  42", 42},
        {"12a", 12},
        {"a12", 0},
        {"-", 0},
        {"4294967296", 4294967296LL},
        {"4294967297", 4294967297LL},
        {"9223372036854775807", kMax},
        {"9223372036854775808", kMax},
        {"184467440737095516160", kMax},
        {"-99999999999999999999", -kMax},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TypedNumber(c.text), c.number) << c.text;
}

} // namespace
} // namespace pages
