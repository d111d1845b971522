#include "pages/consumables/consumables_page.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

#include "app/config_app.h"
#include "net/port_address.h"
#include "pages/shared/context_help.h"
#include "pages/shared/web_browser.h"
#include "platform/program_launcher.h"
#include "platform/services.h"
#include "ui/data_exchange.h"
#include "ui/services.h"

namespace pages {
namespace {

// Code page 1250; literals are split where a hexadecimal escape is followed by a letter that
// would continue it.
constexpr char kTitlePrefix[] = "Inform\xE1"
                                "cie o spotrebnom materi\xE1li pre tla\xE8iare\xF2:";
constexpr char kTonersHeading[] = "Tonery:";
constexpr char kTonerHeading[] = "Toner:";
constexpr char kMaintenanceHeading[] = "Polo\x9Eky prevent\xEDvnej \xFA"
                                       "dr\x9E"
                                       "by:";
constexpr char kUnavailableHeading[] = "Inform\xE1"
                                       "cie o spotrebnom materi\xE1li nie s\xFA dostupn\xE9";

// A text field of an entry, read within its array.
std::string_view EntryText(const char (&field)[net::kComponentTextSize]) {
    const void* nul = std::memchr(field, '\0', sizeof field);
    return std::string_view(
        field, nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - field)
                              : sizeof field);
}

bool Measured(const net::ComponentEntry& entry) {
    return entry.capacity != -1 && entry.level != -1;
}

// A toner of kind 4 is shown whatever it reports; one of kind 5 only with its measures.
bool IsShownToner(const net::ComponentEntry& entry) {
    return entry.kind == net::kComponentToner ||
           (entry.kind == net::kComponentTonerMeasured && Measured(entry));
}

bool IsShownMaintenanceItem(const net::ComponentEntry& entry) {
    return entry.kind >= net::kComponentMaintenanceFirst &&
           entry.kind <= net::kComponentMaintenanceLast && Measured(entry);
}

} // namespace

SupplyRowTexts SupplyRow(const net::ComponentEntry& entry) {
    SupplyRowTexts row;
    const std::string_view unit = EntryText(entry.unitText);
    long long percent = entry.level;
    if (entry.capacity != 0) {
        row.barUpper = entry.capacity;
        row.maximum = std::to_string(entry.capacity);
        row.maximum += ' ';
        row.maximum += unit;
        percent = static_cast<long long>(entry.level) * 100 / entry.capacity;
    } else {
        row.barUpper = 100;
        row.maximum = unit;
    }
    row.value = std::to_string(percent) + "%";
    row.barPos = entry.level;
    return row;
}

CConsumables::CConsumables()
    : ui::PropertyPage(IDD), scalars_(net::ScalarTable()), columns_(net::ColumnTable()) {}

void CConsumables::DoDataExchange(ui::DataExchange& dx) {
    for (int row = 0; row < kSupplyRowCount; ++row)
        dx.Control(IDC_SUPPLY_BAR_0 + row, bars_[static_cast<std::size_t>(row)]);
}

bool CConsumables::OnInitDialog() {
    ui::PropertyPage::OnInitDialog();
    ui::SetContextHelpIds(*this, ContextHelpIds(IDD_CONSUMABLES));
    scalars_ = net::ScalarTable();
    columns_ = net::ColumnTable();
    entries_ = {};
    return true;
}

bool CConsumables::OnSetActive() {
    Refresh();
    return ui::PropertyPage::OnSetActive();
}

ui::MessageMap CConsumables::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnClicked(IDC_SUPPLIES_REFRESH, &CConsumables::OnRefresh),
        ui::OnClicked(IDC_SUPPLIES_SHOP, &CConsumables::OnShop),
    };
    return entries;
}

void CConsumables::OnRefresh() {
    Refresh();
}

void CConsumables::OnShop() {
    // The shop's address lives in one place: the button's caption.
    OpenWebPage(platform::registry(), platform::launcher(), GetDlgItemText(IDC_SUPPLIES_SHOP),
                platform::kShowNormal);
}

void CConsumables::Refresh() {
    Query();
    Display();
}

void CConsumables::Query() {
    app::PrinterSettingsBlock& settings = app::TheApp().settings;
    std::string address = settings.printerAddress();
    if (address.empty()) {
        // The resolved address is kept in the block (empty when the lookup fails); the port
        // name found on the way is not the page's to change.
        std::string portName;
        net::lookupPrinterAddress(platform::registry(), settings.printerName(), &address,
                                  &portName);
        settings.setPrinterAddress(address);
    }
    const std::string community = settings.snmpCommunity();
    if (community.empty() || address.empty())
        return; // the tables keep what they hold
    // The display reads only the tables: a failed query has left the scalar rows at -1.
    ui::WaitCursor wait;
    net::snmpGetScalars(community, address, scalars_.data(), snmpOptions_);
    net::snmpWalkSupplies(community, address, columns_.data(), &entries_, snmpOptions_);
}

