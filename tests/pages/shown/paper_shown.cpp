// The Paper page, the advanced paper feed options and the custom paper size.
#include <cmath>
#include <cstdlib>

#include "app/settings_block.h"
#include "res/resource.h"
#include "tests/pages/shown/shown_fields.h"

namespace shown {
namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kPointsPerInch = 72;
// The edits show hundredths: a stored size differs from the shown one by rounding only.
constexpr double kShownPrecision = 0.006;

// The size in the unit the dialog shows (millimetres for a unit it does not know).
double InUnit(double millimetres, int unit) {
    switch (unit) {
    case 0:
        return millimetres / kMillimetresPerInch;
    case 2:
        return millimetres / kMillimetresPerInch * kPointsPerInch;
    default:
        return millimetres;
    }
}

std::optional<std::string> SizeShown(const ShownContext& context, float millimetres) {
    const std::string text = context.control.GetWindowText();
    char* end = nullptr;
    const double shownValue = std::strtod(text.c_str(), &end);
    const double expected = InUnit(millimetres, context.block.customSizeUnit());
    if (!text.empty() && end && *end == '\0' && std::fabs(shownValue - expected) <= kShownPrecision)
        return std::nullopt;
    return "shows \"" + text + "\", the block holds " + std::to_string(expected) +
           " in the unit shown";
}

std::optional<std::string> WidthShown(const ShownContext& context) {
    return SizeShown(context, context.block.customSizeWidth());
}

std::optional<std::string> HeightShown(const ShownContext& context) {
    return SizeShown(context, context.block.customSizeHeight());
}

const ShownControl kPaperRows[] = {
    Field(IDC_PAPER_SIZE, Shows::ListCode, "paperSize"),
    Field(IDC_PAPER_SOURCE, Shows::ListCode, "inputSlot"),
    Field(IDC_MEDIA_TYPE, Shows::ListCode, "mediaType"),
    Field(IDC_OUTPUT_BIN, Shows::ListCode, "outputBin"),
    LeftOut(IDC_ADVANCED_FEED, "opens the advanced feed dialog"),
    LeftOut(IDC_OUTPUT_BIN_LABEL, "label of the output bins"),
    LeftOut(IDC_CUSTOM_SIZE_CONFIGURE, "opens the custom size"),
};

const ShownControl kAdvancedFeedRows[] = {
    Field(IDC_FEED_BANNER, Shows::Check, "bannerPageEnabled"),
    Field(IDC_FEED_BANNER_SOURCE, Shows::ListCode, "bannerPageSource"),
    Field(IDC_FEED_FIRST_PAGE, Shows::Check, "firstPageEnabled"),
    Field(IDC_FEED_FIRST_PAGE_SOURCE, Shows::ListCode, "firstPageSource"),
    Field(IDC_FEED_TRAILER, Shows::Check, "trailerPageEnabled"),
    Field(IDC_FEED_TRAILER_SOURCE, Shows::ListCode, "trailerPageSource"),
    Field(IDC_FEED_OVERRIDE_MP_TRAY, Shows::Check, "overrideMultipurposeTray"),
    LeftOut(IDC_FEED_ADVANCED_TRAY, "hidden, without a function"),
    LeftOut(IDC_FEED_HELP, "opens help"),
    LeftOut(IDC_FEED_FIRST_PAGE_GROUP, "frame of the first page"),
};

const ShownControl kCustomSizeRows[] = {
    Custom(IDC_CUSTOM_WIDTH, "customSizeWidth", WidthShown),
    Custom(IDC_CUSTOM_HEIGHT, "customSizeHeight", HeightShown),
    Field(IDC_CUSTOM_UNIT_INCH, Shows::RadioValue, "customSizeUnit", 0),
    Field(IDC_CUSTOM_UNIT_MM, Shows::RadioOtherwise, "customSizeUnit"),
    Field(IDC_CUSTOM_UNIT_POINT, Shows::RadioValue, "customSizeUnit", 2),
    Field(IDC_CUSTOM_FEED_EDGE, Shows::ListCode, "customSizeFeedEdge"),
    LeftOut(IDC_CUSTOM_WIDTH_RANGE, "the driver's limits, which go back as they came"),
    LeftOut(IDC_CUSTOM_HEIGHT_RANGE, "the driver's limits, which go back as they came"),
    LeftOut(IDC_CUSTOM_FEED_EDGE_LABEL, "label"),
    LeftOut(IDC_CUSTOM_HELP, "opens help"),
    LeftOut(IDC_CUSTOM_OFFSET_PERPENDICULAR, "hidden, never used"),
    LeftOut(IDC_CUSTOM_OFFSET_PARALLEL, "hidden, never used"),
};

} // namespace

const ShownTable kPaperShown{IDD_PAPER, kPaperRows};
const ShownTable kAdvancedFeedShown{IDD_ADVANCED_FEED, kAdvancedFeedRows};
const ShownTable kCustomSizeShown{IDD_CUSTOM_SIZE, kCustomSizeRows};

} // namespace shown
