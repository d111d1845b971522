#include "pages/overlay/watermark_editor_dialog.h"

#include <charconv>
#include <climits>
#include <cstdint>

#include "app/config_app.h"
#include "app/numeric_check.h"
#include "app/option_tables.h"
#include "app/text_helpers.h"
#include "pages/overlay/watermark_profile_store.h"
#include "pages/overlay/watermark_reset.h"
#include "pages/shared/context_help.h"
#include "pages/shared/out_of_range_message.h"
#include "platform/font_enumerator.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "ui/data_exchange.h"
#include "ui/services.h"

namespace pages {
namespace {

using Block = app::PrinterSettingsBlock;

constexpr char kDefaultWatermarkFont[] = "Courier New";

// The five numbers in the order "Uložiť" checks them, with the field each is stored in.
struct NumberRow {
    WatermarkNumberField field;
    void (Block::*store)(std::int16_t);
};
constexpr NumberRow kNumbers[] = {
    {{IDC_WM_SIZE, IDC_WM_SIZE_SPIN, 4, 350, true}, &Block::setWatermarkSize},
    {{IDC_WM_ANGLE, IDC_WM_ANGLE_SPIN, 0, 360, false}, &Block::setWatermarkAngle},
    {{IDC_WM_INTENSITY, IDC_WM_INTENSITY_SPIN, 0, 100, false}, &Block::setWatermarkIntensity},
    {{IDC_WM_OFFSET_X, IDC_WM_OFFSET_X_SPIN, -306, 306, true}, &Block::setWatermarkOffsetX},
    {{IDC_WM_OFFSET_Y, IDC_WM_OFFSET_Y_SPIN, -396, 396, true}, &Block::setWatermarkOffsetY},
};

constexpr int kIntensityControls[] = {IDC_WM_INTENSITY, IDC_WM_INTENSITY_SPIN,
                                      IDC_WM_INTENSITY_LABEL};
constexpr int kOffsetControls[] = {IDC_WM_OFFSET_X_LABEL, IDC_WM_OFFSET_X, IDC_WM_OFFSET_X_SPIN,
                                   IDC_WM_OFFSET_Y_LABEL, IDC_WM_OFFSET_Y, IDC_WM_OFFSET_Y_SPIN};

Block& TheBlock() {
    return app::TheApp().settings;
}

const NumberRow* NumberOf(int editId) {
    for (const NumberRow& row : kNumbers) {
        if (row.field.editId == editId)
            return &row;
    }
    return nullptr;
}

// The value of a text that passed the integer check; false when it does not fit an int.
bool ParseInteger(std::string_view text, int& value) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

WatermarkNameProblem CheckWatermarkName(std::string_view typed, int editorMode) {
    if (typed.empty())
        return WatermarkNameProblem::Empty;
    const std::string upper = UpperCaseName(typed);
    if (editorMode != kWatermarkEditing &&
        (IsPredefinedWatermark(typed) || IsPredefinedWatermark(upper)))
        return WatermarkNameProblem::Predefined;
    if (upper == UpperCaseName(kNoWatermarkName))
        return WatermarkNameProblem::NamedNone;
    return WatermarkNameProblem::None;
}

std::string WatermarkNameMessage(WatermarkNameProblem problem) {
    switch (problem) {
    case WatermarkNameProblem::Empty:
        return "Vodoznak bez n\xE1zvu sa ned\xE1 ulo\x9Ei\x9D";
    case WatermarkNameProblem::Predefined:
        return "Nedaj\xFA sa duplikova\x9D men\xE1 preddefinovan\xFD"
               "ch vodoznakov";
    case WatermarkNameProblem::NamedNone:
        return "Vodoznak nesmie ma\x9D n\xE1zov \x8Eiadny";
    case WatermarkNameProblem::None:
    default:
        return {};
    }
}

int LeadingInteger(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r')))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+'))
        negative = text[at++] == '-';
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1; // held: more digits change nothing
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    return static_cast<int>(value);
}

bool LiveCheckReports(const WatermarkNumberField& field, std::string_view text) {
    const int value = LeadingInteger(text);
    if (value >= field.low && value <= field.high)
        return false;
    return !field.lenient || std::to_string(value).size() > 1;
}

bool IntensityApplies(const app::PrinterSettingsBlock& block) {
    return block.colorDevice() == 0 || block.watermarkColor() == 0;
}

void CWatermarkEditorDialog::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_WM_FONT, font_);
    dx.Control(IDC_WM_STYLE, style_);
    dx.Control(IDC_WM_COLOR, color_);
    dx.Int(IDC_WM_ANGLE, angle_, 0, 360);
    dx.Int(IDC_WM_INTENSITY, intensity_, 0, 100);
    dx.Int(IDC_WM_OFFSET_X, offsetX_, -306, 306);
    dx.Int(IDC_WM_OFFSET_Y, offsetY_, -396, 396);
    dx.Int(IDC_WM_SIZE, size_, 4, 350);
    // The edits take as many characters as the block's fields hold: a longer name or text is
    // not cut behind the user's back, it cannot be typed.
    dx.Text(IDC_WM_NAME, name_, kMaxWatermarkNameLength);
    dx.Text(IDC_WM_TEXT, text_, kMaxWatermarkTextLength);
}

