#include "pages/overlay/overlay_page.h"

#include <charconv>
#include <utility>

#include "app/config_app.h"
#include "app/option_tables.h"
#include "app/text_helpers.h"
#include "pages/overlay/watermark_editor_dialog.h"
#include "pages/overlay/watermark_profile_store.h"
#include "pages/overlay/watermark_reset.h"
#include "pages/shared/context_help.h"
#include "pages/shared/download_manager.h"
#include "pages/shared/out_of_range_message.h"
#include "platform/registry.h"
#include "ui/data_exchange.h"
#include "ui/services.h"

namespace pages {
namespace {

// The longest overlay file name the edits take (8.3 with its dot).
constexpr int kOverlayNameLength = 12;

// The slots in the order the page checks them when it is left; the cyclic one comes after
// the numbers it uses.
constexpr int kCheckedBeforeNumbers[] = {app::kOverlayAllPages, app::kOverlayFirstPage,
                                         app::kOverlayOddPages, app::kOverlayEvenPages};

constexpr int kCyclicNumberControls[] = {IDC_OVERLAY_CYCLE_FIRST, IDC_OVERLAY_CYCLE_FIRST_SPIN,
                                         IDC_OVERLAY_CYCLE_PERIOD, IDC_OVERLAY_CYCLE_PERIOD_SPIN};
constexpr int kNumberEdits[] = {IDC_OVERLAY_CYCLE_FIRST, IDC_OVERLAY_CYCLE_PERIOD};

app::PrinterSettingsBlock& TheBlock() {
    return app::TheApp().settings;
}

// A lost focus that goes nowhere, or to OK or Cancel, is not the user moving on to another
// field: the page's deactivation or the sheet's end does the checks then.
bool FocusLeavesForTheSheet() {
    const int focused = ui::FocusedControlId();
    return focused == 0 || focused == ui::kIdOk || focused == ui::kIdCancel;
}

} // namespace

int OverlaySlotOfControl(int controlId) {
    for (int slot = 0; slot < app::kOverlaySlotCount; ++slot) {
        const OverlaySlotControls& c = kOverlaySlotControls[static_cast<std::size_t>(slot)];
        if (controlId == c.check || controlId == c.name || controlId == c.device)
            return slot;
    }
    return -1;
}

std::optional<int> CyclicNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text.front() == '-' || error != std::errc() ||
        end != text.data() + text.size() || value < kCyclicLow || value > kCyclicHigh)
        return std::nullopt;
    return value;
}

void COverlay::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_OVERLAY_CYCLE_FIRST_SPIN, firstPageSpin_);
    dx.Control(IDC_OVERLAY_CYCLE_PERIOD_SPIN, periodSpin_);
    dx.Control(IDC_WATERMARK_LIST, watermarks_);
    for (std::size_t slot = 0; slot < devices_.size(); ++slot)
        dx.Control(kOverlaySlotControls[slot].device, devices_[slot]);
}

