#pragma once
// Result codes, character classes and the helpers that read the words and numbers of entry
// values. Values are byte ranges of the file (no terminating NUL is needed).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "ppd/document.h"

namespace ppd {

// Result codes of the reader and of every handler.
enum Result : int {
    kOk = 0,
    kEndOfInput = 1,
    kSyntaxError = 3, // the entry is skipped, the parse goes on
    kOutOfMemory = 4, // the parse stops and fails; also a name longer than its buffer
};

// Character classes, one byte of flags per character code.
enum : std::uint8_t {
    kBlank = 1 << 0,
    kLineEnd = 1 << 1,
    kKeywordChar = 1 << 2,
    kOptionChar = 1 << 3,
    kTranslationChar = 1 << 4,
    kDigit = 1 << 5,
    kHexDigit = 1 << 6,
};

struct CharClassTable {
    std::uint8_t flags[256];
};
constexpr CharClassTable MakeCharClasses() {
    CharClassTable t{};
    t.flags[0x20] |= kBlank | kTranslationChar; // space
    t.flags[0x09] |= kBlank | kTranslationChar; // tab
    t.flags[0x0D] |= kLineEnd;                  // CR
    t.flags[0x0A] |= kLineEnd;                  // LF
    for (int c = 0x21; c <= 0x7E; ++c) {
        if (c == ':')
            continue;
        t.flags[c] |= kKeywordChar | kTranslationChar;
        if (c != '/')
            t.flags[c] |= kOptionChar;
    }
    for (int c = '0'; c <= '9'; ++c)
        t.flags[c] |= kDigit | kHexDigit;
    for (int c = 'A'; c <= 'F'; ++c)
        t.flags[c] |= kHexDigit;
    for (int c = 'a'; c <= 'f'; ++c)
        t.flags[c] |= kHexDigit;
    return t;
}
inline constexpr CharClassTable kCharClasses = MakeCharClasses();

inline bool HasClass(unsigned char c, std::uint8_t cls) {
    return (kCharClasses.flags[c] & cls) != 0;
}

// The name hash stored with every keyword, feature, option and font name:
// h = (h << 1) ^ byte over the bytes, in 32-bit unsigned arithmetic.
constexpr std::uint32_t NameHash(std::string_view name) {
    std::uint32_t h = 0;
    std::size_t i = 0;
    // Four bytes a step: a shorter chain of dependent operations.
    for (; i + 4 <= name.size(); i += 4)
        h = (h << 4) ^ (static_cast<std::uint32_t>(static_cast<unsigned char>(name[i])) << 3) ^
            (static_cast<std::uint32_t>(static_cast<unsigned char>(name[i + 1])) << 2) ^
            (static_cast<std::uint32_t>(static_cast<unsigned char>(name[i + 2])) << 1) ^
            static_cast<unsigned char>(name[i + 3]);
    for (; i < name.size(); ++i)
        h = (h << 1) ^ static_cast<unsigned char>(name[i]);
    return h;
}

// Words longer than this are cut (the rest of the run is passed over).
inline constexpr std::size_t kMaxWord = 39;

// Skips blanks and takes the run up to the next blank or the end of the text, at most
// kMaxWord bytes of it; `cursor` moves past the whole run. Empty when the text is used up.
inline std::string_view NextWord(std::string_view& cursor) {
    const char* p = cursor.data();
    const char* const end = p + cursor.size();
    while (p != end && (*p == ' ' || *p == '\t'))
        ++p;
    const char* const start = p;
    while (p != end && *p != ' ' && *p != '\t')
        ++p;
    std::size_t size = static_cast<std::size_t>(p - start);
    cursor = std::string_view(p, static_cast<std::size_t>(end - p));
    if (size > kMaxWord)
        size = kMaxWord;
    return std::string_view(start, size);
}

// The first `max` words of the text, as NextWord gives them one after the other; returns how
// many there are (at most `max`). Bytes up to `readable` (past the text's end) may be read.
std::size_t SplitWords(std::string_view text, std::string_view* words, std::size_t max,
                       const void* readable = nullptr);

// A name as two words and its length, for the reader's own lookup tables: the first and last
// eight bytes (four for shorter names, three single bytes for the shortest). For names of up to
// 16 bytes the key holds every byte, so equal keys mean equal names.
struct NameKey {
    std::uint64_t head = 0;
    std::uint64_t tail = 0;
    std::uint32_t size = 0;

