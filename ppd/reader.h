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

class EntryReader {
public:
    EntryReader(const unsigned char* data, std::size_t size) : p_(data), end_(data + size) {}

    // kOk with the next entry; kEndOfInput at the end of the file (an entry that the end
    // interrupts is dropped); kSyntaxError for a malformed entry (the reader stays just after
    // the byte that broke it); kOutOfMemory for a name longer than its limit.
    Result ReadEntry(PpdEntry& entry);

    const unsigned char* entryStart() const { return entryStart_; }
    const char* reason() const { return reason_; }
    bool brokenByHighByte() const { return highByte_; }

private:
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
