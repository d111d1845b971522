#pragma once
// Shared pieces of the PPD load benchmarks: the file list and the timing summary, so that our
// reader and CUPS are measured the same way.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

struct Corpus {
    std::vector<std::string> paths;
    std::vector<double> sizes; // bytes
    double bytes = 0;
};

// One path per line; files that cannot be sized are left out.
inline Corpus ReadList(const char* listPath) {
    Corpus corpus;
    std::ifstream list(listPath);
    std::string path;
    while (std::getline(list, path)) {
        struct stat info {};
        if (path.empty() || ::stat(path.c_str(), &info) != 0)
            continue;
        corpus.paths.push_back(path);
        corpus.sizes.push_back(static_cast<double>(info.st_size));
        corpus.bytes += static_cast<double>(info.st_size);
    }
    return corpus;
}

struct PassResult {
    double seconds = 0;    // wall clock
    double cpuSeconds = 0; // this process's processor time: steadier on a busy machine
    double medianMs = 0;
    std::size_t loaded = 0;
};

inline double ProcessorSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Runs `load` (path -> loaded or not) over every file, timing each.
template <class Load>
PassResult RunPass(const Corpus& corpus, Load load) {
    std::vector<double> perFile;
    perFile.reserve(corpus.paths.size());
    PassResult result;
    const double cpuStart = ProcessorSeconds();
    const auto start = Clock::now();
    for (const std::string& path : corpus.paths) {
        const auto t0 = Clock::now();
        result.loaded += load(path) ? 1 : 0;
        perFile.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    result.cpuSeconds = ProcessorSeconds() - cpuStart;
    std::nth_element(perFile.begin(), perFile.begin() + perFile.size() / 2, perFile.end());
    result.medianMs = perFile.empty() ? 0 : perFile[perFile.size() / 2];
    return result;
}

// The best of `passes` passes after one warm-up pass, printed as one line: throughput by the
// wall clock and by processor time, and the median time of one file.
template <class Load>
PassResult Measure(const char* name, const Corpus& corpus, int passes, Load load) {
    RunPass(corpus, load);
    PassResult best;
    for (int i = 0; i < passes; ++i) {
        const PassResult r = RunPass(corpus, load);
        if (i == 0 || r.cpuSeconds < best.cpuSeconds)
            best = r;
    }
    std::printf("%s: %zu files, %zu loaded, %.1f MB, best of %d passes: %.0f MB/s (%.3f s "
                "processor time), %.0f MB/s wall (%.3f s), per-file median %.3f ms\n",
                name, corpus.paths.size(), best.loaded, corpus.bytes / 1e6, passes,
                corpus.bytes / 1e6 / best.cpuSeconds, best.cpuSeconds,
                corpus.bytes / 1e6 / best.seconds, best.seconds, best.medianMs);
    return best;
}

} // namespace bench
