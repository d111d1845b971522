#include "ppd/reader.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ppd {

const unsigned char* FindLineEnd(const unsigned char* p, const unsigned char* end) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        if (mask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    while (p < end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

const unsigned char* FindPlainValueEnd(const unsigned char* p, const unsigned char* end) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i slash = _mm_set1_epi8('/');
    const __m128i nul = _mm_setzero_si128();
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)),
                         _mm_or_si128(_mm_cmpeq_epi8(v, slash), _mm_cmpeq_epi8(v, nul)));
        const int mask = _mm_movemask_epi8(hit);
        if (mask != 0)
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    while (p < end && *p != '\r' && *p != '\n' && *p != '/' && *p != '\0')
        ++p;
    return p;
}

namespace {

// Length of the run of characters of class `Cls` that starts at `p`, counting at most
// limit + 1 of them (one more than a name may hold, so that an over-long name shows).
template <std::uint8_t Cls>
std::size_t Run(const unsigned char* p, const unsigned char* end, std::size_t limit) {
    const unsigned char* const start = p;
    const unsigned char* const stop =
        static_cast<std::size_t>(end - p) > limit + 1 ? p + limit + 1 : end;
#if defined(__SSE2__)
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        // 0x21 to 0x7E: shifted to -128 to -35 for a signed comparison.
        const __m128i shifted = _mm_add_epi8(v, _mm_set1_epi8(0x80 - 0x21));
        __m128i in = _mm_cmplt_epi8(shifted, _mm_set1_epi8(-34));
        in = _mm_andnot_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(':')), in);
        if constexpr (Cls == kOptionChar)
            in = _mm_andnot_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('/')), in);
        if constexpr (Cls == kTranslationChar)
            in = _mm_or_si128(in, _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(' ')),
                                               _mm_cmpeq_epi8(v, _mm_set1_epi8('\t'))));
        const unsigned out = ~static_cast<unsigned>(_mm_movemask_epi8(in)) & 0xFFFFu;
        if (out != 0 || p + 16 >= stop) {
            const unsigned char* q = out != 0 ? p + __builtin_ctz(out) : p + 16;
            return static_cast<std::size_t>((q < stop ? q : stop) - start);
        }
        p += 16;
    }
#endif
    while (p < stop && HasClass(*p, Cls))
        ++p;
    return static_cast<std::size_t>(p - start);
}

std::string_view Range(const unsigned char* from, const unsigned char* to) {
    return {reinterpret_cast<const char*>(from), static_cast<std::size_t>(to - from)};
}

} // namespace

namespace {

// Bit masks of 64 bytes: blanks, and the bytes that end a plain value (CR, LF, "/", NUL).
struct BlockMasks {
    std::uint64_t blank, stop;
};

BlockMasks MasksOf(const unsigned char* p) {
    BlockMasks m{0, 0};
#if defined(__SSE2__)
    for (int i = 0; i < 4; ++i) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        const __m128i blank = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(' ')),
                                           _mm_cmpeq_epi8(v, _mm_set1_epi8('\t')));
        const __m128i stop = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')),
                                                       _mm_cmpeq_epi8(v, _mm_set1_epi8('\n'))),
                                          _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('/')),
                                                       _mm_cmpeq_epi8(v, _mm_setzero_si128())));
        m.blank |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(blank))} << (16 * i);
        m.stop |= std::uint64_t{static_cast<unsigned>(_mm_movemask_epi8(stop))} << (16 * i);
    }
#else
    for (int i = 0; i < 64; ++i) {
        const unsigned char c = p[i];
        m.blank |= std::uint64_t{c == ' ' || c == '\t'} << i;
        m.stop |= std::uint64_t{c == '\r' || c == '\n' || c == '/' || c == '\0'} << i;
    }
#endif
    return m;
}

} // namespace

bool EntryReader::ReadConstraintLineAt(const unsigned char* p, ConstraintLine& line) {
    // "*UIConstraints:" as two overlapping 8-byte words.
    static constexpr char kHead[] = "*UIConstraints:";
    constexpr std::size_t kHeadSize = sizeof kHead - 1;
    if (end_ - p <= static_cast<std::ptrdiff_t>(kHeadSize))
        return false;
    std::uint64_t word = 0, expected = 0;
    std::memcpy(&word, p, 8);
    std::memcpy(&expected, kHead, 8);
    if (word != expected)
        return false;
    std::memcpy(&word, p + kHeadSize - 8, 8);
    std::memcpy(&expected, kHead + kHeadSize - 8, 8);
    if (word != expected)
        return false;

    // The value runs from its first byte that is no blank to the first byte that ends a plain
    // value, within the 64 bytes after the colon (longer lines, rare, take the general way); its
    // words are the runs of other bytes. Near the end of the file the bytes are read from a
    // copy ended by a line end.
    const unsigned char* const block = p + kHeadSize;
    unsigned char copy[64];
    const unsigned char* bytes = block;
    if (end_ - block < 64) {
        const std::size_t left = static_cast<std::size_t>(end_ - block);
        std::memcpy(copy, block, left);
        std::memset(copy + left, '\n', sizeof copy - left);
        bytes = copy;
    }
    const BlockMasks m = MasksOf(bytes);
    if (m.stop == 0)
        return false;
    const unsigned char* const valueEnd = block + std::countr_zero(m.stop);
    if (valueEnd >= end_ || (*valueEnd != '\r' && *valueEnd != '\n'))
        return false;
    const std::uint64_t inValue = (m.stop & (~m.stop + 1)) - 1;
    const std::uint64_t words = ~m.blank & inValue;
    if (words == 0)
        return false; // an empty value
    std::uint64_t starts = words & ~(words << 1);
    std::uint64_t ends = ~words & (words << 1);
    const unsigned char* const first = block + std::countr_zero(starts);
    if (*first == '"' || *first == '^')
        return false;
    std::size_t count = 0;
    for (; count < ConstraintLine::kMaxWords && starts != 0; ++count) {
        const unsigned start = static_cast<unsigned>(std::countr_zero(starts));
        const unsigned size = static_cast<unsigned>(std::countr_zero(ends)) - start;
        starts &= starts - 1;
        ends &= ends - 1;
        line.words[count] =
            Range(block + start, block + start + (size > kMaxWord ? kMaxWord : size));
    }
    line.count = count;
    line.value = Range(first, valueEnd);
    entryStart_ = p;
    p_ = valueEnd + 1;
    return true;
}

