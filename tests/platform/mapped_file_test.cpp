#include "platform/mapped_file.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

namespace platform {
namespace {

std::string WriteTempFile(const char* name, const std::string& content) {
    const std::string path = testing::TempDir() + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr);
    if (f != nullptr) {
        std::fwrite(content.data(), 1, content.size(), f);
        std::fclose(f);
    }
    return path;
}

TEST(MappedFile, MapsTheWholeFile) {
    const std::string path = WriteTempFile("mapped_file_test.ppd", "*PPD-Adobe: \"4.3\"\n");
    MappedFile file;
    ASSERT_TRUE(file.Open(path));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data()), file.size()),
              "*PPD-Adobe: \"4.3\"\n");
    MappedFile moved = std::move(file);
    EXPECT_FALSE(file.is_open());
    EXPECT_TRUE(moved.is_open());
    std::remove(path.c_str());
}

// Files on both sides of the size up to which a file may be copied rather than mapped give the
// same bytes, and keep them after a move.
TEST(MappedFile, SmallAndLargeFilesGiveTheirBytes) {
    for (const std::size_t size : {MappedFile::kCopyLimit, MappedFile::kCopyLimit + 4097}) {
        SCOPED_TRACE(size);
        std::string content(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            content[i] = static_cast<char>(i * 131 + i / 4096);
        const std::string path = WriteTempFile("mapped_file_large.ppd", content);
        MappedFile file;
        ASSERT_TRUE(file.Open(path));
        MappedFile moved;
        moved = std::move(file);
        ASSERT_EQ(moved.size(), size);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(moved.data()), size), content);
        std::remove(path.c_str());
    }
}

// Missing and empty files do not map.
TEST(MappedFile, MissingAndEmptyFilesFail) {
    MappedFile file;
    EXPECT_FALSE(file.Open(testing::TempDir() + "no_such_file.ppd"));
    const std::string empty = WriteTempFile("mapped_file_empty.ppd", "");
    EXPECT_FALSE(file.Open(empty));
    EXPECT_FALSE(file.is_open());
    EXPECT_EQ(file.size(), 0u);
    std::remove(empty.c_str());
}

} // namespace
} // namespace platform
