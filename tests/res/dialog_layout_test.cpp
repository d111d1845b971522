// Structure of every dialog template: frames, captions, fonts, geometry, ids, groups, tab stops.
#include "res/resource.h"
#include "tests/res/res_file.h"
#include "tests/res/styles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace restest {
namespace {

struct DialogSpec {
    int macro; // the IDD_ name of resource.h
    int id;    // the number the program's interfaces fix
    const char16_t* caption;
    bool page;
    int cx, cy; // 0 where the size is free
};

constexpr const char16_t* kShellFont = u"MS Shell Dlg";

const DialogSpec kDialogs[] = {
    {IDD_LAYOUT, 103, u"Rozvrhnutie", true, 314, 231},
    {IDD_PAPER, 104, u"Papier", true, 296, 239},
    {IDD_FEATURES, 105, u"Funkcie", true, 0, 0},
    {IDD_OVERLAY, 106, u"Pretla\u010D", true, 249, 254},
    {IDD_FONTS, 107, u"P\u00EDsma", true, 0, 0},
    {IDD_SETTINGS, 108, u"Nastavenie", true, 0, 0},
    {IDD_CONSUMABLES, 109, u"Spotrebn\u00FD materi\u00E1l", true, 398, 253},
    {IDD_ABOUT, 120, u"O aplik\u00E1cii", true, 0, 0},
    {IDD_GRAPHICS_OPTIONS, 111, u"Vo\u013Eby grafiky", false, 0, 0},
    {IDD_COLOR_OPTIONS, 112, u"Vo\u013Eby pre farby", false, 239, 294},
    {IDD_POSTSCRIPT_OPTIONS, 113, u"PostScript", false, 0, 0},
    {IDD_DOCUMENT_OPTIONS, 114, u"Vo\u013Eby dokumentu", false, 0, 0},
    {IDD_WATERMARK_EDITOR, 115, u"Vodoznak", false, 0, 0},
    {IDD_CRD_MATCHING, 116, u"Nastavi\u0165 s\u00FAlad farieb CRD", false, 214, 222},
    {IDD_ICC_MATCHING, 117, u"Nastavi\u0165 s\u00FAlad farieb IC+F250C", false, 230, 216},
    {IDD_PROFILE_MANAGEMENT, 118, u"Spr\u00E1va profilov", false, 227, 120},
    {IDD_HALFTONE, 119, u"Nastavi\u0165 spracovanie polt\u00F3nov", false, 0, 0},
    {IDD_ADVANCED_FEED, 121, u"Roz\u0161\u00EDren\u00E9 mo\u017Enosti pod\u00E1vania papiera",
     false, 233, 185},
    {IDD_CUSTOM_SIZE, 192, u"Vlastn\u00FD form\u00E1t papiera pre PostScript", false, 246, 238},
};

// The largest page given a size: a page within it never makes the sheet grow.
constexpr int kLargestPageCx = 398;
constexpr int kLargestPageCy = 254;

DialogTemplate Load(int id) {
    const ResRecord* rec = FindRecord(ProgramRecords(), kRtDialog, static_cast<std::uint16_t>(id));
    if (rec == nullptr)
        return {};
    return ParseDialog(rec->data).value_or(DialogTemplate{});
}

bool IsGroupBox(const DialogItem& item) {
    return item.kind == ControlKind::Button && (item.style & kButtonTypeMask) == kBsGroupBox;
}

bool IsRadio(const DialogItem& item) {
    const std::uint32_t type = item.style & kButtonTypeMask;
    return item.kind == ControlKind::Button && (type == kBsRadioButton || type == kBsAutoRadio);
}

// The part of a control that takes room in the dialog: a combo box's height in the template
// includes its dropped list.
struct Rect {
    int left, top, right, bottom;
};

Rect Footprint(const DialogItem& item) {
    int cy = item.cy;
    if (item.kind == ControlKind::ComboBox && (item.style & kComboTypeMask) != kCbsSimple)
        cy = std::min(cy, kClosedComboHeight);
    return {item.x, item.y, item.x + item.cx, item.y + cy};
}

bool Intersect(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Contains(const Rect& outer, const Rect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string Describe(int dialog, const DialogItem& item) {
    return "dialog " + std::to_string(dialog) + " control " + std::to_string(item.id) + " at (" +
           std::to_string(item.x) + "," + std::to_string(item.y) + ")";
}

// The compiled resources hold exactly the 19 templates, and each parses.
TEST(DialogTemplates, ExactlyTheNineteenDialogsArePresent) {
    ASSERT_FALSE(ProgramRecords().empty());
    std::set<int> expected, found;
    for (const DialogSpec& d : kDialogs) {
        EXPECT_EQ(d.macro, d.id) << d.id;
        expected.insert(d.id);
    }
    for (const ResRecord& rec : ProgramRecords()) {
        if (rec.type.name.empty() && rec.type.ordinal == kRtDialog) {
            EXPECT_TRUE(rec.name.name.empty());
            found.insert(rec.name.ordinal);
            EXPECT_TRUE(ParseDialog(rec.data).has_value()) << rec.name.ordinal;
        }
    }
    EXPECT_EQ(found, expected);
    EXPECT_EQ(expected.size(), 19u);
}

// Pages are child dialogs captioned with their tab title; the others are modal popups.
TEST(DialogTemplates, CaptionSizeFontAndFrame) {
    for (const DialogSpec& expected : kDialogs) {
        SCOPED_TRACE(expected.id);
        const DialogTemplate d = Load(expected.id);
        EXPECT_EQ(d.caption, expected.caption);
        if (expected.cx != 0) {
            EXPECT_EQ(d.cx, expected.cx);
            EXPECT_EQ(d.cy, expected.cy);
        }
        EXPECT_TRUE(d.style & kDsSetFont);
        EXPECT_EQ(d.pointSize, 8);
        EXPECT_EQ(d.face, expected.id == IDD_LAYOUT ? u"MS Sans Serif" : kShellFont);
        if (expected.page) {
            EXPECT_EQ(d.style & (kWsChild | kDsControl | kWsCaption),
                      kWsChild | kDsControl | kWsCaption);
            EXPECT_EQ(d.style & (kWsPopup | kWsSysMenu | kDsModalFrame), 0u);
            EXPECT_LE(d.cx, kLargestPageCx);
            EXPECT_LE(d.cy, kLargestPageCy);
        } else {
            const std::uint32_t frame = kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame;
            EXPECT_EQ(d.style & frame, frame);
            EXPECT_EQ(d.style & kWsChild, 0u);
        }
        EXPECT_FALSE(d.items.empty());
    }
}

// Every control lies within its dialog (a combo box by its closed height).
TEST(DialogTemplates, ControlsLieInsideTheirDialog) {
    for (const DialogSpec& expected : kDialogs) {
        const DialogTemplate d = Load(expected.id);
        const Rect dialog{0, 0, d.cx, d.cy};
        for (const DialogItem& item : d.items) {
            EXPECT_GT(item.cx, 0) << Describe(expected.id, item);
            EXPECT_GT(item.cy, 0) << Describe(expected.id, item);
            EXPECT_TRUE(Contains(dialog, Footprint(item))) << Describe(expected.id, item);
        }
    }
}

// No two controls overlap, hidden ones included, unless a group box holds the other whole.
TEST(DialogTemplates, ControlsDoNotOverlap) {
    for (const DialogSpec& expected : kDialogs) {
        const DialogTemplate d = Load(expected.id);
        for (std::size_t i = 0; i < d.items.size(); ++i) {
            for (std::size_t j = i + 1; j < d.items.size(); ++j) {
                const DialogItem& a = d.items[i];
                const DialogItem& b = d.items[j];
                const Rect ra = Footprint(a), rb = Footprint(b);
                if (!Intersect(ra, rb))
                    continue;
                const bool framed =
                    (IsGroupBox(a) && Contains(ra, rb)) || (IsGroupBox(b) && Contains(rb, ra));
                EXPECT_TRUE(framed)
                    << Describe(expected.id, a) << " overlaps " << Describe(expected.id, b);
            }
        }
    }
}

// Ids are unique within a dialog; only labels and frames share IDC_STATIC.
TEST(DialogTemplates, ControlIdsAreUniqueInEachDialog) {
    for (const DialogSpec& expected : kDialogs) {
        std::set<std::int32_t> seen;
        const DialogTemplate d = Load(expected.id);
        for (const DialogItem& item : d.items) {
            if (item.id == IDC_STATIC) {
                EXPECT_TRUE(item.kind == ControlKind::Static || IsGroupBox(item))
                    << Describe(expected.id, item);
                continue;
            }
            EXPECT_TRUE(seen.insert(item.id).second) << Describe(expected.id, item);
        }
    }
}

// A run of radio buttons is one group: WS_GROUP and the tab stop on its first button only, and
// WS_GROUP on the control after it, so arrow keys stay inside the group.
TEST(DialogTemplates, RadioGroupsAreDelimited) {
    int groups = 0;
    for (const DialogSpec& expected : kDialogs) {
        const DialogTemplate d = Load(expected.id);
        const auto& items = d.items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (!IsRadio(items[i]) || (i > 0 && IsRadio(items[i - 1])))
                continue;
            ++groups;
            EXPECT_TRUE(items[i].style & kWsGroup) << Describe(expected.id, items[i]);
            EXPECT_TRUE(items[i].style & kWsTabStop) << Describe(expected.id, items[i]);
            std::size_t end = i + 1;
            for (; end < items.size() && IsRadio(items[end]); ++end) {
                EXPECT_FALSE(items[end].style & kWsGroup) << Describe(expected.id, items[end]);
            }
            EXPECT_GE(end - i, 2u) << Describe(expected.id, items[i]);
            if (end < items.size()) {
                EXPECT_TRUE(items[end].style & kWsGroup) << Describe(expected.id, items[end]);
            }
        }
    }
    // Orientation, duplex, fonts, rotation, margins, collation, position, unit.
    EXPECT_EQ(groups, 8);
}

// Keyboard users reach every edit, list, push button and check box with Tab.
TEST(DialogTemplates, InteractiveControlsAreTabStops) {
    for (const DialogSpec& expected : kDialogs) {
        const DialogTemplate d = Load(expected.id);
        for (const DialogItem& item : d.items) {
            bool interactive = item.kind == ControlKind::Edit ||
                               item.kind == ControlKind::ComboBox ||
                               item.kind == ControlKind::ListBox;
            if (item.kind == ControlKind::Button) {
                const std::uint32_t type = item.style & kButtonTypeMask;
                interactive =
                    type == kBsPushButton || type == kBsDefPushButton || type == kBsAutoCheckBox;
            }
            if (interactive) {
                EXPECT_TRUE(item.style & kWsTabStop) << Describe(expected.id, item);
            }
        }
    }
}

// Each spin button follows the edit it takes as buddy, directly right of it on the same row.
TEST(DialogTemplates, SpinButtonsFollowTheirBuddy) {
    int spins = 0;
    for (const DialogSpec& expected : kDialogs) {
        const DialogTemplate d = Load(expected.id);
        const auto& items = d.items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].kind != ControlKind::UpDown)
                continue;
            ++spins;
            SCOPED_TRACE(Describe(expected.id, items[i]));
            const std::uint32_t needed = kUdsSetBuddyInt | kUdsAutoBuddy | kUdsArrowKeys;
            EXPECT_EQ(items[i].style & needed, needed);
            ASSERT_GT(i, 0u);
            const DialogItem& buddy = items[i - 1];
            EXPECT_EQ(buddy.kind, ControlKind::Edit);
            EXPECT_EQ(buddy.x + buddy.cx, items[i].x);
            EXPECT_EQ(buddy.y, items[i].y);
            EXPECT_EQ(buddy.cy, items[i].cy);
        }
    }
    // Overlay 2, document options 1, watermark editor 5.
    EXPECT_EQ(spins, 8);
}

