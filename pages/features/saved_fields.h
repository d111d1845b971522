#pragma once
// The fields of the settings block that a dialog writes while the user works, copied before
// the dialog runs so that its opener can put them back when it does not end with OK.
#include <initializer_list>
#include <string_view>
#include <vector>

#include "app/settings_block.h"

namespace pages {

class SavedFields {
public:
    // Copies the named fields (names of app/settings_fields.inc; a name the table lacks copies
    // nothing).
    SavedFields(const app::PrinterSettingsBlock& block,
                std::initializer_list<std::string_view> names);

    // Writes the copied bytes of those fields back, and nothing else.
    void Restore(app::PrinterSettingsBlock& block) const;

private:
    app::PrinterSettingsBlock copy_;
    std::vector<const app::SettingsField*> fields_;
};

} // namespace pages
