#pragma once
// The Settings page ("Nastavenie", device properties only): the printer's installable options
// in two lists, available and installed, whose flags in the live block the user may move by
// hand only when the printer did not answer at start-up (otherwise they come from the printer
// and the lists are disabled); a line telling whether two-way communication with the printer
// works, from a query of its own when the page is first shown; and the accounting data: the
// author, always the logged-on user, and the host and series number the user types. Leaving
// the page pairs the second optional tray with the first.
#include <cstdint>
#include <string_view>

#include "app/settings_block.h"
#include "net/snmp_client.h"
#include "res/resource.h"
#include "ui/dialog.h"
#include "ui/window.h"

namespace pages {

// The two-way communication check.
enum CommunicationStatus : int {
    kCommunicationChecking = 0,
    kCommunicationAvailable = 1,
    kCommunicationUnavailable = 2,
};

// The status line's text (code page 1250); any status but the first two is "not available".
std::string_view CommunicationStatusText(int status);

// Whether the available option of feature `keyword` may be added by hand: the hard disk
// ("OptionalDisk") always, any other option only while none of the first three optional trays
// is installed.
bool CanAddInstallableOption(std::string_view keyword, const app::PrinterSettingsBlock& block);

class CSettings : public ui::PropertyPage {
public:
    enum { IDD = IDD_SETTINGS };
    CSettings();

    // Where the check's queries go; the program uses the defaults (port 161). For tests.
    void SetSnmpOptions(const net::SnmpOptions& options) { snmpOptions_ = options; }

    // The result of the two-way communication check.
    int Status() const { return status_; }

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    ui::MessageMap GetMessageMap() const override;

private:
    void OnRemove();
    void OnAdd();
    void OnAvailableSelected();
    void OnInstalledSelected();
    void OnAuthorLeft();
    void OnHostLeft();
    void OnSeriesLeft();

    // Both lists from the PPD's installable features and the block's flags; the lists are
    // disabled when the printer answered at start-up.
    void FillOptionLists();
    // Moves the selected entry of `from` to `to` and sets its flag to `installed`; false when
    // `from` has no selection.
    bool MoveSelectedOption(const ui::ListBox& from, const ui::ListBox& to, std::uint8_t installed);
    // Queries the printer (when its address is known) and shows the result.
    void CheckTwoWayCommunication();
    // The logged-on user becomes the author; the field is kept when the name cannot be read.
    void ReadAuthor();
    // The three accounting edits' texts into their fields.
    void StoreAccountingTexts();
    // Stores the edit's text through `set` when it differs from what `get` reads.
    void StoreIfChanged(const ui::Edit& edit, std::string (app::PrinterSettingsBlock::*get)() const,
                        bool (app::PrinterSettingsBlock::*set)(std::string_view));

    net::SnmpScalarTable scalars_;
    net::SnmpColumnTable columns_;
    net::ComponentEntries entries_{};
    int status_ = kCommunicationUnavailable;
    net::SnmpOptions snmpOptions_;

    ui::Edit host_;
    ui::Edit series_;
    ui::Edit author_;
    ui::Edit portName_;
    ui::Static statusText_;
    ui::Button remove_;
    ui::Button add_;
    ui::ListBox installed_;
    ui::ListBox available_;
};

} // namespace pages
