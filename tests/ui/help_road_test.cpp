// The help road: which help a request opens, from the files beside the program. The WinHelp
// file keeps the numbers as they always went; the HTML Help file turns them into its topics
// ("N.htm"), its popup texts and, for a popup the viewer cannot show, the control's place in
// its dialog's topic; with neither the request becomes the message naming the .chm.
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "ui/help.h"
#include "ui/types.h"

namespace ui {
namespace {

constexpr char kProgram[] = "C:\\Program Files\\Vela\\vela40ps.exe";
constexpr char kHlp[] = "C:\\Program Files\\Vela\\vela40ps.HLP";
constexpr char kChm[] = "C:\\Program Files\\Vela\\vela40ps.chm";

HelpRequest Request(HelpRequest::Kind kind, unsigned long context, unsigned long dialog = 0) {
    HelpRequest request;
    request.kind = kind;
    request.contextId = context;
    request.dialogContext = dialog;
    request.at = Point{120, 340};
    return request;
}

using K = HelpRequest::Kind;
using H = HtmlHelpCommand::Kind;

// The file names in the files the test installs, whatever their letter case (Windows compares
// file names without regard to it).
TEST(HelpRoad, WhichFileDecides) {
    const struct {
        const char* what;
        std::vector<std::string> files;
        HelpAction::Kind road;
    } cases[] = {
        {"only the .HLP", {kHlp}, HelpAction::Kind::WinHelp},
        {"only the .chm", {kChm}, HelpAction::Kind::HtmlHelp},
        {"both: the .HLP first", {kChm, kHlp}, HelpAction::Kind::WinHelp},
        {"the .chm in upper case",
         {"c:\\program files\\vela\\VELA40PS.CHM"},
         HelpAction::Kind::HtmlHelp},
        {"neither", {"C:\\Program Files\\Vela\\vela40ps.exe"}, HelpAction::Kind::Missing},
        {"a .chm of another name",
         {"C:\\Program Files\\Vela\\help.chm"},
         HelpAction::Kind::Missing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        platform::KnownFiles files;
        files.files = c.files;
        const HelpAction action = PlanHelp(Request(K::Topic, 104), kProgram, files);
        EXPECT_EQ(action.kind, c.road);
        if (c.road == HelpAction::Kind::Missing) {
            EXPECT_EQ(action.missingFile, kChm);
        }
    }
}

// WinHelp gets the numbers as the Help command has always computed them.
TEST(HelpRoad, WinHelpKeepsTheContextNumbers) {
    platform::KnownFiles files{kHlp};
    const struct {
        HelpRequest request;
        unsigned command;
        unsigned long data;
    } cases[] = {
        {Request(K::Topic, 104), kHelpContext, 104},
        {Request(K::Control, 1020, 104), kHelpContext, 1020},
        {Request(K::Unlisted, 1234, 104), kHelpContext, 1234},
        {Request(K::Unlisted, 0, 104), kHelpContents, 0},
        {Request(K::Topic, 2), kHelpContents, 0},
        {Request(K::Contents, 0), kHelpContents, 0},
    };
    for (const auto& c : cases) {
        const HelpAction action = PlanHelp(c.request, kProgram, files);
        ASSERT_EQ(action.kind, HelpAction::Kind::WinHelp);
        EXPECT_EQ(action.winHelpFile, kHlp);
        EXPECT_EQ(action.winHelpCommand, c.command) << c.request.contextId;
        EXPECT_EQ(action.winHelpData, c.data) << c.request.contextId;
    }
}

// HTML Help: a dialog's number is its topic, a control's its popup text, shown below it, with
// the control's anchor in its dialog's topic when the popup cannot be shown.
TEST(HelpRoad, HtmlHelpTopicsAndPopups) {
    platform::KnownFiles files{kChm};
    const std::string chm = kChm;
    const struct {
        const char* what;
        HelpRequest request;
        H kind;
        std::string file;
        std::optional<std::string> fallback;
    } cases[] = {
        {"a page's topic", Request(K::Topic, 104), H::Topic, chm + "::/104.htm", std::nullopt},
        {"a dialog's topic", Request(K::Topic, 192), H::Topic, chm + "::/192.htm", std::nullopt},
        {"a number of 2 or less", Request(K::Topic, 2), H::Contents, chm, std::nullopt},
        {"OK or Cancel", Request(K::Contents, 1), H::Contents, chm, std::nullopt},
        {"a control", Request(K::Control, 1506, 192), H::Popup, chm + "::/cshelp.txt",
         chm + "::/192.htm#c1506"},
        {"a control outside any dialog", Request(K::Control, 1506, 0), H::Popup,
         chm + "::/cshelp.txt", chm},
        {"a window without an id", Request(K::Unlisted, 77, 103), H::Topic, chm + "::/103.htm",
         std::nullopt},
        {"a window without an id or dialog", Request(K::Unlisted, 0, 0), H::Contents, chm,
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const HelpAction action = PlanHelp(c.request, kProgram, files);
        ASSERT_EQ(action.kind, HelpAction::Kind::HtmlHelp);
        EXPECT_EQ(action.html.kind, c.kind);
        EXPECT_EQ(action.html.file, c.file);
        if (c.kind == H::Popup) {
            EXPECT_EQ(action.html.contextId, c.request.contextId);
            EXPECT_EQ(action.html.at, c.request.at);
        }
        ASSERT_EQ(action.htmlFallback.has_value(), c.fallback.has_value());
        if (c.fallback) {
            EXPECT_EQ(action.htmlFallback->file, *c.fallback);
        }
    }
}

TEST(HelpRoad, HelpFileNamesFromTheProgramPath) {
    const struct {
        const char* program;
        const char* chm;
        const char* hlp;
    } cases[] = {
        {"C:\\dir\\vela40ps.exe", "C:\\dir\\vela40ps.chm", "C:\\dir\\vela40ps.HLP"},
        {"C:\\dir.x\\prog", "C:\\dir.x\\prog.chm", "C:\\dir.x\\prog.HLP"},
        {"prog.a.b", "prog.a.chm", "prog.a.HLP"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HtmlHelpFilePath(c.program), c.chm);
        EXPECT_EQ(WinHelpFilePath(c.program), c.hlp);
    }
}

} // namespace
} // namespace ui
