#include "ui/dialog.h"

#include <charconv>
#include <string>

#include "ui/backend.h"
#include "ui/data_exchange.h"
#include "ui/services.h"

namespace ui {
namespace {

Backend& B() {
    return CurrentBackend();
}

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

// Parses a whole decimal integer, allowing blanks around it, as GetDlgItemInt does.
bool ParseInt(std::string_view text, long long& value) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    if (begin < end && text[begin] == '+')
        ++begin;
    if (begin == end)
        return false;
    const char* first = text.data() + begin;
    const char* last = text.data() + end;
    auto [ptr, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && ptr == last;
}

} // namespace

bool DialogBase::OnInitDialog() {
    UpdateData(false);
    return true;
}

Window DialogBase::GetDlgItem(int id) const {
    return Window(handle_ ? B().Item(handle_, id) : nullptr);
}

bool DialogBase::UpdateData(bool saveAndValidate) {
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

void DialogBase::CheckRadioButton(int firstId, int lastId, int checkId) const {
    for (int id = firstId; id <= lastId; ++id) {
        const Button button(GetDlgItem(id).GetHandle());
        if (button)
            button.SetCheck(id == checkId ? kChecked : kUnchecked);
    }
}

int DialogBase::GetCheckedRadioButton(int firstId, int lastId) const {
    for (int id = firstId; id <= lastId; ++id) {
        if (IsDlgButtonChecked(id) == kChecked)
            return id;
    }
    return 0;
}

int DialogBase::IsDlgButtonChecked(int id) const {
    return Button(GetDlgItem(id).GetHandle()).GetCheck();
}

void DialogBase::CheckDlgButton(int id, int state) const {
    Button(GetDlgItem(id).GetHandle()).SetCheck(state);
}

std::string DialogBase::GetDlgItemText(int id) const {
    return GetDlgItem(id).GetWindowText();
}

void DialogBase::SetDlgItemText(int id, std::string_view text) const {
    GetDlgItem(id).SetWindowText(text);
}

void DialogBase::SetDlgItemInt(int id, int value) const {
    SetDlgItemText(id, std::to_string(value));
}

int DialogBase::GetDlgItemInt(int id, bool* ok) const {
    long long value = 0;
    const bool parsed = GetDlgItem(id) && ParseInt(GetDlgItemText(id), value) &&
                        value >= INT32_MIN && value <= INT32_MAX;
    if (ok)
        *ok = parsed;
    return parsed ? static_cast<int>(value) : 0;
}

void DialogBase::GotoDlgCtrl(Window control) const {
    if (!control)
        return;
    control.SetFocus();
    if (control.GetKind() == ControlKind::Edit)
        Edit(control.GetHandle()).SetSel(0, -1);
}

int DialogBase::MessageBox(std::string_view text, unsigned style, std::string_view caption) const {
    return ui::MessageBox(text, style, caption, *this);
}

int Dialog::DoModal() {
    ended_ = false;
    result_ = kModalLoopEnded;
    const Handle parent = parent_ ? parent_->GetHandle() : nullptr;
    B().RunDialog(*this, parent);
    return ended_ ? result_ : kModalLoopEnded;
}

void Dialog::EndDialog(int result) {
    if (!handle_)
        return;
    ended_ = true;
    result_ = result;
    B().EndDialog(handle_, result);
}

void Dialog::OnOK() {
    if (UpdateData(true))
        EndDialog(kIdOk);
}

void Dialog::OnCancel() {
    EndDialog(kIdCancel);
}

bool PropertyPage::OnSetActive() {
    if (firstActivation_)
        firstActivation_ = false;
    else
        UpdateData(false);
    return true;
}

bool PropertyPage::OnKillActive() {
    return UpdateData(true);
}

void PropertySheet::AddPage(PropertyPage& page) {
    page.sheet_ = this;
    pages_.push_back(&page);
}

int PropertySheet::DoModal() {
    if (pages_.empty())
        return kModalLoopEnded;
    return B().RunSheet(*this);
}

int PropertySheet::GetActiveIndex() const {
    return handle_ ? B().SheetActiveIndex(handle_) : -1;
}

PropertyPage* PropertySheet::GetActivePage() const {
    const int index = GetActiveIndex();
    if (index < 0 || index >= GetPageCount())
        return nullptr;
    return pages_[static_cast<size_t>(index)];
}

bool PropertySheet::SetActivePage(int index) {
    if (!handle_ || index < 0 || index >= GetPageCount())
        return false;
    return B().SetSheetActiveIndex(handle_, index);
}

void SetContextHelpIds(const DialogBase& dialog, std::span<const int> ids) {
    bool first = true;
    for (int id : ids) {
        if (first) {
            dialog.SetContextHelpId(static_cast<unsigned>(id));
            first = false;
            continue;
        }
        const Window control = dialog.GetDlgItem(id);
        if (control)
            control.SetContextHelpId(static_cast<unsigned>(id));
    }
}

void DialogEvents::Attach(DialogBase& dialog, Handle handle) {
    dialog.handle_ = handle;
    if (auto* page = dynamic_cast<PropertyPage*>(&dialog))
        page->firstActivation_ = true;
}

bool DialogBase::Dispatch(int id, int code) {
    for (const MessageEntry& entry : GetMessageMap()) {
        if (entry.kind != MessageEntry::Kind::Command || entry.id != id || entry.code != code)
            continue;
        std::visit(Overloaded{
                       [&](CommandHandler h) { (this->*h)(); },
                       [&](CommandIdHandler h) { (this->*h)(id); },
                       [](DrawItemHandler) {},
                       [](HelpHandler) {},
                   },
                   entry.handler);
        return true;
    }
    return false;
}

void DialogBase::DispatchChoice(int id, int code) {
    if (code != kCbnDropDown && code != kCbnCloseUp && code != kCbnSelChange) {
        // Only the selection change right after a close-up is that close-up's choice: anything
        // else the list reports first (the focus going, a key's CBN_SELENDOK) ends the pairing,
        // so that a later change to the same entry (after a dismissed list and a selection the
        // program made) is a choice of its own.
        if (id == closedUpList_)
            closedUpList_ = 0;
        return;
    }
    const Handle list = GetDlgItem(id).GetHandle();
    if (!list || B().Kind(list) != ControlKind::ComboBox)
        return;
    if (code == kCbnDropDown) {
        closedUpList_ = 0;
        droppedList_ = id;
        droppedSelection_ = B().CurSel(list);
        return;
    }
    if (code == kCbnSelChange) {
        // While the list is open the choice is not made yet: its close-up reports it.
        if (B().IsDroppedDown(list))
            return;
        const bool sameAsCloseUp = closedUpList_ == id && closedUpSelection_ == B().CurSel(list);
        closedUpList_ = 0;
        if (sameAsCloseUp)
            return;
        Dispatch(id, kCbnChoice);
        return;
    }
    // A list opened and closed again on the entry it showed (Esc, a click outside it, or the
    // same entry clicked) is no choice.
    const int selection = B().CurSel(list);
    const bool changed = droppedList_ != id || droppedSelection_ != selection;
    droppedList_ = 0;
    closedUpList_ = id;
    closedUpSelection_ = selection;
    if (!changed)
        return;
    Dispatch(id, kCbnChoice);
    // The handler may have closed the dialog or refilled the list.
    if (!GetHandle())
        return;
    closedUpSelection_ = B().CurSel(GetDlgItem(id).GetHandle());
}

void DialogEvents::Command(DialogBase& dialog, int id, int code) {
    dialog.OnNotification(id, code);
    const bool handled = dialog.Dispatch(id, code);
    dialog.DispatchChoice(id, code);
    if (handled || code != kBnClicked)
        return;
    if (auto* modal = dynamic_cast<Dialog*>(&dialog)) {
        if (id == kIdOk)
            modal->OnOK();
        else if (id == kIdCancel)
            modal->OnCancel();
    }
}

bool DialogEvents::DrawItem(DialogBase& dialog, ui::DrawItem& item) {
    for (const MessageEntry& entry : dialog.GetMessageMap()) {
        if (entry.kind != MessageEntry::Kind::DrawItem || entry.id != item.controlId)
            continue;
        (dialog.*std::get<DrawItemHandler>(entry.handler))(item);
        return true;
    }
    return false;
}

void DialogEvents::Help(DialogBase& dialog, const HelpRequest& request) {
    for (const MessageEntry& entry : dialog.GetMessageMap()) {
        if (entry.kind != MessageEntry::Kind::Help)
            continue;
        (dialog.*std::get<HelpHandler>(entry.handler))(request);
        return;
    }
    if (request.window)
        RunContextHelpFor(request.window);
    else
        RunContextHelp();
}

bool DialogEvents::IsPage(const DialogBase& dialog) {
    return dynamic_cast<const PropertyPage*>(&dialog) != nullptr;
}

bool DialogEvents::PageSetActive(PropertyPage& page) {
    return page.OnSetActive();
}

void DialogEvents::PageHelp(PropertyPage& page) {
    RunContextHelp();
}

} // namespace ui
