#pragma once
// The custom paper size dialog ("Vlastný formát papiera pre PostScript"): width, height and
// feed edge of the custom sheet, shown in inches, millimetres or points and checked against
// the limits the driver puts into the settings block. The size is kept in millimetres in the
// block; confirming the dialog also stores the form record "CustomSizes" in the registry.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/option_combo_box.h"
#include "res/resource.h"
#include "ui/dialog.h"

namespace app {
class PrinterSettingsBlock;
}

namespace pages {

// The value rounded to hundredths, with a decimal point before the last two digits: 210 is
// "210.00", one half ".50" (a leading "0" only for values not above zero, so 0 is "0.00").
// Negative values keep their sign ("-1.25"); a value that is no number shows as 0.
std::string FormatSize(float value);

// "Value out of range, should be between %.2f and %.2f".
std::string RangeMessage(float minimum, float maximum);

// Display units of `customSizeUnit`.
enum SizeUnit : int { kUnitInch = 0, kUnitMillimetre = 1, kUnitPoint = 2 };
// Feed edges of `customSizeFeedEdge` (codes of FeedEdgeNames).
inline constexpr int kLongEdgeFirst = 8;
inline constexpr int kShortEdgeFirst = 9;

// The registry record of the custom form: 80 bytes, little-endian.
inline constexpr std::size_t kCustomSizeRecordSize = 80;
using CustomSizeRecord = std::array<std::uint8_t, kCustomSizeRecordSize>;
// The form name at the record's start (code page 1250).
inline constexpr char kCustomFormName[] = "Volite\xBEn\xFD form\xE1t papiera";
inline constexpr char kCustomSizesValue[] = "CustomSizes";

// The record for the block's custom size: the form name, width and height in hundredths of a
// millimetre (truncated toward zero; sizes beyond the int32 range are clamped, one that is no
// number gives 0), then 1, 0 and 258.
CustomSizeRecord BuildCustomSizeRecord(const app::PrinterSettingsBlock& block);
// The printer's driver data key below HKEY_LOCAL_MACHINE.
std::string PrinterDriverDataKey(std::string_view printerName);
// Stores the record as the REG_BINARY value "CustomSizes" of the printer's driver data key,
// creating the key when it is missing. Failures are not reported (the registry's result is
// returned for tests); a block without a printer name writes nothing.
long WriteCustomSizeRecord(const app::PrinterSettingsBlock& block);

enum class SizeDimension { Width, Height };

class CCustomSizeDialog : public ui::Dialog {
public:
    enum { IDD = IDD_CUSTOM_SIZE };
    explicit CCustomSizeDialog(const ui::Window* parent = nullptr) : ui::Dialog(IDD, parent) {}

    // Checks a value in the current unit against the dimension's limits and, with
    // `feedEdgeRule`, against the other dimension as the feed edge demands; stores it in
    // millimetres when it passes, else shows the range message and focuses the edit.
    bool CheckSizeValue(float value, SizeDimension dimension, bool feedEdgeRule);
    // The width and then the height text: numeric, then CheckSizeValue. False at the first
    // failure, with the focus in the failing edit.
    bool CheckBothSizes(bool feedEdgeRule);

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    ui::MessageMap GetMessageMap() const override;

private:
    void Show();
    void OnUnit(int id);
    void OnFeedEdge();
    void OnHelp();

    app::OptionComboBox feedEdge_;
    // The limits in the current unit, as Show computed them last.
    float minWidth_ = 0;
    float maxWidth_ = 0;
    float minHeight_ = 0;
    float maxHeight_ = 0;
    // Set while a check runs: a unit click that arrives meanwhile is ignored.
    bool busy_ = false;
};

} // namespace pages
