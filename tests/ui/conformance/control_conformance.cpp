// The control behaviours the pages rely on, asserted as Win32 shows them. Every test body runs
// against each backend (see conformance.h).
#include <functional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/services.h"
#include "tests/ui/conformance/conformance.h"
#include "tests/ui/data/test_ids.h"
#include "ui/data_exchange.h"
#include "ui/services.h"

namespace ui::conformance {
namespace {

int observedFocusAfterHide = -1;
int observedFocusAfterSpin = -1;

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

std::vector<std::string> ItemsOf(const ListControl& list) {
    std::vector<std::string> items;
    for (int i = 0; i < list.GetCount(); ++i)
        items.push_back(list.GetItemText(i));
    return items;
}

int Count(const std::vector<int>& codes, int code) {
    int n = 0;
    for (int c : codes)
        n += c == code ? 1 : 0;
    return n;
}

// Sorted combo boxes and list boxes order by letters first, ignoring case, accents second;
// Slovak letters sort with their base letter; digits before letters; hyphens count only
// between texts that are otherwise equal.
TEST_P(ControlConformance, SortedListsOrderLikeTheSystem) {
    // clang-format off
    const std::vector<std::string> added = {
        "Zelen\xE1", "modr\xFD", "\xC8ierny", "cyan", "\x8Eolt\xFD", "az\xFArov\xE1",
        "\xC8\x65rven\xE1", "abc", "ABD", "ab", "10", "9", "-x", "Bro\x9E\xFAra", "coop", "co-op"};
    const std::vector<std::string> sorted = {
        "10", "9", "ab", "abc", "ABD", "az\xFArov\xE1", "Bro\x9E\xFAra", "\xC8\x65rven\xE1",
        "\xC8ierny", "coop", "co-op", "cyan", "modr\xFD", "-x", "Zelen\xE1", "\x8Eolt\xFD"};
    // clang-format on
    InDialog([&](ConformanceDialog& dialog) {
        for (int id : {IDC_SORTED_COMBO, IDC_SORTED_LIST}) {
            const ListControl list(dialog.GetDlgItem(id).GetHandle());
            for (const std::string& text : added)
                list.AddString(text);
            EXPECT_THAT(ItemsOf(list), ElementsAreArray(sorted)) << id;
        }
    });
}

// AddString reports where the entry went; InsertString(-1) appends even to a sorted list.
TEST_P(ControlConformance, AddStringAndInsertStringPositions) {
    InDialog([&](ConformanceDialog& dialog) {
        const ComboBox combo(dialog.GetDlgItem(IDC_SORTED_COMBO).GetHandle());
        EXPECT_EQ(combo.AddString("b"), 0);
        EXPECT_EQ(combo.AddString("a"), 0);
        EXPECT_EQ(combo.AddString("c"), 2);
        EXPECT_EQ(combo.InsertString(-1, "0"), 3);
        EXPECT_EQ(combo.InsertString(1, "x"), 1);
        EXPECT_EQ(combo.InsertString(9, "y"), kListError);
        EXPECT_EQ(combo.InsertString(-2, "y"), kListError);
        EXPECT_THAT(ItemsOf(combo), ElementsAre("a", "x", "b", "c", "0"));
        // Inserting before the selection moves the selection with its entry.
        combo.SetCurSel(2);
        combo.InsertString(0, "first");
        EXPECT_EQ(combo.GetCurSel(), 3);
        EXPECT_EQ(combo.GetSelectedText(), "b");
    });
}

struct FindCase {
    const char* text;
    int startAfter;
    bool exact;
    int expected;
};

// Prefix search ignores the case of ASCII letters only (an accented letter must match as it
// is), starts after the given entry and wraps round; exact search compares whole texts
// ignoring the case of every letter, Slovak ones included.
TEST_P(ControlConformance, FindStringPrefixAndExact) {
    const std::vector<std::string> items = {"Bro\x9E\xFAra",      "A4 Extra", "A4",
                                            "\x9Eolt\xFD papier", "Letter",   "\xC1ria"};
    const FindCase cases[] = {
        {"bro", -1, false, 0},
        {"BRO\x8E", -1, false, kListError},
        {"BRO\x9E", -1, false, 0},
        {"\xE1RIA", -1, false, kListError},
        {"\xC1RIA", -1, false, 5},
        {"a4", -1, false, 1},
        {"\x8EOLT\xDD", -1, false, kListError},
        {"\x9EOLT\xFD", -1, false, 3},
        {"zolt", -1, false, kListError},
        {"", -1, false, kListError},
        {"x", -1, false, kListError},
        {"a4", 1, false, 2},
        {"a4", 2, false, 1},
        {"a4", 10, false, 1},
        {"Letter2", -1, false, kListError},
        {"a4", -1, true, 2},
        {"A4 EXTRA", -1, true, 1},
        {"\x8EOLT\xDD PAPIER", -1, true, 3},
        {"a", -1, true, kListError},
        {"letter", 4, true, 4},
        {"", -1, true, kListError},
    };
    InDialog([&](ConformanceDialog& dialog) {
        for (int id : {IDC_PLAIN_COMBO, IDC_PLAIN_LIST}) {
            const ListControl list(dialog.GetDlgItem(id).GetHandle());
            for (const std::string& text : items)
                list.AddString(text);
            for (const FindCase& c : cases) {
                const int found = c.exact ? list.FindStringExact(c.startAfter, c.text)
                                          : list.FindString(c.startAfter, c.text);
                EXPECT_EQ(found, c.expected)
                    << "control " << id << " text \"" << c.text << "\" after " << c.startAfter
                    << (c.exact ? " exact" : " prefix");
            }
        }
    });
}

// Item data belongs to its entry; out-of-range indexes report an error.
TEST_P(ControlConformance, ItemDataFollowsItsEntry) {
    InDialog([&](ConformanceDialog& dialog) {
        const ComboBox combo(dialog.GetDlgItem(IDC_PLAIN_COMBO).GetHandle());
        combo.AddString("x");
        combo.AddString("y");
        combo.AddString("z");
        EXPECT_EQ(combo.GetItemData(0), 0);
        EXPECT_NE(combo.SetItemData(1, 257), kListError);
        EXPECT_EQ(combo.GetItemData(1), 257);
        EXPECT_EQ(combo.SetItemData(7, 1), kListError);
        EXPECT_EQ(combo.GetItemData(7), kListError);
        combo.InsertString(0, "w");
        EXPECT_EQ(combo.GetItemData(2), 257);
        combo.DeleteString(0);
        EXPECT_EQ(combo.GetItemData(1), 257);
    });
}

struct DeleteCase {
    int deleted;
    int expectedResult;
    int expectedSelection;
};

// Deleting the selected entry leaves no selection; other deletions keep the selected entry.
TEST_P(ControlConformance, DeleteStringAndTheSelection) {
    const DeleteCase cases[] = {
        {2, 3, -1}, {0, 3, 1}, {3, 3, 2}, {9, kListError, 2}, {-1, kListError, 2},
    };
    for (const DeleteCase& c : cases) {
        InDialog([&](ConformanceDialog& dialog) {
            for (int id : {IDC_PLAIN_COMBO, IDC_PLAIN_LIST}) {
                const ListControl list(dialog.GetDlgItem(id).GetHandle());
                for (const char* text : {"a", "b", "c", "d"})
                    list.AddString(text);
                list.SetCurSel(2);
                EXPECT_EQ(list.DeleteString(c.deleted), c.expectedResult) << id << " " << c.deleted;
                EXPECT_EQ(list.GetCurSel(), c.expectedSelection) << id << " " << c.deleted;
            }
            const ComboBox combo(dialog.GetDlgItem(IDC_PLAIN_COMBO).GetHandle());
            EXPECT_EQ(combo.GetWindowText(), c.expectedSelection < 0 ? "" : "c");
        });
    }
}

// SetCurSel(-1) clears the selection, an index past the end is refused and changes nothing;
// a drop-down list shows its selection only.
TEST_P(ControlConformance, SelectionAndTheShownText) {
    InDialog([&](ConformanceDialog& dialog) {
        const ComboBox combo(dialog.GetDlgItem(IDC_PLAIN_COMBO).GetHandle());
        combo.AddString("Na v\xFD\x9Aku");
        combo.AddString("Na \x9A\xEDrku");
        EXPECT_EQ(combo.SetCurSel(1), 1);
        EXPECT_EQ(combo.GetWindowText(), "Na \x9A\xEDrku");
        combo.SetWindowText("zzz");
        EXPECT_EQ(combo.GetWindowText(), "Na \x9A\xEDrku");
        EXPECT_EQ(combo.SetCurSel(5), kListError);
        EXPECT_EQ(combo.GetCurSel(), 1);
        EXPECT_EQ(combo.GetWindowText(), "Na \x9A\xEDrku");
        EXPECT_EQ(combo.SetCurSel(-1), kListError);
        EXPECT_EQ(combo.GetCurSel(), -1);
        EXPECT_EQ(combo.GetWindowText(), "");
        combo.SetCurSel(0);
        combo.ResetContent();
        EXPECT_EQ(combo.GetCount(), 0);
        EXPECT_EQ(combo.GetCurSel(), -1);
        EXPECT_EQ(combo.GetItemText(0), "");
    });
}

// Choosing with the mouse: the list closes (CBN_SELENDOK, CBN_CLOSEUP) with the new entry
// already selected, and CBN_SELCHANGE follows, even for the entry that was selected before;
// the program's own SetCurSel notifies nobody.
TEST_P(ControlConformance, ComboNotificationOrder) {
    InDialog([&](ConformanceDialog& dialog) {
        const ComboBox combo(dialog.GetDlgItem(IDC_PLAIN_COMBO).GetHandle());
        for (const char* text : {"1", "2", "4"})
            combo.AddString(text);
        combo.SetCurSel(0);
        EXPECT_THAT(dialog.TakeCodes(IDC_PLAIN_COMBO), IsEmpty());
        A().FocusControl(IDC_PLAIN_COMBO);
        dialog.notifications.clear();
        A().ChooseItem(IDC_PLAIN_COMBO, 2);
        EXPECT_EQ(combo.GetCurSel(), 2);
        EXPECT_THAT(dialog.TakeCodes(IDC_PLAIN_COMBO),
                    ElementsAre(kCbnDropDown, kCbnSelEndOk, kCbnCloseUp, kCbnSelChange));
        std::vector<int> selectionAtCloseUp;
        dialog.onNotification = [&](int id, int code) {
            if (id == IDC_PLAIN_COMBO && code == kCbnCloseUp)
                selectionAtCloseUp.push_back(combo.GetCurSel());
        };
        A().ChooseItem(IDC_PLAIN_COMBO, "4");
        A().ChooseItem(IDC_PLAIN_COMBO, "1");
        dialog.onNotification = nullptr;
        EXPECT_THAT(selectionAtCloseUp, ElementsAre(2, 0));
        EXPECT_THAT(dialog.TakeCodes(IDC_PLAIN_COMBO),
                    ElementsAre(kCbnDropDown, kCbnSelEndOk, kCbnCloseUp, kCbnSelChange,
                                kCbnDropDown, kCbnSelEndOk, kCbnCloseUp, kCbnSelChange));
    });
}

// On a closed drop-down list the arrow keys, Home, End, the wheel and a typed letter move the
// selection and send CBN_SELENDOK and CBN_SELCHANGE, also when the selection stays at either
// end; no close-up comes. A letter no entry begins with does nothing. The framework reports
// each such move, and each mouse choice, as one choice.
TEST_P(ControlConformance, KeyboardOnAClosedComboIsAChoice) {
    using Key = Automation::ListKey;
    InDialog([&](ConformanceDialog& dialog) {
        const ComboBox combo(dialog.GetDlgItem(IDC_PLAIN_COMBO).GetHandle());
        for (const char* text : {"Alfa", "Beta", "Bravo", "Delta"})
            combo.AddString(text);
        combo.SetCurSel(0);
        A().FocusControl(IDC_PLAIN_COMBO);
        dialog.notifications.clear();
        const struct {
            std::function<void()> act;
            int selection;
            bool notified;
        } steps[] = {
            {[&] { A().PressListKey(IDC_PLAIN_COMBO, Key::Down); }, 1, true},
            {[&] { A().PressListKey(IDC_PLAIN_COMBO, Key::End); }, 3, true},
            {[&] { A().PressListKey(IDC_PLAIN_COMBO, Key::Down); }, 3, true},
            {[&] { A().PressListKey(IDC_PLAIN_COMBO, Key::WheelUp); }, 2, true},
            {[&] { A().PressListKey(IDC_PLAIN_COMBO, Key::Home); }, 0, true},
            {[&] { A().PressListKey(IDC_PLAIN_COMBO, Key::Up); }, 0, true},
            {[&] { A().PressListKey(IDC_PLAIN_COMBO, Key::WheelDown); }, 1, true},
            {[&] { A().TypeListLetter(IDC_PLAIN_COMBO, 'b'); }, 2, true},
            {[&] { A().TypeListLetter(IDC_PLAIN_COMBO, 'B'); }, 1, true},
            {[&] { A().TypeListLetter(IDC_PLAIN_COMBO, 'd'); }, 3, true},
            {[&] { A().TypeListLetter(IDC_PLAIN_COMBO, 'x'); }, 3, false},
        };
        for (size_t i = 0; i < std::size(steps); ++i) {
            SCOPED_TRACE("step " + std::to_string(i));
            dialog.choices.clear();
            steps[i].act();
            EXPECT_EQ(combo.GetCurSel(), steps[i].selection);
            const std::vector<int> moved{kCbnSelEndOk, kCbnSelChange};
            EXPECT_EQ(dialog.TakeCodes(IDC_PLAIN_COMBO),
                      steps[i].notified ? moved : std::vector<int>{});
            EXPECT_EQ(dialog.choices, steps[i].notified ? std::vector<int>{steps[i].selection}
                                                        : std::vector<int>{});
        }
        // The mouse: one choice per close-up on another entry, the selection change after it
        // is the same one; the entry already shown clicked again is no choice.
        dialog.choices.clear();
        A().ChooseItem(IDC_PLAIN_COMBO, 0);
        A().ChooseItem(IDC_PLAIN_COMBO, 0);
        A().PressListKey(IDC_PLAIN_COMBO, Key::Down);
        EXPECT_THAT(dialog.choices, ElementsAre(0, 1));
    });
}

// A list opened and dismissed (Esc, or a click outside it) rolls up without CBN_SELENDOK or a
// selection change, keeps its selection and is no choice; a choice after it still counts.
TEST_P(ControlConformance, DismissedListIsNoChoice) {
    using Dismissal = Automation::Dismissal;
    InDialog([&](ConformanceDialog& dialog) {
        const ComboBox combo(dialog.GetDlgItem(IDC_PLAIN_COMBO).GetHandle());
        for (const char* text : {"Alfa", "Beta", "Gama"})
            combo.AddString(text);
        combo.SetCurSel(1);
        A().FocusControl(IDC_PLAIN_COMBO);
        dialog.notifications.clear();
        dialog.choices.clear();
        for (Dismissal how : {Dismissal::Escape, Dismissal::ClickOutside}) {
            A().DismissList(IDC_PLAIN_COMBO, how);
            EXPECT_EQ(combo.GetCurSel(), 1);
            EXPECT_THAT(dialog.TakeCodes(IDC_PLAIN_COMBO),
                        ElementsAre(kCbnDropDown, kCbnSelEndCancel, kCbnCloseUp));
            EXPECT_EQ(FocusedControlId(), IDC_PLAIN_COMBO);
        }
        EXPECT_THAT(dialog.choices, IsEmpty());
        A().ChooseItem(IDC_PLAIN_COMBO, 2);
        A().DismissList(IDC_PLAIN_COMBO, Dismissal::Escape);
        A().PressListKey(IDC_PLAIN_COMBO, Automation::ListKey::Up);
        EXPECT_THAT(dialog.choices, ElementsAre(2, 1));
        // The entry the list was dismissed on, chosen with the keyboard after the program moved
        // the selection away, is a choice too.
        dialog.choices.clear();
        A().DismissList(IDC_PLAIN_COMBO, Dismissal::ClickOutside);
        combo.SetCurSel(0);
        A().PressListKey(IDC_PLAIN_COMBO, Automation::ListKey::Down);
        A().DismissList(IDC_PLAIN_COMBO, Dismissal::Escape);
        A().FocusControl(IDC_EDIT);
        combo.SetCurSel(2);
        A().TypeListLetter(IDC_PLAIN_COMBO, 'b');
        EXPECT_THAT(dialog.choices, ElementsAre(1, 1));
    });
}

// Tab and Shift+Tab move through the visible, enabled tab stops in the template's order and
// wrap round; each move is a focus change the controls hear.
TEST_P(ControlConformance, TabMovesThroughTheTabStops) {
    InDialog([&](ConformanceDialog& dialog) {
        A().FocusControl(IDC_EDIT);
        std::vector<int> forward{FocusedControlId()};
        for (int i = 0; i < 40 && (forward.size() == 1 || forward.back() != IDC_EDIT); ++i) {
            A().PressTab();
            forward.push_back(FocusedControlId());
        }
        ASSERT_EQ(forward.back(), IDC_EDIT) << "Tab never came back round";
        ASSERT_GT(forward.size(), 3u);
        // Shift+Tab walks the same ring backwards.
        std::vector<int> backward{FocusedControlId()};
        for (size_t i = 1; i < forward.size(); ++i) {
            A().PressTab(true);
            backward.push_back(FocusedControlId());
        }
        EXPECT_EQ(std::vector<int>(backward.rbegin(), backward.rend()), forward);
        // A disabled control is passed over, and the edit it leaves hears the focus go.
        const int second = forward[1];
        dialog.GetDlgItem(second).EnableWindow(false);
        dialog.notifications.clear();
        A().PressTab();
        EXPECT_EQ(FocusedControlId(), forward[2]);
        EXPECT_THAT(dialog.TakeCodes(IDC_EDIT), ElementsAre(kEnKillFocus));
        dialog.GetDlgItem(second).EnableWindow(true);
    });
}

// A click in a list box notifies the selection only with LBS_NOTIFY (the focus always); a
// double click adds LBN_DBLCLK.
TEST_P(ControlConformance, ListBoxNotifications) {
    InDialog([&](ConformanceDialog& dialog) {
        for (int id : {IDC_PLAIN_LIST, IDC_QUIET_LIST}) {
            const ListBox list(dialog.GetDlgItem(id).GetHandle());
            list.AddString("one");
            list.AddString("two");
        }
        A().FocusControl(IDC_PLAIN_LIST);
        dialog.notifications.clear();
        A().ChooseItem(IDC_PLAIN_LIST, 1);
        EXPECT_EQ(ListBox(dialog.GetDlgItem(IDC_PLAIN_LIST).GetHandle()).GetCurSel(), 1);
        EXPECT_THAT(dialog.TakeCodes(IDC_PLAIN_LIST), ElementsAre(kLbnSelChange));
        A().ChooseItem(IDC_QUIET_LIST, 1);
        EXPECT_EQ(ListBox(dialog.GetDlgItem(IDC_QUIET_LIST).GetHandle()).GetCurSel(), 1);
        EXPECT_THAT(dialog.TakeCodes(IDC_QUIET_LIST), ElementsAre(kLbnSetFocus));
        A().DoubleClickItem(IDC_PLAIN_LIST, 0);
        const std::vector<int> codes = dialog.TakeCodes(IDC_PLAIN_LIST);
        EXPECT_EQ(Count(codes, kLbnDblClk), 1);
    });
}

// A combo box with an edit field shows the selected entry in its edit; typing leaves the list
// without a selection and reports CBN_EDITUPDATE and CBN_EDITCHANGE per character, within the
// limit; the program's own text neither selects nor is cut.
TEST_P(ControlConformance, ComboEditField) {
    InDialog([&](ConformanceDialog& dialog) {
        const ComboBox combo(dialog.GetDlgItem(IDC_EDIT_COMBO).GetHandle());
        for (const char* text : {"Beta", "Alfa", "Gama"})
            combo.AddString(text);
        EXPECT_EQ(combo.SetCurSel(1), 1);
        EXPECT_EQ(combo.GetWindowText(), "Beta");
        combo.SetWindowText("In\xFD");
        EXPECT_EQ(combo.GetCurSel(), 1);
        EXPECT_EQ(combo.GetWindowText(), "In\xFD");

        dialog.notifications.clear();
        A().ReplaceText(IDC_EDIT_COMBO, "Ga");
        EXPECT_EQ(combo.GetWindowText(), "Ga");
        EXPECT_EQ(combo.GetCurSel(), -1);
        const std::vector<int> codes = dialog.TakeCodes(IDC_EDIT_COMBO);
        EXPECT_EQ(Count(codes, kCbnEditUpdate), 2);
        EXPECT_EQ(Count(codes, kCbnEditChange), 2);
        EXPECT_EQ(Count(codes, kCbnSelChange), 0);

        A().ChooseItem(IDC_EDIT_COMBO, 0);
        EXPECT_EQ(combo.GetCurSel(), 0);
        EXPECT_EQ(combo.GetWindowText(), "Alfa");
        EXPECT_EQ(Count(dialog.TakeCodes(IDC_EDIT_COMBO), kCbnSelChange), 1);

        combo.LimitText(3);
        EXPECT_EQ(combo.GetLimitText(), 3);
        A().ReplaceText(IDC_EDIT_COMBO, "abcdef");
        EXPECT_EQ(combo.GetWindowText(), "abc");
        combo.SetWindowText("dlh\xFD text");
        EXPECT_EQ(combo.GetWindowText(), "dlh\xFD text");
        EXPECT_EQ(combo.FindStringExact(-1, "gama"), 2);

        combo.SetCurSel(0);
        EXPECT_EQ(combo.SetCurSel(-1), kListError);
        EXPECT_EQ(combo.GetWindowText(), "");
        combo.SetCurSel(2);
        EXPECT_EQ(combo.GetWindowText(), "Gama");
        combo.DeleteString(2);
        EXPECT_EQ(combo.GetCurSel(), -1);
        EXPECT_EQ(combo.GetWindowText(), "Gama");
        combo.ResetContent();
        EXPECT_EQ(combo.GetWindowText(), "");
    });
}

// A length limit stops typing, not the program's own texts.
TEST_P(ControlConformance, EditLengthLimit) {
    InDialog([&](ConformanceDialog& dialog) {
        const Edit edit(dialog.GetDlgItem(IDC_EDIT).GetHandle());
        EXPECT_EQ(edit.GetLimitText(), 30000);
        edit.LimitText(5);
        EXPECT_EQ(edit.GetLimitText(), 5);
        A().ReplaceText(IDC_EDIT, "abcdefg");
        EXPECT_EQ(edit.GetWindowText(), "abcde");
        edit.SetWindowText("123456789");
        EXPECT_EQ(edit.GetWindowText(), "123456789");
        edit.LimitText(0);
        EXPECT_EQ(edit.GetLimitText(), 0x7FFFFFFE);
    });
}

// A digits-only edit refuses other characters from the keyboard, not from the program; a
// read-only edit takes nothing from the keyboard.
TEST_P(ControlConformance, DigitsOnlyAndReadOnlyEdits) {
    InDialog([&](ConformanceDialog& dialog) {
        A().ReplaceText(IDC_NUMBER, "12a3-");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_NUMBER), "123");
        dialog.SetDlgItemText(IDC_NUMBER, "abc");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_NUMBER), "abc");
        dialog.SetDlgItemText(IDC_READONLY, "pevn\xFD");
        dialog.notifications.clear();
        A().ReplaceText(IDC_READONLY, "x");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_READONLY), "pevn\xFD");
        EXPECT_EQ(Count(dialog.TakeCodes(IDC_READONLY), kEnChange), 0);
    });
}

