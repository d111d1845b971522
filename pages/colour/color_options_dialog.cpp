#include "pages/colour/color_options_dialog.h"

#include "app/config_app.h"
#include "app/option_tables.h"
#include "app/ppd_option_codes.h"
#include "pages/colour/color_profile_store.h"
#include "pages/colour/crd_matching_dialog.h"
#include "pages/colour/icc_matching_dialog.h"
#include "pages/colour/list_entries.h"
#include "pages/colour/resident_profile_store.h"
#include "pages/shared/context_help.h"
#include "platform/services.h"
#include "ui/data_exchange.h"
#include "ui/services.h"

namespace pages {
namespace {

using Block = app::PrinterSettingsBlock;

// Summary values are cut to this many characters where they are names of the user's.
constexpr std::size_t kSummaryNameLength = 18;

constexpr char kNoValue[] = "\x8Eiadny";
constexpr char kOn[] = "Zapnut\xE9";
constexpr char kOff[] = "Vypnut\xE9";

Block& TheBlock() {
    return app::TheApp().settings;
}

// A summary line of a PPD option with a printer-resident alternative.
struct OptionLine {
    int id;
    const char* label;
    const char* feature;
    const app::OptionCode* table;
    std::int16_t (Block::*code)() const;
    int residentKind;
    std::string (Block::*residentName)() const;
    int residentListId;
};

const OptionLine kIccLines[] = {
    {IDC_COLOR_SUMMARY_RGB_SOURCE, "Zdroj RGB:", "RGBSource", app::RgbSourceNames,
     &Block::rgbSource, kResidentRgbSource, &Block::rgbSourceProfileName,
     IDC_RESIDENT_RGB_SOURCE_LIST},
    {IDC_COLOR_SUMMARY_SIMULATION, "Napodobnenie:", "ColorSimul", app::SimulationNames,
     &Block::colorSimulation, kResidentSimulation, &Block::simulationProfileName,
     IDC_RESIDENT_SIMULATION_LIST},
    {IDC_COLOR_SUMMARY_DESTINATION, "Cie\xBE:", "DestinationProfile", app::DestinationNames,
     &Block::destinationProfile, kResidentDestination, &Block::destinationProfileName,
     IDC_RESIDENT_DESTINATION_LIST},
};

struct RenderingLine {
    int id;
    const char* label;
    std::int16_t (Block::*code)() const;
};

const RenderingLine kRenderingLines[] = {
    {IDC_COLOR_SUMMARY_DEFAULT_CRD,
     "V\xFD"
     "chodiskov\xE9 CRD:",
     &Block::defaultCrd},
    {IDC_COLOR_SUMMARY_IMAGE_CRD, "CRD obrazu :", &Block::imageCrd},
    {IDC_COLOR_SUMMARY_TEXT_CRD, "Textov\xFD CRD :", &Block::textCrd},
    {IDC_COLOR_SUMMARY_GRAPHICS_CRD, "Grafick\xFD CRD:", &Block::graphicsCrd},
};

// The controls that only mean something with ICC or with CRD matching.
constexpr int kIccControls[] = {IDC_ICC_CONFIGURE, IDC_COLOR_SUMMARY_RGB_SOURCE,
                                IDC_COLOR_SUMMARY_SIMULATION, IDC_COLOR_SUMMARY_DESTINATION};
constexpr int kCrdControls[] = {
    IDC_CRD_CONFIGURE,          IDC_COLOR_SUMMARY_DEFAULT_CRD,  IDC_COLOR_SUMMARY_IMAGE_CRD,
    IDC_COLOR_SUMMARY_TEXT_CRD, IDC_COLOR_SUMMARY_GRAPHICS_CRD, IDC_COLOR_SUMMARY_COLOR_SPACE};

std::string OptionText(const char* feature, const app::OptionCode* table, std::int32_t code) {
    const char* text = app::PpdOptionText(app::TheApp().ppdDocument, feature, table, code);
    return text ? text : "";
}

std::string Line(std::string_view label, std::string_view value) {
    std::string line(label);
    line.append(" ");
    line.append(SummaryValue(value));
    return line;
}

// Whether an entry showing `name` is a predefined profile (which a save may not take over).
bool NamesPredefinedProfile(const ui::ComboBox& list, std::string_view name) {
    const int count = list.GetCount();
    for (int index = 0; index < count; ++index) {
        if (IsPredefinedColorProfileCode(static_cast<int>(list.GetItemData(index))) &&
            list.FindStringExact(index - 1, name) == index)
            return true;
    }
    return false;
}

int CheckState(bool on) {
    return on ? ui::kChecked : ui::kUnchecked;
}

} // namespace

std::string OverwriteProfileQuestion(std::string_view name) {
    std::string question = "\"";
    question.append(name);
    question.append("\"already exists. Overwrite it?");
    return question;
}

std::string SummaryValue(std::string_view value) {
    return value.empty() ? std::string(kNoValue) : std::string(value);
}

void ColorOptionsDialog::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_COLOR_PROFILE_LIST, profiles_);
    dx.Control(IDC_RESIDENT_RGB_SOURCE_LIST, residentRgbSources_);
    dx.Control(IDC_RESIDENT_SIMULATION_LIST, residentSimulations_);
    dx.Control(IDC_RESIDENT_DESTINATION_LIST, residentDestinations_);
}

