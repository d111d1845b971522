// The parse loop, entry routing, and loading documents from files with the one-document cache.
#include <cstdlib>
#include <cstring>

#include "platform/mapped_file.h"
#include "ppd/keywords.h"
#include "ppd/ppd.h"

namespace ppd {

namespace {

// A NUL byte ends the value for the handlers, as it ends a C string (the reader has cut plain
// values already).
void CutAtNul(PpdEntry& entry) {
    if (entry.valueKind != ValueKind::kQuoted || entry.value.empty())
        return;
    if (const void* nul = std::memchr(entry.value.data(), 0, entry.value.size()))
        entry.value = entry.value.substr(
            0, static_cast<std::size_t>(static_cast<const char*>(nul) - entry.value.data()));
}

bool IsOpenFeature(const WorkFeature* open, const PpdEntry& entry) {
    return open->name.size == entry.keyword.size() &&
           SameBytes(open->name.data, entry.keyword.data(), entry.keyword.size());
}

bool IsOpenFeatureDefault(const WorkFeature* open, const PpdEntry& entry) {
    constexpr std::string_view kDefault = "Default";
    return entry.keyword.size() == kDefault.size() + open->name.size &&
           entry.keyword.substr(0, kDefault.size()) == kDefault &&
           SameBytes(open->name.data, entry.keyword.data() + kDefault.size(), open->name.size);
}

class Parser {
public:
    explicit Parser(ParseContext& ctx) : ctx_(ctx), constraintRow_(FindKeyword("UIConstraints")) {}

    Result Run(ParseFailure* failure) {
        EntryReader reader(ctx_.begin, static_cast<std::size_t>(ctx_.end - ctx_.begin));
        PpdEntry entry;
        ConstraintLine line;
        for (;;) {
            if (reader.SkipEndLine())
                continue;
            Result r = kOk;
            if (reader.ReadConstraintLine(line)) {
                // Constraint lines, often most of the file, take a shorter way to their handler.
                ctx_.entryStart = reader.entryStart();
                ctx_.reason = nullptr;
                r = HandleConstraintWords(ctx_, line.words, line.count);
                if (r == kSyntaxError && ctx_.diagnostics != nullptr) {
                    entry = PpdEntry{};
                    entry.keyword = kKeywordRows[constraintRow_].name;
                    entry.value = line.value;
                    entry.valueKind = ValueKind::kPlain;
                    Checked(r, entry);
                }
            } else {
                r = reader.ReadEntry(entry);
                ctx_.entryStart = reader.entryStart();
                ctx_.reason = reader.reason();
                if (r == kOk)
                    r = Dispatch(entry);
                else if (r == kSyntaxError && ctx_.diagnostics != nullptr)
                    ctx_.Report(reader.brokenByHighByte() ? DiagnosticKind::kHighByteInName
                                                          : DiagnosticKind::kSyntaxError,
                                entry.keyword, entry.option, ctx_.reason, ctx_.EntryLine());
            }
            if (r == kOk || r == kSyntaxError)
                continue;
            if (r == kEndOfInput)
                return kOk;
            const char* why = ctx_.reason != nullptr ? ctx_.reason : "out of memory";
            const std::uint32_t line = ctx_.EntryLine();
            ctx_.Report(DiagnosticKind::kParseStopped, entry.keyword, entry.option, why, line);
            if (failure != nullptr) {
                failure->code = r;
                failure->line = line;
                failure->reason = why;
            }
            return r;
        }
    }

private:
    Result Dispatch(PpdEntry& entry) {
        if (entry.keyword.front() == '?')
            return kOk; // query keywords
        ctx_.reason = nullptr;
        if (WorkFeature* open = ctx_.doc.openFeature) {
            if (IsOpenFeature(open, entry)) {
                CutAtNul(entry);
                return Checked(HandleFeatureOption(ctx_, open, entry), entry);
            }
            if (IsOpenFeatureDefault(open, entry)) {
                CutAtNul(entry);
                return Checked(HandleFeatureDefault(ctx_, open, entry), entry);
            }
        }
        const int row = MayBeKeyword(entry.keyword) ? FindKeyword(entry.keyword) : -1;
        if (row < 0)
            return kOk;
        return DispatchToRow(row, entry);
    }

    // A main keyword of the table; no open feature can have such a keyword.
    Result DispatchToRow(int row, PpdEntry& entry) {
        const KeywordRow& keyword = kKeywordRows[row];
        CutAtNul(entry);
        if (!FitsForm(keyword, entry))
            return Checked(ctx_.Fail(entry.hasOption() != ((keyword.flags & kNeedsOption) != 0)
                                         ? (entry.hasOption() ? "keyword takes no option keyword"
                                                              : "keyword needs an option keyword")
                                         : "value of the wrong form"),
                           entry);
        if (CountsOnce(keyword) && used_[row]) {
            ctx_.Report(DiagnosticKind::kOnceOnlyUsed, entry.keyword, entry.option,
                        "keyword counts only once; this entry is ignored", LineIfNeeded());
            return kOk;
        }
        const Result r = keyword.handler(ctx_, entry);
        if (r == kOk)
            used_[row] = true;
        return Checked(r, entry);
    }

