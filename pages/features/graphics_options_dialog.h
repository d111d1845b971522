#pragma once
// The graphics options dialog ("Voľby grafiky"), opened from the Features page: the job's
// halftone ("HalftoneType"), the print quality ("PrintQuality"), toner saving, negative and
// mirror image and the page's rotation, and the halftone dialog for images, text and graphics.
//
// It reads the block when it opens and writes its fields on OK, except two corrections made
// at once: a colour printer prints a negative image only with a grey profile (`invertImage`
// is cleared otherwise), and toner saving is locked, and cleared, when the current resolution
// rules it out. The box shows the block's value whenever the PPD cannot tell, so that OK never
// switches toner saving off on its own. The Features page puts `tonerSaving`, `invertImage`,
// `mirrorImage` and `rotation` back when the dialog ends otherwise.
#include "app/option_combo_box.h"
#include "res/resource.h"
#include "ui/dialog.h"

namespace pages {

// Rotation buttons, in the order of the block's `rotation` codes 0 to 3 (0, 90, 180, 270°).
inline constexpr int kRotationButtons[] = {IDC_ROTATE_0, IDC_ROTATE_90, IDC_ROTATE_180,
                                           IDC_ROTATE_270};

class CGraphicsOptionsDialog : public ui::Dialog {
public:
    enum { IDD = IDD_GRAPHICS_OPTIONS };
    explicit CGraphicsOptionsDialog(const ui::Window* parent = nullptr) : ui::Dialog(IDD, parent) {}

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    ui::MessageMap GetMessageMap() const override;

private:
    void OnRotation(int id);
    void OnElementHalftones();
    void OnHelp();
    // The toner-saving box from the PPD's "MiserMode" and the current resolution.
    void ShowTonerSaving();

    app::OptionComboBox halftone_;
    app::OptionComboBox printQuality_;
    // The rotation code of the checked button; the block's code while none was clicked.
    int rotation_ = 0;
};

} // namespace pages