ui::MessageMap COverlay::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnClicked(IDC_OVERLAY_ALL_ENABLE, &COverlay::OnSlotEnabled),
        ui::OnClicked(IDC_OVERLAY_FIRST_ENABLE, &COverlay::OnSlotEnabled),
        ui::OnClicked(IDC_OVERLAY_EVEN_ENABLE, &COverlay::OnSlotEnabled),
        ui::OnClicked(IDC_OVERLAY_ODD_ENABLE, &COverlay::OnSlotEnabled),
        ui::OnClicked(IDC_OVERLAY_CYCLIC_ENABLE, &COverlay::OnSlotEnabled),
        ui::OnChoice(IDC_OVERLAY_ALL_DEVICE, &COverlay::OnDeviceChosen),
        ui::OnChoice(IDC_OVERLAY_FIRST_DEVICE, &COverlay::OnDeviceChosen),
        ui::OnChoice(IDC_OVERLAY_EVEN_DEVICE, &COverlay::OnDeviceChosen),
        ui::OnChoice(IDC_OVERLAY_ODD_DEVICE, &COverlay::OnDeviceChosen),
        ui::OnChoice(IDC_OVERLAY_CYCLIC_DEVICE, &COverlay::OnDeviceChosen),
        ui::OnEditKillFocus(IDC_OVERLAY_ALL_NAME, &COverlay::OnNameKillFocus),
        ui::OnEditKillFocus(IDC_OVERLAY_FIRST_NAME, &COverlay::OnNameKillFocus),
        ui::OnEditKillFocus(IDC_OVERLAY_EVEN_NAME, &COverlay::OnNameKillFocus),
        ui::OnEditKillFocus(IDC_OVERLAY_ODD_NAME, &COverlay::OnNameKillFocus),
        ui::OnEditKillFocus(IDC_OVERLAY_CYCLIC_NAME, &COverlay::OnNameKillFocus),
        ui::OnEditChange(IDC_OVERLAY_CYCLE_FIRST, &COverlay::OnNumberChanged),
        ui::OnEditChange(IDC_OVERLAY_CYCLE_PERIOD, &COverlay::OnNumberChanged),
        ui::OnEditKillFocus(IDC_OVERLAY_CYCLE_FIRST, &COverlay::OnNumberKillFocus),
        ui::OnEditKillFocus(IDC_OVERLAY_CYCLE_PERIOD, &COverlay::OnNumberKillFocus),
        ui::OnChoice(IDC_WATERMARK_LIST, &COverlay::OnWatermarkChosen),
        ui::OnClicked(IDC_WATERMARK_FIRST_PAGE_ONLY, &COverlay::OnFirstPageOnly),
        ui::OnClicked(IDC_WATERMARK_EDIT, &COverlay::OnEditWatermark),
        ui::OnClicked(IDC_WATERMARK_ADD, &COverlay::OnAddWatermark),
        ui::OnClicked(IDC_WATERMARK_DELETE, &COverlay::OnDeleteWatermark),
        ui::OnClicked(IDC_OVERLAY_DOWNLOAD_MANAGER, &COverlay::OnDownloadManager),
    };
    return entries;
}

bool COverlay::OnInitDialog() {
    ui::PropertyPage::OnInitDialog();
    ui::SetContextHelpIds(*this, ContextHelpIds(IDD_OVERLAY));
    Load();
    return true;
}

bool COverlay::OnSetActive() {
    Load();
    return ui::PropertyPage::OnSetActive();
}

void COverlay::Load() {
    loading_ = true;
    for (int slot = 0; slot < app::kOverlaySlotCount; ++slot) {
        const OverlaySlotControls& controls = kOverlaySlotControls[static_cast<std::size_t>(slot)];
        ui::Edit(GetDlgItem(controls.name).GetHandle()).LimitText(kOverlayNameLength);
        ShowSlot(slot);
    }
    EnableOverlayControls();
    LoadWatermarkGroup();
    for (const ui::SpinButton* spin : {&firstPageSpin_, &periodSpin_}) {
        spin->SetRange(kCyclicLow, kCyclicHigh);
        spin->SetAccel({{0, 1}});
    }
    loading_ = false;
}

void COverlay::ShowSlot(int slot) {
    const bool wasLoading = std::exchange(loading_, true);
    const app::PrinterSettingsBlock& block = TheBlock();
    const auto index = static_cast<std::size_t>(slot);
    const OverlaySlotControls& controls = kOverlaySlotControls[index];
    const app::OverlaySlot stored = block.overlaySlot(slot);
    devices_[index].ResetContent();
    devices_[index].FillFromTable(app::StorageDeviceNames, stored.device());
    CheckDlgButton(controls.check, stored.enabled() != 0 ? ui::kChecked : ui::kUnchecked);
    // A device the table lacks cannot be shown. A slot that cannot be edited sends it back as
    // it came, so its list shows no entry rather than another device; an editable slot sends
    // the entry shown.
    if (devices_[index].SelectedCode() != stored.device() && !SlotEditable(slot))
        devices_[index].SetCurSel(-1);
    SetDlgItemText(controls.name, stored.fileName());
    // What is shown is the block's: nothing of it has been reported yet.
    if (reportedNameId_ == controls.name)
        reportedNameId_ = 0;
    if (slot == app::kOverlayCyclic) {
        SetDlgItemInt(IDC_OVERLAY_CYCLE_PERIOD, block.overlayCyclicPeriod());
        SetDlgItemInt(IDC_OVERLAY_CYCLE_FIRST, block.overlayCyclicFirstPage());
        numberReported_ = {};
    }
    loading_ = wasLoading;
}

