#include "pages/features/saved_fields.h"

#include <algorithm>

namespace pages {

SavedFields::SavedFields(const app::PrinterSettingsBlock& block,
                         std::initializer_list<std::string_view> names)
    : copy_(block) {
    for (const std::string_view name : names) {
        if (const app::SettingsField* field = app::FindSettingsField(name))
            fields_.push_back(field);
    }
}

void SavedFields::Restore(app::PrinterSettingsBlock& block) const {
    for (const app::SettingsField* field : fields_) {
        std::copy_n(copy_.data() + field->offset, field->size, block.data() + field->offset);
    }
}

} // namespace pages
