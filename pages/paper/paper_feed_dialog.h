#pragma once
// The advanced paper feed dialog ("Rozšírené možnosti podávania papiera"): banner and trailer
// pages and the first page, each fed from its own source, and whether the multipurpose tray's
// settings are overridden. The sources offered are the PPD's input slots minus those the
// chosen paper size and the installed equipment rule out. The block is written only on OK.
#include "app/option_combo_box.h"
#include "res/resource.h"
#include "ui/dialog.h"

namespace pages {

class CAdvancedFeedDialog : public ui::Dialog {
public:
    enum { IDD = IDD_ADVANCED_FEED };
    explicit CAdvancedFeedDialog(const ui::Window* parent = nullptr) : ui::Dialog(IDD, parent) {}

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    ui::MessageMap GetMessageMap() const override;

private:
    void OnSpecialPage(int id);
    void OnHelp();

    app::OptionComboBox bannerSource_;
    app::OptionComboBox firstPageSource_;
    app::OptionComboBox trailerSource_;
    int overrideTray_ = 0;
};

} // namespace pages
