#include "pages/colour/icc_matching_dialog.h"

#include "app/config_app.h"
#include "app/option_tables.h"
#include "app/settings_block.h"
#include "pages/colour/list_entries.h"
#include "pages/colour/profile_management_dialog.h"
#include "pages/colour/resident_profile_store.h"
#include "pages/shared/download_manager.h"
#include "ppd/ppd.h"
#include "ui/data_exchange.h"
#include "ui/services.h"

namespace pages {

using Block = app::PrinterSettingsBlock;

// Where a list's choices come from and where they go.
struct IccProfileList {
    int listId;
    int manageId;
    const char* feature;
    const app::OptionCode* table;
    int kind;
    std::int16_t fallback; // selected when the block's resident profile has gone
    std::int16_t (Block::*code)() const;
    void (Block::*setCode)(std::int16_t);
    std::string (Block::*name)() const;
    bool (Block::*setName)(std::string_view);
};

namespace {

constexpr char kDestinationFeature[] = "DestinationProfile";

// In the order the dialog fills them.
const IccProfileList kProfileLists[] = {
    {IDC_ICC_RGB_SOURCE, IDC_ICC_RGB_SOURCE_MANAGE, "RGBSource", app::RgbSourceNames,
     kResidentRgbSource, 101, &Block::rgbSource, &Block::setRgbSource, &Block::rgbSourceProfileName,
     &Block::setRgbSourceProfileName},
    {IDC_ICC_SIMULATION, IDC_ICC_SIMULATION_MANAGE, "ColorSimul", app::SimulationNames,
     kResidentSimulation, 119, &Block::colorSimulation, &Block::setColorSimulation,
     &Block::simulationProfileName, &Block::setSimulationProfileName},
    {IDC_ICC_DESTINATION, IDC_ICC_DESTINATION_MANAGE, kDestinationFeature, app::DestinationNames,
     kResidentDestination, 143, &Block::destinationProfile, &Block::setDestinationProfile,
     &Block::destinationProfileName, &Block::setDestinationProfileName},
};

const IccProfileList* ListOfControl(int id) {
    for (const IccProfileList& list : kProfileLists) {
        if (list.listId == id || list.manageId == id)
            return &list;
    }
    return nullptr;
}

Block& TheBlock() {
    return app::TheApp().settings;
}

} // namespace

void IccMatchingDialog::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_ICC_RGB_SOURCE, rgbSource_);
    dx.Control(IDC_ICC_SIMULATION, simulation_);
    dx.Control(IDC_ICC_DESTINATION, destination_);
}

ui::MessageMap IccMatchingDialog::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnChoice(IDC_ICC_RGB_SOURCE, &IccMatchingDialog::OnChoice),
        ui::OnChoice(IDC_ICC_SIMULATION, &IccMatchingDialog::OnChoice),
        ui::OnChoice(IDC_ICC_DESTINATION, &IccMatchingDialog::OnChoice),
        ui::OnClicked(IDC_ICC_RGB_SOURCE_MANAGE, &IccMatchingDialog::OnManageProfiles),
        ui::OnClicked(IDC_ICC_SIMULATION_MANAGE, &IccMatchingDialog::OnManageProfiles),
        ui::OnClicked(IDC_ICC_DESTINATION_MANAGE, &IccMatchingDialog::OnManageProfiles),
        ui::OnClicked(IDC_ICC_DOWNLOAD_MANAGER, &IccMatchingDialog::OnDownloadManager),
        ui::OnClicked(IDC_ICC_HELP, &IccMatchingDialog::OnHelp),
    };
    return entries;
}

const app::OptionComboBox& IccMatchingDialog::Combo(const IccProfileList& list) const {
    switch (list.listId) {
    case IDC_ICC_RGB_SOURCE:
        return rgbSource_;
    case IDC_ICC_SIMULATION:
        return simulation_;
    default:
        return destination_;
    }
}

HeldChoice& IccMatchingDialog::Held(const IccProfileList& list) {
    switch (list.listId) {
    case IDC_ICC_RGB_SOURCE:
        return heldRgbSource_;
    case IDC_ICC_SIMULATION:
        return heldSimulation_;
    default:
        return heldDestination_;
    }
}