ui::MessageMap ColorOptionsDialog::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnChoice(IDC_COLOR_PROFILE_LIST, &ColorOptionsDialog::OnProfileChosen),
        ui::OnClicked(IDC_COLOR_PROFILE_SAVE, &ColorOptionsDialog::OnSave),
        ui::OnClicked(IDC_COLOR_PROFILE_DELETE, &ColorOptionsDialog::OnDelete),
        ui::OnClicked(IDC_COLOR_PROFILE_DEFAULT, &ColorOptionsDialog::OnDefault),
        ui::OnClicked(IDC_COLOR_SEPARATION, &ColorOptionsDialog::OnSeparation),
        ui::OnClicked(IDC_ICC_MATCHING, &ColorOptionsDialog::OnIccMatching),
        ui::OnClicked(IDC_CRD_MATCHING, &ColorOptionsDialog::OnCrdMatching),
        ui::OnClicked(IDC_ICC_CONFIGURE, &ColorOptionsDialog::OnConfigureIcc),
        ui::OnClicked(IDC_CRD_CONFIGURE, &ColorOptionsDialog::OnConfigureCrd),
        ui::OnClicked(IDC_COLOR_HELP, &ColorOptionsDialog::OnHelp),
    };
    return entries;
}

bool ColorOptionsDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    ui::SetContextHelpIds(*this, ContextHelpIds(IDD_COLOR_OPTIONS));
    FillColorProfileList(profiles_);
    FillResidentLists();
    // The block as it comes, should its stored profile have gone meanwhile.
    ShowSettings();
    UpdateDeleteButton();
    ShowCurrentProfile();
    TakeSnapshot();
    return true;
}

void ColorOptionsDialog::FillResidentLists() {
    const struct {
        const ui::ComboBox& list;
        int kind;
    } lists[] = {
        {residentRgbSources_, kResidentRgbSource},
        {residentSimulations_, kResidentSimulation},
        {residentDestinations_, kResidentDestination},
    };
    for (const auto& entry : lists) {
        entry.list.ResetContent();
        ListResidentProfiles(entry.list, entry.kind);
    }
}

void ColorOptionsDialog::TakeSnapshot() {
    snapshot_ = BuildColorProfileRecord(TheBlock());
}

void ColorOptionsDialog::ShowCurrentProfile() {
    Block& block = TheBlock();
    const bool predefined = block.colorProfileIndex() != kStoredColorProfile;
    if (predefined)
        ApplyPredefinedColorProfile();
    // A stored profile that cannot be loaded leaves the controls as they were.
    if (predefined || LoadStoredColorProfile()) {
        ShowSettings();
        UpdateDeleteButton();
    }
    GetDlgItem(IDC_COLOR_SEPARATION).EnableWindow(!IsGrayColorProfile(block.colorProfileIndex()));
}

