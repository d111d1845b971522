#include "pages/layout/layout_page.h"

#include <string>

#include "app/config_app.h"
#include "app/option_tables.h"
#include "app/settings_block.h"
#include "pages/shared/context_help.h"
#include "pages/shared/ppd_choices.h"
#include "ppd/ppd.h"
#include "ui/data_exchange.h"

namespace pages {
namespace {

constexpr int kBooklet = 99;
constexpr int kCustomPaperSize = 257;

// Preview bitmaps by pages per sheet, then portrait single, long, short and landscape single,
// long, short.
struct PreviewRow {
    int pagesPerSheet;
    int bitmaps[6];
};

constexpr PreviewRow kPreviews[] = {
    {1, {152, 166, 167, 153, 164, 165}},  {2, {156, 154, 155, 161, 159, 160}},
    {4, {157, 169, 170, 162, 190, 189}},  {6, {158, 171, 172, 163, 188, 187}},
    {9, {173, 174, 175, 186, 185, 184}},  {16, {176, 177, 178, 183, 182, 181}},
    {99, {179, 179, 179, 180, 180, 180}},
};

app::PrinterSettingsBlock& Block() {
    return app::TheApp().settings;
}

} // namespace

int PreviewBitmapId(int orientation, int duplexMode, int pagesPerSheet) {
    const bool portrait = orientation == 1;
    const int duplexColumn = duplexMode == 1 ? 0 : duplexMode == 2 ? 1 : 2;
    for (const PreviewRow& row : kPreviews) {
        if (row.pagesPerSheet == pagesPerSheet)
            return row.bitmaps[(portrait ? 0 : 3) + duplexColumn];
    }
    return portrait ? IDB_PREVIEW_PORTRAIT_SINGLE_1 : IDB_PREVIEW_LANDSCAPE_SINGLE_1;
}

void CLayout::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_DUPLEX_NONE, singleSided_);
    dx.Control(IDC_DUPLEX_LONG_EDGE, longEdge_);
    dx.Control(IDC_DUPLEX_SHORT_EDGE, shortEdge_);
    dx.Control(IDC_PRINT_PAGE_BORDERS, pageBorders_);
    dx.Control(IDC_PAGES_PER_SHEET, pagesPerSheet_);
    dx.Control(IDC_ORIENTATION_GROUP, orientationGroup_);
    dx.Control(IDC_PREVIEW_GROUP, previewGroup_);
    dx.Control(IDC_PREVIEW_PICTURE, preview_);
}

ui::MessageMap CLayout::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnClicked(IDC_ORIENT_PORTRAIT, &CLayout::OnPortrait),
        ui::OnClicked(IDC_ORIENT_LANDSCAPE, &CLayout::OnLandscape),
        ui::OnClicked(IDC_ORIENT_ROTATED, &CLayout::OnRotatedLandscape),
        ui::OnClicked(IDC_DUPLEX_NONE, &CLayout::OnSingleSided),
        ui::OnClicked(IDC_DUPLEX_LONG_EDGE, &CLayout::OnLongEdge),
        ui::OnClicked(IDC_DUPLEX_SHORT_EDGE, &CLayout::OnShortEdge),
        ui::OnChoice(IDC_PAGES_PER_SHEET, &CLayout::OnPagesPerSheetChanged),
        ui::OnClicked(IDC_PRINT_PAGE_BORDERS, &CLayout::OnPageBorders),
    };
    return entries;
}

bool CLayout::OnInitDialog() {
    ui::PropertyPage::OnInitDialog();
    ui::SetContextHelpIds(*this, ContextHelpIds(IDD_LAYOUT));
    // A PPD that offers duplex printing without listing the duplexer among the installable
    // options has the duplex unit as standard equipment.
    const ppd::PpdDocument* document = app::TheApp().ppdDocument;
    if (document && !ppd::FindFeature(document, "Optionalduplexer") &&
        ppd::FindFeature(document, "Duplex"))
        Block().setDuplexerInstalled(1);
    shownPreview_ = 0; // a new window: its picture is the template's
    RefreshPreview();
    return true;
}

