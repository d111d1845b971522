// The tables of what each page and dialog shows: one for every template of the program, a row
// for every control with an id (a field it shows, or why it shows none), fields that exist, and
// the comparison's reading of each kind of control.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "tests/pages/page_test_support.h"
#include "tests/pages/shown/shown_fields.h"

namespace shown {
namespace {

// The ids of controls no table names: OK and Cancel end the page's sheet or the dialog, and
// labels and frames without an id carry IDC_STATIC.
bool Exempt(int id) {
    return id == ui::kIdOk || id == ui::kIdCancel || id == 0xFFFF || id <= 0;
}

TEST(ShownTables, EveryTemplateAndControl) {
    ui::headless::TestHost host;
    std::set<int> templates;
    for (int id = 100; id < 200; ++id) {
        if (host.Template(id))
            templates.insert(id);
    }
    ASSERT_GE(templates.size(), 19u);
    for (const int id : templates) {
        SCOPED_TRACE(id);
        const ShownTable* table = FindShownTable(id);
        ASSERT_NE(table, nullptr) << "no table for dialog " << id;
        std::set<int> named;
        for (const ShownControl& row : table->controls)
            named.insert(row.id);
        std::set<int> inTemplate;
        const std::optional<ui::headless::DialogTemplate> layout = host.Template(id);
        for (const auto& item : layout->items) {
            inTemplate.insert(item.id);
            if (!Exempt(item.id)) {
                EXPECT_EQ(named.count(item.id), 1u) << "control " << item.id << " has no row";
            }
        }
        for (const ShownControl& row : table->controls) {
            EXPECT_EQ(inTemplate.count(row.id), 1u) << "row of control " << row.id;
            switch (row.shows) {
            case Shows::Nothing:
                EXPECT_FALSE(row.reason.empty()) << row.id;
                break;
            case Shows::Custom:
            case Shows::CustomStored:
                EXPECT_NE(row.check, nullptr) << row.id;
                break;
            case Shows::StoredEntries:
                EXPECT_EQ(row.store.substr(0, 1), "\\") << row.id;
                break;
            default:
                EXPECT_TRUE(ReadField(app::PrinterSettingsBlock(), row.field)) << row.field;
            }
        }
    }
}

// Fields by name, overlay slot members too; unknown names read nothing.
TEST(ShownTables, ReadsFieldsByName) {
    app::PrinterSettingsBlock block;
    block.setOrientation(270);
    block.setWatermarkName("Logo");
    block.setCustomSizeWidth(210.5f);
    block.setOverlayFileName(2, "FORM.OVL");
    block.setOverlayDevice(4, 7);
    const struct {
        const char* name;
        std::optional<FieldValue> value;
    } cases[] = {
        {"orientation", FieldValue(std::int64_t{270})},
        {"watermarkName", FieldValue(std::string("Logo"))},
        {"customSizeWidth", FieldValue(210.5f)},
        {"overlaySlots[2].fileName", FieldValue(std::string("FORM.OVL"))},
        {"overlaySlots[4].device", FieldValue(std::int64_t{7})},
        {"overlaySlots[0].enabled", FieldValue(std::int64_t{0})},
        {"overlaySlots[5].device", std::nullopt},
        {"overlaySlots[1].colour", std::nullopt},
        {"overlaySlots", std::nullopt},
        {"Orientation", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadField(block, c.name), c.value) << c.name;
}

// Each kind of row against a page whose controls show given states: what agrees passes, what
// differs is reported with the control.
TEST(ShownTables, ComparesEachKindOfControl) {
    static const ShownControl kRows[] = {
        Field(IDC_DOC_COLLATE, Shows::RadioValue, "collate", 1),
        Field(IDC_DOC_NO_COLLATE, Shows::RadioOtherwise, "collate"),
        Field(IDC_DOC_COPIES, Shows::Number, "copies"),
        Field(IDC_DOC_REPRINT, Shows::Check, "reprintEnabled"),
        Field(IDC_DOC_EMAIL_ADDRESS, Shows::Text, "emailAddress"),
    };
    const ShownTable table{IDD_DOCUMENT_OPTIONS, kRows};
    const struct {
        const char* what;
        std::function<void(ui::headless::TestHost&, app::PrinterSettingsBlock&)> change;
        std::vector<int> differing;
    } cases[] = {
        {"as shown", [](auto&, auto&) {}, {}},
        {"collate behind the radios",
         [](auto&, auto& b) { b.setCollate(1); },
         {IDC_DOC_COLLATE, IDC_DOC_NO_COLLATE}},
        {"an unknown collate is the other radio", [](auto&, auto& b) { b.setCollate(5); }, {}},
        {"copies typed",
         [](auto& h, auto&) { h.EditControl(IDC_DOC_COPIES).SetWindowText("+3"); },
         {}},
        {"copies not a number",
         [](auto& h, auto&) { h.EditControl(IDC_DOC_COPIES).SetWindowText("3a"); },
         {IDC_DOC_COPIES}},
        {"a box ticked behind the field",
         [](auto& h, auto&) { h.ButtonControl(IDC_DOC_REPRINT).SetCheck(ui::kChecked); },
         {IDC_DOC_REPRINT}},
        {"an address cut",
         [](auto&, auto& b) { b.setEmailAddress("jan@"); },
         {IDC_DOC_EMAIL_ADDRESS}},
    };
    for (const auto& c : cases) {
        pages::testing::AppState app;
        app::PrinterSettingsBlock& block = app.block();
        block.setCopies(3);
        block.setEmailAddress("jan@example.sk");
        ui::headless::TestHost host;
        ui::Dialog dialog(IDD_DOCUMENT_OPTIONS);
        host.OnDialog(IDD_DOCUMENT_OPTIONS, [&] {
            host.ButtonControl(IDC_DOC_NO_COLLATE).SetCheck(ui::kChecked);
            host.EditControl(IDC_DOC_COPIES).SetWindowText("3");
            host.EditControl(IDC_DOC_EMAIL_ADDRESS).SetWindowText("jan@example.sk");
            c.change(host, block);
            const ShownContext context{ui::Window(), block, nullptr, nullptr, {}, 0};
            std::vector<int> differing;
            for (const ShownProblem& problem :
                 CompareShown(table, ui::Window(host.ActiveDialog()), context))
                differing.push_back(problem.controlId);
            EXPECT_EQ(differing, c.differing) << c.what;
            host.PressCancel();
        });
        dialog.DoModal();
    }
}

} // namespace
} // namespace shown
