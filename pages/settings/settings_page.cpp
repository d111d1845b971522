#include "pages/settings/settings_page.h"

#include <optional>
#include <string>

#include "app/config_app.h"
#include "app/printer_query.h"
#include "pages/settings/logon_user_name.h"
#include "pages/shared/context_help.h"
#include "platform/services.h"
#include "ppd/ppd.h"
#include "ui/data_exchange.h"
#include "ui/services.h"

namespace pages {
namespace {

// Code page 1250; literals are split where a hexadecimal escape is followed by a letter that
// would continue it.
constexpr char kCheckingText[] = "Kontrola dostupnosti obojsmernej komunik\xE1"
                                 "cie tla\xE8iarne";
constexpr char kAvailableText[] = "Obojsmern\xE1 komunik\xE1"
                                  "cia tla\xE8iarne je nadviazan\xE1";
constexpr char kUnavailableText[] = "Obojsmern\xE1 komunik\xE1"
                                    "cia tla\xE8iarne nie je dostupn\xE1";

// The accounting edits take as many characters as their fields hold.
constexpr int kAccountingTextLimit = 63;

app::PrinterSettingsBlock& Block() {
    return app::TheApp().settings;
}

// A list entry carries its flag as the flag's offset in the block.
std::intptr_t ItemDataOfFlag(const app::InstalledOptionFlag& flag) {
    const app::SettingsField* field = app::FindSettingsField(flag.fieldName);
    return field != nullptr ? field->offset : -1;
}

const app::InstalledOptionFlag* FlagOfItemData(std::intptr_t data) {
    for (const app::InstalledOptionFlag& flag : app::InstalledOptionFlags()) {
        if (ItemDataOfFlag(flag) == data)
            return &flag;
    }
    return nullptr;
}

} // namespace

std::string_view CommunicationStatusText(int status) {
    switch (status) {
    case kCommunicationChecking:
        return kCheckingText;
    case kCommunicationAvailable:
        return kAvailableText;
    default:
        return kUnavailableText;
    }
}

bool CanAddInstallableOption(std::string_view keyword, const app::PrinterSettingsBlock& block) {
    if (keyword == "OptionalDisk")
        return true;
    return block.bin1Installed() != 1 && block.bin2Installed() != 1 && block.bin3Installed() != 1;
}

CSettings::CSettings()
    : ui::PropertyPage(IDD), scalars_(net::ScalarTable()), columns_(net::ColumnTable()) {}

void CSettings::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_ACCOUNT_HOST, host_);
    dx.Control(IDC_ACCOUNT_SERIES, series_);
    dx.Control(IDC_ACCOUNT_AUTHOR, author_);
    dx.Control(IDC_PORT_NAME, portName_);
    dx.Control(IDC_COMM_STATUS, statusText_);
    dx.Control(IDC_OPTION_REMOVE, remove_);
    dx.Control(IDC_OPTION_ADD, add_);
    dx.Control(IDC_OPTIONS_INSTALLED, installed_);
    dx.Control(IDC_OPTIONS_AVAILABLE, available_);
}

ui::MessageMap CSettings::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnClicked(IDC_OPTION_REMOVE, &CSettings::OnRemove),
        ui::OnClicked(IDC_OPTION_ADD, &CSettings::OnAdd),
        ui::OnSelChange(IDC_OPTIONS_AVAILABLE, &CSettings::OnAvailableSelected),
        ui::OnSelChange(IDC_OPTIONS_INSTALLED, &CSettings::OnInstalledSelected),
        ui::OnEditKillFocus(IDC_ACCOUNT_AUTHOR, &CSettings::OnAuthorLeft),
        ui::OnEditKillFocus(IDC_ACCOUNT_SERIES, &CSettings::OnSeriesLeft),
        ui::OnEditKillFocus(IDC_ACCOUNT_HOST, &CSettings::OnHostLeft),
    };
    return entries;
}

bool CSettings::OnInitDialog() {
    ui::PropertyPage::OnInitDialog();
    ui::SetContextHelpIds(*this, ContextHelpIds(IDD_SETTINGS));
    {
        ui::WaitCursor wait;
        scalars_ = net::ScalarTable();
        columns_ = net::ColumnTable();
        entries_ = {};
        for (const ui::Edit* edit : {&author_, &host_, &series_})
            edit->LimitText(kAccountingTextLimit);
        CheckTwoWayCommunication();
        portName_.SetWindowText(Block().portName());
    }
    ReadAuthor();
    return true;
}

bool CSettings::OnSetActive() {
    // The lists are filled at every activation, so that they show the trays paired on leaving.
    FillOptionLists();
    const app::PrinterSettingsBlock& block = Block();
    portName_.SetWindowText(block.portName());
    portName_.EnableWindow(false);
    ReadAuthor();
    author_.SetWindowText(block.accountingAuthor());
    host_.SetWindowText(block.accountingHost());
    series_.SetWindowText(block.accountingSeriesNumber());
    author_.EnableWindow(false);
    return ui::PropertyPage::OnSetActive();
}

bool CSettings::OnKillActive() {
    // OK pressed with Enter leaves the focus in an edit, which then never reports losing it.
    StoreAccountingTexts();
    app::PrinterSettingsBlock& block = Block();
    block.setBin2Installed(block.bin1Installed());
    return ui::PropertyPage::OnKillActive();
}

