#pragma once
// Walks a running sheet as a curious user would, without knowing its pages: every page in
// turn, every drop-down list changed to another entry, every push button that is not OK,
// Cancel or Help clicked; a dialog a button opens is walked the same way and closed with OK
// (with Cancel when it refuses OK), message boxes get their first button, file dialogs are
// cancelled. Finally OK on the sheet. The walk works on the headless backend through the
// automation every backend offers.
#include "ui/headless/test_host.h"

namespace sheetrun {

class SheetWalker {
public:
    explicit SheetWalker(ui::headless::TestHost& host);
    ~SheetWalker();
    SheetWalker(const SheetWalker&) = delete;
    SheetWalker& operator=(const SheetWalker&) = delete;

    // Runs inside the sheet's script (TestHost::OnSheet): walks it and presses OK.
    void WalkSheetAndPressOk();

    // Dialogs that were opened, counted over the whole walk.
    int DialogsOpened() const { return dialogsOpened_; }
    // The template of the page that kept the sheet open when OK was pressed; 0 when none did.
    int OkRefusedBy() const { return okRefusedBy_; }

private:
    // Changes the lists and clicks the buttons of the innermost dialog or current page.
    void WalkControls(int templateId);
    void WalkDialog(int dialogId);

    ui::headless::TestHost& host_;
    int depth_ = 0;
    int dialogsOpened_ = 0;
    int okRefusedBy_ = 0;
};

} // namespace sheetrun
