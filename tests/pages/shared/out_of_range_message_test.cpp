// The one range message of the pages and dialogs: its Slovak text in code page 1250 with both
// limits, negative ones included.
#include "pages/shared/out_of_range_message.h"

#include <gtest/gtest.h>

#include "ui/headless/test_host.h"

namespace pages {
namespace {

using ui::headless::Cp1250;

TEST(OutOfRangeMessage, NamesTheBounds) {
    const struct {
        int low, high;
        std::u8string_view text;
    } cases[] = {
        {1, 999, u8"Hodnota je mimo rozsahu. Mala by byť medzi 1 a 999"},
        {0, 3000, u8"Hodnota je mimo rozsahu. Mala by byť medzi 0 a 3000"},
        {-306, 306, u8"Hodnota je mimo rozsahu. Mala by byť medzi -306 a 306"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OutOfRangeMessage(c.low, c.high), Cp1250(c.text)) << c.low << " " << c.high;
}

} // namespace
} // namespace pages
