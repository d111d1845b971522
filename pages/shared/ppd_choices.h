#pragma once
// PPD questions the paper and layout pages share: the display text of the option the block's
// code names, and whether a choice rules out a whole feature through the PPD's constraints.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/option_tables.h"

namespace ppd {
struct PpdDocument;
}

namespace pages {

enum class OptionTextSearch {
    Found,          // `text` holds the option's display text
    NoMatch,        // no option has the table's keyword for the code
    UnusableOption, // an option without keyword or display text came before a match
    NoFeature,      // no model, or the model lacks the feature
};

// Walks the options of feature `keyword` in file order to the first whose keyword equals the
// table's name of `code`. The walk stops at an option that has no keyword or no display text:
// the pages cannot tell what such an option would have answered.
OptionTextSearch FindOptionTextOfCode(const ppd::PpdDocument* document, std::string_view keyword,
                                      const app::OptionCode* table, std::int32_t code,
                                      std::string& text);

// True when the PPD's constraints rule out any option of feature `ruledOutKeyword` together
// with the option whose display text is `optionText` of feature `keyword`.
bool RulesOutFeature(const ppd::PpdDocument* document, std::string_view keyword,
                     std::string_view optionText, std::string_view ruledOutKeyword);

} // namespace pages
