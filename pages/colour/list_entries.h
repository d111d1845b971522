#pragma once
// Finding an entry of a choice list by its text and its code together: the colour lists hold
// PPD options and stored or printer-resident profiles side by side, and a name may be both.
#include <cstdint>
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

} // namespace pages
