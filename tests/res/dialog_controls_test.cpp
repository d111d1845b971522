// The control styles the pages rely on (sorted or insertion-order lists, drop-down lists versus
// editable drop-downs, digits-only edits, hidden and disabled controls), the coordinates that are
// fixed, the consumables rows and the pictures; and every template against the full table of its
// described controls (dialog_control_table.cpp).
#include "res/resource.h"
#include "tests/res/dialog_control_table.h"
#include "tests/res/res_file.h"
#include "tests/res/styles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>
#include <string>

namespace restest {
namespace {

struct Type {
    ControlKind kind;
    std::uint32_t mask; // of the style bits that give the control's type
    std::uint32_t value;
};

constexpr Type kGroup{ControlKind::Button, kButtonTypeMask, kBsGroupBox};
constexpr Type kRadio{ControlKind::Button, kButtonTypeMask, kBsAutoRadio};
constexpr Type kCheck{ControlKind::Button, kButtonTypeMask, kBsAutoCheckBox};
constexpr Type kPush{ControlKind::Button, kButtonTypeMask, kBsPushButton};
constexpr Type kLabel{ControlKind::Static, kStaticTypeMask, kSsLeft};
constexpr Type kRightLabel{ControlKind::Static, kStaticTypeMask, kSsRight};
constexpr Type kPicture{ControlKind::Static, kStaticTypeMask, kSsBitmap};
constexpr Type kDropList{ControlKind::ComboBox, kComboTypeMask, kCbsDropDownList};
constexpr Type kDropDown{ControlKind::ComboBox, kComboTypeMask, kCbsDropDown};
constexpr Type kEdit{ControlKind::Edit, 0, 0};
constexpr Type kList{ControlKind::ListBox, 0, 0};
constexpr Type kSpin{ControlKind::UpDown, 0, 0};
constexpr Type kDate{ControlKind::DateTime, 0, 0};

struct ControlSpec {
    int dialog;
    int id;               // IDC_STATIC: found by its text
    const char16_t* text; // nullptr: the text is not fixed
    Type type;
    std::uint32_t set;   // styles it must have; WS_DISABLED for a disabled control
    std::uint32_t clear; // styles it must not have; WS_VISIBLE for a hidden control
};

const ControlSpec kControls[] = {
    {103, IDC_PAGES_PER_SHEET, nullptr, kDropList, 0, kCbsSort},
    {103, IDC_PREVIEW_PICTURE, nullptr, kPicture, 0, 0},
    {104, IDC_PAPER_SIZE, nullptr, kDropList, kCbsSort, 0},
    {104, IDC_PAPER_SOURCE, nullptr, kDropList, kCbsSort, 0},
    {104, IDC_MEDIA_TYPE, nullptr, kDropList, kCbsSort, 0},
    {104, IDC_OUTPUT_BIN, nullptr, kDropList, kCbsSort, 0},
    {104, IDC_CUSTOM_SIZE_CONFIGURE, u"Konfigurova\u0165", kPush, kWsDisabled, kWsVisible},
    {105, IDC_RESOLUTION, nullptr, kDropList, kCbsSort, 0},
    {105, IDC_QUICK_COLOR, nullptr, kDropList, kCbsSort, 0},
    {106, IDC_OVERLAY_ALL_NAME, nullptr, kEdit, 0, kEsNumber},
    {106, IDC_OVERLAY_ALL_DEVICE, nullptr, kDropList, kCbsSort, 0},
    {106, IDC_OVERLAY_FIRST_NAME, nullptr, kEdit, 0, kEsNumber},
    {106, IDC_OVERLAY_FIRST_DEVICE, nullptr, kDropList, kCbsSort, 0},
    {106, IDC_OVERLAY_EVEN_NAME, nullptr, kEdit, 0, kEsNumber},
    {106, IDC_OVERLAY_EVEN_DEVICE, nullptr, kDropList, kCbsSort, 0},
    {106, IDC_OVERLAY_ODD_NAME, nullptr, kEdit, 0, kEsNumber},
    {106, IDC_OVERLAY_ODD_DEVICE, nullptr, kDropList, kCbsSort, 0},
    {106, IDC_OVERLAY_CYCLIC_NAME, nullptr, kEdit, 0, kEsNumber},
    {106, IDC_OVERLAY_CYCLIC_DEVICE, nullptr, kDropList, kCbsSort, 0},
    {106, IDC_OVERLAY_CYCLE_FIRST, nullptr, kEdit, kEsNumber, 0},
    {106, IDC_OVERLAY_CYCLE_PERIOD, nullptr, kEdit, kEsNumber, 0},
    {106, IDC_WATERMARK_LIST, nullptr, kDropList, kCbsSort, 0},
    {107, IDC_FONT_SYSTEM_LIST, nullptr, kList, kLbsSort | kLbsNotify, 0},
    {107, IDC_FONT_DEVICE_LIST, nullptr, kList, kLbsNotify, kLbsSort},
    {107, IDC_FONT_DOWNLOAD_MANAGER, u"Spr\u00E1vca na\u010D\u00EDtania Orvane", kPush, kWsDisabled,
     kWsVisible},
    {107, IDC_STATIC, u"Send True Type Fonts to Printer as:", kLabel, 0, kWsVisible},
    {107, IDC_FONT_SEND_AS, nullptr, kDropList, 0, kWsVisible},
    {108, IDC_OPTIONS_AVAILABLE, nullptr, kList, kLbsSort | kLbsNotify, 0},
    {108, IDC_OPTIONS_INSTALLED, nullptr, kList, kLbsSort | kLbsNotify, 0},
    {108, IDC_QUICK_SETUP, u"R\u00FDchlo nastavi\u0165", kPush, kWsDisabled, kWsVisible},
    {108, IDC_STATIC, u"Skupina SNMP", kLabel, 0, kWsVisible},
    {108, IDC_SNMP_COMMUNITY, nullptr, kEdit, 0, kWsVisible},
    {109, IDC_SUPPLIES_TITLE, u"Static", kLabel, kSsCenterImage, 0},
    {109, IDC_BEACON_VIEW, u"Beacon View", kPush, kWsDisabled, kWsVisible},
    {111, IDC_JOB_HALFTONE, nullptr, kDropList, kCbsSort, 0},
    {111, IDC_PRINT_QUALITY, nullptr, kDropList, kCbsSort, 0},
    {111, IDC_STATIC, u"Imageable Area Margins", kGroup, 0, kWsVisible},
    {111, IDC_MARGINS_DEFAULT, u"V\u00FDchodiskov\u00E9", kRadio, 0, kWsVisible},
    {111, IDC_MARGINS_NONE, u"\u017Diadny", kRadio, 0, kWsVisible},
    {112, IDC_COLOR_PROFILE_LIST, nullptr, kDropDown, kCbsSort, 0},
    {112, IDC_RESIDENT_RGB_SOURCE_LIST, nullptr, kDropList, 0, kWsVisible},
    {112, IDC_RESIDENT_SIMULATION_LIST, nullptr, kDropList, 0, kWsVisible},
    {112, IDC_RESIDENT_DESTINATION_LIST, nullptr, kDropList, 0, kWsVisible},
    {113, IDC_PS_USE_DSC,
     u"Pou\u017Ei\u0165 \u0161trukturovaciu konvenciu dokumentu pod\u013Ea Adobe", kCheck,
     kWsDisabled, 0},
    {113, IDC_PS_ALLOW_EMULATION, u"Povoli\u0165 aplik\u00E1cii emulova\u0165 PostScript", kCheck,
     kWsDisabled, 0},
    {113, IDC_PS_HEADER_PATH, nullptr, kEdit, kEsAutoHScroll, 0},
    {113, IDC_PS_EOD_MODE, nullptr, kDropList, 0, kCbsSort},
    {113, IDC_PS_CTRLD_POSITION, nullptr, kDropList, 0, kCbsSort},
    {113, IDC_PS_JOB_TIMEOUT, nullptr, kEdit, kEsNumber, 0},
    {114, IDC_DOC_COPIES, nullptr, kEdit, kEsNumber, 0},
    {114, IDC_DOC_SCALE, nullptr, kEdit, kEsNumber, 0},
    {114, IDC_STATIC, u"Save On Disk Till:", kLabel, 0, kWsVisible},
    {114, IDC_DOC_KEEP_DATE, nullptr, kDate, 0, kWsVisible},
    {114, IDC_DOC_KEEP_TIME, nullptr, kDate, 0, kWsVisible},
    {115, IDC_WM_FONT, nullptr, kDropList, kCbsSort, 0},
    {115, IDC_WM_STYLE, nullptr, kDropList, 0, kCbsSort},
    {115, IDC_WM_COLOR, nullptr, kDropList, 0, kCbsSort},
    {115, IDC_WM_SIZE, nullptr, kEdit, kEsNumber, 0},
    {115, IDC_WM_ANGLE, nullptr, kEdit, kEsNumber, 0},
    {115, IDC_WM_INTENSITY, nullptr, kEdit, kEsNumber, 0},
    {115, IDC_WM_OUTLINE, u"Iba ako obrysy", kCheck, kWsDisabled, 0},
    {115, IDC_WM_OFFSET_X, nullptr, kEdit, 0, kEsNumber},
    {115, IDC_WM_OFFSET_Y, nullptr, kEdit, 0, kEsNumber},
    {115, IDC_STATIC, u"N\u00E1h\u013Ead", kGroup, 0, kWsVisible},
    {116, IDC_CRD_DEFAULT, nullptr, kDropList, kCbsSort, 0},
    {116, IDC_CRD_IMAGE, nullptr, kDropList, kCbsSort, 0},
    {116, IDC_CRD_TEXT, nullptr, kDropList, kCbsSort, 0},
    {116, IDC_CRD_GRAPHICS, nullptr, kDropList, kCbsSort, 0},
    {116, IDC_CRD_COLOR_SPACE, nullptr, kDropList, kCbsSort, 0},
    {117, IDC_ICC_RGB_SOURCE, nullptr, kDropList, kCbsSort, 0},
    {117, IDC_ICC_SIMULATION, nullptr, kDropList, kCbsSort, 0},
    {117, IDC_ICC_DESTINATION, nullptr, kDropList, kCbsSort, 0},
    {118, IDC_PROFILE_DESCRIPTION, nullptr, kDropDown, kCbsSort | kCbsAutoHScroll, 0},
    {118, IDC_PROFILE_FILE_NAME, nullptr, kEdit, kEsAutoHScroll, 0},
    {120, IDC_ABOUT_PICTURE, nullptr, kPicture, kSsCenterImage, 0},
    {120, IDC_ABOUT_TEXT, nullptr, kEdit,
     kEsMultiline | kEsReadOnly | kEsCenter | kEsAutoVScroll | kWsBorder, 0},
    {120, IDC_ABOUT_RESET, u"Obnovi\u0165 v\u00FDchodiskov\u00E9 nastavenie ovl\u00E1da\u010Da",
     kPush, kWsTabStop, 0},
    {121, IDC_FEED_BANNER_SOURCE, nullptr, kDropList, kCbsSort, 0},
    {121, IDC_FEED_TRAILER_SOURCE, nullptr, kDropList, kCbsSort, 0},
    {121, IDC_FEED_FIRST_PAGE_SOURCE, nullptr, kDropList, kCbsSort, 0},
    {121, IDC_FEED_ADVANCED_TRAY,
     u"Roz\u0161\u00EDren\u00E1 vo\u013Eba vstupn\u00E9ho z\u00E1sobn\u00EDka", kPush, 0,
     kWsVisible},
    {192, IDC_CUSTOM_WIDTH, nullptr, kEdit, 0, kEsNumber},
    {192, IDC_CUSTOM_HEIGHT, nullptr, kEdit, 0, kEsNumber},
    {192, IDC_CUSTOM_FEED_EDGE, nullptr, kDropDown, 0, 0},
    {192, IDC_STATIC, u"Posunutie vztiahnut\u00E9 k smeru posunu papiera", kGroup, 0, kWsVisible},
    {192, IDC_STATIC, u"Perpendicular Direction:", kLabel, 0, kWsVisible},
    {192, IDC_CUSTOM_OFFSET_PERPENDICULAR, nullptr, kEdit, 0, kWsVisible},
    {192, IDC_STATIC, u"Parallel Direction:", kLabel, 0, kWsVisible},
    {192, IDC_CUSTOM_OFFSET_PARALLEL, nullptr, kEdit, 0, kWsVisible},
};

DialogTemplate Load(int id) {
    const ResRecord* rec = FindRecord(ProgramRecords(), kRtDialog, static_cast<std::uint16_t>(id));
    if (rec == nullptr)
        return {};
    return ParseDialog(rec->data).value_or(DialogTemplate{});
}

const DialogItem* Find(const DialogTemplate& d, int id, const char16_t* text, ControlKind kind) {
    for (const DialogItem& item : d.items) {
        if (item.id != id)
            continue;
        if (id != IDC_STATIC || (item.text == text && item.kind == kind))
            return &item;
    }
    return nullptr;
}

std::string Utf8(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string Label(int dialog, int id, const char16_t* text) {
    std::ostringstream out;
    out << "dialog " << dialog << " control " << id;
    if (text != nullptr)
        out << " " << Utf8(text);
    return out.str();
}

// Each listed control has its kind and styles; unless listed as hidden or disabled it is visible
// and enabled.
TEST(DialogControls, KindAndStylesAsStated) {
    for (const ControlSpec& expected : kControls) {
        const DialogTemplate d = Load(expected.dialog);
        const DialogItem* item = Find(d, expected.id, expected.text, expected.type.kind);
        SCOPED_TRACE(Label(expected.dialog, expected.id, expected.text));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->kind, expected.type.kind);
        EXPECT_EQ(item->style & expected.type.mask, expected.type.value);
        if (expected.text != nullptr) {
            EXPECT_EQ(item->text, expected.text);
        }
        EXPECT_EQ(item->style & expected.set, expected.set);
        EXPECT_EQ(item->style & expected.clear, 0u);
        EXPECT_EQ((item->style & kWsVisible) != 0, (expected.clear & kWsVisible) == 0);
        EXPECT_EQ((item->style & kWsDisabled) != 0, (expected.set & kWsDisabled) != 0);
    }
}

struct Placement {
    int dialog;
    int id;
    const char16_t* text; // finds an IDC_STATIC control
    ControlKind kind;
    int x, y, cx, cy;
};

const Placement kPlacements[] = {
    {105, IDC_STATIC, u"Rozl\u00ED\u0161enie (DPI)", ControlKind::Button, 2, 7, 278, 34},
    {105, IDC_RESOLUTION, nullptr, ControlKind::ComboBox, 13, 19, 151, 58},
    {105, IDC_GRAPHICS_OPTIONS, nullptr, ControlKind::Button, 179, 19, 88, 14},
    {105, IDC_QUICK_COLOR_GROUP, nullptr, ControlKind::Button, 1, 47, 279, 34},
    {105, IDC_QUICK_COLOR, nullptr, ControlKind::ComboBox, 13, 57, 151, 141},
    {105, IDC_COLOR_OPTIONS, nullptr, ControlKind::Button, 179, 57, 88, 14},
    {105, IDC_POSTSCRIPT_OPTIONS, nullptr, ControlKind::Button, 179, 95, 88, 14},
    {105, IDC_DOCUMENT_OPTIONS, nullptr, ControlKind::Button, 179, 125, 88, 14},
    {111, IDC_STATIC, u"V\u00FDchodiskov\u00E9 polt\u00F3ny \u00FAlohy", ControlKind::Button, 6, 3,
     215, 50},
    {111, IDC_JOB_HALFTONE, nullptr, ControlKind::ComboBox, 14, 15, 106, 47},
    {111, IDC_ELEMENT_HALFTONES, nullptr, ControlKind::Button, 105, 32, 106, 14},
    {111, IDC_STATIC, u"Zv\u00FDraznenie", ControlKind::Button, 6, 56, 215, 53},
    {111, IDC_STATIC, u"Kvalita tla\u010De", ControlKind::Static, 15, 68, 87, 9},
    {111, IDC_PRINT_QUALITY, nullptr, ControlKind::ComboBox, 105, 67, 106, 47},
    {111, IDC_TONER_SAVING, nullptr, ControlKind::Button, 15, 89, 110, 10},
    {111, IDC_STATIC, u"Efekty", ControlKind::Button, 6, 112, 215, 39},
    {111, IDC_INVERT_IMAGE, nullptr, ControlKind::Button, 15, 124, 73, 10},
    // As wide as the box above it: at 59 units "Zrkadlov\u00FD obraz" was cut off.
    {111, IDC_MIRROR_IMAGE, nullptr, ControlKind::Button, 15, 137, 73, 10},
    {111, IDC_STATIC, u"Oto\u010Denie", ControlKind::Button, 6, 154, 215, 28},
    {113, IDC_STATIC, u"Vo\u013Eby PostScriptu", ControlKind::Button, 7, 7, 219, 70},
    {113, IDC_STATIC, u"Vlastn\u00E1 extern\u00E1 hlavi\u010Dka PostScriptu", ControlKind::Button,
     7, 78, 219, 42},
    {113, IDC_PS_HEADER_PATH, nullptr, ControlKind::Edit, 15, 100, 126, 14},
    {113, IDC_STATIC, u"Koniec Vo\u013Eby \u00DAlohy", ControlKind::Button, 7, 123, 219, 45},
    {113, IDC_PS_EOD_MODE, nullptr, ControlKind::ComboBox, 107, 135, 95, 50},
    {113, IDC_PS_CTRLD_POSITION, nullptr, ControlKind::ComboBox, 107, 152, 95, 52},
    {113, IDC_PS_JOB_TIMEOUT, nullptr, ControlKind::Edit, 107, 176, 31, 14},
    {114, IDC_STATIC, u"Kompletovanie", ControlKind::Button, 7, 7, 224, 39},
    {114, IDC_STATIC, u"Po\u010Det k\u00F3pi\u00ED / Mierka", ControlKind::Button, 7, 48, 224, 36},
    {114, IDC_DOC_COPIES, nullptr, ControlKind::Edit, 58, 62, 24, 14},
    {114, IDC_DOC_SCALE, nullptr, ControlKind::Edit, 179, 63, 24, 14},
    {114, IDC_DOC_REPRINT_NAME, nullptr, ControlKind::Edit, 101, 99, 113, 14},
    {114, IDC_DOC_EMAIL_ADDRESS, nullptr, ControlKind::Edit, 102, 136, 118, 15},
};

// Controls whose position and size are fixed keep them to the dialog unit.
TEST(DialogControls, FixedCoordinatesAreKept) {
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(Label(p.dialog, p.id, p.text));
        const DialogTemplate d = Load(p.dialog);
        const DialogItem* item = Find(d, p.id, p.text, p.kind);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->kind, p.kind);
        EXPECT_EQ(item->x, p.x);
        EXPECT_EQ(item->y, p.y);
        EXPECT_EQ(item->cx, p.cx);
        EXPECT_EQ(item->cy, p.cy);
    }
}