void CConsumables::ShowRow(int row, bool show) {
    for (int first : {IDC_SUPPLY_NAME_0, IDC_SUPPLY_VALUE_0, IDC_SUPPLY_BAR_0, IDC_SUPPLY_MAX_0})
        GetDlgItem(first + row).ShowWindow(show);
}

void CConsumables::FillRow(int row, const net::ComponentEntry& entry) {
    const SupplyRowTexts texts = SupplyRow(entry);
    const ui::ProgressBar& bar = bars_[static_cast<std::size_t>(row)];
    SetDlgItemText(IDC_SUPPLY_NAME_0 + row, EntryText(entry.name));
    bar.SetRange(texts.barLower, texts.barUpper);
    SetDlgItemText(IDC_SUPPLY_MAX_0 + row, texts.maximum);
    SetDlgItemText(IDC_SUPPLY_VALUE_0 + row, texts.value);
    bar.SetPos(texts.barPos);
}

void CConsumables::FitNameLabels(int headingRow) const {
    for (int first = 0; first < kSupplyRowCount; first += kSupplyRowsPerColumn) {
        // The labels of a column share their width; at most one of them spans its row.
        int labelRight = std::numeric_limits<int>::max();
        for (int row = first; row < first + kSupplyRowsPerColumn; ++row)
            labelRight =
                std::min(labelRight,
                         ScreenToClient(GetDlgItem(IDC_SUPPLY_NAME_0 + row).GetWindowRect()).right);
        for (int row = first; row < first + kSupplyRowsPerColumn; ++row) {
            const ui::Window label = GetDlgItem(IDC_SUPPLY_NAME_0 + row);
            ui::Rect rect = ScreenToClient(label.GetWindowRect());
            const int right =
                row == headingRow
                    ? ScreenToClient(GetDlgItem(IDC_SUPPLY_MAX_0 + row).GetWindowRect()).right
                    : labelRight;
            if (rect.right != right) {
                rect.right = right;
                label.MoveWindow(rect);
            }
        }
    }
}

void CConsumables::Display() {
    const app::PrinterSettingsBlock& settings = app::TheApp().settings;
    const ui::Window title = GetDlgItem(IDC_SUPPLIES_TITLE);
    title.SetWindowText(std::string(kTitlePrefix) + settings.printerName());
    title.ShowWindow(true);
    for (int row = 0; row < kSupplyRowCount; ++row)
        ShowRow(row, true);

    // The printer's component count, within the entries the walk can fill (-1: no answer).
    const int count =
        std::min<std::int32_t>(scalars_[net::kScalarRowComponentCount].value, kSupplyRowCount);
    const std::size_t entryCount = count > 0 ? static_cast<std::size_t>(count) : 0;
    int row = 0;
    int headingRow = -1; // the row that carries the maintenance heading

    bool tonerShown = false;
    for (std::size_t j = 0; j < entryCount; ++j) {
        if (!IsShownToner(entries_[j]))
            continue;
        SetDlgItemText(IDC_SUPPLIES_HEADING,
                       settings.colorDevice() != 0 ? kTonersHeading : kTonerHeading);
        FillRow(row++, entries_[j]);
        tonerShown = true;
    }

    bool maintenanceShown = false;
    for (std::size_t j = 0; j < entryCount && row < kSupplyRowCount; ++j) {
        if (!IsShownMaintenanceItem(entries_[j]))
            continue;
        if (!maintenanceShown) {
            if (!tonerShown) {
                SetDlgItemText(IDC_SUPPLIES_HEADING, kMaintenanceHeading);
            } else {
                // Below the toners the heading takes a row of its own, and only when an item
                // still fits under it.
                if (row + 1 >= kSupplyRowCount)
                    break;
                SetDlgItemText(IDC_SUPPLY_NAME_0 + row, kMaintenanceHeading);
                for (int first : {IDC_SUPPLY_VALUE_0, IDC_SUPPLY_BAR_0, IDC_SUPPLY_MAX_0})
                    GetDlgItem(first + row).ShowWindow(false);
                headingRow = row++;
            }
        }
        FillRow(row++, entries_[j]);
        maintenanceShown = true;
    }

    if (!tonerShown && !maintenanceShown) {
        SetDlgItemText(IDC_SUPPLIES_HEADING, kUnavailableHeading);
        title.ShowWindow(false);
    }
    for (; row < kSupplyRowCount; ++row)
        ShowRow(row, false);
    FitNameLabels(headingRow);
}

} // namespace pages
