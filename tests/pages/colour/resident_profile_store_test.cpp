// The printer-resident profile lists: the record bytes written, what a list offers (disk,
// records shorter than their size, unreadable values, names too long), which profile a text
// chooses or deletes (the exact name first, the substring rule only without one), names too
// long for the block never chosen, and what a registry that refuses operations leaves.
#include "pages/colour/resident_profile_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/pages/colour/colour_test_support.h"

namespace pages {
namespace {

using platform::RegistryType;
using testing::AppState;
using ::testing::ElementsAre;
using testing::PutResident;
using testing::ResidentKey;
using ui::headless::TestHost;

// Each kind writes to its own key; the record is zero but for the name and the file name.
TEST(ResidentProfileStore, StoreWritesAFreshRecord) {
    const struct {
        int kind;
        const char* key;
    } kinds[] = {
        {kResidentRgbSource, "RGB Source Profiles"},
        {kResidentSimulation, "Simulation Profiles"},
        {kResidentDestination, "Destination Profiles"},
        {kResidentCsa, "CSA Profiles"},
        {200, "CSA Profiles"},
    };
    for (const auto& k : kinds) {
        AppState app;
        ResidentProfileRecord record;
        record.setName("M\xF4j profil");
        record.setFileName("MOJ.ICC");
        EXPECT_TRUE(StoreResidentProfile(record, k.kind)) << k.kind;
        const std::string key = std::string("System\\CurrentControlSet\\Control\\Print\\Printers\\"
                                            "Vela Test\\Printer Resident\\") +
                                k.key;
        const auto value = app.registry.Get(key, "M\xF4j profil");
        ASSERT_TRUE(value) << k.kind;
        EXPECT_EQ(value->type, RegistryType::Binary);
        std::string expected(362, '\0');
        expected.replace(6, 10, "M\xF4j profil");
        expected.replace(102, 7, "MOJ.ICC");
        EXPECT_EQ(value->data, expected) << k.kind;
        EXPECT_EQ(app.registry.OpenKeyCount(), 0u);
    }

    AppState app;
    EXPECT_FALSE(StoreResidentProfile(ResidentProfileRecord{}, kResidentRgbSource));
    app.block().setPrinterName("");
    EXPECT_FALSE(StoreResidentProfile(testing::Resident("A", "A.ICC"), kResidentRgbSource));
    EXPECT_TRUE(app.registry.ValueNames(ResidentKey(kResidentRgbSource)).empty());
}

// A disk profile only with the disk; a record shorter than its size is read zero-filled (the
// download manager writes these values too); values longer than a record, other types, records
// without a name and names too long for the buffer are passed over and the walk goes on; the
// key is created by the first listing, which shows nothing.
TEST(ResidentProfileStore, ListOffersWhatCanBeUsed) {
    TestHost host;
    for (int disk : {0, 1}) {
        AppState app;
        app.block().setDiskInstalled(static_cast<std::uint8_t>(disk));
        const std::string key = ResidentKey(kResidentSimulation);
        PutResident(app.registry, kResidentSimulation, "Zeta");
        PutResident(app.registry, kResidentSimulation, "Na disku", "DISK.ICC", 1);
        app.registry.Put(key, "Text", RegistryType::String, std::string(362, 'x'));
        app.registry.Put(key, "Kratky", RegistryType::Binary, std::string(361, '\0'));
        app.registry.Put(
            key, "Kratky zaznam", RegistryType::Binary,
            testing::Bytes(testing::Resident("Kratky zaznam", "K.ICC")).substr(0, 120));
        app.registry.Put(key, "Dlhy", RegistryType::Binary, std::string(363, '\0'));
        PutResident(app.registry, kResidentSimulation, std::string(260, 'n'));
        app.registry.Put(key, "Bez mena", RegistryType::Binary, std::string(362, '\0'));
        PutResident(app.registry, kResidentSimulation, "Alfa");
        testing::WithList(host, IDD_CRD_MATCHING, IDC_CRD_COLOR_SPACE, [&](const auto& list) {
            ListResidentProfiles(list, kResidentSimulation);
            const auto items = host.Items(IDC_CRD_COLOR_SPACE);
            if (disk)
                EXPECT_THAT(items, ElementsAre("Alfa", "Kratky zaznam", "Na disku", "Zeta"));
            else
                EXPECT_THAT(items, ElementsAre("Alfa", "Kratky zaznam", "Zeta"));
            for (std::intptr_t data : host.ItemData(IDC_CRD_COLOR_SPACE))
                EXPECT_EQ(data, kResidentSimulation);
        });
        EXPECT_EQ(app.registry.OpenKeyCount(), 0u);
    }

    AppState app;
    PutResident(app.registry, kResidentRgbSource, "Iba RGB");
    testing::WithList(host, IDD_CRD_MATCHING, IDC_CRD_COLOR_SPACE, [&](const auto& list) {
        ListResidentProfiles(list, kResidentDestination);
        EXPECT_EQ(list.GetCount(), 0);
        EXPECT_TRUE(app.registry.HasKey(ResidentKey(kResidentDestination)));
        PutResident(app.registry, kResidentDestination, "Cie\xBE");
        ListResidentProfiles(list, 200); // the CSA list, without item data
        EXPECT_EQ(list.GetCount(), 0);
        ListResidentProfiles(list, kResidentDestination);
        EXPECT_THAT(host.Items(IDC_CRD_COLOR_SPACE), ElementsAre("Cie\xBE"));
    });
}

// Find needs the exact name; Exists ignores case and sees profiles the list hides. Records
// shorter than their size are found, zero-filled, also when read directly.
TEST(ResidentProfileStore, FindAndExists) {
    AppState app;
    PutResident(app.registry, kResidentRgbSource, "Photo Pro", "PRO.ICC");
    PutResident(app.registry, kResidentRgbSource, "Disk", "DISK.ICC", 1);
    const ResidentProfileRecord whole = testing::Resident("Short", "SHORT.ICC", 1);
    app.registry.Put(ResidentKey(kResidentRgbSource), "Short", RegistryType::Binary,
                     testing::Bytes(whole).substr(0, 112));
    const auto found = FindResidentProfile("Photo Pro", kResidentRgbSource);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->fileName(), "PRO.ICC");
    for (const auto& shortOne :
         {FindResidentProfile("Short", kResidentRgbSource),
          ReadResidentProfile(app.registry, "Vela Test", kResidentRgbSource, "Short")}) {
        ASSERT_TRUE(shortOne);
        EXPECT_EQ(*shortOne, whole);
        EXPECT_EQ(shortOne->disk(), 1);
    }
    for (const char* name : {"Photo", "photo pro", "Photo Pro X", ""})
        EXPECT_FALSE(FindResidentProfile(name, kResidentRgbSource)) << name;
    EXPECT_FALSE(FindResidentProfile("Photo Pro", kResidentSimulation));
    EXPECT_TRUE(FindResidentProfile("Disk", kResidentRgbSource));

