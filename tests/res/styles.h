#pragma once
// Window and control style values of <windows.h> and <commctrl.h>, which the tests do not include.
#include <cstdint>

namespace restest {

constexpr std::uint32_t kWsPopup = 0x80000000;
constexpr std::uint32_t kWsChild = 0x40000000;
constexpr std::uint32_t kWsVisible = 0x10000000;
constexpr std::uint32_t kWsDisabled = 0x08000000;
constexpr std::uint32_t kWsCaption = 0x00C00000;
constexpr std::uint32_t kWsBorder = 0x00800000;
constexpr std::uint32_t kWsSysMenu = 0x00080000;
constexpr std::uint32_t kWsGroup = 0x00020000;
constexpr std::uint32_t kWsTabStop = 0x00010000;

constexpr std::uint32_t kDsSetFont = 0x40;
constexpr std::uint32_t kDsModalFrame = 0x80;
constexpr std::uint32_t kDsControl = 0x400;

constexpr std::uint32_t kButtonTypeMask = 0x0F;
constexpr std::uint32_t kBsPushButton = 0;
constexpr std::uint32_t kBsDefPushButton = 1;
constexpr std::uint32_t kBsAutoCheckBox = 3;
constexpr std::uint32_t kBsRadioButton = 4;
constexpr std::uint32_t kBsGroupBox = 7;
constexpr std::uint32_t kBsAutoRadio = 9;

constexpr std::uint32_t kComboTypeMask = 0x03;
constexpr std::uint32_t kCbsSimple = 1;
constexpr std::uint32_t kCbsDropDown = 2;
constexpr std::uint32_t kCbsDropDownList = 3;
constexpr std::uint32_t kCbsAutoHScroll = 0x40;
constexpr std::uint32_t kCbsSort = 0x100;
// The height of a drop-down's edit field in dialog units, as the layout counts it.
constexpr int kClosedComboHeight = 14;

constexpr std::uint32_t kLbsNotify = 0x01;
constexpr std::uint32_t kLbsSort = 0x02;

constexpr std::uint32_t kEsCenter = 0x01;
constexpr std::uint32_t kEsMultiline = 0x04;
constexpr std::uint32_t kEsAutoVScroll = 0x40;
constexpr std::uint32_t kEsAutoHScroll = 0x80;
constexpr std::uint32_t kEsReadOnly = 0x800;
constexpr std::uint32_t kEsNumber = 0x2000;

constexpr std::uint32_t kStaticTypeMask = 0x1F;
constexpr std::uint32_t kSsLeft = 0x00;
constexpr std::uint32_t kSsRight = 0x02;
constexpr std::uint32_t kSsBitmap = 0x0E;
constexpr std::uint32_t kSsCenterImage = 0x200;

constexpr std::uint32_t kUdsSetBuddyInt = 0x02;
constexpr std::uint32_t kUdsAlignRight = 0x04;
constexpr std::uint32_t kUdsAutoBuddy = 0x10;
constexpr std::uint32_t kUdsArrowKeys = 0x20;

constexpr std::uint32_t kPbsSmooth = 0x01;

} // namespace restest
