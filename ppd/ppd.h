#pragma once
// The PPD model: loading a printer's PPD file into a finished document and the queries the
// pages ask of it. Keywords and option texts are compared byte for byte.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ppd/diagnostics.h"
#include "ppd/document.h"

namespace ppd {

// ---- loading -------------------------------------------------------------------------------

// Why a parse gave no document.
struct ParseFailure {
    int code = 0;           // 4: out of memory or a name over its limit; -1: file not readable
    std::uint32_t line = 0; // 1-based line of the entry that stopped the parse, 0 if none
    std::string reason;
};

// Memory used by one parse: the working records, the finished block, and the room the block
// had while it was written (before it was trimmed); the peak is working + room.
struct ParseStats {
    std::size_t workingBytes = 0;
    std::size_t blockBytes = 0;
    std::size_t blockRoomBytes = 0;
};

struct ParseOptions {
    DiagnosticSink* diagnostics = nullptr; // told about skipped and unresolved entries
    ParseFailure* failure = nullptr;       // filled when no document is produced
    ParseStats* stats = nullptr;
    std::size_t memoryLimit = 0; // working memory that may be used, 0 for no limit
};

// The document for the PPD file at `path`, or null when the file cannot be read or the parse
// fails. The last document produced is kept with its path: asking again for the same path
// (exact comparison) returns it without reading the file; asking for another path lets it go.
// Every document returned must be given back with FreePpdDocument; a document stays valid
// until its last holder (a caller or the cache) lets it go.
const PpdDocument* LoadPpdDocument(const std::string& path);

// Gives a document back; null is allowed.
void FreePpdDocument(const PpdDocument* doc);

// Lets the cache's document go.
void ClearPpdDocumentCache();

// Reads a file without the cache.
const PpdDocument* ReadPpdFile(const std::string& path, const ParseOptions& options = {});

// Parses PPD bytes; `path` is stored as the document's path.
const PpdDocument* ParsePpdBytes(const void* data, std::size_t size, std::string_view path,
                                 const ParseOptions& options = {});

// ---- queries -------------------------------------------------------------------------------

// The first feature of the list, or null.
const PpdFeature* FirstFeature(const PpdDocument* doc);

// The feature at a position of the list, or null.
const PpdFeature* FeatureAt(const PpdDocument* doc, std::uint32_t index);

// The feature with this main keyword, or null.
const PpdFeature* FindFeature(const PpdDocument* doc, std::string_view keyword);

// True when the feature exists; `*first` is the head of its options (null when it has none).
bool GetOptions(const PpdDocument* doc, std::string_view keyword, const PpdOption** first);

// The first feature with `installable` set, or null. Walk on through `next`, skipping the
// features without it.
const PpdFeature* FirstInstallableFeature(const PpdDocument* doc);

// The option at the feature's default position, or null when it has no options.
const PpdOption* DefaultOption(const PpdFeature* feature);

// The default option only when the PPD names a default for the feature; null otherwise.
const PpdOption* GivenDefaultOption(const PpdFeature* feature);

// The option at a position of the feature's options, or null.
const PpdOption* OptionAtIndex(const PpdFeature* feature, std::uint32_t index);

// Positions of the first feature with the keyword and of its first option whose display text
// is `optionText`; both -1 until found. True only when both are found.
bool FindOptionIndices(const PpdDocument* doc, std::string_view keyword,
                       std::string_view optionText, int* featureIndex, int* optionIndex);

// Writes the keyword of the feature at `featureIndex`, then the display text of its option at
// `optionIndex` (null when that option has none); a position past the end leaves its output
// unchanged. False when the document has no features, either index is -1, or the keyword
// names no feature.
bool OptionAt(const PpdDocument* doc, int featureIndex, int optionIndex,
              const char** featureKeyword, const char** optionText);

// The constraint table: false when the document has none or it is empty.
struct ConstraintCursor {
    const PpdConstraint* entries = nullptr;
    std::uint32_t count = 0;
};
bool ConstraintTable(const PpdDocument* doc, ConstraintCursor* cursor);

// The position of one constraint iteration; each caller may keep its own.
struct ConstraintIteration {
    std::uint32_t position = 0;
    bool valid = false;
};

// Iterates the options that the choice (feature keyword, option display text) rules out: a
// constraint is used in one direction, the choice named second in the PPD ruling out the
// option named first. Set `counter` to 0 before the first call; each call that gets past the
// start increments it. True with the ruled-out feature's keyword and option display text (the
// text output is left unchanged when the constraint names no option); false when no further
// constraint applies, or when the next matching constraint names something the document lacks.
bool NextConstraint(const PpdDocument* doc, std::string_view keyword, std::string_view optionText,
                    const char** featureKeyword, const char** ruledOutText, int& counter,
                    ConstraintIteration& iteration);

// The same with one process-wide iteration: only one may run at a time.
bool NextConstraint(const PpdDocument* doc, std::string_view keyword, std::string_view optionText,
                    const char** featureKeyword, const char** ruledOutText, int& counter);

} // namespace ppd
