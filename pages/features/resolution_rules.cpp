#include "pages/features/resolution_rules.h"

#include "app/option_tables.h"
#include "ppd/ppd.h"

namespace pages {
namespace {

constexpr char kMiserMode[] = "MiserMode";
// More constraints than any PPD holds; a bound on the iteration whatever the model answers.
constexpr int kMaxConstraintSteps = 1 << 20;

} // namespace

OptionTextSearch CurrentResolutionText(const ppd::PpdDocument* document,
                                       std::int32_t resolutionCode, std::string& text) {
    return FindOptionTextOfCode(document, "Resolution", app::ResolutionNames, resolutionCode, text);
}

std::string TonerSavingOptionText(const ppd::PpdDocument* document, bool on) {
    const std::string_view keyword = on ? "True" : "False";
    const ppd::PpdOption* option = nullptr;
    if (document && ppd::GetOptions(document, kMiserMode, &option)) {
        for (; option; option = option->next.get()) {
            const char* name = option->name.get();
            const char* translation = option->translation.get();
            if (name && translation && keyword == name)
                return translation;
        }
    }
    return std::string(keyword);
}

TonerSavingRule TonerSavingAtResolution(const ppd::PpdDocument* document,
                                        std::string_view resolutionText) {
    TonerSavingRule rule;
    if (!document)
        return rule;
    const std::string savingText = TonerSavingOptionText(document, true);
    ppd::ConstraintIteration iteration;
    int counter = 0;
    for (int step = 0; step < kMaxConstraintSteps; ++step) {
        const char* feature = nullptr;
        const char* ruledOut = nullptr;
        if (!ppd::NextConstraint(document, "Resolution", resolutionText, &feature, &ruledOut,
                                 counter, iteration))
            break;
        if (!feature || std::string_view(feature) != kMiserMode)
            continue;
        rule.constrained = true;
        if (!ruledOut || savingText == ruledOut)
            rule.savingRuledOut = true;
    }
    return rule;
}

} // namespace pages
