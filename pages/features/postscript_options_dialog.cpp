#include "pages/features/postscript_options_dialog.h"

#include <cstdint>

#include "app/config_app.h"
#include "app/numeric_check.h"
#include "app/option_tables.h"
#include "app/settings_block.h"
#include "app/text_helpers.h"
#include "pages/features/number_entry.h"
#include "pages/shared/out_of_range_message.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "ui/data_exchange.h"
#include "ui/services.h"

namespace pages {
namespace {

app::PrinterSettingsBlock& Block() {
    return app::TheApp().settings;
}

int CheckState(int value) {
    return value != 0 ? ui::kChecked : ui::kUnchecked;
}

} // namespace

std::optional<std::string> HeaderPathThatFits(std::string_view path, platform::FileSystem& files) {
    if (path.size() <= kHeaderPathLength)
        return std::string(path);
    std::optional<std::string> shortForm = files.ShortForm(path);
    if (shortForm && !shortForm->empty() && shortForm->size() <= kHeaderPathLength)
        return shortForm;
    return std::nullopt;
}

CPostScriptOptionsDialog::CPostScriptOptionsDialog(const ui::Window* parent)
    : ui::Dialog(IDD, parent), headerPath_(Block().externalHeaderPath()),
      timeout_(Block().jobWaitTimeout()) {}

void CPostScriptOptionsDialog::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_PS_EOD_MODE, endOfDoc_);
    dx.Control(IDC_PS_CTRLD_POSITION, ctrlD_);
    dx.Int(IDC_PS_JOB_TIMEOUT, timeout_, kMinJobWaitTimeout, kMaxJobWaitTimeout);
    dx.Text(IDC_PS_HEADER_PATH, headerPath_, kHeaderPathLength);
}

ui::MessageMap CPostScriptOptionsDialog::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnClicked(IDC_PS_HEADER_BROWSE, &CPostScriptOptionsDialog::OnBrowse),
        ui::OnClicked(IDC_PS_USE_HEADER, &CPostScriptOptionsDialog::OnUseHeader),
        ui::OnClicked(IDC_PS_HELP, &CPostScriptOptionsDialog::OnHelp),
        ui::OnEditChange(IDC_PS_JOB_TIMEOUT, &CPostScriptOptionsDialog::OnTimeoutChanged),
    };
    return entries;
}

bool CPostScriptOptionsDialog::OnInitDialog() {
    initialised_ = false;
    ui::Dialog::OnInitDialog();
    initialised_ = true;
    ui::SetContextHelpIds(*this, {IDD_POSTSCRIPT_OPTIONS, IDC_PS_USE_DSC, IDC_PS_ALLOW_EMULATION,
                                  IDC_PS_PRINT_ERRORS, IDC_PS_USE_HEADER, IDC_PS_HEADER_PATH,
                                  IDC_PS_HEADER_BROWSE, IDC_PS_EOD_MODE, IDC_PS_CTRLD_POSITION,
                                  IDC_PS_JOB_TIMEOUT, IDC_PS_HELP});
    app::PrinterSettingsBlock& block = Block();
    // Neither is the user's choice: both stay unchecked, and OK stores 0.
    for (const int id : {IDC_PS_USE_DSC, IDC_PS_ALLOW_EMULATION}) {
        CheckDlgButton(id, ui::kUnchecked);
        GetDlgItem(id).EnableWindow(false);
    }
    CheckDlgButton(IDC_PS_PRINT_ERRORS, CheckState(block.printErrorInfo()));
    CheckDlgButton(IDC_PS_USE_HEADER, CheckState(block.useExternalHeader()));
    endOfDoc_.FillFromFeature("EndOfDocType", app::EndOfDocumentNames, block.endOfDocType());
    ctrlD_.FillFromTable(app::CtrlDPlacementNames, block.ctrlDPlacement());
    OnUseHeader();
    return true;
}

