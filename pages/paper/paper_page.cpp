#include "pages/paper/paper_page.h"

#include "app/config_app.h"
#include "app/option_tables.h"
#include "app/settings_block.h"
#include "pages/paper/custom_size_dialog.h"
#include "pages/paper/paper_feed_dialog.h"
#include "pages/shared/context_help.h"
#include "pages/shared/ppd_choices.h"
#include "ppd/ppd.h"
#include "ui/data_exchange.h"

namespace pages {
namespace {

app::PrinterSettingsBlock& Block() {
    return app::TheApp().settings;
}

const ppd::PpdDocument* Document() {
    return app::TheApp().ppdDocument;
}

std::int16_t Code(std::int32_t code) {
    return static_cast<std::int16_t>(code);
}

} // namespace

void CPaper::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_OUTPUT_BIN, outputBin_);
    dx.Control(IDC_MEDIA_TYPE, mediaType_);
    dx.Control(IDC_PAPER_SOURCE, source_);
    dx.Control(IDC_PAPER_SIZE, paperSize_);
}

ui::MessageMap CPaper::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnClicked(IDC_ADVANCED_FEED, &CPaper::OnAdvancedFeed),
        ui::OnChoice(IDC_PAPER_SIZE, &CPaper::OnPaperSizeChanged),
        ui::OnChoice(IDC_MEDIA_TYPE, &CPaper::OnMediaTypeChanged),
        ui::OnChoice(IDC_OUTPUT_BIN, &CPaper::OnOutputBinChanged),
        ui::OnChoice(IDC_PAPER_SOURCE, &CPaper::OnSourceChanged),
        ui::OnClicked(IDC_CUSTOM_SIZE_CONFIGURE, &CPaper::OnConfigureCustomSize),
    };
    return entries;
}

bool CPaper::OnSetActive() {
    ui::SetContextHelpIds(*this, ContextHelpIds(IDD_PAPER));
    const app::PrinterSettingsBlock& block = Block();
    const ppd::PpdDocument* document = Document();
    paperSize_.ResetContent();
    if (document) {
        if (document->customPageSizeInvocation)
            paperSize_.SetItemData(paperSize_.InsertString(-1, kCustomPaperText), kCustomPaperCode);
        paperSize_.FillFromFeature(document, "PageSize", app::PaperSizeNames, block.paperSize());
        paperSize_.SelectCode(block.paperSize());
    }
    OnPaperSizeChanged();
    return ui::PropertyPage::OnSetActive();
}

void CPaper::OnPaperSizeChanged() {
    app::PrinterSettingsBlock& block = Block();
    const ppd::PpdDocument* document = Document();
    block.setPaperSize(Code(paperSize_.SelectedCode()));
    source_.ResetContent();
    const ui::Window configure = GetDlgItem(IDC_CUSTOM_SIZE_CONFIGURE);
    if (block.paperSize() == kCustomPaperCode) {
        configure.ShowWindow(true);
        configure.EnableWindow(true);
        // A custom sheet is fed only from the multipurpose tray.
        AddOptionsOfCode(source_, "InputSlot", app::InputSlotNames, kMultipurposeSourceCode);
    } else {
        source_.SetItemData(source_.InsertString(-1, kByPaperSizeText), kBySizeSourceCode);
        configure.ShowWindow(false);
        configure.EnableWindow(false);
        source_.FillFromFeature(document, "InputSlot", app::InputSlotNames, block.inputSlot());
        source_.SelectCode(block.inputSlot());
    }
    EnableByContents(source_);
    if (source_.GetCount() > 0) {
        app::RemoveConstrainedChoices(document, "PageSize", paperSize_.GetSelectedText(), source_,
                                      "InputSlot");
        app::RemoveChoicesExcludedByInstalledOptions(document, block, source_, "InputSlot");
    }
    OnSourceChanged();
}

void CPaper::OnSourceChanged() {
    app::PrinterSettingsBlock& block = Block();
    const ppd::PpdDocument* document = Document();
    block.setInputSlot(Code(source_.SelectedCode()));
    mediaType_.ResetContent();
    mediaType_.FillFromFeature(document, "MediaType", app::MediaTypeNames, block.mediaType());
    if (mediaType_.GetCount() > 0) {
        app::RemoveConstrainedChoices(document, "InputSlot", source_.GetSelectedText(), mediaType_,
                                      "MediaType");
        app::RemoveConstrainedChoices(document, "PageSize", paperSize_.GetSelectedText(),
                                      mediaType_, "MediaType");
    }
    if (mediaType_.GetCount() == 0) {
        const int index = mediaType_.InsertString(-1, kPrinterDefaultMediaText);
        mediaType_.SetItemData(index, kPrinterDefaultMediaCode);
        mediaType_.SetCurSel(index);
    }
    OnMediaTypeChanged();
}

