// The Layout page: orientation, duplex mode, pages per sheet and borders, and the picture of
// the three.
#include "app/settings_block.h"
#include "pages/layout/layout_page.h"
#include "tests/pages/shown/shown_fields.h"
#include "ui/backend.h"
#include "ui/headless/headless_backend.h"

namespace shown {
namespace {

// The picture is the one the block's layout names.
std::optional<std::string> PreviewOfLayout(const ShownContext& context) {
    auto* backend = dynamic_cast<ui::headless::HeadlessBackend*>(&ui::CurrentBackend());
    if (!backend)
        return std::nullopt;
    const app::PrinterSettingsBlock& block = context.block;
    const int shownBitmap = backend->BitmapId(context.control.GetHandle());
    const int expected =
        pages::PreviewBitmapId(block.orientation(), block.duplexMode(), block.pagesPerSheet());
    if (shownBitmap == expected)
        return std::nullopt;
    return "shows bitmap " + std::to_string(shownBitmap) + ", the block's layout is bitmap " +
           std::to_string(expected);
}

const ShownControl kRows[] = {
    Field(IDC_ORIENT_PORTRAIT, Shows::RadioValue, "orientation", 1),
    Field(IDC_ORIENT_LANDSCAPE, Shows::RadioValue, "orientation", 2),
    Field(IDC_ORIENT_ROTATED, Shows::RadioOtherwise, "orientation"),
    Field(IDC_DUPLEX_NONE, Shows::RadioValue, "duplexMode", 1),
    Field(IDC_DUPLEX_LONG_EDGE, Shows::RadioValue, "duplexMode", 2),
    Field(IDC_DUPLEX_SHORT_EDGE, Shows::RadioOtherwise, "duplexMode"),
    Field(IDC_PAGES_PER_SHEET, Shows::ListCode, "pagesPerSheet"),
    Field(IDC_PRINT_PAGE_BORDERS, Shows::Check, "printPageBorders"),
    Custom(IDC_PREVIEW_PICTURE, "orientation, duplexMode, pagesPerSheet", PreviewOfLayout),
    LeftOut(IDC_PREVIEW_GROUP, "frame of the picture"),
    LeftOut(IDC_ORIENTATION_GROUP, "frame of the orientation"),
};

} // namespace

const ShownTable kLayoutShown{IDD_LAYOUT, kRows};

} // namespace shown
