#include "platform/file_system.h"

#include <algorithm>

namespace platform {
namespace {

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameFileName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

} // namespace

std::optional<std::string> KnownFiles::ShortForm(std::string_view path) {
    const auto found = shortForms.find(path);
    if (found == shortForms.end())
        return std::nullopt;
    return found->second;
}

bool KnownFiles::FileExists(std::string_view path) {
    return !path.empty() && std::any_of(files.begin(), files.end(), [&](const std::string& file) {
        return SameFileName(file, path);
    });
}

} // namespace platform
