// CUPS's PPD reader over the same corpus, measured the same way: ppdOpenFile and ppdClose.
//     cups_load_bench LISTFILE [PASSES]
#include <cstdlib>
#include <string>

#include <cups/ppd.h>

#include "bench/bench_common.h"

// The PPD API is deprecated in CUPS in favour of destinations, but it is what reads a file.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: cups_load_bench LISTFILE [PASSES]\n");
        return 2;
    }
    const bench::Corpus corpus = bench::ReadList(argv[1]);
    const int passes = argc > 2 ? std::atoi(argv[2]) : 3;
    bench::Measure("cups", corpus, passes, [](const std::string& path) {
        ppd_file_t* ppd = ppdOpenFile(path.c_str());
        if (ppd == nullptr)
            return false;
        ppdClose(ppd);
        return true;
    });
    return 0;
}