bool CLayout::OnSetActive() {
    app::PrinterSettingsBlock& block = Block();
    pagesPerSheet_.ResetContent();
    pagesPerSheet_.FillFromTable(app::PagesPerSheetNames, block.pagesPerSheet());
    // A count the list does not offer goes back to the driver as the entry shown instead.
    if (pagesPerSheet_.GetCurSel() >= 0 && pagesPerSheet_.SelectedCode() != block.pagesPerSheet())
        block.setPagesPerSheet(static_cast<std::int16_t>(pagesPerSheet_.SelectedCode()));
    ApplyOnePageBorderRule();
    if (block.duplexerInstalled() == 0)
        RemoveBookletEntry();

    const int orientation = block.orientation();
    CheckRadioButton(IDC_ORIENT_PORTRAIT, IDC_ORIENT_ROTATED,
                     orientation == 1   ? IDC_ORIENT_PORTRAIT
                     : orientation == 2 ? IDC_ORIENT_LANDSCAPE
                                        : IDC_ORIENT_ROTATED);

    if (block.duplexerInstalled() == 0) {
        block.setDuplexMode(1);
        CheckRadioButton(IDC_DUPLEX_NONE, IDC_DUPLEX_SHORT_EDGE, IDC_DUPLEX_NONE);
        singleSided_.EnableWindow(false);
        longEdge_.EnableWindow(false);
        shortEdge_.EnableWindow(false);
        RefreshPreview();
        return ui::PropertyPage::OnSetActive();
    }

    singleSided_.EnableWindow(true);
    longEdge_.EnableWindow(true);
    shortEdge_.EnableWindow(true);
    ApplyPpdDuplexConstraints();
    if (block.paperSize() == kCustomPaperSize)
        ForceSingleSided();
    if (block.pagesPerSheet() == kBooklet) {
        // A booklet is folded along the long edge.
        shortEdge_.EnableWindow(false);
        block.setDuplexMode(2);
    }
    const int duplex = block.duplexMode();
    CheckRadioButton(IDC_DUPLEX_NONE, IDC_DUPLEX_SHORT_EDGE,
                     duplex == 1   ? IDC_DUPLEX_NONE
                     : duplex == 2 ? IDC_DUPLEX_LONG_EDGE
                                   : IDC_DUPLEX_SHORT_EDGE);
    RefreshPreview();
    return ui::PropertyPage::OnSetActive();
}

void CLayout::OnDpiChanged() {
    shownPreview_ = 0; // the picture shown was drawn for the old scale
    RefreshPreview();
}

void CLayout::ApplyPpdDuplexConstraints() {
    const app::PrinterSettingsBlock& block = Block();
    const ppd::PpdDocument* document = app::TheApp().ppdDocument;
    if (!document || !ppd::FindFeature(document, "PageSize"))
        return;
    std::string paperText;
    const OptionTextSearch paper = FindOptionTextOfCode(document, "PageSize", app::PaperSizeNames,
                                                        block.paperSize(), paperText);
    if (paper == OptionTextSearch::UnusableOption)
        return;
    // The output bins are walked as well; an unusable bin option ends the PPD's part too.
    std::string binText;
    if (FindOptionTextOfCode(document, "OutputBin", app::OutputBinNames, block.outputBin(),
                             binText) == OptionTextSearch::UnusableOption)
        return;
    if (paper == OptionTextSearch::Found &&
        RulesOutFeature(document, "PageSize", paperText, "Duplex"))
        ForceSingleSided();
    if (!ppd::FindFeature(document, "MediaType"))
        return;
    std::string mediaText;
    const OptionTextSearch media = FindOptionTextOfCode(document, "MediaType", app::MediaTypeNames,
                                                        block.mediaType(), mediaText);
    if (media == OptionTextSearch::Found &&
        RulesOutFeature(document, "MediaType", mediaText, "Duplex"))
        ForceSingleSided();
}

