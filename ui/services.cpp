#include "ui/services.h"

#include "platform/file_system.h"
#include "platform/services.h"

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

// Every help request ends here. Without the help file the system's help viewer would ask the
// user to find it in a box of its own while the sheet waits (or not start at all), so the
// request is answered with a message of ours, owned by the window that asked.
void OpenHelp(Handle owner, unsigned command, unsigned long data) {
    const std::string helpFile = HelpFilePath();
    if (!platform::files().FileExists(helpFile)) {
        MessageBox(HelpFileMissingMessage(helpFile), kMbOk | kMbIconInformation, {}, Window(owner));
        return;
    }
    B().WinHelp(owner, helpFile, command, data);
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
    std::string path = B().ProgramPath();
    const size_t nameStart = path.size() - FileNamePart(path).size();
    const size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot >= nameStart)
        path.resize(dot);
    return path + ".HLP";
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
    OpenHelp(B().ActiveModalWindow(), kHelpContext, contextId);
}

void RunContextHelp() {
    Backend& backend = B();
    const Handle focus = backend.Focus();
    if (!focus)
        return;
    const int id = backend.ControlId(focus);
    if (id == 0)
        return;
    unsigned long topic = 0;
    if (id == kIdHelp) {
        const Handle page = backend.SheetActivePage(backend.Parent(focus));
        topic = page ? backend.ContextHelpId(page) : 0;
    } else if (id == kIdOk || id == kIdCancel) {
        topic = static_cast<unsigned long>(id);
    } else {
        topic = backend.ContextHelpId(focus);
        if (topic == 0) {
            const Handle parent = backend.Parent(focus);
            topic = parent ? static_cast<unsigned long>(backend.ControlId(parent)) : 0;
        }
    }
    const Handle owner = backend.ActiveModalWindow();
    if (topic > 2)
        OpenHelp(owner, kHelpContext, topic);
    else
        OpenHelp(owner, kHelpContents, 0);
}

} // namespace ui
