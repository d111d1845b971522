#pragma once
// Finding an entry of a choice list by its text and its code together: the colour lists hold
// PPD options and stored or printer-resident profiles side by side, and a name may be both.
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/window.h"

namespace pages {

// The first entry whose whole text equals `text` (ignoring case, as the list's exact search)
// and whose item data is `code`; kListError when there is none or the text is empty.
inline int FindEntryWithCode(const ui::ListControl& list, std::string_view text,
                             std::intptr_t code) {
    if (text.empty())
        return ui::kListError;
    const int count = list.GetCount();
    int index = -1;
    // The list's own exact search, from each match on, until it wraps round to the start.
    for (int step = 0; step < count; ++step) {
        const int found = list.FindStringExact(index, text);
        if (found <= index)
            return ui::kListError;
        if (list.GetItemData(found) == code)
            return found;
        index = found;
    }
    return ui::kListError;
}

// A list's selected entry by its text and code, so that it can be selected again after entries
// came or went; an empty text is no selection.
struct HeldChoice {
    std::string text;
    std::intptr_t code = 0;
};

inline HeldChoice HeldChoiceOf(const ui::ListControl& list) {
    const int selected = list.GetCurSel();
    if (selected < 0)
        return {};
    return {list.GetItemText(selected), list.GetItemData(selected)};
}

// Selects the entry of the held choice again, or nothing when it has gone.
inline void RestoreChoice(const ui::ListControl& list, const HeldChoice& choice) {
    list.SetCurSel(FindEntryWithCode(list, choice.text, choice.code));
}

} // namespace pages
