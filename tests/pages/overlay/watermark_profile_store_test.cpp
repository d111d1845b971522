// The watermark profile store: the predefined names and their upper case, the name cut to the
// block's field, the 148-byte record in and out of the registry (only whole binary records
// are taken, texts are clean after their terminators), and the stored names.
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

// Only a binary value of exactly 148 bytes is a profile; anything else resets the attributes
// and leaves the block's name as it was.
TEST_F(WatermarkStoreTest, LoadTakesWholeBinaryRecordsOnly) {
    app::PrinterSettingsBlock stored;
    app::ApplyNewBlockDefaults(stored);
    stored.setWatermarkName("Logo");
    stored.setWatermarkText("Tajne");
    stored.setWatermarkSize(120);
    const std::string good = RecordBytes(stored);
    const struct {
        const char* what;
        platform::RegistryType type;
        std::string data;
        bool loaded;
    } cases[] = {
        {"record", platform::RegistryType::Binary, good, true},
        {"one byte short", platform::RegistryType::Binary, good.substr(0, 147), false},
        {"one byte long", platform::RegistryType::Binary, good + 'x', false},
        {"text value", platform::RegistryType::String, good, false},
        {"empty", platform::RegistryType::Binary, "", false},
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
        EXPECT_EQ(block.watermarkText(), c.loaded ? "Tajne" : "Vodoznak");
        EXPECT_EQ(block.watermarkSize(), c.loaded ? 120 : 72);
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

} // namespace
} // namespace pages
