#include "pages/fonts/font_substitution_store.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace pages
