#include "app/text_helpers.h"

#include <gtest/gtest.h>

#include <string>

namespace app {
namespace {

using R = NumericTextCheck;

// Integer, decimal and free modes: signs only first and followed by more, one dot only in
// decimal mode, no minus in decimal mode, empty text refused silently in every mode.
TEST(CheckNumericText, Modes) {
    struct Case {
        const char* text;
        int mode;
        NumericTextCheck expected;
    };
    const Case cases[] = {
        {"", kIntegerText, R::Empty},
        {"", kDecimalText, R::Empty},
        {"", 0, R::Empty},
        {"0", kIntegerText, R::Accepted},
        {"0123456789", kIntegerText, R::Accepted},
        {"-5", kIntegerText, R::Accepted},
        {"+5", kIntegerText, R::Accepted},
        {"-", kIntegerText, R::NonNumeric},
        {"+", kIntegerText, R::NonNumeric},
        {"5-", kIntegerText, R::NonNumeric},
        {"--5", kIntegerText, R::NonNumeric},
        {"+-5", kIntegerText, R::NonNumeric},
        {"1.5", kIntegerText, R::NonNumeric},
        {" 5", kIntegerText, R::NonNumeric},
        {"5 ", kIntegerText, R::NonNumeric},
        {"1e3", kIntegerText, R::NonNumeric},
        {"12a", kIntegerText, R::NonNumeric},
        {"8.5", kDecimalText, R::Accepted},
        {"85", kDecimalText, R::Accepted},
        {".5", kDecimalText, R::Accepted},
        {"5.", kDecimalText, R::Accepted},
        {".", kDecimalText, R::Accepted},
        {"+8.5", kDecimalText, R::Accepted},
        {"+.", kDecimalText, R::Accepted},
        {"+", kDecimalText, R::NonNumeric},
        {"-8.5", kDecimalText, R::NonNumeric},
        {"8+5", kDecimalText, R::NonNumeric},
        {"1.2.3", kDecimalText, R::NonNumeric},
        {"..", kDecimalText, R::NonNumeric},
        {"8,5", kDecimalText, R::NonNumeric},
        {"abc", 0, R::Accepted},
        {"-", 3, R::Accepted},
        {"1.2.3", -1, R::Accepted},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckNumericText(c.text, c.mode), c.expected)
            << '"' << c.text << "\" mode " << c.mode;
    }
}

// Bytes above 0x7F (Slovak letters, the superscript digits of code page 1250) are not digits.
TEST(CheckNumericText, HighBytesAreNotDigits) {
    for (const char* text : {"1\xB9", "\xB2", "5\xE8", "\xFF"}) {
        EXPECT_EQ(CheckNumericText(text, kIntegerText), R::NonNumeric);
        EXPECT_EQ(CheckNumericText(text, kDecimalText), R::NonNumeric);
    }
    EXPECT_EQ(CheckNumericText(std::string("1\0"
                                           "2",
                                           3),
                               kIntegerText),
              R::NonNumeric);
}

TEST(CheckNumericText, MessageIsCodePage1250) {
    EXPECT_STREQ(kNonNumericTextMessage, "Chybn\xFD \xFA"
                                         "daj, ne\xE8\xEDseln\xE9 znaky");
    EXPECT_EQ(sizeof(kNonNumericTextMessage), 29u);
}

// Only the name after the last backslash counts; base up to 8, extension up to 3.
TEST(IsDosFileName, Lengths) {
    struct Case {
        const char* text;
        bool expected;
    };
    const Case cases[] = {
        {"", true},
        {"FORM.PRN", true},
        {"ABCDEFGH.PRN", true}, // 8.3 exactly
        {"ABCDEFGH", true},     // 8 without a dot
        {"ABCDEFGHI", false},   // 9 without a dot
        {"ABCDEFGHI.PRN", false},
        {"ABCDEFGH.PRNX", false},
        {"A.PRNX", false},
        {".ext", true},
        {".extx", false},
        {"abcdefgh.", true}, // trailing dot: empty extension
        {"abcdefghi.", false},
        {"a.b.c", true},         // base "a.b", extension "c"
        {"abcdefg.h.c", false},  // base "abcdefg.h" has 9
        {"abc.defghijk", false}, // the last dot decides the extension
        {"dir\\", true},         // nothing after the backslash
        {"C:\\LONGDIRECTORY\\FORM.PRN", true},
        {"C:\\dir.longext\\FORM", true}, // dots before the backslash do not count
        {"C:\\dir.x\\ABCDEFGHI", false},
        {"dir\\sub\\ABCDEFGH.PRN", true},
        {"dir\\sub\\ABCDEFGHI.PRN", false},
        {"dir/ABCDEFGH.PRN", false}, // a slash is no separator
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsDosFileName(c.text), c.expected) << '"' << c.text << '"';
    }
}

} // namespace
} // namespace app
