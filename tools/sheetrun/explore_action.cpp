#include "tools/sheetrun/explore_action.h"

#include <charconv>
#include <iomanip>
#include <sstream>

#include "platform/codepage1250.h"
#include "tools/drvsim/script.h"

namespace sheetrun {
namespace {

struct KindName {
    ActionKind kind;
    std::string_view name;
};

constexpr KindName kKindNames[] = {
    {ActionKind::Choose, "choose"},
    {ActionKind::ListKey, "list-key"},
    {ActionKind::ListLetter, "letter"},
    {ActionKind::DismissList, "dismiss"},
    {ActionKind::Type, "type"},
    {ActionKind::Click, "click"},
    {ActionKind::Focus, "focus"},
    {ActionKind::Tab, "tab"},
    {ActionKind::Spin, "spin"},
    {ActionKind::Page, "page"},
    {ActionKind::Ok, "ok"},
    {ActionKind::Cancel, "cancel"},
    {ActionKind::Enter, "enter"},
    {ActionKind::Answer, "answer"},
};

// drvsim's names of the list keys, in the order of ui::Automation::ListKey.
constexpr std::string_view kListKeys[] = {"down", "up", "home", "end", "wheel-down", "wheel-up"};

std::string_view NameOf(ActionKind kind) {
    for (const KindName& entry : kKindNames) {
        if (entry.kind == kind)
            return entry.name;
    }
    return "?";
}

std::string Hex(std::string_view bytes) {
    std::ostringstream out;
    for (const char c : bytes)
        out << std::hex << std::setw(2) << std::setfill('0')
            << static_cast<int>(static_cast<unsigned char>(c));
    return out.str();
}

std::optional<std::string> FromHex(std::string_view hex) {
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        unsigned value = 0;
        const auto [end, error] = std::from_chars(hex.data() + i, hex.data() + i + 2, value, 16);
        if (error != std::errc() || end != hex.data() + i + 2)
            return std::nullopt;
        bytes.push_back(static_cast<char>(value));
    }
    return bytes;
}

std::string Control(int id) {
    return IdName(id);
}

std::string_view AnswerName(int button) {
    switch (button) {
    case ui::kIdOk:
        return "IDOK";
    case ui::kIdCancel:
        return "IDCANCEL";
    case ui::kIdYes:
        return "IDYES";
    case ui::kIdNo:
        return "IDNO";
    default:
        return "IDOK";
    }
}

} // namespace

std::string EncodeAction(const Action& action) {
    // "kind context id index flag hex-text"; an empty text is written as "-".
    std::ostringstream out;
    out << NameOf(action.kind) << ' ' << action.context << ' ' << action.id << ' ' << action.index
        << ' ' << (action.flag ? 1 : 0) << ' '
        << (action.text.empty() ? std::string("-") : Hex(action.text));
    return out.str();
}

std::optional<Action> DecodeAction(std::string_view line) {
    std::istringstream in{std::string(line)};
    std::string kind;
    std::string text;
    Action action;
    int flag = 0;
    if (!(in >> kind >> action.context >> action.id >> action.index >> flag >> text))
        return std::nullopt;
    bool known = false;
    for (const KindName& entry : kKindNames) {
        if (entry.name == kind) {
            action.kind = entry.kind;
            known = true;
        }
    }
    if (!known)
        return std::nullopt;
    action.flag = flag != 0;
    if (text != "-") {
        const std::optional<std::string> bytes = FromHex(text);
        if (!bytes)
            return std::nullopt;
        action.text = *bytes;
    }
    return action;
}

std::string IdName(int id, bool dialog) {
    const std::string_view name = drvsim::NameOfId(
        id, dialog ? "IDD_" : (id == ui::kIdOk || id == ui::kIdCancel ? "ID" : "IDC_"));
    return name.empty() ? std::to_string(id) : std::string(name);
}

std::string ScriptText(std::string_view textCp1250) {
    const std::string utf8 = platform::Cp1250ToUtf8(textCp1250);
    std::string escaped;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        const bool atEnd = i == 0 || i + 1 == utf8.size();
        if (c == '\\')
            escaped += "\\\\";
        else if (c == '#' && i == 0)
            escaped += "\\#";
        else if ((c == ' ' && atEnd) || c == '\t')
            escaped += c == ' ' ? "\\s" : "\\t";
        else if (c == '\r')
            escaped += "\\r";
        else if (c == '\n')
            escaped += "\\n";
        else
            escaped += c;
    }
    return escaped;
}

std::string ScriptLine(const Action& action) {
    const std::string id = Control(action.id);
    switch (action.kind) {
    case ActionKind::Choose:
        return "select " + id + " #" + std::to_string(action.index);
    case ActionKind::ListKey:
        return "key " + id + " " +
               std::string(
                   kListKeys[static_cast<std::size_t>(action.index) % std::size(kListKeys)]);
    case ActionKind::ListLetter:
        return "key " + id + " " + ScriptText(action.text);
    case ActionKind::DismissList:
        return "dismiss " + id + (action.flag ? " outside" : " escape");
    case ActionKind::Type:
        return action.text.empty() ? "type " + id : "type " + id + " " + ScriptText(action.text);
    case ActionKind::Click:
        return "click " + id;
    case ActionKind::Focus:
        return "focus " + id;
    case ActionKind::Tab:
        return action.flag ? "tab back" : "tab";
    case ActionKind::Spin:
        return "spin " + id + (action.flag ? " up" : " down");
    case ActionKind::Page:
        return "page " + std::to_string(action.index);
    case ActionKind::Ok:
        return "ok";
    case ActionKind::Cancel:
        return "cancel";
    case ActionKind::Enter:
        return "enter";
    case ActionKind::Answer:
        return "answer " + std::string(AnswerName(action.id));
    }
    return "# ?";
}

std::string ScriptDialogLine(int dialogId) {
    return "dialog " + IdName(dialogId, true);
}

std::string ScriptMessageLine(std::string_view textCp1250) {
    return "expect-message " + ScriptText(textCp1250);
}

std::string ScriptFileDialogLine() {
    return "open-file";
}

std::string Describe(const Action& action) {
    std::string line = ScriptLine(action);
    if (action.context != 0)
        line += " (on " + IdName(action.context, true) + ")";
    return line;
}

} // namespace sheetrun
