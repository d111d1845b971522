#include "pages/colour/profile_management_dialog.h"

#include "app/config_app.h"
#include "app/settings_block.h"
#include "app/text_helpers.h"
#include "pages/colour/list_entries.h"
#include "pages/colour/resident_profile_store.h"
#include "ui/data_exchange.h"
#include "ui/services.h"

namespace pages {
namespace {

// What the block falls back to when the selected resident profile of a kind is deleted.
struct KindFallback {
    int kind;
    std::int16_t code;
    void (app::PrinterSettingsBlock::*set)(std::int16_t);
};

constexpr KindFallback kFallbacks[] = {
    {kResidentRgbSource, 101, &app::PrinterSettingsBlock::setRgbSource},
    {kResidentSimulation, 119, &app::PrinterSettingsBlock::setColorSimulation},
    {kResidentDestination, 143, &app::PrinterSettingsBlock::setDestinationProfile},
};

} // namespace

void ProfileManagementDialog::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_PROFILE_DESCRIPTION, descriptions_);
    dx.Text(IDC_PROFILE_FILE_NAME, fileName_, kResidentFileNameLength);
}

ui::MessageMap ProfileManagementDialog::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnChoice(IDC_PROFILE_DESCRIPTION, &ProfileManagementDialog::OnDescriptionChosen),
        ui::OnClicked(IDC_PROFILE_ADD, &ProfileManagementDialog::OnAdd),
        ui::OnClicked(IDC_PROFILE_DELETE, &ProfileManagementDialog::OnDelete),
        ui::OnClicked(IDC_PROFILE_HELP, &ProfileManagementDialog::OnHelp),
    };
    return entries;
}

bool ProfileManagementDialog::OnInitDialog() {
    fileName_.clear();
    ui::Dialog::OnInitDialog();
    ui::SetContextHelpIds(*this,
                          {IDD_PROFILE_MANAGEMENT, IDC_PROFILE_DESCRIPTION, IDC_PROFILE_FILE_NAME,
                           IDC_PROFILE_ADD, IDC_PROFILE_DELETE, IDC_PROFILE_HELP});
    descriptions_.LimitText(kResidentDescriptionLength);
    ListResidentProfiles(descriptions_, kind_);
    if (descriptions_.GetCount() > 0) {
        descriptions_.SetCurSel(0);
        ShowSelectedFileName();
    }
    return true;
}

void ProfileManagementDialog::ShowSelectedFileName() {
    const int selected = descriptions_.GetCurSel();
    if (selected < 0) {
        SetDlgItemText(IDC_PROFILE_FILE_NAME, "");
        return;
    }
    if (const auto record = FindResidentProfile(descriptions_.GetItemText(selected), kind_))
        SetDlgItemText(IDC_PROFILE_FILE_NAME, record->fileName());
}

void ProfileManagementDialog::OnDescriptionChosen() {
    if (descriptions_.GetCount() > 0 && descriptions_.GetCurSel() >= 0)
        ShowSelectedFileName();
}

void ProfileManagementDialog::OnAdd() {
    const std::string fileName = GetDlgItemText(IDC_PROFILE_FILE_NAME);
    const std::string description = descriptions_.GetWindowText();
    if (!app::IsDosFileName(fileName)) {
        MessageBox(kDosFileNameText, ui::kMbOk | ui::kMbTaskModal);
        GotoDlgCtrl(IDC_PROFILE_FILE_NAME);
        return;
    }
    if (fileName.empty() || description.empty()) {
        MessageBox(kMissingDescriptionOrFileText, ui::kMbOk, kErrorCaption);
        return;
    }
    // A profile hidden from the list (kept on a disk that is not installed) is a duplicate too:
    // storing it again would overwrite it unasked.
    if (descriptions_.FindStringExact(-1, description) >= 0 ||
        ResidentProfileExists(description, kind_)) {
        MessageBox(kDuplicateDescriptionText, ui::kMbOk, kErrorCaption);
        return;
    }
    ResidentProfileRecord record;
    record.setName(description);
    record.setFileName(fileName);
    // A profile the registry refused is not listed as if it were stored; the failure itself
    // stays silent.
    if (!StoreResidentProfile(record, kind_))
        return;
    const int entry = callerList_.AddString(description);
    if (entry >= 0)
        callerList_.SetItemData(entry, kind_);
    descriptions_.AddString(description);
}

void ProfileManagementDialog::OnDelete() {
    const std::string description = descriptions_.GetWindowText();
    if (description.empty()) {
        MessageBox(kMissingDescriptionText, ui::kMbOk, kErrorCaption);
        return;
    }
    if (descriptions_.FindStringExact(-1, description) < 0) {
        MessageBox(kUnknownDescriptionText, ui::kMbOk, kErrorCaption);
        return;
    }
    const std::optional<std::string> deleted = DeleteResidentProfile(descriptions_, kind_);
    if (deleted) {
        const int selected = callerList_.GetCurSel();
        const int position = FindEntryWithCode(callerList_, *deleted, kind_);
        if (position >= 0) {
            callerList_.DeleteString(position);
            // Only the deletion of the chosen profile changes the choice.
            if (position == selected) {
                if (callerList_.GetCount() > 0)
                    callerList_.SetCurSel(0);
                for (const KindFallback& fallback : kFallbacks) {
                    if (fallback.kind != kind_)
                        continue;
                    (app::TheApp().settings.*fallback.set)(fallback.code);
                    callerList_.SelectCode(fallback.code);
                }
            }
        }
    }
    if (descriptions_.GetCount() == 0) {
        descriptions_.SetWindowText("");
        SetDlgItemText(IDC_PROFILE_FILE_NAME, "");
        return;
    }
    ShowSelectedFileName();
}

void ProfileManagementDialog::OnHelp() {
    ui::ShowHelpTopic(IDD_PROFILE_MANAGEMENT);
}

} // namespace pages
