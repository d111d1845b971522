// Starting the download manager: which registration is used, the argument only for the first
// utility, quoting of paths with blanks, and the message when nothing can be started.
#include "pages/shared/download_manager.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/memory_registry.h"
#include "platform/program_launcher.h"
#include "platform/services.h"
#include "ui/headless/test_host.h"

namespace pages {
namespace {

using platform::RegistryType;

// The default value of an App Paths key as regedit stores it (with its NUL).
std::string Text(std::string_view path) {
    return std::string(path) + '\0';
}

TEST(DownloadManager, CommandLines) {
    const struct {
        const char* name;
        std::optional<std::string> current; // OZProfDl.exe
        std::optional<std::string> older;   // ZELProDw.exe
        std::optional<std::string> line;
    } cases[] = {
        {"current with argument", Text("C:\\VELA\\OZPROFDL.EXE"), Text("C:\\Z.EXE"),
         "C:\\VELA\\OZPROFDL.EXE 1"},
        {"older without argument", std::nullopt, Text("C:\\ZEL\\ZELPRODW.EXE"),
         "C:\\ZEL\\ZELPRODW.EXE"},
        {"blank quoted", Text("C:\\Program Files\\Vela\\OZProfDl.exe"), std::nullopt,
         "\"C:\\Program Files\\Vela\\OZProfDl.exe\" 1"},
        {"quoted kept", Text("\"C:\\Program Files\\OZProfDl.exe\""), std::nullopt,
         "\"C:\\Program Files\\OZProfDl.exe\" 1"},
        {"empty current falls back", Text(""), Text("C:\\ZELPRODW.EXE"), "C:\\ZELPRODW.EXE"},
        {"too long falls back", Text(std::string(300, 'x')), Text("C:\\Z.EXE"), "C:\\Z.EXE"},
        {"nothing registered", std::nullopt, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::MemoryRegistry registry;
        if (c.current)
            registry.Put(kDownloadManagerKey, "", RegistryType::String, *c.current);
        if (c.older)
            registry.Put(kOlderDownloadManagerKey, "", RegistryType::String, *c.older);
        EXPECT_EQ(DownloadManagerCommandLine(registry, kLoadOverlays), c.line);
        // The registrations are read with read rights only: a standard user starts it too.
        registry.RefuseOperations(
            static_cast<unsigned>(platform::RegistryOperation::Create) |
            static_cast<unsigned>(platform::RegistryOperation::OpenForWriting));
        EXPECT_EQ(DownloadManagerCommandLine(registry, kLoadOverlays), c.line);
        EXPECT_EQ(registry.OpenKeyCount(), 0u);
    }
}

// A start that fails reports like a missing utility; a good one shows nothing.
TEST(DownloadManager, LaunchAndItsMessage) {
    ui::headless::TestHost host;
    for (const std::uint32_t result : {33u, 2u}) {
        platform::MemoryRegistry registry;
        platform::RecordingLauncher launcher;
        launcher.result = result;
        platform::ScopedServices services({&registry, &launcher});
        registry.Put(kDownloadManagerKey, "", RegistryType::String, Text("C:\\OZPROFDL.EXE"));
        const size_t shown = host.MessageBoxes().size();
        if (result == 2)
            host.AnswerMessageBox(ui::kIdOk);
        EXPECT_EQ(LaunchDownloadManager(kLoadFonts), result == 33);
        EXPECT_EQ(launcher.commands, std::vector<std::string>{"C:\\OZPROFDL.EXE 2"});
        EXPECT_EQ(launcher.shows, std::vector<int>{platform::kShowNormal});
        ASSERT_EQ(host.MessageBoxes().size(), shown + (result == 2 ? 1 : 0));
    }
    platform::MemoryRegistry empty;
    platform::RecordingLauncher launcher;
    platform::ScopedServices services({&empty, &launcher});
    host.AnswerMessageBox(ui::kIdOk);
    EXPECT_FALSE(LaunchDownloadManager(kLoadColorProfiles));
    EXPECT_TRUE(launcher.commands.empty());
    ASSERT_FALSE(host.MessageBoxes().empty());
    const ui::MessageBoxCall& box = host.MessageBoxes().back();
    EXPECT_EQ(box.text, kDownloadManagerMissingText);
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.style, ui::kMbOk | ui::kMbTaskModal);
}

} // namespace
} // namespace pages
