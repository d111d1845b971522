#include "ui/automation.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace ui {
namespace {

// The first entry of a queue, removed from it; nullopt when the queue is empty.
template <class T>
std::optional<T> TakeFront(std::deque<T>& queue) {
    if (queue.empty())
        return std::nullopt;
    std::optional<T> front(std::move(queue.front()));
    queue.pop_front();
    return front;
}

} // namespace

void Automation::OnDialog(int dialogId, std::function<void()> handler) {
    dialogHandlers_.emplace_back(dialogId, std::move(handler));
}

void Automation::OnSheet(std::function<void()> handler) {
    sheetHandlers_.push_back(std::move(handler));
}

void Automation::OnMessageBox(MessageBoxHandler handler) {
    messageBoxHandlers_.push_back(std::move(handler));
}

void Automation::OnOpenFile(OpenFileHandler handler) {
    openFileHandlers_.push_back(std::move(handler));
}

void Automation::SetDialogFallback(std::function<void(int dialogId)> handler) {
    dialogFallback_ = std::move(handler);
}

void Automation::SetMessageBoxFallback(MessageBoxHandler handler) {
    messageBoxFallback_ = std::move(handler);
}

void Automation::SetOpenFileFallback(OpenFileHandler handler) {
    openFileFallback_ = std::move(handler);
}

std::vector<std::string> Automation::TakeFailures() {
    return std::exchange(failures_, {});
}

std::function<void()> Automation::TakeDialogHandler(int dialogId) {
    for (auto it = dialogHandlers_.begin(); it != dialogHandlers_.end(); ++it) {
        if (it->first == dialogId) {
            std::function<void()> handler = std::move(it->second);
            dialogHandlers_.erase(it);
            return handler;
        }
    }
    if (dialogFallback_)
        return [fallback = dialogFallback_, dialogId] { fallback(dialogId); };
    return {};
}

std::function<void()> Automation::TakeSheetHandler() {
    return TakeFront(sheetHandlers_).value_or(std::function<void()>());
}

std::optional<Automation::MessageBoxHandler> Automation::TakeMessageBoxHandler() {
    std::optional<MessageBoxHandler> handler = TakeFront(messageBoxHandlers_);
    if (!handler && messageBoxFallback_)
        handler = messageBoxFallback_;
    return handler;
}

std::optional<Automation::OpenFileHandler> Automation::TakeOpenFileHandler() {
    std::optional<OpenFileHandler> handler = TakeFront(openFileHandlers_);
    if (!handler && openFileFallback_)
        handler = openFileFallback_;
    return handler;
}

Window Automation::Control(int id) {
    const Handle dialog = ActiveDialog();
    return Window(dialog ? CurrentBackend().Item(dialog, id) : nullptr);
}

void Automation::ChooseItem(int id, std::string_view text) {
    const ListControl list(Control(id).GetHandle());
    const int count = list.GetCount();
    for (int index = 0; index < count; ++index) {
        if (list.GetItemText(index) == text) {
            ChooseItem(id, index);
            return;
        }
    }
    ReportFailure("control " + std::to_string(id) + " has no entry \"" + std::string(text) + "\"");
}

} // namespace ui
