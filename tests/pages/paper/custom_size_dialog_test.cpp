// The custom paper size dialog: number formatting, units and their limits, the feed-edge
// rule, the checks' messages and the 80-byte registry record.
#include "pages/paper/custom_size_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/text_helpers.h"
#include "tests/pages/page_test_support.h"
#include "ui/services.h"

namespace pages {
namespace {

using testing::AppState;
using ::testing::ElementsAre;
using ui::headless::TestHost;

const std::string kLongEdge = "Dlh\x9A\xED okraj";
const std::string kShortEdge = "Krat\x9A\xED okraj";

// Two decimals; the leading zero only for values not above zero.
TEST(FormatSize, RoundsToHundredths) {
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {210.0f, "210.00"},
        {0.5f, ".50"},
        {0.0f, "0.00"},
        {0.004f, ".00"},
        {3.945945f, "3.95"},
        {11.811024f, "11.81"},
        {8.267717f, "8.27"},
        {1.0f, "1.00"},
        {99.999f, "100.00"},
        {-1.25f, "-1.25"},
        {-0.5f, "-0.50"},
        {std::numeric_limits<float>::quiet_NaN(), "0.00"},
        {std::numeric_limits<float>::infinity(), "0.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatSize(c.value), c.text) << c.value;
    // The largest float still fits: 39 digits, the point and two decimals.
    EXPECT_EQ(FormatSize(std::numeric_limits<float>::max()).size(), 42u);
}

TEST(RangeMessage, NamesBothLimits) {
    EXPECT_EQ(RangeMessage(100.0f, 210.0f),
              "Value out of range, should be between 100.00 and 210.00");
    EXPECT_EQ(RangeMessage(3.95f, 11.81f), "Value out of range, should be between 3.95 and 11.81");
}

std::int32_t Int32At(const CustomSizeRecord& record, std::size_t offset) {
    return app::detail::LoadInt32(&record[offset]);
}

// The record: the form name, the size in hundredths of a millimetre cut toward zero (clamped
// where it does not fit), and the constants 1, 0 and 258.
TEST(CustomSizeRecord, Bytes) {
    const struct {
        float width, height;
        std::int32_t storedWidth, storedHeight;
    } cases[] = {
        {210.5f, 297.0f, 21050, 29700},
        {215.9f, 279.4f, 21590, 27940},
        {100.009f, 0.004f, 10000, 0},
        {-12.345f, -0.009f, -1234, 0},
        {std::numeric_limits<float>::quiet_NaN(), 1e30f, 0, INT32_MAX},
        {-1e30f, -std::numeric_limits<float>::infinity(), INT32_MIN, INT32_MIN},
    };
    for (const auto& c : cases) {
        app::PrinterSettingsBlock block;
        block.setCustomSizeWidth(c.width);
        block.setCustomSizeHeight(c.height);
        const CustomSizeRecord record = BuildCustomSizeRecord(block);
        EXPECT_EQ(Int32At(record, 64), c.storedWidth) << c.width;
        EXPECT_EQ(Int32At(record, 68), c.storedHeight) << c.height;
    }

    app::PrinterSettingsBlock block;
    block.setCustomSizeWidth(210.5f);
    block.setCustomSizeHeight(297.0f);
    const CustomSizeRecord record = BuildCustomSizeRecord(block);
    const std::string name = "Volite\xBEn\xFD form\xE1t papiera";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.data()), name.size()), name);
    for (std::size_t i = name.size(); i < 64; ++i)
        EXPECT_EQ(record[i], 0) << i;
    const std::uint8_t tail[] = {0x3A, 0x52, 0, 0, 0x04, 0x74, 0, 0, 1, 0, 0, 0, 0, 0, 0x02, 0x01};
    for (std::size_t i = 0; i < sizeof tail; ++i)
        EXPECT_EQ(record[64 + i], tail[i]) << 64 + i;
}

