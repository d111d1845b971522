#pragma once
// The rules of the layout check, apart from the windows it measures: how much of a control's
// width its text may take, which placements of controls are faults, and how a fault reads.
// Pixels throughout, in the coordinates of the control's dialog.
#include <string>
#include <vector>

#include "ui/types.h"

namespace layoutcheck {

// How a control shows its text.
enum class TextKind {
    PushButton,        // centred in the button's frame
    DefaultPushButton, // a push button with the default frame, one pixel thicker
    CheckBox,          // check boxes and radio buttons: the box, a gap, then the text
    GroupCaption,      // in the frame's top line, inset from both sides
    WrappedStatic,     // static text broken into lines at blanks (SS_LEFT, SS_CENTER, SS_RIGHT)
    SingleLineStatic,  // static text on one line (SS_LEFTNOWORDWRAP, SS_SIMPLE, SS_CENTERIMAGE)
    ListEntry,         // an entry of a list box, or of a combo box in its closed field
};

// The width a text may take in a control whose text area is `width` pixels wide (the client
// width; for a combo box its selection field), at `dpi`, with the font's digit "0" `zeroWidth`
// pixels wide. As the common controls draw them: a push button keeps 3 pixels of frame and
// margin each side (4 the default one), a check box's box is 12 pixels at 96 DPI plus one,
// followed by half a digit's width and a pixel of margin each side of the text, a group
// box's caption is inset 7 pixels from each side plus a pixel of margin, and list entries keep
// 2 pixels each side.
int TextRoom(TextKind kind, int width, int dpi, int zeroWidth);

// A control as the check sees it in its dialog.
struct PlacedControl {
    int id = 0;
    std::string text; // its template text, UTF-8, for the report
    bool visible = true;
    bool groupBox = false;
    ui::Rect rect; // in the dialog's client coordinates
};

// Controls that leave the dialog's client area, and visible controls that overlap unless one is
// a group box holding the other whole; one report line each (see Describe).
std::vector<std::string> PlacementProblems(const std::vector<PlacedControl>& controls,
                                           const ui::Rect& client, int templateId, int dpi);

// "template 104, control 1002 "Na šírku", 144 DPI: <what>".
std::string Describe(int templateId, int controlId, const std::string& text, int dpi,
                     const std::string& what);

} // namespace layoutcheck