Result EntryReader::ReadEntry(PpdEntry& entry) {
    // Field by field: a whole-struct reset compiles to a slow string store.
    entry.keyword = {};
    entry.option = {};
    entry.translation = {};
    entry.value = {};
    entry.valueKind = ValueKind::kNone;
    const unsigned char* p = p_;
    const unsigned char* const end = end_;
    unsigned char c = 0;
    // Only a "*" in the first column that does not start a comment begins an entry; any other
    // line is skipped, an empty one (a lone line-end character) included.
    for (;;) {
        if (p == end)
            return p_ = p, kEndOfInput;
        c = *p++;
        if (c == '*') {
            if (p == end)
                return p_ = p, kEndOfInput;
            if (*p != '%')
                break;
            ++p;
        } else if (HasClass(c, kLineEnd)) {
            continue;
        }
        p = FindLineEnd(p, end);
        if (p == end)
            return p_ = p, kEndOfInput;
        ++p;
    }
    entryStart_ = p - 1;

    // Main keyword: the run up to the first byte outside the class.
    std::size_t n = Run<kKeywordChar>(p, end, kMaxKeyword);
    if (n > kMaxKeyword) {
        p_ = p + n;
        reason_ = "main keyword longer than 40 characters";
        return kOutOfMemory;
    }
    if (p + n == end)
        return p_ = end, kEndOfInput;
    entry.keyword = Range(p, p + n); // hashed by the router, only when it may be a table keyword
    c = p[n];
    p += n + 1;
    p_ = p;
    if (n == 0)
        return Broken("empty main keyword", c);

    while (HasClass(c, kBlank)) {
        if (p == end)
            return p_ = p, kEndOfInput;
        c = *p++;
    }
    p_ = p;
    if (HasClass(c, kLineEnd))
        return kOk; // keyword alone on its line

    if (c != ':') {
        // Option keyword, starting with the current character.
        const unsigned char* const option = p - 1;
        n = Run<kOptionChar>(option, end, kMaxOption);
        if (n > kMaxOption) {
            p_ = option + n;
            reason_ = "option keyword longer than 40 characters";
            return kOutOfMemory;
        }
        if (option + n == end)
            return p_ = end, kEndOfInput;
        c = option[n];
        p = option + n + 1;
        p_ = p;
        if (n == 0)
            return Broken("bad option keyword", c);
        entry.option = Range(option, option + n);
        while (HasClass(c, kBlank)) {
            if (p == end)
                return p_ = p, kEndOfInput;
            c = *p++;
        }
        p_ = p;
        if (c == '/') {
            const unsigned char* const translation = p;
            n = Run<kTranslationChar>(translation, end, kMaxTranslation);
            if (n > kMaxTranslation) {
                p_ = translation + n;
                reason_ = "translation longer than 128 characters";
                return kOutOfMemory;
            }
            if (translation + n == end)
                return p_ = end, kEndOfInput;
            c = translation[n];
            p = translation + n + 1;
            p_ = p;
            if (n == 0)
                return Broken("empty or bad translation", c);
            entry.translation = Range(translation, translation + n);
        }
    }
    if (c != ':')
        return Broken(entry.translation.empty() ? "no colon after the keywords"
                                                : "translation does not end with a colon",
                      c);

    // Value.
    if (p == end)
        return p_ = p, kEndOfInput;
    c = *p++;
    while (HasClass(c, kBlank)) {
        if (p == end)
            return p_ = p, kEndOfInput;
        c = *p++;
    }
    if (c == '"') {
        const void* close = std::memchr(p, '"', static_cast<std::size_t>(end - p));
        if (close == nullptr)
            return p_ = end, kEndOfInput;
        const auto* q = static_cast<const unsigned char*>(close);
        entry.value = Range(p, q);
        entry.valueKind = ValueKind::kQuoted;
        p = FindLineEnd(q + 1, end); // the rest of the closing quote's line
    } else {
        const unsigned char* const value = p - 1;
        const unsigned char* q = FindPlainValueEnd(value, end);
        const unsigned char* const valueEnd = q;
        while (q != end && *q == '\0') // a NUL ends the value as a C string; the line goes on
            q = FindPlainValueEnd(q + 1, end);
        if (q == end)
            return p_ = end, kEndOfInput;
        entry.value = Range(value, valueEnd);
        entry.valueKind =
            valueEnd > value && *value == '^' ? ValueKind::kSymbol : ValueKind::kPlain;
        p = *q == '/' ? FindLineEnd(q + 1, end) : q; // a "/" starts the value's translation
    }
    if (p == end)
        return p_ = p, kEndOfInput;
    p_ = p + 1;
    return kOk;
}

} // namespace ppd
