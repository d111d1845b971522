#include "pages/colour/crd_matching_dialog.h"

#include "app/config_app.h"
#include "app/option_tables.h"
#include "app/settings_block.h"
#include "pages/colour/list_entries.h"
#include "pages/colour/resident_profile_store.h"
#include "ui/data_exchange.h"
#include "ui/services.h"

namespace pages {
namespace {

constexpr char kRenderingFeature[] = "ColorRenderDict";
constexpr char kColorSpaceFeature[] = "CRDColSpc";

app::PrinterSettingsBlock& Block() {
    return app::TheApp().settings;
}

// The code a list's selection gives the block: the selected entry's, else what the block holds.
std::int16_t ChosenCode(const app::OptionComboBox& list, std::int16_t held) {
    const std::int32_t code = list.SelectedCode();
    return code < 0 ? held : static_cast<std::int16_t>(code);
}

} // namespace

void CrdMatchingDialog::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_CRD_DEFAULT, defaultCrd_);
    dx.Control(IDC_CRD_IMAGE, imageCrd_);
    dx.Control(IDC_CRD_TEXT, textCrd_);
    dx.Control(IDC_CRD_GRAPHICS, graphicsCrd_);
    dx.Control(IDC_CRD_COLOR_SPACE, colorSpace_);
}

ui::MessageMap CrdMatchingDialog::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnChoice(IDC_CRD_COLOR_SPACE, &CrdMatchingDialog::OnColorSpaceChosen),
        ui::OnClicked(IDC_CRD_HELP, &CrdMatchingDialog::OnHelp),
    };
    return entries;
}

bool CrdMatchingDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    ui::SetContextHelpIds(*this, {IDD_CRD_MATCHING, IDC_CRD_DEFAULT, IDC_CRD_IMAGE, IDC_CRD_TEXT,
                                  IDC_CRD_GRAPHICS, IDC_CRD_COLOR_SPACE, IDC_CRD_HELP});
    const app::PrinterSettingsBlock& block = Block();
    const struct {
        const app::OptionComboBox& list;
        std::int16_t code;
    } renderings[] = {
        {defaultCrd_, block.defaultCrd()},
        {imageCrd_, block.imageCrd()},
        {textCrd_, block.textCrd()},
        {graphicsCrd_, block.graphicsCrd()},
    };
    for (const auto& rendering : renderings)
        rendering.list.FillFromFeature(kRenderingFeature, app::RenderingStyleNames, rendering.code);

    colorSpace_.ResetContent();
    colorSpace_.FillFromFeature(kColorSpaceFeature, app::CrdColorSpaceNames, 0);
    ListResidentProfiles(colorSpace_, kResidentCsa);
    if (block.crdColorSpace() == kResidentCsa)
        colorSpace_.SetCurSel(
            FindEntryWithCode(colorSpace_, block.crdColorSpaceName(), kResidentCsa));
    else
        colorSpace_.SelectCode(block.crdColorSpace());
    heldColorSpace_ = HeldChoiceOf(colorSpace_);
    return true;
}

void CrdMatchingDialog::OnColorSpaceChosen() {
    const std::int32_t code = colorSpace_.SelectedCode();
    if (code < 0)
        return;
    // A resident colour space whose name the block cannot hold is refused, not cut: the list
    // shows the choice before it again and the block is left as it was.
    if (code == kResidentCsa && !ResidentNameFits(colorSpace_.GetSelectedText(), kResidentCsa)) {
        RefuseResidentName(*this, kResidentCsa);
        RestoreChoice(colorSpace_, heldColorSpace_);
        return;
    }
    Block().setCrdColorSpace(static_cast<std::int16_t>(code));
    if (code == kResidentCsa)
        SelectResidentProfile(colorSpace_.GetSelectedText(), kResidentCsa);
    heldColorSpace_ = HeldChoiceOf(colorSpace_);
}

void CrdMatchingDialog::OnOK() {
    app::PrinterSettingsBlock& block = Block();
    block.setDefaultCrd(ChosenCode(defaultCrd_, block.defaultCrd()));
    block.setImageCrd(ChosenCode(imageCrd_, block.imageCrd()));
    block.setTextCrd(ChosenCode(textCrd_, block.textCrd()));
    block.setGraphicsCrd(ChosenCode(graphicsCrd_, block.graphicsCrd()));
    // Without a selection the code stays, but a resident colour space whose name is no longer
    // listed names no colour space at all: it becomes -1.
    const std::int16_t held = block.crdColorSpace() == kResidentCsa ? -1 : block.crdColorSpace();
    block.setCrdColorSpace(ChosenCode(colorSpace_, held));
    ui::Dialog::OnOK();
}

void CrdMatchingDialog::OnHelp() {
    ui::ShowHelpTopic(IDD_CRD_MATCHING);
}

} // namespace pages
