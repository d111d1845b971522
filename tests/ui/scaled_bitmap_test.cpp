// The choice of the bitmap that shows a picture on a screen of some scale: the one drawn for the
// scale where there is one, whole multiples of a drawn one above 144 DPI, never larger than the
// screen asks for, and the plain bitmap where the drawn ones are missing.
#include "ui/scaled_bitmap.h"

#include <gtest/gtest.h>

#include <vector>

#include "res/resource.h"

namespace ui {
namespace {

constexpr int kId = 152;
constexpr int k120 = kId + BITMAP_ID_OFFSET_120_DPI;
constexpr int k144 = kId + BITMAP_ID_OFFSET_144_DPI;

struct Case {
    int dpi;
    bool drawn; // the bitmaps for 120 and 144 DPI exist
    ScaledBitmap expected;
};

TEST(ScaledBitmap, ChoosesTheLargestPictureWithinTheScreensScale) {
    const Case cases[] = {
        {96, true, {kId, 1}},   {72, true, {kId, 1}},   {110, true, {kId, 1}},
        {120, true, {k120, 1}}, {144, true, {k144, 1}}, {168, true, {k144, 1}},
        {192, true, {kId, 2}},  {216, true, {kId, 2}},  {240, true, {k120, 2}},
        {288, true, {k144, 2}}, {384, true, {kId, 4}},  {120, false, {kId, 1}},
        {144, false, {kId, 1}}, {192, false, {kId, 2}}, {288, false, {kId, 3}},
        {0, true, {kId, 1}},    {-96, true, {kId, 1}},
    };
    for (const Case& c : cases) {
        const auto exists = [&](int id) { return c.drawn && (id == k120 || id == k144); };
        const ScaledBitmap chosen = ChooseScaledBitmap(kId, c.dpi, exists);
        EXPECT_EQ(chosen.resourceId, c.expected.resourceId) << c.dpi << " drawn " << c.drawn;
        EXPECT_EQ(chosen.factor, c.expected.factor) << c.dpi << " drawn " << c.drawn;
    }
}

// Only the drawn bitmaps of this picture are asked about.
TEST(ScaledBitmap, AsksOnlyForThePicturesOwnScaledBitmaps) {
    std::vector<int> asked;
    ChooseScaledBitmap(kId, 144, [&](int id) {
        asked.push_back(id);
        return false;
    });
    EXPECT_EQ(asked, (std::vector<int>{k120, k144}));
}

} // namespace
} // namespace ui