// The twenty consumable rows: name, right-aligned value, level bar and maximum on one line;
// rows 0 to 9 in the left column with smooth 64 x 10 bars, rows 10 to 19 in the right column
// with 24 x 10 bars, row k beside row k + 10.
TEST(DialogControls, ConsumableRowsAreComplete) {
    const DialogTemplate d = Load(IDD_CONSUMABLES);
    for (int k = 0; k < 20; ++k) {
        SCOPED_TRACE(k);
        const DialogItem* name = Find(d, IDC_SUPPLY_NAME_0 + k, nullptr, ControlKind::Static);
        const DialogItem* value = Find(d, IDC_SUPPLY_VALUE_0 + k, nullptr, ControlKind::Static);
        const DialogItem* bar = Find(d, IDC_SUPPLY_BAR_0 + k, nullptr, ControlKind::Progress);
        const DialogItem* max = Find(d, IDC_SUPPLY_MAX_0 + k, nullptr, ControlKind::Static);
        ASSERT_TRUE(name && value && bar && max);
        EXPECT_EQ(name->kind, ControlKind::Static);
        EXPECT_EQ(value->style & kStaticTypeMask, kSsRight);
        EXPECT_EQ(bar->kind, ControlKind::Progress);
        EXPECT_EQ(max->kind, ControlKind::Static);
        EXPECT_EQ(bar->cx, k < 10 ? 64 : 24);
        EXPECT_EQ(bar->cy, 10);
        EXPECT_EQ((bar->style & kPbsSmooth) != 0, k < 10);
        EXPECT_LT(name->x, value->x);
        EXPECT_LT(value->x, bar->x);
        EXPECT_LT(bar->x, max->x);
        EXPECT_EQ(value->y, name->y);
        EXPECT_EQ(max->y, name->y);
        EXPECT_LE(std::abs(bar->y - name->y), 2);
        if (k < 10) {
            const DialogItem* beside =
                Find(d, IDC_SUPPLY_NAME_0 + k + 10, nullptr, ControlKind::Static);
            ASSERT_NE(beside, nullptr);
            EXPECT_EQ(beside->y, name->y);
            EXPECT_LT(max->x + max->cx, beside->x);
        }
        if (k % 10 != 0) {
            const DialogItem* above =
                Find(d, IDC_SUPPLY_NAME_0 + k - 1, nullptr, ControlKind::Static);
            ASSERT_NE(above, nullptr);
            EXPECT_GE(name->y, above->y + 10);
        }
    }
}

