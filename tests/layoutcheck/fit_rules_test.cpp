// The layout check's rules: the room a control leaves its text, and which placements of
// controls are faults (outside the dialog; overlapping, unless a group box holds the other, or
// one of them is hidden).
#include "tools/layoutcheck/fit_rules.h"

#include <gtest/gtest.h>

namespace layoutcheck {
namespace {

TEST(TextRoom, FrameBoxAndMarginsComeOffTheWidth) {
    const struct {
        TextKind kind;
        int width, dpi, zeroWidth, room;
    } cases[] = {
        {TextKind::PushButton, 75, 96, 6, 69},
        {TextKind::DefaultPushButton, 75, 96, 6, 67},
        {TextKind::CheckBox, 100, 96, 6, 100 - 13 - 3 - 2},
        {TextKind::CheckBox, 150, 144, 9, 150 - 19 - 4 - 2},
        {TextKind::CheckBox, 200, 192, 12, 200 - 25 - 6 - 2},
        {TextKind::GroupCaption, 200, 144, 9, 184},
        {TextKind::WrappedStatic, 90, 120, 7, 90},
        {TextKind::SingleLineStatic, 90, 96, 6, 90},
        {TextKind::ListEntry, 120, 96, 6, 116},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextRoom(c.kind, c.width, c.dpi, c.zeroWidth), c.room)
            << static_cast<int>(c.kind) << " at " << c.dpi;
}

TEST(PlacementProblems, ReportsWhatLeavesTheDialogOrOverlaps) {
    const ui::Rect client{0, 0, 300, 200};
    const PlacedControl group{10, "Skupina", true, true, {5, 5, 150, 100}};
    const PlacedControl inGroup{11,
                                "Vo\xC4\xBE"
                                "ba",
                                true,
                                false,
                                {10, 20, 140, 30}};
    const PlacedControl acrossGroup{12, "Cez", true, false, {140, 20, 160, 30}};
    const PlacedControl hidden{13, "Skryt\xC3\xA9", false, false, {10, 20, 140, 30}};
    const PlacedControl outside{14, "Von", true, false, {290, 190, 310, 210}};
    const PlacedControl beside{15,
                               "Ved\xC4\xBE"
                               "a",
                               true,
                               false,
                               {160, 20, 200, 30}};
    const struct {
        const char* what;
        std::vector<PlacedControl> controls;
        std::vector<std::string> problems;
    } cases[] = {
        {"a group box and what it holds", {group, inGroup}, {}},
        {"a hidden control under another", {group, inGroup, hidden}, {}},
        {"controls side by side", {inGroup, beside}, {}},
        {"a control across the group box's edge",
         {group, acrossGroup},
         {"template 104, control 10 \"Skupina\", 144 DPI: at (5,5)-(150,100) overlaps control 12 "
          "at (140,20)-(160,30)"}},
        {"two visible controls on each other",
         {inGroup, inGroup},
         {"template 104, control 11 \"Vo\xC4\xBE"
          "ba\", 144 DPI: at (10,20)-(140,30) overlaps "
          "control 11 at (10,20)-(140,30)"}},
        {"a control outside the dialog",
         {outside},
         {"template 104, control 14 \"Von\", 144 DPI: lies at (290,190)-(310,210), outside its "
          "dialog (0,0)-(300,200)"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlacementProblems(c.controls, client, 104, 144), c.problems) << c.what;
}

} // namespace
} // namespace layoutcheck
