#include "ppd/values.h"

#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ppd {

namespace {

// Digits beyond this value only saturate: it is above every field's range.
constexpr std::uint64_t kSaturated = std::uint64_t{1} << 40;

constexpr std::uint32_t kPowersOfTen[6] = {1, 10, 100, 1000, 10000, 100000};

int HexValue(unsigned char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return c - 'a' + 10;
}

} // namespace

std::size_t SplitWords(std::string_view text, std::string_view* words, std::size_t max,
                       const void* readable) {
    std::size_t count = 0;
#if defined(__SSE2__)
    if (text.size() <= 64) {
        // One bit per byte: set for blanks and for the bytes past the end. The bytes are read
        // in place when 64 of them may be read, else from a copy.
        alignas(16) unsigned char copy[64];
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
        if (readable == nullptr || text.empty() ||
            static_cast<std::size_t>(static_cast<const char*>(readable) - text.data()) < 64) {
            std::memset(copy, 0, sizeof copy);
            if (!text.empty())
                std::memcpy(copy, text.data(), text.size());
            bytes = copy;
        }
        std::uint64_t blanks = 0;
        const std::size_t chunks = (text.size() + 15) / 16;
        for (std::size_t i = 0; i < chunks; ++i) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * i));
            const __m128i blank = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(' ')),
                                               _mm_cmpeq_epi8(v, _mm_set1_epi8('\t')));
            blanks |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(blank)))
                      << (16 * i);
        }
        if (text.size() < 64)
            blanks |= ~std::uint64_t{0} << text.size();
        // A word starts at a byte that is no blank and follows a blank (or the start) and ends
        // at a blank that follows a byte of the word; starts and ends alternate.
        std::uint64_t starts = ~blanks & ((blanks << 1) | 1);
        std::uint64_t ends = blanks & (~blanks << 1);
        while (starts != 0 && count < max) {
            const unsigned start = static_cast<unsigned>(__builtin_ctzll(starts));
            const unsigned stop = ends != 0 ? static_cast<unsigned>(__builtin_ctzll(ends)) : 64;
            starts &= starts - 1;
            ends &= ends - 1;
            const std::size_t size = stop - start;
            words[count++] =
                std::string_view(text.data() + start, size > kMaxWord ? kMaxWord : size);
        }
        return count;
    }
#endif
    while (count < max) {
        const std::string_view word = NextWord(text);
        if (word.empty())
            break;
        words[count++] = word;
    }
    return count;
}

Result ParseInteger(std::string_view text, std::uint64_t* value) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        ++i;
    if (i >= text.size() || !HasClass(static_cast<unsigned char>(text[i]), kDigit))
        return kSyntaxError;
    std::uint64_t n = 0;
    for (; i < text.size() && HasClass(static_cast<unsigned char>(text[i]), kDigit); ++i) {
        n = n * 10 + static_cast<unsigned>(text[i] - '0');
        if (n > kSaturated)
            n = kSaturated;
    }
    *value = negative ? 0 : n;
    return kOk;
}

std::uint32_t ClampToU32(std::uint64_t value) {
    return value > std::numeric_limits<std::uint32_t>::max()
               ? std::numeric_limits<std::uint32_t>::max()
               : static_cast<std::uint32_t>(value);
}

std::int32_t ClampToI32(std::uint64_t value) {
    return value > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())
               ? std::numeric_limits<std::int32_t>::max()
               : static_cast<std::int32_t>(value);
}

Result ParseFixed(std::string_view text, Fixed* value) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        ++i;
    bool anyDigit = false;
    std::uint64_t whole = 0;
    for (; i < text.size() && HasClass(static_cast<unsigned char>(text[i]), kDigit); ++i) {
        anyDigit = true;
        whole = whole * 10 + static_cast<unsigned>(text[i] - '0');
        if (whole > kSaturated)
            whole = kSaturated;
    }
    std::uint32_t fraction = 0;
    int counted = 0;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && HasClass(static_cast<unsigned char>(text[i]), kDigit); ++i) {
            anyDigit = true;
            if (counted < 5) {
                fraction = fraction * 10 + static_cast<unsigned>(text[i] - '0');
                ++counted;
            }
        }
    }
    if (!anyDigit)
        return kSyntaxError;
    const std::uint32_t scale = kPowersOfTen[counted];
    const std::uint64_t fixed = whole * 256 + (fraction * 256u + scale / 2) / scale;
    *value = negative ? 0 : ClampToI32(fixed);
    return kOk;
}

bool StartsWithWord(std::string_view text, std::string_view word) {
    if (text.size() < word.size() || !SameBytes(text.data(), word.data(), word.size()))
        return false;
    return text.size() == word.size() ||
           HasClass(static_cast<unsigned char>(text[word.size()]), kBlank);
}

bool LookupWord(const WordCode* list, std::string_view text, int* code) {
    for (; list->word.data() != nullptr; ++list) {
        if (StartsWithWord(text, list->word)) {
            *code = list->code;
            return true;
        }
    }
    *code = list->code;
    return false;
}

Result ParseBoolean(std::string_view text, std::int32_t* value) {
    static constexpr WordCode kBooleans[] = {{"True", 1}, {"False", 0}, {{}, 0}};
    int code = 0;
    const bool found = LookupWord(kBooleans, text, &code);
    *value = code;
    return found ? kOk : kSyntaxError;
}

Result DecodeHexText(std::string_view text, char* out, std::size_t* written) {
    std::size_t n = 0;
    bool inHex = false;
    int pending = -1; // first digit of a pair
    for (unsigned char c : text) {
        if (!inHex) {
            if (c == '<')
                inHex = true;
            else
                out[n++] = static_cast<char>(c);
            continue;
        }
        if (c == '>') {
            if (pending >= 0)
                return kSyntaxError;
            inHex = false;
        } else if (HasClass(c, kHexDigit)) {
            if (pending < 0) {
                pending = HexValue(c);
            } else {
                out[n++] = static_cast<char>(pending * 16 + HexValue(c));
                pending = -1;
            }
        } else {
            return kSyntaxError;
        }
    }
    if (inHex)
        return kSyntaxError;
    *written = n;
    return kOk;
}

std::string_view TrimTrailingBlanks(std::string_view text) {
    while (!text.empty() && HasClass(static_cast<unsigned char>(text.back()), kBlank))
        text.remove_suffix(1);
    return text;
}

} // namespace ppd
