#include "ui/headless/collation.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/codepage1250.h"

namespace ui::headless {
namespace {

char16_t UpperUnicode(char16_t ch) {
    if (ch >= u'a' && ch <= u'z')
        return static_cast<char16_t>(ch - 0x20);
    if (ch >= 0x00E0 && ch <= 0x00FE && ch != 0x00F7)
        return static_cast<char16_t>(ch - 0x20);
    const bool evenUpper = (ch >= 0x0100 && ch <= 0x012F) || (ch >= 0x0132 && ch <= 0x0137) ||
                           (ch >= 0x014A && ch <= 0x0177);
    if (evenUpper && (ch & 1))
        return static_cast<char16_t>(ch - 1);
    const bool oddUpper = (ch >= 0x0139 && ch <= 0x0148) || (ch >= 0x0179 && ch <= 0x017E);
    if (oddUpper && !(ch & 1))
        return static_cast<char16_t>(ch - 1);
    return ch;
}

std::array<unsigned char, 256> MakeUpperTable() {
    std::array<unsigned char, 256> table{};
    for (int b = 0; b < 256; ++b) {
        const char16_t ch = platform::Cp1250ToUnicode(static_cast<unsigned char>(b));
        const char16_t upper = UpperUnicode(ch);
        const unsigned char back =
            upper == ch ? static_cast<unsigned char>(b) : platform::UnicodeToCp1250(upper);
        table[static_cast<size_t>(b)] =
            back == '?' && b != '?' ? static_cast<unsigned char>(b) : back;
    }
    return table;
}

const std::array<unsigned char, 256>& UpperTable() {
    static const std::array<unsigned char, 256> table = MakeUpperTable();
    return table;
}

// Accents, in the order the secondary level sorts them (0 is none).
enum Mark : unsigned char {
    kNone,
    kAcute,
    kCircumflex,
    kBreve,
    kDiaeresis,
    kRing,
    kDoubleAcute,
    kCaron,
    kCedilla,
    kOgonek,
    kDotAbove,
    kStroke,
};

struct Decomposed {
    char16_t unicode;
    char base; // lower-case ASCII letter
    Mark mark;
};

// The accented letters of code page 1250 (lower case; upper case is folded first).
constexpr Decomposed kLetters[] = {
    {0x00E1, 'a', kAcute},      {0x00E2, 'a', kCircumflex},  {0x0103, 'a', kBreve},
    {0x00E4, 'a', kDiaeresis},  {0x0105, 'a', kOgonek},      {0x0107, 'c', kAcute},
    {0x010D, 'c', kCaron},      {0x00E7, 'c', kCedilla},     {0x010F, 'd', kCaron},
    {0x0111, 'd', kStroke},     {0x00E9, 'e', kAcute},       {0x0119, 'e', kOgonek},
    {0x00EB, 'e', kDiaeresis},  {0x011B, 'e', kCaron},       {0x00ED, 'i', kAcute},
    {0x00EE, 'i', kCircumflex}, {0x013A, 'l', kAcute},       {0x013E, 'l', kCaron},
    {0x0142, 'l', kStroke},     {0x0144, 'n', kAcute},       {0x0148, 'n', kCaron},
    {0x00F3, 'o', kAcute},      {0x00F4, 'o', kCircumflex},  {0x0151, 'o', kDoubleAcute},
    {0x00F6, 'o', kDiaeresis},  {0x0155, 'r', kAcute},       {0x0159, 'r', kCaron},
    {0x015B, 's', kAcute},      {0x0161, 's', kCaron},       {0x015F, 's', kCedilla},
    {0x0165, 't', kCaron},      {0x0163, 't', kCedilla},     {0x00FA, 'u', kAcute},
    {0x016F, 'u', kRing},       {0x0171, 'u', kDoubleAcute}, {0x00FC, 'u', kDiaeresis},
    {0x00FD, 'y', kAcute},      {0x017A, 'z', kAcute},       {0x017E, 'z', kCaron},
    {0x017C, 'z', kDotAbove},
};

constexpr unsigned kSymbolBase = 0x100;
constexpr unsigned kDigitBase = 0x20000;
constexpr unsigned kLetterBase = 0x30000;

struct SortKey {
    std::vector<unsigned> primary;
    std::vector<unsigned char> secondary;
    size_t ignored = 0; // hyphens and apostrophes
};

void AppendLetter(SortKey& key, char base, Mark mark) {
    key.primary.push_back(kLetterBase + static_cast<unsigned>(base - 'a'));
    key.secondary.push_back(mark);
}

SortKey MakeKey(std::string_view text) {
    SortKey key;
    for (char c : text) {
        const char16_t ch = platform::Cp1250ToUnicode(static_cast<unsigned char>(c));
        // Word sort: hyphens and apostrophes count only when all else is equal.
        if (ch == u'-' || ch == u'\'' || ch == 0x00AD) {
            ++key.ignored;
            continue;
        }
        if (ch >= u'0' && ch <= u'9') {
            key.primary.push_back(kDigitBase + (ch - u'0'));
            key.secondary.push_back(kNone);
            continue;
        }
        if ((ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z')) {
            AppendLetter(key, static_cast<char>(ch | 0x20), kNone);
            continue;
        }
        if (ch == 0x00DF) { // sharp s sorts as "ss"
            AppendLetter(key, 's', kNone);
            AppendLetter(key, 's', kNone);
            continue;
        }
        bool found = false;
        for (const Decomposed& letter : kLetters) {
            if (letter.unicode == ch || UpperUnicode(letter.unicode) == ch) {
                AppendLetter(key, letter.base, letter.mark);
                found = true;
                break;
            }
        }
        if (!found) {
            key.primary.push_back(kSymbolBase + ch);
            key.secondary.push_back(kNone);
        }
    }
    return key;
}

} // namespace

unsigned char UpperCp1250(unsigned char byte) {
    return UpperTable()[byte];
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (UpperCp1250(static_cast<unsigned char>(a[i])) !=
            UpperCp1250(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (lower(text[i]) != lower(prefix[i]))
            return false;
    }
    return true;
}

int CompareForSort(std::string_view a, std::string_view b) {
    const SortKey keyA = MakeKey(a);
    const SortKey keyB = MakeKey(b);
    if (keyA.primary != keyB.primary)
        return keyA.primary < keyB.primary ? -1 : 1;
    if (keyA.secondary != keyB.secondary)
        return keyA.secondary < keyB.secondary ? -1 : 1;
    // Equal but for case, hyphens and apostrophes: case does not count; a text with fewer
    // hyphens and apostrophes comes first ("coop" before "co-op").
    if (keyA.ignored != keyB.ignored)
        return keyA.ignored < keyB.ignored ? -1 : 1;
    std::string upperA(a);
    std::string upperB(b);
    for (char& c : upperA)
        c = static_cast<char>(UpperCp1250(static_cast<unsigned char>(c)));
    for (char& c : upperB)
        c = static_cast<char>(UpperCp1250(static_cast<unsigned char>(c)));
    if (upperA == upperB)
        return 0;
    return upperA < upperB ? -1 : 1;
}

} // namespace ui::headless
