#include "platform/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform {

namespace {

// Reads all `size` bytes of `fd` into a new heap buffer; null when the read falls short (the file
// shrank) or fails.
unsigned char* ReadWhole(int fd, std::size_t size) {
    auto* buffer = static_cast<unsigned char*>(std::malloc(size));
    std::size_t done = 0;
    while (buffer != nullptr && done < size) {
        const ssize_t got = ::read(fd, buffer + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    if (done != size) {
        std::free(buffer);
        return nullptr;
    }
    return buffer;
}

} // namespace

MappedFile::~MappedFile() {
    Close();
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(other.data_), size_(other.size_), copied_(other.copied_) {
    other.data_ = nullptr;
    other.size_ = 0;
    other.copied_ = false;
}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        Close();
        data_ = other.data_;
        size_ = other.size_;
        copied_ = other.copied_;
        other.data_ = nullptr;
        other.size_ = 0;
        other.copied_ = false;
    }
    return *this;
}

bool MappedFile::Open(const std::string& path) {
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) {
        ::close(fd);
        return false;
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    // Setting up and tearing down a mapping costs more than copying a file of a few megabytes
    // (three times the whole load of a typical PPD on a virtual machine), so such files are read.
    if (size <= kCopyLimit) {
        data_ = ReadWhole(fd, size);
        copied_ = data_ != nullptr;
    } else {
        void* view = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (view != MAP_FAILED)
            data_ = static_cast<const unsigned char*>(view);
    }
    // The bytes outlive the descriptor, as a view outlives the handles on Windows.
    ::close(fd);
    if (data_ == nullptr)
        return false;
    size_ = size;
    return true;
}

void MappedFile::Close() {
    if (data_ != nullptr && copied_)
        std::free(const_cast<unsigned char*>(data_));
    else if (data_ != nullptr)
        ::munmap(const_cast<unsigned char*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
    copied_ = false;
}

} // namespace platform