// Each typed character is one EN_CHANGE; the program's text of a single-line edit is one too,
// of a multi-line edit none.
TEST_P(ControlConformance, EditChangeNotifications) {
    InDialog([&](ConformanceDialog& dialog) {
        A().ReplaceText(IDC_EDIT, "ab\xE8");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT), "ab\xE8");
        EXPECT_EQ(Count(dialog.TakeCodes(IDC_EDIT), kEnChange), 3);
        A().TypeText(IDC_EDIT, "d");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT), "ab\xE8\x64");
        EXPECT_EQ(Count(dialog.TakeCodes(IDC_EDIT), kEnChange), 1);
        A().ReplaceText(IDC_EDIT, "");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT), "");
        EXPECT_EQ(Count(dialog.TakeCodes(IDC_EDIT), kEnChange), 1);
        dialog.SetDlgItemText(IDC_EDIT, "text");
        EXPECT_EQ(Count(dialog.TakeCodes(IDC_EDIT), kEnChange), 1);
        dialog.SetDlgItemText(IDC_MULTILINE, "text");
        EXPECT_EQ(Count(dialog.TakeCodes(IDC_MULTILINE), kEnChange), 0);
        A().ReplaceText(IDC_NUMBER, "x");
        EXPECT_EQ(Count(dialog.TakeCodes(IDC_NUMBER), kEnChange), 0);
    });
}