ui::MessageMap CWatermarkEditorDialog::GetMessageMap() const {
    using D = CWatermarkEditorDialog;
    static const ui::MessageEntry entries[] = {
        ui::OnEditChange(IDC_WM_ANGLE, &D::OnNumberChanged),
        ui::OnEditChange(IDC_WM_INTENSITY, &D::OnNumberChanged),
        ui::OnEditChange(IDC_WM_SIZE, &D::OnNumberChanged),
        ui::OnEditChange(IDC_WM_OFFSET_X, &D::OnNumberChanged),
        ui::OnEditChange(IDC_WM_OFFSET_Y, &D::OnNumberChanged),
        ui::OnChoice(IDC_WM_FONT, &D::OnFontChosen),
        ui::OnChoice(IDC_WM_STYLE, &D::OnStyleChosen),
        ui::OnChoice(IDC_WM_COLOR, &D::OnColorChosen),
        ui::OnClicked(IDC_WM_POSITION_CENTER, &D::OnCentre),
        ui::OnClicked(IDC_WM_POSITION_OFFSET, &D::OnOffset),
        ui::OnClicked(IDC_WM_BACKGROUND, &D::OnBackground),
        ui::OnClicked(IDC_WM_OUTLINE, &D::OnOutline),
        ui::OnClicked(IDC_WM_DEFAULTS, &D::OnDefaults),
        ui::OnClicked(IDC_WM_HELP, &D::OnHelp),
    };
    return entries;
}

bool CWatermarkEditorDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    ui::SetContextHelpIds(*this, ContextHelpIds(IDD_WATERMARK_EDITOR));
    Block& block = TheBlock();
    if (block.colorDevice() == 0) {
        // A monochrome printer prints the watermark in grey: no colour to choose.
        GetDlgItem(IDC_WM_COLOR).ShowWindow(false);
        GetDlgItem(IDC_WM_COLOR_LABEL).ShowWindow(false);
    }
    GetDlgItem(IDC_WM_OUTLINE).EnableWindow(false);
    if (editorMode_ == kWatermarkEditing)
        LoadWatermarkProfile(block, editorMode_);
    LoadControls();
    initialised_ = true;
    return true;
}

void CWatermarkEditorDialog::LoadControls() {
    loading_ = true;
    Block& block = TheBlock();
    for (const NumberRow& row : kNumbers) {
        const ui::SpinButton spin(GetDlgItem(row.field.spinId).GetHandle());
        spin.SetRange(row.field.low, row.field.high);
        spin.SetAccel({{0, 1}});
    }
    GetDlgItem(IDC_WM_NAME).EnableWindow(editorMode_ != kWatermarkEditing);
    name_ = block.watermarkName();
    text_ = block.watermarkText();
    angle_ = block.watermarkAngle();
    size_ = block.watermarkSize();
    intensity_ = block.watermarkIntensity();
    offsetX_ = block.watermarkOffsetX();
    offsetY_ = block.watermarkOffsetY();
    UpdateData(false);
    CheckDlgButton(IDC_WM_BACKGROUND,
                   block.watermarkBackground() != 0 ? ui::kChecked : ui::kUnchecked);
    CheckRadioButton(IDC_WM_POSITION_CENTER, IDC_WM_POSITION_OFFSET,
                     IDC_WM_POSITION_CENTER + block.watermarkPositionMode());
    EnableOffsets(block.watermarkPositionMode() == 1);
    FillFonts();
    style_.ResetContent();
    style_.FillFromTable(app::FontStyleNames, block.watermarkStyle());
    color_.ResetContent();
    color_.FillFromTable(app::WatermarkColorNames, block.watermarkColor());
    EnableIntensity();
    snapshot_ = block.watermarkProfile();
    loading_ = false;
}

void CWatermarkEditorDialog::FillFonts() {
    Block& block = TheBlock();
    font_.ResetContent();
    for (const std::string& family : platform::fonts().TrueTypeFamilies())
        font_.AddString(family);
    // Without any TrueType font there is nothing to choose: the font stays as it is.
    if (font_.GetCount() <= 0)
        return;
    int index = font_.FindStringExact(-1, block.watermarkFont());
    if (index == ui::kListError) {
        block.setWatermarkFont(kDefaultWatermarkFont);
        index = font_.FindString(-1, kDefaultWatermarkFont);
    }
    if (index == ui::kListError) {
        index = 0;
        block.setWatermarkFont(font_.GetItemText(index));
    }
    font_.SetCurSel(index);
}

void CWatermarkEditorDialog::EnableIntensity() {
    const bool enable = IntensityApplies(TheBlock());
    for (const int id : kIntensityControls)
        GetDlgItem(id).EnableWindow(enable);
}

void CWatermarkEditorDialog::EnableOffsets(bool enable) {
    for (const int id : kOffsetControls)
        GetDlgItem(id).EnableWindow(enable);
}

