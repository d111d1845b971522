#include "ui/automation.h"

#include <string>

namespace ui {

Window Automation::Control(int id) {
    const Handle dialog = ActiveDialog();
    return Window(dialog ? CurrentBackend().Item(dialog, id) : nullptr);
}

void Automation::ChooseItem(int id, std::string_view text) {
    const ListControl list(Control(id).GetHandle());
    const int count = list.GetCount();
    for (int index = 0; index < count; ++index) {
        if (list.GetItemText(index) == text) {
            ChooseItem(id, index);
            return;
        }
    }
    ReportFailure("control " + std::to_string(id) + " has no entry \"" + std::string(text) + "\"");
}

} // namespace ui
