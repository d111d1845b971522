#pragma once
// The controls every dialog template must hold, and the comparison of a parsed template with
// them: a missing, misspelt, wrongly kinded or unexpected control is reported.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/res/res_file.h"

namespace restest {

// The kinds of control the dialogs are described with.
enum class Expect {
    Push,       // push button (a default push button too)
    Check,      // check box
    Radio,      // radio button
    GroupBox,   // group box
    Text,       // static text: left, centred or right aligned
    Picture,    // static bitmap
    Edit,       // edit field
    DropList,   // combo box without edit field
    DropDown,   // combo box with edit field and drop-down list
    Combo,      // combo box whose type is not fixed
    List,       // list box
    Spin,       // up-down control
    Progress,   // progress bar
    DatePicker, // date and time picker
};

// Styles as the descriptions state them.
enum : std::uint32_t {
    kSorted = 1u << 0,
    kUnsorted = 1u << 1, // items stay in insertion order
    kNotify = 1u << 2,
    kDigits = 1u << 3,        // digits only
    kNotDigitsOnly = 1u << 4, // takes signs or decimal points
    kHidden = 1u << 5,
    kDisabled = 1u << 6,
    kReadOnly = 1u << 7,
    kMultiLine = 1u << 8,
    kCentred = 1u << 9,
    kBorder = 1u << 10,
    kAutoVScroll = 1u << 11,
    kAutoHScroll = 1u << 12,
    kRight = 1u << 13,        // right-aligned text
    kImageCentred = 1u << 14, // a picture centred, a text vertically centred
    kSmooth = 1u << 15,
    kGroupStart = 1u << 16,
    kTabStop = 1u << 17,
    kBuddyNumber = 1u << 18, // a spin that sets its buddy's number and takes arrow keys
    // The program shows, hides, enables or disables it at run time, so the template's state is
    // free. Without this flag a control is visible unless kHidden and enabled unless kDisabled.
    kRuntimeState = 1u << 19,
};

struct ExpectedControl {
    int id; // -1: an unnamed control, found by its kind and text
    Expect kind;
    const char16_t* text; // nullptr: not fixed
    std::uint32_t styles = 0;
    const char16_t* group = nullptr; // the title of the group box it lies in
    int buddy = 0;                   // a spin's buddy: the control just before it in the template
};

struct ExpectedDialog {
    int id;
    std::vector<ExpectedControl> controls;
};

// The table of every dialog template of the program.
const std::vector<ExpectedDialog>& ExpectedDialogs();

// One line per difference between the template and the table; empty when they agree. Each
// expected control must match its own template control; every template control with an id
// must be expected.
std::vector<std::string> CompareControls(const DialogTemplate& dialog,
                                         const std::vector<ExpectedControl>& expected);

} // namespace restest
