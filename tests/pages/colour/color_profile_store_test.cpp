// The colour-profile store: the 316-byte record and what it compares, the predefined profiles as
// the PPD describes them, which stored profiles are readable and offered, how the list selects
// the current profile, and what a registry that refuses operations leaves.
#include "pages/colour/color_profile_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/pages/colour/colour_test_support.h"

namespace pages {
namespace {

using app::PrinterSettingsBlock;
using platform::RegistryType;
using testing::AppState;
using testing::Bytes;
using testing::Cp1250;
using ::testing::ElementsAre;
using testing::ProfilesKey;
using testing::PutResident;
using testing::PutStoredProfile;
using testing::StoredFields;
using ui::headless::TestHost;

const std::string kColourPpd = "colour.ppd";
const std::string kAuto = "Automaticky";
const std::string kPhoto = "Fotografie";
const std::string kGray = "Odtiene sivej";
const std::string kSwop = "Napodobnenie SWOP";
const std::string kAllBlack = Cp1250(u8"Iba čierna");

// Every field lands at its record offset; text slots are zero after their terminators; the
// two bytes no field owns are zero; the grey model is neither stored nor restored.
TEST(ColorProfileStore, RecordLayout) {
    PrinterSettingsBlock block;
    block.setColorProfileName("Moj");
    block.setRgbSourceProfileName("Rgb");
    block.setDestinationProfileName("Ciel");
    block.setSimulationProfileName("Sim");
    block.setCrdColorSpaceName("Csa");
    // Leftovers after the terminators, as a driver's block may carry them.
    block.data()[215 + 10] = 'x';
    block.data()[471 + 31] = 'y';
    const struct {
        void (PrinterSettingsBlock::*set)(std::int16_t);
        std::size_t offset;
        std::int16_t value;
    } codes[] = {
        {&PrinterSettingsBlock::setColorProfileIndex, 288, 0},
        {&PrinterSettingsBlock::setColorProfileReserved, 290, 7},
        {&PrinterSettingsBlock::setColorSeparation, 292, 1},
        {&PrinterSettingsBlock::setIccMatching, 294, 0},
        {&PrinterSettingsBlock::setCrdMatching, 296, 1},
        {&PrinterSettingsBlock::setRgbSource, 298, 108},
        {&PrinterSettingsBlock::setColorSimulation, 300, 125},
        {&PrinterSettingsBlock::setDestinationProfile, 302, 144},
        {&PrinterSettingsBlock::setDefaultCrd, 304, 3},
        {&PrinterSettingsBlock::setImageCrd, 306, 4},
        {&PrinterSettingsBlock::setTextCrd, 308, -1},
        {&PrinterSettingsBlock::setGraphicsCrd, 310, 2},
        {&PrinterSettingsBlock::setCrdColorSpace, 312, 0x1234},
    };
    for (const auto& code : codes)
        (block.*code.set)(code.value);
    block.setGrayColorModel(1);

    const app::ColorProfileRecord record = BuildColorProfileRecord(block);
    std::string expected(316, '\0');
    expected.replace(0, 3, "Moj");
    expected.replace(64, 3, "Rgb");
    expected.replace(128, 4, "Ciel");
    expected.replace(192, 3, "Sim");
    expected.replace(256, 3, "Csa");
    for (const auto& code : codes) {
        expected[code.offset] = static_cast<char>(code.value & 0xFF);
        expected[code.offset + 1] = static_cast<char>((code.value >> 8) & 0xFF);
    }
    EXPECT_EQ(Bytes(record), expected);

    PrinterSettingsBlock restored;
    restored.setGrayColorModel(5);
    RestoreColorProfileRecord(restored, record);
    EXPECT_EQ(restored.grayColorModel(), 5);
    EXPECT_EQ(restored.crdColorSpace(), 0x1234);
    EXPECT_EQ(restored.destinationProfileName(), "Ciel");
    EXPECT_TRUE(ColorSettingsMatch(restored, record));
}

// Every compared field tells a change; the reserved code and the grey model do not.
TEST(ColorProfileStore, SettingsMatch) {
    const PrinterSettingsBlock base = StoredFields();
    const app::ColorProfileRecord snapshot = BuildColorProfileRecord(base);
    using Change = std::function<void(PrinterSettingsBlock&)>;
    const struct {
        const char* what;
        Change change;
        bool match;
    } cases[] = {
        {"nothing", [](PrinterSettingsBlock&) {}, true},
        {"reserved", [](PrinterSettingsBlock& b) { b.setColorProfileReserved(9); }, true},
        {"grey model", [](PrinterSettingsBlock& b) { b.setGrayColorModel(1); }, true},
        {"text after a name's end", [](PrinterSettingsBlock& b) { b.data()[279 + 40] = 'z'; },
         true},
        {"name", [](PrinterSettingsBlock& b) { b.setColorProfileName("X"); }, false},
        {"RGB name", [](PrinterSettingsBlock& b) { b.setRgbSourceProfileName("X"); }, false},
        {"destination name", [](PrinterSettingsBlock& b) { b.setDestinationProfileName("X"); },
         false},
        {"simulation name", [](PrinterSettingsBlock& b) { b.setSimulationProfileName("X"); },
         false},
        {"CSA name", [](PrinterSettingsBlock& b) { b.setCrdColorSpaceName("X"); }, false},
        {"index", [](PrinterSettingsBlock& b) { b.setColorProfileIndex(4); }, false},
        {"separation", [](PrinterSettingsBlock& b) { b.setColorSeparation(0); }, false},
        {"ICC", [](PrinterSettingsBlock& b) { b.setIccMatching(1); }, false},
        {"CRD", [](PrinterSettingsBlock& b) { b.setCrdMatching(0); }, false},
        {"RGB source", [](PrinterSettingsBlock& b) { b.setRgbSource(101); }, false},
        {"simulation", [](PrinterSettingsBlock& b) { b.setColorSimulation(119); }, false},
        {"destination", [](PrinterSettingsBlock& b) { b.setDestinationProfile(144); }, false},
        {"default CRD", [](PrinterSettingsBlock& b) { b.setDefaultCrd(0); }, false},
        {"image CRD", [](PrinterSettingsBlock& b) { b.setImageCrd(4); }, false},
        {"text CRD", [](PrinterSettingsBlock& b) { b.setTextCrd(1); }, false},
        {"graphics CRD", [](PrinterSettingsBlock& b) { b.setGraphicsCrd(4); }, false},
        {"colour space", [](PrinterSettingsBlock& b) { b.setCrdColorSpace(131); }, false},
    };
    for (const auto& c : cases) {
        PrinterSettingsBlock block = base;
        c.change(block);
        EXPECT_EQ(ColorSettingsMatch(block, snapshot), c.match) << c.what;
    }
}

// Each predefined profile sets what its description names and nothing else; the destination
// becomes "Auto"; a profile the PPD does not describe changes nothing.
TEST(ColorProfileStore, ApplyPredefinedProfile) {
    struct Fields {
        int gray, crd, image, text, graphics, space, icc, rgb, simulation, separation;
    };
    // What the block holds before: no field at a value any profile sets.
    const Fields before{7, 7, 7, 7, 7, 7, 7, 7, 7, 7};
    const struct {
        int index;
        bool applied;
        Fields after;
    } cases[] = {
        {1, true, {0, 0, 4, 1, 4, 131, 1, 101, 119, 0}},
        {4, true, {0, 1, 2, 4, 1, 132, 0, 102, 120, 1}},
        // "Bogus" is no RGB source: code 0.
        {3, true, {1, 0, 7, 7, 7, 7, 0, 0, 7, 0}},
        {6, true, {1, 7, 7, 7, 7, 7, 7, 7, 7, 0}},
        // Listed, but without a description of its own.
        {9, false, before},
        // In the table, but not offered by the PPD.
        {2, false, before},
        {0, false, before},
        {99, false, before},
    };
    const auto set = [](PrinterSettingsBlock& b, const Fields& f) {
        b.setGrayColorModel(static_cast<std::int16_t>(f.gray));
        b.setCrdMatching(static_cast<std::int16_t>(f.crd));
        b.setImageCrd(static_cast<std::int16_t>(f.image));
        b.setTextCrd(static_cast<std::int16_t>(f.text));
        b.setGraphicsCrd(static_cast<std::int16_t>(f.graphics));
        b.setCrdColorSpace(static_cast<std::int16_t>(f.space));
        b.setIccMatching(static_cast<std::int16_t>(f.icc));
        b.setRgbSource(static_cast<std::int16_t>(f.rgb));
        b.setColorSimulation(static_cast<std::int16_t>(f.simulation));
        b.setColorSeparation(static_cast<std::int16_t>(f.separation));
    };
    for (const auto& c : cases) {
        AppState app(kColourPpd);
        ASSERT_TRUE(app.loaded());
        PrinterSettingsBlock& b = app.block();
        b.setColorProfileIndex(static_cast<std::int16_t>(c.index));
        b.setDestinationProfile(144);
        b.setDefaultCrd(7);
        set(b, before);
        PrinterSettingsBlock expected = b;
        if (c.applied) {
            set(expected, c.after);
            expected.setDestinationProfile(143);
        }
        EXPECT_EQ(ApplyPredefinedColorProfile(), c.applied) << c.index;
        EXPECT_EQ(b, expected) << c.index;
    }

    AppState bare("bare.ppd");
    bare.block().setColorProfileIndex(1);
    EXPECT_FALSE(ApplyPredefinedColorProfile());
    AppState none;
    none.block().setColorProfileIndex(1);
    EXPECT_FALSE(ApplyPredefinedColorProfile());
}

// A REG_BINARY value of at most 316 bytes is a stored profile, zero-filled where it is shorter
// (other programs write these values too); longer values and other types are not. Its names are
// terminated inside their slots; loading it sets the index to 0 and keeps the grey model.
TEST(ColorProfileStore, ReadAndLoadStoredProfiles) {
    AppState app;
    const app::ColorProfileRecord good = PutStoredProfile(app.registry, "Dobry", StoredFields());
    std::string unterminated = Bytes(good);
    std::fill_n(unterminated.begin() + 256, 32, 'C');
    app.registry.Put(ProfilesKey(), "Bez konca", RegistryType::Binary, unterminated);
    app.registry.Put(ProfilesKey(), "Kratky", RegistryType::Binary, Bytes(good).substr(0, 300));
    app.registry.Put(ProfilesKey(), "Dlhy", RegistryType::Binary, Bytes(good) + '\0');
    app.registry.Put(ProfilesKey(), "Text", RegistryType::String, Bytes(good));

    const auto read = ReadStoredColorProfile(app.registry, "Vela Test", "Dobry");
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, good);
    const auto cut = ReadStoredColorProfile(app.registry, "Vela Test", "Bez konca");
    ASSERT_TRUE(cut);
    PrinterSettingsBlock fields;
    RestoreColorProfileRecord(fields, *cut);
    EXPECT_EQ(fields.crdColorSpaceName(), std::string(31, 'C'));
    EXPECT_EQ(fields.colorProfileIndex(), 0);
    const auto shorter = ReadStoredColorProfile(app.registry, "Vela Test", "Kratky");
    ASSERT_TRUE(shorter);
    EXPECT_EQ(Bytes(*shorter), Bytes(good).substr(0, 300) + std::string(16, '\0'));
    for (const char* name : {"Dlhy", "Text", "Nikde", ""})
        EXPECT_FALSE(ReadStoredColorProfile(app.registry, "Vela Test", name)) << name;

