// The profile management dialog: what it shows, the records "Pridať" writes and where the
// description goes, the five refusals, and what "Vymazať" takes from the registry, the caller's
// list and the block (only the deletion of the chosen profile changes the choice); a write or
// delete the registry refuses changes no list.
#include "pages/colour/profile_management_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/pages/colour/colour_test_support.h"
#include "ui/services.h"

namespace pages {
namespace {

using testing::AppState;
using ::testing::ElementsAre;
using testing::PutResident;
using testing::ResidentKey;
using ui::headless::TestHost;

class ProfileManagementDialogTest : public ::testing::Test {
protected:
    // Runs the dialog for the RGB source list of a running ICC template (sorted), whose
    // entries are `callerEntries` (text, code) with `callerSelected` selected; `body` acts in
    // the dialog.
    void Run(std::vector<std::pair<std::string, int>> callerEntries,
             const std::string& callerSelected, const std::function<void()>& body,
             int kind = kResidentRgbSource) {
        testing::WithList(host, IDD_ICC_MATCHING, IDC_ICC_RGB_SOURCE, [&](const auto& caller) {
            for (const auto& [text, code] : callerEntries)
                caller.SetItemData(caller.AddString(text), code);
            caller.SetCurSel(caller.FindStringExact(-1, callerSelected));
            ProfileManagementDialog dialog(caller, kind);
            host.OnDialog(IDD_PROFILE_MANAGEMENT, body);
            EXPECT_EQ(dialog.DoModal(), ui::kIdOk);
            callerItems = host.Items(IDC_ICC_RGB_SOURCE);
            callerData = host.ItemData(IDC_ICC_RGB_SOURCE);
            callerSelection = host.SelectedText(IDC_ICC_RGB_SOURCE);
        });
    }

