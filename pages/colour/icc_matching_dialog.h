#pragma once
// The ICC matching dialog ("Nastaviť súlad farieb IC+F250C", the caption as stored), opened from
// the colour options dialog: the RGB source, simulation and destination profiles, each a PPD
// option ("RGBSource", "ColorSimul", "DestinationProfile") or a printer-resident profile of its
// kind. Each list's "Správa profilov" opens the profile management dialog for its kind;
// "Správca načítania" starts the download manager for colour profiles.
//
// A choice is written at once (code, and the resident name for a resident profile) and stays
// after Cancel. OK stores the three selected codes; a list without a selection keeps the
// block's code, but without a "DestinationProfile" feature OK stores -1 as the destination.
#include "app/option_combo_box.h"
#include "res/resource.h"
#include "ui/dialog.h"

namespace pages {

// One of the dialog's three lists (defined with the dialog).
struct IccProfileList;

class IccMatchingDialog : public ui::Dialog {
public:
    enum { IDD = IDD_ICC_MATCHING };
    explicit IccMatchingDialog(const ui::Window* parent = nullptr) : ui::Dialog(IDD, parent) {}

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    ui::MessageMap GetMessageMap() const override;

private:
    const app::OptionComboBox& Combo(const IccProfileList& list) const;
    void FillList(const IccProfileList& list);
    // Takes the list's choice into the block: its code, and for a resident profile its name.
    void TakeChoice(const IccProfileList& list);

    void OnChoice(int id);
    void OnManageProfiles(int id);
    void OnDownloadManager();
    void OnHelp();

    app::OptionComboBox rgbSource_;
    app::OptionComboBox simulation_;
    app::OptionComboBox destination_;
    bool hasDestinationFeature_ = false;
};

} // namespace pages
