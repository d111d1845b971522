#include "pages/features/document_options_dialog.h"

#include <cstdint>

#include "app/config_app.h"
#include "app/numeric_check.h"
#include "app/settings_block.h"
#include "app/text_helpers.h"
#include "pages/features/number_entry.h"
#include "pages/shared/out_of_range_message.h"
#include "ui/data_exchange.h"
#include "ui/services.h"

namespace pages {
namespace {

// Room of the block's texts and of the number edits.
constexpr std::size_t kTextLength = 63;
constexpr std::size_t kNumberLength = 3;

app::PrinterSettingsBlock& Block() {
    return app::TheApp().settings;
}

int CheckState(int value) {
    return value != 0 ? ui::kChecked : ui::kUnchecked;
}

} // namespace

CDocumentOptionsDialog::CDocumentOptionsDialog(const ui::Window* parent)
    : ui::Dialog(IDD, parent), email_(Block().emailAddress()), fileName_(Block().reprintName()) {}

void CDocumentOptionsDialog::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_DOC_COPIES_SPIN, copiesSpin_);
    dx.Text(IDC_DOC_EMAIL_ADDRESS, email_, kTextLength);
    dx.Text(IDC_DOC_REPRINT_NAME, fileName_, kTextLength);
    dx.Text(IDC_DOC_SCALE, scale_, kNumberLength);
    dx.Text(IDC_DOC_COPIES, copies_, kNumberLength);
}

ui::MessageMap CDocumentOptionsDialog::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnClicked(IDC_DOC_NOTIFY_EMAIL, &CDocumentOptionsDialog::OnNotifyByEmail),
        ui::OnClicked(IDC_DOC_REPRINT, &CDocumentOptionsDialog::OnReprint),
        ui::OnClicked(IDC_DOC_COLLATE, &CDocumentOptionsDialog::OnCollate),
        ui::OnClicked(IDC_DOC_NO_COLLATE, &CDocumentOptionsDialog::OnNoCollate),
        ui::OnClicked(IDC_DOC_HELP, &CDocumentOptionsDialog::OnHelp),
        ui::OnEditChange(IDC_DOC_SCALE, &CDocumentOptionsDialog::OnScaleChanged),
        ui::OnEditChange(IDC_DOC_COPIES, &CDocumentOptionsDialog::OnCopiesChanged),
    };
    return entries;
}

bool CDocumentOptionsDialog::OnInitDialog() {
    app::PrinterSettingsBlock& block = Block();
    initialised_ = false;
    copies_ = std::to_string(block.copies());
    scale_ = std::to_string(block.scale());
    ui::Dialog::OnInitDialog();
    ui::SetContextHelpIds(*this, {IDD_DOCUMENT_OPTIONS, IDC_DOC_COLLATE, IDC_DOC_NO_COLLATE,
                                  IDC_DOC_COPIES, IDC_DOC_COPIES_SPIN, IDC_DOC_SCALE,
                                  IDC_DOC_REPRINT, IDC_DOC_REPRINT_NAME, IDC_DOC_NOTIFY_EMAIL,
                                  IDC_DOC_EMAIL_ADDRESS, IDC_DOC_HELP});
    CheckDlgButton(IDC_DOC_REPRINT, CheckState(block.reprintEnabled()));
    CheckDlgButton(IDC_DOC_NOTIFY_EMAIL, CheckState(block.notifyByEmail()));
    if (block.diskInstalled() == 0) {
        // Without the disk there is nowhere to keep the job: unchecked, so OK cannot store it.
        block.setReprintEnabled(0);
        CheckDlgButton(IDC_DOC_REPRINT, ui::kUnchecked);
        GetDlgItem(IDC_DOC_REPRINT).EnableWindow(false);
    }
    GetDlgItem(IDC_DOC_REPRINT_NAME).EnableWindow(block.reprintEnabled() != 0);
    GetDlgItem(IDC_DOC_EMAIL_ADDRESS).EnableWindow(block.notifyByEmail() != 0);
    CheckRadioButton(IDC_DOC_COLLATE, IDC_DOC_NO_COLLATE,
                     block.collate() == 1 ? IDC_DOC_COLLATE : IDC_DOC_NO_COLLATE);
    copiesSpin_.SetRange(kMinCopies, kMaxCopies);
    copiesSpin_.SetAccel({ui::SpinAccel{0, 1}});
    initialised_ = true;
    return true;
}

