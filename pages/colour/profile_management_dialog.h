#pragma once
// The profile management dialog ("Správa profilov"), opened from the ICC matching dialog for one
// of its lists: adds a printer-resident profile of the list's kind (a description and the 8.3
// name of the file loaded into the printer) or deletes one. Changes go to the registry at once
// and, once the registry has taken them, to the lists (a refused write or delete is silent and
// changes no list); "Hotové" only closes the dialog.
#include <string>

#include "app/option_combo_box.h"
#include "res/resource.h"
#include "ui/dialog.h"

namespace pages {

// Messages (code page 1250); all but the first have the caption "Error".
inline constexpr char kDosFileNameText[] = "N\xE1zov na\xE8\xEDtan\xE9ho s\xFA"
                                           "boru mus\xED zodpoveda\x9D konvenci\xE1m DOS (8.3).\n"
                                           " Zadajte ho znovu... ";
inline constexpr char kDuplicateDescriptionText[] = "Ned\xE1 sa prida\x9D duplicitn\xFD popis "
                                                    "profilov";
inline constexpr char kMissingDescriptionOrFileText[] =
    "Popis profilu a n\xE1zov suboru mus\xED by\x9D \x9Apecifikovan\xFD";
inline constexpr char kMissingDescriptionText[] = "Popis profilu mus\xED by\x9D "
                                                  "\x9Apecifikovan\xFD";
inline constexpr char kUnknownDescriptionText[] = "N\xE1zov s\xFA"
                                                  "boru s profilom neexistuje.";
inline constexpr char kErrorCaption[] = "Error";

// The longest description typed: it must fit the block's name fields (63 characters).
inline constexpr int kResidentDescriptionLength = 63;
// The longest file name typed (an 8.3 name).
inline constexpr std::size_t kResidentFileNameLength = 12;

class ProfileManagementDialog : public ui::Dialog {
public:
    enum { IDD = IDD_PROFILE_MANAGEMENT };
    // `callerList` is the ICC dialog's list of the same `kind` (108 RGB source, 125
    // simulation, 144 destination); it must outlive the dialog.
    ProfileManagementDialog(const app::OptionComboBox& callerList, int kind,
                            const ui::Window* parent = nullptr)
        : ui::Dialog(IDD, parent), callerList_(callerList), kind_(kind) {}

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    ui::MessageMap GetMessageMap() const override;

private:
    // Shows the file name of the description list's selected profile (empty without one).
    void ShowSelectedFileName();

    void OnDescriptionChosen();
    void OnAdd();
    void OnDelete();
    void OnHelp();

    const app::OptionComboBox& callerList_;
    int kind_;
    ui::ComboBox descriptions_;
    std::string fileName_;
};

} // namespace pages
