#include "pages/features/graphics_options_dialog.h"

#include <cstdint>
#include <iterator>
#include <string>

#include "app/config_app.h"
#include "app/option_tables.h"
#include "app/settings_block.h"
#include "pages/features/halftone_dialog.h"
#include "pages/features/resolution_rules.h"
#include "pages/shared/context_help.h"
#include "ppd/ppd.h"
#include "ui/data_exchange.h"
#include "ui/services.h"

namespace pages {
namespace {

// Grey profiles of ColorProfileNames: "GrayCustomColor" and "AllBlackCustomColor".
bool IsGreyProfile(int code) {
    return code == 3 || code == 6;
}

int CheckState(int value) {
    return value != 0 ? ui::kChecked : ui::kUnchecked;
}

} // namespace

void CGraphicsOptionsDialog::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_JOB_HALFTONE, halftone_);
    dx.Control(IDC_PRINT_QUALITY, printQuality_);
}

ui::MessageMap CGraphicsOptionsDialog::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnClicked(IDC_ELEMENT_HALFTONES, &CGraphicsOptionsDialog::OnElementHalftones),
        ui::OnClicked(IDC_ROTATE_0, &CGraphicsOptionsDialog::OnRotation),
        ui::OnClicked(IDC_ROTATE_90, &CGraphicsOptionsDialog::OnRotation),
        ui::OnClicked(IDC_ROTATE_180, &CGraphicsOptionsDialog::OnRotation),
        ui::OnClicked(IDC_ROTATE_270, &CGraphicsOptionsDialog::OnRotation),
        ui::OnClicked(IDC_GRAPHICS_HELP, &CGraphicsOptionsDialog::OnHelp),
    };
    return entries;
}

bool CGraphicsOptionsDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    ui::SetContextHelpIds(*this, ContextHelpIds(IDD_GRAPHICS_OPTIONS));
    app::PrinterSettingsBlock& block = app::TheApp().settings;
    const ppd::PpdDocument* document = app::TheApp().ppdDocument;
    halftone_.FillFromFeature(document, "HalftoneType", app::HalftoneNames, block.halftoneType());

    // A colour printer prints a negative only of a grey page.
    if (block.colorDevice() != 0 && !IsGreyProfile(block.colorProfileIndex())) {
        GetDlgItem(IDC_INVERT_IMAGE).EnableWindow(false);
        CheckDlgButton(IDC_INVERT_IMAGE, ui::kUnchecked);
        block.setInvertImage(0);
    } else {
        CheckDlgButton(IDC_INVERT_IMAGE, CheckState(block.invertImage()));
    }
    CheckDlgButton(IDC_MIRROR_IMAGE, CheckState(block.mirrorImage()));

    const bool qualities = ppd::FindFeature(document, "PrintQuality") != nullptr;
    printQuality_.EnableWindow(qualities);
    if (qualities)
        printQuality_.FillFromFeature(document, "PrintQuality", app::PrintQualityNames,
                                      block.printQuality());

    rotation_ = block.rotation();
    for (int code = 0; code < static_cast<int>(std::size(kRotationButtons)); ++code)
        CheckDlgButton(kRotationButtons[code], code == rotation_ ? ui::kChecked : ui::kUnchecked);

    ShowTonerSaving();
    return true;
}

void CGraphicsOptionsDialog::ShowTonerSaving() {
    app::PrinterSettingsBlock& block = app::TheApp().settings;
    const ppd::PpdDocument* document = app::TheApp().ppdDocument;
    const ui::Window box = GetDlgItem(IDC_TONER_SAVING);
    // Whatever the PPD cannot tell leaves the block's choice as it is.
    CheckDlgButton(IDC_TONER_SAVING, CheckState(block.tonerSaving()));
    if (!document)
        return;
    if (!ppd::FindFeature(document, "MiserMode")) {
        // A printer that cannot save toner.
        box.EnableWindow(false);
        CheckDlgButton(IDC_TONER_SAVING, ui::kUnchecked);
        return;
    }
    std::string resolution;
    if (CurrentResolutionText(document, block.resolutionCode(), resolution) !=
        OptionTextSearch::Found)
        return;
    const TonerSavingRule rule = TonerSavingAtResolution(document, resolution);
    box.EnableWindow(!rule.constrained);
    if (rule.savingRuledOut) {
        block.setTonerSaving(0);
        CheckDlgButton(IDC_TONER_SAVING, ui::kUnchecked);
    }
}

void CGraphicsOptionsDialog::OnRotation(int id) {
    for (int code = 0; code < static_cast<int>(std::size(kRotationButtons)); ++code) {
        if (kRotationButtons[code] == id)
            rotation_ = code;
    }
}

void CGraphicsOptionsDialog::OnElementHalftones() {
    CHalftoneDialog dialog(this);
    dialog.DoModal();
}

void CGraphicsOptionsDialog::OnOK() {
    if (!UpdateData(true))
        return;
    app::PrinterSettingsBlock& block = app::TheApp().settings;
    // Empty lists (a PPD without the feature) store -1.
    block.setHalftoneType(static_cast<std::int16_t>(halftone_.SelectedCode()));
    block.setPrintQuality(static_cast<std::int16_t>(printQuality_.SelectedCode()));
    block.setTonerSaving(static_cast<std::int16_t>(IsDlgButtonChecked(IDC_TONER_SAVING)));
    block.setInvertImage(static_cast<std::int16_t>(IsDlgButtonChecked(IDC_INVERT_IMAGE)));
    block.setMirrorImage(static_cast<std::int16_t>(IsDlgButtonChecked(IDC_MIRROR_IMAGE)));
    block.setRotation(static_cast<std::int16_t>(rotation_));
    EndDialog(ui::kIdOk);
}

void CGraphicsOptionsDialog::OnHelp() {
    ui::ShowHelpTopic(IDD_GRAPHICS_OPTIONS);
}

} // namespace pages
