#include "ui/help.h"

#include "platform/file_system.h"
#include "ui/types.h"

namespace ui {
namespace {

// `path` with `extension` in place of the extension of its file name (appended when none).
std::string WithExtension(std::string_view path, std::string_view extension) {
    const size_t slash = path.find_last_of("\\/");
    const size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    std::string result(path);
    if (dot != std::string_view::npos && dot >= nameStart)
        result.resize(dot);
    return result + std::string(extension);
}

std::string TopicUrl(const std::string& chm, unsigned long dialogId) {
    return chm + "::/" + std::to_string(dialogId) + ".htm";
}

HtmlHelpCommand HtmlCommand(HtmlHelpCommand::Kind kind, std::string file, unsigned long id) {
    HtmlHelpCommand command;
    command.kind = kind;
    command.file = std::move(file);
    command.contextId = id;
    return command;
}

HelpAction HtmlRoad(const HelpRequest& request, const std::string& chm) {
    using Kind = HtmlHelpCommand::Kind;
    HelpAction action;
    action.kind = HelpAction::Kind::HtmlHelp;
    const HtmlHelpCommand contents = HtmlCommand(Kind::Contents, chm, 0);
    switch (request.kind) {
    case HelpRequest::Kind::Contents:
        action.html = contents;
        break;
    case HelpRequest::Kind::Topic:
        action.html =
            request.contextId > 2
                ? HtmlCommand(Kind::Topic, TopicUrl(chm, request.contextId), request.contextId)
                : contents;
        break;
    case HelpRequest::Kind::Unlisted:
        action.html = request.dialogContext > 2
                          ? HtmlCommand(Kind::Topic, TopicUrl(chm, request.dialogContext),
                                        request.dialogContext)
                          : contents;
        break;
    case HelpRequest::Kind::Control:
        action.html =
            HtmlCommand(Kind::Popup, chm + "::/" + std::string(kHelpPopupFile), request.contextId);
        action.html.at = request.at;
        action.htmlFallback = request.dialogContext > 2
                                  ? HtmlCommand(Kind::Topic,
                                                TopicUrl(chm, request.dialogContext) + "#c" +
                                                    std::to_string(request.contextId),
                                                request.contextId)
                                  : contents;
        break;
    }
    return action;
}

HelpAction WinHelpRoad(const HelpRequest& request, const std::string& hlp) {
    HelpAction action;
    action.kind = HelpAction::Kind::WinHelp;
    action.winHelpFile = hlp;
    const unsigned long topic = request.kind == HelpRequest::Kind::Contents ? 0 : request.contextId;
    action.winHelpCommand = topic > 2 ? kHelpContext : kHelpContents;
    action.winHelpData = topic > 2 ? topic : 0;
    return action;
}

} // namespace

std::string HtmlHelpFilePath(std::string_view programPath) {
    return WithExtension(programPath, ".chm");
}

std::string WinHelpFilePath(std::string_view programPath) {
    return WithExtension(programPath, ".HLP");
}

HelpAction PlanHelp(const HelpRequest& request, std::string_view programPath,
                    platform::FileSystem& files) {
    const std::string hlp = WinHelpFilePath(programPath);
    if (files.FileExists(hlp))
        return WinHelpRoad(request, hlp);
    const std::string chm = HtmlHelpFilePath(programPath);
    if (files.FileExists(chm))
        return HtmlRoad(request, chm);
    HelpAction action;
    action.kind = HelpAction::Kind::Missing;
    action.missingFile = chm;
    return action;
}

} // namespace ui
