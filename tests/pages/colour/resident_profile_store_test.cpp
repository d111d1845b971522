// The printer-resident profile lists: the record bytes written, what a list offers (disk,
// unreadable values, names too long), and which profile a text chooses or deletes (the exact
// name first, the substring rule only without one).
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

// A disk profile only with the disk; unreadable values and names too long are passed over and
// the walk goes on; the key is created by the first listing, which shows nothing.
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
        app.registry.Put(key, "Dlhy", RegistryType::Binary, std::string(363, '\0'));
        PutResident(app.registry, kResidentSimulation, std::string(260, 'n'));
        app.registry.Put(key, "Bez mena", RegistryType::Binary, std::string(362, '\0'));
        PutResident(app.registry, kResidentSimulation, "Alfa");
        testing::WithList(host, IDD_CRD_MATCHING, IDC_CRD_COLOR_SPACE, [&](const auto& list) {
            ListResidentProfiles(list, kResidentSimulation);
            const auto items = host.Items(IDC_CRD_COLOR_SPACE);
            if (disk)
                EXPECT_THAT(items, ElementsAre("Alfa", "Na disku", "Zeta"));
            else
                EXPECT_THAT(items, ElementsAre("Alfa", "Zeta"));
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

// Find needs the exact name; Exists ignores case and sees profiles the list hides.
TEST(ResidentProfileStore, FindAndExists) {
    AppState app;
    PutResident(app.registry, kResidentRgbSource, "Photo Pro", "PRO.ICC");
    PutResident(app.registry, kResidentRgbSource, "Disk", "DISK.ICC", 1);
    const auto found = FindResidentProfile("Photo Pro", kResidentRgbSource);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->fileName(), "PRO.ICC");
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
// it contains; the name goes into the kind's field, cut to it.
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
        {"CSA field cut to 31", kResidentCsa, longName, true, std::string(31, 'L')},
        {"long name cut to 63", kResidentRgbSource, longName, true, std::string(63, 'L')},
    };
    for (const auto& c : cases) {
        AppState app;
        for (const std::string& name :
             {std::string("Photo"), std::string("Photo Pro"), std::string("Vivid"), longName})
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

} // namespace
} // namespace pages
