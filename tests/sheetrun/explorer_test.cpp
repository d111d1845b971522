// The explorer can fail: a test-only page whose handler changes the block behind its control,
// and one whose store reports a refused write as saved, are each reported, while honest
// versions of the same pages pass. Its sequences are replayable (the same actions and findings
// from the recorded plan), shrinkable, and written as drvsim scripts that drvsim parses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

#include "app/option_combo_box.h"
#include "platform/codepage1250.h"
#include "platform/memory_registry.h"
#include "tests/pages/page_test_support.h"
#include "tools/drvsim/script.h"
#include "tools/sheetrun/explore_run.h"
#include "tools/sheetrun/sheet_explorer.h"
#include "ui/data_exchange.h"
#include "ui/message_map.h"

namespace sheetrun {
namespace {

using pages::testing::AppState;
using ::testing::IsEmpty;

// The halftone lists as a page: each list shows its block field. Planted, the image list also
// changes the text halftone, whose list keeps showing the old one.
class HalftonePage : public ui::PropertyPage {
public:
    explicit HalftonePage(bool planted) : ui::PropertyPage(IDD_HALFTONE), planted_(planted) {}

protected:
    void DoDataExchange(ui::DataExchange& dx) override {
        dx.Control(IDC_HALFTONE_IMAGE, image_);
        dx.Control(IDC_HALFTONE_TEXT, text_);
        dx.Control(IDC_HALFTONE_GRAPHICS, graphics_);
    }
    bool OnSetActive() override {
        const app::PrinterSettingsBlock& block = app::TheApp().settings;
        for (const auto& [list, code] :
             {std::pair{&image_, block.imageHalftone()}, std::pair{&text_, block.textHalftone()},
              std::pair{&graphics_, block.graphicsHalftone()}}) {
            list->ResetContent();
            list->FillFromTable(app::HalftoneNames, code);
        }
        return ui::PropertyPage::OnSetActive();
    }
    ui::MessageMap GetMessageMap() const override {
        static const ui::MessageEntry entries[] = {
            ui::OnChoice(IDC_HALFTONE_IMAGE, &HalftonePage::OnImage),
            ui::OnChoice(IDC_HALFTONE_TEXT, &HalftonePage::OnText),
            ui::OnChoice(IDC_HALFTONE_GRAPHICS, &HalftonePage::OnGraphics),
        };
        return entries;
    }

private:
    static std::int16_t Code(const app::OptionComboBox& list) {
        return static_cast<std::int16_t>(list.SelectedCode());
    }
    void OnImage() {
        app::PrinterSettingsBlock& block = app::TheApp().settings;
        block.setImageHalftone(Code(image_));
        if (planted_)
            block.setTextHalftone(static_cast<std::int16_t>(block.textHalftone() + 1));
    }
    void OnText() { app::TheApp().settings.setTextHalftone(Code(text_)); }
    void OnGraphics() { app::TheApp().settings.setGraphicsHalftone(Code(graphics_)); }

    bool planted_;
    app::OptionComboBox image_;
    app::OptionComboBox text_;
    app::OptionComboBox graphics_;
};

constexpr char kPlantedPrinter[] = "Vela Planted";
const std::string kPlantedProfiles =
    std::string("System\\CurrentControlSet\\Control\\Print\\Printers\\") + kPlantedPrinter +
    "\\Color Profiles";

// The quick colour list as a page whose first button saves a colour profile. Planted, the
// store reports the write as saved whatever the registry said, and the list shows the profile.
class StorePage : public ui::PropertyPage {
public:
    explicit StorePage(bool planted) : ui::PropertyPage(IDD_FEATURES), planted_(planted) {}

protected:
    void DoDataExchange(ui::DataExchange& dx) override { dx.Control(IDC_QUICK_COLOR, profiles_); }
    bool OnSetActive() override {
        profiles_.ResetContent();
        profiles_.SetItemData(profiles_.AddString("Automaticky"), 1);
        for (const std::string& name : saved_)
            profiles_.SetItemData(profiles_.AddString(name), 0);
        profiles_.SelectCode(1);
        return ui::PropertyPage::OnSetActive();
    }
    ui::MessageMap GetMessageMap() const override {
        static const ui::MessageEntry entries[] = {
            ui::OnClicked(IDC_GRAPHICS_OPTIONS, &StorePage::OnSave),
        };
        return entries;
    }

private:
    // Writes the profile; true when the store says it is saved.
    bool Save(const std::string& name) {
        platform::Registry& registry = platform::registry();
        platform::RegistryKey key = 0;
        long result = registry.CreateKey(kPlantedProfiles, platform::kKeyAllAccess, &key);
        if (result == platform::kRegistryOk) {
            const std::string record(app::ColorProfileRecord::kSize, '\0');
            result = registry.SetValue(key, name, platform::RegistryType::Binary, record.data(),
                                       static_cast<std::uint32_t>(record.size()));
            registry.CloseKey(key);
        }
        return planted_ || result == platform::kRegistryOk;
    }
    void OnSave() {
        const std::string name = "Profil " + std::to_string(saved_.size() + 1);
        if (!Save(name))
            return;
        saved_.push_back(name);
        profiles_.SetItemData(profiles_.AddString(name), 0);
    }

