#include "tools/dlgview/win32/demo_printer.h"

#include "app/config_app.h"
#include "app/settings_block.h"
#include "pages/colour/color_options_dialog.h"
#include "pages/colour/crd_matching_dialog.h"
#include "pages/colour/icc_matching_dialog.h"
#include "pages/colour/profile_management_dialog.h"
#include "pages/colour/resident_profile_store.h"
#include "platform/codepage1250.h"
#include "ppd/ppd.h"
#include "res/resource.h"

namespace dlgview {

DemoPrinter::~DemoPrinter() {
    app::TheApp().SetPpdDocument(nullptr);
}

bool DemoPrinter::Load(const std::string& ppdPath, const std::string& printer, std::string* error) {
    ppd::ParseFailure failure;
    ppd::ParseOptions options;
    options.failure = &failure;
    const ppd::PpdDocument* document = ppd::ReadPpdFile(platform::Utf8ToCp1250(ppdPath), options);
    if (!document) {
        *error = "cannot read the PPD " + ppdPath + (failure.reason.empty() ? "" : ": ") +
                 failure.reason;
        return false;
    }
    app::ConfigApp& application = app::TheApp();
    application.SetPpdDocument(document);
    app::PrinterSettingsBlock block;
    app::ApplyNewBlockDefaults(block);
    block.setPrinterName(platform::Utf8ToCp1250(printer));
    block.setColorDevice(document->colorDevice != 0 ? 1 : 0);
    application.settings = block;
    return true;
}

std::unique_ptr<ui::Dialog> DemoPrinter::MakeDialog(int id) const {
    switch (id) {
    case IDD_COLOR_OPTIONS:
        return std::make_unique<pages::ColorOptionsDialog>();
    case IDD_CRD_MATCHING:
        return std::make_unique<pages::CrdMatchingDialog>();
    case IDD_ICC_MATCHING:
        return std::make_unique<pages::IccMatchingDialog>();
    case IDD_PROFILE_MANAGEMENT:
        return std::make_unique<pages::ProfileManagementDialog>(noCallerList_,
                                                                pages::kResidentRgbSource);
    default:
        return nullptr;
    }
}

} // namespace dlgview
