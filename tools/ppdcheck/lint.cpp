#include "tools/ppdcheck/lint.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "ppd/ppd.h"
#include "tools/ppdcheck/report.h"

namespace ppdcheck {

namespace {

// Display texts of the two options of an installable feature; the pages ask for constraints
// with exactly these (code page 1250).
constexpr std::string_view kInstalled = "Nain\x9Atalovan\xE9";
constexpr std::string_view kNotInstalled = "Nein\x9Atalovan\xE9";

// Features whose options and defaults the pages read.
constexpr const char* kPageFeatures[] = {
    "PageSize",   "InputSlot",    "MediaType",    "OutputBin",
    "Resolution", "Duplex",       "HalftoneType", "PrintQuality",
    "MiserMode",  "EndOfDocType", "CustomColor",  "ColorRenderDict",
    "CRDColSpc",  "RGBSource",    "ColorSimul",   "DestinationProfile"};

struct Finding {
    ppd::DiagnosticKind kind;
    std::uint32_t line;
    std::string keyword, option, detail;
};

class Collector : public ppd::DiagnosticSink {
public:
    void Report(const ppd::Diagnostic& d) override {
        findings.push_back(
            {d.kind, d.line, std::string(d.keyword), std::string(d.option), std::string(d.detail)});
    }
    std::vector<Finding> findings;
};

// The text of a 1-based line, without its line end, cut to a readable length.
std::string LineText(const unsigned char* data, std::size_t size, std::uint32_t line) {
    std::size_t start = 0;
    for (std::uint32_t n = 1; n < line && start < size; ++start) {
        if (data[start] == '\n' ||
            (data[start] == '\r' && (start + 1 == size || data[start + 1] != '\n')))
            ++n;
    }
    std::size_t end = start;
    while (end < size && data[end] != '\r' && data[end] != '\n' && end - start < 100)
        ++end;
    return Quote(std::string_view(reinterpret_cast<const char*>(data) + start, end - start));
}

} // namespace

std::size_t Lint(const unsigned char* data, std::size_t size, const std::string& path,
                 std::string& out) {
    Collector collector;
    ppd::ParseFailure failure;
    ppd::ParseOptions options;
    options.diagnostics = &collector;
    options.failure = &failure;
    const ppd::PpdDocument* doc = ppd::ParsePpdBytes(data, size, path, options);
    std::size_t count = 0;
    auto emit = [&](const std::string& text) {
        out += text;
        out += '\n';
        ++count;
    };
    // In file order; findings of the finished document (line 0) after those of the entries.
    std::stable_sort(collector.findings.begin(), collector.findings.end(),
                     [](const Finding& a, const Finding& b) {
                         return (a.line == 0 ? UINT32_MAX : a.line) <
                                (b.line == 0 ? UINT32_MAX : b.line);
                     });
    for (const Finding& f : collector.findings) {
        const std::string where = "line " + std::to_string(f.line) + ": ";
        const std::string text = f.line != 0 ? LineText(data, size, f.line) : std::string();
        switch (f.kind) {
        case ppd::DiagnosticKind::kSyntaxError:
            emit(where + "entry skipped (" + f.detail + "): " + text);
            break;
        case ppd::DiagnosticKind::kHighByteInName:
            emit(where +
                 "entry skipped: a byte above 0x7F is written directly in its names or "
                 "translation; write such text in hexadecimal (<..>): " +
                 text);
            break;
        case ppd::DiagnosticKind::kOnceOnlyUsed:
            emit(where + "entry ignored: *" + f.keyword + " was already used: " + text);
            break;
        case ppd::DiagnosticKind::kParseStopped:
            break; // reported below with the failure
        case ppd::DiagnosticKind::kUnresolvedConstraint:
            emit(where + "constraint names a feature or option the document lacks: " + text);
            break;
        case ppd::DiagnosticKind::kUnresolvedOrderDependency:
            emit(where + "order dependency names a feature or option the document lacks: " + text);
            break;
        case ppd::DiagnosticKind::kDefaultNamesNoOption:
            emit(where + "default of feature " + Quote(f.keyword) +
                 " names no option: " + Quote(f.option) + "; the first option is taken");
            break;
        }
    }
    if (doc == nullptr) {
        emit("no document: " +
             (failure.line != 0 ? "line " + std::to_string(failure.line) + ": " : std::string()) +
             failure.reason);
        return count;
    }
    for (const ppd::PpdFeature* f = ppd::FirstInstallableFeature(doc); f != nullptr;
         f = f->next.get()) {
        if (f->installable == 0)
            continue;
        for (const ppd::PpdOption* o = f->options.get(); o != nullptr; o = o->next.get()) {
            const char* t = o->translation.get();
            if (t != nullptr && (t == kInstalled || t == kNotInstalled))
                continue;
            emit("installable feature " + Quote(f->name.get()) + " option " + Quote(o->name.get()) +
                 " has the translation " + Quote(t) +
                 ", not \"Nain\\x9Atalovan\\xE9\" or \"Nein\\x9Atalovan\\xE9\": installed-option "
                 "pruning will not act on it");
        }
    }
    for (const char* name : kPageFeatures) {
        if (ppd::FindFeature(doc, name) == nullptr)
            emit(std::string("feature ") + Quote(name) +
                 " that the pages use is missing: they will not offer it");
    }
    ppd::FreePpdDocument(doc);
    return count;
}

} // namespace ppdcheck
