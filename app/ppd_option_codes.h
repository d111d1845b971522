#pragma once
// The PPD's defaults and display texts in terms of the option code tables: how the pages and the
// reset to defaults turn a PPD feature into a settings-block code and a code into the text the
// PPD shows for it.
#include <cstdint>
#include <string_view>

#include "app/option_tables.h"
#include "ppd/document.h"

namespace app {

// PpdDefaultCode's answer when the PPD gives no default; callers put a fixed fallback in its place.
inline constexpr std::int32_t kNoPpdDefault = 99999999;

// The table's code of the keyword of the feature's default option (CodeOfName: 0 for a keyword
// the table lacks); kNoPpdDefault when the document, the feature or its default option
// (a feature without options) is missing.
std::int32_t PpdDefaultCode(const ppd::PpdDocument* doc, std::string_view featureKeyword,
                            const OptionCode* table);

// The display text of the first option, in file order, of the feature whose keyword is the
// table's name of `id` (exact comparison); null when the document, the feature, the table's row
// or such an option is missing, or when that option has no display text.
const char* PpdOptionText(const ppd::PpdDocument* doc, std::string_view featureKeyword,
                          const OptionCode* table, std::int32_t id);

} // namespace app
