#include "pages/shared/ppd_choices.h"

#include "ppd/ppd.h"

namespace pages {
namespace {

// More constraints than any PPD holds; a bound on the iteration whatever the model answers.
constexpr int kMaxConstraintSteps = 1 << 20;

} // namespace

OptionTextSearch FindOptionTextOfCode(const ppd::PpdDocument* document, std::string_view keyword,
                                      const app::OptionCode* table, std::int32_t code,
                                      std::string& text) {
    const ppd::PpdOption* option = nullptr;
    if (!document || !ppd::GetOptions(document, keyword, &option))
        return OptionTextSearch::NoFeature;
    const char* wanted = app::NameOfCode(table, code);
    for (; option; option = option->next.get()) {
        const char* name = option->name.get();
        const char* translation = option->translation.get();
        if (!name || !translation)
            return OptionTextSearch::UnusableOption;
        if (wanted && std::string_view(name) == wanted) {
            text = translation;
            return OptionTextSearch::Found;
        }
    }
    return OptionTextSearch::NoMatch;
}

bool RulesOutFeature(const ppd::PpdDocument* document, std::string_view keyword,
                     std::string_view optionText, std::string_view ruledOutKeyword) {
    if (!document)
        return false;
    ppd::ConstraintIteration iteration;
    int counter = 0;
    for (int step = 0; step < kMaxConstraintSteps; ++step) {
        const char* feature = nullptr;
        const char* ruledOut = nullptr;
        if (!ppd::NextConstraint(document, keyword, optionText, &feature, &ruledOut, counter,
                                 iteration))
            return false;
        if (feature && ruledOutKeyword == feature)
            return true;
    }
    return false;
}

} // namespace pages
