#include "pages/paper/paper_feed_dialog.h"

#include <string>

#include "app/config_app.h"
#include "app/option_tables.h"
#include "app/settings_block.h"
#include "pages/paper/paper_page.h"
#include "pages/shared/context_help.h"
#include "pages/shared/ppd_choices.h"
#include "ppd/ppd.h"
#include "ui/data_exchange.h"
#include "ui/services.h"

namespace pages {
namespace {

app::PrinterSettingsBlock& Block() {
    return app::TheApp().settings;
}

// Each special page's check box with the list of its source.
struct SpecialPage {
    int checkId;
    int listId;
};

constexpr SpecialPage kSpecialPages[] = {
    {IDC_FEED_BANNER, IDC_FEED_BANNER_SOURCE},
    {IDC_FEED_FIRST_PAGE, IDC_FEED_FIRST_PAGE_SOURCE},
    {IDC_FEED_TRAILER, IDC_FEED_TRAILER_SOURCE},
};

} // namespace

void CAdvancedFeedDialog::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_FEED_BANNER_SOURCE, bannerSource_);
    dx.Control(IDC_FEED_FIRST_PAGE_SOURCE, firstPageSource_);
    dx.Control(IDC_FEED_TRAILER_SOURCE, trailerSource_);
    dx.Check(IDC_FEED_OVERRIDE_MP_TRAY, overrideTray_);
}

ui::MessageMap CAdvancedFeedDialog::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnClicked(IDC_FEED_FIRST_PAGE, &CAdvancedFeedDialog::OnSpecialPage),
        ui::OnClicked(IDC_FEED_BANNER, &CAdvancedFeedDialog::OnSpecialPage),
        ui::OnClicked(IDC_FEED_TRAILER, &CAdvancedFeedDialog::OnSpecialPage),
        ui::OnClicked(IDC_FEED_HELP, &CAdvancedFeedDialog::OnHelp),
    };
    return entries;
}

bool CAdvancedFeedDialog::OnInitDialog() {
    overrideTray_ = 0;
    ui::Dialog::OnInitDialog();
    ui::SetContextHelpIds(*this, ContextHelpIds(IDD_ADVANCED_FEED));
    const app::PrinterSettingsBlock& block = Block();
    CheckDlgButton(IDC_FEED_BANNER, block.bannerPageEnabled() != 0 ? ui::kChecked : ui::kUnchecked);
    CheckDlgButton(IDC_FEED_FIRST_PAGE,
                   block.firstPageEnabled() != 0 ? ui::kChecked : ui::kUnchecked);
    CheckDlgButton(IDC_FEED_TRAILER,
                   block.trailerPageEnabled() != 0 ? ui::kChecked : ui::kUnchecked);

    // Overriding the tray's settings means something only when the job may use that tray.
    const ui::Window overrideTray = GetDlgItem(IDC_FEED_OVERRIDE_MP_TRAY);
    if (block.inputSlot() == kMultipurposeSourceCode || block.inputSlot() == kBySizeSourceCode) {
        overrideTray.EnableWindow(true);
        CheckDlgButton(IDC_FEED_OVERRIDE_MP_TRAY,
                       block.overrideMultipurposeTray() != 0 ? ui::kChecked : ui::kUnchecked);
    } else {
        overrideTray.EnableWindow(false);
    }

    // The first page's own source is a choice for documents only; hidden before anything can
    // end the initialisation early.
    if (block.devicePropertiesMode() != 0) {
        GetDlgItem(IDC_FEED_FIRST_PAGE).ShowWindow(false);
        GetDlgItem(IDC_FEED_FIRST_PAGE_SOURCE).ShowWindow(false);
        GetDlgItem(IDC_FEED_FIRST_PAGE_GROUP).ShowWindow(false);
    }

    const ppd::PpdDocument* document = app::TheApp().ppdDocument;
    if (!document || !ppd::FindFeature(document, "PageSize"))
        return true;
    std::string paperText;
    const OptionTextSearch paper = FindOptionTextOfCode(document, "PageSize", app::PaperSizeNames,
                                                        block.paperSize(), paperText);
    if (paper == OptionTextSearch::UnusableOption)
        return true;

    const struct {
        const app::OptionComboBox& list;
        std::int16_t source;
        std::int16_t enabled;
    } lists[] = {
        {firstPageSource_, block.firstPageSource(), block.firstPageEnabled()},
        {bannerSource_, block.bannerPageSource(), block.bannerPageEnabled()},
        {trailerSource_, block.trailerPageSource(), block.trailerPageEnabled()},
    };
    for (const auto& entry : lists) {
        const app::OptionComboBox& list = entry.list;
        list.EnableWindow(entry.enabled != 0);
        list.ResetContent();
        list.SetItemData(list.InsertString(-1, kByPaperSizeText), kBySizeSourceCode);
        list.FillFromFeature(document, "InputSlot", app::InputSlotNames, entry.source);
        list.SelectCode(entry.source);
        if (paper == OptionTextSearch::Found)
            app::RemoveConstrainedChoices(document, "PageSize", paperText, list, "InputSlot");
        app::RemoveChoicesExcludedByInstalledOptions(document, block, list, "InputSlot");
    }
    return true;
}

void CAdvancedFeedDialog::OnSpecialPage(int id) {
    for (const SpecialPage& page : kSpecialPages) {
        if (page.checkId == id)
            GetDlgItem(page.listId).EnableWindow(IsDlgButtonChecked(id) == ui::kChecked);
    }
}

void CAdvancedFeedDialog::OnOK() {
    app::PrinterSettingsBlock& block = Block();
    block.setBannerPageEnabled(static_cast<std::int16_t>(IsDlgButtonChecked(IDC_FEED_BANNER)));
    block.setBannerPageSource(static_cast<std::int16_t>(bannerSource_.SelectedCode()));
    block.setFirstPageEnabled(static_cast<std::int16_t>(IsDlgButtonChecked(IDC_FEED_FIRST_PAGE)));
    // The hidden first-page list of device properties, left empty by an early end of the
    // initialisation, was never a choice: its source stays.
    if (block.devicePropertiesMode() == 0 || firstPageSource_.GetCount() > 0)
        block.setFirstPageSource(static_cast<std::int16_t>(firstPageSource_.SelectedCode()));
    block.setTrailerPageEnabled(static_cast<std::int16_t>(IsDlgButtonChecked(IDC_FEED_TRAILER)));
    block.setTrailerPageSource(static_cast<std::int16_t>(trailerSource_.SelectedCode()));
    block.setOverrideMultipurposeTray(
        static_cast<std::int16_t>(IsDlgButtonChecked(IDC_FEED_OVERRIDE_MP_TRAY)));
    ui::Dialog::OnOK();
}

void CAdvancedFeedDialog::OnHelp() {
    ui::ShowHelpTopic(IDD_ADVANCED_FEED);
}

} // namespace pages