    Result Checked(Result r, const PpdEntry& entry) {
        if (r == kSyntaxError && ctx_.diagnostics != nullptr)
            ctx_.Report(DiagnosticKind::kSyntaxError, entry.keyword, entry.option,
                        ctx_.reason != nullptr ? ctx_.reason : "malformed value", ctx_.EntryLine());
        return r;
    }

    std::uint32_t LineIfNeeded() { return ctx_.diagnostics != nullptr ? ctx_.EntryLine() : 0; }

    ParseContext& ctx_;
    const int constraintRow_;
    bool used_[kKeywordCount] = {};
};

constexpr std::size_t kMaxFileSize = 0x7FFFFFF0;

// Documents live in one allocation with this bookkeeping in front.
struct BlockPrefix {
    std::uint32_t holders;
};
static_assert(sizeof(BlockPrefix) <= kBlockPrefix);

BlockPrefix* PrefixOf(const PpdDocument* doc) {
    return reinterpret_cast<BlockPrefix*>(
        const_cast<unsigned char*>(reinterpret_cast<const unsigned char*>(doc)) - kBlockPrefix);
}

void Hold(const PpdDocument* doc) {
    if (doc != nullptr)
        ++PrefixOf(doc)->holders;
}

// The one cached document and its path.
struct Cache {
    std::string path;
    const PpdDocument* doc = nullptr;
};
Cache& TheCache() {
    static Cache cache;
    return cache;
}

} // namespace

const PpdDocument* ParsePpdBytes(const void* data, std::size_t size, std::string_view path,
                                 const ParseOptions& options) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (bytes == nullptr)
        bytes = reinterpret_cast<const unsigned char*>("");
    // Places in the file and in the document are 32-bit: far beyond any real PPD.
    if (size > kMaxFileSize) {
        if (options.failure != nullptr) {
            options.failure->code = kOutOfMemory;
            options.failure->line = 0;
            options.failure->reason = "file larger than 2 GB";
        }
        return nullptr;
    }
    ParseContext ctx(bytes, size);
    ctx.diagnostics = options.diagnostics;
    ctx.arena.SetLimit(options.memoryLimit);
    ctx.doc.path = {path.data(), static_cast<std::uint32_t>(path.size())};
    if (ctx.doc.path.data == nullptr)
        ctx.doc.path.data = "";
    Parser parser(ctx);
    if (parser.Run(options.failure) != kOk)
        return nullptr;
    std::size_t blockBytes = 0, roomBytes = 0;
    PpdDocument* doc = FinishAndPack(ctx, &blockBytes, &roomBytes);
    if (options.stats != nullptr) {
        options.stats->workingBytes = ctx.arena.reserved();
        options.stats->blockBytes = blockBytes;
        options.stats->blockRoomBytes = roomBytes;
    }
    if (doc == nullptr) {
        if (options.failure != nullptr) {
            options.failure->code = kOutOfMemory;
            options.failure->line = 0;
            options.failure->reason = "out of memory while packing";
        }
        return nullptr;
    }
    PrefixOf(doc)->holders = 1;
    return doc;
}

const PpdDocument* ReadPpdFile(const std::string& path, const ParseOptions& options) {
    platform::MappedFile file;
    if (!file.Open(path)) {
        if (options.failure != nullptr) {
            options.failure->code = -1;
            options.failure->line = 0;
            options.failure->reason = "cannot open, size or map the file (or it is empty)";
        }
        return nullptr;
    }
    return ParsePpdBytes(file.data(), file.size(), path, options);
}

void FreePpdDocument(const PpdDocument* doc) {
    if (doc == nullptr)
        return;
    BlockPrefix* prefix = PrefixOf(doc);
    if (--prefix->holders == 0)
        std::free(prefix);
}

void ClearPpdDocumentCache() {
    Cache& cache = TheCache();
    const PpdDocument* doc = cache.doc;
    cache.doc = nullptr;
    cache.path.clear();
    FreePpdDocument(doc);
}

const PpdDocument* LoadPpdDocument(const std::string& path) {
    Cache& cache = TheCache();
    if (cache.doc != nullptr && cache.path == path) {
        Hold(cache.doc);
        return cache.doc;
    }
    ClearPpdDocumentCache();
    const PpdDocument* doc = ReadPpdFile(path);
    cache.path = path;
    cache.doc = doc;
    Hold(doc); // the caller's hold; the cache keeps the first
    return doc;
}

} // namespace ppd
