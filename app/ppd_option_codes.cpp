#include "app/ppd_option_codes.h"

#include <cstring>

#include "ppd/ppd.h"

namespace app {

std::int32_t PpdDefaultCode(const ppd::PpdDocument* doc, std::string_view featureKeyword,
                            const OptionCode* table) {
    const ppd::PpdOption* option = ppd::GivenDefaultOption(ppd::FindFeature(doc, featureKeyword));
    if (option == nullptr || option->name.get() == nullptr)
        return kNoPpdDefault;
    return CodeOfName(table, option->name.get());
}

const char* PpdOptionText(const ppd::PpdDocument* doc, std::string_view featureKeyword,
                          const OptionCode* table, std::int32_t id) {
    const char* name = NameOfCode(table, id);
    const ppd::PpdOption* option = nullptr;
    if (doc == nullptr || name == nullptr || !ppd::GetOptions(doc, featureKeyword, &option))
        return nullptr;
    for (; option != nullptr; option = option->next.get()) {
        if (std::strcmp(option->name.get(), name) == 0)
            return option->translation.get();
    }
    return nullptr;
}

} // namespace app
