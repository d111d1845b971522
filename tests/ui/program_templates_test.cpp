// The program's own templates (res/vela40ps.rc) in the headless backend: every page opens in a
// sheet and every dialog runs, with the controls, buddies and pictures the pages rely on.
#include <gtest/gtest.h>

#include "res/resource.h"
#include "ui/dialog.h"
#include "ui/headless/test_host.h"

namespace ui {
namespace {

using headless::TestHost;

class PlainPage : public PropertyPage {
public:
    explicit PlainPage(int id) : PropertyPage(id) {}
};

struct ControlCase {
    int dialog;
    int control;
    ControlKind kind;
};

// One control of each template, of the kind the page code will bind it as.
const ControlCase kPageControls[] = {
    {IDD_LAYOUT, IDC_PAGES_PER_SHEET, ControlKind::ComboBox},
    {IDD_PAPER, IDC_PAPER_SIZE, ControlKind::ComboBox},
    {IDD_FEATURES, IDC_RESOLUTION, ControlKind::ComboBox},
    {IDD_OVERLAY, IDC_OVERLAY_CYCLE_FIRST_SPIN, ControlKind::UpDown},
    {IDD_FONTS, IDC_FONT_SYSTEM_LIST, ControlKind::ListBox},
    {IDD_SETTINGS, IDC_OPTIONS_AVAILABLE, ControlKind::ListBox},
    {IDD_CONSUMABLES, IDC_SUPPLY_BAR_0, ControlKind::Progress},
    {IDD_ABOUT, IDC_ABOUT_TEXT, ControlKind::Edit},
};

TEST(ProgramTemplates, EveryPageOpensInASheet) {
    TestHost host;
    std::vector<std::unique_ptr<PlainPage>> pages;
    PropertySheet sheet("Printer");
    for (const ControlCase& c : kPageControls) {
        pages.push_back(std::make_unique<PlainPage>(c.dialog));
        sheet.AddPage(*pages.back());
    }
    host.OnSheet([&] {
        for (int i = 0; i < sheet.GetPageCount(); ++i) {
            host.SelectPage(i);
            ASSERT_EQ(sheet.GetActiveIndex(), i);
            const ControlCase& c = kPageControls[i];
            EXPECT_EQ(host.Control(c.control).GetKind(), c.kind) << c.dialog << "/" << c.control;
            EXPECT_TRUE(host.IsShown(c.control)) << c.dialog << "/" << c.control;
        }
        // The About page's picture shows bitmap 140 at its own size.
        const Static picture = host.Picture(IDC_ABOUT_PICTURE);
        EXPECT_EQ(host.Bitmap(IDC_ABOUT_PICTURE), IDB_ABOUT);
        EXPECT_EQ(picture.GetBitmapSize(), host.BitmapSize(IDB_ABOUT).value());
        host.PressCancel();
    });
    EXPECT_EQ(sheet.DoModal(), kIdCancel);
}

const ControlCase kDialogControls[] = {
    {IDD_GRAPHICS_OPTIONS, IDC_TONER_SAVING, ControlKind::Button},
    {IDD_COLOR_OPTIONS, IDC_COLOR_PROFILE_LIST, ControlKind::ComboBox},
    {IDD_POSTSCRIPT_OPTIONS, IDC_PS_JOB_TIMEOUT, ControlKind::Edit},
    {IDD_DOCUMENT_OPTIONS, IDC_DOC_COPIES_SPIN, ControlKind::UpDown},
    {IDD_WATERMARK_EDITOR, IDC_WM_SIZE_SPIN, ControlKind::UpDown},
    {IDD_CRD_MATCHING, IDC_CRD_DEFAULT, ControlKind::ComboBox},
    {IDD_ICC_MATCHING, 0, ControlKind::Other},
    {IDD_PROFILE_MANAGEMENT, 0, ControlKind::Other},
    {IDD_HALFTONE, 0, ControlKind::Other},
    {IDD_ADVANCED_FEED, 0, ControlKind::Other},
    {IDD_CUSTOM_SIZE, 0, ControlKind::Other},
};

TEST(ProgramTemplates, EveryDialogRuns) {
    TestHost host;
    for (const ControlCase& c : kDialogControls) {
        Dialog dialog(c.dialog);
        host.OnDialog(c.dialog, [&] {
            EXPECT_TRUE(dialog.IsWindowVisible()) << c.dialog;
            if (c.control) {
                EXPECT_EQ(host.Control(c.control).GetKind(), c.kind) << c.dialog;
            }
            host.PressCancel();
        });
        EXPECT_EQ(dialog.DoModal(), kIdCancel) << c.dialog;
    }
}

// Up-down controls find the edit before them as their buddy, as the document options' copies
// and the watermark editor's numbers need.
TEST(ProgramTemplates, SpinButtonsHaveTheirBuddies) {
    TestHost host;
    const struct {
        int dialog;
        int spin;
        int buddy;
    } cases[] = {
        {IDD_DOCUMENT_OPTIONS, IDC_DOC_COPIES_SPIN, IDC_DOC_COPIES},
        {IDD_WATERMARK_EDITOR, IDC_WM_SIZE_SPIN, IDC_WM_SIZE},
        {IDD_WATERMARK_EDITOR, IDC_WM_OFFSET_Y_SPIN, IDC_WM_OFFSET_Y},
    };
    for (const auto& c : cases) {
        Dialog dialog(c.dialog);
        host.OnDialog(c.dialog, [&] {
            EXPECT_EQ(host.Spin(c.spin).GetBuddy().GetDlgCtrlID(), c.buddy) << c.spin;
            host.PressCancel();
        });
        dialog.DoModal();
    }
}

} // namespace
} // namespace ui