void ColorOptionsDialog::ShowSettings() {
    const Block& block = TheBlock();
    CheckDlgButton(IDC_COLOR_SEPARATION, CheckState(block.colorSeparation() != 0));
    CheckDlgButton(IDC_ICC_MATCHING, CheckState(block.iccMatching() != 0));
    CheckDlgButton(IDC_CRD_MATCHING, CheckState(block.crdMatching() != 0));
    RefreshSummary();
}

void ColorOptionsDialog::UpdateDeleteButton() {
    // Only a stored profile can be deleted; with nothing selected there is nothing to delete.
    const int selected = profiles_.GetCurSel();
    GetDlgItem(IDC_COLOR_PROFILE_DELETE)
        .EnableWindow(selected >= 0 &&
                      !IsPredefinedColorProfileCode(static_cast<int>(profiles_.SelectedCode())));
}

void ColorOptionsDialog::RefreshSummary() {
    const Block& block = TheBlock();
    const bool icc = IsDlgButtonChecked(IDC_ICC_MATCHING) == ui::kChecked;
    const bool crd = IsDlgButtonChecked(IDC_CRD_MATCHING) == ui::kChecked;
    SetDlgItemText(IDC_COLOR_SUMMARY_ICC, Line("S\xFAlad farieb ICC:", icc ? kOn : kOff));
    for (const OptionLine& line : kIccLines) {
        const std::int16_t code = (block.*line.code)();
        std::string value;
        if (code == line.residentKind) {
            // A resident profile shows its name while the printer's list still has it.
            const std::string name = (block.*line.residentName)();
            const ui::ComboBox list(GetDlgItem(line.residentListId).GetHandle());
            if (!name.empty() && list.FindStringExact(-1, name) >= 0)
                value = name.substr(0, kSummaryNameLength);
        } else {
            value = OptionText(line.feature, line.table, code);
        }
        SetDlgItemText(line.id, Line(line.label, value));
    }
    SetDlgItemText(IDC_COLOR_SUMMARY_CRD, Line("S\xFAlad farieb CRD:", crd ? kOn : kOff));
    for (const RenderingLine& line : kRenderingLines) {
        SetDlgItemText(line.id,
                       Line(line.label, OptionText("ColorRenderDict", app::RenderingStyleNames,
                                                   (block.*line.code)())));
    }
    const std::string space =
        block.crdColorSpace() == kResidentCsa
            ? block.crdColorSpaceName().substr(0, kSummaryNameLength)
            : OptionText("CRDColSpc", app::CrdColorSpaceNames, block.crdColorSpace());
    SetDlgItemText(IDC_COLOR_SUMMARY_COLOR_SPACE, Line("Farebn\xFD priestor:", space));

    for (int id : kIccControls)
        GetDlgItem(id).EnableWindow(icc);
    for (int id : kCrdControls)
        GetDlgItem(id).EnableWindow(crd);
    GetDlgItem(IDC_COLOR_SUMMARY_ICC).EnableWindow(true);
    GetDlgItem(IDC_COLOR_SUMMARY_CRD).EnableWindow(true);
}

void ColorOptionsDialog::OnProfileChosen() {
    const int selected = profiles_.GetCurSel();
    if (selected < 0)
        return;
    Block& block = TheBlock();
    block.setColorProfileName(profiles_.GetItemText(selected));
    const std::int32_t code = profiles_.SelectedCode();
    block.setColorProfileIndex(static_cast<std::int16_t>(code));
    if (IsGrayColorProfile(code)) {
        block.setColorSeparation(0);
    } else {
        block.setColorSeparation(1);
        block.setInvertImage(0);
    }
    ShowCurrentProfile();
    TakeSnapshot();
}

