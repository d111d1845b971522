#pragma once
// The keyword table: the 72 main keywords that the reader routes to handlers, with their value
// forms, and the 127-bucket hash index through which they are found.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ppd/model.h"
#include "ppd/reader.h"

namespace ppd {

using Handler = Result (*)(ParseContext& ctx, const PpdEntry& entry);

// Row flags: bits 0 to 2 the value form, bit 3 option keyword required (forbidden when clear),
// bit 4 may repeat.
enum : std::uint16_t {
    kFormAny = 0,
    kFormQuoted = 1,
    kFormText = 2,
    kFormWord = 4,
    kFormMask = 7,
    kNeedsOption = 1 << 3,
    kMayRepeat = 1 << 4,
};

struct KeywordRow {
    const char* name;
    Handler handler;
    std::uint16_t slot; // feature slot that "*OpenUI" of this keyword works on, 7 for none
    std::uint16_t flags;
};

inline constexpr std::size_t kKeywordCount = 72;
extern const KeywordRow kKeywordRows[kKeywordCount];

// False for a name that no row can have (by its length and first byte), so that most other
// keywords of a PPD are passed over without hashing them.
bool MayBeKeyword(std::string_view name);

// Row number of a main keyword (exact, case-sensitive), or -1.
int FindKeyword(std::string_view name, std::uint32_t hash);
inline int FindKeyword(std::string_view name) {
    return FindKeyword(name, NameHash(name));
}

// The entry has the row's shape: option keyword present exactly when required, value of the
// row's form.
bool FitsForm(const KeywordRow& row, const PpdEntry& entry);

// Rows without the option and repeat flags count only once per parse.
inline bool CountsOnce(const KeywordRow& row) {
    return (row.flags & (kNeedsOption | kMayRepeat)) == 0;
}

// Number (1 to 168) of a font of the known-font list, 0 for an unknown font.
int KnownFontNumber(std::string_view name, std::uint32_t hash);
inline constexpr std::size_t kKnownFontRows = 173;
extern const std::string_view kKnownFonts[kKnownFontRows];

// UI-structure rules (OpenUI, groups, order dependencies, constraints) and the options and
// default of the open generic feature.
Result HandleOpenUi(ParseContext& ctx, const PpdEntry& entry);
Result HandleCloseUi(ParseContext& ctx, const PpdEntry& entry);
Result HandleOpenGroup(ParseContext& ctx, const PpdEntry& entry);
Result HandleCloseGroup(ParseContext& ctx, const PpdEntry& entry);
Result HandleOrderDependency(ParseContext& ctx, const PpdEntry& entry);
Result HandleUiConstraints(ParseContext& ctx, const PpdEntry& entry);
// The same from the first words of the value (at most ConstraintLine::kMaxWords).
Result HandleConstraintWords(ParseContext& ctx, const std::string_view* words, std::size_t count);
Result HandleFeatureOption(ParseContext& ctx, WorkFeature* feature, const PpdEntry& entry);
Result HandleFeatureDefault(ParseContext& ctx, WorkFeature* feature, const PpdEntry& entry);

} // namespace ppd