void CPostScriptOptionsDialog::EnableHeader(bool enable) {
    GetDlgItem(IDC_PS_HEADER_PATH).EnableWindow(enable);
    GetDlgItem(IDC_PS_HEADER_BROWSE).EnableWindow(enable);
}

void CPostScriptOptionsDialog::OnUseHeader() {
    const bool checked = IsDlgButtonChecked(IDC_PS_USE_HEADER) == ui::kChecked;
    Block().setUseExternalHeader(checked ? 1 : 0);
    EnableHeader(checked);
}

void CPostScriptOptionsDialog::OnBrowse() {
    GotoDlgCtrl(IDC_PS_HEADER_BROWSE);
    ui::OpenFileRequest request;
    request.pathMustExist = true;
    request.fileMustExist = true;
    request.noLongNames = true;
    const std::optional<std::string> chosen =
        ui::ShowOpenFileDialog(request, ui::Window(GetHandle()));
    if (!chosen)
        return;
    const std::optional<std::string> path = HeaderPathThatFits(*chosen, platform::files());
    if (!path) {
        // The field keeps what it had: a cut path would name another file.
        MessageBox(kHeaderPathTooLongMessage, ui::kMbOk | ui::kMbIconWarning | ui::kMbTaskModal);
        return;
    }
    Block().setExternalHeaderPath(*path);
    headerPath_ = *path;
    SetDlgItemText(IDC_PS_HEADER_PATH, *path);
}

void CPostScriptOptionsDialog::RefuseTimeout() {
    MessageBox(OutOfRangeMessage(kMinJobWaitTimeout, kMaxJobWaitTimeout),
               ui::kMbOk | ui::kMbTaskModal);
    GotoDlgCtrl(IDC_PS_JOB_TIMEOUT);
}

// Checked as it is typed, so that clearing the field already raises the message; not while
// the user is on the way out through "Zrušiť".
void CPostScriptOptionsDialog::OnTimeoutChanged() {
    if (!initialised_)
        return;
    const int focused = ui::FocusedControlId();
    if (focused == 0 || focused == ui::kIdCancel)
        return;
    const std::string text = GetDlgItemText(IDC_PS_JOB_TIMEOUT);
    const long long timeout = TypedNumber(text);
    if (text.empty() || timeout < kMinJobWaitTimeout || timeout > kMaxJobWaitTimeout)
        RefuseTimeout();
}

void CPostScriptOptionsDialog::OnOK() {
    const std::string text = GetDlgItemText(IDC_PS_JOB_TIMEOUT);
    const long long timeout = TypedNumber(text);
    if (!app::CheckNumericTextWithMessage(text, app::kIntegerText) ||
        timeout < kMinJobWaitTimeout || timeout > kMaxJobWaitTimeout) {
        RefuseTimeout();
        return;
    }
    if (!UpdateData(true))
        return;
    app::PrinterSettingsBlock& block = Block();
    block.setUseDsc(static_cast<std::int16_t>(IsDlgButtonChecked(IDC_PS_USE_DSC)));
    block.setAllowPsEmulation(
        static_cast<std::int16_t>(IsDlgButtonChecked(IDC_PS_ALLOW_EMULATION)));
    block.setPrintErrorInfo(static_cast<std::int16_t>(IsDlgButtonChecked(IDC_PS_PRINT_ERRORS)));
    block.setUseExternalHeader(static_cast<std::int16_t>(IsDlgButtonChecked(IDC_PS_USE_HEADER)));
    // An empty list (a PPD without "EndOfDocType") stores -1.
    block.setEndOfDocType(static_cast<std::int16_t>(endOfDoc_.SelectedCode()));
    block.setCtrlDPlacement(static_cast<std::int16_t>(ctrlD_.SelectedCode()));
    block.setJobWaitTimeout(static_cast<std::int16_t>(timeout_));
    block.setExternalHeaderPath(headerPath_);
    EndDialog(ui::kIdOk);
}

void CPostScriptOptionsDialog::OnHelp() {
    ui::ShowHelpTopic(IDD_POSTSCRIPT_OPTIONS);
}

} // namespace pages
