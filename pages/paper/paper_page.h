#pragma once
// The Paper page ("Papier"): paper size, source, media type and output bin of the live
// settings block. The four lists form a chain filled from the PPD and pruned by its
// constraints and by the installed equipment; the page opens the advanced paper feed dialog
// and, for the custom size, the custom size dialog. Leaving the page settles the duplex mode
// against the chosen paper and media and stores the custom size record.
#include <string_view>

#include "app/option_combo_box.h"
#include "res/resource.h"
#include "ui/dialog.h"

namespace pages {

// Texts of the lists' special entries (code page 1250).
inline constexpr char kCustomPaperText[] = "Volite\xBEn\xFD form\xE1t papiera";
inline constexpr char kByPaperSizeText[] = "Pod\xBE"
                                           "a form\xE1tu papiera";
inline constexpr char kPrinterDefaultMediaText[] = "V\xFD"
                                                   "chodiskov\xE9 nastavenie tla\xE8iarne";

// Codes of the special entries.
inline constexpr int kCustomPaperCode = 257;
inline constexpr int kMultipurposeSourceCode = 257;
inline constexpr int kBySizeSourceCode = 7;
inline constexpr int kPrinterDefaultMediaCode = 247;
inline constexpr int kUpperBinCode = 1;

class CPaper : public ui::PropertyPage {
public:
    enum { IDD = IDD_PAPER };
    CPaper() : ui::PropertyPage(IDD) {}

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    ui::MessageMap GetMessageMap() const override;

private:
    void OnAdvancedFeed();
    void OnPaperSizeChanged();
    void OnSourceChanged();
    void OnMediaTypeChanged();
    void OnOutputBinChanged();
    void OnConfigureCustomSize();

    // Appends the options of `keyword` whose keyword has `code` in `table`, each with that
    // code, and selects the last one appended.
    void AddOptionsOfCode(const app::OptionComboBox& list, std::string_view keyword,
                          const app::OptionCode* table, int code);
    // An emptied list is disabled (with the bin list's label); one with entries enabled.
    void EnableByContents(const app::OptionComboBox& list, int labelId = 0);

    app::OptionComboBox outputBin_;
    app::OptionComboBox mediaType_;
    app::OptionComboBox source_;
    app::OptionComboBox paperSize_;
};

} // namespace pages
