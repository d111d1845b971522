// Whether a file exists: the portable file system knows what a test tells it, the Win32 one
// asks the disk; both find a file whatever the case of its name and never count a directory.
#include "platform/file_system.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/codepage1250.h"
#include "platform/win32/win32_file_system.h"
#endif

namespace platform {
namespace {

TEST(KnownFiles, ExistsOnlyWhatItWasTold) {
    KnownFiles files{"C:\\Vela\\vela40ps.HLP", "D:\\tla\xE8\\VELA.EXE"};
    const struct {
        const char* path;
        bool exists;
    } cases[] = {
        {"C:\\Vela\\vela40ps.HLP", true},
        {"c:\\VELA\\VELA40PS.hlp", true},
        {"D:\\TLA\xE8\\vela.exe", true},
        {"C:\\Vela\\vela40ps.HL", false},
        {"C:\\Vela\\vela40ps.HLP\\", false},
        {"C:\\Vela", false},
        {"vela40ps.HLP", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(files.FileExists(c.path), c.exists) << c.path;
    EXPECT_FALSE(KnownFiles().FileExists("C:\\Vela\\vela40ps.HLP"));
    EXPECT_FALSE(KnownFiles{""}.FileExists(""));
}

#ifdef _WIN32
// A file with Slovak letters in its folder's name, a directory named like a help file.
TEST(Win32FileSystem, AsksTheDisk) {
    const std::string folder = std::filesystem::temp_directory_path().string() +
                               "\\vela pomocn\xEDk " + std::to_string(std::random_device()());
    const std::filesystem::path wideFolder(Cp1250ToUtf16(folder));
    std::filesystem::create_directories(wideFolder / "adres\xE1r.HLP");
    std::ofstream(wideFolder / "vela40ps.HLP") << "help";
    Win32FileSystem files;
    const struct {
        std::string path;
        bool exists;
    } cases[] = {
        {folder + "\\vela40ps.HLP", true},    {folder + "\\VELA40PS.hlp", true},
        {folder + "\\adres\xE1r.HLP", false}, {folder, false},
        {folder + "\\chyba.HLP", false},      {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(files.FileExists(c.path), c.exists) << c.path;
    std::error_code ignored;
    std::filesystem::remove_all(wideFolder, ignored);
}
#endif

} // namespace
} // namespace platform
