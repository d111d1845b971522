#pragma once
// The Features page ("Funkcie"): the printer resolution from the PPD's "Resolution" and the
// quick colour setting (the colour profiles), and the buttons of four dialogs: graphics
// options, colour options, PostScript options and document options.
//
// Each time the page becomes current it refills both lists from the block. The resolution
// list leaves out what the current toner-saving choice rules out; when that removes the
// block's resolution, the block takes the one the list shows. A choice in either list is
// written at once; a colour profile is applied only when the quick colour list's selection
// changes (a list opened and closed on the entry it showed is no choice). A stored profile the
// block names is loaded from the registry whenever the page becomes current. Leaving the page
// switches toner saving off when the chosen resolution rules it out. Around each dialog the page
// copies the fields the dialog writes as the user works and puts them back when it ends otherwise
// than with OK.
#include "app/option_combo_box.h"
#include "res/resource.h"
#include "ui/dialog.h"

namespace pages {

class CFeatures : public ui::PropertyPage {
public:
    enum { IDD = IDD_FEATURES };
    CFeatures() : ui::PropertyPage(IDD) {}

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    ui::MessageMap GetMessageMap() const override;

private:
    void OnColorOptions();
    void OnGraphicsOptions();
    void OnPostScriptOptions();
    void OnDocumentOptions();
    void OnResolutionChosen();
    void OnQuickColorChosen();
    // Fills the lists and shows the buttons from the block and the PPD.
    void ShowSettings();
    void ShowResolutions();

    app::OptionComboBox quickColor_;
    app::OptionComboBox resolution_;
};

} // namespace pages