// The value goes to the printer's driver data key, replacing an earlier one; without a
// printer name nothing is written.
TEST(CustomSizeRecord, WrittenToTheRegistry) {
    AppState app;
    const std::string key =
        "System\\CurrentControlSet\\Control\\Print\\Printers\\Vela Test\\PrinterDriverData";
    EXPECT_EQ(PrinterDriverDataKey("Vela Test"), key);
    app.block().setCustomSizeWidth(1.0f);
    EXPECT_EQ(WriteCustomSizeRecord(app.block()), platform::kRegistryOk);
    app.block().setCustomSizeWidth(210.5f);
    EXPECT_EQ(WriteCustomSizeRecord(app.block()), platform::kRegistryOk);
    const auto value = app.registry.Get(key, "CustomSizes");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, platform::RegistryType::Binary);
    ASSERT_EQ(value->data.size(), 80u);
    const CustomSizeRecord expected = BuildCustomSizeRecord(app.block());
    EXPECT_EQ(value->data, std::string(expected.begin(), expected.end()));
    EXPECT_THAT(app.registry.ValueNames(key), ElementsAre("CustomSizes"));
    EXPECT_EQ(app.registry.OpenKeyCount(), 0u);

    AppState unnamed;
    unnamed.block().setPrinterName("");
    EXPECT_NE(WriteCustomSizeRecord(unnamed.block()), platform::kRegistryOk);
    EXPECT_FALSE(unnamed.registry.HasKey(
        "System\\CurrentControlSet\\Control\\Print\\Printers\\PrinterDriverData"));
}