void CDocumentOptionsDialog::OnCollate() {
    Block().setCollate(1);
}

void CDocumentOptionsDialog::OnNoCollate() {
    Block().setCollate(0);
}

void CDocumentOptionsDialog::OnReprint() {
    const bool checked = IsDlgButtonChecked(IDC_DOC_REPRINT) == ui::kChecked;
    Block().setReprintEnabled(checked ? 1 : 0);
    GetDlgItem(IDC_DOC_REPRINT_NAME).EnableWindow(checked);
}

void CDocumentOptionsDialog::OnNotifyByEmail() {
    const bool checked = IsDlgButtonChecked(IDC_DOC_NOTIFY_EMAIL) == ui::kChecked;
    Block().setNotifyByEmail(checked ? 1 : 0);
    GetDlgItem(IDC_DOC_EMAIL_ADDRESS).EnableWindow(checked);
}

void CDocumentOptionsDialog::RefuseNumber(int id, int low, int high) {
    MessageBox(OutOfRangeMessage(low, high), ui::kMbOk | ui::kMbTaskModal);
    GotoDlgCtrl(id);
}

// Texts too short to be a whole number of the range are not checked yet: "1" on the way to
// "100" passes.
void CDocumentOptionsDialog::OnScaleChanged() {
    if (!initialised_)
        return;
    const std::string text = GetDlgItemText(IDC_DOC_SCALE);
    const long long scale = TypedNumber(text);
    if ((scale < kMinScale || scale > kMaxScale) && text.size() > 2)
        RefuseNumber(IDC_DOC_SCALE, kMinScale, kMaxScale);
}

void CDocumentOptionsDialog::OnCopiesChanged() {
    if (!initialised_)
        return;
    const std::string text = GetDlgItemText(IDC_DOC_COPIES);
    const long long copies = TypedNumber(text);
    if ((copies < kMinCopies || copies > kMaxCopies) && text.size() > 1)
        RefuseNumber(IDC_DOC_COPIES, kMinCopies, kMaxCopies);
}

bool CDocumentOptionsDialog::ReadNumber(int id, int low, int high, long long& number) {
    const std::string text = GetDlgItemText(id);
    // A text with other characters has had its own message; the range message follows.
    if (app::CheckNumericTextWithMessage(text, app::kIntegerText)) {
        number = TypedNumber(text);
        if (number >= low && number <= high)
            return true;
    }
    RefuseNumber(id, low, high);
    return false;
}

void CDocumentOptionsDialog::OnOK() {
    long long copies = 0;
    long long scale = 0;
    if (!ReadNumber(IDC_DOC_COPIES, kMinCopies, kMaxCopies, copies) ||
        !ReadNumber(IDC_DOC_SCALE, kMinScale, kMaxScale, scale) || !UpdateData(true))
        return;
    app::PrinterSettingsBlock& block = Block();
    // The collation as the radio buttons show it, also where the block held another value.
    block.setCollate(
        static_cast<std::int16_t>(IsDlgButtonChecked(IDC_DOC_COLLATE) == ui::kChecked));
    block.setReprintEnabled(
        static_cast<std::int16_t>(IsDlgButtonChecked(IDC_DOC_REPRINT) == ui::kChecked));
    block.setNotifyByEmail(
        static_cast<std::int16_t>(IsDlgButtonChecked(IDC_DOC_NOTIFY_EMAIL) == ui::kChecked));
    block.setCopies(static_cast<std::int16_t>(copies));
    block.setScale(static_cast<std::int16_t>(scale));
    // The edits hold at most what the fields hold; the setters bound and terminate whatever.
    block.setReprintName(fileName_);
    block.setEmailAddress(email_);
    EndDialog(ui::kIdOk);
}

void CDocumentOptionsDialog::OnHelp() {
    ui::ShowHelpTopic(IDD_DOCUMENT_OPTIONS);
}

} // namespace pages
