#pragma once
// The colour options dialog ("Voľby pre farby"), opened from the Features page's colour button:
// a summary of the current colour settings, the profile list (predefined and stored profiles)
// with Save, Delete and Default, colour separation, and ICC or CRD matching with their own
// dialogs for the details.
//
// It edits the live block as the user works (selections, check boxes and the matching dialogs
// write at once) and Cancel undoes none of it: the opener restores `colorProfileName` and
// `colorProfileIndex` itself. OK stores settings that differ from the profile last selected,
// loaded or saved as the stored profile "Vlastné". Stored profiles are written and deleted in
// the registry as the user saves and deletes them; a profile is listed, chosen and named in the
// block only once the registry has taken it, and a refused write is told to the user.
#include <cstddef>
#include <string>
#include <string_view>

#include "app/option_combo_box.h"
#include "app/settings_block.h"
#include "pages/colour/list_entries.h"
#include "res/resource.h"
#include "ui/dialog.h"

namespace pages {

// The messages of Save (code page 1250).
inline constexpr char kColorProfileNameCaption[] = "Chybn\xFD n\xE1zov profilu farieb";
inline constexpr char kPredefinedProfileNameText[] = "Ned\xE1 sa prep\xEDsa\x9D "
                                                     "preddefinovan\xFD n\xE1zov Tintra";
inline constexpr char kEmptyProfileNameText[] = "Profil s nevyplnen\xFDm n\xE1zvom sa ned\xE1 "
                                                "ulo\x9Ei\x9D";
inline constexpr char kBackslashProfileNameText[] =
    "N\xE1zov farebn\xE9ho profilu, ktor\xFD za\xE8\xEDna sp\xE4tn\xFDm lom\xEDtkom (\\) sa "
    "ned\xE1+F229 ulo\x9Ei\x9D.";
inline constexpr char kOverwriteProfileCaption[] = "Prep\xEDsa\x9D farebn\xFD profil?";
// Shown when the registry refuses a stored profile (Save, or OK's "Vlastné").
inline constexpr char kColorProfileNotStoredText[] =
    "Farebn\xFD profil sa ned\xE1 ulo\x9Ei\x9D do registra.";
// A saved profile name is cut to this many characters.
inline constexpr std::size_t kSavedProfileNameLength = 32;

// "\"NAME\"already exists. Overwrite it?" (no blank after the closing quote).
std::string OverwriteProfileQuestion(std::string_view name);

// A summary line's value: empty values show as "Žiadny".
std::string SummaryValue(std::string_view value);

class ColorOptionsDialog : public ui::Dialog {
public:
    enum { IDD = IDD_COLOR_OPTIONS };
    // Works on the application's live block, PPD model and registry; `parent` owns the dialog
    // while it runs (null: the innermost running dialog or sheet).
    explicit ColorOptionsDialog(const ui::Window* parent = nullptr) : ui::Dialog(IDD, parent) {}

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    ui::MessageMap GetMessageMap() const override;

private:
    // Applies or loads the current profile and shows it: check boxes, summary, Delete button,
    // and "Separácia farieb" only for colour profiles.
    void ShowCurrentProfile();
    // The block's check boxes and the summary.
    void ShowSettings();
    void RefreshSummary();
    void FillResidentLists();
    void UpdateDeleteButton();
    void TakeSnapshot();
    // The block's colour fields as the stored profile `name` (index 0).
    app::ColorProfileRecord StoredRecordOf(std::string_view name) const;
    // Names the stored profile `name`, just written as `record`, in the block and snapshot.
    void TakeStoredProfile(std::string_view name, const app::ColorProfileRecord& record);

    void OnProfileChosen();
    void OnSave();
    void OnDelete();
    void OnDefault();
    void OnSeparation();
    void OnIccMatching();
    void OnCrdMatching();
    void OnConfigureIcc();
    void OnConfigureCrd();
    void OnHelp();

    app::OptionComboBox profiles_;
    ui::ComboBox residentRgbSources_;
    ui::ComboBox residentSimulations_;
    ui::ComboBox residentDestinations_;
    // The colour fields when the current profile was last selected, loaded or saved.
    app::ColorProfileRecord snapshot_;
};

} // namespace pages