// When an edit hears it lost the focus, the control that receives it already has it.
TEST_P(ControlConformance, KillFocusSeesTheNewFocus) {
    InDialog([&](ConformanceDialog& dialog) {
        std::vector<int> focusedDuringKill;
        dialog.onNotification = [&](int id, int code) {
            if (id == IDC_EDIT && code == kEnKillFocus)
                focusedDuringKill.push_back(FocusedControlId());
        };
        A().FocusControl(IDC_EDIT);
        EXPECT_EQ(FocusedControlId(), IDC_EDIT);
        A().FocusControl(IDC_NUMBER);
        A().FocusControl(IDC_EDIT);
        A().Click(IDC_PUSH);
        A().FocusControl(IDC_EDIT);
        A().FocusControl(kIdOk);
        EXPECT_THAT(focusedDuringKill, ElementsAre(IDC_NUMBER, IDC_PUSH, kIdOk));
        EXPECT_THAT(dialog.TakeCodes(IDC_PUSH), ElementsAre(kBnClicked));
    });
}

// Up-down controls keep their position within the range, show it in the buddy and take a
// number typed into the buddy as the position.
TEST_P(ControlConformance, SpinRangeAndBuddy) {
    InDialog([&](ConformanceDialog& dialog) {
        const SpinButton spin(dialog.GetDlgItem(IDC_SPIN).GetHandle());
        EXPECT_EQ(spin.GetBuddy().GetDlgCtrlID(), IDC_NUMBER);
        EXPECT_EQ(spin.GetRange(), std::make_pair(100, 0));
        spin.SetRange(1, 99);
        spin.SetAccel({{0, 1}});
        spin.SetPos(150);
        EXPECT_EQ(spin.GetPos(), 99);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_NUMBER), "99");
        spin.SetPos(0);
        EXPECT_EQ(spin.GetPos(), 1);
        spin.SetPos(99);
        dialog.notifications.clear();
        A().SpinUp(IDC_SPIN);
        EXPECT_EQ(spin.GetPos(), 99);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_NUMBER), "99");
        A().SpinDown(IDC_SPIN);
        EXPECT_EQ(spin.GetPos(), 98);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_NUMBER), "98");
        EXPECT_EQ(Count(dialog.TakeCodes(IDC_NUMBER), kEnChange), 1);
        A().ReplaceText(IDC_NUMBER, "42");
        A().SpinUp(IDC_SPIN);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_NUMBER), "43");
        bool error = false;
        dialog.SetDlgItemText(IDC_NUMBER, "abc");
        spin.GetPos(&error);
        EXPECT_TRUE(error);
        dialog.SetDlgItemText(IDC_NUMBER, "12");
        EXPECT_EQ(spin.GetPos(&error), 12);
        EXPECT_FALSE(error);
        spin.SetAccel({{0, 5}});
        A().SpinUp(IDC_SPIN);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_NUMBER), "17");
        // A range from high to low turns the arrows round.
        spin.SetRange(10, 0);
        spin.SetAccel({{0, 1}});
        spin.SetPos(5);
        A().SpinUp(IDC_SPIN);
        EXPECT_EQ(spin.GetPos(), 4);
        // Thousands are grouped in the buddy.
        spin.SetRange(0, 5000);
        spin.SetPos(1234);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_NUMBER), "1,234");
        EXPECT_EQ(spin.GetPos(), 1234);
    });
}