void ColorOptionsDialog::OnSave() {
    const HeldChoice before = HeldChoiceOf(profiles_);
    const std::string typedName = profiles_.GetWindowText();
    int selected = profiles_.GetCurSel();
    std::string name;
    if (selected >= 0) {
        name = profiles_.GetItemText(selected);
    } else {
        name = typedName;
        // A typed name of a listed profile chooses that profile.
        const int typed = profiles_.FindStringExact(-1, name);
        if (typed >= 0) {
            profiles_.SetCurSel(typed);
            selected = typed;
            name = profiles_.GetItemText(typed);
        }
    }
    auto refuse = [&](const char* text) {
        MessageBox(text, ui::kMbOk | ui::kMbIconWarning, kColorProfileNameCaption);
    };
    if (selected >= 0 && IsPredefinedColorProfileCode(static_cast<int>(profiles_.SelectedCode()))) {
        refuse(kPredefinedProfileNameText);
        return;
    }
    // The name is checked before anything is written: a refused name changes nothing.
    name = name.substr(0, kSavedProfileNameLength);
    if (NamesPredefinedProfile(profiles_, name)) {
        refuse(kPredefinedProfileNameText);
        return;
    }
    if (name.empty()) {
        refuse(kEmptyProfileNameText);
        return;
    }
    if (name.front() == '\\') {
        refuse(kBackslashProfileNameText);
        return;
    }

    platform::Registry& registry = platform::registry();
    const std::string printer = TheBlock().printerName();
    int entry = FindEntryWithCode(profiles_, name, kStoredColorProfile);
    // A stored profile the list does not show (unusable without the printer's disk) is not
    // overwritten unasked either.
    const bool exists = entry >= 0 || StoredColorProfileExists(registry, printer, name);
    if (exists && MessageBox(OverwriteProfileQuestion(name), ui::kMbYesNo | ui::kMbIconQuestion,
                             kOverwriteProfileCaption) != ui::kIdYes) {
        UpdateDeleteButton();
        return;
    }
    // Written first: only a profile the registry took is listed, chosen and named in the block.
    const app::ColorProfileRecord record = StoredRecordOf(name);
    if (!WriteStoredColorProfile(registry, printer, name, record)) {
        if (before.text.empty()) {
            profiles_.SetCurSel(-1);
            profiles_.SetWindowText(typedName);
        } else {
            RestoreChoice(profiles_, before);
        }
        MessageBox(kColorProfileNotStoredText);
        UpdateDeleteButton();
        return;
    }
    if (entry < 0) {
        entry = profiles_.AddString(name);
        if (entry < 0) {
            UpdateDeleteButton();
            return;
        }
        profiles_.SetItemData(entry, kStoredColorProfile);
    }
    profiles_.SetCurSel(entry);
    TakeStoredProfile(name, record);
    UpdateDeleteButton();
}

app::ColorProfileRecord ColorOptionsDialog::StoredRecordOf(std::string_view name) const {
    Block stored = TheBlock();
    stored.setColorProfileName(name);
    stored.setColorProfileIndex(kStoredColorProfile);
    return BuildColorProfileRecord(stored);
}

void ColorOptionsDialog::TakeStoredProfile(std::string_view name,
                                           const app::ColorProfileRecord& record) {
    Block& block = TheBlock();
    block.setColorProfileName(name);
    block.setColorProfileIndex(kStoredColorProfile);
    snapshot_ = record;
}

void ColorOptionsDialog::OnDelete() {
    Block& block = TheBlock();
    const std::string name = block.colorProfileName();
    if (DeleteStoredColorProfile(platform::registry(), block.printerName(), name)) {
        const int entry = FindEntryWithCode(profiles_, name, kStoredColorProfile);
        if (entry >= 0)
            profiles_.DeleteString(entry);
    }
    block.setColorProfileName(kAutoColorProfileName);
    if (profiles_.GetCount() == 0) {
        // Nothing left to choose: the block names the automatic profile, as a new one does.
        profiles_.SetWindowText("");
        block.setColorProfileIndex(kAutoColorProfile);
        UpdateDeleteButton();
        GetDlgItem(IDC_COLOR_SEPARATION).EnableWindow(true);
        TakeSnapshot();
        return;
    }
    profiles_.SetCurSel(0);
    OnProfileChosen();
}

