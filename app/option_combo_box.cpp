#include "app/option_combo_box.h"

#include <cstring>

#include "app/config_app.h"
#include "app/printer_query.h"
#include "app/settings_block.h"
#include "ppd/ppd.h"

namespace app {
namespace {

// More constraints than any PPD holds; a bound on the iteration whatever the model answers.
constexpr int kMaxConstraintSteps = 1 << 20;

using FlagOf = std::uint8_t (PrinterSettingsBlock::*)() const;

struct InstallableOption {
    const char* keyword;
    FlagOf flag;
};

const InstallableOption kInputOptions[] = {
    {"OptionalBin", &PrinterSettingsBlock::bin1Installed},
    {"OptionalBin2", &PrinterSettingsBlock::bin2Installed},
    {"OptionalBin3", &PrinterSettingsBlock::bin3Installed},
    {"OptionalBin4", &PrinterSettingsBlock::bin4Installed},
    {"OptionalBin5", &PrinterSettingsBlock::bin5Installed},
    {"Optionalfeeder", &PrinterSettingsBlock::feederInstalled},
    {"Optionalenvelope", &PrinterSettingsBlock::envelopeFeederInstalled},
    {"OptionalMailbox", &PrinterSettingsBlock::mailboxInstalled},
};

const InstallableOption kOutputOptions[] = {
    {"Optionalstacker", &PrinterSettingsBlock::stackerInstalled},
    {"Optionalfinisher", &PrinterSettingsBlock::finisherInstalled},
    {"OptionalMailbox", &PrinterSettingsBlock::mailboxInstalled},
};

template <size_t N>
void RemoveForInstallable(const InstallableOption (&options)[N], const ppd::PpdDocument* document,
                          const PrinterSettingsBlock& settings, const ui::ComboBox& list,
                          std::string_view targetKeyword) {
    for (const InstallableOption& option : options) {
        const char* text = (settings.*option.flag)() == 1 ? kInstalledText : kNotInstalledText;
        RemoveConstrainedChoices(document, option.keyword, text, list, targetKeyword);
    }
}

} // namespace

void OptionComboBox::FillFromTable(const OptionCode* table, std::int32_t code) const {
    int selected = -1;
    const size_t rows = OptionRowCount(table);
    for (size_t row = 0; row < rows; ++row) {
        const int index = InsertString(-1, table[row].name);
        if (index < 0)
            continue;
        SetItemData(index, table[row].id);
        if (selected < 0 && table[row].id == code)
            selected = index;
    }
    SetCurSel(selected >= 0 ? selected : 0);
}

bool OptionComboBox::FillFromFeature(const ppd::PpdDocument* document, std::string_view keyword,
                                     const OptionCode* table, std::int32_t code) const {
    const ppd::PpdOption* option = nullptr;
    if (!document || !ppd::GetOptions(document, keyword, &option))
        return false;
    int selected = -1;
    for (; option; option = option->next.get()) {
        const char* name = option->name.get();
        const char* text = option->translation.get();
        if (!name || !text)
            continue;
        const int index = InsertString(-1, text);
        if (index < 0)
            continue;
        const std::int32_t optionCode = CodeOfName(table, name);
        SetItemData(index, optionCode);
        if (selected < 0 && optionCode == code)
            selected = index;
    }
    SetCurSel(selected >= 0 ? selected : 0);
    return true;
}

bool OptionComboBox::FillFromFeature(std::string_view keyword, const OptionCode* table,
                                     std::int32_t code) const {
    return FillFromFeature(TheApp().ppdDocument, keyword, table, code);
}

void OptionComboBox::SelectCode(std::int32_t code) const {
    const int count = GetCount();
    for (int index = 0; index < count; ++index) {
        if (static_cast<std::int32_t>(GetItemData(index)) == code) {
            SetCurSel(index);
            return;
        }
    }
}

std::int32_t OptionComboBox::SelectedCode() const {
    const int selected = GetCurSel();
    return selected < 0 ? -1 : static_cast<std::int32_t>(GetItemData(selected));
}

void RemoveConstrainedChoices(const ppd::PpdDocument* document, std::string_view keyword,
                              std::string_view optionText, const ui::ComboBox& list,
                              std::string_view targetKeyword) {
    if (!document)
        return;
    ppd::ConstraintIteration iteration;
    int counter = 0;
    for (int step = 0; step < kMaxConstraintSteps; ++step) {
        const char* feature = nullptr;
        const char* ruledOut = nullptr;
        if (!ppd::NextConstraint(document, keyword, optionText, &feature, &ruledOut, counter,
                                 iteration))
            break;
        // A constraint that names no option rules out no entry of its own.
        if (!feature || !ruledOut || targetKeyword != feature)
            continue;
        const int selected = list.GetCurSel();
        const int found = list.FindString(-1, ruledOut);
        if (found < 0)
            continue;
        list.DeleteString(found);
        if (found == selected)
            list.SetCurSel(0);
    }
}

void RemoveConstrainedChoices(std::string_view keyword, std::string_view optionText,
                              const ui::ComboBox& list, std::string_view targetKeyword) {
    RemoveConstrainedChoices(TheApp().ppdDocument, keyword, optionText, list, targetKeyword);
}

void RemoveChoicesExcludedByInstalledOptions(const ppd::PpdDocument* document,
                                             const PrinterSettingsBlock& settings,
                                             const ui::ComboBox& list,
                                             std::string_view targetKeyword) {
    RemoveForInstallable(kInputOptions, document, settings, list, targetKeyword);
}

void RemoveChoicesExcludedByInstalledOptions(const ui::ComboBox& list,
                                             std::string_view targetKeyword) {
    RemoveChoicesExcludedByInstalledOptions(TheApp().ppdDocument, TheApp().settings, list,
                                            targetKeyword);
}

void RemoveBinsExcludedByInstalledOptions(const ppd::PpdDocument* document,
                                          const PrinterSettingsBlock& settings,
                                          const ui::ComboBox& list,
                                          std::string_view targetKeyword) {
    RemoveForInstallable(kOutputOptions, document, settings, list, targetKeyword);
}

void RemoveBinsExcludedByInstalledOptions(const ui::ComboBox& list,
                                          std::string_view targetKeyword) {
    RemoveBinsExcludedByInstalledOptions(TheApp().ppdDocument, TheApp().settings, list,
                                         targetKeyword);
}

} // namespace app
