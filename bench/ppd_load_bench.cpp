// Our PPD reader over the corpus: load throughput (map, parse, pack, free), memory per MB of
// PPD, and the constraint iteration on the PPD with the most constraints.
//     ppd_load_bench LISTFILE [PASSES]
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_common.h"
#include "ppd/ppd.h"

namespace {

struct Memory {
    double blockBytes = 0;
    double peakBytes = 0;
    double worstPeakPerMb = 0;
    std::string mostConstraints;
    std::uint32_t mostConstraintCount = 0;
};

Memory MeasureMemory(const bench::Corpus& corpus) {
    Memory m;
    for (std::size_t i = 0; i < corpus.paths.size(); ++i) {
        ppd::ParseStats stats;
        ppd::ParseOptions options;
        options.stats = &stats;
        const ppd::PpdDocument* doc = ppd::ReadPpdFile(corpus.paths[i], options);
        if (doc == nullptr)
            continue;
        m.blockBytes += static_cast<double>(stats.blockBytes);
        const double peak = static_cast<double>(stats.workingBytes + stats.blockRoomBytes);
        m.peakBytes += peak;
        if (corpus.sizes[i] >= 10000 && peak / corpus.sizes[i] * 1e6 > m.worstPeakPerMb)
            m.worstPeakPerMb = peak / corpus.sizes[i] * 1e6;
        if (doc->constraints->count > m.mostConstraintCount) {
            m.mostConstraintCount = doc->constraints->count;
            m.mostConstraints = corpus.paths[i];
        }
        ppd::FreePpdDocument(doc);
    }
    return m;
}

// Every choice of the document (feature, option display text) through a whole iteration.
void MeasureConstraints(const std::string& path) {
    const ppd::PpdDocument* doc = ppd::ReadPpdFile(path);
    if (doc == nullptr)
        return;
    std::size_t pairs = 0, calls = 0, choices = 0;
    const auto start = bench::Clock::now();
    int rounds = 0;
    for (; rounds < 1000; ++rounds) {
        for (const ppd::PpdFeature* f = ppd::FirstFeature(doc); f; f = f->next.get()) {
            for (const ppd::PpdOption* o = f->options.get(); o; o = o->next.get()) {
                if (o->translation.get() == nullptr)
                    continue;
                ++choices;
                ppd::ConstraintIteration iteration;
                int counter = 0;
                const char* feature = nullptr;
                const char* text = nullptr;
                while (ppd::NextConstraint(doc, f->name.get(), o->translation.get(), &feature,
                                           &text, counter, iteration))
                    ++pairs;
                calls += static_cast<std::size_t>(counter);
            }
        }
        if (std::chrono::duration<double>(bench::Clock::now() - start).count() > 1.0)
            break;
    }
    const double us =
        std::chrono::duration<double, std::micro>(bench::Clock::now() - start).count();
    std::printf("NextConstraint on %s (%u constraints): %zu choices, %zu pairs yielded, %zu calls "
                "in %.0f us: %.3f us per yielded pair, %.3f us per call\n",
                path.c_str(), doc->constraints->count, choices / (rounds + 1), pairs / (rounds + 1),
                calls / (rounds + 1), us / (rounds + 1), pairs ? us / pairs : 0.0,
                calls ? us / calls : 0.0);
    ppd::FreePpdDocument(doc);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: ppd_load_bench LISTFILE [PASSES]\n");
        return 2;
    }
    const bench::Corpus corpus = bench::ReadList(argv[1]);
    const int passes = argc > 2 ? std::atoi(argv[2]) : 3;
    bench::Measure("ours", corpus, passes, [](const std::string& path) {
        const ppd::PpdDocument* doc = ppd::ReadPpdFile(path);
        ppd::FreePpdDocument(doc);
        return doc != nullptr;
    });
    const Memory m = MeasureMemory(corpus);
    const double mb = corpus.bytes / 1e6;
    std::printf("memory: finished documents %.0f KB per MB of PPD; peak while parsing (working "
                "records + block before trimming) %.0f KB per MB on average, at most %.0f KB per "
                "MB (files of 10 KB or more)\n",
                m.blockBytes / mb / 1e3, m.peakBytes / mb / 1e3, m.worstPeakPerMb / 1e3);
    if (!m.mostConstraints.empty())
        MeasureConstraints(m.mostConstraints);
    return 0;
}
