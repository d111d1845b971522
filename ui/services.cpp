#include "ui/services.h"

#include "platform/file_system.h"
#include "platform/services.h"
#include "ui/help.h"

namespace ui {
namespace {

Backend& B() {
    return CurrentBackend();
}

// The part of a path after its last backslash or slash.
std::string_view FileNamePart(std::string_view path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

Handle OwnerOrActive(Window owner) {
    return owner ? owner.GetHandle() : B().ActiveModalWindow();
}

// Every help request ends here, on the road that PlanHelp chooses. Without a help file the
// system's help viewer would ask the user to find it in a box of its own while the sheet waits
// (or not start at all), so the request is answered with a message of ours, owned by the window
// that asked.
void OpenHelp(Handle owner, const HelpRequest& request) {
    const HelpAction action = PlanHelp(request, B().ProgramPath(), platform::files());
    switch (action.kind) {
    case HelpAction::Kind::Missing:
        MessageBox(HelpFileMissingMessage(action.missingFile), kMbOk | kMbIconInformation, {},
                   Window(owner));
        return;
    case HelpAction::Kind::WinHelp:
        B().WinHelp(owner, action.winHelpFile, action.winHelpCommand, action.winHelpData);
        return;
    case HelpAction::Kind::HtmlHelp:
        if (!B().HtmlHelp(owner, action.html) && action.htmlFallback)
            B().HtmlHelp(owner, *action.htmlFallback);
        return;
    }
}

} // namespace

std::string ApplicationName() {
    const std::string path = B().ProgramPath();
    std::string_view name = FileNamePart(path);
    const size_t dot = name.rfind('.');
    if (dot != std::string_view::npos)
        name = name.substr(0, dot);
    return std::string(name);
}

std::string HelpFileMissingMessage(std::string_view helpFile) {
    return "S\xFA"
           "bor pomocn\xEDka " +
           std::string(FileNamePart(helpFile)) + " nie je nain\x9Atalovan\xFD.";
}

std::string HelpFilePath() {
    return WinHelpFilePath(B().ProgramPath());
}

std::string HtmlHelpFilePath() {
    return HtmlHelpFilePath(B().ProgramPath());
}

int MessageBox(std::string_view text, unsigned style, std::string_view caption, Window owner) {
    const std::string appName = caption.empty() ? ApplicationName() : std::string();
    return B().MessageBox(OwnerOrActive(owner), text, caption.empty() ? appName : caption, style);
}

std::optional<std::string> ShowOpenFileDialog(const OpenFileRequest& request, Window owner) {
    return B().OpenFile(OwnerOrActive(owner), request);
}

WaitCursor::WaitCursor() {
    B().BeginWaitCursor();
}

WaitCursor::~WaitCursor() {
    B().EndWaitCursor();
}

int FocusedControlId() {
    const Handle focus = B().Focus();
    return focus ? B().ControlId(focus) : 0;
}

void ShowHelpTopic(unsigned long contextId) {
    HelpRequest request;
    request.kind = HelpRequest::Kind::Topic;
    request.contextId = contextId;
    OpenHelp(B().ActiveModalWindow(), request);
}

void RunContextHelp() {
    RunContextHelpFor(B().Focus());
}

void RunContextHelpFor(Handle focus) {
    Backend& backend = B();
    if (!focus)
        return;
    const int id = backend.ControlId(focus);
    if (id == 0)
        return;
    HelpRequest request;
    const Handle parent = backend.Parent(focus);
    if (id == kIdHelp) {
        const Handle page = backend.SheetActivePage(parent);
        request.kind = HelpRequest::Kind::Topic;
        request.contextId = page ? backend.ContextHelpId(page) : 0;
    } else if (id == kIdOk || id == kIdCancel) {
        request.kind = HelpRequest::Kind::Contents;
    } else {
        request.dialogContext = parent ? backend.ContextHelpId(parent) : 0;
        request.contextId = backend.ContextHelpId(focus);
        if (request.contextId == 0) {
            request.kind = HelpRequest::Kind::Unlisted;
            request.contextId = parent ? static_cast<unsigned long>(backend.ControlId(parent)) : 0;
        } else if (request.contextId > 2) {
            request.kind = HelpRequest::Kind::Control;
            // The popup below the control, as the system places its own help popups.
            const Rect rect = backend.WindowRect(focus);
            request.at = Point{(rect.left + rect.right) / 2, rect.bottom};
        } else {
            request.kind = HelpRequest::Kind::Contents;
        }
    }
    OpenHelp(backend.ActiveModalWindow(), request);
}

void CloseHelp() {
    HtmlHelpCommand command;
    command.kind = HtmlHelpCommand::Kind::CloseAll;
    B().HtmlHelp(nullptr, command);
}

} // namespace ui