bool COverlay::DiskInstalled() const {
    return TheBlock().diskInstalled() != 0;
}

bool COverlay::SlotEditable(int slot) const {
    const OverlaySlotControls& controls = kOverlaySlotControls[static_cast<std::size_t>(slot)];
    return DiskInstalled() && IsDlgButtonChecked(controls.check) == ui::kChecked;
}

void COverlay::EnableOverlayControls() {
    for (int slot = 0; slot < app::kOverlaySlotCount; ++slot) {
        const OverlaySlotControls& controls = kOverlaySlotControls[static_cast<std::size_t>(slot)];
        GetDlgItem(controls.check).EnableWindow(DiskInstalled());
        GetDlgItem(controls.name).EnableWindow(SlotEditable(slot));
        GetDlgItem(controls.device).EnableWindow(SlotEditable(slot));
    }
    for (const int id : kCyclicNumberControls)
        GetDlgItem(id).EnableWindow(SlotEditable(app::kOverlayCyclic));
}

void COverlay::OnSlotEnabled(int id) {
    const int slot = OverlaySlotOfControl(id);
    if (slot < 0)
        return;
    TheBlock().setOverlayEnabled(slot, IsDlgButtonChecked(id) == ui::kChecked ? 1 : 0);
    // The slot shows its fields as they will be sent: an unchecked slot's name, device and
    // numbers go back as they came (whatever was typed and refused is dropped), and the record
    // written keeps its name inside the field.
    ShowSlot(slot);
    EnableOverlayControls();
}

void COverlay::OnDeviceChosen(int id) {
    const int slot = OverlaySlotOfControl(id);
    if (slot < 0)
        return;
    const app::OptionComboBox& list = devices_[static_cast<std::size_t>(slot)];
    if (list.GetCurSel() >= 0)
        TheBlock().setOverlayDevice(slot, static_cast<std::int16_t>(list.SelectedCode()));
}

bool COverlay::CheckName(int id, const std::string& name) {
    // A name longer than the field (a driver's, with a folder before an 8.3 name) would be cut
    // into another: it is refused as a name that breaks the rule.
    if (app::IsDosFileName(name) && name.size() <= static_cast<std::size_t>(kOverlayNameLength)) {
        if (reportedNameId_ == id)
            reportedNameId_ = 0;
        return true;
    }
    if (reportedNameId_ != id || reportedName_ != name) {
        MessageBox(kOverlayNameMessage, ui::kMbOk | ui::kMbTaskModal);
        reportedNameId_ = id;
        reportedName_ = name;
    }
    ReturnFocusTo(id);
    return false;
}

void COverlay::ReturnFocusTo(int id) {
    const bool returning = returningFocus_;
    returningFocus_ = true;
    GotoDlgCtrl(id);
    returningFocus_ = returning;
}

bool COverlay::StoreSlot(int slot) {
    app::PrinterSettingsBlock& block = TheBlock();
    const auto index = static_cast<std::size_t>(slot);
    const OverlaySlotControls& controls = kOverlaySlotControls[index];
    const bool enabled = IsDlgButtonChecked(controls.check) == ui::kChecked;
    block.setOverlayEnabled(slot, enabled ? 1 : 0);
    if (!enabled)
        return true; // the name edit and the device list are disabled: carried as they came
    const std::string name = GetDlgItemText(controls.name);
    if (!CheckName(controls.name, name))
        return false;
    block.setOverlayFileName(slot, name);
    const app::OptionComboBox& device = devices_[index];
    if (device.GetCurSel() >= 0)
        block.setOverlayDevice(slot, static_cast<std::int16_t>(device.SelectedCode()));
    if (name.empty()) {
        // A checked slot without a name is no overlay; the page shows it cleared.
        block.setOverlayEnabled(slot, 0);
        block.setOverlayDevice(slot, 0);
        if (slot == app::kOverlayCyclic) {
            block.setOverlayCyclicFirstPage(1);
            block.setOverlayCyclicPeriod(1);
        }
        ShowSlot(slot);
        EnableOverlayControls();
    }
    return true;
}

