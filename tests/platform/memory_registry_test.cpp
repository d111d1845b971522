#include "platform/memory_registry.h"

#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "platform/registry_support.h"

namespace platform {
namespace {

using namespace std::string_view_literals;

const char kDriverData[] = "System\\CurrentControlSet\\Control\\Print\\Printers\\Vela\\"
                           "PrinterDriverData";

// The seeding and inspection helpers that page tests use see what the Win32 surface stored.
TEST(MemoryRegistry, SeedAndInspect) {
    MemoryRegistry registry;
    EXPECT_FALSE(registry.HasKey(kDriverData));
    ASSERT_EQ(
        registry.Put(kDriverData, "DfltFontSub", RegistryType::Binary, "Arial\0Helvetica\0\0"sv),
        kRegistryOk);
    EXPECT_TRUE(registry.HasKey("SYSTEM\\currentcontrolset\\Control\\Print\\Printers\\VELA"));
    RegistryKey key = 0;
    ASSERT_EQ(registry.OpenKey(kDriverData, kKeyAllAccess, &key), kRegistryOk);
    EXPECT_EQ(registry.SetValue(key, "FontSub", RegistryType::Binary, "\0", 1), kRegistryOk);
    EXPECT_EQ(registry.OpenKeyCount(), 1u);
    EXPECT_EQ(registry.CloseKey(key), kRegistryOk);
    EXPECT_EQ(registry.OpenKeyCount(), 0u);

    EXPECT_EQ(registry.ValueNames(kDriverData),
              (std::vector<std::string>{"DfltFontSub", "FontSub"}));
    EXPECT_EQ(registry.Get(kDriverData, "fontsub"),
              (RegistryValue{RegistryType::Binary, std::string(1, '\0')}));
    EXPECT_FALSE(registry.Get(kDriverData, "RESFONT").has_value());
    EXPECT_FALSE(registry.Get("Missing\\Key", "FontSub").has_value());
    EXPECT_TRUE(registry.ValueNames("Missing\\Key").empty());
    EXPECT_EQ(registry.Put("\\Leading", "v", RegistryType::Binary, "1"), kRegistryBadPathname);
}

// Clear empties the tree and invalidates open keys; handles are never reused, so a stale one
// cannot reach a key opened later.
TEST(MemoryRegistry, ClearAndStaleHandles) {
    MemoryRegistry registry;
    ASSERT_EQ(registry.Put(kDriverData, "CustomSizes", RegistryType::Binary, "x"), kRegistryOk);
    RegistryKey first = 0;
    ASSERT_EQ(registry.OpenKey(kDriverData, kKeyAllAccess, &first), kRegistryOk);
    registry.Clear();
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
    EXPECT_FALSE(registry.HasKey(kDriverData));
    EXPECT_EQ(registry.SetValue(first, "v", RegistryType::Binary, "1", 1), kRegistryInvalidHandle);
    RegistryKey second = 0;
    ASSERT_EQ(registry.CreateKey(kDriverData, kKeyAllAccess, &second), kRegistryOk);
    EXPECT_NE(second, first);
    EXPECT_EQ(registry.CloseKey(first), kRegistryInvalidHandle);
    EXPECT_EQ(registry.CloseKey(second), kRegistryOk);
}

// A failed open or create leaves the tree as it was.
TEST(MemoryRegistry, RefusedPathsCreateNothing) {
    MemoryRegistry registry;
    RegistryKey key = 0;
    EXPECT_EQ(registry.OpenKey("A\\B", kKeyRead, &key), kRegistryNotFound);
    EXPECT_FALSE(registry.HasKey("A"));
    EXPECT_EQ(registry.CreateKey("A\\" + std::string(256, 'x') + "\\C", kKeyAllAccess, &key),
              kRegistryInvalidParameter);
    EXPECT_FALSE(registry.HasKey("A"));
}

// Case folding pairs every Slovak (and other code page 1250) capital with its small letter and
// nothing else.
TEST(RegistryNames, Cp1250CaseFolding) {
    struct Case {
        std::string_view a;
        std::string_view b;
        bool equal;
    };
    const Case cases[] = {
        {"\x8E\x8A\x8D\xBC\xC8\xD2\xC1\xC4\xD4\xC5\xC0\xCF", // ŽŠŤĽČŇÁÄÔĹŔĎ
         "\x9E\x9A\x9D\xBE\xE8\xF2\xE1\xE4\xF4\xE5\xE0\xEF", true},
        {"\xA3\xA5\xAA\xAF\x8C\x8F\xD5\xDB", "\xB3\xB9\xBA\xBF\x9C\x9F\xF5\xFB", true}, // ŁĄŞŻŚŹŐŰ
        {"PrinterDriverData", "printerdriverdata", true},
        {"\xDF", "SS", false},   // ß has no capital here
        {"\xD7", "\xF7", false}, // × and ÷ are not letters
        {"\xB5", "\xB5", true},  // µ equals itself
        {"\x8E", "Z", false},    // no accent folding
        {"ab", "abc", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a);
        EXPECT_EQ(registry_support::NamesEqual(c.a, c.b), c.equal);
    }
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        EXPECT_EQ(registry_support::FoldCase(registry_support::FoldCase(byte)),
                  registry_support::FoldCase(byte))
            << b;
    }
}

} // namespace
} // namespace platform
