#include "tools/drvsim/script.h"

#include <cctype>
#include <charconv>
#include <utility>

namespace drvsim {
namespace {

struct NamedId {
    std::string_view name;
    int id;
};

// Every id of res/resource.h, generated at build time.
constexpr NamedId kResourceIds[] = {
#include "drvsim_resource_ids.inc"
};

struct CommandName {
    std::string_view name;
    Command command;
};
constexpr CommandName kCommands[] = {
    {"page", Command::Page},
    {"select", Command::Select},
    {"click", Command::Click},
    {"check", Command::Check},
    {"type", Command::Type},
    {"focus", Command::Focus},
    {"key", Command::Key},
    {"dismiss", Command::Dismiss},
    {"tab", Command::Tab},
    {"spin", Command::Spin},
    {"expect-text", Command::ExpectText},
    {"expect-enabled", Command::ExpectEnabled},
    {"expect-visible", Command::ExpectVisible},
    {"expect-selected", Command::ExpectSelected},
    {"expect-message", Command::ExpectMessage},
    {"answer", Command::Answer},
    {"dialog", Command::Dialog},
    {"open-file", Command::OpenFile},
    {"ok", Command::Ok},
    {"cancel", Command::Cancel},
    {"enter", Command::Enter},
    {"screenshot", Command::Screenshot},
    {"walk-pages", Command::WalkPages},
    {"expect-pages", Command::ExpectPages},
    {"help", Command::Help},
    {"expect-window", Command::ExpectWindow},
};

constexpr NamedId kAnswers[] = {{"IDOK", 1}, {"IDCANCEL", 2}, {"IDYES", 6}, {"IDNO", 7}};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// The next word of `rest`, which is left after the blank that ends it.
std::string_view NextWord(std::string_view& rest) {
    std::size_t start = 0;
    while (start < rest.size() && IsBlank(rest[start]))
        ++start;
    std::size_t end = start;
    while (end < rest.size() && !IsBlank(rest[end]))
        ++end;
    const std::string_view word = rest.substr(start, end - start);
    rest = end < rest.size() ? rest.substr(end + 1) : std::string_view();
    return word;
}

std::optional<int> ParseNumber(std::string_view word) {
    int value = 0;
    const char* last = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), last, value);
    if (word.empty() || ec != std::errc() || ptr != last)
        return std::nullopt;
    return value;
}

// One UTF-8 character: a letter typed on a list may be a Slovak one of two bytes.
bool IsOneCharacter(std::string_view text) {
    if (text.empty())
        return false;
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (text.size() != length || (lead >= 0x80 && lead < 0xC0))
        return false;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            return false;
    }
    return true;
}

std::optional<bool> ParseFlag(std::string_view word) {
    if (word == "0")
        return false;
    if (word == "1")
        return true;
    return std::nullopt;
}

// Fills the step from the arguments after the command word; an error message when they do not
// fit the command.
std::optional<std::string> ParseArguments(ScriptStep& step, std::string_view rest) {
    const auto needId = [&]() -> std::optional<std::string> {
        const std::string_view word = NextWord(rest);
        const std::optional<int> id = ResolveId(word);
        if (!id)
            return word.empty() ? "a control id is missing"
                                : "unknown control id \"" + std::string(word) + "\"";
        step.id = *id;
        return std::nullopt;
    };
    const auto needFlag = [&]() -> std::optional<std::string> {
        const std::optional<bool> flag = ParseFlag(NextWord(rest));
        if (!flag)
            return "expected 0 or 1";
        step.flag = *flag;
        return std::nullopt;
    };
    const auto noMore = [&]() -> std::optional<std::string> {
        if (!NextWord(rest).empty())
            return "unexpected words at the end";
        return std::nullopt;
    };

    switch (step.command) {
    case Command::Page: {
        if (rest.empty())
            return "a page index or title is missing";
        if (const std::optional<int> index = ParseNumber(rest); index && *index >= 0)
            step.index = *index;
        else
            step.text = Unescape(rest);
        return std::nullopt;
    }
    case Command::Select:
        if (auto error = needId())
            return error;
        if (rest.empty())
            return "an entry text or #INDEX is missing";
        if (rest[0] == '#') {
            const std::optional<int> index = ParseNumber(rest.substr(1));
            if (!index || *index < 0)
                return "bad entry index \"" + std::string(rest) + "\"";
            step.index = *index;
        } else {
            step.text = Unescape(rest);
        }
        return std::nullopt;
    case Command::Click:
    case Command::Focus:
    case Command::Help:
    case Command::Dialog:
        if (auto error = needId())
            return error;
        return noMore();
    case Command::Check:
    case Command::ExpectEnabled:
    case Command::ExpectVisible:
        if (auto error = needId())
            return error;
        if (auto error = needFlag())
            return error;
        return noMore();
    case Command::Key: {
        if (auto error = needId())
            return error;
        step.text = Unescape(rest);
        static constexpr std::string_view kKeys[] = {"down", "up",         "home",
                                                     "end",  "wheel-down", "wheel-up"};
        for (const std::string_view key : kKeys) {
            if (step.text == key)
                return std::nullopt;
        }
        if (IsOneCharacter(step.text) && step.text != " ")
            return std::nullopt;
        return "expected down, up, home, end, wheel-down, wheel-up or one character";
    }
    case Command::Dismiss:
    case Command::Spin: {
        if (auto error = needId())
            return error;
        const std::string_view word = NextWord(rest);
        const bool dismiss = step.command == Command::Dismiss;
        if (word == (dismiss ? "outside" : "up"))
            step.flag = true;
        else if (word != (dismiss ? "escape" : "down"))
            return dismiss ? "expected escape or outside" : "expected up or down";
        return noMore();
    }
    case Command::Tab: {
        const std::string_view word = NextWord(rest);
        if (word == "back")
            step.flag = true;
        else if (!word.empty())
            return "expected back or nothing";
        return noMore();
    }
    case Command::Type:
    case Command::ExpectText:
    case Command::ExpectSelected:
        if (auto error = needId())
            return error;
        step.text = Unescape(rest);
        return std::nullopt;
    case Command::ExpectMessage:
    case Command::OpenFile:
        step.text = Unescape(rest);
        return std::nullopt;
    case Command::ExpectPages:
        step.text = Unescape(rest);
        if (step.text.empty())
            return "the page titles are missing";
        return std::nullopt;
    case Command::ExpectWindow:
        step.text = Unescape(rest);
        if (step.text.find('|') == std::string::npos)
            return "expected CLASS|TITLE";
        return std::nullopt;
    case Command::Answer: {
        const std::string_view word = NextWord(rest);
        for (const NamedId& answer : kAnswers) {
            if (answer.name == word) {
                step.id = answer.id;
                return noMore();
            }
        }
        return "expected IDOK, IDCANCEL, IDYES or IDNO";
    }
    case Command::Ok:
    case Command::Cancel:
    case Command::Enter:
        return noMore();
    case Command::Screenshot:
    case Command::WalkPages:
        step.text = Unescape(rest);
        if (step.text.empty())
            return step.command == Command::WalkPages ? "a directory is missing"
                                                      : "a file name is missing";
        return std::nullopt;
    }
    return "unknown command";
}

} // namespace

