#include "pages/features/halftone_dialog.h"

#include <cstdint>

#include "app/config_app.h"
#include "app/option_tables.h"
#include "app/settings_block.h"
#include "pages/shared/context_help.h"
#include "ui/data_exchange.h"
#include "ui/services.h"

namespace pages {

void CHalftoneDialog::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_HALFTONE_IMAGE, image_);
    dx.Control(IDC_HALFTONE_TEXT, text_);
    dx.Control(IDC_HALFTONE_GRAPHICS, graphics_);
}

ui::MessageMap CHalftoneDialog::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnClicked(IDC_HALFTONE_HELP, &CHalftoneDialog::OnHelp),
    };
    return entries;
}

bool CHalftoneDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    ui::SetContextHelpIds(*this, ContextHelpIds(IDD_HALFTONE));
    const app::PrinterSettingsBlock& block = app::TheApp().settings;
    image_.FillFromFeature("HalftoneType", app::HalftoneNames, block.imageHalftone());
    text_.FillFromFeature("HalftoneType", app::HalftoneNames, block.textHalftone());
    graphics_.FillFromFeature("HalftoneType", app::HalftoneNames, block.graphicsHalftone());
    return true;
}

void CHalftoneDialog::OnOK() {
    if (!UpdateData(true))
        return;
    app::PrinterSettingsBlock& block = app::TheApp().settings;
    // An empty list (a PPD without halftones) stores -1: the printer's own halftone.
    block.setImageHalftone(static_cast<std::int16_t>(image_.SelectedCode()));
    block.setTextHalftone(static_cast<std::int16_t>(text_.SelectedCode()));
    block.setGraphicsHalftone(static_cast<std::int16_t>(graphics_.SelectedCode()));
    EndDialog(ui::kIdOk);
}

void CHalftoneDialog::OnHelp() {
    ui::ShowHelpTopic(IDD_HALFTONE);
}

} // namespace pages
