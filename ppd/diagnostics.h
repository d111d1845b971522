#pragma once
// A hook through which the reader tells what it skipped or could not resolve, for tools that
// explain a PPD to its author (ppdcheck lint). Without a sink the reader does no extra work.
#include <cstdint>
#include <string_view>

namespace ppd {

enum class DiagnosticKind {
    kSyntaxError,    // the entry was skipped
    kHighByteInName, // a byte above 0x7F written directly into a name or translation
    kOnceOnlyUsed,   // a keyword that counts only once was already used
    kParseStopped,   // the parse failed here: no document
    kUnresolvedConstraint,
    kUnresolvedOrderDependency,
    kDefaultNamesNoOption,
};

struct Diagnostic {
    DiagnosticKind kind;
    std::uint32_t line;       // 1-based line of the entry
    std::string_view keyword; // main keyword of the entry (or the feature concerned)
    std::string_view option;  // option keyword or name concerned, when there is one
    std::string_view detail;  // what was wrong, in English
};

class DiagnosticSink {
public:
    virtual ~DiagnosticSink() = default;
    virtual void Report(const Diagnostic& diagnostic) = 0;
};

} // namespace ppd
