#pragma once
// The Overlay page ("Pretlač"): the five form overlays of the live settings block (all pages,
// first page, even pages, odd pages, and a cyclic one from a first page every so many pages),
// each an 8.3 file name on a storage device of the printer, and the watermark: a predefined
// one or a stored profile, printed on the first page only or on all, added, edited and deleted
// through the watermark editor. A button starts the download manager to load overlays.
//
// The overlay controls are usable only with the printer's disk installed (`diskInstalled`).
// Check boxes, device lists, the watermark list and its check box write the block at once;
// file names and the cyclic numbers are written when their checks pass and at the latest when
// the page is left. What a handler writes, the page shows at once. Leaving checks every enabled
// name and number, whether the user edited it or the driver sent it so, refuses while one
// fails, and stores every enabled control as it shows; disabled controls are neither checked
// nor read, so their fields go back as they came. Everything is reloaded from the block on each
// activation, without any message.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "app/option_combo_box.h"
#include "app/settings_block.h"
#include "pages/overlay/watermark_reset.h"
#include "res/resource.h"
#include "ui/dialog.h"

namespace pages {

// The controls of one overlay slot, in block order (OverlaySlotIndex).
struct OverlaySlotControls {
    int check;
    int name;
    int device;
};
inline constexpr std::array<OverlaySlotControls, app::kOverlaySlotCount> kOverlaySlotControls = {{
    {IDC_OVERLAY_ALL_ENABLE, IDC_OVERLAY_ALL_NAME, IDC_OVERLAY_ALL_DEVICE},
    {IDC_OVERLAY_FIRST_ENABLE, IDC_OVERLAY_FIRST_NAME, IDC_OVERLAY_FIRST_DEVICE},
    {IDC_OVERLAY_EVEN_ENABLE, IDC_OVERLAY_EVEN_NAME, IDC_OVERLAY_EVEN_DEVICE},
    {IDC_OVERLAY_ODD_ENABLE, IDC_OVERLAY_ODD_NAME, IDC_OVERLAY_ODD_DEVICE},
    {IDC_OVERLAY_CYCLIC_ENABLE, IDC_OVERLAY_CYCLIC_NAME, IDC_OVERLAY_CYCLIC_DEVICE},
}};
// The slot whose check box, name edit or device list has `controlId`; -1 for other controls.
int OverlaySlotOfControl(int controlId);

// "Názov súboru pretlače musí zachovať konvenciu DOS (8.3).\n Zadajte ho znovu."
inline constexpr char kOverlayNameMessage[] =
    "N\xE1zov s\xFA"
    "boru pretla\xE8"
    "e mus\xED zachova\x9D konvenciu DOS (8.3).\n Zadajte ho znovu.";

// The first page and the period of the cyclic overlay: 1 to 99.
inline constexpr int kCyclicLow = 1;
inline constexpr int kCyclicHigh = 99;
// The number a cyclic field's text holds when it is a whole decimal number from 1 to 99.
std::optional<int> CyclicNumber(std::string_view text);

class COverlay : public ui::PropertyPage, public WatermarkEditorModeSource {
public:
    enum { IDD = IDD_OVERLAY };
    COverlay() : ui::PropertyPage(IDD) {}

    int WatermarkEditorMode() const override { return editorMode_; }

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    ui::MessageMap GetMessageMap() const override;

private:
    enum NumberField { kFirstPageField = 0, kPeriodField = 1 };

    void Load();
    // Shows the slot's block fields in its controls (for the cyclic slot, the numbers too),
    // without any check or message.
    void ShowSlot(int slot);
    void EnableOverlayControls();
    void LoadWatermarkGroup();
    void SyncWatermarkSelection();
    // Selects the entry named `watermarkName`; without one, falls back to "Žiadny" in the
    // list and the block (name and code).
    void SelectWatermarkByName();
    void FallBackToNoWatermark();
    // Runs the editor in `mode` on a copy of the record; the record comes back unless it ends
    // with OK.
    void RunWatermarkEditor(int mode);

    void OnSlotEnabled(int id);
    void OnDeviceChosen(int id);
    void OnNameKillFocus(int id);
    void OnNumberChanged(int id);
    void OnNumberKillFocus(int id);
    void OnWatermarkChosen();
    void OnFirstPageOnly();
    void OnEditWatermark();
    void OnAddWatermark();
    void OnDeleteWatermark();
    void OnDownloadManager();

    bool DiskInstalled() const;
    bool SlotEditable(int slot) const;
    // The 8.3 check of a name edit's text; refuses with the 8.3 message (once per failed
    // entry) and the focus in the edit.
    bool CheckName(int id, const std::string& name);
    // Puts the focus back into a field that failed its check. The field the focus leaves on the
    // way is not checked meanwhile: two fields in error would pull the focus from each other
    // without end.
    void ReturnFocusTo(int id);
    // Stores the slot's check box and, when checked, its name after CheckName and the device
    // it shows; an empty name clears the slot (for the cyclic one, both numbers become 1) and
    // shows it cleared.
    bool StoreSlot(int slot);
    // Checks the cyclic number the field shows and stores it; refuses with the range message
    // (once per failed entry) and the focus in the field.
    bool CheckNumberField(NumberField field);

    std::array<app::OptionComboBox, app::kOverlaySlotCount> devices_;
    ui::ComboBox watermarks_;
    ui::SpinButton firstPageSpin_;
    ui::SpinButton periodSpin_;

    // Set while the controls are loaded: the checks keep quiet then.
    bool loading_ = true;
    bool returningFocus_ = false; // a failed check is moving the focus back (ReturnFocusTo)
    // The failures already reported, so that one failed entry gives one message whichever
    // check finds it: the name edit and its text, and each number field until it passes.
    int reportedNameId_ = 0;
    std::string reportedName_;
    std::array<bool, 2> numberReported_{};
    // The last editor run's mode (1 adding, 2 editing; 0 before any); read by the editor and
    // the attribute resets, the About page's too.
    int editorMode_ = kWatermarkNotEditing;
};

} // namespace pages