// Pictures name their bitmap in the template: the About picture 140, and the Layout preview
// starts on the portrait page 152.
TEST(DialogControls, PicturesNameTheirBitmaps) {
    const DialogTemplate aboutPage = Load(IDD_ABOUT);
    const DialogItem* about = Find(aboutPage, IDC_ABOUT_PICTURE, nullptr, ControlKind::Static);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->textOrdinal, std::optional<std::uint16_t>(140));
    const DialogTemplate layoutPage = Load(IDD_LAYOUT);
    const DialogItem* preview = Find(layoutPage, IDC_PREVIEW_PICTURE, nullptr, ControlKind::Static);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->textOrdinal, std::optional<std::uint16_t>(152));
}

// ---- every control of every template against the table of the dialogs' descriptions ------

std::string Lines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines)
        out += "\n  " + line;
    return out;
}

// Each template holds exactly the described controls: ids, kinds, texts and stated styles; no
// described control is missing and no control with an id is left over.
TEST(DialogControlTable, EveryTemplateHoldsItsDescribedControls) {
    ASSERT_EQ(ExpectedDialogs().size(), 19u);
    for (const ExpectedDialog& expected : ExpectedDialogs()) {
        SCOPED_TRACE(expected.id);
        const DialogTemplate d = Load(expected.id);
        ASSERT_FALSE(d.items.empty());
        const std::vector<std::string> problems = CompareControls(d, expected.controls);
        EXPECT_TRUE(problems.empty()) << "dialog " << expected.id << Lines(problems);
    }
}