std::optional<int> ResolveId(std::string_view word) {
    if (const std::optional<int> number = ParseNumber(word))
        return number;
    for (const NamedId& named : kResourceIds) {
        if (named.name == word)
            return named.id;
    }
    return std::nullopt;
}

std::string_view NameOfId(int id, std::string_view prefix) {
    for (const NamedId& named : kResourceIds) {
        if (named.id == id && named.name.substr(0, prefix.size()) == prefix)
            return named.name;
    }
    return {};
}

std::string PictureName(int index, std::string_view title) {
    // Slovak letters of UTF-8 titles lose their marks; anything else not alphanumeric is "-".
    static constexpr std::pair<std::string_view, char> kLetters[] = {
        {"\xC3\xA1", 'a'}, {"\xC3\xA4", 'a'}, {"\xC4\x8D", 'c'}, {"\xC4\x8F", 'd'},
        {"\xC3\xA9", 'e'}, {"\xC3\xAD", 'i'}, {"\xC4\xBA", 'l'}, {"\xC4\xBE", 'l'},
        {"\xC5\x88", 'n'}, {"\xC3\xB3", 'o'}, {"\xC3\xB4", 'o'}, {"\xC5\x95", 'r'},
        {"\xC5\xA1", 's'}, {"\xC5\xA5", 't'}, {"\xC3\xBA", 'u'}, {"\xC3\xBD", 'y'},
        {"\xC5\xBE", 'z'}, {"\xC4\x8C", 'c'}, {"\xC5\xA0", 's'}, {"\xC5\xBD", 'z'},
    };
    std::string name = index < 10 ? "0" + std::to_string(index) : std::to_string(index);
    name += '-';
    for (std::size_t i = 0; i < title.size();) {
        const unsigned char c = static_cast<unsigned char>(title[i]);
        if (c < 0x80) {
            name += std::isalnum(c) ? static_cast<char>(std::tolower(c)) : '-';
            ++i;
            continue;
        }
        char replacement = '-';
        for (const auto& [letter, plain] : kLetters) {
            if (title.substr(i, letter.size()) == letter)
                replacement = plain;
        }
        name += replacement;
        ++i;
        while (i < title.size() && (static_cast<unsigned char>(title[i]) & 0xC0) == 0x80)
            ++i;
    }
    return name + ".png";
}

std::string Unescape(std::string_view text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\' || i + 1 == text.size()) {
            result.push_back(c);
            continue;
        }
        switch (text[++i]) {
        case 's':
            result.push_back(' ');
            break;
        case 't':
            result.push_back('\t');
            break;
        case 'r':
            result.push_back('\r');
            break;
        case 'n':
            result.push_back('\n');
            break;
        case '#':
            result.push_back('#');
            break;
        case '\\':
            result.push_back('\\');
            break;
        default: // not an escape: kept as written
            result.push_back('\\');
            result.push_back(text[i]);
            break;
        }
    }
    return result;
}

std::optional<std::vector<ScriptStep>> ParseScript(std::string_view text, ScriptError* error) {
    std::vector<ScriptStep> steps;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        line = TrimRight(line);
        std::string_view rest = line;
        while (!rest.empty() && IsBlank(rest.front()))
            rest.remove_prefix(1);
        if (rest.empty() || rest.front() == '#')
            continue;
        ScriptStep step;
        step.line = number;
        step.source = std::string(line);
        const std::string_view word = NextWord(rest);
        bool known = false;
        for (const CommandName& command : kCommands) {
            if (command.name == word) {
                step.command = command.command;
                known = true;
            }
        }
        std::optional<std::string> problem;
        if (!known)
            problem = "unknown command \"" + std::string(word) + "\"";
        else
            problem = ParseArguments(step, rest);
        if (problem) {
            if (error)
                *error = ScriptError{number, *problem};
            return std::nullopt;
        }
        steps.push_back(std::move(step));
    }
    return steps;
}

} // namespace drvsim