void CSettings::FillOptionLists() {
    available_.ResetContent();
    installed_.ResetContent();
    const app::PrinterSettingsBlock& block = Block();
    for (const ppd::PpdFeature* feature = ppd::FirstInstallableFeature(app::TheApp().ppdDocument);
         feature != nullptr; feature = feature->next.get()) {
        if (!feature->installable || !feature->name)
            continue;
        const app::InstalledOptionFlag* flag = app::FindInstalledOptionFlag(feature->name.get());
        if (flag == nullptr)
            continue;
        // A feature without a translation is shown by its keyword.
        const char* translation = feature->translation.get();
        const std::string_view text =
            translation != nullptr && *translation != '\0' ? translation : feature->name.get();
        const ui::ListBox& list = (block.*flag->get)() == 1 ? installed_ : available_;
        const int index = list.AddString(text);
        if (index >= 0)
            list.SetItemData(index, ItemDataOfFlag(*flag));
    }
    add_.EnableWindow(false);
    remove_.EnableWindow(false);
    // The printer's own answer at start-up decides, not the address: the Consumables page may
    // resolve the address later for a printer that did not answer.
    const bool fromPrinter = app::TheApp().printerStatus == app::kPrinterAnswered;
    available_.EnableWindow(!fromPrinter);
    installed_.EnableWindow(!fromPrinter);
}

bool CSettings::MoveSelectedOption(const ui::ListBox& from, const ui::ListBox& to,
                                   std::uint8_t installed) {
    const int selected = from.GetCurSel();
    if (selected < 0)
        return false;
    const std::string text = from.GetItemText(selected);
    const std::intptr_t data = from.GetItemData(selected);
    from.DeleteString(selected);
    const int index = to.AddString(text);
    if (index >= 0)
        to.SetItemData(index, data);
    if (const app::InstalledOptionFlag* flag = FlagOfItemData(data))
        (Block().*flag->set)(installed);
    return true;
}

void CSettings::OnAdd() {
    if (!MoveSelectedOption(available_, installed_, 1))
        return;
    available_.SetFocus();
    add_.EnableWindow(false);
}

void CSettings::OnRemove() {
    if (!MoveSelectedOption(installed_, available_, 0))
        return;
    installed_.SetFocus();
    remove_.EnableWindow(false);
}

void CSettings::OnAvailableSelected() {
    const int selected = available_.GetCurSel();
    const app::InstalledOptionFlag* flag =
        selected >= 0 ? FlagOfItemData(available_.GetItemData(selected)) : nullptr;
    add_.EnableWindow(flag != nullptr && CanAddInstallableOption(flag->keyword, Block()));
    remove_.EnableWindow(false);
}

void CSettings::OnInstalledSelected() {
    add_.EnableWindow(false);
    remove_.EnableWindow(installed_.GetCurSel() >= 0);
}

// A text is stored when it differs from the field's: one that comes back as it was shown
// leaves the field's bytes as the driver sent them (a field the driver filled to its end keeps
// all of it, as the edit shows it).
void CSettings::StoreIfChanged(const ui::Edit& edit,
                               std::string (app::PrinterSettingsBlock::*get)() const,
                               bool (app::PrinterSettingsBlock::*set)(std::string_view)) {
    app::PrinterSettingsBlock& block = Block();
    const std::string text = edit.GetWindowText();
    if (text != (block.*get)())
        (block.*set)(text);
}

void CSettings::OnAuthorLeft() {
    StoreIfChanged(author_, &app::PrinterSettingsBlock::accountingAuthor,
                   &app::PrinterSettingsBlock::setAccountingAuthor);
}

void CSettings::OnHostLeft() {
    StoreIfChanged(host_, &app::PrinterSettingsBlock::accountingHost,
                   &app::PrinterSettingsBlock::setAccountingHost);
}

void CSettings::OnSeriesLeft() {
    StoreIfChanged(series_, &app::PrinterSettingsBlock::accountingSeriesNumber,
                   &app::PrinterSettingsBlock::setAccountingSeriesNumber);
}

void CSettings::StoreAccountingTexts() {
    OnAuthorLeft();
    OnHostLeft();
    OnSeriesLeft();
}

void CSettings::CheckTwoWayCommunication() {
    const app::PrinterSettingsBlock& block = Block();
    const std::string address = block.printerAddress();
    const std::string community = block.snmpCommunity();
    if (address.empty() || community.empty()) {
        status_ = kCommunicationUnavailable; // nothing is sent
    } else {
        status_ = kCommunicationChecking;
        const std::int32_t rc =
            net::snmpGetScalars(community, address, scalars_.data(), snmpOptions_);
        status_ = rc == net::kSnmpOk ? kCommunicationAvailable : kCommunicationUnavailable;
        // A printer that gave no answer at all would not answer the walk either: its entries are
        // cleared as the walk would leave them, without waiting out its sends.
        if (rc == net::kSnmpNoAnswer)
            entries_.fill(net::ComponentEntry{});
        else
            net::snmpWalkSupplies(community, address, columns_.data(), &entries_, snmpOptions_);
    }
    statusText_.SetWindowText(CommunicationStatusText(status_));
}

void CSettings::ReadAuthor() {
    if (const std::optional<std::string> name = LogonUserName(platform::registry()))
        Block().setAccountingAuthor(*name);
}

} // namespace pages