void CLayout::OnPortrait() {
    Block().setOrientation(1);
    RefreshPreview();
}

void CLayout::OnLandscape() {
    Block().setOrientation(2);
    RefreshPreview();
}

void CLayout::OnRotatedLandscape() {
    Block().setOrientation(270);
    RefreshPreview();
}

void CLayout::OnSingleSided() {
    app::PrinterSettingsBlock& block = Block();
    // A booklet needs both sides of the sheet.
    if (block.pagesPerSheet() == kBooklet) {
        block.setPagesPerSheet(2);
        pagesPerSheet_.SelectCode(2);
    }
    block.setDuplexMode(1);
    RefreshPreview();
}

void CLayout::OnLongEdge() {
    Block().setDuplexMode(2);
    RefreshPreview();
}

void CLayout::OnShortEdge() {
    Block().setDuplexMode(3);
    RefreshPreview();
}

void CLayout::OnPagesPerSheetChanged() {
    app::PrinterSettingsBlock& block = Block();
    block.setPagesPerSheet(static_cast<std::int16_t>(pagesPerSheet_.SelectedCode()));
    ApplyOnePageBorderRule();
    RefreshPreview();
    OnSetActive();
}

void CLayout::ApplyOnePageBorderRule() {
    app::PrinterSettingsBlock& block = Block();
    // One page per sheet has no page borders.
    const bool onePage = block.pagesPerSheet() == 1;
    if (onePage)
        block.setPrintPageBorders(0);
    pageBorders_.EnableWindow(!onePage);
    pageBorders_.SetCheck(block.printPageBorders() != 0 ? ui::kChecked : ui::kUnchecked);
}

void CLayout::OnPageBorders() {
    Block().setPrintPageBorders(static_cast<std::int16_t>(pageBorders_.GetCheck()));
    RefreshPreview();
}

void CLayout::RemoveBookletEntry() {
    const char* booklet = app::NameOfCode(app::PagesPerSheetNames, kBooklet);
    if (!booklet)
        return;
    const int found = pagesPerSheet_.FindString(-1, booklet);
    if (found < 0)
        return;
    const int selected = pagesPerSheet_.GetCurSel();
    pagesPerSheet_.DeleteString(found);
    if (found == selected)
        pagesPerSheet_.SetCurSel(0);
    Block().setPagesPerSheet(static_cast<std::int16_t>(pagesPerSheet_.SelectedCode()));
    // A booklet turned into one page per sheet loses its borders too.
    ApplyOnePageBorderRule();
}

void CLayout::ForceSingleSided() {
    Block().setDuplexMode(1);
    longEdge_.EnableWindow(false);
    shortEdge_.EnableWindow(false);
    RemoveBookletEntry();
}

void CLayout::RefreshPreview() {
    const app::PrinterSettingsBlock& block = Block();
    if (!preview_)
        return;
    // The page's initialisation and its first activation both refresh the picture, and most
    // handlers leave it as it was: load and place a bitmap only when it changes.
    const int bitmap =
        PreviewBitmapId(block.orientation(), block.duplexMode(), block.pagesPerSheet());
    if (bitmap == shownPreview_)
        return;
    shownPreview_ = preview_.SetBitmap(bitmap) ? bitmap : 0;
    // Centre the picture in its frame; both sizes are in the screen's pixels, the picture's
    // drawn or multiplied for the screen's scale.
    const ui::Rect frame = ScreenToClient(previewGroup_.GetWindowRect());
    ui::Size size = preview_.GetBitmapSize();
    if (size.cx == 0 || size.cy == 0) {
        const ui::Rect own = preview_.GetWindowRect();
        size = {own.Width(), own.Height()};
    }
    preview_.MoveWindow(frame.left + (frame.Width() - size.cx) / 2,
                        frame.top + (frame.Height() - size.cy) / 2, size.cx, size.cy);
}

} // namespace pages