    bool planted_;
    std::vector<std::string> saved_;
    app::OptionComboBox profiles_;
};

// Explores a sheet of one page with `seed`; the findings.
std::vector<Finding> Explore(ui::PropertyPage& page, unsigned seed,
                             const platform::MemoryRegistry* registry) {
    ui::headless::TestHost host;
    SheetExplorer::Options options;
    options.seed = seed;
    options.actions = 40;
    options.registry = registry;
    SheetExplorer explorer(host, options);
    ui::PropertySheet sheet("Vela Planted");
    sheet.AddPage(page);
    host.OnSheet([&] { explorer.Explore(sheet); });
    sheet.DoModal();
    EXPECT_THAT(host.TakeFailures(), IsEmpty());
    return explorer.Findings();
}

bool HasKind(const std::vector<Finding>& findings, const std::string& kind) {
    return std::any_of(findings.begin(), findings.end(),
                       [&](const Finding& finding) { return finding.kind == kind; });
}

// A handler that changes the text halftone behind its list is caught when OK is accepted;
// the honest page passes the same sequences.
TEST(Explorer, CatchesABlockFieldChangedBehindItsControl) {
    int caught = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        for (const bool planted : {true, false}) {
            AppState app;
            HalftonePage page(planted);
            const std::vector<Finding> findings = Explore(page, seed, nullptr);
            if (planted)
                caught += HasKind(findings, "shown 119/1481") ? 1 : 0;
            else
                EXPECT_THAT(findings, IsEmpty()) << "seed " << seed;
        }
    }
    EXPECT_GT(caught, 0);
}

// A store that reports a refused write as saved shows a profile the registry does not hold;
// the honest store shows nothing it could not write.
TEST(Explorer, CatchesARefusedWriteShownAsSaved) {
    int caught = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        for (const bool planted : {true, false}) {
            AppState app;
            app.block().setPrinterName(kPlantedPrinter);
            app.block().setColorProfileIndex(1);
            app.registry.RefuseOperations(pages::testing::kWritesRefused,
                                          "System\\CurrentControlSet\\Control\\Print\\Printers\\");
            StorePage page(planted);
            const std::vector<Finding> findings = Explore(page, seed, &app.registry);
            if (planted)
                caught += HasKind(findings, "stored 105/1042") ? 1 : 0;
            else
                EXPECT_THAT(findings, IsEmpty()) << "seed " << seed;
        }
    }
    EXPECT_GT(caught, 0);
}

