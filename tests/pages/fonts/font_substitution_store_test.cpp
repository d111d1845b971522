#include "pages/fonts/font_substitution_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory_registry.h"

namespace pages {
namespace {

constexpr char kKey[] =
    "System\\CurrentControlSet\\Control\\Print\\Printers\\Vela Farebn\xE1\\PrinterDriverData";

TEST(FontSubstitutionStore, KeyPath) {
    EXPECT_EQ(FontSubstitutionKeyPath("Vela Farebn\xE1"), kKey);
}

// The default table is copied byte for byte, whatever its type and content; a missing key or
// default writes nothing and creates nothing.
TEST(FontSubstitutionStore, RestoreDefaultFontTable) {
    struct Case {
        const char* name;
        bool key;
        std::optional<std::string> defaultTable;
        std::optional<std::string> currentBefore;
        std::optional<std::string> currentAfter;
    };
    const std::string table("Arial\0Helvetica\0Courier New\0Na\xE8\xEDta\x9D\0\0", 37);
    const Case cases[] = {
        {"copies over the current table", true, table, std::string("A\0B\0\0", 5), table},
        {"creates the current table", true, table, std::nullopt, table},
        {"empty default table", true, std::string("\0", 1), std::string("A\0B\0\0", 5),
         std::string("\0", 1)},
        {"no default table", true, std::nullopt, std::string("A\0B\0\0", 5),
         std::string("A\0B\0\0", 5)},
        {"no key", false, std::nullopt, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::MemoryRegistry registry;
        if (c.key)
            registry.Put(kKey, "RESFONT", platform::RegistryType::Binary, std::string("\0", 1));
        if (c.defaultTable)
            registry.Put(kKey, kDefaultFontTableValue, platform::RegistryType::String,
                         *c.defaultTable);
        if (c.currentBefore)
            registry.Put(kKey, kCurrentFontTableValue, platform::RegistryType::Binary,
                         *c.currentBefore);
        EXPECT_EQ(RestoreDefaultFontTable(registry, "Vela Farebn\xE1"), c.defaultTable.has_value());
        const auto current = registry.Get(kKey, kCurrentFontTableValue);
        ASSERT_EQ(current.has_value(), c.currentAfter.has_value());
        if (current) {
            EXPECT_EQ(current->data, *c.currentAfter);
            EXPECT_EQ(current->type, platform::RegistryType::Binary);
        }
        EXPECT_EQ(registry.HasKey(kKey), c.key);
        EXPECT_EQ(registry.OpenKeyCount(), 0u);
    }
}

using Pairs = std::vector<FontSubstitution>;

// The bytes of a literal, its inner NULs included.
template <std::size_t N>
std::string Bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

// The stored form read and written back: pairs up to the first empty name, names cut by the end
// of the value, a family without its device dropped; well-formed tables come back byte for
// byte, and what is written is always well formed.
TEST(FontSubstitutionTable, StoredForm) {
    struct Case {
        const char* name;
        std::string stored;
        Pairs pairs;
        std::string written;
    };
    const std::string twoPairs = Bytes("Arial\0Helvetica\0Tahoma\0Na\xE8\xEDta\x9D\0\0");
    const Pairs arialTahoma = {{"Arial", "Helvetica"}, {"Tahoma", kDownloadFontName}};
    const Case cases[] = {
        {"two pairs", twoPairs, arialTahoma, twoPairs},
        {"empty table", Bytes("\0"), {}, Bytes("\0")},
        {"no bytes at all", "", {}, Bytes("\0")},
        {"bytes after the terminating name", twoPairs + Bytes("Times\0Tm\0\0"), arialTahoma,
         twoPairs},
        {"the first byte 0 ends the table", Bytes("\0Arial\0Helvetica\0\0"), {}, Bytes("\0")},
        {"no terminating name",
         Bytes("Arial\0Helvetica\0"),
         {{"Arial", "Helvetica"}},
         Bytes("Arial\0Helvetica\0\0")},
        {"device name without its NUL",
         Bytes("Arial\0Helv"),
         {{"Arial", "Helv"}},
         Bytes("Arial\0Helv\0\0")},
        {"family without a device",
         Bytes("Arial\0Helvetica\0Times"),
         {{"Arial", "Helvetica"}},
         Bytes("Arial\0Helvetica\0\0")},
        {"an empty device name ends the table",
         Bytes("Helvetica\0Helv\0Arial\0\0Times\0Tm\0\0"),
         {{"Helvetica", "Helv"}},
         Bytes("Helvetica\0Helv\0\0")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FontSubstitutionTable table = FontSubstitutionTable::FromBytes(c.stored);
        EXPECT_EQ(table.Pairs(), c.pairs);
        EXPECT_EQ(table.ToBytes(), c.written);
    }
}

// A family's first pair gives its device font; a choice changes every pair of the family or
// appends one; empty names are refused, so they can never end the stored table early.
TEST(FontSubstitutionTable, Substitute) {
    struct Case {
        const char* name;
        std::string stored;
        std::string family;
        std::string device;
        bool accepted;
        Pairs after;
    };
    const std::string arial = Bytes("Arial\0Helvetica\0\0");
    const Case cases[] = {
        {"appends to an empty table",
         Bytes("\0"),
         "Arial",
         "Helvetica",
         true,
         {{"Arial", "Helvetica"}}},
        {"every pair of the family changes, in place",
         Bytes("Arial\0Helvetica\0Times\0Times-Roman\0Arial\0Courier\0\0"),
         "Arial",
         kDownloadFontName,
         true,
         {{"Arial", kDownloadFontName}, {"Times", "Times-Roman"}, {"Arial", kDownloadFontName}}},
        {"families compare exactly",
         arial,
         "arial",
         "Courier",
         true,
         {{"Arial", "Helvetica"}, {"arial", "Courier"}}},
        {"no family", arial, "", "Courier", false, {{"Arial", "Helvetica"}}},
        {"no device font", arial, "Arial", "", false, {{"Arial", "Helvetica"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FontSubstitutionTable table = FontSubstitutionTable::FromBytes(c.stored);
        EXPECT_EQ(table.Substitute(c.family, c.device), c.accepted);
        EXPECT_EQ(table.Pairs(), c.after);
    }
    const FontSubstitutionTable table = FontSubstitutionTable::FromBytes(
        Bytes("Arial\0Helvetica\0Times\0Times-Roman\0Arial\0Courier\0\0"));
    ASSERT_NE(table.DeviceFontOf("Arial"), nullptr);
    EXPECT_EQ(*table.DeviceFontOf("Arial"), "Helvetica");
    EXPECT_EQ(table.DeviceFontOf("arial"), nullptr);
    EXPECT_EQ(table.DeviceFontOf(""), nullptr);
}

// A table of any size: many long names go through the registry and come back unchanged.
TEST(FontSubstitutionTable, GrowsAsNeeded) {
    platform::MemoryRegistry registry;
    FontSubstitutionTable table;
    for (int i = 0; i < 200; ++i)
        table.Substitute(std::to_string(1000 + i) + std::string(96, 'a'), std::string(80, 'd'));
    ASSERT_EQ(table.Pairs().size(), 200u);
    ASSERT_TRUE(StoreFontTable(registry, "Vela Farebn\xE1", table));
    const auto stored = registry.Get(kKey, kCurrentFontTableValue);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->type, platform::RegistryType::Binary);
    EXPECT_EQ(stored->data.size(), 200u * (101 + 81) + 1); // 100 + 80 characters a pair
    EXPECT_EQ(LoadFontTable(registry, "Vela Farebn\xE1").Pairs(), table.Pairs());
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

// Loading: the current table, else the default one made current, else an empty table; the key
// is created when absent.
TEST(FontSubstitutionStore, LoadFontTable) {
    struct Case {
        const char* name;
        std::optional<std::string> current;
        std::optional<std::string> defaultTable;
        Pairs pairs;
        std::optional<std::string> currentAfter;
    };
    const std::string helvetica = Bytes("Arial\0Helvetica\0\0");
    const std::string courier = Bytes("Arial\0Courier\0\0");
    const Case cases[] = {
        {"the current table", courier, helvetica, {{"Arial", "Courier"}}, courier},
        {"the default made current", std::nullopt, helvetica, {{"Arial", "Helvetica"}}, helvetica},
        {"neither", std::nullopt, std::nullopt, {}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::MemoryRegistry registry;
        if (c.current)
            registry.Put(kKey, kCurrentFontTableValue, platform::RegistryType::Binary, *c.current);
        if (c.defaultTable)
            registry.Put(kKey, kDefaultFontTableValue, platform::RegistryType::Binary,
                         *c.defaultTable);
        EXPECT_EQ(LoadFontTable(registry, "Vela Farebn\xE1").Pairs(), c.pairs);
        EXPECT_TRUE(registry.HasKey(kKey));
        const auto current = registry.Get(kKey, kCurrentFontTableValue);
        EXPECT_EQ(current ? std::optional<std::string>(current->data) : std::nullopt,
                  c.currentAfter);
        EXPECT_EQ(registry.OpenKeyCount(), 0u);
    }
}

// The resident fonts in stored order, up to the first empty name; nothing without the value.
TEST(FontSubstitutionStore, ReadResidentFonts) {
    platform::MemoryRegistry registry;
    EXPECT_TRUE(ReadResidentFonts(registry, "Vela Farebn\xE1").empty());
    EXPECT_TRUE(registry.HasKey(kKey));
    registry.Put(kKey, kResidentFontsValue, platform::RegistryType::Binary,
                 Bytes("Times\0Courier\0Times\0\0Symbol\0\0"));
    EXPECT_THAT(ReadResidentFonts(registry, "Vela Farebn\xE1"),
                ::testing::ElementsAre("Times", "Courier", "Times"));
    registry.Put(kKey, kResidentFontsValue, platform::RegistryType::Binary, "Courier");
    EXPECT_THAT(ReadResidentFonts(registry, "Vela Farebn\xE1"), ::testing::ElementsAre("Courier"));
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

// A standard user reads the tables but cannot change them: loading (without making the default
// current) and the resident fonts work, storing and restoring write nothing. Refused operations
// one by one fail their own step only.
TEST(FontSubstitutionStore, RefusedOperations) {
    using platform::RegistryOperation;
    const auto refusing = [](RegistryOperation operation) {
        return static_cast<unsigned>(operation);
    };
    const unsigned standardUser =
        refusing(RegistryOperation::Create) | refusing(RegistryOperation::OpenForWriting) |
        refusing(RegistryOperation::Set) | refusing(RegistryOperation::Delete);
    const std::string helvetica = Bytes("Arial\0Helvetica\0\0");
    const std::string courier = Bytes("Arial\0Courier\0\0");
    const struct {
        const char* what;
        unsigned refused;
        bool current; // "FontSub" there to begin with
        Pairs loaded;
        bool stored;
        bool restored;
    } cases[] = {
        {"standard user", standardUser, true, {{"Arial", "Courier"}}, false, false},
        {"standard user, no current table", standardUser, false, {}, false, false},
        {"open for writing",
         refusing(RegistryOperation::OpenForWriting),
         true,
         {{"Arial", "Courier"}},
         false,
         false},
        {"set", refusing(RegistryOperation::Set), false, {}, false, false},
        {"create",
         refusing(RegistryOperation::Create),
         false,
         {{"Arial", "Helvetica"}},
         true,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        platform::MemoryRegistry registry;
        registry.Put(kKey, kDefaultFontTableValue, platform::RegistryType::Binary, helvetica);
        registry.Put(kKey, kResidentFontsValue, platform::RegistryType::Binary, Bytes("Times\0\0"));
        if (c.current)
            registry.Put(kKey, kCurrentFontTableValue, platform::RegistryType::Binary, courier);
        const auto before = registry.Get(kKey, kCurrentFontTableValue);
        registry.RefuseOperations(c.refused, kKey);
        EXPECT_EQ(LoadFontTable(registry, "Vela Farebn\xE1").Pairs(), c.loaded);
        EXPECT_THAT(ReadResidentFonts(registry, "Vela Farebn\xE1"),
                    ::testing::ElementsAre("Times"));
        if (!c.restored) {
            EXPECT_EQ(registry.Get(kKey, kCurrentFontTableValue), before);
        }
        FontSubstitutionTable table;
        table.Substitute("Symbol", "Zapf");
        EXPECT_EQ(StoreFontTable(registry, "Vela Farebn\xE1", table), c.stored);
        EXPECT_EQ(RestoreDefaultFontTable(registry, "Vela Farebn\xE1"), c.restored);
        if (!c.stored && !c.restored) {
            EXPECT_EQ(registry.Get(kKey, kCurrentFontTableValue), before);
        }
        EXPECT_EQ(registry.OpenKeyCount(), 0u);
    }
}

} // namespace
} // namespace pages