// The supplies shop is one page: the Consumables page's button shows the About page's address.
TEST(DialogControlTable, BothShopButtonsShowOneAddress) {
    const DialogTemplate aboutPage = Load(IDD_ABOUT);
    const DialogTemplate suppliesPage = Load(IDD_CONSUMABLES);
    const DialogItem* about = Find(aboutPage, IDC_ABOUT_SHOP_LINK, nullptr, ControlKind::Button);
    const DialogItem* supplies =
        Find(suppliesPage, IDC_SUPPLIES_SHOP, nullptr, ControlKind::Button);
    ASSERT_TRUE(about && supplies);
    EXPECT_FALSE(about->text.empty());
    EXPECT_EQ(supplies->text, about->text);
}

// The comparison itself catches each kind of fault in a template.
struct Fault {
    const char* name;
    int dialog;
    void (*apply)(DialogTemplate&);
    const char* reported; // part of the line that must be reported
};

DialogItem& Item(DialogTemplate& d, int id) {
    for (DialogItem& item : d.items) {
        if (item.id == id)
            return item;
    }
    throw std::runtime_error("no control " + std::to_string(id));
}

DialogItem& LabelItem(DialogTemplate& d, const char16_t* text) {
    for (DialogItem& item : d.items) {
        if (item.id == IDC_STATIC && item.text == text)
            return item;
    }
    throw std::runtime_error("no label");
}

