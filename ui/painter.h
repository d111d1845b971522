#pragma once
// Drawing of owner-drawn controls: the few operations the program's owner-drawn buttons need,
// on a device context in the Win32 backend and recorded in the headless one.
#include <string_view>

#include "ui/types.h"

namespace ui {

class Painter {
public:
    virtual ~Painter() = default;
    // A push-button frame (DrawFrameControl, DFC_BUTTON, DFCS_BUTTONPUSH), pressed in when
    // `pushed` (DFCS_PUSHED).
    virtual void DrawPushButtonFrame(const Rect& rect, bool pushed) = 0;
    // Sets the text colour and returns the previous one.
    virtual Color SetTextColor(Color color) = 0;
    // Text (code page 1250) in the rectangle with DrawText formats (kDtCenter, ...), on a
    // transparent background.
    virtual void PaintText(std::string_view text, const Rect& rect, unsigned format) = 0;
};

// A WM_DRAWITEM request for one control.
struct DrawItem {
    int controlId = 0;
    Rect rect;             // the control's client rectangle
    bool selected = false; // ODS_SELECTED: the button is being pressed
    bool focused = false;  // ODS_FOCUS
    bool disabled = false; // ODS_DISABLED
    Painter& painter;
};

} // namespace ui