// Progress bars keep their position within the range, with 32-bit ranges.
TEST_P(ControlConformance, ProgressRangeAndPosition) {
    InDialog([&](ConformanceDialog& dialog) {
        const ProgressBar bar(dialog.GetDlgItem(IDC_PROGRESS).GetHandle());
        EXPECT_EQ(bar.GetRange(), std::make_pair(0, 100));
        bar.SetRange(0, 6000);
        EXPECT_EQ(bar.GetRange(), std::make_pair(0, 6000));
        EXPECT_EQ(bar.SetPos(1800), 0);
        EXPECT_EQ(bar.GetPos(), 1800);
        EXPECT_EQ(bar.SetPos(7000), 1800);
        EXPECT_EQ(bar.GetPos(), 6000);
        bar.SetPos(-1);
        EXPECT_EQ(bar.GetPos(), 0);
        bar.SetRange(0, 240000);
        bar.SetPos(120000);
        EXPECT_EQ(bar.GetPos(), 120000);
    });
}

// Check boxes toggle; an automatic radio button, clicked or checked by the program, unchecks
// the others of its group only.
TEST_P(ControlConformance, CheckBoxesAndRadioGroups) {
    InDialog([&](ConformanceDialog& dialog) {
        A().Click(IDC_CHECK);
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_CHECK), kChecked);
        A().Click(IDC_CHECK);
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_CHECK), kUnchecked);
        EXPECT_THAT(dialog.TakeCodes(IDC_CHECK), ElementsAre(kBnClicked, kBnClicked));

        dialog.CheckDlgButton(IDC_RADIO_A1, kChecked);
        dialog.CheckDlgButton(IDC_RADIO_B1, kChecked);
        A().Click(IDC_RADIO_A2);
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_RADIO_A1), kUnchecked);
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_RADIO_A2), kChecked);
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_RADIO_B1), kChecked);
        EXPECT_THAT(dialog.TakeCodes(IDC_RADIO_A2), ElementsAre(kBnClicked));
        A().Click(IDC_RADIO_A2);
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_RADIO_A2), kChecked);
        dialog.CheckRadioButton(IDC_RADIO_A1, IDC_RADIO_A3, IDC_RADIO_A3);
        EXPECT_EQ(dialog.GetCheckedRadioButton(IDC_RADIO_A1, IDC_RADIO_A3), IDC_RADIO_A3);
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_RADIO_A2), kUnchecked);
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_RADIO_B1), kChecked);
        dialog.CheckDlgButton(IDC_RADIO_A1, kChecked);
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_RADIO_A3), kUnchecked);
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_RADIO_B1), kChecked);
        dialog.CheckDlgButton(IDC_RADIO_A1, kUnchecked);
        EXPECT_EQ(dialog.GetCheckedRadioButton(IDC_RADIO_A1, IDC_RADIO_A3), 0);
    });
}

