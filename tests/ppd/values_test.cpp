#include "ppd/values.h"

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace ppd {
namespace {

struct FixedCase {
    const char* text;
    Result result;
    Fixed value;
};

// Fixed point: five fraction digits rounded half up, negatives 0, saturation at the top.
TEST(ParseFixed, Cases) {
    const FixedCase cases[] = {
        {"12", kOk, 3072},
        {"0.5", kOk, 128},
        {"10.", kOk, 2560},
        {".5", kOk, 128},
        {"-3", kOk, 0},
        {"-0.5", kOk, 0},
        {"1.23456789", kOk, 256 + 60},
        {"0.99999", kOk, 256},
        {"0.001953", kOk, 0},
        {"0.00196", kOk, 1},
        {"12abc", kOk, 3072},
        {"612 792", kOk, 612 * 256},
        {"8388607.99", kOk, 2147483645},
        {"8388608", kOk, std::numeric_limits<Fixed>::max()},
        {"99999999999999999999999999999", kOk, std::numeric_limits<Fixed>::max()},
        {".", kSyntaxError, 0},
        {"-", kSyntaxError, 0},
        {"-.", kSyntaxError, 0},
        {"", kSyntaxError, 0},
        {"abc", kSyntaxError, 0},
        {" 1", kSyntaxError, 0},
    };
    for (const FixedCase& c : cases) {
        Fixed value = -1;
        EXPECT_EQ(ParseFixed(c.text, &value), c.result) << c.text;
        if (c.result == kOk) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

struct IntegerCase {
    const char* text;
    Result result;
    std::uint32_t asU32;
    std::int32_t asI32;
};

// Integers: no overflow on long digit runs; each field saturates at its own maximum.
TEST(ParseInteger, Cases) {
    const IntegerCase cases[] = {
        {"42", kOk, 42, 42},
        {"-5", kOk, 0, 0},
        {"12x", kOk, 12, 12},
        {"2147483648", kOk, 2147483648u, std::numeric_limits<std::int32_t>::max()},
        {"4294967295", kOk, 4294967295u, std::numeric_limits<std::int32_t>::max()},
        {"5637144576", kOk, 4294967295u, std::numeric_limits<std::int32_t>::max()},
        {"999999999999999999999999999999999999", kOk, 4294967295u,
         std::numeric_limits<std::int32_t>::max()},
        {"+5", kSyntaxError, 0, 0},
        {"-", kSyntaxError, 0, 0},
        {"", kSyntaxError, 0, 0},
        {"x1", kSyntaxError, 0, 0},
    };
    for (const IntegerCase& c : cases) {
        std::uint64_t value = 7;
        EXPECT_EQ(ParseInteger(c.text, &value), c.result) << c.text;
        if (c.result == kOk) {
            EXPECT_EQ(ClampToU32(value), c.asU32) << c.text;
            EXPECT_EQ(ClampToI32(value), c.asI32) << c.text;
        }
    }
}

// A word matches when the text ends or continues with a blank right after it.
TEST(LookupWord, FirstWordOnly) {
    static constexpr WordCode kList[] = {{"Pick", 5}, {"PickOne", 1}, {"Boolean", 0}, {{}, 9}};
    const struct {
        const char* text;
        bool found;
        int code;
    } cases[] = {
        {"PickOne", true, 1},  {"PickOne  ", true, 1}, {"PickOne\tx", true, 1},
        {"Pick", true, 5},     {"Pick One", true, 5},  {"PickOnex", false, 9},
        {"pickone", false, 9}, {"", false, 9},         {" PickOne", false, 9},
    };
    for (const auto& c : cases) {
        int code = -1;
        EXPECT_EQ(LookupWord(kList, c.text, &code), c.found) << c.text;
        EXPECT_EQ(code, c.code) << c.text;
    }
    std::int32_t b = 5;
    EXPECT_EQ(ParseBoolean("True", &b), kOk);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(ParseBoolean("Yes", &b), kSyntaxError);
    EXPECT_EQ(b, 0);
}

// Hexadecimal text: pairs inside "<...>" become bytes; anything else inside fails.
TEST(DecodeHexText, Cases) {
    const struct {
        const char* text;
        Result result;
        std::string decoded;
    } cases[] = {
        {"<1B>%-12345X", kOk, "\x1B%-12345X"},
        {"Nain<9A>talovan<E9>", kOk, "Nain\x9Atalovan\xE9"},
        {"<4a4B>", kOk, "JK"},
        {"a<>b", kOk, "ab"},
        {"x>y", kOk, "x>y"},
        {"plain", kOk, "plain"},
        {"<1B 2D>", kSyntaxError, ""},
        {"<1>", kSyntaxError, ""},
        {"<zz>", kSyntaxError, ""},
        {"<1B", kSyntaxError, ""},
        {"<1<2>", kSyntaxError, ""},
    };
    for (const auto& c : cases) {
        const std::string text = c.text;
        std::vector<char> out(text.size() + 1, '#');
        std::size_t written = 0;
        EXPECT_EQ(DecodeHexText(text, out.data(), &written), c.result) << c.text;
        if (c.result == kOk) {
            EXPECT_EQ(std::string(out.data(), written), c.decoded) << c.text;
        }
        EXPECT_EQ(out.back(), '#') << "wrote past the text's size: " << c.text;
    }
}

// Words: blanks separate, line ends do not, 39 bytes are kept of a longer run.
TEST(NextWord, SplitsOnBlanksAndCuts) {
    const std::string text = "  *PageSize\tLetter\n x " + std::string(45, 'w') + " last";
    std::string_view cursor = text;
    EXPECT_EQ(NextWord(cursor), "*PageSize");
    EXPECT_EQ(NextWord(cursor), "Letter\n");
    EXPECT_EQ(NextWord(cursor), "x");
    EXPECT_EQ(NextWord(cursor), std::string(39, 'w'));
    EXPECT_EQ(NextWord(cursor), "last");
    EXPECT_EQ(NextWord(cursor), "");
    EXPECT_EQ(NextWord(cursor), "");
}

// The vectorised splitter gives exactly what NextWord gives, read in place or from a copy.
TEST(SplitWords, AgreesWithNextWord) {
    std::mt19937 random(12345);
    const char alphabet[] = {' ', '\t', 'a', 'B', '*', '\n', '\0'};
    for (int round = 0; round < 3000; ++round) {
        const std::size_t length = random() % 90;
        std::string text;
        for (std::size_t i = 0; i < length; ++i)
            text += alphabet[random() % sizeof alphabet];
        if (round % 7 == 0 && length > 0)
            text.replace(0, std::min<std::size_t>(length, 50),
                         std::string(std::min<std::size_t>(length, 50), 'z'));
        std::vector<std::string_view> expected;
        std::string_view cursor = text;
        for (std::string_view w = NextWord(cursor); !w.empty() && expected.size() < 5;
             w = NextWord(cursor))
            expected.push_back(w);
        const std::string padded = text + std::string(64, 'p');
        for (const void* readable : {static_cast<const void*>(nullptr),
                                     static_cast<const void*>(padded.data() + padded.size())}) {
            const std::string_view source = readable == nullptr
                                                ? std::string_view(text)
                                                : std::string_view(padded.data(), text.size());
            std::string_view words[5];
            const std::size_t n = SplitWords(source, words, 5, readable);
            ASSERT_EQ(n, expected.size()) << round;
            for (std::size_t i = 0; i < n; ++i)
                EXPECT_EQ(words[i], expected[i]) << round;
        }
    }
}

TEST(NameHash, ShiftsAndXors) {
    EXPECT_EQ(NameHash(""), 0u);
    EXPECT_EQ(NameHash("A"), 0x41u);
    EXPECT_EQ(NameHash("AB"), (0x41u << 1) ^ 0x42u);
    // The same as one byte a step, for every length (bytes shifted past bit 31 drop out).
    std::string name;
    std::uint32_t expected = 0;
    for (int i = 0; i < 45; ++i) {
        const auto c = static_cast<unsigned char>(0x21 + (i * 37) % 94);
        name += static_cast<char>(c);
        expected = (expected << 1) ^ c;
        EXPECT_EQ(NameHash(name), expected) << i;
    }
}

} // namespace
} // namespace ppd
