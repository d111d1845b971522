#pragma once
// Message maps: each dialog or page class lists, in one static table, which member handles a
// control notification, an owner-draw request or a help request. Handlers are typed member
// functions; pages never see WPARAM or LPARAM.
//
//   ui::MessageMap CLayout::GetMessageMap() const {
//       static const ui::MessageEntry entries[] = {
//           ui::OnClicked(IDC_PORTRAIT, &CLayout::OnPortrait),
//           ui::OnChoice(IDC_PAGES_PER_SHEET, &CLayout::OnPagesPerSheetChanged),
//       };
//       return entries;
//   }
//
// A handler is `void ()`, or `void (int id)` when one handler serves several controls.
#include <span>
#include <type_traits>
#include <variant>

#include "ui/painter.h"
#include "ui/types.h"

namespace ui {

class DialogBase;

// A WM_HELP request: the control F1 was pressed on (it had the focus then) or the question-mark
// was clicked on.
struct HelpRequest {
    int controlId = 0;
    Handle window = nullptr;
};

using CommandHandler = void (DialogBase::*)();
using CommandIdHandler = void (DialogBase::*)(int);
using DrawItemHandler = void (DialogBase::*)(DrawItem&);
using HelpHandler = void (DialogBase::*)(const HelpRequest&);

struct MessageEntry {
    enum class Kind { Command, DrawItem, Help };
    Kind kind = Kind::Command;
    int id = 0;   // control id (unused for Help)
    int code = 0; // notification code of a Command entry
    std::variant<CommandHandler, CommandIdHandler, DrawItemHandler, HelpHandler> handler;
};

using MessageMap = std::span<const MessageEntry>;

namespace detail {

template <class T>
constexpr void CheckHandlerClass() {
    static_assert(std::is_base_of_v<DialogBase, T>,
                  "message map handlers are members of a dialog or page class");
}

} // namespace detail

// WM_COMMAND with `code` from control `id`.
template <class T>
MessageEntry OnCommand(int id, int code, void (T::*handler)()) {
    detail::CheckHandlerClass<T>();
    return {MessageEntry::Kind::Command, id, code, static_cast<CommandHandler>(handler)};
}

template <class T>
MessageEntry OnCommand(int id, int code, void (T::*handler)(int)) {
    detail::CheckHandlerClass<T>();
    return {MessageEntry::Kind::Command, id, code, static_cast<CommandIdHandler>(handler)};
}

// Button clicked (BN_CLICKED).
template <class T, class H>
MessageEntry OnClicked(int id, H T::*handler) {
    return OnCommand<T>(id, kBnClicked, handler);
}

// Selection changed in a combo or list box (CBN_SELCHANGE, LBN_SELCHANGE).
template <class T, class H>
MessageEntry OnSelChange(int id, H T::*handler) {
    return OnCommand<T>(id, kCbnSelChange, handler);
}

// A combo box's list closed (CBN_CLOSEUP).
template <class T, class H>
MessageEntry OnCloseUp(int id, H T::*handler) {
    return OnCommand<T>(id, kCbnCloseUp, handler);
}

// A choice in a drop-down list, however the user made it: the list closed after the mouse or
// the keyboard worked in it (CBN_CLOSEUP), or the selection changed while the list was closed
// (arrow keys, a typed letter, the mouse wheel: only CBN_SELCHANGE comes then). A selection
// change that merely follows the close-up it belongs to is not reported twice, and a list that
// closes on the entry it showed when it opened (Esc, a click outside, the same entry clicked) is
// no choice.
template <class T, class H>
MessageEntry OnChoice(int id, H T::*handler) {
    return OnCommand<T>(id, kCbnChoice, handler);
}

// Double click in a list box (LBN_DBLCLK).
template <class T, class H>
MessageEntry OnDoubleClick(int id, H T::*handler) {
    return OnCommand<T>(id, kLbnDblClk, handler);
}

// An edit's text changed (EN_CHANGE).
template <class T, class H>
MessageEntry OnEditChange(int id, H T::*handler) {
    return OnCommand<T>(id, kEnChange, handler);
}

// An edit lost the focus (EN_KILLFOCUS). The control receiving the focus is already focused
// when the handler runs (ui::FocusedControlId tells which).
template <class T, class H>
MessageEntry OnEditKillFocus(int id, H T::*handler) {
    return OnCommand<T>(id, kEnKillFocus, handler);
}

// An owner-drawn control asks to be drawn (WM_DRAWITEM).
template <class T>
MessageEntry OnDrawItem(int id, void (T::*handler)(DrawItem&)) {
    detail::CheckHandlerClass<T>();
    return {MessageEntry::Kind::DrawItem, id, 0, static_cast<DrawItemHandler>(handler)};
}

// F1 pressed (WM_HELP). Without this entry a dialog runs the context-help routine.
template <class T>
MessageEntry OnHelpRequest(void (T::*handler)(const HelpRequest&)) {
    detail::CheckHandlerClass<T>();
    return {MessageEntry::Kind::Help, 0, 0, static_cast<HelpHandler>(handler)};
}

} // namespace ui
