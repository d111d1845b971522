#pragma once
// The Consumables page: the levels of the printer's toners and maintenance items, read from the
// printer over SNMP each time the page becomes current and when "Obnoviť" is pressed. The page
// changes nothing in the settings block but the printer's address, which it resolves from the
// printer's port when the block has none. A button opens the supplies web shop, whose address
// is the button's caption.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/snmp_client.h"
#include "res/resource.h"
#include "ui/dialog.h"
#include "ui/window.h"

namespace pages {

// 20 display rows, 0 to 9 in the left column and 10 to 19 in the right one; row k is made of
// the controls IDC_SUPPLY_NAME_0 + k, IDC_SUPPLY_VALUE_0 + k, IDC_SUPPLY_BAR_0 + k and
// IDC_SUPPLY_MAX_0 + k.
constexpr int kSupplyRowCount = 20;
constexpr int kSupplyRowsPerColumn = 10;
static_assert(kSupplyRowCount == static_cast<int>(net::kComponentEntryCount));

// What one row shows for a component.
struct SupplyRowTexts {
    std::string value;   // remaining quantity in per cent, with "%"
    std::string maximum; // maximum with its unit
    int barLower = 0;
    int barUpper = 0;
    int barPos = 0;
};
// A component's texts and bar. With a capacity the value is level * 100 / capacity, truncated
// toward zero (computed wide, so that large levels do not overflow). A capacity of 0 carries
// no maximum: the level is then taken as the per cent itself, the bar runs from 0 to 100 and
// the maximum text is the unit alone.
SupplyRowTexts SupplyRow(const net::ComponentEntry& entry);

class CConsumables : public ui::PropertyPage {
public:
    enum { IDD = IDD_CONSUMABLES };
    CConsumables();

    // Where the SNMP queries go; the program uses the defaults (port 161). For tests.
    void SetSnmpOptions(const net::SnmpOptions& options) { snmpOptions_ = options; }

    // The page's query tables, with the answers of the last query.
    const net::SnmpScalarTable& Scalars() const { return scalars_; }
    const net::ComponentEntries& Entries() const { return entries_; }

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    bool OnSetActive() override;
    ui::MessageMap GetMessageMap() const override;

private:
    void OnRefresh();
    void OnShop();

    // Resolves the address when needed, queries the printer and shows what the tables hold.
    void Refresh();
    void Query();
    void Display();
    void FillRow(int row, const net::ComponentEntry& entry);
    void ShowRow(int row, bool show);
    // The row that carries the maintenance heading (-1: none) has its value, bar and maximum
    // hidden: its label spans the row, so that the heading is not cut. Every other row's label
    // keeps the width of its column's labels.
    void FitNameLabels(int headingRow) const;

    net::SnmpScalarTable scalars_;
    net::SnmpColumnTable columns_;
    net::ComponentEntries entries_{};
    std::array<ui::ProgressBar, kSupplyRowCount> bars_;
    net::SnmpOptions snmpOptions_;
};

} // namespace pages