bool IccMatchingDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    ui::SetContextHelpIds(*this,
                          {IDD_ICC_MATCHING, IDC_ICC_RGB_SOURCE, IDC_ICC_RGB_SOURCE_MANAGE,
                           IDC_ICC_SIMULATION, IDC_ICC_SIMULATION_MANAGE, IDC_ICC_DESTINATION,
                           IDC_ICC_DESTINATION_MANAGE, IDC_ICC_DOWNLOAD_MANAGER, IDC_ICC_HELP});
    hasDestinationFeature_ =
        ppd::FindFeature(app::TheApp().ppdDocument, kDestinationFeature) != nullptr;
    for (const IccProfileList& list : kProfileLists) {
        if (list.kind == kResidentDestination && !hasDestinationFeature_) {
            GetDlgItem(list.listId).EnableWindow(false);
            GetDlgItem(list.manageId).EnableWindow(false);
            break;
        }
        FillList(list);
    }
    return true;
}

void IccMatchingDialog::FillList(const IccProfileList& entry) {
    const app::OptionComboBox& list = Combo(entry);
    const Block& block = TheBlock();
    list.ResetContent();
    list.FillFromFeature(entry.feature, entry.table, 0);
    ListResidentProfiles(list, entry.kind);
    const std::int16_t code = (block.*entry.code)();
    if (code != entry.kind) {
        list.SelectCode(code);
    } else {
        const int resident = FindEntryWithCode(list, (block.*entry.name)(), entry.kind);
        if (resident >= 0)
            list.SetCurSel(resident);
        else
            list.SelectCode(entry.fallback);
    }
    Held(entry) = HeldChoiceOf(list);
}

bool IccMatchingDialog::RefuseLongName(const IccProfileList& entry, std::string_view name) {
    if (ResidentNameFits(name, entry.kind))
        return false;
    // Cut, the name would name no profile: the list shows the choice before it again and the
    // block is left as it was.
    RefuseResidentName(*this, entry.kind);
    RestoreChoice(Combo(entry), Held(entry));
    return true;
}

void IccMatchingDialog::TakeChoice(const IccProfileList& entry) {
    const app::OptionComboBox& list = Combo(entry);
    Block& block = TheBlock();
    if (list.GetCurSel() >= 0) {
        const std::int32_t code = list.SelectedCode();
        if (code == entry.kind && RefuseLongName(entry, list.GetSelectedText()))
            return;
        (block.*entry.setCode)(static_cast<std::int16_t>(code));
        if (code == entry.kind)
            SelectResidentProfile(list.GetSelectedText(), entry.kind);
        Held(entry) = HeldChoiceOf(list);
        return;
    }
    // No selection: a text of the list's own names a resident profile. An empty text names
    // nothing and adds no entry.
    const std::string text = list.GetWindowText();
    if (text.empty() || RefuseLongName(entry, text))
        return;
    int index = list.FindStringExact(-1, text);
    if (index < 0) {
        index = list.InsertString(-1, text);
        if (index < 0)
            return;
        list.SetItemData(index, entry.kind);
        list.SetCurSel(index);
    }
    if (const auto record = FindResidentProfile(text, entry.kind)) {
        (block.*entry.setCode)(static_cast<std::int16_t>(list.GetItemData(index)));
        (block.*entry.setName)(record->name());
    }
    Held(entry) = HeldChoiceOf(list);
}

void IccMatchingDialog::OnChoice(int id) {
    if (const IccProfileList* list = ListOfControl(id))
        TakeChoice(*list);
}

void IccMatchingDialog::OnManageProfiles(int id) {
    const IccProfileList* list = ListOfControl(id);
    if (!list)
        return;
    ProfileManagementDialog dialog(Combo(*list), list->kind, this);
    dialog.DoModal();
    TakeChoice(*list);
}

void IccMatchingDialog::OnDownloadManager() {
    LaunchDownloadManager(kLoadColorProfiles);
}

void IccMatchingDialog::OnOK() {
    Block& block = TheBlock();
    for (const IccProfileList& entry : kProfileLists) {
        const app::OptionComboBox& list = Combo(entry);
        if (list.GetCurSel() >= 0)
            (block.*entry.setCode)(static_cast<std::int16_t>(list.SelectedCode()));
        else if (entry.kind == kResidentDestination && !hasDestinationFeature_)
            (block.*entry.setCode)(-1); // the printer offers no destination profile
    }
    ui::Dialog::OnOK();
}

void IccMatchingDialog::OnHelp() {
    ui::ShowHelpTopic(IDD_ICC_MATCHING);
}

} // namespace pages