void CWatermarkEditorDialog::OnFontChosen() {
    const int index = font_.GetCurSel();
    if (index < 0)
        return;
    Block& block = TheBlock();
    block.setWatermarkFontCode(static_cast<std::int16_t>(font_.GetItemData(index)));
    block.setWatermarkFont(font_.GetItemText(index));
}

void CWatermarkEditorDialog::OnStyleChosen() {
    if (style_.GetCurSel() >= 0)
        TheBlock().setWatermarkStyle(static_cast<std::int16_t>(style_.SelectedCode()));
}

void CWatermarkEditorDialog::OnColorChosen() {
    if (color_.GetCurSel() >= 0)
        TheBlock().setWatermarkColor(static_cast<std::int16_t>(color_.SelectedCode()));
    EnableIntensity();
}

void CWatermarkEditorDialog::OnCentre() {
    TheBlock().setWatermarkPositionMode(0);
    EnableOffsets(false);
}

void CWatermarkEditorDialog::OnOffset() {
    TheBlock().setWatermarkPositionMode(1);
    EnableOffsets(true);
}

void CWatermarkEditorDialog::OnBackground() {
    TheBlock().setWatermarkBackground(IsDlgButtonChecked(IDC_WM_BACKGROUND) == ui::kChecked ? 1
                                                                                            : 0);
}

void CWatermarkEditorDialog::OnOutline() {
    TheBlock().setWatermarkOutline(IsDlgButtonChecked(IDC_WM_OUTLINE) == ui::kChecked ? 1 : 0);
}

void CWatermarkEditorDialog::OnDefaults() {
    Block& block = TheBlock();
    if (IsPredefinedWatermark(block.watermarkName()))
        ResetWatermarkAttributes(block, editorMode_);
    else
        block.setWatermarkProfile(snapshot_);
    LoadControls();
}

void CWatermarkEditorDialog::OnHelp() {
    ui::ShowHelpTopic(IDD_WATERMARK_EDITOR);
}

void CWatermarkEditorDialog::OnNumberChanged(int id) {
    if (!initialised_ || loading_)
        return;
    const NumberRow* row = NumberOf(id);
    if (row == nullptr || !LiveCheckReports(row->field, GetDlgItemText(id)))
        return;
    MessageBox(OutOfRangeMessage(row->field.low, row->field.high), ui::kMbOk | ui::kMbTaskModal);
    GotoDlgCtrl(id);
}

bool CWatermarkEditorDialog::StoreName() {
    const std::string typed = GetDlgItemText(IDC_WM_NAME);
    const WatermarkNameProblem problem = CheckWatermarkName(typed, editorMode_);
    if (problem != WatermarkNameProblem::None) {
        MessageBox(WatermarkNameMessage(problem));
        GotoDlgCtrl(IDC_WM_NAME);
        return false;
    }
    TheBlock().setWatermarkName(CutWatermarkName(typed));
    return true;
}

bool CWatermarkEditorDialog::StoreText() {
    const std::string text = GetDlgItemText(IDC_WM_TEXT);
    if (text.empty()) {
        MessageBox(kWatermarkWithoutTextMessage);
        GotoDlgCtrl(IDC_WM_TEXT);
        return false;
    }
    TheBlock().setWatermarkText(text); // cut to 63 characters
    return true;
}

bool CWatermarkEditorDialog::StoreNumbers() {
    Block& block = TheBlock();
    for (const NumberRow& row : kNumbers) {
        const WatermarkNumberField& field = row.field;
        const std::string text = GetDlgItemText(field.editId);
        int value = 0;
        const bool numeric = app::CheckNumericTextWithMessage(text, app::kIntegerText);
        const bool inRange =
            numeric && ParseInteger(text, value) && value >= field.low && value <= field.high;
        if (!inRange) {
            // An empty text gets no message of its own from the character check.
            if (numeric || text.empty())
                MessageBox(OutOfRangeMessage(field.low, field.high), ui::kMbOk | ui::kMbTaskModal);
            GetDlgItem(field.editId).EnableWindow(true);
            GetDlgItem(field.spinId).EnableWindow(true);
            GotoDlgCtrl(field.editId);
            return false;
        }
        (block.*row.store)(static_cast<std::int16_t>(value));
    }
    return true;
}

void CWatermarkEditorDialog::StoreLists() {
    Block& block = TheBlock();
    if (style_.GetCurSel() >= 0)
        block.setWatermarkStyle(static_cast<std::int16_t>(style_.SelectedCode()));
    // The colour list is hidden on a monochrome printer: its code goes back as it came.
    if (color_.IsWindowVisible() && color_.GetCurSel() >= 0)
        block.setWatermarkColor(static_cast<std::int16_t>(color_.SelectedCode()));
}

void CWatermarkEditorDialog::OnOK() {
    if (!StoreName() || !StoreText() || !StoreNumbers())
        return;
    StoreLists();
    // The framework's checks come before the profile is written, so that a profile is stored
    // only by a run that ends with OK.
    if (!UpdateData(true))
        return;
    if (SaveWatermarkProfile(TheBlock()) != platform::kRegistryOk) {
        MessageBox(kWatermarkNotStoredMessage);
        return;
    }
    EndDialog(ui::kIdOk);
}

} // namespace pages
