#pragma once
// The text forms ppdcheck prints: the dump of a finished document and the constraint pairs.
#include <string>
#include <string_view>

#include "ppd/document.h"

namespace ppdcheck {

// A string as `-` when absent, else in double quotes with bytes 0x20 to 0x7E other than `"`
// and `\` as themselves and every other byte as \xHH.
std::string Quote(const char* text);
std::string Quote(std::string_view text);

// The document, one record per line.
std::string Dump(const ppd::PpdDocument* doc);

// The pairs that NextConstraint yields for the choice, one `"FEATURE" OPTIONTEXT` per line.
std::string Constraints(const ppd::PpdDocument* doc, std::string_view feature,
                        std::string_view optionText);

} // namespace ppdcheck
