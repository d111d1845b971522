#pragma once
// The in-memory window of the headless backend and the constants its files share. Private to
// ui/headless.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/headless/headless_backend.h"

namespace ui::headless {

// Dialog base units of the templates' 8-point font at 96 DPI.
inline constexpr int kBaseUnitX = HeadlessBackend::kDialogBaseUnitX;
inline constexpr int kBaseUnitY = 13;
inline constexpr Point kTopLevelOrigin{100, 80};
inline constexpr Point kSheetPageOrigin{8, 30};
inline constexpr int kDefaultEditLimit = 30000;
inline constexpr int kLargestEditLimit = 0x7FFFFFFE;
inline constexpr int kTabControlId = 0x3020;
inline constexpr SpinAccel kDefaultAccel[] = {{0, 1}, {2, 5}, {5, 20}};

struct HeadlessBackend::SheetState {
    std::vector<Node*> pages; // null until a page is first shown
    int active = -1;
};

struct HeadlessBackend::Node {
    std::uintptr_t handle = 0;
    ControlKind kind = ControlKind::Other;
    std::string className;
    int id = 0;
    unsigned style = 0;
    unsigned exStyle = 0;
    std::string text;
    Rect rect; // in the parent's client coordinates; screen coordinates for top-level windows
    Node* parent = nullptr;
    Node* owner = nullptr; // a top-level window's owner
    std::vector<Node*> children;
    unsigned helpId = 0;

    DialogBase* dialog = nullptr;
    PropertySheet* sheetObject = nullptr;
    std::unique_ptr<SheetState> sheet;
    bool ended = false;
    int result = 0;

    struct ListItem {
        std::string text;
        std::intptr_t data = 0;
    };
    std::vector<ListItem> items;
    int selection = -1;
    bool droppedDown = false; // a combo box's list is open

    int limit = kDefaultEditLimit;
    int selStart = 0;
    int selEnd = 0;

    int check = kUnchecked;

    int lower = 0;
    int upper = 0;
    int pos = 0;
    std::vector<SpinAccel> accel;
    Node* buddy = nullptr;

    int bitmapId = 0;
    Size imageSize;

    int pageCodeDepth = 0; // a page's own routines running (see PageHearsControls)

    bool Enabled() const { return !(style & kWsDisabled); }
    bool Visible() const { return (style & kWsVisible) != 0; }
    unsigned ButtonType() const { return style & kBsTypeMask; }
    bool Sorted() const {
        return kind == ControlKind::ComboBox ? (style & kCbsSort) != 0 : (style & kLbsSort) != 0;
    }
    bool IsList() const { return kind == ControlKind::ComboBox || kind == ControlKind::ListBox; }
    // A combo box with an edit field (CBS_SIMPLE or CBS_DROPDOWN).
    bool HasEditField() const {
        return kind == ControlKind::ComboBox && (style & 0x3) != kCbsDropDownList;
    }
    // Accepts typed text: an edit or a combo box's edit field.
    bool TakesText() const { return kind == ControlKind::Edit || HasEditField(); }
};

} // namespace ui::headless
