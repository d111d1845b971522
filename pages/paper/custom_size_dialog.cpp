#include "pages/paper/custom_size_dialog.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "app/config_app.h"
#include "app/numeric_check.h"
#include "app/option_tables.h"
#include "app/settings_block.h"
#include "app/text_helpers.h"
#include "pages/shared/context_help.h"
#include "platform/registry.h"
#include "platform/scoped_registry_key.h"
#include "platform/services.h"
#include "ui/data_exchange.h"
#include "ui/services.h"

namespace pages {
namespace {

constexpr char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers\\";
constexpr char kDriverDataKey[] = "\\PrinterDriverData";

// Unit factors, in single precision as the driver computes them.
constexpr float kInchesPerMillimetre = 0.03937008f;
constexpr float kInchesPerTenth = 0.003937008f;
constexpr float kMillimetresPerTenth = 0.1f;
constexpr float kPointsPerInch = 72.0f;
constexpr float kMillimetresPerInch = 25.4f;
constexpr float kInchesPerPoint = 0.013888889f;
// Added to a minimum before it is rounded, so that it rounds up.
constexpr float kMinimumAllowance = 0.005f;

constexpr std::size_t kCustomFormNameSize = 64;
constexpr std::size_t kWidthOffset = 64;
constexpr std::size_t kHeightOffset = 68;
constexpr std::size_t kFormFlagOffset = 72;
constexpr std::size_t kReservedOffset = 76;
constexpr std::size_t kFormKindOffset = 78;

// Rounds to single precision, also where the compiler keeps floats in wider registers (x87):
// the shown and stored numbers must not depend on the build.
float Single(float value) {
    volatile float stored = value;
    return stored;
}

app::PrinterSettingsBlock& Block() {
    return app::TheApp().settings;
}

// The block's unit; a value the dialog does not know is shown and read as millimetres.
int UnitOf(const app::PrinterSettingsBlock& block) {
    const int unit = block.customSizeUnit();
    return unit == kUnitInch || unit == kUnitPoint ? unit : kUnitMillimetre;
}

float MillimetresToUnit(float millimetres, int unit) {
    switch (unit) {
    case kUnitInch:
        return Single(millimetres * kInchesPerMillimetre);
    case kUnitPoint:
        return Single(Single(millimetres * kInchesPerMillimetre) * kPointsPerInch);
    default:
        return millimetres;
    }
}

float TenthsToUnit(std::int16_t tenths, int unit) {
    const float value = tenths;
    switch (unit) {
    case kUnitInch:
        return Single(value * kInchesPerTenth);
    case kUnitPoint:
        return Single(Single(value * kInchesPerTenth) * kPointsPerInch);
    default:
        return Single(value * kMillimetresPerTenth);
    }
}

float UnitToMillimetres(float value, int unit) {
    switch (unit) {
    case kUnitInch:
        return Single(value * kMillimetresPerInch);
    case kUnitPoint:
        return Single(Single(value * kMillimetresPerInch) * kInchesPerPoint);
    default:
        return value;
    }
}

// The number at the start of a text that passed the decimal check ("+" and one "." allowed),
// as the C library's atof reads it: 0 when there is none.
float ParseNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc())
        return 0;
    return static_cast<float>(value);
}

// A limit as the user reads it in the range label: rounded through its text.
float RoundedThroughText(float value) {
    return ParseNumber(FormatSize(value));
}

std::int32_t Hundredths(float millimetres) {
    const float scaled = Single(millimetres * 100.0f);
    if (std::isnan(scaled))
        return 0;
    if (scaled >= 2147483648.0f)
        return INT32_MAX;
    if (scaled < -2147483648.0f)
        return INT32_MIN;
    return static_cast<std::int32_t>(scaled);
}

} // namespace

std::string FormatSize(float value) {
    if (!std::isfinite(value))
        value = 0;
    // At most 39 integer digits for the largest float, the point and two decimals.
    std::array<char, 64> digits{};
    std::snprintf(digits.data(), digits.size(), "%.2f", std::fabs(static_cast<double>(value)));
    std::string text(digits.data());
    if (text.size() > 1 && text[0] == '0' && text[1] == '.')
        text.erase(0, 1);
    if (value > 0)
        return text;
    if (text[0] == '.')
        text.insert(0, "0");
    if (value < 0)
        text.insert(0, "-");
    return text;
}

std::string RangeMessage(float minimum, float maximum) {
    std::array<char, 160> text{};
    std::snprintf(text.data(), text.size(), "Value out of range, should be between %.2f and %.2f",
                  static_cast<double>(minimum), static_cast<double>(maximum));
    return text.data();
}

