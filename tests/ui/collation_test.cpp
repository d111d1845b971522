// Case folding and sort order of the headless list controls on code page 1250 texts.
#include "ui/headless/collation.h"

#include <gtest/gtest.h>

namespace ui::headless {
namespace {

// Every letter of the code page has its capital; other characters stay as they are.
TEST(Collation, UpperCaseOfCodePageLetters) {
    const struct {
        unsigned char lower;
        unsigned char upper;
    } pairs[] = {
        {'a', 'A'},   {'z', 'Z'}, {0xE8, 0xC8}, // č Č
        {0x9E, 0x8E},                           // ž Ž
        {0xBE, 0xBC},                           // ľ Ľ
        {0x9D, 0x8D},                           // ť Ť
        {0xF2, 0xD2},                           // ň Ň
        {0xE5, 0xC5},                           // ĺ Ĺ
        {0xF4, 0xD4},                           // ô Ô
        {0xB3, 0xA3},                           // ł Ł
        {0xB9, 0xA5},                           // ą Ą
        {0xDF, 0xDF},                           // ß has no capital
        {0xF7, 0xF7},                           // ÷
        {'1', '1'},   {'-', '-'},
    };
    for (const auto& p : pairs) {
        EXPECT_EQ(UpperCp1250(p.lower), p.upper) << int(p.lower);
        EXPECT_EQ(UpperCp1250(p.upper), p.upper) << int(p.upper);
    }
}

TEST(Collation, EqualityAndPrefixes) {
    EXPECT_TRUE(EqualsIgnoringCase("\x8Eolt\xFD", "\x9EOLT\xDD"));
    EXPECT_FALSE(EqualsIgnoringCase("zolty", "\x9Eolt\xFD"));
    EXPECT_FALSE(EqualsIgnoringCase("ab", "abc"));
    // Prefix search folds ASCII letters only.
    EXPECT_TRUE(StartsWithIgnoringAsciiCase("Bro\x9E\xFAra", "BRO\x9E"));
    EXPECT_FALSE(StartsWithIgnoringAsciiCase("Bro\x9E\xFAra", "BRO\x8E"));
    EXPECT_TRUE(StartsWithIgnoringAsciiCase("A4 Extra", "a4"));
    EXPECT_TRUE(StartsWithIgnoringAsciiCase("x", ""));
    EXPECT_FALSE(StartsWithIgnoringAsciiCase("A4", "A4 Extra"));
}

struct OrderCase {
    const char* first;
    const char* second;
    int sign; // of CompareForSort(first, second)
};

// Letters by base letter first, accents second, case never; digits before letters; hyphens
// only break ties.
TEST(Collation, SortOrder) {
    const OrderCase cases[] = {
        {"a", "B", -1},
        {"abc", "ABD", -1},
        {"ab", "abc", -1},
        {"\xC8ierny", "cyan", -1}, // Čierny: č sorts with c
        {"\xC8\x65rven\xE1", "\xC8ierny", -1},
        {"cena", "\xE8\x65na", -1},       // no accent before the accent
        {"Zelen\xE1", "\x8Eolt\xFD", -1}, // Zelená before Žltý
        {"10", "9", -1},
        {"9", "a", -1},
        {"-x", "y", -1},
        {"-x", "w", 1},
        {"ABC", "abc", 0},
        {"\xC1", "\xE1", 0}, // Á and á
        {"", "a", -1},
    };
    for (const OrderCase& c : cases) {
        const int order = CompareForSort(c.first, c.second);
        EXPECT_EQ((order > 0) - (order < 0), c.sign) << c.first << " / " << c.second;
        const int reverse = CompareForSort(c.second, c.first);
        EXPECT_EQ((reverse > 0) - (reverse < 0), -c.sign) << c.second << " / " << c.first;
    }
    // Texts that differ only in a hyphen are still different: the one without comes first.
    EXPECT_GT(CompareForSort("co-op", "coop"), 0);
    EXPECT_LT(CompareForSort("coop", "co-op"), 0);
}

} // namespace
} // namespace ui::headless
