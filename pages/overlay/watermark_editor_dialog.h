#pragma once
// The watermark editor ("Vodoznak"): name, text, TrueType font, style, size, angle, colour,
// intensity, background and position of the block's watermark record. The Overlay page opens
// it to add a watermark (kWatermarkAdding) or to edit the chosen one (kWatermarkEditing: the
// stored profile is loaded first and the name cannot be changed).
//
// The lists, check boxes and radio buttons write the record at once; the number edits are
// checked as the user types and stored by "Uložiť", which checks the name, the text and the
// five numbers in turn, stores them and the style and colour as their lists show them, and
// writes the profile only once the dialog is sure to close with OK. A refused write keeps the
// dialog open with the edits in the block. The Overlay page undoes a cancelled run with its own
// copy of the record.
#include <string>
#include <string_view>

#include "app/option_combo_box.h"
#include "app/settings_block.h"
#include "res/resource.h"
#include "ui/dialog.h"

namespace pages {

// Why "Uložiť" refuses a typed name.
enum class WatermarkNameProblem {
    None,
    Empty,      // nothing typed
    Predefined, // a predefined name (as typed or in upper case) while adding
    NamedNone,  // "Žiadny" in any letter case
};
// Checks in this order: empty; while not editing, the text as typed or its code page 1250
// upper case is one of WatermarkNames; its upper case is "ŽIADNY".
WatermarkNameProblem CheckWatermarkName(std::string_view typed, int editorMode);
// The message that refuses the name (code page 1250); empty for None.
std::string WatermarkNameMessage(WatermarkNameProblem problem);

inline constexpr char kWatermarkWithoutTextMessage[] =
    "Vodoznak bez zadan\xE9ho textu sa ned\xE1 ulo\x9Eit";
// Shown when the registry refuses the profile.
inline constexpr char kWatermarkNotStoredMessage[] =
    "Vodoznak sa ned\xE1 ulo\x9Ei\x9D do registra.";

// One number of the editor: its edit and spin, its range, and whether the live check lets a
// one-character value pass (so that typing the first digit of a valid number is not refused).
struct WatermarkNumberField {
    int editId;
    int spinId;
    int low;
    int high;
    bool lenient;
};
// The number at the start of `text` as the C library's atoi reads it (blanks, a sign, digits;
// 0 when there is none), held within the int range.
int LeadingInteger(std::string_view text);
// Whether the live check of `field` reports `text`: its leading number is out of range and,
// for a lenient field, written with more than one character.
bool LiveCheckReports(const WatermarkNumberField& field, std::string_view text);
// Whether the intensity applies: always on a monochrome printer, for black only on a colour
// one.
bool IntensityApplies(const app::PrinterSettingsBlock& block);

class CWatermarkEditorDialog : public ui::Dialog {
public:
    enum { IDD = IDD_WATERMARK_EDITOR };
    explicit CWatermarkEditorDialog(int editorMode, const ui::Window* parent = nullptr)
        : ui::Dialog(IDD, parent), editorMode_(editorMode) {}

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    ui::MessageMap GetMessageMap() const override;

private:
    // Shows the record: ranges, name, text, check box, position, numbers, fonts, style and
    // colour; then keeps the record for "Východiskové".
    void LoadControls();
    void FillFonts();
    void EnableIntensity();
    void EnableOffsets(bool enable);
    // The save steps; each shows its message and focuses its control when it refuses.
    bool StoreName();
    bool StoreText();
    bool StoreNumbers();
    // The style and colour as their lists show them (the colour only where its list is shown).
    void StoreLists();

    void OnFontChosen();
    void OnStyleChosen();
    void OnColorChosen();
    void OnCentre();
    void OnOffset();
    void OnBackground();
    void OnOutline();
    void OnDefaults();
    void OnHelp();
    void OnNumberChanged(int id);

    int editorMode_;
    // The live checks wait for the end of the initialisation and stay quiet while the
    // controls are loaded.
    bool initialised_ = false;
    bool loading_ = false;
    app::WatermarkProfile snapshot_;

    ui::ComboBox font_;
    app::OptionComboBox style_;
    app::OptionComboBox color_;
    // What the data exchange moves between the edits and the dialog.
    std::string name_;
    std::string text_;
    int size_ = 0;
    int angle_ = 0;
    int intensity_ = 0;
    int offsetX_ = 0;
    int offsetY_ = 0;
};

} // namespace pages
