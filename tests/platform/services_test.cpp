#include "platform/services.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/font_enumerator.h"
#include "platform/memory_registry.h"
#include "platform/program_launcher.h"
#ifdef _WIN32
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_fonts.h"
#include "platform/win32/win32_launcher.h"
#include "platform/win32/win32_registry.h"
#endif

namespace platform {
namespace {

// The build's own services are in place until a test installs others, and come back after.
TEST(Services, DefaultsAndScopedReplacement) {
#ifdef _WIN32
    EXPECT_NE(dynamic_cast<Win32Registry*>(&registry()), nullptr);
    EXPECT_NE(dynamic_cast<Win32Launcher*>(&launcher()), nullptr);
#else
    EXPECT_NE(dynamic_cast<MemoryRegistry*>(&registry()), nullptr);
    EXPECT_NE(dynamic_cast<RecordingLauncher*>(&launcher()), nullptr);
#endif
    Registry* const defaultRegistry = &registry();
    ProgramLauncher* const defaultLauncher = &launcher();
    EXPECT_EQ(DefaultServices().registry, defaultRegistry);
    MemoryRegistry outerRegistry;
    RecordingLauncher outerLauncher;
    {
        ScopedServices outer({&outerRegistry, &outerLauncher});
        EXPECT_EQ(&registry(), &outerRegistry);
        MemoryRegistry innerRegistry;
        {
            ScopedServices inner({&innerRegistry, &outerLauncher});
            EXPECT_EQ(&registry(), &innerRegistry);
            launcher().Run("browse.exe http://example", kShow);
        }
        EXPECT_EQ(&registry(), &outerRegistry);
        EXPECT_EQ(outerLauncher.commands, std::vector<std::string>{"browse.exe http://example"});
        EXPECT_EQ(outerLauncher.shows, std::vector<int>{kShow});
    }
    EXPECT_EQ(&registry(), defaultRegistry);
    EXPECT_EQ(&launcher(), defaultLauncher);
}

// A service a test leaves out keeps the one in use; the fonts are the system's TrueType
// families (real ones under Windows, a fixed list natively).
TEST(Services, FontsKeptUnlessReplaced) {
    FontEnumerator* const defaultFonts = &fonts();
    MemoryRegistry memory;
    {
        ScopedServices scoped({&memory});
        EXPECT_EQ(&fonts(), defaultFonts);
        FixedFontEnumerator none(std::vector<std::string>{});
        ScopedServices inner({.fonts = &none});
        EXPECT_EQ(&registry(), &memory);
        EXPECT_TRUE(fonts().TrueTypeFamilies().empty());
    }
    EXPECT_EQ(&fonts(), defaultFonts);
    const std::vector<std::string> families = fonts().TrueTypeFamilies();
#ifdef _WIN32
    EXPECT_NE(dynamic_cast<Win32FontEnumerator*>(defaultFonts), nullptr);
    EXPECT_FALSE(families.empty());
    EXPECT_EQ(std::count(families.begin(), families.end(), ""), 0);
#else
    EXPECT_NE(std::find(families.begin(), families.end(), "Courier New"), families.end());
#endif
}

// The files are the disk's under Windows; natively none exist until a test installs its own.
TEST(Services, FilesKeptUnlessReplaced) {
    FileSystem* const defaultFiles = &files();
#ifdef _WIN32
    EXPECT_NE(dynamic_cast<Win32FileSystem*>(defaultFiles), nullptr);
#else
    EXPECT_FALSE(files().FileExists("C:\\vela\\vela40ps.HLP"));
#endif
    KnownFiles help{"C:\\vela\\vela40ps.HLP"};
    {
        ScopedServices inner({.files = &help});
        EXPECT_TRUE(files().FileExists("C:\\vela\\vela40ps.HLP"));
    }
    EXPECT_EQ(&files(), defaultFiles);
}

// Short path forms: the system's under Windows (a long file name gets an 8.3 one), none
// natively; a test's own table while it is installed.
TEST(Services, ShortPathForms) {
    FileSystem* const defaultFiles = &files();
    EXPECT_EQ(files().ShortForm(""), std::nullopt);
#ifdef _WIN32
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "vela header file with a long name.ps";
    std::ofstream(file) << "%!PS\n";
    const std::string longPath = file.string();
    const std::optional<std::string> shortPath = files().ShortForm(longPath);
    std::filesystem::remove(file);
    ASSERT_TRUE(shortPath.has_value());
    EXPECT_LT(shortPath->size(), longPath.size());
    EXPECT_EQ(shortPath->find(' '), std::string::npos);
    EXPECT_EQ(files().ShortForm(longPath), std::nullopt); // the file is gone
#else
    EXPECT_EQ(files().ShortForm("/tmp/vela header file with a long name.ps"), std::nullopt);
#endif
    KnownFiles fixed;
    fixed.shortForms["C:\\Vela\\job header.ps"] = "C:\\VELA\\JOBHEA~1.PS";
    {
        ScopedServices scoped({.files = &fixed});
        EXPECT_EQ(files().ShortForm("C:\\Vela\\job header.ps"), "C:\\VELA\\JOBHEA~1.PS");
        EXPECT_EQ(files().ShortForm("C:\\Vela\\other.ps"), std::nullopt);
    }
    EXPECT_EQ(&files(), defaultFiles);
}

} // namespace
} // namespace platform
