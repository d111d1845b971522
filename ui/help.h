#pragma once
// The help road: which help a request opens, decided in one place from the files that lie
// beside the program (platform::FileSystem), so that every case is tested natively.
//
//   1. The WinHelp file, the program's own name with ".HLP": the context number goes to WinHelp
//      (HELP_CONTEXT, or HELP_CONTENTS for 2 or less), as it always has.
//   2. Else the HTML Help file, the program's name with ".chm" (what the build ships): a topic
//      opens the HTML Help window at "N.htm" (N the context number, a dialog id); F1 on a
//      control shows the control's text from "cshelp.txt" of the .chm in a popup below it, and
//      when the viewer cannot show popups (Wine's cannot) the control's place "N.htm#cID" in
//      its dialog's topic; the contents open the .chm at its first topic.
//   3. Else a message that the help file (the .chm) is not installed, owned by the window that
//      asked; no help viewer is started, so nothing waits for a file that is not there.
#include <optional>
#include <string>
#include <string_view>

#include "ui/backend.h"

namespace platform {
class FileSystem;
}

namespace ui {

// What the user asked for, in context numbers (dialog and control ids).
struct HelpRequest {
    enum class Kind {
        Contents, // the help's contents (OK, Cancel, no context id)
        Topic,    // the topic of a page or dialog: its "Pomocník" button or the sheet's Help
        Control,  // F1 on a control that has a context id of its own
        Unlisted, // F1 on a window without one: WinHelp gets its parent's control id, HTML
                  // Help the topic of its dialog
    };
    Kind kind = Kind::Contents;
    unsigned long contextId = 0;     // Topic: the dialog's; Control: the control's; Unlisted:
                                     // the parent's control id
    unsigned long dialogContext = 0; // Control, Unlisted: the context id of the window's dialog
    Point at{};                      // Control: where its popup goes (screen coordinates)
};

// One step of the road.
struct HelpAction {
    enum class Kind { HtmlHelp, WinHelp, Missing };
    Kind kind = Kind::Missing;
    HtmlHelpCommand html;                        // HtmlHelp
    std::optional<HtmlHelpCommand> htmlFallback; // HtmlHelp popups: when the popup is not shown
    std::string winHelpFile;                     // WinHelp
    unsigned winHelpCommand = 0;                 // WinHelp: HELP_CONTEXT or HELP_CONTENTS
    unsigned long winHelpData = 0;               // WinHelp
    std::string missingFile;                     // Missing: the file the message names (the .chm)
};

// The program's HTML Help file: its path with ".chm" in place of its extension.
std::string HtmlHelpFilePath(std::string_view programPath);
// The program's WinHelp file: its path with ".HLP" in place of its extension.
std::string WinHelpFilePath(std::string_view programPath);
// The name of the popup texts inside the .chm.
inline constexpr std::string_view kHelpPopupFile = "cshelp.txt";

// The road of `request` for the program at `programPath`, given the files that exist.
HelpAction PlanHelp(const HelpRequest& request, std::string_view programPath,
                    platform::FileSystem& files);

} // namespace ui