// Every kind of action encodes to one line and back, and becomes a script line that drvsim
// reads as the command that replays it.
TEST(ExploreAction, EncodesAndWritesDrvsimLines) {
    const auto action = [](ActionKind kind, int id, int index = 0, bool flag = false,
                           std::string text = {}) {
        Action a;
        a.kind = kind;
        a.context = 104;
        a.id = id;
        a.index = index;
        a.flag = flag;
        a.text = std::move(text);
        return a;
    };
    const struct {
        Action action;
        drvsim::Command command;
        const char* line;
    } cases[] = {
        {action(ActionKind::Choose, 1020, 3), drvsim::Command::Select, "select IDC_PAPER_SIZE #3"},
        {action(ActionKind::ListKey, 1022, 4), drvsim::Command::Key,
         "key IDC_MEDIA_TYPE wheel-down"},
        {action(ActionKind::ListLetter, 1020, 0, false, "\x8E"), drvsim::Command::Key,
         "key IDC_PAPER_SIZE \xC5\xBD"},
        {action(ActionKind::DismissList, 1023, 0, true), drvsim::Command::Dismiss,
         "dismiss IDC_OUTPUT_BIN outside"},
        {action(ActionKind::Type, 1342, 0, false, " 12a\\#x "), drvsim::Command::Type,
         "type IDC_DOC_COPIES \\s12a\\\\#x\\s"},
        {action(ActionKind::Type, 1061, 0, false, "#1"), drvsim::Command::Type,
         "type IDC_OVERLAY_ALL_NAME \\#1"},
        {action(ActionKind::Type, 1061), drvsim::Command::Type, "type IDC_OVERLAY_ALL_NAME"},
        {action(ActionKind::Click, 1024), drvsim::Command::Click, "click IDC_ADVANCED_FEED"},
        {action(ActionKind::Focus, 1149), drvsim::Command::Focus, "focus IDC_ACCOUNT_HOST"},
        {action(ActionKind::Tab, 0, 0, true), drvsim::Command::Tab, "tab back"},
        {action(ActionKind::Spin, 1343, 0, true), drvsim::Command::Spin,
         "spin IDC_DOC_COPIES_SPIN up"},
        {action(ActionKind::Page, 0, 5), drvsim::Command::Page, "page 5"},
        {action(ActionKind::Ok, 0), drvsim::Command::Ok, "ok"},
        {action(ActionKind::Cancel, 0), drvsim::Command::Cancel, "cancel"},
        {action(ActionKind::Enter, 0), drvsim::Command::Enter, "enter"},
        {action(ActionKind::Answer, ui::kIdNo), drvsim::Command::Answer, "answer IDNO"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(DecodeAction(EncodeAction(c.action)), c.action);
        const std::string line = ScriptLine(c.action);
        EXPECT_EQ(line, c.line);
        drvsim::ScriptError error;
        const auto steps = drvsim::ParseScript(line, &error);
        ASSERT_TRUE(steps.has_value()) << error.message;
        EXPECT_EQ((*steps)[0].command, c.command);
        if (c.action.kind == ActionKind::Type || c.action.kind == ActionKind::ListLetter) {
            EXPECT_EQ(platform::Utf8ToCp1250((*steps)[0].text), c.action.text);
        }
    }
    EXPECT_EQ(DecodeAction("swim 1 2 3 0 -"), std::nullopt);
    EXPECT_EQ(DecodeAction("type 104 1342 0 0 4"), std::nullopt);
}

// Shrinking keeps the actions the failure needs, and no more, within its budget of runs.
TEST(ExploreShrink, KeepsWhatTheFailureNeeds) {
    std::vector<Action> actions(40);
    for (int i = 0; i < 40; ++i)
        actions[static_cast<std::size_t>(i)].id = i;
    const auto needs = [](const std::vector<Action>& plan) {
        const auto has = [&](int id) {
            return std::any_of(plan.begin(), plan.end(),
                               [&](const Action& a) { return a.id == id; });
        };
        return has(7) && has(31);
    };
    const std::vector<Action> shrunk = ShrinkActions(actions, needs, 200);
    ASSERT_EQ(shrunk.size(), 2u);
    EXPECT_EQ(shrunk[0].id, 7);
    EXPECT_EQ(shrunk[1].id, 31);
    int runs = 0;
    ShrinkActions(
        actions, [&](const std::vector<Action>& plan) { return ++runs, needs(plan); }, 5);
    EXPECT_EQ(runs, 5);
}

class ExploreSequenceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(mkdtemp(scratch), nullptr); }
    void TearDown() override {
        unlink((std::string(scratch) + "/p.ppd").c_str());
        rmdir(scratch);
    }

    SequenceSetup Setup(unsigned seed, bool device, int block, SequenceSetup::Refused refused) {
        SequenceSetup setup;
        setup.ppdPath = std::string(VELA_SOURCE_DIR) + "/tests/pages/data/paper.ppd";
        setup.scratchDir = scratch;
        setup.device = device;
        setup.block = block;
        setup.seed = seed;
        setup.actions = 60;
        setup.refused = refused;
        return setup;
    }

    char scratch[32] = "/tmp/sxt.XXXXXX";
};

// Our paper PPD through the whole program: both modes, the three blocks and refused writes
// pass; a sequence done again from its recorded actions does and finds the same, and its
// script is one drvsim reads.
TEST_F(ExploreSequenceTest, PaperPpdPassesAndReplays) {
    using Refused = SequenceSetup::Refused;
    const struct {
        unsigned seed;
        bool device;
        int block;
        Refused refused;
    } cases[] = {
        {11, false, 0, Refused::Nothing}, {12, true, 0, Refused::Writes},
        {13, false, 1, Refused::Values},  {14, true, 1, Refused::Nothing},
        {15, false, 2, Refused::Writes},  {16, true, 2, Refused::Nothing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seed);
        const SequenceSetup setup = Setup(c.seed, c.device, c.block, c.refused);
        const SequenceResult first = RunSequence(setup);
        for (const Finding& failure : first.failures)
            ADD_FAILURE() << failure.kind << ": " << failure.detail;
        EXPECT_GE(first.actions.size(), 60u);
        const SequenceResult again = RunSequence(setup, &first.actions);
        EXPECT_EQ(again.actions, first.actions);
        EXPECT_EQ(again.script, first.script);
        std::string script;
        for (const std::string& line : first.script)
            script += line + "\n";
        drvsim::ScriptError error;
        EXPECT_TRUE(drvsim::ParseScript(script, &error).has_value())
            << error.line << ": " << error.message;
    }
}

} // namespace
} // namespace sheetrun
