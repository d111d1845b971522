#include "pages/fonts/fonts_page.h"

#include <string>

#include "app/config_app.h"
#include "app/settings_block.h"
#include "pages/shared/context_help.h"
#include "pages/shared/download_manager.h"
#include "platform/font_enumerator.h"
#include "platform/services.h"
#include "ui/data_exchange.h"

namespace pages {
namespace {

app::PrinterSettingsBlock& Block() {
    return app::TheApp().settings;
}

} // namespace

void CFonts::RestoreDefaultFontTable() {
    pages::RestoreDefaultFontTable(platform::registry(), Block().printerName());
}

void CFonts::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_FONT_DEFAULT_TABLE, restoreDefault_);
    dx.Control(IDC_FONT_SYSTEM_LIST, systemFonts_);
    dx.Control(IDC_FONT_DEVICE_LIST, deviceFonts_);
}

ui::MessageMap CFonts::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnClicked(IDC_FONT_DOWNLOAD, &CFonts::OnDownloadChosen),
        ui::OnClicked(IDC_FONT_SUBSTITUTE, &CFonts::OnSubstituteChosen),
        ui::OnSelChange(IDC_FONT_SYSTEM_LIST, &CFonts::OnSystemFontChanged),
        ui::OnSelChange(IDC_FONT_DEVICE_LIST, &CFonts::OnDeviceFontChanged),
        ui::OnClicked(IDC_FONT_DEFAULT_TABLE, &CFonts::OnRestoreDefaultTable),
        ui::OnClicked(IDC_FONT_DOWNLOAD_MANAGER, &CFonts::OnDownloadManager),
    };
    return entries;
}

bool CFonts::OnSetActive() {
    ui::SetContextHelpIds(*this, ContextHelpIds(IDD_FONTS));
    systemFonts_.ResetContent();
    deviceFonts_.ResetContent();
    const bool substitute = Block().fontSubstitution() != 0;
    CheckRadioButton(IDC_FONT_DOWNLOAD, IDC_FONT_SUBSTITUTE,
                     substitute ? IDC_FONT_SUBSTITUTE : IDC_FONT_DOWNLOAD);
    EnableTableControls(substitute);
    FillSystemFonts();
    FillDeviceFonts();
    LoadTable();
    systemFonts_.SetCurSel(0);
    deviceFonts_.SetCurSel(0);
    ShowDeviceFontOfSelectedFamily();
    return ui::PropertyPage::OnSetActive();
}

bool CFonts::OnKillActive() {
    if (tableLoaded_)
        StoreFontTable(platform::registry(), Block().printerName(), table_);
    Block().setFontSubstitution(IsDlgButtonChecked(IDC_FONT_SUBSTITUTE) == ui::kChecked ? 1 : 0);
    table_.Clear();
    tableLoaded_ = false;
    return ui::PropertyPage::OnKillActive();
}

void CFonts::OnCancel() {
    table_.Clear();
    tableLoaded_ = false;
}

void CFonts::OnDownloadChosen() {
    EnableTableControls(false);
    Block().setFontSubstitution(0);
}

void CFonts::OnSubstituteChosen() {
    EnableTableControls(true);
    Block().setFontSubstitution(1);
}

void CFonts::OnSystemFontChanged() {
    ShowDeviceFontOfSelectedFamily();
}

void CFonts::OnDeviceFontChanged() {
    // Without a family or a device font selected there is no pair to store.
    table_.Substitute(systemFonts_.GetSelectedText(), deviceFonts_.GetSelectedText());
}

void CFonts::OnRestoreDefaultTable() {
    RestoreDefaultFontTable();
    systemFonts_.SetCurSel(0);
    deviceFonts_.SetCurSel(0);
    LoadTable();
    ShowDeviceFontOfSelectedFamily();
}

void CFonts::OnDownloadManager() {
    LaunchDownloadManager(kLoadFonts);
}

void CFonts::EnableTableControls(bool enable) {
    deviceFonts_.EnableWindow(enable);
    restoreDefault_.EnableWindow(enable);
    systemFonts_.EnableWindow(enable);
}

void CFonts::FillSystemFonts() {
    for (const std::string& family : platform::fonts().TrueTypeFamilies()) {
        if (!family.empty() && systemFonts_.FindStringExact(-1, family) == ui::kListError)
            systemFonts_.AddString(family);
    }
}

void CFonts::FillDeviceFonts() {
    deviceFonts_.InsertString(-1, kDownloadFontName);
    for (const std::string& name : ReadResidentFonts(platform::registry(), Block().printerName())) {
        if (deviceFonts_.FindStringExact(-1, name) == ui::kListError)
            deviceFonts_.InsertString(-1, name);
    }
}

void CFonts::LoadTable() {
    table_ = LoadFontTable(platform::registry(), Block().printerName());
    tableLoaded_ = true;
}

void CFonts::ShowDeviceFontOfSelectedFamily() {
    const std::string* device = table_.DeviceFontOf(systemFonts_.GetSelectedText());
    if (device)
        deviceFonts_.SetCurSel(deviceFonts_.FindStringExact(-1, *device));
    else
        deviceFonts_.SetCurSel(0);
}

} // namespace pages
