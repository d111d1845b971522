#pragma once
// The CRD matching dialog ("Nastaviť súlad farieb CRD"), opened from the colour options dialog:
// the colour rendering dictionary for the job and for images, text and graphics (the PPD's
// "ColorRenderDict" options), and the CRD colour space (the PPD's "CRDColSpc" options and the
// printer-resident CSA profiles).
//
// A colour space chosen is written at once and stays after Cancel; the four rendering
// dictionaries are written by OK only. A list without a selection keeps the block's code, but
// for a printer-resident colour space whose name is no longer listed: OK then stores -1. A
// resident colour space whose name is longer than `crdColorSpaceName` holds is listed, but
// choosing it is refused with a message and the choice before it stays.
#include "app/option_combo_box.h"
#include "pages/colour/list_entries.h"
#include "res/resource.h"
#include "ui/dialog.h"

namespace pages {

class CrdMatchingDialog : public ui::Dialog {
public:
    enum { IDD = IDD_CRD_MATCHING };
    explicit CrdMatchingDialog(const ui::Window* parent = nullptr) : ui::Dialog(IDD, parent) {}

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    ui::MessageMap GetMessageMap() const override;

private:
    void OnColorSpaceChosen();
    void OnHelp();

    app::OptionComboBox defaultCrd_;
    app::OptionComboBox imageCrd_;
    app::OptionComboBox textCrd_;
    app::OptionComboBox graphicsCrd_;
    app::OptionComboBox colorSpace_;
    // The colour space the block holds, as the list last showed it.
    HeldChoice heldColorSpace_;
};

} // namespace pages