    PrinterSettingsBlock& b = app.block();
    b.setGrayColorModel(1);
    b.setColorProfileName("Dlhy");
    b.setColorProfileIndex(4);
    const PrinterSettingsBlock before = b;
    EXPECT_FALSE(LoadStoredColorProfile());
    EXPECT_EQ(b, before);
    b.setColorProfileName("dobry");
    EXPECT_TRUE(LoadStoredColorProfile());
    EXPECT_EQ(b.colorProfileIndex(), 0);
    EXPECT_EQ(b.colorProfileName(), "Dobry");
    EXPECT_EQ(b.rgbSource(), 102);
    EXPECT_EQ(b.grayColorModel(), 1);
    EXPECT_EQ(app.registry.OpenKeyCount(), 0u);
}

// Without the printer's disk, a stored profile that uses a resident profile kept on the disk is
// not offered; a missing resident profile does not matter.
TEST(ColorProfileStore, StoredProfileUsability) {
    const struct {
        const char* what;
        int kind;          // the resident profile the stored one uses (0: none)
        bool residentDisk; // the resident profile is kept on the disk
        bool residentKept; // the resident profile is in the registry at all
        int diskInstalled;
        bool usable;
    } cases[] = {
        {"no resident profile", 0, false, false, 0, true},
        {"RGB source on the disk, no disk", kResidentRgbSource, true, true, 0, false},
        {"RGB source on the disk, disk", kResidentRgbSource, true, true, 1, true},
        {"RGB source in memory", kResidentRgbSource, false, true, 0, true},
        {"RGB source missing", kResidentRgbSource, false, false, 0, true},
        {"destination on the disk", kResidentDestination, true, true, 0, false},
        {"simulation on the disk", kResidentSimulation, true, true, 0, false},
    };
    for (const auto& c : cases) {
        AppState app;
        app.block().setDiskInstalled(static_cast<std::uint8_t>(c.diskInstalled));
        PrinterSettingsBlock fields = StoredFields();
        fields.setRgbSourceProfileName("Profil");
        fields.setDestinationProfileName("Profil");
        fields.setSimulationProfileName("Profil");
        if (c.kind == kResidentRgbSource)
            fields.setRgbSource(kResidentRgbSource);
        if (c.kind == kResidentDestination)
            fields.setDestinationProfile(kResidentDestination);
        if (c.kind == kResidentSimulation)
            fields.setColorSimulation(kResidentSimulation);
        PutStoredProfile(app.registry, "Ulozeny", fields);
        // The same name on the disk in the other lists does not matter.
        for (int kind : {kResidentRgbSource, kResidentDestination, kResidentSimulation}) {
            if (kind != c.kind || c.residentKept)
                PutResident(app.registry, kind, "Profil", "P.ICC",
                            kind == c.kind ? (c.residentDisk ? 1 : 0) : 1);
        }
        EXPECT_EQ(IsStoredColorProfileUsable("Ulozeny"), c.usable) << c.what;
    }
    AppState app;
    app.block().setDiskInstalled(1);
    EXPECT_FALSE(IsStoredColorProfileUsable("Nikde"));
}

// Predefined profiles in PPD order, then the offered stored profiles in sorted position; the
// current profile selected by code or by name; an unknown name falls back to code 1, and a code
// the PPD lacks is taken as the entry shown instead.
TEST(ColorProfileStore, FillList) {
    TestHost host;
    const struct {
        const char* what;
        int index;
        const char* name;
        std::string selected;
        int indexAfter;
    } cases[] = {
        {"predefined by code", 4, "", kPhoto, 4},
        {"code the PPD lacks takes the first", 2, "", kAuto, 1},
        {"code of no profile takes the first", -28600, "x", kAuto, 1},
        {"stored by name, case ignored", 0, "BETA", "Beta", 0},
        {"stored profile not offered", 0, "Disk", kAuto, 1},
        {"unknown name", 0, "Nikde", kAuto, 1},
    };
    for (const auto& c : cases) {
        AppState app(kColourPpd);
        app.block().setColorProfileIndex(static_cast<std::int16_t>(c.index));
        app.block().setColorProfileName(c.name);
        PutStoredProfile(app.registry, "Beta", StoredFields());
        PutStoredProfile(app.registry, "Alfa", StoredFields());
        PrinterSettingsBlock onDisk = StoredFields();
        onDisk.setRgbSource(kResidentRgbSource);
        onDisk.setRgbSourceProfileName("Disk");
        PutResident(app.registry, kResidentRgbSource, "Disk", "D.ICC", 1);
        PutStoredProfile(app.registry, "Disk", onDisk);
        app.registry.Put(ProfilesKey(), std::string(260, 'n'), RegistryType::Binary,
                         Bytes(BuildColorProfileRecord(StoredFields())));
        app.registry.Put(ProfilesKey(), "Pokazeny", RegistryType::Binary,
                         std::string(app::ColorProfileRecord::kSize + 1, 'x'));
        testing::WithList(host, IDD_COLOR_OPTIONS, IDC_COLOR_PROFILE_LIST, [&](const auto& list) {
            list.AddString("stara polozka");
            FillColorProfileList(list);
            // The stored entries go to their sorted place among the unsorted PPD entries.
            EXPECT_THAT(host.Items(IDC_COLOR_PROFILE_LIST),
                        ElementsAre("Alfa", kAuto, "Beta", kPhoto, kGray, kSwop, kAllBlack))
                << c.what;
            EXPECT_THAT(host.ItemData(IDC_COLOR_PROFILE_LIST), ElementsAre(0, 1, 0, 4, 3, 9, 6));
            EXPECT_EQ(host.SelectedText(IDC_COLOR_PROFILE_LIST), c.selected) << c.what;
        });
        EXPECT_EQ(app.block().colorProfileIndex(), c.indexAfter) << c.what;
        if (c.index != 0) {
            EXPECT_EQ(app.block().colorProfileName(), c.index == c.indexAfter ? c.name : c.selected)
                << c.what;
        }
    }

    // Without "CustomColor" only stored profiles are listed; a missing key is created.
    AppState app("bare.ppd");
    testing::WithList(host, IDD_COLOR_OPTIONS, IDC_COLOR_PROFILE_LIST, [&](const auto& list) {
        FillColorProfileList(list);
        EXPECT_EQ(list.GetCount(), 0);
        EXPECT_TRUE(app.registry.HasKey(ProfilesKey()));
        PutStoredProfile(app.registry, "Len ulozeny", StoredFields());
        FillColorProfileList(list);
        EXPECT_THAT(host.Items(IDC_COLOR_PROFILE_LIST), ElementsAre("Len ulozeny"));
    });
    EXPECT_EQ(app.registry.OpenKeyCount(), 0u);
}

// A name longer than `colorProfileName` holds is not offered: chosen, it would be cut and
// never found again. 63 characters are offered and load under their whole name.
TEST(ColorProfileStore, NamesTooLongForTheBlockAreNotOffered) {
    TestHost host;
    AppState app("bare.ppd");
    const std::string fits(63, 'M');
    const std::string tooLong(64, 'L');
    PutStoredProfile(app.registry, "Kratky", StoredFields());
    PutStoredProfile(app.registry, fits, StoredFields());
    PutStoredProfile(app.registry, tooLong, StoredFields());
    testing::WithList(host, IDD_COLOR_OPTIONS, IDC_COLOR_PROFILE_LIST, [&](const auto& list) {
        FillColorProfileList(list);
        EXPECT_THAT(host.Items(IDC_COLOR_PROFILE_LIST), ElementsAre("Kratky", fits));
    });
    app.block().setColorProfileName(fits);
    EXPECT_TRUE(LoadStoredColorProfile());
    EXPECT_EQ(app.block().colorProfileName(), fits);
}

// A standard user reads the store but cannot change it: profiles are listed and load, writes
// and deletions fail and change nothing; a store that does not exist is not created. Refused
// operations one by one fail their own step only.
TEST(ColorProfileStore, RefusedOperations) {
    TestHost host;
    const struct {
        const char* what;
        unsigned refused;
        bool listed;
        bool written;
        bool deleted;
    } cases[] = {
        {"standard user", testing::kWritesRefused, true, false, false},
        {"set", testing::Refusing(platform::RegistryOperation::Set), true, false, true},
        {"delete", testing::Refusing(platform::RegistryOperation::Delete), true, true, false},
        {"enumerate", testing::Refusing(platform::RegistryOperation::Enumerate), false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AppState app("bare.ppd");
        const app::ColorProfileRecord stored =
            PutStoredProfile(app.registry, "Moj", StoredFields());
        app.registry.RefuseOperations(c.refused, ProfilesKey());
        testing::WithList(host, IDD_COLOR_OPTIONS, IDC_COLOR_PROFILE_LIST, [&](const auto& list) {
            FillColorProfileList(list);
            EXPECT_EQ(list.GetCount(), c.listed ? 1 : 0);
        });
        app.block().setColorProfileName("Moj");
        EXPECT_TRUE(LoadStoredColorProfile());
        EXPECT_TRUE(StoredColorProfileExists(app.registry, "Vela Test", "Moj"));
        EXPECT_EQ(WriteStoredColorProfile(app.registry, "Vela Test", "Novy", stored), c.written);
        EXPECT_EQ(app.registry.Get(ProfilesKey(), "Novy").has_value(), c.written);
        EXPECT_EQ(DeleteStoredColorProfile(app.registry, "Vela Test", "Moj"), c.deleted);
        EXPECT_EQ(app.registry.Get(ProfilesKey(), "Moj").has_value(), !c.deleted);
        EXPECT_EQ(app.registry.OpenKeyCount(), 0u);
    }

    AppState app("bare.ppd");
    app.registry.RefuseOperations(testing::kWritesRefused);
    testing::WithList(host, IDD_COLOR_OPTIONS, IDC_COLOR_PROFILE_LIST, [&](const auto& list) {
        FillColorProfileList(list);
        EXPECT_EQ(list.GetCount(), 0);
    });
    EXPECT_FALSE(app.registry.HasKey(ProfilesKey()));
}

} // namespace
} // namespace pages
