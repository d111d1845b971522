// Choice lists on the headless backend against small PPDs: filling from tables and features,
// selecting by code, and the pruning by constraints and by installed equipment.
#include "app/option_combo_box.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/numeric_check.h"
#include "app/settings_block.h"
#include "app/text_helpers.h"
#include "ppd/ppd.h"
#include "res/resource.h"
#include "ui/dialog.h"
#include "ui/headless/test_host.h"

namespace app {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

struct DocumentDeleter {
    void operator()(const ppd::PpdDocument* doc) const { ppd::FreePpdDocument(doc); }
};
using Document = std::unique_ptr<const ppd::PpdDocument, DocumentDeleter>;

Document Parse(const std::string& text) {
    return Document(ppd::ParsePpdBytes(text.data(), text.size(), "test.ppd"));
}

const char kPpd[] = "*PPD-Adobe: \"4.3\"\n"
                    "*OpenGroup: InstallableOptions\n"
                    "*OpenUI *OptionalBin/Zasobnik: Boolean\n"
                    "*DefaultOptionalBin: False\n"
                    "*OptionalBin True/Nain<9A>talovan<E9>: \"\"\n"
                    "*OptionalBin False/Nein<9A>talovan<E9>: \"\"\n"
                    "*CloseUI: *OptionalBin\n"
                    "*OpenUI *Optionalstacker/Stacker: Boolean\n"
                    "*DefaultOptionalstacker: False\n"
                    "*Optionalstacker True/Nain<9A>talovan<E9>: \"\"\n"
                    "*Optionalstacker False/Nein<9A>talovan<E9>: \"\"\n"
                    "*CloseUI: *Optionalstacker\n"
                    "*CloseGroup: InstallableOptions\n"
                    "*OpenUI *PageSize/Format: PickOne\n"
                    "*DefaultPageSize: A4\n"
                    "*PageSize A4/A4: \"a4\"\n"
                    "*PageSize Letter/Letter: \"l\"\n"
                    "*PageSize Odd/<C8>udn<FD>: \"w\"\n"
                    "*PageSize NoText: \"n\"\n"
                    "*CloseUI: *PageSize\n"
                    "*OpenUI *InputSlot/Zdroj: PickOne\n"
                    "*DefaultInputSlot: Upper\n"
                    "*InputSlot Upper/Horn<FD>: \"\"\n"
                    "*InputSlot Tray2/Z<E1>sobn<ED>k 2: \"\"\n"
                    "*InputSlot Multipurpose/Univerz<E1>lny: \"\"\n"
                    "*CloseUI: *InputSlot\n"
                    "*OpenUI *OutputBin/Priehradka: PickOne\n"
                    "*DefaultOutputBin: Upper\n"
                    "*OutputBin Upper/Horn<E1>: \"\"\n"
                    "*OutputBin Rear/Zadn<E1>: \"\"\n"
                    "*CloseUI: *OutputBin\n"
                    "*UIConstraints: *InputSlot Tray2 *PageSize A4\n"
                    "*UIConstraints: *InputSlot Multipurpose *PageSize Letter\n"
                    "*UIConstraints: *MediaType Thick *PageSize A4\n"
                    "*UIConstraints: *InputSlot Tray2 *OptionalBin False\n"
                    "*UIConstraints: *OutputBin Upper *Optionalstacker False\n";

const std::string kTray2 = "Z\xE1sobn\xEDk 2";

class PlainPage : public ui::PropertyPage {
public:
    PlainPage() : ui::PropertyPage(IDD_PAPER) {}
};

class ChoiceListTest : public ::testing::Test {
protected:
    // Runs `body` with the Paper page's source list (a list with the sorted style).
    void WithList(const std::function<void(const OptionComboBox&)>& body) {
        PlainPage page;
        ui::PropertySheet sheet("Printer");
        sheet.AddPage(page);
        host.OnSheet([&] {
            body(OptionComboBox(host.Control(IDC_PAPER_SOURCE).GetHandle()));
            host.PressCancel();
        });
        sheet.DoModal();
    }

    std::vector<std::string> Texts(const OptionComboBox& list) {
        std::vector<std::string> texts;
        for (int i = 0; i < list.GetCount(); ++i)
            texts.push_back(list.GetItemText(i));
        return texts;
    }

