// The table of context-help ids: each page and dialog finds its own list, dialog id first, and
// every control id of a list names a control of that dialog's template (a stale id would get
// no context id on the screen, and its help text would describe nothing).
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "pages/shared/context_help.h"
#include "res/compiled_resources.h"
#include "res/resource.h"
#include "ui/headless/resources.h"

namespace pages {
namespace {

constexpr int kDialogs[] = {IDD_LAYOUT,
                            IDD_PAPER,
                            IDD_CUSTOM_SIZE,
                            IDD_ADVANCED_FEED,
                            IDD_FEATURES,
                            IDD_GRAPHICS_OPTIONS,
                            IDD_HALFTONE,
                            IDD_DOCUMENT_OPTIONS,
                            IDD_POSTSCRIPT_OPTIONS,
                            IDD_COLOR_OPTIONS,
                            IDD_CRD_MATCHING,
                            IDD_ICC_MATCHING,
                            IDD_PROFILE_MANAGEMENT,
                            IDD_OVERLAY,
                            IDD_WATERMARK_EDITOR,
                            IDD_FONTS,
                            IDD_CONSUMABLES,
                            IDD_SETTINGS,
                            IDD_ABOUT};

TEST(ContextHelpIds, EveryDialogFindsItsOwnList) {
    std::set<int> controls;
    size_t total = 0;
    for (const int dialog : kDialogs) {
        const auto ids = ContextHelpIds(dialog);
        ASSERT_GE(ids.size(), 2u) << dialog;
        EXPECT_EQ(ids[0], dialog);
        for (const int id : ids.subspan(1)) {
            EXPECT_NE(id, 0);
            controls.insert(id);
        }
        total += ids.size() - 1;
    }
    EXPECT_EQ(total, 186u);
    EXPECT_EQ(controls.size(), total) << "a control id in two lists";
    EXPECT_TRUE(ContextHelpIds(IDD_LAYOUT + 1000).empty());
    EXPECT_TRUE(ContextHelpIds(0).empty());
}

TEST(ContextHelpIds, EveryControlIsInItsDialogsTemplate) {
    const auto file = ui::headless::ResourceFile::Parse(res::CompiledResources());
    ASSERT_TRUE(file.has_value());
    for (const int dialog : kDialogs) {
        const ui::headless::ResourceRecord* record =
            file->Find(ui::headless::kResourceDialog, dialog);
        ASSERT_NE(record, nullptr) << dialog;
        const auto parsed = ui::headless::ParseDialogTemplate(record->data);
        ASSERT_TRUE(parsed.has_value()) << dialog;
        std::set<int> present;
        for (const auto& item : parsed->items)
            present.insert(item.id);
        for (const int id : ContextHelpIds(dialog).subspan(1))
            EXPECT_TRUE(present.count(id)) << "control " << id << " of dialog " << dialog;
    }
}

} // namespace
} // namespace pages
