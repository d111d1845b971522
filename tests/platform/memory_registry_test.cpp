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

// Each refused operation fails with kRegistryAccessDenied on the keys of the prefix, and only
// there; reading stays allowed, and a refused create creates nothing on its way.
TEST(MemoryRegistryRefusals, EachOperationOnItsKeys) {
    const std::string printers = "System\\CurrentControlSet\\Control\\Print\\Printers\\";
    const std::string refused = printers + "Vela\\Color Profiles";
    const std::string other = printers + "Vela 2\\Color Profiles";
    constexpr auto kOpenForWriting = static_cast<unsigned>(RegistryOperation::OpenForWriting);
    const struct {
        const char* what;
        RegistryOperation operation;
        // The result of the step that the operation is, on a refused and on another key.
        long (*step)(MemoryRegistry& registry, const std::string& path);
        unsigned needs; // every operation the step takes (setting opens for writing first)
    } cases[] = {
        {"create", RegistryOperation::Create,
         [](MemoryRegistry& registry, const std::string& path) {
             RegistryKey key = 0;
             const long result = registry.CreateKey(path + "\\New", kKeyRead, &key);
             registry.CloseKey(key);
             return result;
         },
         static_cast<unsigned>(RegistryOperation::Create)},
        {"open for writing", RegistryOperation::OpenForWriting,
         [](MemoryRegistry& registry, const std::string& path) {
             RegistryKey key = 0;
             const long result = registry.OpenKey(path, kKeySetValue, &key);
             registry.CloseKey(key);
             return result;
         },
         kOpenForWriting},
        {"create for writing", RegistryOperation::OpenForWriting,
         [](MemoryRegistry& registry, const std::string& path) {
             RegistryKey key = 0;
             const long result = registry.CreateKey(path, kKeyAllAccess, &key);
             registry.CloseKey(key);
             return result;
         },
         kOpenForWriting},
        {"set", RegistryOperation::Set,
         [](MemoryRegistry& registry, const std::string& path) {
             RegistryKey key = 0;
             registry.OpenKey(path, kKeyAllAccess, &key);
             const long result = registry.SetValue(key, "w", RegistryType::Binary, "2", 1);
             registry.CloseKey(key);
             return result;
         },
         kOpenForWriting | static_cast<unsigned>(RegistryOperation::Set)},
        {"delete", RegistryOperation::Delete,
         [](MemoryRegistry& registry, const std::string& path) {
             RegistryKey key = 0;
             registry.OpenKey(path, kKeyAllAccess, &key);
             const long result = registry.DeleteValue(key, "v");
             registry.CloseKey(key);
             return result;
         },
         kOpenForWriting | static_cast<unsigned>(RegistryOperation::Delete)},
        {"enumerate", RegistryOperation::Enumerate,
         [](MemoryRegistry& registry, const std::string& path) {
             RegistryKey key = 0;
             registry.OpenKey(path, kKeyRead, &key);
             char name[8];
             std::uint32_t nameSize = sizeof name;
             const long result =
                 registry.EnumValue(key, 0, name, &nameSize, nullptr, nullptr, nullptr);
             registry.CloseKey(key);
             return result;
         },
         static_cast<unsigned>(RegistryOperation::Enumerate)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryRegistry registry;
        for (const std::string& path : {refused, other, refused + "\\Sub"})
            ASSERT_EQ(registry.Put(path, "v", RegistryType::Binary, "1"), kRegistryOk);
        ASSERT_EQ(registry.Put(refused + "\\Sub", "x", RegistryType::Binary, "1"), kRegistryOk);
        // The prefix compares without regard to case, and any other operation stays allowed.
        registry.RefuseOperations(static_cast<unsigned>(c.operation),
                                  printers + "VELA\\color profiles\\");
        EXPECT_EQ(c.step(registry, refused), kRegistryAccessDenied);
        EXPECT_EQ(c.step(registry, other), kRegistryOk);
        for (const auto& allowed : cases) {
            if ((allowed.needs & static_cast<unsigned>(c.operation)) == 0) {
                EXPECT_EQ(allowed.step(registry, refused + "\\Sub"), kRegistryOk) << allowed.what;
            }
        }
        // Reading a refused key stays allowed.
        RegistryKey key = 0;
        ASSERT_EQ(registry.OpenKey(refused, kKeyRead, &key), kRegistryOk);
        char data[4];
        std::uint32_t size = sizeof data;
        EXPECT_EQ(registry.QueryValue(key, "v", nullptr, data, &size), kRegistryOk);
        EXPECT_EQ(registry.CloseKey(key), kRegistryOk);
        EXPECT_EQ(registry.Get(refused, "v")->data, "1");
        EXPECT_EQ(registry.OpenKeyCount(), 0u);

        registry.ClearRefusals();
        EXPECT_EQ(c.step(registry, refused), kRegistryOk);
    }
}

// Prefixes: a trailing backslash matches whole keys only, without one any key whose path
// begins so; the empty prefix matches every key; refusals add up. A refused create leaves no
// key on its way, opening an existing key for reading is no create, and seeding with Put is
// never refused. Bad handles fail as they would anyway.
TEST(MemoryRegistryRefusals, PrefixesAndWhatStaysAllowed) {
    const auto creates = [](MemoryRegistry& registry, const std::string& path) {
        RegistryKey key = 0;
        const long result = registry.CreateKey(path, kKeyRead, &key);
        registry.CloseKey(key);
        return result;
    };
    const struct {
        const char* prefix;
        const char* path;
        bool refused;
    } cases[] = {
        {"A\\Printer\\", "A\\Printer", true},
        {"A\\Printer\\", "a\\printer\\Sub", true},
        {"A\\Printer\\", "A\\Printer 2", false},
        {"A\\Printer", "A\\Printer 2", true},
        {"\\A\\\\Printer", "A\\Printer\\Sub", true},
        {"A\\Printer", "A", false},
        {"", "Anything\\At\\All", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.prefix) + " / " + c.path);
        MemoryRegistry registry;
        registry.RefuseOperations(static_cast<unsigned>(RegistryOperation::Create), c.prefix);
        EXPECT_EQ(creates(registry, c.path), c.refused ? kRegistryAccessDenied : kRegistryOk);
        EXPECT_EQ(registry.HasKey("A"), !c.refused && std::string(c.path).starts_with("A"));
    }

    MemoryRegistry registry;
    registry.RefuseOperations(static_cast<unsigned>(RegistryOperation::Create), "Vela");
    registry.RefuseOperations(static_cast<unsigned>(RegistryOperation::Set) |
                                  static_cast<unsigned>(RegistryOperation::Delete),
                              "Vela");
    ASSERT_EQ(registry.Put("Vela\\Key", "v", RegistryType::Binary, "1"), kRegistryOk);
    EXPECT_EQ(creates(registry, "Vela\\Key"), kRegistryOk) << "the key exists: no create";
    EXPECT_EQ(creates(registry, "Vela\\Other"), kRegistryAccessDenied);
    RegistryKey key = 0;
    ASSERT_EQ(registry.OpenKey("Vela\\Key", kKeyAllAccess, &key), kRegistryOk);
    EXPECT_EQ(registry.SetValue(key, "w", RegistryType::Binary, "2", 1), kRegistryAccessDenied);
    EXPECT_EQ(registry.DeleteValue(key, "v"), kRegistryAccessDenied);
    EXPECT_EQ(registry.SetValue(key, "w", RegistryType::Binary, nullptr, 1), kRegistryNoAccess);
    EXPECT_EQ(registry.CloseKey(key), kRegistryOk);
    EXPECT_EQ(registry.SetValue(key, "w", RegistryType::Binary, "2", 1), kRegistryInvalidHandle);
    EXPECT_EQ(registry.ValueNames("Vela\\Key"), std::vector<std::string>{"v"});
    registry.Clear();
    EXPECT_EQ(creates(registry, "Vela\\Key"), kRegistryAccessDenied) << "refusals outlive Clear";
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