// A write the registry refuses reports the refusal (which the dialog and the page ignore, as
// registry failures here are silent) and leaves the registry as it was.
TEST(CustomSizeRecord, RefusedWrites) {
    using platform::RegistryOperation;
    const std::string key =
        "System\\CurrentControlSet\\Control\\Print\\Printers\\Vela Test\\PrinterDriverData";
    const struct {
        const char* what;
        RegistryOperation refused;
        bool keyExists;
    } cases[] = {
        {"no key to create", RegistryOperation::Create, false},
        {"no writing", RegistryOperation::OpenForWriting, true},
        {"no value to set", RegistryOperation::Set, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AppState app;
        if (c.keyExists)
            app.registry.Put(key, "CustomSizes", platform::RegistryType::Binary, "old");
        app.registry.RefuseOperations(static_cast<unsigned>(c.refused), key);
        EXPECT_EQ(WriteCustomSizeRecord(app.block()), platform::kRegistryAccessDenied);
        EXPECT_EQ(app.registry.HasKey(key), c.keyExists);
        if (c.keyExists) {
            EXPECT_EQ(app.registry.Get(key, "CustomSizes")->data, "old");
        }
        EXPECT_EQ(app.registry.OpenKeyCount(), 0u);
    }
}

class CustomSizeDialogTest : public ::testing::Test {
protected:
    // Limits of 100 to 300 mm in both directions; A4 upright, fed short edge first.
    void SetUp() override {
        app::PrinterSettingsBlock& b = app.block();
        b.setCustomSizeMinWidth(1000);
        b.setCustomSizeMaxWidth(3000);
        b.setCustomSizeMinHeight(1000);
        b.setCustomSizeMaxHeight(3000);
        b.setCustomSizeWidth(210.0f);
        b.setCustomSizeHeight(297.0f);
        b.setCustomSizeUnit(kUnitMillimetre);
        b.setCustomSizeFeedEdge(kShortEdgeFirst);
    }

    int Run(const std::function<void()>& body) {
        CCustomSizeDialog dialog;
        host.OnDialog(IDD_CUSTOM_SIZE, body);
        return dialog.DoModal();
    }

    // Answers the next message box with OK and keeps it for inspection.
    void ExpectMessage() {
        host.OnMessageBox([this](const ui::MessageBoxCall& box) {
            messages.push_back(box);
            return ui::kIdOk;
        });
    }

    AppState app;
    TestHost host;
    std::vector<ui::MessageBoxCall> messages;
};

// Initialisation: sizes and ranges in the block's unit, the unit's radio, the feed edges.
TEST_F(CustomSizeDialogTest, ShowsSizesAndRangesInTheUnit) {
    const struct {
        int unit;
        const char *width, *height, *widthRange, *heightRange;
        int radio;
    } cases[] = {
        {kUnitInch, "8.27", "11.69", "(3.94,11.81)", "(3.94,11.81)", IDC_CUSTOM_UNIT_INCH},
        {kUnitMillimetre, "210.00", "297.00", "(100.00,300.00)", "(100.00,300.00)",
         IDC_CUSTOM_UNIT_MM},
        {kUnitPoint, "595.28", "841.89", "(283.47,850.39)", "(283.47,850.39)",
         IDC_CUSTOM_UNIT_POINT},
        // A unit the dialog does not know is shown as millimetres.
        {7, "210.00", "297.00", "(100.00,300.00)", "(100.00,300.00)", IDC_CUSTOM_UNIT_MM},
    };
    for (const auto& c : cases) {
        app.block().setCustomSizeUnit(static_cast<std::int16_t>(c.unit));
        app.block().setCustomSizeMinHeight(c.unit == kUnitMillimetre ? 1001 : 1000);
        Run([&] {
            EXPECT_EQ(host.Text(IDC_CUSTOM_WIDTH), c.width) << c.unit;
            EXPECT_EQ(host.Text(IDC_CUSTOM_HEIGHT), c.height) << c.unit;
            EXPECT_EQ(host.Text(IDC_CUSTOM_WIDTH_RANGE), c.widthRange) << c.unit;
            // 100.1 mm raised by 0.005 is just below 100.105 in single precision.
            EXPECT_EQ(host.Text(IDC_CUSTOM_HEIGHT_RANGE),
                      c.unit == kUnitMillimetre ? "(100.10,300.00)" : c.heightRange)
                << c.unit;
            EXPECT_EQ(host.Check(c.radio), ui::kChecked) << c.unit;
            host.PressCancel();
        });
    }
    app.InstallHelpFile();
    Run([&] {
        EXPECT_THAT(host.Items(IDC_CUSTOM_FEED_EDGE), ElementsAre(kLongEdge, kShortEdge));
        EXPECT_THAT(host.ItemData(IDC_CUSTOM_FEED_EDGE), ElementsAre(8, 9));
        EXPECT_EQ(host.SelectedText(IDC_CUSTOM_FEED_EDGE), kShortEdge);
        EXPECT_EQ(host.EditControl(IDC_CUSTOM_WIDTH).GetLimitText(), 8);
        EXPECT_EQ(host.EditControl(IDC_CUSTOM_HEIGHT).GetLimitText(), 8);
        EXPECT_FALSE(host.IsShown(IDC_CUSTOM_OFFSET_PARALLEL));
        EXPECT_EQ(ui::Window(host.ActiveDialog()).GetContextHelpId(), unsigned{IDD_CUSTOM_SIZE});
        for (int id = IDC_CUSTOM_HELP; id <= IDC_CUSTOM_OFFSET_PARALLEL; ++id)
            EXPECT_EQ(host.Control(id).GetContextHelpId(), static_cast<unsigned>(id)) << id;
        host.Click(IDC_CUSTOM_HELP);
        ASSERT_FALSE(host.HelpCalls().empty());
        EXPECT_EQ(host.HelpCalls().back().command, ui::kHelpContext);
        EXPECT_EQ(host.HelpCalls().back().data, unsigned{IDD_CUSTOM_SIZE});
        host.PressCancel();
    });
}

// A minimum is raised by 0.005 before rounding: 1001 tenths of a millimetre are 3.9409
// inches, shown and checked as 3.95.
TEST_F(CustomSizeDialogTest, MinimumRoundsUp) {
    app.block().setCustomSizeUnit(kUnitInch);
    app.block().setCustomSizeMinWidth(1001);
    Run([&] {
        EXPECT_EQ(host.Text(IDC_CUSTOM_WIDTH_RANGE), "(3.95,11.81)");
        host.ReplaceText(IDC_CUSTOM_WIDTH, "3.94");
        host.ReplaceText(IDC_CUSTOM_HEIGHT, "11");
        ExpectMessage();
        host.PressOk();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, "Value out of range, should be between 3.95 and 11.81");
        EXPECT_EQ(host.FocusedId(), IDC_CUSTOM_WIDTH);
        host.ReplaceText(IDC_CUSTOM_WIDTH, "3.95");
        host.PressOk();
    });
    EXPECT_FLOAT_EQ(app.block().customSizeWidth(), 3.95f * 25.4f);
    EXPECT_FLOAT_EQ(app.block().customSizeHeight(), 11.0f * 25.4f);
}