void COverlay::OnNameKillFocus(int id) {
    if (loading_ || returningFocus_ || FocusLeavesForTheSheet())
        return;
    const int slot = OverlaySlotOfControl(id);
    if (slot < 0)
        return;
    const std::string name = GetDlgItemText(id);
    if (CheckName(id, name))
        TheBlock().setOverlayFileName(slot, name);
}

bool COverlay::CheckNumberField(NumberField field) {
    const auto index = static_cast<std::size_t>(field);
    const int id = kNumberEdits[field];
    bool& reported = numberReported_[index];
    if (const std::optional<int> value = CyclicNumber(GetDlgItemText(id))) {
        reported = false;
        const auto stored = static_cast<std::int16_t>(*value);
        if (field == kFirstPageField)
            TheBlock().setOverlayCyclicFirstPage(stored);
        else
            TheBlock().setOverlayCyclicPeriod(stored);
        return true;
    }
    if (!reported) {
        MessageBox(OutOfRangeMessage(kCyclicLow, kCyclicHigh), ui::kMbOk | ui::kMbTaskModal);
        reported = true;
    }
    ReturnFocusTo(id);
    return false;
}

void COverlay::OnNumberChanged(int id) {
    if (loading_)
        return;
    CheckNumberField(id == IDC_OVERLAY_CYCLE_FIRST ? kFirstPageField : kPeriodField);
}

// Both numbers are checked and stored, and the cyclic slot takes its check box. A checked slot
// whose name is empty is not cleared here, behind controls that still show it: the user may be
// on the way to typing a new name. Leaving the page clears it, and shows that.
void COverlay::OnNumberKillFocus(int) {
    if (loading_ || returningFocus_ || FocusLeavesForTheSheet())
        return;
    if (!CheckNumberField(kFirstPageField) || !CheckNumberField(kPeriodField))
        return;
    const bool cyclic = IsDlgButtonChecked(IDC_OVERLAY_CYCLIC_ENABLE) == ui::kChecked;
    TheBlock().setOverlayEnabled(app::kOverlayCyclic, cyclic ? 1 : 0);
}

bool COverlay::OnKillActive() {
    // Every enabled field is checked, as the driver sent it or as the user left it, and stored
    // as shown. Without the disk every overlay control is disabled: the overlay fields go back
    // as they came.
    if (DiskInstalled()) {
        for (const int slot : kCheckedBeforeNumbers) {
            if (!StoreSlot(slot))
                return false;
        }
        // The numbers are used, and editable, only with the cyclic slot checked.
        if (SlotEditable(app::kOverlayCyclic) &&
            (!CheckNumberField(kFirstPageField) || !CheckNumberField(kPeriodField)))
            return false;
        if (!StoreSlot(app::kOverlayCyclic))
            return false;
    }
    OnFirstPageOnly();
    return ui::PropertyPage::OnKillActive();
}

// ---- watermark ----------------------------------------------------------------------------

void COverlay::LoadWatermarkGroup() {
    app::PrinterSettingsBlock& block = TheBlock();
    if (block.watermarkName().empty())
        block.setWatermarkName(kNoWatermarkName);
    FillWatermarkList(watermarks_, block.printerName());
    SelectWatermarkByName();
    CheckDlgButton(IDC_WATERMARK_FIRST_PAGE_ONLY,
                   block.watermarkFirstPageOnly() != 0 ? ui::kChecked : ui::kUnchecked);
    SyncWatermarkSelection();
}

void COverlay::FallBackToNoWatermark() {
    app::PrinterSettingsBlock& block = TheBlock();
    block.setWatermarkName(kNoWatermarkName);
    // The driver is never told to print a watermark the list does not offer; a watermark not
    // yet chosen is settled by the synchronisation.
    if (block.watermarkCode() != kUnchosenWatermarkCode)
        block.setWatermarkCode(kNoWatermarkCode);
    watermarks_.SetCurSel(watermarks_.FindStringExact(-1, kNoWatermarkName));
}

void COverlay::SelectWatermarkByName() {
    const int index = watermarks_.FindStringExact(-1, TheBlock().watermarkName());
    if (index == ui::kListError)
        FallBackToNoWatermark();
    else
        watermarks_.SetCurSel(index);
}

