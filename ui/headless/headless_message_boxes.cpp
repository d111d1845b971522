// Message boxes, the file-open dialog, help and the wait cursor: answered by the scripts.
#include "ui/headless/headless_backend.h"

#include <string>

#include "ui/dialog.h"

#include "ui/headless/headless_node.h"

namespace ui::headless {

// ---- system services ----------------------------------------------------------------------

int HeadlessBackend::MessageBox(Handle owner, std::string_view text, std::string_view caption,
                                unsigned style) {
    MessageBoxCall call{std::string(text), std::string(caption), style, owner};
    RecordMessageBox(call);
    // The box takes the focus from the owner's control while it is shown, on its default
    // button, and the owner gets it back afterwards.
    Node* savedFocus = focus_;
    Node* box = NewNode(nullptr);
    box->kind = ControlKind::Dialog;
    box->className = "#32770";
    box->text = call.caption;
    box->style = kWsVisible;
    Node* button = NewNode(box);
    button->kind = ControlKind::Button;
    button->className = "button";
    const unsigned buttons = style & 0xF;
    const bool second = (style & kMbDefButton2) != 0;
    int defaultId = kIdOk;
    if (buttons == kMbYesNo || buttons == kMbYesNoCancel)
        defaultId = second ? kIdNo : kIdYes;
    else if (buttons == kMbOkCancel)
        defaultId = second ? kIdCancel : kIdOk;
    button->id = defaultId;
    button->style = kWsChild | kWsVisible | kWsTabStop;
    const std::uintptr_t boxHandle = box->handle;
    SetFocusTo(button);

    int answer = buttons == kMbOk ? kIdOk : (buttons == kMbOkCancel ? kIdCancel : kIdNo);
    struct Guard {
        HeadlessBackend& backend;
        std::uintptr_t box;
        Node* savedFocus;
        ~Guard() {
            if (backend.nodes_.count(box))
                backend.DestroyNode(backend.nodes_.at(box).get());
            if (savedFocus && backend.nodes_.count(savedFocus->handle))
                backend.SetFocusTo(savedFocus);
        }
    } guard{*this, boxHandle, savedFocus};
    auto handler = TakeMessageBoxHandler();
    if (!handler) {
        ReportFailure("unexpected message box \"" + call.text + "\"");
        return answer;
    }
    answer = (*handler)(call);
    return answer;
}

std::optional<std::string> HeadlessBackend::OpenFile(Handle owner, const OpenFileRequest& request) {
    openFileRequests_.push_back(request);
    auto handler = TakeOpenFileHandler();
    if (!handler) {
        ReportFailure("unexpected file-open dialog");
        return std::nullopt;
    }
    return (*handler)(request);
}

void HeadlessBackend::WinHelp(Handle owner, std::string_view helpFile, unsigned command,
                              unsigned long data) {
    RecordHelpCall(HelpCall{std::string(helpFile), command, data});
}

bool HeadlessBackend::HtmlHelp(Handle owner, const HtmlHelpCommand& command) {
    return RecordHtmlHelpCall(HtmlHelpCall{command, owner});
}

void HeadlessBackend::BeginWaitCursor() {
    ++waitCursorDepth_;
    ++waitCursorShows_;
}

void HeadlessBackend::EndWaitCursor() {
    if (waitCursorDepth_ > 0)
        --waitCursorDepth_;
}

} // namespace ui::headless
