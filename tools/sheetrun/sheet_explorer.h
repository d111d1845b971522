#pragma once
// A random user on a running sheet: on the current page or the dialog in front it chooses list
// entries (mouse, arrow keys, a letter, the wheel), opens lists and dismisses them, types into
// edits, ticks check boxes and radio buttons, moves the focus (Tab and clicks), moves to other
// pages, opens dialogs and leaves them by OK or Cancel, answers message boxes either way, and
// ends with OK, Cancel or Enter on the sheet. Every action is recorded, so that the same
// sequence can be done again (a plan) and written as a drvsim script.
//
// It watches as it goes: when the sheet's or a dialog's OK is accepted, every control that the
// tables of tests/pages/shown show a block field with must show what the block then holds;
// whenever a page or dialog ends, every list entry shown as stored must exist in the registry.
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/settings_block.h"
#include "tools/sheetrun/explore_action.h"
#include "ui/dialog.h"
#include "ui/headless/test_host.h"

namespace platform {
class MemoryRegistry;
}

namespace sheetrun {

// What the explorer found: `kind` names it for comparing failures ("shown 104/1021"), `detail`
// says it in words.
struct Finding {
    std::string kind;
    std::string detail;
};

class SheetExplorer {
public:
    struct Options {
        unsigned seed = 0;
        int actions = 0;                                    // how many to take (plan: ignored)
        const std::vector<Action>* plan = nullptr;          // do these again instead of choosing
        const platform::MemoryRegistry* registry = nullptr; // for the stored-entry checks
        // Told of each action as it is done: what a run that never ends has done so far.
        std::function<void(const Action&)> onAction;
    };

    SheetExplorer(ui::headless::TestHost& host, Options options);
    ~SheetExplorer();
    SheetExplorer(const SheetExplorer&) = delete;
    SheetExplorer& operator=(const SheetExplorer&) = delete;

    // Runs inside the sheet's script (TestHost::OnSheet): acts, then ends the sheet.
    void Explore(ui::PropertySheet& sheet);

    // The actions done, in order, answers of message boxes included.
    const std::vector<Action>& Actions() const { return actions_; }
    // The drvsim script of the run.
    const std::vector<std::string>& Script() const { return script_; }
    const std::vector<Finding>& Findings() const { return findings_; }
    // The sheet's end: kIdOk or kIdCancel (0 before), and the block when OK was accepted.
    int SheetResult() const { return sheetResult_; }
    const std::optional<app::PrinterSettingsBlock>& BlockAtOk() const { return blockAtOk_; }

private:
    // The page or dialog acted on.
    struct Context {
        int templateId = 0;
        bool dialog = false;
    };
    struct OpenDialog {
        int templateId = 0;
        ui::Handle window = nullptr;
        int openedBy = 0;
    };

    void RunDialog(int dialogId);
    int AnswerMessageBox(const ui::MessageBoxCall& box);
    void OnModalEnd(ui::Handle window, int result);
    void CheckShown(int templateId, ui::Handle window, int openedBy, bool accepted);
    // Writes into the script, before the OK that ended the page or dialog, what the control
    // showed (expect-selected, expect-text): the replay checks the program shows the same.
    void ExpectShown(const ui::Window& control);

    Context Current() const;
    // The next action for the context: chosen, or taken from the plan (nothing at its end).
    std::optional<Action> Next(const Context& context);
    std::optional<Action> Choose(const Context& context);
    // The controls of the page or dialog a user can act on: shown, enabled, not a frame, not
    // OK, Cancel or help.
    std::vector<ui::Window> ReachableControls(int templateId) const;
    // What to do with the control: fills the action's kind and arguments.
    void ChooseOnControl(const ui::Window& control, Action& action);
    int Below(int n); // 0 to n - 1
    const std::string& AnyOf(const std::vector<std::string>& texts);
    std::optional<Action> Planned(const Context& context);
    // Does the action when it can be done here and now; false (nothing done) otherwise.
    bool Perform(Action action);
    bool Applicable(Action& action) const;
    void Record(const Action& action);
    bool BudgetLeft() const;
    void Find(std::string kind, std::string detail);

    ui::headless::TestHost& host_;
    Options options_;
    std::mt19937 random_;
    ui::PropertySheet* sheet_ = nullptr;
    std::size_t planAt_ = 0;
    std::vector<OpenDialog> dialogs_;
    OpenDialog endingDialog_;    // the dialog whose run ends next
    int lastControl_ = 0;        // the control of the action being done: the opener of a dialog
    std::size_t actionLine_ = 0; // the script line of the action being done
    int messageBoxes_ = 0;
    std::vector<Action> actions_;
    std::vector<std::string> script_;
    std::vector<Finding> findings_;
    int sheetResult_ = 0;
    std::optional<app::PrinterSettingsBlock> blockAtOk_;
};

} // namespace sheetrun
