#include "tools/sheetrun/sheet_walker.h"

#include <optional>
#include <string>
#include <vector>

#include "app/config_app.h"
#include "ui/dialog.h"
#include "ui/types.h"

namespace sheetrun {
namespace {

// Dialogs that open dialogs that open dialogs: deeper than this is a loop, not a user.
constexpr int kMaxDialogDepth = 4;

bool IsPushButton(unsigned style) {
    const unsigned type = style & ui::kBsTypeMask;
    return type == ui::kBsPushButton || type == ui::kBsDefPushButton;
}

} // namespace

SheetWalker::SheetWalker(ui::headless::TestHost& host) : host_(host) {
    host_.SetDialogFallback([this](int dialogId) { WalkDialog(dialogId); });
    // The first button: OK, or Yes of a question.
    host_.SetMessageBoxFallback([](const ui::MessageBoxCall& box) {
        const unsigned buttons = box.style & 0xF;
        return buttons == ui::kMbYesNo || buttons == ui::kMbYesNoCancel ? ui::kIdYes : ui::kIdOk;
    });
    host_.SetOpenFileFallback([](const ui::OpenFileRequest&) { return std::nullopt; });
}

SheetWalker::~SheetWalker() {
    host_.SetDialogFallback(nullptr);
    host_.SetMessageBoxFallback(nullptr);
    host_.SetOpenFileFallback(nullptr);
}

void SheetWalker::WalkSheetAndPressOk() {
    ui::PropertySheet* sheet = app::TheApp().mainWindow;
    if (sheet) {
        for (int index = 0; index < sheet->GetPageCount(); ++index) {
            host_.SelectPage(index);
            if (sheet->GetActiveIndex() == index)
                WalkControls(sheet->GetPage(index).GetTemplateId());
        }
    }
    host_.PressOk();
    // A page that refuses to be left keeps the sheet open: then the user gives up.
    if (!host_.InnermostModalEnded()) {
        ui::PropertyPage* page = sheet ? sheet->GetActivePage() : nullptr;
        okRefusedBy_ = page ? page->GetTemplateId() : -1;
        host_.PressCancel();
    }
}

void SheetWalker::WalkDialog(int dialogId) {
    ++dialogsOpened_;
    const ui::Handle dialog = host_.ActiveDialog();
    if (depth_ < kMaxDialogDepth) {
        ++depth_;
        WalkControls(dialogId);
        --depth_;
    }
    if (host_.ActiveDialog() == dialog && !host_.InnermostModalEnded())
        host_.PressOk();
    if (host_.ActiveDialog() == dialog && !host_.InnermostModalEnded())
        host_.PressCancel();
}

void SheetWalker::WalkControls(int templateId) {
    const std::optional<ui::headless::DialogTemplate> layout = host_.Template(templateId);
    if (!layout)
        return;
    const ui::Handle dialog = host_.ActiveDialog();
    std::vector<int> buttons;
    for (const auto& item : layout->items) {
        // The dialog may have ended or changed under a handler's feet.
        if (host_.ActiveDialog() != dialog || host_.InnermostModalEnded())
            return;
        const ui::Window control = host_.Control(item.id);
        if (!control || !control.IsWindowVisible() || !control.IsWindowEnabled())
            continue;
        switch (control.GetKind()) {
        case ui::ControlKind::ComboBox: {
            const ui::ComboBox list(control.GetHandle());
            const int count = list.GetCount();
            if (count == 0)
                break;
            host_.ChooseItem(item.id, list.GetCurSel() == 0 && count > 1 ? 1 : 0);
            break;
        }
        case ui::ControlKind::Button:
            if (IsPushButton(control.GetStyle()) && item.id != ui::kIdOk &&
                item.id != ui::kIdCancel && item.id != ui::kIdHelp)
                buttons.push_back(item.id);
            break;
        default:
            break;
        }
    }
    for (const int id : buttons) {
        if (host_.ActiveDialog() != dialog || host_.InnermostModalEnded())
            return;
        const ui::Window button = host_.Control(id);
        if (button && button.IsWindowVisible() && button.IsWindowEnabled())
            host_.Click(id);
    }
}

} // namespace sheetrun
