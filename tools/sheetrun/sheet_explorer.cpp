#include "tools/sheetrun/sheet_explorer.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "app/config_app.h"
#include "tests/pages/shown/shown_fields.h"
#include "ui/backend.h"
#include "ui/types.h"

namespace sheetrun {
namespace {

// Dialogs that open dialogs that open dialogs: deeper than this is a loop, not a user.
constexpr std::size_t kMaxDialogDepth = 4;
// Message boxes of one sequence: more than this is a page that keeps reporting.
constexpr int kMaxMessageBoxes = 200;
// Actions tried in one dialog before it counts as one that cannot be left.
constexpr int kMaxDialogSteps = 2000;

constexpr char kHelpCaption[] = "Pomocn\xEDk";
constexpr char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers\\";

// A page that keeps showing message boxes: the sequence cannot go on.
class MessageBoxStorm : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Numbers as users type them: in and out of every range the dialogs check, signed, decimal,
// with letters, empty, and too long for the edits.
const std::vector<std::string> kNumberTexts = {
    "0",   "1",   "2",   "7",   "25",   "50",   "99",    "100",         "210",
    "297", "350", "400", "999", "1000", "3000", "3001",  "-5",          "+7",
    "1.5", ".5",  "8.5", "12a", "",     "00",   "65536", "99999999999", "210.55",
};

// A text of `count` characters made of Slovak letters and blanks.
std::string SlovakText(std::size_t count) {
    static constexpr std::string_view kLetters = "\x8Eltu\x9Dou\xE8k\xFD k\xF4\xF2 \xFApel "
                                                 "\xEF\xE1"
                                                 "belsk\xE9 \xF3"
                                                 "dy ";
    std::string text;
    while (text.size() < count)
        text += kLetters;
    text.resize(count);
    return text;
}

// Names and words: 8.3 names and others, paths, Slovak letters, and texts longer than the
// fields (31, 63 and 64 characters are the limits of the block's names).
const std::vector<std::string> kWordTexts = {
    "FORM.OVL",
    "ABCDEFGH.OVL",
    "ABCDEFGHI.OVL",
    "LOGO.OVLX",
    "C:\\FORMY\\LOGO.OVL",
    "LOGO",
    "Moje nastavenie",
    "\x8Eiadny",
    "\x9Eiadny",
    "K\xD3PIA",
    "k\xF3pia",
    "\\zaciatok",
    "\xC8\xED"
    "slo 7",
    "jan.novak@example.sk",
    " medzera ",
    "",
    SlovakText(12),
    SlovakText(31),
    SlovakText(32),
    SlovakText(40),
    SlovakText(63),
    SlovakText(64),
    SlovakText(70),
    SlovakText(260),
};

bool IsPushButton(unsigned style) {
    const unsigned type = style & ui::kBsTypeMask;
    return type == ui::kBsPushButton || type == ui::kBsDefPushButton;
}

bool HasEditField(const ui::Window& control) {
    return control.GetKind() == ui::ControlKind::ComboBox &&
           (control.GetStyle() & 0x3) != ui::kCbsDropDownList;
}

// The buttons a message box of `style` offers, the default first.
std::vector<int> ButtonsOf(unsigned style) {
    switch (style & 0xF) {
    case ui::kMbOkCancel:
        return {ui::kIdOk, ui::kIdCancel};
    case ui::kMbYesNoCancel:
        return {ui::kIdYes, ui::kIdNo, ui::kIdCancel};
    case ui::kMbYesNo:
        return {ui::kIdYes, ui::kIdNo};
    default:
        return {ui::kIdOk};
    }
}

} // namespace

SheetExplorer::SheetExplorer(ui::headless::TestHost& host, Options options)
    : host_(host), options_(options), random_(options.seed) {
    host_.SetDialogFallback([this](int dialogId) { RunDialog(dialogId); });
    host_.SetMessageBoxFallback(
        [this](const ui::MessageBoxCall& box) { return AnswerMessageBox(box); });
    host_.SetOpenFileFallback([this](const ui::OpenFileRequest&) -> std::optional<std::string> {
        script_.push_back(ScriptFileDialogLine());
        return std::nullopt;
    });
    host_.SetModalEndObserver(
        [this](ui::Handle window, int result) { OnModalEnd(window, result); });
}

SheetExplorer::~SheetExplorer() {
    host_.SetDialogFallback(nullptr);
    host_.SetMessageBoxFallback(nullptr);
    host_.SetOpenFileFallback(nullptr);
    host_.SetModalEndObserver(nullptr);
}

void SheetExplorer::Explore(ui::PropertySheet& sheet) {
    sheet_ = &sheet;
    const auto ended = [&] { return host_.InnermostModalEnded(); };
    while (!ended()) {
        const std::optional<Action> action = Next(Current());
        if (!action)
            break;
        Perform(*action);
    }
    if (!ended() && !options_.plan) {
        // The user is done: OK, Cancel, or Enter in whatever has the focus.
        const int roll = Below(100);
        Action last;
        last.kind = roll < 60 ? ActionKind::Ok : roll < 85 ? ActionKind::Cancel : ActionKind::Enter;
        Perform(last);
    }
    // A page that refuses OK keeps the sheet open: then the user gives up.
    if (!ended()) {
        Action cancel;
        cancel.kind = ActionKind::Cancel;
        Perform(cancel);
    }
    if (!ended())
        Find("sheet-open", "the sheet stayed open after Cancel");
}

SheetExplorer::Context SheetExplorer::Current() const {
    if (!dialogs_.empty())
        return {dialogs_.back().templateId, true};
    const ui::PropertyPage* page = sheet_ ? sheet_->GetActivePage() : nullptr;
    return {page ? page->GetTemplateId() : 0, false};
}

bool SheetExplorer::BudgetLeft() const {
    return static_cast<int>(actions_.size()) < options_.actions;
}

void SheetExplorer::Find(std::string kind, std::string detail) {
    findings_.push_back({std::move(kind), std::move(detail)});
}

std::optional<Action> SheetExplorer::Next(const Context& context) {
    return options_.plan ? Planned(context) : Choose(context);
}

std::optional<Action> SheetExplorer::Planned(const Context& context) {
    const std::vector<Action>& plan = *options_.plan;
    while (planAt_ < plan.size()) {
        const Action& action = plan[planAt_];
        if (action.kind == ActionKind::Answer) {
            ++planAt_; // an answer without its message box
            continue;
        }
        if (context.dialog) {
            if (action.context == context.templateId) {
                ++planAt_;
                return action;
            }
            // The plan goes on elsewhere: this dialog is left first.
            Action cancel;
            cancel.kind = ActionKind::Cancel;
            cancel.context = context.templateId;
            return cancel;
        }
        ++planAt_;
        if (action.context == 0 || action.context == context.templateId)
            return action;
        // Meant for a dialog that is not open, or for another page: left out.
    }
    return std::nullopt;
}

int SheetExplorer::Below(int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(random_);
}

const std::string& SheetExplorer::AnyOf(const std::vector<std::string>& texts) {
    return texts[static_cast<std::size_t>(Below(static_cast<int>(texts.size())))];
}

std::optional<Action> SheetExplorer::Choose(const Context& context) {
    if (!BudgetLeft())
        return std::nullopt;
    Action action;
    action.context = context.templateId;
    const int roll = Below(100);
    if (context.dialog && roll < 10) {
        action.kind = roll < 7 ? ActionKind::Ok : ActionKind::Cancel;
        return action;
    }
    if (!context.dialog && roll < 8 && sheet_ && sheet_->GetPageCount() > 1) {
        action.kind = ActionKind::Page;
        action.context = 0;
        action.index = Below(sheet_->GetPageCount());
        return action;
    }
    const std::vector<ui::Window> controls = ReachableControls(context.templateId);
    if (roll >= 92 || controls.empty()) {
        action.kind = ActionKind::Tab;
        action.flag = roll >= 97;
        return action;
    }
    const ui::Window control =
        controls[static_cast<std::size_t>(Below(static_cast<int>(controls.size())))];
    action.id = control.GetDlgCtrlID();
    ChooseOnControl(control, action);
    return action;
}

std::vector<ui::Window> SheetExplorer::ReachableControls(int templateId) const {
    std::vector<ui::Window> controls;
    const std::optional<ui::headless::DialogTemplate> layout = host_.Template(templateId);
    if (!layout)
        return controls;
    for (const auto& item : layout->items) {
        const ui::Window control = host_.Control(item.id);
        if (item.id <= 0 || item.id == 0xFFFF || !control || !control.IsWindowVisible() ||
            !control.IsWindowEnabled())
            continue;
        const ui::ControlKind kind = control.GetKind();
        if (kind == ui::ControlKind::Button) {
            // OK and Cancel end the dialog (chosen apart); help opens no window of ours.
            const unsigned type = control.GetStyle() & ui::kBsTypeMask;
            if (type == ui::kBsGroupBox || item.id == ui::kIdOk || item.id == ui::kIdCancel ||
                (IsPushButton(control.GetStyle()) && control.GetWindowText() == kHelpCaption))
                continue;
        } else if (kind != ui::ControlKind::ComboBox && kind != ui::ControlKind::ListBox &&
                   kind != ui::ControlKind::Edit && kind != ui::ControlKind::UpDown) {
            continue;
        }
        controls.push_back(control);
    }
    return controls;
}

void SheetExplorer::ChooseOnControl(const ui::Window& control, Action& action) {
    const int how = Below(100);
    switch (control.GetKind()) {
    case ui::ControlKind::ComboBox: {
        const ui::ComboBox list(control.GetHandle());
        const int count = list.GetCount();
        if (HasEditField(control) && how < 35) {
            action.kind = ActionKind::Type;
            action.text = AnyOf(kWordTexts);
        } else if (how < 45 && count > 0) {
            action.kind = ActionKind::Choose;
            action.index = Below(count);
        } else if (how < 70) {
            action.kind = ActionKind::ListKey;
            action.index = Below(6);
        } else if (how < 85) {
            // The first letter of an entry, or any letter.
            action.kind = ActionKind::ListLetter;
            const std::string entry = count > 0 ? list.GetItemText(Below(count)) : std::string();
            action.text = entry.empty() ? std::string(1, static_cast<char>('a' + Below(26)))
                                        : entry.substr(0, 1);
        } else {
            action.kind = ActionKind::DismissList;
            action.flag = how >= 93;
        }
        return;
    }
    case ui::ControlKind::ListBox: {
        const int count = ui::ListBox(control.GetHandle()).GetCount();
        if (how < 85 && count > 0) {
            action.kind = ActionKind::Choose;
            action.index = Below(count);
        } else {
            action.kind = ActionKind::Focus;
        }
        return;
    }
    case ui::ControlKind::Edit:
        if (how < 75) {
            action.kind = ActionKind::Type;
            const bool digits = (control.GetStyle() & ui::kEsNumber) != 0;
            action.text = AnyOf(digits || Below(100) < 40 ? kNumberTexts : kWordTexts);
        } else {
            action.kind = ActionKind::Focus;
        }
        return;
    case ui::ControlKind::UpDown:
        action.kind = ActionKind::Spin;
        action.flag = how < 50;
        return;
    default:
        action.kind = ActionKind::Click;
        return;
    }
}

bool SheetExplorer::Applicable(Action& action) const {
    switch (action.kind) {
    case ActionKind::Ok:
    case ActionKind::Cancel:
    case ActionKind::Enter:
    case ActionKind::Tab:
        return true;
    case ActionKind::Page:
        if (!sheet_ || !dialogs_.empty() || sheet_->GetPageCount() == 0)
            return false;
        action.index %= sheet_->GetPageCount();
        return true;
    case ActionKind::Answer:
        return false; // only a message box takes an answer
    default:
        break;
    }
    const ui::Window control = host_.Control(action.id);
    if (!control || !control.IsWindowVisible() || !control.IsWindowEnabled())
        return false;
    const ui::ControlKind kind = control.GetKind();
    const bool combo = kind == ui::ControlKind::ComboBox;
    switch (action.kind) {
    case ActionKind::Choose: {
        if (!combo && kind != ui::ControlKind::ListBox)
            return false;
        const int count = ui::ListControl(control.GetHandle()).GetCount();
        if (count <= 0)
            return false;
        action.index %= count;
        return true;
    }
    case ActionKind::ListKey:
    case ActionKind::DismissList:
        return combo;
    case ActionKind::ListLetter:
        return combo && action.text.size() == 1 && action.text[0] != ' ';
    case ActionKind::Type:
        return kind == ui::ControlKind::Edit || HasEditField(control);
    case ActionKind::Click:
        return kind == ui::ControlKind::Button;
    case ActionKind::Focus:
        return kind == ui::ControlKind::Edit || combo || kind == ui::ControlKind::ListBox;
    case ActionKind::Spin:
        return kind == ui::ControlKind::UpDown;
    default:
        return false;
    }
}

void SheetExplorer::Record(const Action& action) {
    actions_.push_back(action);
    script_.push_back(ScriptLine(action));
    if (options_.onAction)
        options_.onAction(action);
}

bool SheetExplorer::Perform(Action action) {
    if (!Applicable(action))
        return false;
    actionLine_ = script_.size();
    Record(action);
    lastControl_ = action.id;
    using Key = ui::Automation::ListKey;
    switch (action.kind) {
    case ActionKind::Choose:
        host_.ChooseItem(action.id, action.index);
        break;
    case ActionKind::ListKey:
        host_.PressListKey(action.id, static_cast<Key>(action.index % 6));
        break;
    case ActionKind::ListLetter:
        host_.TypeListLetter(action.id, action.text[0]);
        break;
    case ActionKind::DismissList:
        host_.DismissList(action.id, action.flag ? ui::Automation::Dismissal::ClickOutside
                                                 : ui::Automation::Dismissal::Escape);
        break;
    case ActionKind::Type:
        host_.ReplaceText(action.id, action.text);
        break;
    case ActionKind::Click:
        host_.Click(action.id);
        break;
    case ActionKind::Focus:
        host_.FocusControl(action.id);
        break;
    case ActionKind::Tab:
        host_.PressTab(action.flag);
        break;
    case ActionKind::Spin:
        if (action.flag)
            host_.SpinUp(action.id);
        else
            host_.SpinDown(action.id);
        break;
    case ActionKind::Page:
        host_.SelectPage(action.index);
        break;
    case ActionKind::Ok:
        host_.PressOk();
        break;
    case ActionKind::Cancel:
        host_.PressCancel();
        break;
    case ActionKind::Enter:
        host_.PressEnter();
        break;
    case ActionKind::Answer:
        break;
    }
    return true;
}

void SheetExplorer::RunDialog(int dialogId) {
    const ui::Handle window = host_.ActiveDialog();
    dialogs_.push_back({dialogId, window, lastControl_});
    script_.push_back(ScriptDialogLine(dialogId));
    const Context context{dialogId, true};
    const auto ended = [&] {
        return host_.ActiveDialog() != window || host_.InnermostModalEnded();
    };
    int steps = 0;
    while (!ended() && dialogs_.size() <= kMaxDialogDepth && ++steps < kMaxDialogSteps) {
        const std::optional<Action> action = Next(context);
        if (!action)
            break;
        Perform(*action);
    }
    if (!ended() && !options_.plan && dialogs_.size() <= kMaxDialogDepth && Below(100) < 70) {
        Action ok;
        ok.kind = ActionKind::Ok;
        ok.context = dialogId;
        Perform(ok);
    }
    if (!ended()) {
        Action cancel;
        cancel.kind = ActionKind::Cancel;
        cancel.context = dialogId;
        Perform(cancel);
    }
    if (!ended())
        Find("dialog-open " + std::to_string(dialogId),
             "dialog " + IdName(dialogId, true) + " stayed open after Cancel");
    // Its end is reported once this returns: the checks need to know what it was.
    endingDialog_ = dialogs_.back();
    dialogs_.pop_back();
}

int SheetExplorer::AnswerMessageBox(const ui::MessageBoxCall& box) {
    if (++messageBoxes_ > kMaxMessageBoxes) {
        Find("message-boxes", "more than " + std::to_string(kMaxMessageBoxes) +
                                  " message boxes, the last \"" + box.text + "\"");
        throw MessageBoxStorm("message boxes without end");
    }
    script_.push_back(ScriptMessageLine(box.text));
    const std::vector<int> buttons = ButtonsOf(box.style);
    int button = buttons.front();
    if (options_.plan) {
        const std::vector<Action>& plan = *options_.plan;
        if (planAt_ < plan.size() && plan[planAt_].kind == ActionKind::Answer) {
            if (std::find(buttons.begin(), buttons.end(), plan[planAt_].id) != buttons.end())
                button = plan[planAt_].id;
            ++planAt_;
        }
    } else {
        button = buttons[static_cast<std::size_t>(Below(static_cast<int>(buttons.size())))];
    }
    Action answer;
    answer.kind = ActionKind::Answer;
    answer.context = Current().templateId;
    answer.id = button;
    Record(answer);
    return button;
}

void SheetExplorer::OnModalEnd(ui::Handle window, int result) {
    if (sheet_ && window == sheet_->GetHandle()) {
        sheetResult_ = result;
        if (result == ui::kIdOk)
            blockAtOk_ = app::TheApp().settings;
        if (const ui::PropertyPage* page = sheet_->GetActivePage())
            CheckShown(page->GetTemplateId(), page->GetHandle(), 0, result == ui::kIdOk);
        return;
    }
    if (window == endingDialog_.window)
        CheckShown(endingDialog_.templateId, window, endingDialog_.openedBy, result == ui::kIdOk);
}

void SheetExplorer::ExpectShown(const ui::Window& control) {
    // Before the line of the OK that ended the page or dialog: there the control still shows it.
    std::string line;
    const std::string id = IdName(control.GetDlgCtrlID());
    switch (control.GetKind()) {
    case ui::ControlKind::ComboBox:
    case ui::ControlKind::ListBox:
        line = "expect-selected " + id;
        if (const std::string text = ui::ListControl(control.GetHandle()).GetSelectedText();
            !text.empty())
            line += " " + ScriptText(text);
        break;
    case ui::ControlKind::Edit:
    case ui::ControlKind::Static:
        line = "expect-text " + id;
        if (const std::string text = control.GetWindowText(); !text.empty())
            line += " " + ScriptText(text);
        break;
    default:
        return; // drvsim reads no check state
    }
    if (actionLine_ <= script_.size())
        script_.insert(script_.begin() + static_cast<std::ptrdiff_t>(actionLine_++), line);
}

void SheetExplorer::CheckShown(int templateId, ui::Handle window, int openedBy, bool accepted) {
    const shown::ShownTable* table = shown::FindShownTable(templateId);
    if (!table)
        return;
    const app::PrinterSettingsBlock& block = app::TheApp().settings;
    const std::string printerKey = kPrintersKey + block.printerName();
    const shown::ShownContext context{ui::Window(),      block,      app::TheApp().ppdDocument,
                                      options_.registry, printerKey, openedBy};
    const std::string where = IdName(templateId, true);
    if (accepted) {
        for (const shown::ShownProblem& problem :
             shown::CompareShown(*table, ui::Window(window), context)) {
            Find("shown " + std::to_string(templateId) + "/" + std::to_string(problem.controlId),
                 "when OK was accepted on " + where + ", " + problem.text);
            ExpectShown(ui::Window(ui::CurrentBackend().Item(window, problem.controlId)));
        }
    }
    for (const shown::ShownProblem& problem :
         shown::CompareStored(*table, ui::Window(window), context))
        Find("stored " + std::to_string(templateId) + "/" + std::to_string(problem.controlId),
             "when " + where + " ended, " + problem.text);
}

} // namespace sheetrun
