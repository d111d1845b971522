// The Overlay page and the watermark editor.
#include "app/settings_block.h"
#include "pages/overlay/watermark_profile_store.h"
#include "res/resource.h"
#include "tests/pages/shown/shown_fields.h"
#include "ui/headless/collation.h"

namespace shown {
namespace {

constexpr std::string_view kHelp = "opens help";

// The watermark list: a stored profile's entry reads `watermarkName`; any other selected entry
// carries `watermarkCode`.
std::optional<std::string> WatermarkChoiceShown(const ShownContext& c) {
    const ui::ComboBox list(c.control.GetHandle());
    const int selected = list.GetCurSel();
    const int code = c.block.watermarkCode();
    const std::string name = c.block.watermarkName();
    if (selected < 0)
        return "shows no entry, the block holds code " + std::to_string(code) + " \"" + name + "\"";
    const std::string text = list.GetItemText(selected);
    const auto shownCode = static_cast<int>(list.GetItemData(selected));
    const bool agrees = code == pages::kStoredWatermarkCode
                            ? shownCode == 0 && ui::headless::EqualsIgnoringCase(text, name)
                            : shownCode == code;
    if (agrees)
        return std::nullopt;
    return "shows \"" + text + "\" (code " + std::to_string(shownCode) +
           "), the block holds code " + std::to_string(code) + " \"" + name + "\"";
}

const ShownControl kOverlayRows[] = {
    Field(IDC_OVERLAY_ALL_ENABLE, Shows::Check, "overlaySlots[0].enabled"),
    Field(IDC_OVERLAY_ALL_NAME, Shows::Text, "overlaySlots[0].fileName"),
    Field(IDC_OVERLAY_ALL_DEVICE, Shows::ListCode, "overlaySlots[0].device"),
    Field(IDC_OVERLAY_FIRST_ENABLE, Shows::Check, "overlaySlots[1].enabled"),
    Field(IDC_OVERLAY_FIRST_NAME, Shows::Text, "overlaySlots[1].fileName"),
    Field(IDC_OVERLAY_FIRST_DEVICE, Shows::ListCode, "overlaySlots[1].device"),
    Field(IDC_OVERLAY_EVEN_ENABLE, Shows::Check, "overlaySlots[2].enabled"),
    Field(IDC_OVERLAY_EVEN_NAME, Shows::Text, "overlaySlots[2].fileName"),
    Field(IDC_OVERLAY_EVEN_DEVICE, Shows::ListCode, "overlaySlots[2].device"),
    Field(IDC_OVERLAY_ODD_ENABLE, Shows::Check, "overlaySlots[3].enabled"),
    Field(IDC_OVERLAY_ODD_NAME, Shows::Text, "overlaySlots[3].fileName"),
    Field(IDC_OVERLAY_ODD_DEVICE, Shows::ListCode, "overlaySlots[3].device"),
    Field(IDC_OVERLAY_CYCLIC_ENABLE, Shows::Check, "overlaySlots[4].enabled"),
    Field(IDC_OVERLAY_CYCLIC_NAME, Shows::Text, "overlaySlots[4].fileName"),
    Field(IDC_OVERLAY_CYCLIC_DEVICE, Shows::ListCode, "overlaySlots[4].device"),
    Field(IDC_OVERLAY_CYCLE_FIRST, Shows::Number, "overlayCyclicFirstPage"),
    Field(IDC_OVERLAY_CYCLE_PERIOD, Shows::Number, "overlayCyclicPeriod"),
    Custom(IDC_WATERMARK_LIST, "watermarkCode, watermarkName", WatermarkChoiceShown),
    Stored(IDC_WATERMARK_LIST, "stored watermarks", 0, "\\Watermark Profiles"),
    Field(IDC_WATERMARK_FIRST_PAGE_ONLY, Shows::Check, "watermarkFirstPageOnly"),
    LeftOut(IDC_OVERLAY_CYCLE_FIRST_SPIN, "arrows of its edit"),
    LeftOut(IDC_OVERLAY_CYCLE_PERIOD_SPIN, "arrows of its edit"),
    LeftOut(IDC_WATERMARK_EDIT, "opens the watermark editor"),
    LeftOut(IDC_WATERMARK_ADD, "opens the watermark editor"),
    LeftOut(IDC_WATERMARK_DELETE, "deletes a stored watermark"),
    LeftOut(IDC_OVERLAY_DOWNLOAD_MANAGER, "starts the download manager"),
};

const ShownControl kWatermarkEditorRows[] = {
    Field(IDC_WM_NAME, Shows::Text, "watermarkName"),
    Field(IDC_WM_TEXT, Shows::Text, "watermarkText"),
    Field(IDC_WM_FONT, Shows::ListText, "watermarkFont"),
    Field(IDC_WM_STYLE, Shows::ListCode, "watermarkStyle"),
    Field(IDC_WM_SIZE, Shows::Number, "watermarkSize"),
    Field(IDC_WM_ANGLE, Shows::Number, "watermarkAngle"),
    Field(IDC_WM_COLOR, Shows::ListCode, "watermarkColor"),
    Field(IDC_WM_INTENSITY, Shows::Number, "watermarkIntensity"),
    Field(IDC_WM_BACKGROUND, Shows::Check, "watermarkBackground"),
    Field(IDC_WM_OUTLINE, Shows::Check, "watermarkOutline"),
    Field(IDC_WM_POSITION_CENTER, Shows::RadioValue, "watermarkPositionMode", 0),
    Field(IDC_WM_POSITION_OFFSET, Shows::RadioValue, "watermarkPositionMode", 1),
    Field(IDC_WM_OFFSET_X, Shows::Number, "watermarkOffsetX"),
    Field(IDC_WM_OFFSET_Y, Shows::Number, "watermarkOffsetY"),
    LeftOut(IDC_WM_SIZE_SPIN, "arrows of its edit"),
    LeftOut(IDC_WM_ANGLE_SPIN, "arrows of its edit"),
    LeftOut(IDC_WM_INTENSITY_SPIN, "arrows of its edit"),
    LeftOut(IDC_WM_OFFSET_X_SPIN, "arrows of its edit"),
    LeftOut(IDC_WM_OFFSET_Y_SPIN, "arrows of its edit"),
    LeftOut(IDC_WM_DEFAULTS, "puts the defaults back"),
    LeftOut(IDC_WM_HELP, kHelp),
    LeftOut(IDC_WM_INTENSITY_LABEL, "label"),
    LeftOut(IDC_WM_COLOR_LABEL, "label"),
    LeftOut(IDC_WM_OFFSET_X_LABEL, "label"),
    LeftOut(IDC_WM_OFFSET_Y_LABEL, "label"),
};

} // namespace

const ShownTable kOverlayShown{IDD_OVERLAY, kOverlayRows};
const ShownTable kWatermarkEditorShown{IDD_WATERMARK_EDITOR, kWatermarkEditorRows};

} // namespace shown
