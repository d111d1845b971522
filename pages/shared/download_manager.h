#pragma once
// The maker's download manager utility, which loads colour profiles, overlays and fonts into
// the printer. The program only starts it: the utility registered under App Paths as
// "OZProfDl.exe" with an argument naming what to load, else the older "ZELProDw.exe" without
// one.
#include <optional>
#include <string>
#include <string_view>

namespace platform {
class Registry;
} // namespace platform

namespace pages {

inline constexpr char kDownloadManagerKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OZProfDl.exe";
inline constexpr char kOlderDownloadManagerKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ZELProDw.exe";

// The arguments, each with its leading blank.
inline constexpr char kLoadColorProfiles[] = " 0";
inline constexpr char kLoadOverlays[] = " 1";
inline constexpr char kLoadFonts[] = " 2";

// Shown when no utility can be started (caption "Error", task-modal, no owner).
inline constexpr char kDownloadManagerMissingText[] =
    "Ned\xE1 sa spusti\x9D Spr\xE1vca na\xE8\xEDtania.\n"
    "Nain\x9Atalujte alebo prein\x9Atalujte obslu\x9En\xFD program.";

// The command line that starts the utility with `argument`, or nothing when neither utility is
// registered. A registered path that holds a blank and is not quoted yet is quoted, so that
// the system does not cut it at the blank.
std::optional<std::string> DownloadManagerCommandLine(platform::Registry& registry,
                                                      std::string_view argument);

// Starts the utility with `argument` (kLoadColorProfiles, ...) and does not wait for it. When
// none is registered, or the start fails, shows kDownloadManagerMissingText and returns false.
bool LaunchDownloadManager(std::string_view argument);

} // namespace pages
