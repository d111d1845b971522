#pragma once
// A whole file mapped read-only into memory (CreateFileMapping/MapViewOfFile on Windows, mmap
// elsewhere). An empty file, like a missing one, does not map.
#include <cstddef>
#include <string>

namespace platform {

class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;

    // Maps the file at `path` (code page 1250 bytes); false when it cannot be opened, sized or
    // mapped, or is empty.
    bool Open(const std::string& path);
    void Close();

    const unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool is_open() const { return data_ != nullptr; }

private:
    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace platform
