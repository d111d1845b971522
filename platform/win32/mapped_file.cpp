#include "platform/mapped_file.h"

#include <windows.h>

#include "platform/codepage1250.h"

namespace platform {

MappedFile::~MappedFile() {
    Close();
}

MappedFile::MappedFile(MappedFile&& other) noexcept : data_(other.data_), size_(other.size_) {
    other.data_ = nullptr;
    other.size_ = 0;
}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        Close();
        data_ = other.data_;
        size_ = other.size_;
        other.data_ = nullptr;
        other.size_ = 0;
    }
    return *this;
}

bool MappedFile::Open(const std::string& path) {
    Close();
    const std::u16string wide = Cp1250ToUtf16(path);
    HANDLE file =
        CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), GENERIC_READ, FILE_SHARE_READ,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const DWORD size = GetFileSize(file, nullptr);
    HANDLE mapping = nullptr;
    if (size != INVALID_FILE_SIZE && size > 0)
        mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    CloseHandle(file);
    if (mapping == nullptr)
        return false;
    // The view keeps the mapping alive after its handle is closed.
    void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    CloseHandle(mapping);
    if (view == nullptr)
        return false;
    data_ = static_cast<const unsigned char*>(view);
    size_ = size;
    return true;
}

void MappedFile::Close() {
    if (data_ != nullptr)
        UnmapViewOfFile(data_);
    data_ = nullptr;
    size_ = 0;
}

} // namespace platform
