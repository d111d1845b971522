#pragma once
// The halftone dialog ("Nastaviť spracovanie poltónov"), opened from the graphics options
// dialog: a halftone of the PPD's "HalftoneType" for images, text and graphics each. It reads
// the block when it opens and writes the three fields only on OK; they stay written even when
// the graphics options dialog is then cancelled.
#include "app/option_combo_box.h"
#include "res/resource.h"
#include "ui/dialog.h"

namespace pages {

class CHalftoneDialog : public ui::Dialog {
public:
    enum { IDD = IDD_HALFTONE };
    explicit CHalftoneDialog(const ui::Window* parent = nullptr) : ui::Dialog(IDD, parent) {}

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    ui::MessageMap GetMessageMap() const override;

private:
    void OnHelp();

    app::OptionComboBox image_;
    app::OptionComboBox text_;
    app::OptionComboBox graphics_;
};

} // namespace pages