// Disabled and hidden buttons cannot be clicked; enabling and showing takes effect at once.
TEST_P(ControlConformance, EnableAndShow) {
    InDialog([&](ConformanceDialog& dialog) {
        EXPECT_FALSE(dialog.GetDlgItem(IDC_DISABLED).IsWindowEnabled());
        EXPECT_FALSE(dialog.GetDlgItem(IDC_HIDDEN).IsWindowVisible());
        EXPECT_TRUE(dialog.GetDlgItem(IDC_PUSH).IsWindowVisible());
        dialog.notifications.clear();
        A().Click(IDC_DISABLED);
        A().Click(IDC_HIDDEN);
        EXPECT_THAT(dialog.notifications, IsEmpty());
        dialog.GetDlgItem(IDC_DISABLED).EnableWindow(true);
        dialog.GetDlgItem(IDC_HIDDEN).ShowWindow(true);
        EXPECT_TRUE(dialog.GetDlgItem(IDC_HIDDEN).IsWindowVisible());
        A().Click(IDC_DISABLED);
        A().Click(IDC_HIDDEN);
        EXPECT_THAT(dialog.TakeCodes(IDC_DISABLED), ElementsAre(kBnClicked));
        EXPECT_THAT(dialog.TakeCodes(IDC_HIDDEN), ElementsAre(kBnClicked));
    });
}