    TestHost host;
    std::vector<std::string> callerItems;
    std::vector<std::intptr_t> callerData;
    std::string callerSelection;
};

// The kind's profiles, sorted, the first one chosen with its file name; the limits of what can
// be typed; the help ids.
TEST_F(ProfileManagementDialogTest, Opening) {
    AppState app;
    app.InstallHelpFile();
    PutResident(app.registry, kResidentRgbSource, "Zeta", "ZETA.ICC");
    PutResident(app.registry, kResidentRgbSource, "Alfa", "ALFA.ICC");
    PutResident(app.registry, kResidentSimulation, "Iny druh", "INY.ICC");
    Run({}, "", [&] {
        EXPECT_THAT(host.Items(IDC_PROFILE_DESCRIPTION), ElementsAre("Alfa", "Zeta"));
        EXPECT_EQ(host.Text(IDC_PROFILE_DESCRIPTION), "Alfa");
        EXPECT_EQ(host.Text(IDC_PROFILE_FILE_NAME), "ALFA.ICC");
        EXPECT_EQ(host.Combo(IDC_PROFILE_DESCRIPTION).GetLimitText(), 63);
        EXPECT_EQ(host.EditControl(IDC_PROFILE_FILE_NAME).GetLimitText(), 12);
        host.ChooseItem(IDC_PROFILE_DESCRIPTION, "Zeta");
        EXPECT_EQ(host.Text(IDC_PROFILE_FILE_NAME), "ZETA.ICC");
        EXPECT_EQ(ui::Window(host.ActiveDialog()).GetContextHelpId(),
                  unsigned{IDD_PROFILE_MANAGEMENT});
        EXPECT_EQ(host.Control(IDC_PROFILE_ADD).GetContextHelpId(), unsigned{IDC_PROFILE_ADD});
        host.Click(IDC_PROFILE_HELP);
        ASSERT_FALSE(host.HelpCalls().empty());
        EXPECT_EQ(host.HelpCalls().back().data, unsigned{IDD_PROFILE_MANAGEMENT});
        host.PressOk();
    });

    AppState empty;
    Run({}, "", [&] {
        EXPECT_EQ(host.Combo(IDC_PROFILE_DESCRIPTION).GetCount(), 0);
        EXPECT_EQ(host.Text(IDC_PROFILE_DESCRIPTION), "");
        EXPECT_EQ(host.Text(IDC_PROFILE_FILE_NAME), "");
        host.PressOk();
    });
}

// A new description writes a fresh record under the kind's key and joins both lists with the
// kind as the caller's item data; everything else is refused with its message, writing nothing.
TEST_F(ProfileManagementDialogTest, Add) {
    const std::string dosName = testing::Cp1250(
        u8"Názov načítaného súboru musí zodpovedať konvenciám DOS (8.3).\n Zadajte ho znovu... ");
    const struct {
        const char* what;
        std::string description;
        std::string fileName;
        std::string message; // empty: added
        bool errorCaption;
    } cases[] = {
        {"new profile", "Nový profil", "NOVY.ICC", "", false},
        {"eight and three", "Dlhý", "ABCDEFGH.ICM", "", false},
        {"existing, in another case", "EXISTUJUCI", "E.ICC", kDuplicateDescriptionText, true},
        {"hidden on the printer's disk", "na disku", "D.ICC", kDuplicateDescriptionText, true},
        {"four-letter extension", "Novy", "NOVY.ICCX", dosName, false},
        {"nine-letter base", "Novy", "ABCDEFGHI.ICC", dosName, false},
        {"no description", "", "NOVY.ICC", kMissingDescriptionOrFileText, true},
        {"no file name", "Novy", "", kMissingDescriptionOrFileText, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AppState app;
        PutResident(app.registry, kResidentRgbSource, "Existujuci", "E.ICC");
        PutResident(app.registry, kResidentRgbSource, "Na disku", "D.ICC", 1);
        const std::vector<std::string> before =
            app.registry.ValueNames(ResidentKey(kResidentRgbSource));
        const std::string description = testing::Cp1250(std::u8string_view(
            reinterpret_cast<const char8_t*>(c.description.data()), c.description.size()));
        Run({{"sRGB", 101}, {"Existujuci", kResidentRgbSource}}, "sRGB", [&] {
            host.ReplaceText(IDC_PROFILE_DESCRIPTION, description);
            host.ReplaceText(IDC_PROFILE_FILE_NAME, c.fileName);
            if (!c.message.empty())
                host.AnswerMessageBox(ui::kIdOk);
            const std::size_t shown = host.MessageBoxes().size();
            host.Click(IDC_PROFILE_ADD);
            if (c.message.empty()) {
                EXPECT_EQ(host.MessageBoxes().size(), shown);
                EXPECT_THAT(host.Items(IDC_PROFILE_DESCRIPTION), ::testing::Contains(description));
            } else {
                ASSERT_EQ(host.MessageBoxes().size(), shown + 1);
                const ui::MessageBoxCall& box = host.MessageBoxes().back();
                EXPECT_EQ(box.text, c.message);
                EXPECT_EQ(box.caption, c.errorCaption ? "Error" : ui::ApplicationName());
                if (c.message == dosName) {
                    EXPECT_NE(box.style & ui::kMbTaskModal, 0u);
                    EXPECT_EQ(host.FocusedId(), IDC_PROFILE_FILE_NAME);
                }
            }
            host.PressOk();
        });
        const auto value = app.registry.Get(ResidentKey(kResidentRgbSource), description);
        if (c.message.empty()) {
            ASSERT_TRUE(value);
            std::string expected(362, '\0');
            expected.replace(6, description.size(), description);
            expected.replace(102, c.fileName.size(), c.fileName);
            EXPECT_EQ(value->data, expected);
            EXPECT_EQ(value->type, platform::RegistryType::Binary);
            EXPECT_THAT(callerItems, ::testing::Contains(description));
            const auto at = std::find(callerItems.begin(), callerItems.end(), description);
            EXPECT_EQ(callerData[static_cast<std::size_t>(at - callerItems.begin())],
                      kResidentRgbSource);
            EXPECT_EQ(callerSelection, "sRGB");
        } else {
            EXPECT_EQ(app.registry.ValueNames(ResidentKey(kResidentRgbSource)), before);
            EXPECT_THAT(callerItems, ElementsAre("Existujuci", "sRGB"));
        }
    }
}

// When the registry refuses the record or its deletion, no list shows a change: "Pridať" lists
// nothing that is not stored and "Vymazať" keeps what is still stored. Registry failures here
// are silent.
TEST_F(ProfileManagementDialogTest, RefusedWritesChangeNoList) {
    for (unsigned refused :
         {testing::kWritesRefused, testing::Refusing(platform::RegistryOperation::Set) |
                                       testing::Refusing(platform::RegistryOperation::Delete)}) {
        SCOPED_TRACE(refused);
        AppState app;
        PutResident(app.registry, kResidentRgbSource, "Existujuci", "E.ICC");
        app.registry.RefuseOperations(refused, ResidentKey(kResidentRgbSource));
        app.block().setRgbSource(kResidentRgbSource);
        app.block().setRgbSourceProfileName("Existujuci");
        const app::PrinterSettingsBlock before = app.block();
        Run({{"sRGB", 101}, {"Existujuci", kResidentRgbSource}}, "Existujuci", [&] {
            const std::size_t shown = host.MessageBoxes().size();
            host.ReplaceText(IDC_PROFILE_DESCRIPTION, "Novy");
            host.ReplaceText(IDC_PROFILE_FILE_NAME, "NOVY.ICC");
            host.Click(IDC_PROFILE_ADD);
            EXPECT_THAT(host.Items(IDC_PROFILE_DESCRIPTION), ElementsAre("Existujuci"));
            host.ChooseItem(IDC_PROFILE_DESCRIPTION, "Existujuci");
            host.Click(IDC_PROFILE_DELETE);
            EXPECT_THAT(host.Items(IDC_PROFILE_DESCRIPTION), ElementsAre("Existujuci"));
            EXPECT_EQ(host.MessageBoxes().size(), shown);
            host.PressOk();
        });
        EXPECT_THAT(callerItems, ElementsAre("Existujuci", "sRGB"));
        EXPECT_EQ(callerSelection, "Existujuci");
        EXPECT_EQ(app.block(), before);
        EXPECT_THAT(app.registry.ValueNames(ResidentKey(kResidentRgbSource)),
                    ElementsAre("Existujuci"));
    }
}

// "Vymazať" removes the value and both entries; the block's choice falls back only when the
// chosen profile went, whatever the positions of the others.
TEST_F(ProfileManagementDialogTest, Delete) {
    const struct {
        const char* what;
        int kind;
        std::string deleted;
        std::string selectedBefore;
        std::string selectedAfter;
        int codeAfter; // the block's code of the kind (starting at the kind)
    } cases[] = {
        {"the chosen RGB source", kResidentRgbSource, "Beta", "Beta", "sRGB", 101},
        {"the entry just before the chosen one", kResidentRgbSource, "Alfa", "Auto", "Auto", 108},
        {"an entry after the chosen one", kResidentRgbSource, "Beta", "Alfa", "Alfa", 108},
        {"the chosen simulation", kResidentSimulation, "Alfa", "Alfa", "None", 119},
        {"the chosen destination", kResidentDestination, "Alfa", "Alfa", "Auto", 143},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AppState app;
        for (const char* name : {"Alfa", "Beta"})
            PutResident(app.registry, c.kind, name, std::string(name) + ".ICC");
        app.block().setRgbSource(static_cast<std::int16_t>(c.kind));
        app.block().setColorSimulation(static_cast<std::int16_t>(c.kind));
        app.block().setDestinationProfile(static_cast<std::int16_t>(c.kind));
        // The caller's list as the ICC dialog fills it; every fallback code is offered.
        const std::vector<std::pair<std::string, int>> caller = {
            {"sRGB", 101}, {"Alfa", c.kind}, {"Beta", c.kind}, {"Auto", 143}, {"None", 119}};
        Run(
            caller, c.selectedBefore,
            [&] {
                host.ChooseItem(IDC_PROFILE_DESCRIPTION, c.deleted);
                host.Click(IDC_PROFILE_DELETE);
                const std::string left = c.deleted == "Alfa" ? "Beta" : "Alfa";
                EXPECT_THAT(host.Items(IDC_PROFILE_DESCRIPTION), ElementsAre(left));
                EXPECT_EQ(host.Text(IDC_PROFILE_DESCRIPTION), left);
                EXPECT_EQ(host.Text(IDC_PROFILE_FILE_NAME), left + ".ICC");
                host.PressOk();
            },
            c.kind);
        EXPECT_EQ(std::count(callerItems.begin(), callerItems.end(), c.deleted), 0);
        EXPECT_EQ(callerItems.size(), caller.size() - 1);
        EXPECT_EQ(callerSelection, c.selectedAfter);
        const app::PrinterSettingsBlock& b = app.block();
        const int code = c.kind == kResidentRgbSource    ? b.rgbSource()
                         : c.kind == kResidentSimulation ? b.colorSimulation()
                                                         : b.destinationProfile();
        EXPECT_EQ(code, c.codeAfter);
        EXPECT_EQ(app.registry.ValueNames(ResidentKey(c.kind)).size(), 1u);
    }
}

// The refusals of "Vymazať"; deleting the last profile empties both fields.
TEST_F(ProfileManagementDialogTest, DeleteRefusalsAndTheLastProfile) {
    AppState app;
    PutResident(app.registry, kResidentRgbSource, "Jediny", "J.ICC");
    Run({}, "", [&] {
        const struct {
            std::string typed;
            const char* message;
        } refusals[] = {
            {"", kMissingDescriptionText},
            {"Jed", kUnknownDescriptionText},
        };
        for (const auto& r : refusals) {
            host.ReplaceText(IDC_PROFILE_DESCRIPTION, r.typed);
            host.AnswerMessageBox(ui::kIdOk);
            host.Click(IDC_PROFILE_DELETE);
            ASSERT_FALSE(host.MessageBoxes().empty());
            EXPECT_EQ(host.MessageBoxes().back().text, r.message);
            EXPECT_EQ(host.MessageBoxes().back().caption, "Error");
            EXPECT_EQ(app.registry.ValueNames(ResidentKey(kResidentRgbSource)).size(), 1u);
        }
        host.ReplaceText(IDC_PROFILE_DESCRIPTION, "JEDINY");
        host.Click(IDC_PROFILE_DELETE);
        EXPECT_EQ(host.Combo(IDC_PROFILE_DESCRIPTION).GetCount(), 0);
        EXPECT_EQ(host.Text(IDC_PROFILE_DESCRIPTION), "");
        EXPECT_EQ(host.Text(IDC_PROFILE_FILE_NAME), "");
        host.PressOk();
    });
    EXPECT_TRUE(app.registry.ValueNames(ResidentKey(kResidentRgbSource)).empty());
}

} // namespace
} // namespace pages
