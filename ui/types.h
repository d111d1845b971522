#pragma once
// Plain types and constants of the UI framework. The numbers are the Win32 ones, so that the
// Win32 backend passes them through unchanged, but the names are our own: pages never include
// <windows.h>, and these names cannot collide with its macros.
#include <cstdint>

namespace ui {

// A window of the backend in use (an HWND in the Win32 backend); null is no window.
struct WindowTag;
using Handle = WindowTag*;

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A colour as Win32 stores it: 0x00BBGGRR.
using Color = std::uint32_t;
constexpr Color Rgb(int red, int green, int blue) {
    return static_cast<Color>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

// Results of modal runs and message boxes, and the ids of the standard buttons.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
inline constexpr int kIdHelp = 9; // also the property sheet's Help button
// DoModal of a dialog or sheet whose loop ended without OK or Cancel (a WM_QUIT).
inline constexpr int kModalLoopEnded = -1;

// Message box styles (MB_*).
enum MessageBoxStyle : unsigned {
    kMbOk = 0x0,
    kMbOkCancel = 0x1,
    kMbYesNoCancel = 0x3,
    kMbYesNo = 0x4,
    kMbIconError = 0x10,
    kMbIconQuestion = 0x20,
    kMbIconWarning = 0x30,
    kMbIconInformation = 0x40,
    kMbDefButton2 = 0x100,
    kMbTaskModal = 0x2000,
};

// Control notifications (the notification codes of WM_COMMAND).
enum Notification : int {
    kBnClicked = 0,
    kBnSetFocus = 6,  // only with BS_NOTIFY
    kBnKillFocus = 7, // only with BS_NOTIFY
    kCbnSelChange = 1,
    kCbnDblClk = 2,
    kCbnSetFocus = 3,
    kCbnKillFocus = 4,
    kCbnEditChange = 5,
    kCbnEditUpdate = 6,
    kCbnDropDown = 7,
    kCbnCloseUp = 8,
    kCbnSelEndOk = 9,
    kCbnSelEndCancel = 10,
    kLbnSelChange = 1,
    kLbnDblClk = 2,
    kLbnSetFocus = 4,
    kLbnKillFocus = 5,
    kEnSetFocus = 0x100,
    kEnKillFocus = 0x200,
    kEnChange = 0x300,
    kEnUpdate = 0x400,
    kEnMaxText = 0x501,
    // Not a Win32 code: a drop-down list's choice, however it was made (the framework derives
    // it from CBN_CLOSEUP and from a CBN_SELCHANGE while the list is closed; see OnChoice).
    kCbnChoice = 0x10001,
};

// List and combo results (LB_ERR, CB_ERR).
inline constexpr int kListError = -1;

// Button check states (BST_*).
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;
inline constexpr int kIndeterminate = 2;

// Window and control styles the framework and its tests look at.
enum Style : unsigned {
    kWsTabStop = 0x00010000,
    kWsGroup = 0x00020000,
    kWsVScroll = 0x00200000,
    kWsDisabled = 0x08000000,
    kWsVisible = 0x10000000,
    kWsChild = 0x40000000,

    kBsPushButton = 0x0,
    kBsDefPushButton = 0x1,
    kBsCheckBox = 0x2,
    kBsAutoCheckBox = 0x3,
    kBsRadioButton = 0x4,
    kBs3State = 0x5,
    kBsAuto3State = 0x6,
    kBsGroupBox = 0x7,
    kBsAutoRadioButton = 0x9,
    kBsOwnerDraw = 0xB,
    kBsTypeMask = 0xF,
    kBsNotify = 0x4000,

    kEsMultiLine = 0x0004,
    kEsReadOnly = 0x0800,
    kEsNumber = 0x2000,

    kSsBitmap = 0x000E,
    kSsTypeMask = 0x001F,
    kSsCenterImage = 0x0200,
    kSsRealSizeControl = 0x0040,

    kLbsNotify = 0x0001,
    kLbsSort = 0x0002,

    kCbsSimple = 0x0001,
    kCbsDropDown = 0x0002,
    kCbsDropDownList = 0x0003,
    kCbsSort = 0x0100,

    kUdsWrap = 0x0001,
    kUdsSetBuddyInt = 0x0002,
    kUdsAlignRight = 0x0004,
    kUdsAlignLeft = 0x0008,
    kUdsAutoBuddy = 0x0010,
    kUdsArrowKeys = 0x0020,
    kUdsHorz = 0x0040,
    kUdsNoThousands = 0x0080,
};

// What kind of window a handle names (from its class).
enum class ControlKind {
    Other,
    Dialog, // a dialog or property page
    Sheet,  // a property sheet frame
    Button,
    Edit,
    Static,
    ListBox,
    ComboBox,
    UpDown,
    Progress,
    Tab,
};

// One step of an up-down control's acceleration (UDACCEL): after `seconds` of holding an
// arrow, each step changes the position by `increment`.
struct SpinAccel {
    unsigned seconds = 0;
    unsigned increment = 1;
};

// DrawText formats used by owner-drawn controls (DT_*).
enum TextFormat : unsigned {
    kDtLeft = 0x0,
    kDtCenter = 0x1,
    kDtRight = 0x2,
    kDtVCenter = 0x4,
    kDtSingleLine = 0x20,
};

// WinHelp commands.
inline constexpr unsigned kHelpContext = 0x1;
inline constexpr unsigned kHelpQuit = 0x2;
inline constexpr unsigned kHelpContents = 0x3;

} // namespace ui