// Where the focus goes when the focused control is disabled or hidden, or an up-down arrow is
// clicked.
TEST_P(ControlConformance, FocusMovesAwayFromDisabledAndHiddenControls) {
    InDialog([&](ConformanceDialog& dialog) {
        A().FocusControl(IDC_EDIT);
        dialog.GetDlgItem(IDC_EDIT).EnableWindow(false);
        EXPECT_EQ(CurrentBackend().Focus(), nullptr);
        A().FocusControl(IDC_NUMBER);
        dialog.notifications.clear();
        dialog.GetDlgItem(IDC_NUMBER).ShowWindow(false);
        EXPECT_EQ(dialog.TakeCodes(IDC_NUMBER), std::vector<int>{kEnKillFocus});
        observedFocusAfterHide = FocusedControlId();
        dialog.GetDlgItem(IDC_NUMBER).ShowWindow(true);
        A().FocusControl(IDC_CHECK);
        A().SpinUp(IDC_SPIN);
        observedFocusAfterSpin = FocusedControlId();
    });
    // Hiding hands the focus to the dialog's first tab stop; the arrows focus their buddy.
    EXPECT_EQ(observedFocusAfterHide, IDC_SORTED_COMBO);
    EXPECT_EQ(observedFocusAfterSpin, IDC_NUMBER);
}

// A dialog is shown only after its initialisation, which focuses the first tab stop.
TEST_P(ControlConformance, InitialisationVisibilityAndFocus) {
    bool visibleDuringInit = true;
    InDialog([&](ConformanceDialog& dialog) {
        EXPECT_TRUE(dialog.IsWindowVisible());
        EXPECT_EQ(FocusedControlId(), IDC_SORTED_COMBO);
    });
    ConformanceDialog dialog;
    dialog.onInit = [&](ConformanceDialog& d) { visibleDuringInit = d.IsWindowVisible(); };
    A().OnDialog(IDD_CONFORMANCE, [&] { A().PressCancel(); });
    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    EXPECT_FALSE(visibleDuringInit);
}

