#include "tools/layoutcheck/reg_file.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>

#include "platform/memory_registry.h"

namespace layoutcheck {
namespace {

constexpr std::string_view kLocalMachine = "HKEY_LOCAL_MACHINE\\";

// The logical lines of the file: physical lines joined where one ends with a backslash.
std::vector<std::string> LogicalLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        // Only hex lists are continued: a string value ends with its quote, a key with "]".
        const bool continued = !line.empty() && line.back() == '\\';
        if (continued)
            line.remove_suffix(1);
        // A continuation line is indented; its blanks are not part of the value.
        if (!current.empty())
            line.remove_prefix(std::min(line.find_first_not_of(' '), line.size()));
        current.append(line);
        if (!continued) {
            lines.push_back(std::move(current));
            current.clear();
        }
        start = end + 1;
    }
    return lines;
}

// A quoted string at `at` (the opening quote), with \\ and \" escapes; `at` moves past it.
std::optional<std::string> Quoted(std::string_view line, std::size_t& at) {
    if (at >= line.size() || line[at] != '"')
        return std::nullopt;
    std::string text;
    for (++at; at < line.size(); ++at) {
        const char c = line[at];
        if (c == '"') {
            ++at;
            return text;
        }
        if (c == '\\' && at + 1 < line.size())
            ++at;
        text.push_back(line[at]);
    }
    return std::nullopt;
}

std::optional<std::string> HexBytes(std::string_view list) {
    std::string bytes;
    std::size_t at = 0;
    while (at < list.size()) {
        const std::size_t comma = std::min(list.find(',', at), list.size());
        const std::string_view item = list.substr(at, comma - at);
        if (item.size() != 2 || !std::isxdigit(static_cast<unsigned char>(item[0])) ||
            !std::isxdigit(static_cast<unsigned char>(item[1])))
            return std::nullopt;
        bytes.push_back(static_cast<char>(std::stoi(std::string(item), nullptr, 16)));
        at = comma + 1;
    }
    return bytes;
}

// The value's type and bytes from the text after "=".
bool ParseData(std::string_view data, platform::RegistryType* type, std::string* bytes) {
    if (!data.empty() && data[0] == '"') {
        std::size_t at = 0;
        const std::optional<std::string> text = Quoted(data, at);
        if (!text || at != data.size())
            return false;
        *type = platform::RegistryType::String;
        *bytes = *text + '\0';
        return true;
    }
    constexpr std::string_view kDword = "dword:";
    if (data.substr(0, kDword.size()) == kDword) {
        const std::string_view digits = data.substr(kDword.size());
        if (digits.size() != 8 ||
            digits.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos)
            return false;
        const std::uint32_t value =
            static_cast<std::uint32_t>(std::stoul(std::string(digits), nullptr, 16));
        *type = platform::RegistryType::Dword;
        bytes->assign({static_cast<char>(value & 0xFF), static_cast<char>(value >> 8 & 0xFF),
                       static_cast<char>(value >> 16 & 0xFF), static_cast<char>(value >> 24)});
        return true;
    }
    std::uint32_t hexType = static_cast<std::uint32_t>(platform::RegistryType::Binary);
    std::string_view list;
    if (data.substr(0, 4) == "hex:") {
        list = data.substr(4);
    } else if (data.substr(0, 4) == "hex(" && data.find("):") != std::string_view::npos) {
        const std::size_t close = data.find("):");
        const std::string number(data.substr(4, close - 4));
        if (number.empty() ||
            number.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return false;
        hexType = static_cast<std::uint32_t>(std::stoul(number, nullptr, 16));
        list = data.substr(close + 2);
    } else {
        return false;
    }
    const std::optional<std::string> hex = HexBytes(list);
    if (!hex)
        return false;
    *type = static_cast<platform::RegistryType>(hexType);
    *bytes = *hex;
    return true;
}

} // namespace

void ReadRegFile(std::string_view text, platform::MemoryRegistry& registry,
                 std::vector<std::string>* problems) {
    std::optional<std::string> key; // the current key's path, none after a foreign root
    for (const std::string& line : LogicalLines(text)) {
        if (line.empty() || line[0] == ';' || line == "REGEDIT4" ||
            line.rfind("Windows Registry Editor", 0) == 0)
            continue;
        if (line[0] == '[') {
            key.reset();
            if (line.back() != ']' || line.compare(1, kLocalMachine.size(), kLocalMachine) != 0) {
                problems->push_back("key outside HKEY_LOCAL_MACHINE: " + line);
                continue;
            }
            key = line.substr(1 + kLocalMachine.size(), line.size() - 2 - kLocalMachine.size());
            continue;
        }
        if (!key)
            continue; // a value of a key left out
        std::size_t at = 0;
        std::string name;
        if (line[0] == '@') {
            at = 1;
        } else if (const std::optional<std::string> quoted = Quoted(line, at)) {
            name = *quoted;
        } else {
            problems->push_back("unreadable line: " + line);
            continue;
        }
        platform::RegistryType type{};
        std::string bytes;
        if (at >= line.size() || line[at] != '=' ||
            !ParseData(std::string_view(line).substr(at + 1), &type, &bytes)) {
            problems->push_back("unreadable value: " + line);
            continue;
        }
        registry.Put(*key, name, type, bytes);
    }
}

} // namespace layoutcheck
