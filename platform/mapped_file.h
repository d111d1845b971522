#pragma once
// A whole file's bytes, read-only in memory: mapped (CreateFileMapping/MapViewOfFile on Windows,
// mmap elsewhere), except that elsewhere a file of up to kCopyLimit bytes is read into a buffer
// of its own, which is cheaper there. An empty file, like a missing one, does not open.
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

    // Maps (or reads) the file at `path` (code page 1250 bytes); false when it cannot be opened,
    // sized, mapped or read, or is empty.
    bool Open(const std::string& path);
    void Close();

    const unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool is_open() const { return data_ != nullptr; }

    static constexpr std::size_t kCopyLimit = std::size_t{16} << 20;

private:
    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
    bool copied_ = false; // read into a heap buffer rather than mapped
};

} // namespace platform