// Pictures take the size of their bitmap unless they centre it.
TEST_P(ControlConformance, PicturesAndTheirBitmaps) {
    InDialog([&](ConformanceDialog& dialog) {
        const Static picture(dialog.GetDlgItem(IDC_PICTURE).GetHandle());
        const Static centred(dialog.GetDlgItem(IDC_PICTURE_CENTERED).GetHandle());
        EXPECT_EQ(picture.GetBitmapSize(), (Size{40, 30}));
        EXPECT_EQ(picture.GetWindowRect().Width(), 40);
        EXPECT_EQ(picture.GetWindowRect().Height(), 30);
        const Rect centredBefore = centred.GetWindowRect();
        EXPECT_TRUE(picture.SetBitmap(IDB_TEST_SMALL));
        EXPECT_TRUE(centred.SetBitmap(IDB_TEST_SMALL));
        EXPECT_EQ(picture.GetBitmapSize(), (Size{17, 11}));
        EXPECT_EQ(picture.GetWindowRect().Width(), 17);
        EXPECT_EQ(picture.GetWindowRect().Height(), 11);
        EXPECT_EQ(centred.GetWindowRect(), centredBefore);
        EXPECT_FALSE(picture.SetBitmap(9999));
        EXPECT_EQ(picture.GetBitmapSize(), (Size{17, 11}));
        EXPECT_FALSE(Static(dialog.GetDlgItem(IDC_LABEL).GetHandle()).SetBitmap(IDB_TEST_SMALL));
    });
}

// Moving a control and reading its rectangle back agree.
TEST_P(ControlConformance, MoveWindowAndRectangles) {
    InDialog([&](ConformanceDialog& dialog) {
        const Window button = dialog.GetDlgItem(IDC_PUSH);
        button.MoveWindow(10, 20, 30, 40);
        const Rect inDialog = dialog.ScreenToClient(button.GetWindowRect());
        EXPECT_EQ(inDialog, (Rect{10, 20, 40, 60}));
        EXPECT_EQ(button.GetClientRect(), (Rect{0, 0, 30, 40}));
    });
}

// Owner-drawn buttons are drawn by the dialog's handler, pressed while held down.
TEST_P(ControlConformance, OwnerDrawnButtons) {
    InDialog([&](ConformanceDialog& dialog) {
        dialog.drawn.clear();
        A().Paint(IDC_OWNERDRAW, false);
        ASSERT_FALSE(dialog.drawn.empty());
        EXPECT_EQ(dialog.drawn.back().controlId, IDC_OWNERDRAW);
        EXPECT_FALSE(dialog.drawn.back().selected);
        EXPECT_EQ(dialog.drawn.back().rect, dialog.GetDlgItem(IDC_OWNERDRAW).GetClientRect());
        dialog.drawn.clear();
        A().Paint(IDC_OWNERDRAW, true);
        ASSERT_FALSE(dialog.drawn.empty());
        EXPECT_TRUE(dialog.drawn.front().selected);
        const Button push(dialog.GetDlgItem(IDC_PUSH).GetHandle());
        push.SetButtonStyle(kBsOwnerDraw);
        EXPECT_EQ(push.GetStyle() & kBsTypeMask, kBsOwnerDraw);
        EXPECT_EQ(push.GetStyle() & (kWsVisible | kWsTabStop | kWsGroup),
                  kWsVisible | kWsTabStop | kWsGroup);
    });
}

// F1 opens the topic of the focused control; without its own id, its parent's control id
// decides; OK and Cancel open the contents.
TEST_P(ControlConformance, ContextHelpFromF1) {
    platform::KnownFiles files{HelpFilePath()};
    platform::ScopedServices installed({.files = &files});
    InDialog([&](ConformanceDialog& dialog) {
        SetContextHelpIds(dialog, {IDD_CONFORMANCE, IDC_EDIT, 99999});
        EXPECT_EQ(dialog.GetContextHelpId(), static_cast<unsigned>(IDD_CONFORMANCE));
        EXPECT_EQ(dialog.GetDlgItem(IDC_EDIT).GetContextHelpId(), static_cast<unsigned>(IDC_EDIT));
        const size_t before = A().HelpCalls().size();
        A().FocusControl(IDC_EDIT);
        A().PressF1();
        A().FocusControl(IDC_NUMBER);
        A().PressF1();
        A().FocusControl(kIdOk);
        A().PressF1();
        const auto& calls = A().HelpCalls();
        ASSERT_EQ(calls.size(), before + 3);
        EXPECT_EQ(calls[before].command, kHelpContext);
        EXPECT_EQ(calls[before].data, static_cast<unsigned long>(IDC_EDIT));
        EXPECT_EQ(calls[before].helpFile, HelpFilePath());
        EXPECT_EQ(calls[before + 1].command, kHelpContents);
        EXPECT_EQ(calls[before + 2].command, kHelpContents);
        EXPECT_EQ(HelpFilePath().substr(HelpFilePath().size() - 4), ".HLP");
    });
}

// With only the HTML Help file, F1 on a control asks for its popup text below it, owned by the
// dialog; when the viewer shows no popup, the control's place in the dialog's topic opens.
TEST_P(ControlConformance, ContextHelpFromF1InHtmlHelp) {
    platform::KnownFiles files{HtmlHelpFilePath()};
    platform::ScopedServices installed({.files = &files});
    InDialog([&](ConformanceDialog& dialog) {
        SetContextHelpIds(dialog, {IDD_CONFORMANCE, IDC_EDIT});
        const size_t before = A().HtmlHelpCalls().size();
        A().FocusControl(IDC_EDIT);
        A().PressF1();
        A().SetHtmlHelpPopupsShown(false);
        A().PressF1();
        A().SetHtmlHelpPopupsShown(true);
        const auto& calls = A().HtmlHelpCalls();
        ASSERT_EQ(calls.size(), before + 3);
        const HtmlHelpCommand& popup = calls[before].command;
        EXPECT_EQ(popup.kind, HtmlHelpCommand::Kind::Popup);
        EXPECT_EQ(popup.file, HtmlHelpFilePath() + "::/cshelp.txt");
        EXPECT_EQ(popup.contextId, static_cast<unsigned long>(IDC_EDIT));
        const Rect rect = dialog.GetDlgItem(IDC_EDIT).GetWindowRect();
        EXPECT_EQ(popup.at, (Point{(rect.left + rect.right) / 2, rect.bottom}));
        EXPECT_EQ(calls[before].owner, dialog.GetHandle());
        EXPECT_EQ(calls[before + 2].command.kind, HtmlHelpCommand::Kind::Topic);
        EXPECT_EQ(calls[before + 2].command.file, HtmlHelpFilePath() + "::/" +
                                                      std::to_string(IDD_CONFORMANCE) + ".htm#c" +
                                                      std::to_string(IDC_EDIT));
        EXPECT_EQ(FocusedControlId(), IDC_EDIT);
    });
}