CustomSizeRecord BuildCustomSizeRecord(const app::PrinterSettingsBlock& block) {
    CustomSizeRecord record{};
    app::detail::StoreText(record.data(), kCustomFormNameSize, kCustomFormName);
    app::detail::StoreInt32(&record[kWidthOffset], Hundredths(block.customSizeWidth()));
    app::detail::StoreInt32(&record[kHeightOffset], Hundredths(block.customSizeHeight()));
    app::detail::StoreInt32(&record[kFormFlagOffset], 1);
    app::detail::StoreInt16(&record[kReservedOffset], 0);
    app::detail::StoreInt16(&record[kFormKindOffset], 258);
    return record;
}

std::string PrinterDriverDataKey(std::string_view printerName) {
    std::string path = kPrintersKey;
    path.append(printerName);
    path.append(kDriverDataKey);
    return path;
}

long WriteCustomSizeRecord(const app::PrinterSettingsBlock& block) {
    const std::string printer = block.printerName();
    // Without a name the path would name the printers' key itself.
    if (printer.empty())
        return platform::kRegistryInvalidParameter;
    const auto key = platform::ScopedRegistryKey::Create(
        platform::registry(), PrinterDriverDataKey(printer), platform::kKeyAllAccess);
    return key.SetBinary(kCustomSizesValue, BuildCustomSizeRecord(block));
}

void CCustomSizeDialog::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_CUSTOM_FEED_EDGE, feedEdge_);
}

ui::MessageMap CCustomSizeDialog::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnClicked(IDC_CUSTOM_UNIT_INCH, &CCustomSizeDialog::OnUnit),
        ui::OnClicked(IDC_CUSTOM_UNIT_MM, &CCustomSizeDialog::OnUnit),
        ui::OnClicked(IDC_CUSTOM_UNIT_POINT, &CCustomSizeDialog::OnUnit),
        ui::OnSelChange(IDC_CUSTOM_FEED_EDGE, &CCustomSizeDialog::OnFeedEdge),
        ui::OnClicked(IDC_CUSTOM_HELP, &CCustomSizeDialog::OnHelp),
    };
    return entries;
}

bool CCustomSizeDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    ui::SetContextHelpIds(*this, ContextHelpIds(IDD_CUSTOM_SIZE));
    ui::Edit(GetDlgItem(IDC_CUSTOM_WIDTH).GetHandle()).LimitText(8);
    ui::Edit(GetDlgItem(IDC_CUSTOM_HEIGHT).GetHandle()).LimitText(8);
    Show();
    feedEdge_.ResetContent();
    app::PrinterSettingsBlock& block = Block();
    feedEdge_.FillFromTable(app::FeedEdgeNames, block.customSizeFeedEdge());
    // A feed edge the list does not offer is shown as its first entry: the checks and the
    // driver then go by the edge shown.
    if (feedEdge_.SelectedCode() != block.customSizeFeedEdge())
        block.setCustomSizeFeedEdge(static_cast<std::int16_t>(feedEdge_.SelectedCode()));
    busy_ = false;
    return true;
}

void CCustomSizeDialog::Show() {
    const app::PrinterSettingsBlock& block = Block();
    const int unit = UnitOf(block);
    minWidth_ = TenthsToUnit(block.customSizeMinWidth(), unit);
    maxWidth_ = TenthsToUnit(block.customSizeMaxWidth(), unit);
    minHeight_ = TenthsToUnit(block.customSizeMinHeight(), unit);
    maxHeight_ = TenthsToUnit(block.customSizeMaxHeight(), unit);
    SetDlgItemText(IDC_CUSTOM_WIDTH, FormatSize(MillimetresToUnit(block.customSizeWidth(), unit)));
    SetDlgItemText(IDC_CUSTOM_HEIGHT,
                   FormatSize(MillimetresToUnit(block.customSizeHeight(), unit)));
    minWidth_ = Single(minWidth_ + kMinimumAllowance);
    SetDlgItemText(IDC_CUSTOM_WIDTH_RANGE,
                   "(" + FormatSize(minWidth_) + "," + FormatSize(maxWidth_) + ")");
    minHeight_ = Single(minHeight_ + kMinimumAllowance);
    SetDlgItemText(IDC_CUSTOM_HEIGHT_RANGE,
                   "(" + FormatSize(minHeight_) + "," + FormatSize(maxHeight_) + ")");
    CheckRadioButton(IDC_CUSTOM_UNIT_INCH, IDC_CUSTOM_UNIT_POINT, IDC_CUSTOM_UNIT_INCH + unit);
}

