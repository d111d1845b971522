#pragma once
// The Layout page ("Rozvrhnutie"): orientation, duplex mode, pages per sheet (booklet
// included) and page borders of the live settings block, with a picture of the resulting
// sheet. Every handler writes its field at once and shows it; the page has no OK or Cancel
// logic. Each activation shows the block's layout whatever the PPD offers; the PPD's
// constraints against duplex printing apply where the PPD names the block's paper and media.
#include "app/option_combo_box.h"
#include "res/resource.h"
#include "ui/dialog.h"

namespace pages {

// The preview bitmap for the block's orientation (1 portrait, any other value landscape),
// duplex mode (1 single-sided, 2 long edge, any other value short edge) and pages per sheet.
// A count outside 1, 2, 4, 6, 9, 16 and 99 shows the plain page of the orientation.
int PreviewBitmapId(int orientation, int duplexMode, int pagesPerSheet);

class CLayout : public ui::PropertyPage {
public:
    enum { IDD = IDD_LAYOUT };
    CLayout() : ui::PropertyPage(IDD) {}

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    bool OnSetActive() override;
    // On a screen of another scale the picture is loaded again for it and centred anew.
    void OnDpiChanged() override;
    ui::MessageMap GetMessageMap() const override;

private:
    void OnPortrait();
    void OnLandscape();
    void OnRotatedLandscape();
    void OnSingleSided();
    void OnLongEdge();
    void OnShortEdge();
    void OnPagesPerSheetChanged();
    void OnPageBorders();

    // Deletes the booklet entry from the list, if it is there, and takes the code of the entry
    // then selected.
    void RemoveBookletEntry();
    // One page per sheet: borders off, unchecked and disabled; more pages enable the box.
    void ApplyOnePageBorderRule();
    // Single-sided printing is forced: duplex mode 1, the duplex radios but the first
    // disabled, no booklet.
    void ForceSingleSided();
    // Forces single-sided printing where the PPD's constraints rule duplex out for the block's
    // paper or media; nothing when the PPD lacks the paper sizes or one of its paper, media or
    // output-bin options has no keyword or display text.
    void ApplyPpdDuplexConstraints();
    // Shows the picture of the block's layout, centred in the preview frame; a picture already
    // shown is not loaded again.
    void RefreshPreview();

    ui::Button singleSided_;
    ui::Button longEdge_;
    ui::Button shortEdge_;
    ui::Button pageBorders_;
    app::OptionComboBox pagesPerSheet_;
    ui::Window orientationGroup_;
    ui::Window previewGroup_;
    ui::Static preview_;
    int shownPreview_ = 0; // the bitmap the page put into the picture, 0 before it put any
};

} // namespace pages