// Without the help file, F1 asks nothing of the help viewer: a message owned by the dialog
// names the missing file, and the focused control has the focus again once it is answered.
TEST_P(ControlConformance, ContextHelpWithoutTheHelpFile) {
    platform::KnownFiles none;
    platform::ScopedServices installed({.files = &none});
    InDialog([&](ConformanceDialog& dialog) {
        SetContextHelpIds(dialog, {IDD_CONFORMANCE, IDC_EDIT});
        const size_t helpCalls = A().HelpCalls().size();
        const size_t boxes = A().MessageBoxes().size();
        int answered = 0;
        A().OnMessageBox([&](const MessageBoxCall& call) {
            ++answered;
            return kIdOk;
        });
        A().FocusControl(IDC_EDIT);
        A().PressF1();
        EXPECT_EQ(answered, 1);
        EXPECT_EQ(A().HelpCalls().size(), helpCalls);
        ASSERT_EQ(A().MessageBoxes().size(), boxes + 1);
        const MessageBoxCall& box = A().MessageBoxes().back();
        EXPECT_EQ(box.text, HelpFileMissingMessage(HtmlHelpFilePath()));
        EXPECT_EQ(box.caption, ApplicationName());
        EXPECT_EQ(box.style, kMbOk | kMbIconInformation);
        EXPECT_EQ(box.owner, dialog.GetHandle());
        EXPECT_EQ(FocusedControlId(), IDC_EDIT);
    });
}

// A message box takes the focus while it is shown; the control gets it back afterwards.
TEST_P(ControlConformance, MessageBoxesAndTheFocus) {
    InDialog([&](ConformanceDialog& dialog) {
        int answer = 0;
        int focusedDuringKill = -1;
        dialog.onNotification = [&](int id, int code) {
            if (id == IDC_EDIT && code == kEnChange)
                answer = dialog.MessageBox("Hodnota je mimo rozsahu", kMbYesNo | kMbTaskModal);
            if (id == IDC_EDIT && code == kEnKillFocus)
                focusedDuringKill = FocusedControlId();
        };
        A().OnMessageBox([&](const MessageBoxCall& call) {
            EXPECT_EQ(call.text, "Hodnota je mimo rozsahu");
            EXPECT_EQ(call.caption, ApplicationName());
            EXPECT_EQ(call.style, kMbYesNo | kMbTaskModal);
            return kIdNo;
        });
        A().TypeText(IDC_EDIT, "7");
        dialog.onNotification = nullptr;
        EXPECT_EQ(answer, kIdNo);
        EXPECT_EQ(focusedDuringKill, kIdYes);
        EXPECT_EQ(FocusedControlId(), IDC_EDIT);
        const std::vector<int> codes = dialog.TakeCodes(IDC_EDIT);
        EXPECT_EQ(Count(codes, kEnKillFocus), 1);
        EXPECT_EQ(codes.back(), kEnSetFocus);
    });
}

// A dialog run from a dialog's handler: its own script, its result, and the focus back on the
// button that opened it.
class OpenerDialog : public ConformanceDialog {
public:
    int nestedResult = 0;
    std::string nestedText;

protected:
    MessageMap GetMessageMap() const override {
        static const MessageEntry entries[] = {OnClicked(IDC_PUSH, &OpenerDialog::OpenSmall)};
        return entries;
    }

private:
    class SmallDialog : public Dialog {
    public:
        explicit SmallDialog(const Window* parent) : Dialog(IDD_SMALL, parent) {}
        char text[6] = "abc";

    protected:
        void DoDataExchange(DataExchange& dx) override { dx.Text(IDC_SMALL_EDIT, text); }
    };

    void OpenSmall() {
        SmallDialog small(this);
        nestedResult = small.DoModal();
        nestedText = small.text;
    }
};

TEST_P(ControlConformance, NestedModalDialog) {
    OpenerDialog opener;
    A().OnDialog(IDD_CONFORMANCE, [&] {
        A().OnDialog(IDD_SMALL, [&] {
            EXPECT_EQ(A().Control(IDC_SMALL_EDIT).GetWindowText(), "abc");
            EXPECT_EQ(Edit(A().Control(IDC_SMALL_EDIT).GetHandle()).GetLimitText(), 5);
            A().ReplaceText(IDC_SMALL_EDIT, "xyz1234");
            A().PressOk();
        });
        A().Click(IDC_PUSH);
        EXPECT_EQ(opener.nestedResult, kIdOk);
        EXPECT_EQ(opener.nestedText, "xyz12");
        EXPECT_EQ(FocusedControlId(), IDC_PUSH);
        A().OnDialog(IDD_SMALL, [&] { A().PressCancel(); });
        A().Click(IDC_PUSH);
        EXPECT_EQ(opener.nestedResult, kIdCancel);
        // Enter in the edit presses the default button.
        A().OnDialog(IDD_SMALL, [&] {
            A().ReplaceText(IDC_SMALL_EDIT, "qw");
            A().PressEnter();
        });
        A().Click(IDC_PUSH);
        EXPECT_EQ(opener.nestedResult, kIdOk);
        EXPECT_EQ(opener.nestedText, "qw");
        A().PressOk();
    });
    EXPECT_EQ(opener.DoModal(), kIdOk);
}

} // namespace
} // namespace ui::conformance