struct ButtonsSpec {
    int dialog;
    const char16_t* ok;
    const char16_t* cancel; // nullptr: the dialog has no cancel button
    int help;
};

const ButtonsSpec kButtons[] = {
    {111, u"OK", u"Zru\u0161i\u0165", IDC_GRAPHICS_HELP},
    {112, u"OK", u"Zru\u0161i\u0165", IDC_COLOR_HELP},
    {113, u"OK", u"Zru\u0161i\u0165", IDC_PS_HELP},
    {114, u"OK", u"Zru\u0161i\u0165", IDC_DOC_HELP},
    {115, u"Ulo\u017Ei\u0165", u"Zru\u0161i\u0165", IDC_WM_HELP},
    {116, u"OK", u"Zru\u0161i\u0165", IDC_CRD_HELP},
    {117, u"OK", u"Zru\u0161i\u0165", IDC_ICC_HELP},
    {118, u"Hotov\u00E9", nullptr, IDC_PROFILE_HELP},
    {119, u"OK", u"Zru\u0161i\u0165", IDC_HALFTONE_HELP},
    {121, u"OK", u"Zru\u0161i\u0165", IDC_FEED_HELP},
    {192, u"Ulo\u017Ei\u0165", u"Zru\u0161i\u0165", IDC_CUSTOM_HELP},
};

