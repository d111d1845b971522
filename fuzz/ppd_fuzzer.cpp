// Fuzzes loading a PPD document from bytes, then walks the finished document and runs every
// query on what it holds: the block must check out and every query must stay inside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ppd/model.h"
#include "ppd/ppd.h"

namespace {

class CountingSink : public ppd::DiagnosticSink {
public:
    void Report(const ppd::Diagnostic& d) override { total += d.line + d.keyword.size(); }
    std::size_t total = 0;
};

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void Exercise(const ppd::PpdDocument* doc) {
    Check(ppd::CheckPackedDocument(doc));
    std::uint32_t features = 0;
    for (const ppd::PpdFeature* f = ppd::FirstFeature(doc); f != nullptr; f = f->next.get()) {
        Check(ppd::FeatureAt(doc, features++) == f);
        Check(ppd::FindFeature(doc, f->name.get()) == f);
        const ppd::PpdOption* first = nullptr;
        Check(ppd::GetOptions(doc, f->name.get(), &first));
        Check(f->optionCount == 0 || ppd::DefaultOption(f) != nullptr);
        for (const ppd::PpdOption* o = first; o != nullptr; o = o->next.get()) {
            if (o->translation.get() == nullptr)
                continue;
            int fi = -1, oi = -1;
            Check(ppd::FindOptionIndices(doc, f->name.get(), o->translation.get(), &fi, &oi));
            Check(fi == static_cast<int>(f->index));
            ppd::ConstraintIteration iteration;
            int counter = 0;
            const char* feature = nullptr;
            const char* text = nullptr;
            std::uint32_t limit = doc->constraints->count + 2;
            while (ppd::NextConstraint(doc, f->name.get(), o->translation.get(), &feature, &text,
                                       counter, iteration))
                Check(--limit > 0 && feature != nullptr);
        }
    }
    Check(features == doc->featureCount);
    const char* feature = nullptr;
    const char* text = nullptr;
    ppd::OptionAt(doc, 0, 0, &feature, &text);
    ppd::OptionAt(doc, 1 << 20, 1 << 20, &feature, &text);
    for (const ppd::PpdFeature* f = ppd::FirstInstallableFeature(doc); f; f = f->next.get())
        Check(f->index < doc->featureCount);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CountingSink sink;
    ppd::ParseOptions options;
    options.memoryLimit = 64u << 20;
    // Half the inputs also run the diagnostics that ppdcheck lint uses.
    if (size > 0 && (data[0] & 1) != 0)
        options.diagnostics = &sink;
    const ppd::PpdDocument* doc = ppd::ParsePpdBytes(data, size, "fuzz.ppd", options);
    if (doc != nullptr) {
        Exercise(doc);
        ppd::FreePpdDocument(doc);
    }
    return 0;
}
