#pragma once
// Questions about files on disk that the program asks before it hands a path to another
// component: whether the help file exists before the help viewer is asked, and the short (8.3)
// form of a browsed header file's path, which may fit a 63-character field where the long one
// does not.
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Whether `path` (code page 1250) names an existing file; a directory is no file.
    virtual bool FileExists(std::string_view path) = 0;
    // The short form of an existing file's path (code page 1250), as GetShortPathName gives
    // it, or nothing when the system gives none (no such file, short names switched off, a
    // path it cannot convert).
    virtual std::optional<std::string> ShortForm(std::string_view path) = 0;
};

// The portable file system: only the files it is told about exist, and only the short forms
// it is given are known. Paths compare without regard to the case of ASCII letters, as
// Windows compares file names.
class KnownFiles : public FileSystem {
public:
    KnownFiles() = default;
    KnownFiles(std::initializer_list<std::string> paths) : files(paths) {}
    bool FileExists(std::string_view path) override;
    std::optional<std::string> ShortForm(std::string_view path) override;

    std::vector<std::string> files;
    std::map<std::string, std::string, std::less<>> shortForms;
};

} // namespace platform
