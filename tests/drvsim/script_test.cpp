#include "tools/drvsim/script.h"

#include <gtest/gtest.h>

namespace drvsim {
namespace {

// Every command with its arguments, ids by number or by resource name, texts with escapes.
TEST(DrvsimScript, ParsesEveryCommand) {
    const char* text = "# the About page\n"
                       "\n"
                       "page 7\n"
                       "page O aplik\xC3\xA1"
                       "cii\n"
                       "select IDC_PAPER_SIZE A4\n"
                       "select 1021 #2\n"
                       "select 1021 \\#1\n"
                       "click IDC_ABOUT_RESET\n"
                       "check 1007 1\n"
                       "type 1360 Moje logo\\s\n"
                       "type 1360\n"
                       "focus 1100\n"
                       "expect-text 1100 a\\r\\nb\\\\c  \n"
                       "expect-enabled IDOK 0\n"
                       "expect-visible 1126 1\n"
                       "expect-selected 1020\n"
                       "expect-message Chybn\xC3\xBD \xC3\xBA"
                       "daj\n"
                       "answer IDYES\n"
                       "dialog IDD_CUSTOM_SIZE\n"
                       "ok\n"
                       "cancel\r\n"
                       "screenshot out/demo/about.png\n"
                       "key IDC_PAPER_SIZE wheel-down\n"
                       "key 1020 a\n"
                       "enter\n"
                       "open-file C:\\vela\\header file.ps\n"
                       "open-file\n"
                       "key 1020 \xC5\xBD\n";
    ScriptError error;
    const auto steps = ParseScript(text, &error);
    ASSERT_TRUE(steps.has_value()) << error.line << ": " << error.message;
    ASSERT_EQ(steps->size(), 26u);
    const auto& s = *steps;
    EXPECT_EQ(s[0].command, Command::Page);
    EXPECT_EQ(s[0].index, 7);
    EXPECT_EQ(s[0].line, 3);
    EXPECT_EQ(s[1].index, -1);
    EXPECT_EQ(s[1].text, "O aplik\xC3\xA1"
                         "cii");
    EXPECT_EQ(s[2].command, Command::Select);
    EXPECT_EQ(s[2].id, 1020);
    EXPECT_EQ(s[2].text, "A4");
    EXPECT_EQ(s[3].index, 2);
    EXPECT_EQ(s[4].index, -1);
    EXPECT_EQ(s[4].text, "#1");
    EXPECT_EQ(s[5].command, Command::Click);
    EXPECT_EQ(s[5].id, 1102);
    EXPECT_EQ(s[6].command, Command::Check);
    EXPECT_TRUE(s[6].flag);
    EXPECT_EQ(s[7].text, "Moje logo ");
    EXPECT_EQ(s[8].command, Command::Type);
    EXPECT_EQ(s[8].text, "");
    EXPECT_EQ(s[9].command, Command::Focus);
    EXPECT_EQ(s[10].text, "a\r\nb\\c");
    EXPECT_EQ(s[11].command, Command::ExpectEnabled);
    EXPECT_EQ(s[11].id, 1);
    EXPECT_FALSE(s[11].flag);
    EXPECT_EQ(s[12].command, Command::ExpectVisible);
    EXPECT_EQ(s[13].command, Command::ExpectSelected);
    EXPECT_EQ(s[13].text, "");
    EXPECT_EQ(s[14].command, Command::ExpectMessage);
    EXPECT_EQ(s[15].command, Command::Answer);
    EXPECT_EQ(s[15].id, 6);
    EXPECT_EQ(s[16].command, Command::Dialog);
    EXPECT_EQ(s[16].id, 192);
    EXPECT_EQ(s[17].command, Command::Ok);
    EXPECT_EQ(s[18].command, Command::Cancel);
    EXPECT_EQ(s[19].command, Command::Screenshot);
    EXPECT_EQ(s[19].text, "out/demo/about.png");
    EXPECT_EQ(s[19].source, "screenshot out/demo/about.png");
    EXPECT_EQ(s[20].command, Command::Key);
    EXPECT_EQ(s[20].id, 1020);
    EXPECT_EQ(s[20].text, "wheel-down");
    EXPECT_EQ(s[21].text, "a");
    EXPECT_EQ(s[22].command, Command::Enter);
    EXPECT_EQ(s[23].command, Command::OpenFile);
    EXPECT_EQ(s[23].text, "C:\\vela\\header file.ps");
    EXPECT_EQ(s[24].command, Command::OpenFile);
    EXPECT_EQ(s[24].text, "");
    EXPECT_EQ(s[25].command, Command::Key);
    EXPECT_EQ(s[25].text, "\xC5\xBD"); // a Slovak letter, two bytes of UTF-8
}

// A bad line stops the parse and names itself.
TEST(DrvsimScript, RejectsBadLines) {
    struct Case {
        const char* text;
        int line;
    };
    const Case cases[] = {
        {"ok\nclick\n", 2},      {"click IDC_NO_SUCH_THING\n", 1},
        {"check 1007 2\n", 1},   {"expect-enabled 1007\n", 1},
        {"answer IDRETRY\n", 1}, {"ok now\n", 1},
        {"press 1\n", 1},        {"select 1020 #x\n", 1},
        {"select 1020\n", 1},    {"page\n", 1},
        {"screenshot\n", 1},     {"\n\ndialog\n", 3},
        {"key 1020 left\n", 1},  {"key 1020\n", 1},
        {"key 1020 ab\n", 1},    {"key 1020 \xC5\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ScriptError error;
        EXPECT_FALSE(ParseScript(c.text, &error).has_value());
        EXPECT_EQ(error.line, c.line);
        EXPECT_FALSE(error.message.empty());
    }
}

// The list opened and dismissed, Tab and the spin arrows, which the explorer's replay scripts
// use: each line and the step it gives, then the lines refused.
TEST(DrvsimScript, ParsesDismissTabAndSpin) {
    struct Case {
        const char* line;
        Command command;
        int id;
        bool flag;
    };
    const Case cases[] = {
        {"dismiss IDC_PAPER_SIZE escape", Command::Dismiss, 1020, false},
        {"dismiss 1022 outside", Command::Dismiss, 1022, true},
        {"tab", Command::Tab, 0, false},
        {"tab back", Command::Tab, 0, true},
        {"spin IDC_DOC_COPIES_SPIN up", Command::Spin, 1343, true},
        {"spin 1076 down", Command::Spin, 1076, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ScriptError error;
        const auto steps = ParseScript(c.line, &error);
        ASSERT_TRUE(steps.has_value()) << error.message;
        ASSERT_EQ(steps->size(), 1u);
        EXPECT_EQ((*steps)[0].command, c.command);
        EXPECT_EQ((*steps)[0].id, c.id);
        EXPECT_EQ((*steps)[0].flag, c.flag);
    }
    for (const char* bad : {"dismiss 1020", "dismiss 1020 close", "tab forward", "tab back now",
                            "spin 1076", "spin 1076 left", "spin IDC_NOTHING up"}) {
        ScriptError error;
        EXPECT_FALSE(ParseScript(bad, &error).has_value()) << bad;
    }
}

// Ids back to their names, for scripts written by programs: the name of the kind asked for.
TEST(DrvsimScript, NamesIds) {
    EXPECT_EQ(NameOfId(1020, "IDC_"), "IDC_PAPER_SIZE");
    EXPECT_EQ(NameOfId(192, "IDD_"), "IDD_CUSTOM_SIZE");
    EXPECT_EQ(NameOfId(1, "ID"), "IDOK");
    EXPECT_EQ(NameOfId(192, "IDC_"), "");
    EXPECT_EQ(NameOfId(4242, "IDC_"), "");
}

TEST(DrvsimScript, ResolvesIds) {
    EXPECT_EQ(ResolveId("1102"), 1102);
    EXPECT_EQ(ResolveId("IDC_ABOUT_RESET"), 1102);
    EXPECT_EQ(ResolveId("IDD_ABOUT"), 120);
    EXPECT_EQ(ResolveId("IDCANCEL"), 2);
    EXPECT_EQ(ResolveId("IDC_STATIC"), std::nullopt); // not a control one can address
    EXPECT_EQ(ResolveId("idc_about_reset"), std::nullopt);
    EXPECT_EQ(ResolveId(""), std::nullopt);
}

} // namespace
} // namespace drvsim

namespace drvsim {
namespace {

// Pictures of the walked pages are named by index and title, Slovak letters without marks.
TEST(DrvsimScript, PictureNames) {
    struct Case {
        int index;
        const char* title;
        const char* name;
    };
    const Case cases[] = {
        {0, "Rozvrhnutie", "00-rozvrhnutie.png"},
        {5, "Spotrebn\xC3\xBD materi\xC3\xA1l", "05-spotrebny-material.png"},
        {7,
         "O aplik\xC3\xA1"
         "cii",
         "07-o-aplikacii.png"},
        {12, "P\xC3\xADsma / \xC5\xBD\xC4\xBEt\xC3\xA9", "12-pisma---zlte.png"},
        {3, "\xE2\x82\xAC", "03--.png"}, // a letter outside the table
    };
    for (const Case& c : cases)
        EXPECT_EQ(PictureName(c.index, c.title), c.name) << c.title;
    ScriptError error;
    const auto steps = ParseScript("walk-pages out/demo\n", &error);
    ASSERT_TRUE(steps.has_value());
    EXPECT_EQ((*steps)[0].command, Command::WalkPages);
    EXPECT_EQ((*steps)[0].text, "out/demo");
    EXPECT_FALSE(ParseScript("walk-pages\n", &error).has_value());
    const auto pages = ParseScript("expect-pages Rozvrhnutie|Papier|O aplik\xC3\xA1"
                                   "cii\n",
                                   &error);
    ASSERT_TRUE(pages.has_value());
    EXPECT_EQ((*pages)[0].command, Command::ExpectPages);
    EXPECT_EQ((*pages)[0].text, "Rozvrhnutie|Papier|O aplik\xC3\xA1"
                                "cii");
    EXPECT_FALSE(ParseScript("expect-pages\n", &error).has_value());
}

// The help commands: F1 on a control by id, and a help window by class and caption.
TEST(DrvsimScript, HelpCommands) {
    ScriptError error;
    const auto steps =
        ParseScript("help IDC_PAPER_SIZE\n"
                    "expect-window HH Parent|Pomocn\xC3\xADk \xE2\x80\x93 vela40ps\n",
                    &error);
    ASSERT_TRUE(steps.has_value()) << error.line << ": " << error.message;
    ASSERT_EQ(steps->size(), 2u);
    EXPECT_EQ((*steps)[0].command, Command::Help);
    EXPECT_EQ((*steps)[0].id, 1020);
    EXPECT_EQ((*steps)[1].command, Command::ExpectWindow);
    EXPECT_EQ((*steps)[1].text, "HH Parent|Pomocn\xC3\xADk \xE2\x80\x93 vela40ps");
    const char* wrong[] = {"help\n", "help IDC_NOTHING\n", "help 1020 1021\n",
                           "expect-window HH Parent\n", "expect-window\n"};
    for (const char* line : wrong)
        EXPECT_FALSE(ParseScript(line, &error).has_value()) << line;
}

} // namespace
} // namespace drvsim
