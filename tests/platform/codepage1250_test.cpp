#include "platform/codepage1250.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

// Every byte survives the round trip through UTF-16 and UTF-8.
TEST(Codepage1250, EveryByteRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(Utf16ToCp1250(Cp1250ToUtf16(byte)), byte) << b;
        EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(byte)), byte) << b;
    }
}

// The Slovak letters and the two fraction bytes of the paper names map to their characters.
TEST(Codepage1250, SlovakLettersAndFractionBytes) {
    struct Case {
        const char* cp1250;
        const char* utf8;
    };
    const Case cases[] = {
        {"\x8E\x69\x61\x64\x6E\x79", "Žiadny"},
        {"Bro\x9E\xFAra", "Brožúra"},
        {"N\xC1H\xBC\x41\x44", "NÁHĽAD"},
        {"4 \xBE x 11", "4 ľ x 11"},
        {"9 \xBD x 12", "9 ˝ x 12"},
        {"\x80", "€"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Cp1250ToUtf8(c.cp1250), c.utf8);
        EXPECT_EQ(Utf8ToCp1250(c.utf8), c.cp1250);
    }
}

// Characters outside the code page and malformed UTF-8 become '?', never lost bytes.
TEST(Codepage1250, UnmappableInputBecomesQuestionMark) {
    EXPECT_EQ(Utf8ToCp1250("a\xE4\xB8\xAD"
                           "b"),
              "a?b");                         // a CJK character
    EXPECT_EQ(Utf8ToCp1250("a\xC3"), "a?");   // truncated sequence
    EXPECT_EQ(Utf8ToCp1250("\xC0\x80"), "?"); // overlong NUL
    EXPECT_EQ(Utf16ToCp1250(u"\u4E2D"), "?");
}

// Characters beyond the basic plane travel as surrogate pairs.
TEST(Codepage1250, SurrogatePairs) {
    const std::string smile = "\xF0\x9F\x98\x80";
    EXPECT_EQ(Utf8ToUtf16(smile), std::u16string(u"\xD83D\xDE00"));
    EXPECT_EQ(Utf16ToUtf8(u"\xD83D\xDE00"), smile);
}

} // namespace
} // namespace platform