void ColorOptionsDialog::OnDefault() {
    Block& block = TheBlock();
    // The default is the automatic profile, wherever the PPD lists it.
    for (int index = 0; index < profiles_.GetCount(); ++index) {
        if (profiles_.GetItemData(index) == kAutoColorProfile) {
            profiles_.SetCurSel(index);
            block.setColorProfileName(profiles_.GetItemText(index));
            block.setColorProfileIndex(kAutoColorProfile);
            ShowCurrentProfile();
            TakeSnapshot();
            return;
        }
    }
    // A PPD without it: the first entry is chosen as a click would choose it, so that the block
    // holds the profile the list shows.
    if (profiles_.GetCount() > 0) {
        profiles_.SetCurSel(0);
        OnProfileChosen();
        return;
    }
    block.setColorProfileName(kAutoColorProfileName);
    block.setColorProfileIndex(kAutoColorProfile);
    ShowCurrentProfile();
    TakeSnapshot();
}

void ColorOptionsDialog::OnSeparation() {
    TheBlock().setColorSeparation(IsDlgButtonChecked(IDC_COLOR_SEPARATION) == ui::kChecked ? 1 : 0);
}

void ColorOptionsDialog::OnIccMatching() {
    Block& block = TheBlock();
    if (IsDlgButtonChecked(IDC_ICC_MATCHING) == ui::kChecked) {
        block.setIccMatching(1);
        CheckDlgButton(IDC_CRD_MATCHING, ui::kUnchecked);
        block.setCrdMatching(0);
    } else {
        block.setIccMatching(0);
    }
    RefreshSummary();
}

void ColorOptionsDialog::OnCrdMatching() {
    Block& block = TheBlock();
    if (IsDlgButtonChecked(IDC_CRD_MATCHING) == ui::kChecked) {
        block.setCrdMatching(1);
        CheckDlgButton(IDC_ICC_MATCHING, ui::kUnchecked);
        block.setIccMatching(0);
    } else {
        block.setCrdMatching(0);
    }
    RefreshSummary();
}

void ColorOptionsDialog::OnConfigureIcc() {
    IccMatchingDialog dialog(this);
    dialog.DoModal();
    // Choices stay in the block even after Cancel, and resident profiles may have come or gone:
    // the summary shows what the block holds now.
    FillResidentLists();
    RefreshSummary();
}

void ColorOptionsDialog::OnConfigureCrd() {
    CrdMatchingDialog dialog(this);
    dialog.DoModal();
    RefreshSummary();
}

void ColorOptionsDialog::OnOK() {
    Block& block = TheBlock();
    const bool unchanged = ColorSettingsMatch(block, snapshot_);
    block.setColorSeparation(IsDlgButtonChecked(IDC_COLOR_SEPARATION) == ui::kChecked ? 1 : 0);
    block.setIccMatching(IsDlgButtonChecked(IDC_ICC_MATCHING) == ui::kChecked ? 1 : 0);
    block.setCrdMatching(IsDlgButtonChecked(IDC_CRD_MATCHING) == ui::kChecked ? 1 : 0);
    if (IsGrayColorProfile(block.colorProfileIndex())) {
        block.setGrayColorModel(1);
        block.setColorSeparation(0);
    } else {
        block.setGrayColorModel(0);
    }
    if (!unchanged) {
        // The settings become "Vlastné" only once the registry holds them; otherwise the block
        // keeps naming the profile it named, and the user is told.
        const app::ColorProfileRecord record = StoredRecordOf(kCustomColorProfileName);
        if (WriteStoredColorProfile(platform::registry(), block.printerName(),
                                    kCustomColorProfileName, record)) {
            int entry = FindEntryWithCode(profiles_, kCustomColorProfileName, kStoredColorProfile);
            if (entry < 0) {
                entry = profiles_.AddString(kCustomColorProfileName);
                if (entry >= 0)
                    profiles_.SetItemData(entry, kStoredColorProfile);
            }
            profiles_.SetCurSel(entry);
            TakeStoredProfile(kCustomColorProfileName, record);
        } else {
            MessageBox(kColorProfileNotStoredText);
        }
    }
    EndDialog(ui::kIdOk);
}

void ColorOptionsDialog::OnHelp() {
    ui::ShowHelpTopic(IDD_COLOR_OPTIONS);
}

} // namespace pages
