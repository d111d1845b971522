#include "tests/res/program_identity.h"

#include <gtest/gtest.h>

#include <string>

#include "res/version.h"
#include "tests/res/pe_resources.h"

namespace restest {
namespace {

constexpr std::uint16_t kSlovak = 0x041B;
constexpr std::uint16_t kCodePage1250 = 1250;

std::u16string Wide(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

// The text between `start` and the next `end` after it, or "" when either is missing.
std::string Between(const std::string& text, std::string_view start, std::string_view end) {
    const std::size_t from = text.find(start);
    if (from == std::string::npos)
        return {};
    const std::size_t to = text.find(end, from + start.size());
    return to == std::string::npos ? std::string()
                                   : text.substr(from + start.size(), to - from - start.size());
}

void ExpectVersionResource(const std::vector<ResRecord>& records) {
    const ResRecord* record = FindRecord(records, kRtVersion, 1);
    ASSERT_NE(record, nullptr) << "no version resource";
    EXPECT_EQ(record->language, kSlovak);
    const std::optional<VersionInfo> info = ParseVersionInfo(record->data);
    ASSERT_TRUE(info.has_value());
    const std::uint16_t expected[4] = {VELA_VERSION_MAJOR, VELA_VERSION_MINOR, VELA_VERSION_PATCH,
                                       VELA_VERSION_BUILD};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(info->fileVersion[i], expected[i]) << "part " << i;
        EXPECT_EQ(info->productVersion[i], expected[i]) << "part " << i;
    }
    EXPECT_EQ(info->fileOs, 0x40004u); // VOS_NT_WINDOWS32
    EXPECT_EQ(info->fileType, 1u);     // VFT_APP
    ASSERT_EQ(info->strings.size(), 1u);
    const auto table = info->strings.find(u"041b04e2");
    ASSERT_NE(table, info->strings.end()) << "the strings are not Slovak in code page 1250";
    const auto& strings = table->second;
    const auto value = [&](const char16_t* name) {
        const auto found = strings.find(name);
        return found == strings.end() ? std::u16string() : found->second;
    };
    EXPECT_EQ(value(u"FileVersion"), Wide(VELA_VERSION_FULL));
    EXPECT_EQ(value(u"ProductVersion"), Wide(VELA_VERSION_FULL));
    EXPECT_EQ(value(u"OriginalFilename"), u"vela40ps.exe");
    EXPECT_EQ(value(u"InternalName"), u"vela40ps");
    EXPECT_EQ(value(u"ProductName"), u"PostScriptov\u00FD ovl\u00E1da\u010D tla\u010Diarne Vela");
    EXPECT_EQ(value(u"FileDescription"),
              u"Vlastnosti tla\u010Diarne Vela pre PostScriptov\u00FD ovl\u00E1da\u010D");
    EXPECT_EQ(value(u"CompanyName"), u"Vela tla\u010Diarne, a. s.");
    EXPECT_NE(value(u"LegalCopyright").find(u"Vela tla\u010Diarne"), std::u16string::npos);
    ASSERT_EQ(info->translations.size(), 1u);
    EXPECT_EQ(info->translations[0].first, kSlovak);
    EXPECT_EQ(info->translations[0].second, kCodePage1250);
}

void ExpectManifest(const std::vector<ResRecord>& records, std::string_view architecture) {
    const ResRecord* record = FindRecord(records, kRtManifest, 1);
    ASSERT_NE(record, nullptr) << "no manifest";
    const std::string text(record->data.begin(), record->data.end());
    const std::string identity = Between(text, "<assemblyIdentity", "/>");
    EXPECT_NE(identity.find("name=\"Vela.vela40ps\""), std::string::npos) << identity;
    EXPECT_NE(identity.find("version=\"" VELA_VERSION_FULL "\""), std::string::npos) << identity;
    EXPECT_NE(identity.find("processorArchitecture=\"" + std::string(architecture) + "\""),
              std::string::npos)
        << identity;
    // Common controls 6 of the same architecture.
    const std::string controls = Between(text, "<dependentAssembly>", "</dependentAssembly>");
    EXPECT_NE(controls.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(controls.find("processorArchitecture=\"" + std::string(architecture) + "\""),
              std::string::npos);
    // Windows 7, 8, 8.1 and 10/11.
    const std::string compatibility = Between(text, "<compatibility", "</compatibility>");
    for (const char* id :
         {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
          "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
        EXPECT_NE(compatibility.find("<supportedOS Id=\"" + std::string(id) + "\"/>"),
                  std::string::npos)
            << id;
    }
    // Per-monitor aware (v2), aware of the system's scale where v2 is unknown.
    const std::string settings = Between(text, "<windowsSettings>", "</windowsSettings>");
    EXPECT_EQ(Between(settings, "WindowsSettings\">", "</dpiAware>"), "true") << settings;
    EXPECT_EQ(Between(settings, "2016/WindowsSettings\">", "</dpiAwareness>"),
              "PerMonitorV2, System")
        << settings;
}

} // namespace

void ExpectProgramIdentity(const std::vector<ResRecord>& records, std::string_view architecture) {
    ExpectVersionResource(records);
    ExpectManifest(records, architecture);
}

} // namespace restest
