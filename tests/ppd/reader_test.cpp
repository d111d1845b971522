#include "ppd/reader.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ppd_test_util.h"

namespace ppd {
namespace {

// Every ReadEntry outcome of a text: "K|O|T|V|kind" for an entry, else the result's name.
std::vector<std::string> ReadAll(std::string_view text) {
    EntryReader reader(reinterpret_cast<const unsigned char*>(text.data()), text.size());
    std::vector<std::string> out;
    for (int guard = 0; guard < 100; ++guard) {
        PpdEntry e;
        const Result r = reader.ReadEntry(e);
        if (r == kOk)
            out.push_back(std::string(e.keyword) + "|" + std::string(e.option) + "|" +
                          std::string(e.translation) + "|" + std::string(e.value) + "|" +
                          std::to_string(static_cast<int>(e.valueKind)));
        else
            out.push_back(r == kEndOfInput ? "eoi" : r == kSyntaxError ? "syntax" : "oom");
        if (r == kEndOfInput || r == kOutOfMemory)
            break;
    }
    return out;
}

struct GrammarCase {
    const char* name;
    std::string text;
    std::vector<std::string> expected;
};

// The byte-level grammar: where entries begin, how names and values end, what the end of the
// file drops.
TEST(EntryReader, Grammar) {
    const std::string k40(40, 'K'), k41(41, 'K'), t128(128, 't'), t129(129, 't');
    const GrammarCase cases[] = {
        {"comment, blank-led and empty lines are skipped",
         "*%comment\n  *Foo: 1\n\n*Bar: 2\n",
         {"Bar|||2|4", "eoi"}},
        {"star alone is a syntax error, the next line still reads",
         "*\n*A: x\n",
         {"syntax", "A|||x|4", "eoi"}},
        {"last entry without line end is dropped", "*A: x\n*B: y", {"A|||x|4", "eoi"}},
        {"option and translation", "*Key Opt/Tr: x\n", {"Key|Opt|Tr|x|4", "eoi"}},
        {"blanks before slash and colon", "*Key Opt /Tr :x\n", {"Key|Opt|Tr |x|4", "eoi"}},
        {"tabs are blanks", "*Key\tOpt/T r:\tx\n", {"Key|Opt|T r|x|4", "eoi"}},
        {"plain value ends at slash",
         "*Key: value/Trans\n*B: 1\n",
         {"Key|||value|4", "B|||1|4", "eoi"}},
        {"plain value keeps trailing blanks", "*Key: value  \n", {"Key|||value  |4", "eoi"}},
        {"quoted value drops the rest of its line",
         "*Key: \"abc\" trailing\n*B: 1\n",
         {"Key|||abc|2", "B|||1|4", "eoi"}},
        {"quoted value over three lines", "*Key: \"a\nb\r\nc\"\n", {"Key|||a\nb\r\nc|2", "eoi"}},
        {"quoted value never closed", "*A: 1\n*Key: \"abc\n*B: 2\n", {"A|||1|4", "eoi"}},
        {"quoted value without line end after it", "*Key: \"abc\"", {"eoi"}},
        {"keyword alone", "*End\n*End  \r\n", {"End||||0", "End||||0", "eoi"}},
        {"CR line ends", "*A: x\r*B: y\r", {"A|||x|4", "B|||y|4", "eoi"}},
        {"CR LF line ends", "*A: x\r\n*B: y\r\n", {"A|||x|4", "B|||y|4", "eoi"}},
        {"symbol value", "*Key: ^Sym\n", {"Key|||^Sym|3", "eoi"}},
        {"empty plain value", "*Key:\n*Key: /x\n", {"Key||||4", "Key||||4", "eoi"}},
        {"slash is part of a main keyword", "*Key/Tr: x\n", {"Key/Tr|||x|4", "eoi"}},
        {"star is part of a main keyword", "**Key: x\n", {"*Key|||x|4", "eoi"}},
        {"blank before the colon", "*Key : x\n", {"Key|||x|4", "eoi"}},
        {"option without colon", "*Key Opt\n*B: 1\n", {"syntax", "B|||1|4", "eoi"}},
        {"empty translation", "*Key Opt/: x\n", {"syntax", "eoi"}},
        {"option keyword cannot start with a slash", "*Key /Tr: x\n", {"syntax", "eoi"}},
        {"byte above 0x7F in a translation", "*Key Opt/Caf\xE9: x\n", {"syntax", "eoi"}},
        {"a NUL ends a plain value", std::string("*Key: ab\0cd\n", 12), {"Key|||ab|4", "eoi"}},
        {"main keyword of 40", "*" + k40 + ": x\n", {k40 + "|||x|4", "eoi"}},
        {"main keyword of 41 stops the parse", "*" + k41 + ": x\n", {"oom"}},
        {"option keyword of 41 stops the parse", "*K " + k41 + ": x\n", {"oom"}},
        {"translation of 128", "*K O/" + t128 + ": x\n", {"K|O|" + t128 + "|x|4", "eoi"}},
        {"translation of 129 stops the parse", "*K O/" + t129 + ": x\n", {"oom"}},
        {"end of file inside a plain value", "*Key: x", {"eoi"}},
        {"end of file inside the names", "*Key Opt/Tr", {"eoi"}},
        {"reading goes on right after the byte that broke an entry",
         "*Key Opt/Tr\x81*Foo: bar\n",
         {"syntax", "Foo|||bar|4", "eoi"}},
    };
    for (const GrammarCase& c : cases)
        EXPECT_EQ(ReadAll(c.text), c.expected) << c.name;
}

// Long runs go through the vectorised scans: their ends must match the byte-by-byte rules.
TEST(EntryReader, LongRunsEndWhereTheBytesSay) {
    for (std::size_t n : {15u, 16u, 17u, 31u, 32u, 33u, 39u, 40u}) {
        const std::string keyword(n, 'k');
        const std::string option(n, 'o');
        const std::string value(n * 3, 'v');
        const std::string text =
            "*" + keyword + " " + option + "/" + std::string(n, 't') + ": " + value + "/x\n";
        EXPECT_EQ(
            ReadAll(text),
            (std::vector<std::string>{
                keyword + "|" + option + "|" + std::string(n, 't') + "|" + value + "|4", "eoi"}))
            << n;
    }
}

TEST(FindLineEnd, FindsTheFirstLineEndInLongAndShortTexts) {
    for (std::size_t at : {0u, 5u, 15u, 16u, 17u, 40u}) {
        for (char end : {'\r', '\n'}) {
            std::string text(50, 'x');
            text[at] = end;
            const auto* p = reinterpret_cast<const unsigned char*>(text.data());
            EXPECT_EQ(FindLineEnd(p, p + text.size()), p + at);
        }
    }
    const std::string none(33, 'x');
    const auto* p = reinterpret_cast<const unsigned char*>(none.data());
    EXPECT_EQ(FindLineEnd(p, p + none.size()), p + none.size());
}

} // namespace
} // namespace ppd
