// The watermark profile store: the predefined names and their upper case, the name cut to the
// block's field, the 148-byte record in and out of the registry (binary values of at most the
// record's size are taken, zero-filled; texts are clean after their terminators), the stored
// names, and what a registry that refuses operations leaves.
#include "pages/overlay/watermark_profile_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pages/overlay/watermark_reset.h"
#include "tests/pages/overlay/overlay_test_support.h"
#include "tests/pages/page_test_support.h"

namespace pages {
namespace {

using namespace testing;
using ::testing::ElementsAre;

// Names compare exactly with the table; upper case follows code page 1250 for its own letters.
TEST(WatermarkNames, PredefinedCodesAndUpperCase) {
    const struct {
        std::string name;
        int code;
        std::string upper;
    } cases[] = {
        {kNone, 1, Cp1250(u8"ŽIADNY")},
        {kConfidential, 2, kConfidential},
        {kCopy, 3, kCopy},
        {kPreview, 7, kPreview},
        {Cp1250(u8"kópia"), 0, kCopy},
        {Cp1250(u8"žiadny"), 0, Cp1250(u8"ŽIADNY")},
        {Cp1250(u8"náhľad"), 0, kPreview},
        {Cp1250(u8"čšťžľďňŕĺ"), 0, Cp1250(u8"ČŠŤŽĽĎŇŔĹ")},
        {"Logo 2", 0, "LOGO 2"},
        {"", 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PredefinedWatermarkCode(c.name), c.code) << c.name;
        EXPECT_EQ(UpperCaseName(c.name), c.upper) << c.name;
    }
}

// The block and the store keep the same 31 characters of a longer name.
TEST(WatermarkNames, CutToTheBlocksField) {
    const std::string forty(40, 'w');
    EXPECT_EQ(CutWatermarkName(forty), std::string(31, 'w'));
    EXPECT_EQ(CutWatermarkName("Logo"), "Logo");
    EXPECT_EQ(CutWatermarkName(std::string("ab\0cd", 5)), "ab");
    app::PrinterSettingsBlock block;
    block.setWatermarkName(forty);
    EXPECT_EQ(block.watermarkName(), CutWatermarkName(forty));
}

class WatermarkStoreTest : public ::testing::Test {
protected:
    AppState app;
};

// A binary value of at most 148 bytes is a profile, followed by zeros where it is shorter
// (other programs write these values too); a longer value or another type resets the
// attributes. Either way the block keeps its name.
TEST_F(WatermarkStoreTest, LoadTakesBinaryRecordsUpToTheirSize) {
    app::PrinterSettingsBlock stored;
    app::ApplyNewBlockDefaults(stored);
    stored.setWatermarkName("Logo");
    stored.setWatermarkText("Tajne");
    stored.setWatermarkSize(120);
    stored.setWatermarkOffsetY(-1);
    const std::string good = RecordBytes(stored);
    const struct {
        const char* what;
        platform::RegistryType type;
        std::string data;
        bool loaded;
        std::string text;
        int size;
    } cases[] = {
        {"record", platform::RegistryType::Binary, good, true, "Tajne", 120},
        {"one byte short", platform::RegistryType::Binary, good.substr(0, 147), true, "Tajne", 120},
        {"120 bytes", platform::RegistryType::Binary, good.substr(0, 120), true, "Tajne", 0},
        {"empty", platform::RegistryType::Binary, "", true, "", 0},
        {"one byte long", platform::RegistryType::Binary, good + 'x', false, "Vodoznak", 72},
        {"text value", platform::RegistryType::String, good, false, "Vodoznak", 72},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        app.registry.Clear();
        app.registry.Put(kProfilesKey, "Logo", c.type, c.data);
        app::PrinterSettingsBlock& block = app.block();
        block.setWatermarkName("Logo");
        block.setWatermarkText("before");
        block.setWatermarkSize(9);
        EXPECT_EQ(LoadWatermarkProfile(block, kWatermarkEditing), c.loaded);
        EXPECT_EQ(block.watermarkName(), "Logo");
        EXPECT_EQ(block.watermarkText(), c.text);
        EXPECT_EQ(block.watermarkSize(), c.size);
        if (c.loaded) {
            // After the name: the value's bytes, then zeros to the end of the record.
            std::string expected = c.data;
            expected.resize(app::WatermarkProfile::kSize, '\0');
            EXPECT_EQ(RecordBytes(block).substr(32), expected.substr(32));
        }
        EXPECT_EQ(app.registry.OpenKeyCount(), 0u);
    }
    // No such value, no store, no name: reset too.
    app.registry.Clear();
    app.block().setWatermarkSize(9);
    EXPECT_FALSE(LoadWatermarkProfile(app.block(), kWatermarkAdding));
    EXPECT_EQ(app.block().watermarkSize(), 72);
    app.registry.Put(kProfilesKey, "", platform::RegistryType::Binary, good);
    app.block().setWatermarkName("");
    EXPECT_FALSE(LoadWatermarkProfile(app.block(), kWatermarkAdding));
}

// A loaded record is cleaned, and the block keeps the name the profile was found under even
// when another writer put another name into the record.
TEST_F(WatermarkStoreTest, LoadCleansTextsAndKeepsTheName) {
    std::string data(148, '\x7F');
    data.replace(0, 6, std::string("Other\0", 6));
    data.replace(32, 4, std::string("Hi\0!", 4));
    app.registry.Put(kProfilesKey, "Logo", platform::RegistryType::Binary, data);
    app::PrinterSettingsBlock& block = app.block();
    block.setWatermarkName("Logo");
    ASSERT_TRUE(LoadWatermarkProfile(block, kWatermarkEditing));
    EXPECT_EQ(block.watermarkName(), "Logo");
    EXPECT_EQ(block.watermarkText(), "Hi");
    EXPECT_EQ(block.watermarkFont().size(), 31u); // unterminated: cut inside its array
    for (std::size_t i = 872 + 2; i < 936; ++i)
        ASSERT_EQ(block.data()[i], 0) << i;
    EXPECT_EQ(block.data()[967], 0);
}

// Saving writes the normalised record under the block's name, replacing an earlier one; a
// long typed name is stored under the same 31 characters the block holds and found again.
TEST_F(WatermarkStoreTest, SaveAndFindAgain) {
    app::PrinterSettingsBlock& block = app.block();
    app::ApplyNewBlockDefaults(block);
    block.setPrinterName("Vela Test");
    const std::string typed = "A watermark name of forty characters!!!!";
    ASSERT_EQ(typed.size(), 40u);
    block.setWatermarkName(CutWatermarkName(typed));
    block.setWatermarkText("first");
    EXPECT_EQ(SaveWatermarkProfile(block), platform::kRegistryOk);
    block.setWatermarkText("second");
    block.setWatermarkAngle(30);
    EXPECT_EQ(SaveWatermarkProfile(block), platform::kRegistryOk);
    EXPECT_THAT(app.registry.ValueNames(kProfilesKey), ElementsAre(typed.substr(0, 31)));
    const auto value = app.registry.Get(kProfilesKey, typed.substr(0, 31));
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, platform::RegistryType::Binary);
    EXPECT_EQ(value->data, RecordBytes(block));
    EXPECT_EQ(value->data.substr(32, 7), std::string("second\0", 7));