// OK checks both sizes with the feed-edge rule: with the long edge first the sheet may not
// be higher than wide, with the short edge first not wider than high; then the ranges.
TEST_F(CustomSizeDialogTest, OkChecksSizesAndFeedEdge) {
    const struct {
        int edge;
        const char *width, *height;
        const char* message; // null: accepted
        int focus;
    } cases[] = {
        {kLongEdgeFirst, "210", "297", "Value out of range, should be between 100.00 and 210.00",
         IDC_CUSTOM_HEIGHT},
        {kShortEdgeFirst, "210", "297", nullptr, 0},
        {kLongEdgeFirst, "297", "210", nullptr, 0},
        {kShortEdgeFirst, "297", "210", "Value out of range, should be between 297.00 and 300.00",
         IDC_CUSTOM_HEIGHT},
        {kShortEdgeFirst, "50", "297", "Value out of range, should be between 100.00 and 300.00",
         IDC_CUSTOM_WIDTH},
        {kLongEdgeFirst, "90", "80", "Value out of range, should be between 100.00 and 300.00",
         IDC_CUSTOM_WIDTH},
        {kShortEdgeFirst, "310", "320", "Value out of range, should be between 100.00 and 300.00",
         IDC_CUSTOM_WIDTH},
        {kShortEdgeFirst, "100", "100.00", nullptr, 0},
        {kLongEdgeFirst, "300", "300", nullptr, 0},
        {kShortEdgeFirst, "+250.5", "260", nullptr, 0},
        {kShortEdgeFirst, "2a0", "297", app::kNonNumericTextMessage, IDC_CUSTOM_WIDTH},
        {kShortEdgeFirst, "210", "2.9.7", app::kNonNumericTextMessage, IDC_CUSTOM_HEIGHT},
        {kShortEdgeFirst, "", "297", "", IDC_CUSTOM_WIDTH},
    };
    for (const auto& c : cases) {
        app.registry.Clear();
        app.block().setCustomSizeFeedEdge(static_cast<std::int16_t>(c.edge));
        app.block().setCustomSizeWidth(210.0f);
        app.block().setCustomSizeHeight(297.0f);
        messages.clear();
        const int result = Run([&] {
            host.ReplaceText(IDC_CUSTOM_WIDTH, c.width);
            host.ReplaceText(IDC_CUSTOM_HEIGHT, c.height);
            if (c.message && *c.message)
                ExpectMessage();
            host.PressOk();
            if (c.message) {
                EXPECT_EQ(host.FocusedId(), c.focus) << c.width << "x" << c.height;
                host.PressCancel();
            }
        });
        const std::string what =
            std::string(c.width) + "x" + c.height + "/" + std::to_string(c.edge);
        const bool stored =
            app.registry.Get(PrinterDriverDataKey("Vela Test"), "CustomSizes").has_value();
        if (!c.message) {
            EXPECT_EQ(result, ui::kIdOk) << what;
            EXPECT_TRUE(messages.empty()) << what;
            EXPECT_FLOAT_EQ(app.block().customSizeWidth(), std::stof(c.width)) << what;
            EXPECT_FLOAT_EQ(app.block().customSizeHeight(), std::stof(c.height)) << what;
            EXPECT_TRUE(stored) << what;
            continue;
        }
        EXPECT_EQ(result, ui::kIdCancel) << what;
        EXPECT_FALSE(stored) << what;
        if (*c.message) {
            ASSERT_EQ(messages.size(), 1u) << what;
            EXPECT_EQ(messages[0].text, c.message) << what;
        } else {
            EXPECT_TRUE(messages.empty()) << what;
        }
    }
}

// The range message is task-modal with the application's name as caption.
TEST_F(CustomSizeDialogTest, RangeMessageIsTaskModal) {
    Run([&] {
        host.ReplaceText(IDC_CUSTOM_WIDTH, "400");
        ExpectMessage();
        host.PressOk();
        host.PressCancel();
    });
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, ui::ApplicationName());
    EXPECT_NE(messages[0].style & ui::kMbTaskModal, 0u);
}

