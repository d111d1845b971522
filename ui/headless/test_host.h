#pragma once
// The headless backend installed for a test's scope, with typed views of the running dialog's
// controls. A page is tested by running it in a sheet and acting as the user:
//
//   ui::headless::TestHost host;                           // the program's own templates
//   CPaper paper;
//   ui::PropertySheet sheet("Printer");
//   sheet.AddPage(paper);
//   host.OnSheet([&] {
//       host.ChooseItem(IDC_PAPER_SIZE, "A4");          // CBN_SELCHANGE, then CBN_CLOSEUP
//       EXPECT_EQ(host.Combo(IDC_SOURCE).GetCurSel(), 0);
//       host.OnDialog(IDD_CUSTOM_SIZE, [&] {             // a dialog the page opens
//           host.ReplaceText(IDC_WIDTH, "210");
//           host.PressOk();
//       });
//       host.Click(IDC_CONFIGURE);
//       host.OnMessageBox([](const ui::MessageBoxCall& box) {
//           EXPECT_EQ(box.text, "...");                   // code page 1250
//           return ui::kIdOk;
//       });
//       host.PressOk();
//   });
//   EXPECT_EQ(sheet.DoModal(), ui::kIdOk);
//
// A modal run, message box or file dialog without a handler throws ScriptError, which fails
// the test.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/backend.h"
#include "ui/headless/headless_backend.h"
#include "ui/window.h"

namespace ui::headless {

class TestHost : public HeadlessBackend {
public:
    // The program's compiled resources (res/vela40ps.rc).
    TestHost();
    explicit TestHost(std::span<const unsigned char> resources);
    ~TestHost() override;

    // Views of the controls of the running dialog (or the sheet's current page).
    ComboBox Combo(int id) { return ComboBox(Control(id).GetHandle()); }
    ListBox List(int id) { return ListBox(Control(id).GetHandle()); }
    Edit EditControl(int id) { return Edit(Control(id).GetHandle()); }
    Button ButtonControl(int id) { return Button(Control(id).GetHandle()); }
    SpinButton Spin(int id) { return SpinButton(Control(id).GetHandle()); }
    ProgressBar Progress(int id) { return ProgressBar(Control(id).GetHandle()); }
    Static Picture(int id) { return Static(Control(id).GetHandle()); }

    // Shortcuts for assertions.
    std::string Text(int id) { return Control(id).GetWindowText(); }
    bool IsEnabled(int id) { return Control(id).IsWindowEnabled(); }
    bool IsShown(int id) { return Control(id).IsWindowVisible(); }
    int Check(int id) { return ButtonControl(id).GetCheck(); }
    int Selection(int id) { return Combo(id).GetCurSel(); }
    std::string SelectedText(int id) { return Combo(id).GetSelectedText(); }
    std::vector<std::string> Items(int id);
    std::vector<std::intptr_t> ItemData(int id);
    int Bitmap(int id) { return BitmapId(Control(id).GetHandle()); }
    int FocusedId() { return ControlId(Focus()); }

    using HeadlessBackend::IsEnabled;
    using HeadlessBackend::ItemData;
    using HeadlessBackend::Text;

private:
    ScopedBackend scope_;
};

// Code page 1250 bytes of a UTF-8 literal, for writing Slovak expectations readably.
std::string Cp1250(std::u8string_view text);

} // namespace ui::headless
