#pragma once
// Choice lists: drop-down lists whose entries show display texts and carry option codes
// (option_tables.h) as item data, filled from a code table or from a PPD feature, and the
// pruning that deletes the choices the PPD's constraints rule out for a choice made elsewhere
// or for the installed equipment.
//
// Entries are always appended, so a list keeps table or file order even where its template
// gives it the sorted style. Searches are the list's own (ListControl::FindString: prefix,
// case ignored for ASCII letters).
#include <cstdint>
#include <string_view>

#include "app/option_tables.h"
#include "ui/window.h"

namespace ppd {
struct PpdDocument;
}

namespace app {

class PrinterSettingsBlock;

class OptionComboBox : public ui::ComboBox {
public:
    using ui::ComboBox::ComboBox;

    // Appends every row of `table` in table order with its id as code, then selects the entry
    // carrying `code`, else the first entry.
    void FillFromTable(const OptionCode* table, std::int32_t code) const;

    // With the feature `keyword` in the model: appends, in file order, the display text of
    // every option that has a keyword and a display text, with the code CodeOfName(table,
    // keyword) (0 for keywords the table lacks); then selects the first appended entry
    // carrying `code`, else the first entry of the list. False, adding nothing, without a
    // model or without the feature.
    bool FillFromFeature(const ppd::PpdDocument* document, std::string_view keyword,
                         const OptionCode* table, std::int32_t code) const;
    // The same with the application's PPD model.
    bool FillFromFeature(std::string_view keyword, const OptionCode* table,
                         std::int32_t code) const;

    // Selects the first entry carrying `code`; without one the selection stays.
    void SelectCode(std::int32_t code) const;
    // The code of the selected entry, or -1 with nothing selected.
    std::int32_t SelectedCode() const;
};

// Deletes from `list` each choice of the feature `targetKeyword` that the PPD's constraints
// rule out together with the option whose display text is `optionText` of the feature
// `keyword`: the first entry whose text begins with the ruled-out display text goes, and when
// it was the selected one the first entry is selected. Nothing happens without a model.
void RemoveConstrainedChoices(const ppd::PpdDocument* document, std::string_view keyword,
                              std::string_view optionText, const ui::ComboBox& list,
                              std::string_view targetKeyword);
void RemoveConstrainedChoices(std::string_view keyword, std::string_view optionText,
                              const ui::ComboBox& list, std::string_view targetKeyword);

// RemoveConstrainedChoices for each installable input option ("OptionalBin" to "OptionalBin5",
// "Optionalfeeder", "Optionalenvelope", "OptionalMailbox"), with "Nainštalované" when the
// block's flag is 1 and "Neinštalované" otherwise (kInstalledText, kNotInstalledText of
// printer_query.h).
void RemoveChoicesExcludedByInstalledOptions(const ppd::PpdDocument* document,
                                             const PrinterSettingsBlock& settings,
                                             const ui::ComboBox& list,
                                             std::string_view targetKeyword);
void RemoveChoicesExcludedByInstalledOptions(const ui::ComboBox& list,
                                             std::string_view targetKeyword);

// The same for the installable output options ("Optionalstacker", "Optionalfinisher",
// "OptionalMailbox").
void RemoveBinsExcludedByInstalledOptions(const ppd::PpdDocument* document,
                                          const PrinterSettingsBlock& settings,
                                          const ui::ComboBox& list, std::string_view targetKeyword);
void RemoveBinsExcludedByInstalledOptions(const ui::ComboBox& list, std::string_view targetKeyword);

} // namespace app