bool CCustomSizeDialog::CheckSizeValue(float value, SizeDimension dimension, bool feedEdgeRule) {
    busy_ = true;
    app::PrinterSettingsBlock& block = Block();
    const int unit = UnitOf(block);
    // The limits as the range labels show them: minimum rounded up, maximum to the nearest
    // hundredth.
    const float minWidth = RoundedThroughText(
        Single(TenthsToUnit(block.customSizeMinWidth(), unit) + kMinimumAllowance));
    const float maxWidth = RoundedThroughText(TenthsToUnit(block.customSizeMaxWidth(), unit));
    const float minHeight = RoundedThroughText(
        Single(TenthsToUnit(block.customSizeMinHeight(), unit) + kMinimumAllowance));
    const float maxHeight = RoundedThroughText(TenthsToUnit(block.customSizeMaxHeight(), unit));
    const bool width = dimension == SizeDimension::Width;
    const int editId = width ? IDC_CUSTOM_WIDTH : IDC_CUSTOM_HEIGHT;

    auto refuse = [&](float low, float high) {
        MessageBox(RangeMessage(low, high), ui::kMbOk | ui::kMbTaskModal);
        GotoDlgCtrl(editId);
        return false;
    };

    if (feedEdgeRule) {
        if (block.customSizeFeedEdge() == kLongEdgeFirst) {
            // With the long edge first the sheet is at least as wide as it is high.
            if (width) {
                if (value < minHeight)
                    return refuse(minWidth, maxWidth);
            } else {
                const float shownWidth = ParseNumber(GetDlgItemText(IDC_CUSTOM_WIDTH));
                if (value > shownWidth)
                    return refuse(minHeight, shownWidth);
            }
        } else if (!width) {
            // With the short edge first the sheet is at least as high as it is wide.
            const float shownWidth = ParseNumber(GetDlgItemText(IDC_CUSTOM_WIDTH));
            if (value < shownWidth)
                return refuse(std::max(shownWidth, minHeight), maxHeight);
        }
    }

    const float low = width ? minWidth : minHeight;
    const float high = width ? maxWidth : maxHeight;
    if (!(value >= low && value <= high))
        return refuse(low, high);
    const float millimetres = UnitToMillimetres(value, unit);
    if (width)
        block.setCustomSizeWidth(millimetres);
    else
        block.setCustomSizeHeight(millimetres);
    return true;
}

bool CCustomSizeDialog::CheckBothSizes(bool feedEdgeRule) {
    const struct {
        int editId;
        SizeDimension dimension;
    } sizes[] = {{IDC_CUSTOM_WIDTH, SizeDimension::Width},
                 {IDC_CUSTOM_HEIGHT, SizeDimension::Height}};
    for (const auto& size : sizes) {
        const std::string text = GetDlgItemText(size.editId);
        if (!app::CheckNumericTextWithMessage(text, app::kDecimalText) ||
            !CheckSizeValue(ParseNumber(text), size.dimension, feedEdgeRule)) {
            GotoDlgCtrl(size.editId);
            return false;
        }
    }
    return true;
}

void CCustomSizeDialog::OnUnit(int id) {
    if (busy_)
        return;
    busy_ = true;
    app::PrinterSettingsBlock& block = Block();
    if (CheckBothSizes(false)) {
        block.setCustomSizeUnit(static_cast<std::int16_t>(id - IDC_CUSTOM_UNIT_INCH));
        Show();
    } else {
        CheckRadioButton(IDC_CUSTOM_UNIT_INCH, IDC_CUSTOM_UNIT_POINT,
                         IDC_CUSTOM_UNIT_INCH + UnitOf(block));
    }
    busy_ = false;
}

void CCustomSizeDialog::OnFeedEdge() {
    app::PrinterSettingsBlock& block = Block();
    const int noted = block.customSizeFeedEdge();
    if (CheckBothSizes(false)) {
        const int chosen = feedEdge_.SelectedCode();
        block.setCustomSizeFeedEdge(static_cast<std::int16_t>(chosen));
        if (chosen != noted) {
            // The sheet turns by a quarter.
            const float width = block.customSizeWidth();
            block.setCustomSizeWidth(block.customSizeHeight());
            block.setCustomSizeHeight(width);
            Show();
        }
    } else {
        feedEdge_.SelectCode(noted);
    }
    busy_ = false;
}

void CCustomSizeDialog::OnOK() {
    if (CheckBothSizes(true)) {
        WriteCustomSizeRecord(Block());
        EndDialog(ui::kIdOk);
        return;
    }
    busy_ = false;
}

void CCustomSizeDialog::OnHelp() {
    ui::ShowHelpTopic(IDD_CUSTOM_SIZE);
}

} // namespace pages