// Modal dialogs close with their OK (the default button), Cancel and "Pomocník" buttons; pages
// have no default button of their own (the sheet has it).
TEST(DialogTemplates, ModalDialogsHaveOkCancelAndHelp) {
    for (const ButtonsSpec& expected : kButtons) {
        SCOPED_TRACE(expected.dialog);
        int defaults = 0;
        const DialogItem *ok = nullptr, *cancel = nullptr, *help = nullptr;
        const DialogTemplate d = Load(expected.dialog);
        for (const DialogItem& item : d.items) {
            if (item.kind == ControlKind::Button &&
                (item.style & kButtonTypeMask) == kBsDefPushButton)
                ++defaults;
            if (item.id == IDOK)
                ok = &item;
            if (item.id == IDCANCEL)
                cancel = &item;
            if (item.id == expected.help)
                help = &item;
        }
        EXPECT_EQ(defaults, 1);
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text, expected.ok);
        EXPECT_EQ(ok->style & kButtonTypeMask, kBsDefPushButton);
        if (expected.cancel == nullptr) {
            EXPECT_EQ(cancel, nullptr);
        } else {
            ASSERT_NE(cancel, nullptr);
            EXPECT_EQ(cancel->text, expected.cancel);
        }
        ASSERT_NE(help, nullptr);
        EXPECT_EQ(help->text, u"Pomocn\u00EDk");
    }
    for (const DialogSpec& expected : kDialogs) {
        if (!expected.page)
            continue;
        const DialogTemplate d = Load(expected.id);
        for (const DialogItem& item : d.items) {
            EXPECT_FALSE(item.kind == ControlKind::Button &&
                         (item.style & kButtonTypeMask) == kBsDefPushButton)
                << Describe(expected.id, item);
        }
    }
}

} // namespace
} // namespace restest
