#pragma once
// Questions about files on disk that the program asks before it hands a file to another
// component (the help file to the help viewer).
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Whether `path` (code page 1250) names an existing file; a directory is no file.
    virtual bool FileExists(std::string_view path) = 0;
};

// The portable file system: only the files it is told about exist. Paths compare without
// regard to the case of ASCII letters, as Windows compares file names.
class KnownFiles : public FileSystem {
public:
    KnownFiles() = default;
    KnownFiles(std::initializer_list<std::string> paths) : files(paths) {}
    bool FileExists(std::string_view path) override;

    std::vector<std::string> files;
};

} // namespace platform
