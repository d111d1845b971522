// The watermark editor on the headless backend: the name checks and their messages, the live
// range checks, what the controls show for the record and the printer, the font fallbacks,
// the save steps in order with the profile written only by a run that ends with OK, and the
// defaults.
#include "pages/overlay/watermark_editor_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "app/numeric_check.h"
#include "app/text_helpers.h"
#include "pages/overlay/watermark_reset.h"
#include "platform/font_enumerator.h"
#include "tests/pages/overlay/overlay_test_support.h"
#include "tests/pages/page_test_support.h"
#include "ui/services.h"

namespace pages {
namespace {

using namespace testing;
using ::testing::ElementsAre;
using ui::headless::TestHost;

const std::string kDuplicateMessage =
    Cp1250(u8"Nedajú sa duplikovať mená preddefinovaných vodoznakov");
const std::string kNoNameMessage = Cp1250(u8"Vodoznak bez názvu sa nedá uložiť");
const std::string kNamedNoneMessage = Cp1250(u8"Vodoznak nesmie mať názov Žiadny");
const std::string kNoTextMessage = Cp1250(u8"Vodoznak bez zadaného textu sa nedá uložit");

std::string Range(int low, int high) {
    return Cp1250(u8"Hodnota je mimo rozsahu. Mala by byť medzi ") + std::to_string(low) + " a " +
           std::to_string(high);
}

// Empty first; the predefined names (as typed or in upper case) only while adding; "Žiadny"
// in any case always. "Žiadny" written exactly is a predefined name.
TEST(WatermarkNameCheck, OrderAndCases) {
    const struct {
        std::string typed;
        int mode;
        WatermarkNameProblem problem;
    } cases[] = {
        {"", kWatermarkAdding, WatermarkNameProblem::Empty},
        {"", kWatermarkEditing, WatermarkNameProblem::Empty},
        {Cp1250(u8"kópia"), kWatermarkAdding, WatermarkNameProblem::Predefined},
        {kCopy, kWatermarkAdding, WatermarkNameProblem::Predefined},
        {kCopy, kWatermarkEditing, WatermarkNameProblem::None},
        {Cp1250(u8"náhľad"), kWatermarkAdding, WatermarkNameProblem::Predefined},
        {kNone, kWatermarkAdding, WatermarkNameProblem::Predefined},
        {Cp1250(u8"žiadny"), kWatermarkAdding, WatermarkNameProblem::NamedNone},
        {Cp1250(u8"ŽIADNY"), kWatermarkAdding, WatermarkNameProblem::NamedNone},
        {Cp1250(u8"ŽiAdNy"), kWatermarkEditing, WatermarkNameProblem::NamedNone},
        {"Logo", kWatermarkAdding, WatermarkNameProblem::None},
        {Cp1250(u8"Kópia 2"), kWatermarkAdding, WatermarkNameProblem::None},
        {Cp1250(u8"Žiadny!"), kWatermarkAdding, WatermarkNameProblem::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckWatermarkName(c.typed, c.mode), c.problem) << c.typed << " " << c.mode;
    EXPECT_EQ(WatermarkNameMessage(WatermarkNameProblem::Empty), kNoNameMessage);
    EXPECT_EQ(WatermarkNameMessage(WatermarkNameProblem::Predefined), kDuplicateMessage);
    EXPECT_EQ(WatermarkNameMessage(WatermarkNameProblem::NamedNone), kNamedNoneMessage);
    EXPECT_EQ(WatermarkNameMessage(WatermarkNameProblem::None), "");
}

// The live check reads the leading number; size, x and y let one-character values pass.
TEST(WatermarkLiveCheck, LeadingNumberAndLeniency) {
    const WatermarkNumberField size{IDC_WM_SIZE, IDC_WM_SIZE_SPIN, 4, 350, true};
    const WatermarkNumberField angle{IDC_WM_ANGLE, IDC_WM_ANGLE_SPIN, 0, 360, false};
    const WatermarkNumberField x{IDC_WM_OFFSET_X, IDC_WM_OFFSET_X_SPIN, -306, 306, true};
    const struct {
        const WatermarkNumberField* field;
        const char* text;
        bool reported;
    } cases[] = {
        {&size, "3", false},   {&size, "0", false},  {&size, "00", false}, {&size, "35", false},
        {&size, "400", true},  {&size, "3x", false}, {&size, "-1", true},  {&angle, "3", false},
        {&angle, "361", true}, {&angle, "-1", true}, {&angle, "", false},  {&x, "-", false},
        {&x, "-307", true},    {&x, "306", false},   {&x, "+400", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LiveCheckReports(*c.field, c.text), c.reported)
            << c.field->editId << " " << c.text;
    const struct {
        const char* text;
        int value;
    } numbers[] = {
        {" 12ab", 12},
        {"-5", -5},
        {"+7", 7},
        {"abc", 0},
        {"", 0},
        {"- 5", 0},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
    };
    for (const auto& n : numbers)
        EXPECT_EQ(LeadingInteger(n.text), n.value) << n.text;
}

class WatermarkEditorTest : public ::testing::Test {
protected:
    WatermarkEditorTest() : fontServices_(platform::Services{nullptr, nullptr, &fonts}) {
        app::ApplyNewBlockDefaults(app.block());
        app.block().setColorDevice(1);
        app.block().setWatermarkName("Vodoznak");
    }

    int Run(int mode, const std::function<void()>& body) {
        CWatermarkEditorDialog dialog(mode);
        host.OnDialog(IDD_WATERMARK_EDITOR, body);
        return dialog.DoModal();
    }

    std::vector<std::string> Messages() {
        std::vector<std::string> texts;
        for (const ui::MessageBoxCall& call : host.MessageBoxes())
            texts.push_back(call.text);
        return texts;
    }

    AppState app;
    TestHost host;
    platform::FixedFontEnumerator fonts;

private:
    platform::ScopedServices fontServices_;
};

// What the controls show: the record's values, the name locked while editing (a profile-less
// watermark then starts from the defaults), the colour list only on a colour printer, the
// intensity only for black there, offsets only off-centre.
TEST_F(WatermarkEditorTest, ControlsShowTheRecord) {
    const struct {
        int colorDevice;
        std::int16_t color;
        int mode;
        bool colorShown, intensityEnabled;
        const char* size;
    } cases[] = {
        {1, 0, kWatermarkAdding, true, true, "100"},
        {1, 1, kWatermarkAdding, true, false, "100"},
        {0, 2, kWatermarkEditing, false, true, "72"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.colorDevice * 10 + c.color);
        app::PrinterSettingsBlock& block = app.block();
        block.setColorDevice(static_cast<std::int16_t>(c.colorDevice));
        block.setWatermarkColor(c.color);
        block.setWatermarkStyle(2);
        block.setWatermarkSize(100);
        block.setWatermarkOffsetX(-20);
        Run(c.mode, [&] {
            EXPECT_EQ(host.Text(IDC_WM_NAME), "Vodoznak");
            EXPECT_EQ(host.IsEnabled(IDC_WM_NAME), c.mode == kWatermarkAdding);
            EXPECT_EQ(host.Text(IDC_WM_SIZE), c.size);
            EXPECT_EQ(host.IsShown(IDC_WM_COLOR), c.colorShown);
            EXPECT_EQ(host.IsShown(IDC_WM_COLOR_LABEL), c.colorShown);
            for (const int id : {IDC_WM_INTENSITY, IDC_WM_INTENSITY_SPIN, IDC_WM_INTENSITY_LABEL})
                EXPECT_EQ(host.IsEnabled(id), c.intensityEnabled) << id;
            EXPECT_FALSE(host.IsEnabled(IDC_WM_OUTLINE));
            EXPECT_FALSE(host.IsEnabled(IDC_WM_OFFSET_X));
            EXPECT_EQ(host.Check(IDC_WM_POSITION_CENTER), ui::kChecked);
            if (c.mode == kWatermarkAdding) {
                EXPECT_EQ(host.Text(IDC_WM_OFFSET_X), "-20");
                EXPECT_EQ(host.SelectedText(IDC_WM_STYLE), Cp1250(u8"Kurzíva"));
            }
            host.PressCancel();
        });
    }
}

// The colour decides whether the intensity applies; the position radios enable the offsets.
TEST_F(WatermarkEditorTest, LiveChoices) {
    Run(kWatermarkAdding, [&] {
        app::PrinterSettingsBlock& block = app.block();
        host.ChooseItem(IDC_WM_COLOR, Cp1250(u8"Červená"));
        EXPECT_EQ(block.watermarkColor(), 1);
        EXPECT_FALSE(host.IsEnabled(IDC_WM_INTENSITY));
        host.PressListKey(IDC_WM_COLOR, ui::Automation::ListKey::Home);
        EXPECT_TRUE(host.IsEnabled(IDC_WM_INTENSITY_SPIN));
        host.Click(IDC_WM_POSITION_OFFSET);
        EXPECT_EQ(block.watermarkPositionMode(), 1);
        EXPECT_TRUE(host.IsEnabled(IDC_WM_OFFSET_Y));
        host.Click(IDC_WM_POSITION_CENTER);
        EXPECT_FALSE(host.IsEnabled(IDC_WM_OFFSET_Y));
        host.PressCancel();
    });
}

// The font: the block's (in any case), else "Courier New" (or the first family beginning with
// it), else the first family; with no TrueType family at all the font stays as it was.
TEST_F(WatermarkEditorTest, FontFallbacks) {
    const struct {
        std::vector<std::string> families;
        const char* font;
        const char* selected; // empty: nothing to select
        const char* stored;
    } cases[] = {
        {{"Arial", "Courier New", "Times"}, "times", "Times", "times"},
        {{"Arial", "Courier New", "Times"}, "Tahoma", "Courier New", "Courier New"},
        {{"Courier New Baltic", "Arial"}, "Tahoma", "Courier New Baltic", "Courier New"},
        {{"Liberation Mono", "DejaVu Sans"}, "Courier New", "DejaVu Sans", "DejaVu Sans"},
        {{}, "Tahoma", "", "Tahoma"},
        {{}, "Courier New", "", "Courier New"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.font);
        fonts.families = c.families;
        app.block().setWatermarkFont(c.font);
        Run(kWatermarkAdding, [&] {
            EXPECT_EQ(host.SelectedText(IDC_WM_FONT), c.selected);
            EXPECT_EQ(app.block().watermarkFont(), c.stored);
            host.PressCancel();
        });
    }
}

// Typing: angle and intensity are checked at once, size, x and y from their second character;
// loading the controls never reports.
TEST_F(WatermarkEditorTest, LiveRangeChecks) {
    Run(kWatermarkAdding, [&] {
        host.ReplaceText(IDC_WM_SIZE, "3");
        host.ReplaceText(IDC_WM_ANGLE, "3");
        EXPECT_TRUE(host.MessageBoxes().empty());
        host.AnswerMessageBox(ui::kIdOk);
        host.ReplaceText(IDC_WM_SIZE, "400");
        ASSERT_EQ(host.MessageBoxes().size(), 1u);
        EXPECT_EQ(host.MessageBoxes()[0].text, Range(4, 350));
        EXPECT_NE(host.MessageBoxes()[0].style & ui::kMbTaskModal, 0u);
        EXPECT_EQ(host.FocusedId(), IDC_WM_SIZE);
        host.AnswerMessageBox(ui::kIdOk);
        host.ReplaceText(IDC_WM_INTENSITY, "101");
        EXPECT_EQ(host.MessageBoxes().back().text, Range(0, 100));
        // The checks store nothing.
        EXPECT_EQ(app.block().watermarkSize(), 72);
        host.PressCancel();
    });
    // A record with values out of range loads quietly, also through "Východiskové".
    app.block().setWatermarkSize(1000);
    app.block().setWatermarkAngle(-5);
    const std::size_t shown = host.MessageBoxes().size();
    Run(kWatermarkAdding, [&] {
        EXPECT_EQ(host.Text(IDC_WM_SIZE), "1000");
        host.Click(IDC_WM_DEFAULTS);
        EXPECT_EQ(host.Text(IDC_WM_ANGLE), "-5");
        host.PressCancel();
    });
    EXPECT_EQ(host.MessageBoxes().size(), shown);
}

// "Uložiť" checks name, text, then size, angle, intensity, x and y; each refusal shows its
// message, focuses its control, keeps the dialog open and stores no profile.
TEST_F(WatermarkEditorTest, SaveRefusals) {
    struct Case {
        int mode;
        std::string name;
        const char* text;
        int editId; // a number to type, or 0
        const char* number;
        std::string message;
        int focus;
    };
    const Case cases[] = {
        {kWatermarkAdding, "", "T", 0, "", kNoNameMessage, IDC_WM_NAME},
        {kWatermarkAdding, Cp1250(u8"kópia"), "T", 0, "", kDuplicateMessage, IDC_WM_NAME},
        {kWatermarkAdding, kNone, "T", 0, "", kDuplicateMessage, IDC_WM_NAME},
        {kWatermarkAdding, Cp1250(u8"žiADNY"), "T", 0, "", kNamedNoneMessage, IDC_WM_NAME},
        {kWatermarkAdding, "Logo", "", 0, "", kNoTextMessage, IDC_WM_TEXT},
        {kWatermarkAdding, "Logo", "T", IDC_WM_SIZE, "400", Range(4, 350), IDC_WM_SIZE},
        {kWatermarkAdding, "Logo", "T", IDC_WM_SIZE, "", Range(4, 350), IDC_WM_SIZE},
        {kWatermarkAdding, "Logo", "T", IDC_WM_ANGLE, "361", Range(0, 360), IDC_WM_ANGLE},
        {kWatermarkAdding, "Logo", "T", IDC_WM_INTENSITY, "101", Range(0, 100), IDC_WM_INTENSITY},
        {kWatermarkAdding, "Logo", "T", IDC_WM_OFFSET_X, "4a", app::kNonNumericTextMessage,
         IDC_WM_OFFSET_X},
        {kWatermarkAdding, "Logo", "T", IDC_WM_OFFSET_X, "-", app::kNonNumericTextMessage,
         IDC_WM_OFFSET_X},
        {kWatermarkAdding, "Logo", "T", IDC_WM_OFFSET_X, "-400", Range(-306, 306), IDC_WM_OFFSET_X},
        {kWatermarkAdding, "Logo", "T", IDC_WM_OFFSET_Y, "99999999999", Range(-396, 396),
         IDC_WM_OFFSET_Y},
        {kWatermarkEditing, kCopy, "", 0, "", kNoTextMessage, IDC_WM_TEXT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + "/" + c.number);
        app.block().setWatermarkName(c.mode == kWatermarkEditing ? c.name : "Vodoznak");
        const int result = Run(c.mode, [&] {
            if (c.mode == kWatermarkAdding)
                host.ReplaceText(IDC_WM_NAME, c.name);
            host.ReplaceText(IDC_WM_TEXT, c.text);
            if (c.editId != 0) {
                // Pasted, as typing would be cut short by the live check's message.
                host.AnswerMessageBox(ui::kIdOk);
                host.Control(c.editId).SetWindowText(c.number);
                // The offsets are checked even when centred.
            }
            const std::size_t before = host.MessageBoxes().size();
            host.AnswerMessageBox(ui::kIdOk);
            host.PressOk();
            ASSERT_EQ(host.MessageBoxes().size(), before + 1);
            EXPECT_EQ(host.MessageBoxes().back().text, c.message);
            EXPECT_EQ(host.FocusedId(), c.focus);
            EXPECT_TRUE(host.IsEnabled(c.focus));
            host.PressCancel();
        });
        EXPECT_EQ(result, ui::kIdCancel);
        EXPECT_TRUE(app.registry.ValueNames(kProfilesKey).empty());
    }
}

// A good save stores the fields and the profile under the name as shown: the edits take no
// more than the block's fields hold (31 and 63 characters), so nothing typed is cut unseen; a
// predefined watermark is saved under its own name while editing.
TEST_F(WatermarkEditorTest, SaveStoresFieldsAndProfile) {
    const std::string typed = "Confidential for the whole company";
    const int result = Run(kWatermarkAdding, [&] {
        host.ReplaceText(IDC_WM_NAME, typed);
        host.ReplaceText(IDC_WM_TEXT, std::string(70, 't'));
        EXPECT_EQ(host.Text(IDC_WM_NAME), typed.substr(0, 31));
        EXPECT_EQ(host.Text(IDC_WM_TEXT), std::string(63, 't'));
        host.ReplaceText(IDC_WM_ANGLE, "30");
        host.Click(IDC_WM_POSITION_OFFSET);
        host.ReplaceText(IDC_WM_OFFSET_X, "+306");
        host.PressOk();
    });
    ASSERT_EQ(result, ui::kIdOk);
    const app::PrinterSettingsBlock& block = app.block();
    EXPECT_EQ(block.watermarkName(), typed.substr(0, 31));
    EXPECT_EQ(block.watermarkText(), std::string(63, 't'));
    EXPECT_EQ(block.watermarkAngle(), 30);
    EXPECT_EQ(block.watermarkOffsetX(), 306);
    EXPECT_EQ(app.registry.Get(kProfilesKey, typed.substr(0, 31))->data, RecordBytes(block));

    app.block().setWatermarkName(kCopy);
    EXPECT_EQ(Run(kWatermarkEditing, [&] { host.PressOk(); }), ui::kIdOk);
    EXPECT_THAT(app.registry.ValueNames(kProfilesKey), ElementsAre(typed.substr(0, 31), kCopy));
    EXPECT_TRUE(host.MessageBoxes().empty());
}

// "Uložiť" stores the style and colour the lists show: a code the table lacks, shown as the
// first entry, is saved as that entry; the colour list hidden on a monochrome printer is not
// read, and its code goes back as it came.
TEST_F(WatermarkEditorTest, SaveStoresTheListsAsShown) {
    const struct {
        int colorDevice;
        std::int16_t style, color;
        std::int16_t storedStyle, storedColor;
    } cases[] = {
        {1, 9, 7, 0, 0},
        {1, 2, 4, 2, 4},
        {0, -1, 7, 0, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.colorDevice * 100 + c.style * 10 + c.color);
        app::PrinterSettingsBlock& block = app.block();
        block.setColorDevice(static_cast<std::int16_t>(c.colorDevice));
        block.setWatermarkStyle(c.style);
        block.setWatermarkColor(c.color);
        const int result = Run(kWatermarkAdding, [&] {
            host.ReplaceText(IDC_WM_NAME, "Logo");
            host.PressOk();
        });
        ASSERT_EQ(result, ui::kIdOk);
        EXPECT_EQ(block.watermarkStyle(), c.storedStyle);
        EXPECT_EQ(block.watermarkColor(), c.storedColor);
        EXPECT_EQ(app.registry.Get(kProfilesKey, "Logo")->data, RecordBytes(block));
    }
}

// A registry that refuses the profile: the message, the dialog stays open with the edits in
// the block; once the registry takes it, OK ends the dialog.
TEST_F(WatermarkEditorTest, RefusedSaveKeepsTheDialogOpen) {
    RefusingRegistry refusing(app.registry);
    platform::ScopedServices services(platform::Services{&refusing, nullptr, nullptr});
    const int result = Run(kWatermarkAdding, [&] {
        host.ReplaceText(IDC_WM_NAME, "Logo");
        host.ReplaceText(IDC_WM_TEXT, "Tajne");
        host.AnswerMessageBox(ui::kIdOk);
        host.PressOk();
        ASSERT_EQ(host.MessageBoxes().size(), 1u);
        EXPECT_EQ(host.MessageBoxes()[0].text, kWatermarkNotStoredMessage);
        EXPECT_EQ(app.block().watermarkName(), "Logo");
        EXPECT_EQ(app.block().watermarkText(), "Tajne");
        EXPECT_EQ(host.Text(IDC_WM_TEXT), "Tajne");
        refusing.refusing = false;
        host.PressOk();
    });
    EXPECT_EQ(result, ui::kIdOk);
    EXPECT_THAT(app.registry.ValueNames(kProfilesKey), ElementsAre("Logo"));
}

// Editing loads the stored profile; "Východiskové" resets a predefined watermark (its text its
// name) and puts any other back as the dialog found it.
TEST_F(WatermarkEditorTest, LoadAndDefaults) {
    app.InstallHelpFile();
    StoreProfile(app.registry, kDraft, "Koncept", 100, 1);
    app.block().setWatermarkName(kDraft);
    Run(kWatermarkEditing, [&] {
        EXPECT_EQ(host.Text(IDC_WM_TEXT), "Koncept");
        EXPECT_EQ(host.Text(IDC_WM_SIZE), "100");
        EXPECT_FALSE(host.IsEnabled(IDC_WM_INTENSITY));
        host.Click(IDC_WM_DEFAULTS);
        EXPECT_EQ(host.Text(IDC_WM_TEXT), kDraft);
        EXPECT_EQ(host.Text(IDC_WM_SIZE), "72");
        EXPECT_EQ(host.Text(IDC_WM_ANGLE), "45");
        EXPECT_EQ(host.Text(IDC_WM_INTENSITY), "50");
        EXPECT_EQ(host.SelectedText(IDC_WM_FONT), "Courier New");
        EXPECT_TRUE(host.IsEnabled(IDC_WM_INTENSITY));
        host.PressCancel();
    });
    app.block().setWatermarkName("Logo");
    app.block().setWatermarkText("Logo text");
    app.block().setWatermarkStyle(1);
    Run(kWatermarkAdding, [&] {
        host.ChooseItem(IDC_WM_STYLE, "Normalny");
        host.ReplaceText(IDC_WM_TEXT, "zmena");
        host.Click(IDC_WM_DEFAULTS);
        EXPECT_EQ(app.block().watermarkStyle(), 1);
        EXPECT_EQ(host.SelectedText(IDC_WM_STYLE), Cp1250(u8"Tučné"));
        EXPECT_EQ(host.Text(IDC_WM_TEXT), "Logo text");
        host.Click(IDC_WM_HELP);
        ASSERT_FALSE(host.HelpCalls().empty());
        EXPECT_EQ(host.HelpCalls().back().data, unsigned{IDD_WATERMARK_EDITOR});
        host.PressCancel();
    });
}

} // namespace
} // namespace pages