    block.setWatermarkText("changed");
    block.setWatermarkAngle(0);
    ASSERT_TRUE(LoadWatermarkProfile(block, kWatermarkEditing));
    EXPECT_EQ(block.watermarkText(), "second");
    EXPECT_EQ(block.watermarkAngle(), 30);
    EXPECT_EQ(app.registry.OpenKeyCount(), 0u);

    // Without a name, or a printer, nothing is written.
    app.registry.Clear();
    block.setWatermarkName("");
    EXPECT_NE(SaveWatermarkProfile(block), platform::kRegistryOk);
    block.setWatermarkName("Logo");
    block.setPrinterName("");
    EXPECT_NE(SaveWatermarkProfile(block), platform::kRegistryOk);
    EXPECT_TRUE(app.registry.ValueNames(kProfilesKey).empty());
    EXPECT_FALSE(app.registry.HasKey(WatermarkProfilesKey("")));
}

// The stored names in the store's order, without those the block's name could not hold.
TEST_F(WatermarkStoreTest, StoredNames) {
    for (const std::string& name :
         {std::string("Zeta"), std::string("Alfa"), kCopy, Cp1250(u8"dôverné"),
          std::string(32, 'L'), std::string(31, 'M')})
        StoreProfile(app.registry, name, "x");
    EXPECT_THAT(StoredWatermarkNames("Vela Test"),
                ElementsAre("Zeta", "Alfa", kCopy, Cp1250(u8"dôverné"), std::string(31, 'M')));
    EXPECT_TRUE(StoredWatermarkNames("Another printer").empty());
    EXPECT_EQ(app.registry.OpenKeyCount(), 0u);
}

// Deleting: the value goes; a missing one or a missing store reports so.
TEST_F(WatermarkStoreTest, Delete) {
    StoreProfile(app.registry, "Logo", "x");
    StoreProfile(app.registry, "Zeta", "x");
    EXPECT_EQ(DeleteWatermarkProfile("Vela Test", "logo"), platform::kRegistryOk);
    EXPECT_THAT(app.registry.ValueNames(kProfilesKey), ElementsAre("Zeta"));
    EXPECT_EQ(DeleteWatermarkProfile("Vela Test", "Logo"), platform::kRegistryNotFound);
    EXPECT_NE(DeleteWatermarkProfile("Vela Test", ""), platform::kRegistryOk);
    EXPECT_NE(DeleteWatermarkProfile("Another printer", "Zeta"), platform::kRegistryOk);
    EXPECT_EQ(app.registry.OpenKeyCount(), 0u);
}

// A standard user reads the store but cannot change it: loading and listing work, saving and
// deleting report the refusal and change nothing; refused operations one by one report theirs.
TEST_F(WatermarkStoreTest, RefusedOperations) {
    const struct {
        const char* what;
        unsigned refused;
        bool storeExists;
        bool saved;
        bool deleted;
        bool listed;
    } cases[] = {
        {"standard user", kWritesRefused, true, false, false, true},
        {"no store to create", Refusing(platform::RegistryOperation::Create), false, false, false,
         true},
        {"create allowed on an existing store", Refusing(platform::RegistryOperation::Create), true,
         true, true, true},
        {"set", Refusing(platform::RegistryOperation::Set), true, false, true, true},
        {"delete", Refusing(platform::RegistryOperation::Delete), true, true, false, true},
        {"enumerate", Refusing(platform::RegistryOperation::Enumerate), true, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        app.registry.Clear();
        app.registry.ClearRefusals();
        if (c.storeExists) {
            StoreProfile(app.registry, "Logo", "Tajne", 120);
            StoreProfile(app.registry, "Zeta", "z");
        }
        const std::vector<std::string> before = app.registry.ValueNames(kProfilesKey);
        app.registry.RefuseOperations(c.refused, kProfilesKey);
        app::PrinterSettingsBlock& block = app.block();
        block.setWatermarkName("Logo");
        EXPECT_EQ(LoadWatermarkProfile(block, kWatermarkEditing), c.storeExists);
        EXPECT_EQ(!StoredWatermarkNames("Vela Test").empty(), c.storeExists && c.listed);

        block.setWatermarkName("Novy");
        EXPECT_EQ(SaveWatermarkProfile(block) == platform::kRegistryOk, c.saved);
        EXPECT_EQ(app.registry.Get(kProfilesKey, "Novy").has_value(), c.saved);
        EXPECT_EQ(DeleteWatermarkProfile("Vela Test", "Zeta") == platform::kRegistryOk,
                  c.deleted && c.storeExists);
        EXPECT_EQ(app.registry.Get(kProfilesKey, "Zeta").has_value(), c.storeExists && !c.deleted);
        if (!c.saved && !c.deleted) {
            EXPECT_EQ(app.registry.ValueNames(kProfilesKey), before);
        }
        EXPECT_EQ(app.registry.OpenKeyCount(), 0u);
    }
}

} // namespace
} // namespace pages