    for (const char* name : {"Photo Pro", "PHOTO PRO", "disk"})
        EXPECT_TRUE(ResidentProfileExists(name, kResidentRgbSource)) << name;
    for (const char* name : {"Photo", "", "Nikde"})
        EXPECT_FALSE(ResidentProfileExists(name, kResidentRgbSource)) << name;
}

// A text chooses the profile of exactly that name when there is one, else the first whose name
// it contains; the name goes into the kind's field whole, and a name the field cannot hold is
// not chosen at all (cut, it would name no profile).
TEST(ResidentProfileStore, SelectPrefersTheExactName) {
    const std::string longName(70, 'L');
    const struct {
        const char* what;
        int kind;
        std::string text;
        bool found;
        std::string name;
    } cases[] = {
        {"exact, though a shorter name is in it", kResidentRgbSource, "Photo Pro", true,
         "Photo Pro"},
        {"exact ignoring case", kResidentRgbSource, "photo pro", true, "Photo Pro"},
        {"substring: the first stored", kResidentRgbSource, "My Photo Pro X", true, "Photo"},
        {"substring of a later one", kResidentRgbSource, "Vivid+", true, "Vivid"},
        {"no name in the text", kResidentRgbSource, "Pho", false, ""},
        {"empty text", kResidentRgbSource, "", false, ""},
        {"simulation field", kResidentSimulation, "Photo", true, "Photo"},
        {"destination field", kResidentDestination, "Photo", true, "Photo"},
        {"CSA field too short", kResidentCsa, longName, false, ""},
        {"RGB source field too short", kResidentRgbSource, longName, false, ""},
        {"31 characters for CSA", kResidentCsa, std::string(31, 'C'), true, std::string(31, 'C')},
        {"32 characters for CSA", kResidentCsa, std::string(32, 'C'), false, ""},
        {"63 characters for simulation", kResidentSimulation, std::string(63, 'C'), true,
         std::string(63, 'C')},
        {"64 characters for destination", kResidentDestination, std::string(64, 'C'), false, ""},
    };
    for (const auto& c : cases) {
        AppState app;
        for (const std::string& name :
             {std::string("Photo"), std::string("Photo Pro"), std::string("Vivid"), longName,
              std::string(31, 'C'), std::string(32, 'C'), std::string(63, 'C'),
              std::string(64, 'C')})
            PutResident(app.registry, c.kind, name);
        EXPECT_EQ(SelectResidentProfile(c.text, c.kind), c.found) << c.what;
        const app::PrinterSettingsBlock& b = app.block();
        const std::string field = c.kind == kResidentRgbSource    ? b.rgbSourceProfileName()
                                  : c.kind == kResidentSimulation ? b.simulationProfileName()
                                  : c.kind == kResidentCsa        ? b.crdColorSpaceName()
                                                                  : b.destinationProfileName();
        EXPECT_EQ(field, c.name) << c.what;
    }

    AppState app;
    PutResident(app.registry, 200, "Photo");
    EXPECT_TRUE(SelectResidentProfile("Photo", 200));
    EXPECT_EQ(app.block().crdColorSpaceName(), "");
}

// Deleting removes the profile named exactly (ignoring case) when there is one, else the first
// whose name contains the text; only that value goes, with its entry of the list.
TEST(ResidentProfileStore, DeleteRemovesOnlyTheProfileItNames) {
    TestHost host;
    const struct {
        const char* what;
        const char* typed; // nullptr: the entry "Photo" is selected
        std::optional<std::string> deleted;
        std::vector<std::string> left;
    } cases[] = {
        {"selected entry", nullptr, "Photo", {"Photo Pro", "Vivid"}},
        {"typed exactly", "Vivid", "Vivid", {"Photo", "Photo Pro"}},
        {"typed in another case", "PHOTO", "Photo", {"Photo Pro", "Vivid"}},
        {"contained in a longer name", "Viv", "Vivid", {"Photo", "Photo Pro"}},
        {"the first name containing it", "Pho", "Photo", {"Photo Pro", "Vivid"}},
        {"no such profile", "Nikde", std::nullopt, {"Photo", "Photo Pro", "Vivid"}},
        {"empty text", "", std::nullopt, {"Photo", "Photo Pro", "Vivid"}},
    };
    for (const auto& c : cases) {
        AppState app;
        for (const char* name : {"Photo", "Photo Pro", "Vivid"})
            PutResident(app.registry, kResidentRgbSource, name);
        ui::Dialog dialog(IDD_PROFILE_MANAGEMENT);
        host.OnDialog(IDD_PROFILE_MANAGEMENT, [&] {
            const ui::ComboBox list(host.Control(IDC_PROFILE_DESCRIPTION).GetHandle());
            ListResidentProfiles(list, kResidentRgbSource);
            if (c.typed)
                host.ReplaceText(IDC_PROFILE_DESCRIPTION, c.typed);
            else
                host.ChooseItem(IDC_PROFILE_DESCRIPTION, "Photo");
            EXPECT_EQ(DeleteResidentProfile(list, kResidentRgbSource), c.deleted) << c.what;
            EXPECT_EQ(host.Items(IDC_PROFILE_DESCRIPTION), c.left) << c.what;
            if (c.deleted) {
                EXPECT_EQ(host.Selection(IDC_PROFILE_DESCRIPTION), 0) << c.what;
            }
            host.PressCancel();
        });
        dialog.DoModal();
        EXPECT_EQ(app.registry.ValueNames(ResidentKey(kResidentRgbSource)), c.left) << c.what;
    }
}

// The refusal names the field's length; codes that name no field take any name.
TEST(ResidentProfileStore, NameLimits) {
    EXPECT_EQ(ResidentNameLimit(kResidentCsa), 31u);
    for (int kind : {kResidentRgbSource, kResidentSimulation, kResidentDestination})
        EXPECT_EQ(ResidentNameLimit(kind), 63u) << kind;
    EXPECT_TRUE(ResidentNameFits(std::string(200, 'x'), 200));
    EXPECT_EQ(ResidentNameTooLongMessage(kResidentCsa),
              testing::Cp1250(u8"Profil s názvom dlhším ako 31 znakov sa nedá vybrať"));
}

// A standard user reads the lists but cannot change them: listing, finding and choosing work,
// storing and deleting change nothing (silently, as every registry failure here); refused
// operations one by one fail their own step only.
TEST(ResidentProfileStore, RefusedOperations) {
    TestHost host;
    const struct {
        const char* what;
        unsigned refused;
        bool listed;
        bool stored;
        bool deleted;
    } cases[] = {
        {"standard user", testing::kWritesRefused, true, false, false},
        {"set", testing::Refusing(platform::RegistryOperation::Set), true, false, true},
        {"delete", testing::Refusing(platform::RegistryOperation::Delete), true, true, false},
        {"enumerate", testing::Refusing(platform::RegistryOperation::Enumerate), false, true,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AppState app;
        PutResident(app.registry, kResidentRgbSource, "Photo", "P.ICC");
        app.registry.RefuseOperations(c.refused, ResidentKey(kResidentRgbSource));
        ui::Dialog dialog(IDD_PROFILE_MANAGEMENT);
        host.OnDialog(IDD_PROFILE_MANAGEMENT, [&] {
            const ui::ComboBox list(host.Control(IDC_PROFILE_DESCRIPTION).GetHandle());
            ListResidentProfiles(list, kResidentRgbSource);
            EXPECT_EQ(list.GetCount(), c.listed ? 1 : 0);
            EXPECT_EQ(FindResidentProfile("Photo", kResidentRgbSource).has_value(), c.listed);
            EXPECT_EQ(SelectResidentProfile("Photo", kResidentRgbSource), c.listed);
            EXPECT_EQ(StoreResidentProfile(testing::Resident("Novy", "N.ICC"), kResidentRgbSource),
                      c.stored);
            if (c.listed) {
                host.ChooseItem(IDC_PROFILE_DESCRIPTION, "Photo");
                EXPECT_EQ(DeleteResidentProfile(list, kResidentRgbSource).has_value(), c.deleted);
                EXPECT_EQ(list.GetCount(), c.deleted ? 0 : 1);
            }
            host.PressCancel();
        });
        dialog.DoModal();
        EXPECT_EQ(app.registry.Get(ResidentKey(kResidentRgbSource), "Novy").has_value(), c.stored);
        EXPECT_EQ(app.registry.Get(ResidentKey(kResidentRgbSource), "Photo").has_value(),
                  !c.deleted);
        EXPECT_EQ(app.registry.OpenKeyCount(), 0u);
    }

    // A list whose key does not exist cannot be created by a standard user: nothing is listed.
    AppState app;
    app.registry.RefuseOperations(testing::kWritesRefused);
    testing::WithList(host, IDD_CRD_MATCHING, IDC_CRD_COLOR_SPACE, [&](const auto& list) {
        ListResidentProfiles(list, kResidentCsa);
        EXPECT_EQ(list.GetCount(), 0);
    });
    EXPECT_FALSE(app.registry.HasKey(ResidentKey(kResidentCsa)));
}

} // namespace
} // namespace pages
