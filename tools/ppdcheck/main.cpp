// ppdcheck: shows how the program reads PPD files.
//   ppdcheck dump FILE                         the finished document, one record per line
//   ppdcheck constraints FILE FEATURE TEXT     what the choice rules out
//   ppdcheck parse FILE...                     loads every file, reports those without document
//   ppdcheck lint FILE                         what a PPD author must know
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "platform/mapped_file.h"
#include "ppd/ppd.h"
#include "tools/ppdcheck/lint.h"
#include "tools/ppdcheck/report.h"

namespace {

void Write(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

int Usage() {
    std::fputs("usage: ppdcheck dump FILE\n"
               "       ppdcheck constraints FILE FEATURE OPTIONTEXT\n"
               "       ppdcheck parse FILE...\n"
               "       ppdcheck lint FILE\n",
               stderr);
    return 2;
}

int DumpCommand(const char* path) {
    const ppd::PpdDocument* doc = ppd::ReadPpdFile(path);
    if (doc == nullptr) {
        Write("no document\n");
        return 1;
    }
    Write(ppdcheck::Dump(doc));
    ppd::FreePpdDocument(doc);
    return 0;
}

int ConstraintsCommand(const char* path, const char* feature, const char* text) {
    const ppd::PpdDocument* doc = ppd::ReadPpdFile(path);
    if (doc == nullptr) {
        Write("no document\n");
        return 1;
    }
    Write(ppdcheck::Constraints(doc, feature, text));
    ppd::FreePpdDocument(doc);
    return 0;
}

int ParseCommand(int count, char** paths) {
    using Clock = std::chrono::steady_clock;
    int missing = 0;
    unsigned long long bytes = 0;
    Clock::duration spent{};
    for (int i = 0; i < count; ++i) {
        ppd::ParseFailure failure;
        ppd::ParseOptions options;
        options.failure = &failure;
        platform::MappedFile file;
        const auto start = Clock::now();
        const ppd::PpdDocument* doc = nullptr;
        if (file.Open(paths[i])) {
            bytes += file.size();
            doc = ppd::ParsePpdBytes(file.data(), file.size(), paths[i], options);
        } else {
            failure.code = -1;
            failure.reason = "cannot open, size or map the file (or it is empty)";
        }
        spent += Clock::now() - start;
        if (doc == nullptr) {
            ++missing;
            std::string line = std::string(paths[i]) + ": no document: ";
            if (failure.line != 0)
                line += "line " + std::to_string(failure.line) + ": ";
            Write(line + failure.reason + "\n");
        }
        ppd::FreePpdDocument(doc);
    }
    const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(spent).count();
    char summary[160];
    std::snprintf(summary, sizeof summary, "%d files, %d without document, %.1f MB in %lld ms\n",
                  count, missing, static_cast<double>(bytes) / 1e6, ms);
    Write(summary);
    return missing == 0 ? 0 : 1;
}

int LintCommand(const char* path) {
    platform::MappedFile file;
    if (!file.Open(path)) {
        Write("no document: cannot open, size or map the file (or it is empty)\n");
        return 1;
    }
    std::string out;
    const std::size_t findings = ppdcheck::Lint(file.data(), file.size(), path, out);
    Write(out);
    return findings == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The same bytes on every system: no CR added before each line end.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    if (command == "dump" && argc == 3)
        return DumpCommand(argv[2]);
    if (command == "constraints" && argc == 5)
        return ConstraintsCommand(argv[2], argv[3], argv[4]);
    if (command == "parse" && argc >= 3)
        return ParseCommand(argc - 2, argv + 2);
    if (command == "lint" && argc == 3)
        return LintCommand(argv[2]);
    return Usage();
}