    static constexpr std::size_t kExact = 16;

    explicit NameKey(std::string_view name) : size(static_cast<std::uint32_t>(name.size())) {
        LoadEnds(name, &head, &tail);
    }

    // The first and last eight bytes of `bytes` (four, or three single bytes, when it is shorter)
    // into two words; both stay as they are for no bytes.
    static void LoadEnds(std::string_view bytes, std::uint64_t* head, std::uint64_t* tail) {
        const char* p = bytes.data();
        const std::size_t n = bytes.size();
        if (n >= 8) {
            std::memcpy(head, p, 8);
            std::memcpy(tail, p + n - 8, 8);
        } else if (n >= 4) {
            std::uint32_t x = 0, y = 0;
            std::memcpy(&x, p, 4);
            std::memcpy(&y, p + n - 4, 4);
            *head = x;
            *tail = y;
        } else if (n > 0) {
            *head = static_cast<unsigned char>(p[0]) |
                    static_cast<unsigned>(static_cast<unsigned char>(p[n / 2])) << 8 |
                    static_cast<unsigned>(static_cast<unsigned char>(p[n - 1])) << 16;
        }
    }
    std::uint64_t Hash(std::uint32_t salt = 0) const {
        std::uint64_t h = (head * 0x9E3779B97F4A7C15ull) ^ (tail + size) ^ salt;
        h *= 0xC2B2AE3D27D4EB4Full;
        return h ^ (h >> 29);
    }
    bool operator==(const NameKey& other) const {
        return head == other.head && tail == other.tail && size == other.size;
    }
};

// Byte comparison for the short names of a PPD, without a library call: whole words, the
// last one overlapping, so that the loop rarely mispredicts.
inline bool SameBytes(const char* a, const char* b, std::size_t n) {
    if (n >= 8) {
        std::uint64_t x = 0, y = 0;
        for (std::size_t i = 0; i + 8 < n; i += 8) {
            std::memcpy(&x, a + i, 8);
            std::memcpy(&y, b + i, 8);
            if (x != y)
                return false;
        }
        std::memcpy(&x, a + n - 8, 8);
        std::memcpy(&y, b + n - 8, 8);
        return x == y;
    }
    if (n >= 4) {
        std::uint32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        std::memcpy(&x1, a, 4);
        std::memcpy(&y1, b, 4);
        std::memcpy(&x2, a + n - 4, 4);
        std::memcpy(&y2, b + n - 4, 4);
        return ((x1 ^ y1) | (x2 ^ y2)) == 0;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// An optional "-" and decimal digits up to the first other character. A negative number gives
// 0; a number too large for any field saturates (callers clamp to their field's range).
// kSyntaxError when no digit follows the sign.
Result ParseInteger(std::string_view text, std::uint64_t* value);
std::uint32_t ClampToU32(std::uint64_t value);
std::int32_t ClampToI32(std::uint64_t value);

// An optional "-", digits, an optional "." and fraction digits; at least one digit in all.
// Fixed point with 8 fraction bits; five fraction digits count, rounded half up. Negative
// numbers give 0, numbers beyond the fixed-point range saturate at its maximum.
Result ParseFixed(std::string_view text, Fixed* value);

// A word list: rows of (word, code) ended by a row without word whose code is the default.
struct WordCode {
    std::string_view word; // no data in the end row
    int code;
};

// The code of the first row whose word is the text's first word (the text ends or continues
// with a blank right after it); the default code and false when no row matches.
bool LookupWord(const WordCode* list, std::string_view text, int* code);

// "True" 1, "False" 0; anything else stores 0 and gives kSyntaxError.
Result ParseBoolean(std::string_view text, std::int32_t* value);

// The hexadecimal form of translations and JCL strings: "<" starts hexadecimal text, ">" ends
// it, each pair of hex digits inside becomes one byte; other bytes are copied. Writes at most
// text.size() bytes to `out` and sets `*written`. kSyntaxError for any other byte inside
// "<...>" (blanks included), an odd digit before ">", or a "<" that is never closed.
Result DecodeHexText(std::string_view text, char* out, std::size_t* written);

// Cuts trailing blanks.
std::string_view TrimTrailingBlanks(std::string_view text);

// The text starts with `word`, followed by its end or a blank.
bool StartsWithWord(std::string_view text, std::string_view word);

} // namespace ppd