void EraseId(DialogTemplate& d, int id) {
    std::erase_if(d.items, [id](const DialogItem& item) { return item.id == id; });
}

const Fault kFaults[] = {
    {"missing control", 104, [](DialogTemplate& d) { EraseId(d, 1026); }, "1026"},
    {"misspelt text", 104,
     [](DialogTemplate& d) { Item(d, 1024).text = u"Roz\u0161\u00EDren\u00E9 mo\u017Enosti"; },
     "1024"},
    {"misspelt label", 104, [](DialogTemplate& d) { LabelItem(d, u"Zdroj").text = u"Zdroje"; },
     "Zdroj"},
    {"drop-down for drop-down list", 104,
     [](DialogTemplate& d) {
         Item(d, 1020).style = (Item(d, 1020).style & ~kComboTypeMask) | kCbsDropDown;
     },
     "1020"},
    {"check box for radio button", 103,
     [](DialogTemplate& d) {
         Item(d, 1001).style = (Item(d, 1001).style & ~kButtonTypeMask) | kBsAutoCheckBox;
     },
     "1001"},
    {"unexpected named control", 104,
     [](DialogTemplate& d) {
         DialogItem extra = Item(d, 1024);
         extra.id = 1027;
         d.items.push_back(extra);
     },
     "1027"},
    {"id used twice", 104, [](DialogTemplate& d) { d.items.push_back(Item(d, 1024)); }, "twice"},
    {"wrong number", 121, [](DialogTemplate& d) { Item(d, 1525).id = 1524; }, "1525"},
    {"sorted style lost", 104, [](DialogTemplate& d) { Item(d, 1021).style &= ~kCbsSort; },
     "sorted"},
    {"insertion-order list sorted", 107, [](DialogTemplate& d) { Item(d, 1124).style |= kLbsSort; },
     "is sorted"},
    {"digits-only lost", 106, [](DialogTemplate& d) { Item(d, 1075).style &= ~kEsNumber; },
     "digits"},
    {"offset edit takes digits only", 115,
     [](DialogTemplate& d) { Item(d, 1375).style |= kEsNumber; }, "digits only"},
    {"hidden control shown", 108, [](DialogTemplate& d) { Item(d, 1144).style |= kWsVisible; },
     "visible"},
    {"visible control hidden", 104, [](DialogTemplate& d) { Item(d, 1024).style &= ~kWsVisible; },
     "hidden"},
    {"control disabled", 113, [](DialogTemplate& d) { Item(d, 1322).style |= kWsDisabled; },
     "disabled"},
    {"always-disabled control enabled", 113,
     [](DialogTemplate& d) { Item(d, 1320).style &= ~kWsDisabled; }, "enabled"},
    {"control outside its group box", 106, [](DialogTemplate& d) { Item(d, 1079).y = 0; },
     "outside"},
    {"spin before its buddy", 106,
     [](DialogTemplate& d) {
         auto spin = std::find_if(d.items.begin(), d.items.end(),
                                  [](const DialogItem& item) { return item.id == 1076; });
         std::iter_swap(spin, spin - 1);
     },
     "buddy"},
    {"spin without buddy number", 106,
     [](DialogTemplate& d) { Item(d, 1078).style &= ~kUdsSetBuddyInt; }, "number"},
    {"radio group not started", 103, [](DialogTemplate& d) { Item(d, 1003).style &= ~kWsGroup; },
     "group"},
    {"picture turned text", 120, [](DialogTemplate& d) { Item(d, 1104).style &= ~kStaticTypeMask; },
     "1104"},
};

