#include "pages/features/features_page.h"

#include <cstdint>
#include <string>

#include "app/config_app.h"
#include "app/option_tables.h"
#include "app/settings_block.h"
#include "pages/colour/color_options_dialog.h"
#include "pages/colour/color_profile_store.h"
#include "pages/features/document_options_dialog.h"
#include "pages/features/graphics_options_dialog.h"
#include "pages/features/postscript_options_dialog.h"
#include "pages/features/resolution_rules.h"
#include "pages/features/saved_fields.h"
#include "pages/shared/context_help.h"
#include "ui/data_exchange.h"

namespace pages {
namespace {

app::PrinterSettingsBlock& Block() {
    return app::TheApp().settings;
}

const ppd::PpdDocument* Document() {
    return app::TheApp().ppdDocument;
}

void StoreResolution(app::PrinterSettingsBlock& block, std::int32_t code) {
    block.setResolutionCode(static_cast<std::int16_t>(code));
    block.setResolutionDpi(app::DpiOfResolutionCode(code));
}

} // namespace

void CFeatures::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_QUICK_COLOR, quickColor_);
    dx.Control(IDC_RESOLUTION, resolution_);
}

ui::MessageMap CFeatures::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnClicked(IDC_COLOR_OPTIONS, &CFeatures::OnColorOptions),
        ui::OnClicked(IDC_GRAPHICS_OPTIONS, &CFeatures::OnGraphicsOptions),
        ui::OnClicked(IDC_POSTSCRIPT_OPTIONS, &CFeatures::OnPostScriptOptions),
        ui::OnClicked(IDC_DOCUMENT_OPTIONS, &CFeatures::OnDocumentOptions),
        ui::OnChoice(IDC_RESOLUTION, &CFeatures::OnResolutionChosen),
        ui::OnChoice(IDC_QUICK_COLOR, &CFeatures::OnQuickColorChosen),
    };
    return entries;
}

bool CFeatures::OnInitDialog() {
    ui::PropertyPage::OnInitDialog();
    ui::SetContextHelpIds(*this, ContextHelpIds(IDD_FEATURES));
    return true;
}

bool CFeatures::OnSetActive() {
    ShowSettings();
    return ui::PropertyPage::OnSetActive();
}

void CFeatures::ShowSettings() {
    app::PrinterSettingsBlock& block = Block();
    ShowResolutions();
    FillColorProfileList(quickColor_);
    // Hidden controls stay hidden for the rest of the run.
    if (quickColor_.GetCount() == 0) {
        for (const int id : {IDC_QUICK_COLOR, IDC_QUICK_COLOR_GROUP}) {
            GetDlgItem(id).ShowWindow(false);
            GetDlgItem(id).EnableWindow(false);
        }
    }
    if (block.colorDevice() == 0) {
        // A monochrome printer has no colour options.
        GetDlgItem(IDC_COLOR_OPTIONS).ShowWindow(false);
        GetDlgItem(IDC_COLOR_OPTIONS).EnableWindow(false);
    } else if (block.colorProfileIndex() == kStoredColorProfile) {
        // A stored profile is named in the list: the block takes what is stored under its name.
        LoadStoredColorProfile();
    }
}

void CFeatures::ShowResolutions() {
    app::PrinterSettingsBlock& block = Block();
    const ppd::PpdDocument* document = Document();
    resolution_.ResetContent();
    resolution_.FillFromFeature(document, "Resolution", app::ResolutionNames,
                                block.resolutionCode());
    app::RemoveConstrainedChoices(document, "MiserMode",
                                  TonerSavingOptionText(document, block.tonerSaving() != 0),
                                  resolution_, "Resolution");
    // A resolution the list does not show (toner saving ruled it out, or the PPD has no such
    // option) is not sent: the block takes the one the list shows, so that OK sends what the
    // page shows.
    if (resolution_.GetCurSel() >= 0 && resolution_.SelectedCode() != block.resolutionCode())
        StoreResolution(block, resolution_.SelectedCode());
}

void CFeatures::OnResolutionChosen() {
    // An empty list, or one closed without a selection, chose nothing.
    if (resolution_.GetCurSel() < 0)
        return;
    StoreResolution(Block(), resolution_.SelectedCode());
}

void CFeatures::OnQuickColorChosen() {
    // An empty list, or one closed without a selection, chose nothing.
    if (quickColor_.GetCurSel() < 0)
        return;
    app::PrinterSettingsBlock& block = Block();
    // The setter cuts a name to the field and terminates it.
    block.setColorProfileName(quickColor_.GetSelectedText());
    const std::int32_t code = quickColor_.SelectedCode();
    block.setColorProfileIndex(static_cast<std::int16_t>(code));
    if (code == kStoredColorProfile) {
        LoadStoredColorProfile();
        return;
    }
    if (IsGrayColorProfile(code)) {
        block.setGrayColorModel(1);
    } else {
        // A negative image is printed only in grey.
        block.setGrayColorModel(0);
        block.setInvertImage(0);
    }
    ApplyPredefinedColorProfile();
}

void CFeatures::OnColorOptions() {
    app::PrinterSettingsBlock& block = Block();
    const SavedFields saved(block, {"colorProfileIndex", "colorProfileName"});
    if (block.colorProfileIndex() == kStoredColorProfile)
        LoadStoredColorProfile();
    // The dialog keeps its other changes after Cancel; only the choice of profile goes back.
    ColorOptionsDialog dialog;
    if (dialog.DoModal() != ui::kIdOk)
        saved.Restore(block);
    FillColorProfileList(quickColor_);
}

bool CFeatures::OnKillActive() {
    app::PrinterSettingsBlock& block = Block();
    const ppd::PpdDocument* document = Document();
    std::string resolution;
    // Where the PPD cannot name the resolution it cannot rule toner saving out either.
    if (document && CurrentResolutionText(document, block.resolutionCode(), resolution) ==
                        OptionTextSearch::Found) {
        if (TonerSavingAtResolution(document, resolution).savingRuledOut)
            block.setTonerSaving(0);
    }
    return ui::PropertyPage::OnKillActive();
}

void CFeatures::OnGraphicsOptions() {
    const SavedFields saved(Block(), {"tonerSaving", "invertImage", "mirrorImage", "rotation"});
    CGraphicsOptionsDialog dialog(this);
    if (dialog.DoModal() == ui::kIdOk)
        ShowSettings();
    else
        saved.Restore(Block());
}

void CFeatures::OnPostScriptOptions() {
    const SavedFields saved(Block(), {"useExternalHeader", "jobWaitTimeout", "externalHeaderPath",
                                      "allowPsEmulation", "printErrorInfo"});
    CPostScriptOptionsDialog dialog(this);
    if (dialog.DoModal() != ui::kIdOk)
        saved.Restore(Block());
}

void CFeatures::OnDocumentOptions() {
    // Reprint too: its check box writes the block as it is clicked.
    const SavedFields saved(Block(), {"scale", "notifyByEmail", "collate", "copies", "emailAddress",
                                      "reprintEnabled", "reprintName"});
    CDocumentOptionsDialog dialog(this);
    if (dialog.DoModal() != ui::kIdOk)
        saved.Restore(Block());
}

} // namespace pages