// Changing the unit converts the shown sizes; a size outside its limits blocks the change and
// the previous radio stays checked.
TEST_F(CustomSizeDialogTest, UnitChange) {
    Run([&] {
        host.Click(IDC_CUSTOM_UNIT_INCH);
        EXPECT_EQ(app.block().customSizeUnit(), kUnitInch);
        EXPECT_EQ(host.Text(IDC_CUSTOM_WIDTH), "8.27");
        EXPECT_EQ(host.Text(IDC_CUSTOM_HEIGHT), "11.69");
        EXPECT_EQ(host.Text(IDC_CUSTOM_WIDTH_RANGE), "(3.94,11.81)");
        host.Click(IDC_CUSTOM_UNIT_MM);
        EXPECT_EQ(host.Text(IDC_CUSTOM_WIDTH), "210.06");
        EXPECT_EQ(host.Check(IDC_CUSTOM_UNIT_MM), ui::kChecked);

        host.ReplaceText(IDC_CUSTOM_WIDTH, "350");
        ExpectMessage();
        host.Click(IDC_CUSTOM_UNIT_POINT);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, "Value out of range, should be between 100.00 and 300.00");
        EXPECT_EQ(app.block().customSizeUnit(), kUnitMillimetre);
        EXPECT_EQ(host.Check(IDC_CUSTOM_UNIT_MM), ui::kChecked);
        EXPECT_EQ(host.Check(IDC_CUSTOM_UNIT_POINT), ui::kUnchecked);
        EXPECT_EQ(host.Text(IDC_CUSTOM_WIDTH), "350");
        EXPECT_EQ(host.FocusedId(), IDC_CUSTOM_WIDTH);

        // A unit clicked while a check's message is up is not taken.
        host.OnMessageBox([&](const ui::MessageBoxCall& box) {
            messages.push_back(box);
            host.Click(IDC_CUSTOM_UNIT_INCH);
            return ui::kIdOk;
        });
        host.Click(IDC_CUSTOM_UNIT_POINT);
        EXPECT_EQ(messages.size(), 2u);
        EXPECT_EQ(app.block().customSizeUnit(), kUnitMillimetre);
        EXPECT_EQ(host.Check(IDC_CUSTOM_UNIT_MM), ui::kChecked);
        host.PressCancel();
    });
}

// Turning the feed edge exchanges width and height when both are within their limits;
// otherwise the previous feed edge is selected again.
// A feed edge the list does not offer is shown as the long edge first, and the checks and the
// block go by it: a sheet wider than high passes, and OK sends the edge shown.
TEST_F(CustomSizeDialogTest, FeedEdgeOutsideTheListIsSentAsShown) {
    for (const int received : {0, 7, 10, 11711, -1}) {
        app.block().setCustomSizeFeedEdge(static_cast<std::int16_t>(received));
        app.block().setCustomSizeWidth(297.0f);
        app.block().setCustomSizeHeight(210.0f);
        const int result = Run([&] {
            EXPECT_EQ(host.SelectedText(IDC_CUSTOM_FEED_EDGE), kLongEdge) << received;
            host.PressOk();
        });
        EXPECT_EQ(result, ui::kIdOk) << received;
        EXPECT_EQ(app.block().customSizeFeedEdge(), kLongEdgeFirst) << received;
    }
}

TEST_F(CustomSizeDialogTest, FeedEdgeChange) {
    Run([&] {
        host.ChooseItem(IDC_CUSTOM_FEED_EDGE, kLongEdge);
        EXPECT_EQ(app.block().customSizeFeedEdge(), kLongEdgeFirst);
        EXPECT_FLOAT_EQ(app.block().customSizeWidth(), 297.0f);
        EXPECT_FLOAT_EQ(app.block().customSizeHeight(), 210.0f);
        EXPECT_EQ(host.Text(IDC_CUSTOM_WIDTH), "297.00");
        EXPECT_EQ(host.Text(IDC_CUSTOM_HEIGHT), "210.00");

        host.ReplaceText(IDC_CUSTOM_HEIGHT, "50");
        ExpectMessage();
        host.ChooseItem(IDC_CUSTOM_FEED_EDGE, kShortEdge);
        EXPECT_EQ(messages.size(), 1u);
        EXPECT_EQ(app.block().customSizeFeedEdge(), kLongEdgeFirst);
        EXPECT_EQ(host.SelectedText(IDC_CUSTOM_FEED_EDGE), kLongEdge);
        EXPECT_FLOAT_EQ(app.block().customSizeWidth(), 297.0f);
        EXPECT_EQ(host.FocusedId(), IDC_CUSTOM_HEIGHT);
        host.PressCancel();
    });
}

} // namespace
} // namespace pages