TEST(DialogControlTable, ComparisonReportsEachFault) {
    const auto& dialogs = ExpectedDialogs();
    for (const Fault& fault : kFaults) {
        SCOPED_TRACE(fault.name);
        const auto expected = std::find_if(dialogs.begin(), dialogs.end(),
                                           [&](auto& d) { return d.id == fault.dialog; });
        ASSERT_NE(expected, dialogs.end());
        DialogTemplate d = Load(fault.dialog);
        ASSERT_TRUE(CompareControls(d, expected->controls).empty());
        fault.apply(d);
        const std::vector<std::string> problems = CompareControls(d, expected->controls);
        const bool named = std::any_of(problems.begin(), problems.end(), [&](auto& line) {
            return line.find(fault.reported) != std::string::npos;
        });
        EXPECT_TRUE(named) << "reported:" << Lines(problems);
    }
}

// A spin attached to the edit before it must leave the edit its width: aligned into the edit it
// takes part of it, and the edit then has to scroll or it refuses digits once the shortened
// field is full (three digits of copies did not fit); placed on its own it sits right beside
// the edit.
TEST(DialogControlTable, SpinsLeaveTheirEditsRoom) {
    constexpr std::uint32_t kUdsAlignLeft = 0x08;
    int spins = 0;
    for (const ExpectedDialog& expected : ExpectedDialogs()) {
        const DialogTemplate d = Load(expected.id);
        for (std::size_t i = 1; i < d.items.size(); ++i) {
            const DialogItem& spin = d.items[i];
            const DialogItem& edit = d.items[i - 1];
            if (spin.kind != ControlKind::UpDown || (spin.style & kUdsAutoBuddy) == 0 ||
                edit.kind != ControlKind::Edit)
                continue;
            ++spins;
            SCOPED_TRACE("dialog " + std::to_string(expected.id) + " edit " +
                         std::to_string(edit.id));
            if ((spin.style & (kUdsAlignRight | kUdsAlignLeft)) != 0) {
                EXPECT_NE(edit.style & kEsAutoHScroll, 0u);
            } else {
                EXPECT_EQ(spin.x, edit.x + edit.cx);
                EXPECT_EQ(spin.y, edit.y);
            }
        }
    }
    EXPECT_EQ(spins, 8); // 106: two, 114: one, 115: five
}

} // namespace
} // namespace restest
