#pragma once
// The byte-level reader: cuts the mapped file into entries (main keyword, optional option
// keyword with optional translation, value) and routes each to its handler.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ppd/values.h"

namespace ppd {

enum class ValueKind : std::int32_t {
    kNone = 0,   // keyword alone on its line
    kQuoted = 2, // between double quotes, line ends included
    kSymbol = 3, // plain value beginning with "^"
    kPlain = 4,  // up to the line end or "/"
};

inline constexpr std::size_t kMaxKeyword = 40;
inline constexpr std::size_t kMaxOption = 40;
inline constexpr std::size_t kMaxTranslation = 128;

// One entry; every text is a range of the file.
struct PpdEntry {
    std::string_view keyword;     // without "*"
    std::string_view option;      // empty when the entry has none
    std::string_view translation; // empty when absent
    std::string_view value;       // handlers see it cut at a NUL byte, as a C string would be
                                  // (plain values are cut by the reader, quoted ones when routed)
    ValueKind valueKind = ValueKind::kNone;

    bool hasOption() const { return !option.empty(); }
};

// The first words of a constraint line's value.
struct ConstraintLine {
    static constexpr std::size_t kMaxWords = 4;
    std::string_view value;
    std::string_view words[kMaxWords];
    std::size_t count = 0;
};

class EntryReader {
public:
    EntryReader(const unsigned char* data, std::size_t size) : p_(data), end_(data + size) {}

    // kOk with the next entry; kEndOfInput at the end of the file (an entry that the end
    // interrupts is dropped); kSyntaxError for a malformed entry (the reader stays just after
    // the byte that broke it); kOutOfMemory for a name longer than its limit.
    Result ReadEntry(PpdEntry& entry);

    // The words of a "*UIConstraints:" line at the reader's place when the line has the usual
    // shape (a plain value that a line end ends): the entry ReadEntry would give, already cut
    // into words as NextWord cuts them, without the general rules. False, with the reader
    // unmoved, for anything else.
    bool ReadConstraintLine(ConstraintLine& line) {
        // Most lines are no constraints: their first bytes tell, without a call. A line end
        // before the line (the LF of a CR LF pair) is passed over as ReadEntry would.
        const unsigned char* p = p_;
        if (p != end_ && (*p == '\n' || *p == '\r'))
            ++p;
        if (end_ - p <= 16 || p[0] != '*' || p[1] != 'U')
            return false;
        return ReadConstraintLineAt(p, line);
    }

    // Passes over an "*End" line (the line that closes a value running over several lines),
    // which no rule uses; false, with the reader unmoved, for any other line.
    bool SkipEndLine() {
        const unsigned char* p = p_;
        if (p != end_ && (*p == '\n' || *p == '\r'))
            ++p;
        if (end_ - p < 5 || p[0] != '*' || p[1] != 'E' || p[2] != 'n' || p[3] != 'd' ||
            (p[4] != '\r' && p[4] != '\n'))
            return false;
        p_ = p + 5;
        return true;
    }

    const unsigned char* entryStart() const { return entryStart_; }
    const char* reason() const { return reason_; }
    bool brokenByHighByte() const { return highByte_; }

private:
    bool ReadConstraintLineAt(const unsigned char* p, ConstraintLine& line);
    Result Broken(const char* why, unsigned char c) {
        reason_ = why;
        highByte_ = c >= 0x80;
        return kSyntaxError;
    }
    const unsigned char* p_;
    const unsigned char* end_;
    const unsigned char* entryStart_ = nullptr;
    const char* reason_ = nullptr;
    bool highByte_ = false;
};

// First CR or LF at or after `p`, or `end`.
const unsigned char* FindLineEnd(const unsigned char* p, const unsigned char* end);
// First CR, LF, "/" or NUL at or after `p`, or `end`.
const unsigned char* FindPlainValueEnd(const unsigned char* p, const unsigned char* end);

} // namespace ppd
