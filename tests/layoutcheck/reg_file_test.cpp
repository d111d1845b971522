// Registry files read into the in-memory registry: every kind of value regedit writes, hex lists
// over several lines, the default value, and lines that cannot be read; and the demo printer's
// file as a whole.
#include "tools/layoutcheck/reg_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/memory_registry.h"

namespace layoutcheck {
namespace {

constexpr char kKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers\\P";

std::string Value(const platform::MemoryRegistry& registry, const char* key, const char* name) {
    const auto value = registry.Get(key, name);
    return value ? std::string(value->data.begin(), value->data.end()) : "<none>";
}

TEST(RegFile, ReadsEveryKindOfValue) {
    const std::string file = "REGEDIT4\r\n"
                             "\r\n"
                             "; a comment\r\n"
                             "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\"
                             "Printers\\P]\r\n"
                             "\"Port\"=\"VELA_127.0.0.1\"\r\n"
                             "\"Quoted\"=\"\\\"C:\\\\a b\\\\x.exe\\\" -n\"\r\n"
                             "\"Bytes\"=hex:41,42,\\\r\n"
                             "  43,00\r\n"
                             "\"Number\"=dword:0000012c\r\n"
                             "\"Multi\"=hex(7):61,00,00\r\n"
                             "@=\"default\"\r\n";
    platform::MemoryRegistry registry;
    std::vector<std::string> problems;
    ReadRegFile(file, registry, &problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(Value(registry, kKey, "Port"), std::string("VELA_127.0.0.1") + '\0');
    EXPECT_EQ(Value(registry, kKey, "Quoted"), std::string("\"C:\\a b\\x.exe\" -n") + '\0');
    EXPECT_EQ(Value(registry, kKey, "Bytes"), std::string("ABC") + '\0');
    EXPECT_EQ(Value(registry, kKey, "Number"), std::string("\x2c\x01\0\0", 4));
    EXPECT_EQ(registry.Get(kKey, "Multi")->type, platform::RegistryType::MultiString);
    EXPECT_EQ(Value(registry, kKey, ""), std::string("default") + '\0');
}

TEST(RegFile, LeavesOutWhatItCannotRead) {
    const std::string file = "REGEDIT4\n"
                             "[HKEY_CURRENT_USER\\Software\\X]\n"
                             "\"Lost\"=\"a value of a key left out\"\n"
                             "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\"
                             "Printers\\P]\n"
                             "\"Short\"=dword:12\n"
                             "\"Odd\"=hex:4\n"
                             "\"Open\"=\"no end\n"
                             "Name=\"no quotes\"\n"
                             "\"Kept\"=\"yes\"\n";
    platform::MemoryRegistry registry;
    std::vector<std::string> problems;
    ReadRegFile(file, registry, &problems);
    EXPECT_EQ(problems.size(), 5u);
    EXPECT_FALSE(registry.HasKey("Software\\X"));
    EXPECT_EQ(registry.ValueNames(kKey), std::vector<std::string>{"Kept"});
}

// The demo printer's registry, as scripts/demo imports it with regedit.
TEST(RegFile, TheDemoPrintersFile) {
    std::ifstream in(std::string(VELA_SOURCE_DIR) + "/samples/vela-demo.reg", std::ios::binary);
    const std::string file{std::istreambuf_iterator<char>(in), {}};
    ASSERT_FALSE(file.empty());
    platform::MemoryRegistry registry;
    std::vector<std::string> problems;
    ReadRegFile(file, registry, &problems);
    EXPECT_TRUE(problems.empty()) << problems.front();
    const std::string printer =
        "System\\CurrentControlSet\\Control\\Print\\Printers\\Vela ColorLaser 40 PS";
    EXPECT_EQ(Value(registry, printer.c_str(), "Port"), std::string("VELA_127.0.0.1") + '\0');
    const auto watermark = registry.Get(printer + "\\Watermark Profiles", "Interne");
    ASSERT_TRUE(watermark.has_value());
    EXPECT_EQ(watermark->data.size(), 148u); // block bytes 840 to 987
    EXPECT_EQ(Value(registry, "Network\\Logon", "username"), std::string("demo") + '\0');
}

} // namespace
} // namespace layoutcheck