void CPaper::OnMediaTypeChanged() {
    app::PrinterSettingsBlock& block = Block();
    const ppd::PpdDocument* document = Document();
    block.setMediaType(Code(mediaType_.SelectedCode()));
    outputBin_.ResetContent();
    if (block.paperSize() == kCustomPaperCode) {
        // A custom sheet is delivered only to the upper bin.
        if (ppd::FindFeature(document, "OutputBin"))
            AddOptionsOfCode(outputBin_, "OutputBin", app::OutputBinNames, kUpperBinCode);
        EnableByContents(outputBin_, IDC_OUTPUT_BIN_LABEL);
    } else {
        outputBin_.FillFromFeature(document, "OutputBin", app::OutputBinNames, block.outputBin());
        EnableByContents(outputBin_, IDC_OUTPUT_BIN_LABEL);
        if (outputBin_.GetCount() > 0) {
            app::RemoveConstrainedChoices(document, "MediaType", mediaType_.GetSelectedText(),
                                          outputBin_, "OutputBin");
            app::RemoveConstrainedChoices(document, "PageSize", paperSize_.GetSelectedText(),
                                          outputBin_, "OutputBin");
            app::RemoveBinsExcludedByInstalledOptions(document, block, outputBin_, "OutputBin");
        }
    }
    block.setOutputBin(Code(outputBin_.SelectedCode()));
}

void CPaper::OnOutputBinChanged() {
    Block().setOutputBin(Code(outputBin_.SelectedCode()));
}

void CPaper::OnAdvancedFeed() {
    app::PrinterSettingsBlock& block = Block();
    const struct {
        std::int16_t bannerEnabled, bannerSource, trailerEnabled, trailerSource, firstEnabled,
            firstSource;
    } saved = {block.bannerPageEnabled(), block.bannerPageSource(), block.trailerPageEnabled(),
               block.trailerPageSource(), block.firstPageEnabled(), block.firstPageSource()};
    CAdvancedFeedDialog dialog(this);
    if (dialog.DoModal() == ui::kIdOk)
        return;
    block.setBannerPageEnabled(saved.bannerEnabled);
    block.setBannerPageSource(saved.bannerSource);
    block.setTrailerPageEnabled(saved.trailerEnabled);
    block.setTrailerPageSource(saved.trailerSource);
    block.setFirstPageEnabled(saved.firstEnabled);
    block.setFirstPageSource(saved.firstSource);
}

void CPaper::OnConfigureCustomSize() {
    app::PrinterSettingsBlock& block = Block();
    const struct {
        float width, height;
        std::int16_t unit, feedEdge, minWidth, maxWidth, minHeight, maxHeight;
    } saved = {block.customSizeWidth(),     block.customSizeHeight(),   block.customSizeUnit(),
               block.customSizeFeedEdge(),  block.customSizeMinWidth(), block.customSizeMaxWidth(),
               block.customSizeMinHeight(), block.customSizeMaxHeight()};
    CCustomSizeDialog dialog(this);
    if (dialog.DoModal() != ui::kIdOk) {
        block.setCustomSizeWidth(saved.width);
        block.setCustomSizeHeight(saved.height);
        block.setCustomSizeUnit(saved.unit);
        block.setCustomSizeFeedEdge(saved.feedEdge);
    }
    // The limits are the driver's; whatever happened, they go back as they came.
    block.setCustomSizeMinWidth(saved.minWidth);
    block.setCustomSizeMaxWidth(saved.maxWidth);
    block.setCustomSizeMinHeight(saved.minHeight);
    block.setCustomSizeMaxHeight(saved.maxHeight);
}

bool CPaper::OnKillActive() {
    app::PrinterSettingsBlock& block = Block();
    const ppd::PpdDocument* document = Document();
    if (document) {
        // Paper or media that cannot be printed on both sides forces single-sided printing.
        if (RulesOutFeature(document, "PageSize", paperSize_.GetSelectedText(), "Duplex"))
            block.setDuplexMode(1);
        if (block.paperSize() == kCustomPaperCode)
            block.setDuplexMode(1);
        if (RulesOutFeature(document, "MediaType", mediaType_.GetSelectedText(), "Duplex"))
            block.setDuplexMode(1);
    }
    WriteCustomSizeRecord(block);
    return ui::PropertyPage::OnKillActive();
}

void CPaper::AddOptionsOfCode(const app::OptionComboBox& list, std::string_view keyword,
                              const app::OptionCode* table, int code) {
    const ppd::PpdOption* option = nullptr;
    if (!ppd::GetOptions(Document(), keyword, &option))
        return;
    int last = -1;
    for (; option; option = option->next.get()) {
        const char* name = option->name.get();
        const char* text = option->translation.get();
        if (!name || !text || app::CodeOfName(table, name) != code)
            continue;
        const int index = list.InsertString(-1, text);
        if (index < 0)
            continue;
        list.SetItemData(index, code);
        last = index;
    }
    if (last >= 0)
        list.SetCurSel(last);
}

void CPaper::EnableByContents(const app::OptionComboBox& list, int labelId) {
    const bool filled = list.GetCount() > 0;
    list.EnableWindow(filled);
    if (labelId != 0)
        GetDlgItem(labelId).EnableWindow(filled);
}

} // namespace pages