void COverlay::SyncWatermarkSelection() {
    app::PrinterSettingsBlock& block = TheBlock();
    const std::int16_t code = block.watermarkCode();
    if (code == kUnchosenWatermarkCode) {
        block.setWatermarkName(kNoWatermarkName);
        watermarks_.SetCurSel(watermarks_.FindStringExact(-1, kNoWatermarkName));
        block.setWatermarkCode(kNoWatermarkCode);
    } else {
        const bool predefinedCode = code >= 1 && code < kStoredWatermarkCode;
        if (!predefinedCode) {
            // A stored profile, or a code the list does not know: the name decides.
            const int predefined = PredefinedWatermarkCode(block.watermarkName());
            block.setWatermarkCode(predefined != 0 ? static_cast<std::int16_t>(predefined)
                                                   : kStoredWatermarkCode);
            SelectWatermarkByName();
        }
        // A predefined watermark without a stored profile prints its own name.
        if (!LoadWatermarkProfile(block, editorMode_))
            block.setWatermarkText(block.watermarkName());
        if (predefinedCode) {
            for (int i = 0; i < watermarks_.GetCount(); ++i) {
                if (watermarks_.GetItemData(i) == code) {
                    watermarks_.SetCurSel(i);
                    break;
                }
            }
        }
    }
    const std::string name = block.watermarkName();
    GetDlgItem(IDC_WATERMARK_EDIT).EnableWindow(name != kNoWatermarkName);
    GetDlgItem(IDC_WATERMARK_DELETE).EnableWindow(!IsPredefinedWatermark(name));
}

void COverlay::OnWatermarkChosen() {
    const int index = watermarks_.GetCurSel();
    if (index < 0)
        return;
    app::PrinterSettingsBlock& block = TheBlock();
    const std::string name = CutWatermarkName(watermarks_.GetItemText(index));
    block.setWatermarkName(name);
    const int predefined = PredefinedWatermarkCode(name);
    block.setWatermarkCode(predefined != 0 ? static_cast<std::int16_t>(predefined)
                                           : kStoredWatermarkCode);
    SyncWatermarkSelection();
}

void COverlay::OnFirstPageOnly() {
    TheBlock().setWatermarkFirstPageOnly(
        IsDlgButtonChecked(IDC_WATERMARK_FIRST_PAGE_ONLY) == ui::kChecked ? 1 : 0);
}

void COverlay::RunWatermarkEditor(int mode) {
    app::PrinterSettingsBlock& block = TheBlock();
    editorMode_ = mode;
    const app::WatermarkProfile saved = block.watermarkProfile();
    if (mode == kWatermarkAdding) {
        block.setWatermarkName(kDefaultWatermarkText);
        ResetWatermarkAttributes(block, mode);
    }
    CWatermarkEditorDialog editor(mode, this);
    if (editor.DoModal() == ui::kIdOk) {
        FillWatermarkList(watermarks_, block.printerName());
        if (mode == kWatermarkAdding) {
            const int predefined = PredefinedWatermarkCode(block.watermarkName());
            block.setWatermarkCode(predefined != 0 ? static_cast<std::int16_t>(predefined)
                                                   : kStoredWatermarkCode);
        }
    } else {
        block.setWatermarkProfile(saved);
    }
    SelectWatermarkByName();
    SyncWatermarkSelection();
}

void COverlay::OnEditWatermark() {
    RunWatermarkEditor(kWatermarkEditing);
}

void COverlay::OnAddWatermark() {
    RunWatermarkEditor(kWatermarkAdding);
}

void COverlay::OnDeleteWatermark() {
    app::PrinterSettingsBlock& block = TheBlock();
    const std::string name = block.watermarkName();
    if (DeleteWatermarkProfile(block.printerName(), name) == platform::kRegistryOk) {
        const int index = watermarks_.FindStringExact(-1, name);
        if (index != ui::kListError)
            watermarks_.DeleteString(index);
    }
    block.setWatermarkName(kNoWatermarkName);
    block.setWatermarkCode(kNoWatermarkCode);
    watermarks_.SetCurSel(0);
    SyncWatermarkSelection();
}

void COverlay::OnDownloadManager() {
    LaunchDownloadManager(kLoadOverlays);
}

} // namespace pages
