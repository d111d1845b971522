#pragma once
// The PPD's constraints between "Resolution" and "MiserMode" (toner saving) as the Features
// page and the graphics options dialog apply them: a resolution may rule toner saving out, and
// toner saving may rule resolutions out.
#include <cstdint>
#include <string>
#include <string_view>

#include "pages/shared/ppd_choices.h"

namespace ppd {
struct PpdDocument;
}

namespace pages {

// The display text of the "Resolution" option whose keyword the block's `resolutionCode`
// names in ResolutionNames. Found fills `text`; NoMatch (a code no option has, or one the
// table lacks) leaves it alone, and then no constraint can apply; UnusableOption and
// NoFeature mean the PPD cannot say.
OptionTextSearch CurrentResolutionText(const ppd::PpdDocument* document,
                                       std::int32_t resolutionCode, std::string& text);

// What a resolution rules out of "MiserMode".
struct TonerSavingRule {
    // Some "MiserMode" option is ruled out: the choice is not free at this resolution.
    bool constrained = false;
    // Toner saving itself is ruled out: its "True" option, or an option the model cannot name
    // (a constraint that names no option, or an option without display text).
    bool savingRuledOut = false;
};

// The rule for the resolution whose display text is `resolutionText`.
TonerSavingRule TonerSavingAtResolution(const ppd::PpdDocument* document,
                                        std::string_view resolutionText);

// The display text the PPD gives the "MiserMode" option "True" (on) or "False" (off), which
// is what its constraints are looked up by; the keyword itself when the PPD gives the option
// no text, or has no such option.
std::string TonerSavingOptionText(const ppd::PpdDocument* document, bool on);

} // namespace pages