    std::vector<std::intptr_t> Codes(const OptionComboBox& list) {
        std::vector<std::intptr_t> codes;
        for (int i = 0; i < list.GetCount(); ++i)
            codes.push_back(list.GetItemData(i));
        return codes;
    }

    ui::headless::TestHost host;
    Document doc = Parse(kPpd);
};

// Table rows go in in table order, even into a sorted list; the code selects, else the first.
TEST_F(ChoiceListTest, FillFromTable) {
    ASSERT_TRUE(doc);
    const struct {
        std::int32_t code;
        int selected;
    } cases[] = {{99, 6}, {4, 2}, {5, 0}, {1, 0}};
    for (const auto& c : cases) {
        WithList([&](const OptionComboBox& list) {
            list.FillFromTable(PagesPerSheetNames, c.code);
            EXPECT_THAT(Texts(list), ElementsAre("1", "2", "4", "6", "9", "16", "Bro\x9E\xFAra"));
            EXPECT_THAT(Codes(list), ElementsAre(1, 2, 4, 6, 9, 16, 99));
            EXPECT_EQ(list.GetCurSel(), c.selected) << c.code;
        });
    }
}

// Options with a keyword and a display text, in file order, with the table's codes (0 for
// keywords it lacks); the first appended entry with the code is selected, else the list's
// first entry, which may be one added before.
TEST_F(ChoiceListTest, FillFromFeature) {
    ASSERT_TRUE(doc);
    WithList([&](const OptionComboBox& list) {
        EXPECT_TRUE(list.FillFromFeature(doc.get(), "PageSize", PaperSizeNames, 1));
        EXPECT_THAT(Texts(list), ElementsAre("A4", "Letter", "\xC8udn\xFD"));
        EXPECT_THAT(Codes(list), ElementsAre(9, 1, 0));
        EXPECT_EQ(list.SelectedCode(), 1);
    });
    WithList([&](const OptionComboBox& list) {
        list.SetItemData(list.AddString("Volite\xBEn\xFD form\xE1t papiera"), 257);
        EXPECT_TRUE(list.FillFromFeature(doc.get(), "PageSize", PaperSizeNames, 5));
        EXPECT_EQ(list.GetCurSel(), 0);
        EXPECT_EQ(list.SelectedCode(), 257);
        list.SelectCode(0);
        EXPECT_EQ(list.GetSelectedText(), "\xC8udn\xFD");
    });
    WithList([&](const OptionComboBox& list) {
        list.AddString("x");
        EXPECT_FALSE(list.FillFromFeature(nullptr, "PageSize", PaperSizeNames, 9));
        EXPECT_FALSE(list.FillFromFeature(doc.get(), "MediaType", MediaTypeNames, 1));
        EXPECT_THAT(Texts(list), ElementsAre("x"));
        EXPECT_EQ(list.GetCurSel(), -1);
    });
}

// SelectCode keeps the selection when no entry has the code; nothing selected reads -1.
TEST_F(ChoiceListTest, SelectCodeAndSelectedCode) {
    WithList([&](const OptionComboBox& list) {
        EXPECT_EQ(list.SelectedCode(), -1);
        list.FillFromTable(FeedEdgeNames, 9);
        EXPECT_EQ(list.SelectedCode(), 9);
        list.SelectCode(12345);
        EXPECT_EQ(list.SelectedCode(), 9);
        list.SelectCode(8);
        EXPECT_EQ(list.SelectedCode(), 8);
        list.SetCurSel(-1);
        EXPECT_EQ(list.SelectedCode(), -1);
    });
}

// The choice of the driving list rules out entries of the target feature: the first entry
// that begins with the ruled-out text goes, and a deleted selection falls back to the first.
TEST_F(ChoiceListTest, RemoveConstrainedChoices) {
    ASSERT_TRUE(doc);
    WithList([&](const OptionComboBox& list) {
        list.FillFromFeature(doc.get(), "InputSlot", InputSlotNames, 0);
        list.SetCurSel(1);
        ASSERT_EQ(list.GetSelectedText(), kTray2);
        RemoveConstrainedChoices(doc.get(), "PageSize", "A4", list, "MediaType");
        RemoveConstrainedChoices(nullptr, "PageSize", "A4", list, "InputSlot");
        RemoveConstrainedChoices(doc.get(), "PageSize", "Volite\xBEn\xFD", list, "InputSlot");
        EXPECT_EQ(list.GetCount(), 3);
        RemoveConstrainedChoices(doc.get(), "PageSize", "A4", list, "InputSlot");
        EXPECT_THAT(Texts(list), ElementsAre("Horn\xFD", "Univerz\xE1lny"));
        EXPECT_EQ(list.GetCurSel(), 0);
        list.SetCurSel(1);
        RemoveConstrainedChoices(doc.get(), "PageSize", "Letter", list, "InputSlot");
        EXPECT_THAT(Texts(list), ElementsAre("Horn\xFD"));
        EXPECT_EQ(list.GetCurSel(), 0);
    });
    // A longer entry that begins with the ruled-out text goes instead of the exact one, and a
    // selection elsewhere stays where it is.
    WithList([&](const OptionComboBox& list) {
        list.InsertString(-1, "Horn\xFD");
        list.InsertString(-1, kTray2 + "2");
        list.InsertString(-1, kTray2);
        list.SetCurSel(2);
        RemoveConstrainedChoices(doc.get(), "PageSize", "A4", list, "InputSlot");
        EXPECT_THAT(Texts(list), ElementsAre("Horn\xFD", kTray2));
        EXPECT_EQ(list.GetCurSel(), 1);
    });
}

// Installed equipment: the flags choose "Nainštalované" or "Neinštalované" as the driving text.
TEST_F(ChoiceListTest, RemoveByInstalledOptions) {
    ASSERT_TRUE(doc);
    const struct {
        std::uint8_t installed;
        std::vector<std::string> sources;
        std::vector<std::string> bins;
    } cases[] = {
        {0, {"Horn\xFD", "Univerz\xE1lny"}, {"Zadn\xE1"}},
        {1, {"Horn\xFD", kTray2, "Univerz\xE1lny"}, {"Horn\xE1", "Zadn\xE1"}},
    };
    for (const auto& c : cases) {
        PrinterSettingsBlock settings;
        settings.setBin1Installed(c.installed);
        settings.setStackerInstalled(c.installed);
        WithList([&](const OptionComboBox& list) {
            list.FillFromFeature(doc.get(), "InputSlot", InputSlotNames, 0);
            RemoveChoicesExcludedByInstalledOptions(doc.get(), settings, list, "InputSlot");
            EXPECT_THAT(Texts(list), ElementsAreArray(c.sources)) << int(c.installed);
        });
        WithList([&](const OptionComboBox& list) {
            list.FillFromFeature(doc.get(), "OutputBin", OutputBinNames, 1);
            RemoveBinsExcludedByInstalledOptions(doc.get(), settings, list, "OutputBin");
            EXPECT_THAT(Texts(list), ElementsAreArray(c.bins)) << int(c.installed);
        });
    }
}

// The numeric check shows its message only for characters a number cannot have.
TEST(NumericCheck, MessageOnlyForNonNumericText) {
    ui::headless::TestHost host;
    const struct {
        const char* text;
        int mode;
        bool accepted;
        bool message;
    } cases[] = {
        {"", kIntegerText, false, false},
        {"12", kIntegerText, true, false},
        {"-5", kIntegerText, true, false},
        {"1a", kIntegerText, false, true},
        {"1.5", kDecimalText, true, false},
        {"1.5.", kDecimalText, false, true},
        {"x", 3, true, false},
    };
    for (const auto& c : cases) {
        if (c.message)
            host.AnswerMessageBox(ui::kIdOk);
        const size_t before = host.MessageBoxes().size();
        EXPECT_EQ(CheckNumericTextWithMessage(c.text, c.mode), c.accepted) << c.text;
        EXPECT_EQ(host.MessageBoxes().size(), before + (c.message ? 1 : 0)) << c.text;
        if (c.message) {
            EXPECT_EQ(host.MessageBoxes().back().text, kNonNumericTextMessage);
            EXPECT_EQ(host.MessageBoxes().back().caption, "vela40ps");
        }
    }
}

} // namespace
} // namespace app
