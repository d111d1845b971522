#pragma once
// The short (8.3) form of a file's path, as GetShortPathName gives it: the PostScript options
// dialog stores a browsed header file's path in a 63-character field, and a long path may
// still fit in its short form.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class ShortPathNames {
public:
    virtual ~ShortPathNames() = default;
    // The short form of an existing file's path (code page 1250), or nothing when the system
    // gives none (no such file, short names switched off, a path it cannot convert).
    virtual std::optional<std::string> ShortForm(std::string_view path) = 0;
};

// The portable one: a fixed table of paths and their short forms, empty unless a test fills
// it, so that natively no path has a short form.
class FixedShortPathNames : public ShortPathNames {
public:
    std::optional<std::string> ShortForm(std::string_view path) override {
        const auto found = forms.find(path);
        if (found == forms.end())
            return std::nullopt;
        return found->second;
    }

    std::map<std::string, std::string, std::less<>> forms;
};

} // namespace platform
