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
// A resident profile whose name is longer than the block's name field holds is listed, but
// choosing it is refused with a message and the choice before it stays.
#include <string_view>

#include "app/option_combo_box.h"
#include "pages/colour/list_entries.h"
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
    // The list's choice that the block holds, as the list last showed it.
    HeldChoice& Held(const IccProfileList& list);
    void FillList(const IccProfileList& list);
    // Takes the list's choice into the block: its code, and for a resident profile its name.
    void TakeChoice(const IccProfileList& list);
    // For a resident profile `name` too long for the block: the message, the choice before it
    // selected again, and true.
    bool RefuseLongName(const IccProfileList& list, std::string_view name);

    void OnChoice(int id);
    void OnManageProfiles(int id);
    void OnDownloadManager();
    void OnHelp();

    app::OptionComboBox rgbSource_;
    app::OptionComboBox simulation_;
    app::OptionComboBox destination_;
    HeldChoice heldRgbSource_;
    HeldChoice heldSimulation_;
    HeldChoice heldDestination_;
    bool hasDestinationFeature_ = false;
};

} // namespace pages
