// The in-memory windows: nodes, handles and the window operations every control shares.
#include "ui/headless/headless_backend.h"

#include <algorithm>
#include <utility>

#include "ui/dialog.h"

#include "ui/headless/headless_node.h"

namespace ui::headless {

HeadlessBackend::HeadlessBackend(std::span<const unsigned char> resources)
    : resources_(ResourceFile::Parse(resources)) {}

HeadlessBackend::~HeadlessBackend() = default;

// ---- nodes --------------------------------------------------------------------------------

HeadlessBackend::Node* HeadlessBackend::Find(Handle handle) const {
    const auto it = nodes_.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == nodes_.end() ? nullptr : it->second.get();
}

Handle HeadlessBackend::HandleOf(const Node* node) const {
    return node ? reinterpret_cast<Handle>(node->handle) : nullptr;
}

HeadlessBackend::Node* HeadlessBackend::NewNode(Node* parent) {
    auto node = std::make_unique<Node>();
    node->handle = nextHandle_;
    nextHandle_ += 4;
    node->parent = parent;
    Node* raw = node.get();
    nodes_.emplace(raw->handle, std::move(node));
    if (parent)
        parent->children.push_back(raw);
    return raw;
}

void HeadlessBackend::DestroyNode(Node* node) {
    if (!node)
        return;
    while (!node->children.empty())
        DestroyNode(node->children.back());
    if (focus_ == node)
        focus_ = nullptr;
    for (auto& [handle, other] : nodes_) {
        if (other->buddy == node)
            other->buddy = nullptr;
        if (other->owner == node)
            other->owner = nullptr;
    }
    if (node->parent) {
        auto& siblings = node->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
    }
    if (node->dialog)
        DialogEvents::Detach(*node->dialog);
    nodes_.erase(node->handle);
}

bool HeadlessBackend::IsInside(const Node* node, const Node* ancestor) const {
    for (const Node* n = node; n; n = n->parent) {
        if (n == ancestor)
            return true;
    }
    return false;
}

HeadlessBackend::Node* HeadlessBackend::DialogOf(Node* node) const {
    for (Node* n = node; n; n = n->parent) {
        if (n->dialog)
            return n;
    }
    return nullptr;
}

HeadlessBackend::Node* HeadlessBackend::TopModal() const {
    return modalStack_.empty() ? nullptr : modalStack_.back();
}

bool HeadlessBackend::InnermostModalEnded() const {
    const Node* top = TopModal();
    return top && top->ended;
}

HeadlessBackend::Node* HeadlessBackend::TopSheet() const {
    Node* top = TopModal();
    return top && top->sheet ? top : nullptr;
}

HeadlessBackend::Node* HeadlessBackend::FindControl(int id, const char* action) {
    Node* dialog = Find(ActiveDialog());
    Node* control = dialog ? Find(Item(HandleOf(dialog), id)) : nullptr;
    if (!control) {
        ReportFailure(std::string("cannot ") + action + " control " + std::to_string(id) +
                      (dialog ? ": the dialog has no such control" : ": no dialog is running"));
    }
    return control;
}

// ---- windows ------------------------------------------------------------------------------

Handle HeadlessBackend::Item(Handle dialog, int id) {
    Node* node = Find(dialog);
    if (!node)
        return nullptr;
    for (Node* child : node->children) {
        if (child->id == id)
            return HandleOf(child);
    }
    return nullptr;
}

int HeadlessBackend::ControlId(Handle window) {
    Node* node = Find(window);
    return node ? node->id : 0;
}

Handle HeadlessBackend::Parent(Handle window) {
    Node* node = Find(window);
    if (!node)
        return nullptr;
    return HandleOf(node->parent ? node->parent : node->owner);
}

ControlKind HeadlessBackend::Kind(Handle window) {
    Node* node = Find(window);
    return node ? node->kind : ControlKind::Other;
}

unsigned HeadlessBackend::Style(Handle window) {
    Node* node = Find(window);
    return node ? node->style : 0;
}

std::string HeadlessBackend::Text(Handle window) {
    Node* node = Find(window);
    if (!node)
        return {};
    if (node->kind == ControlKind::ComboBox && (node->style & 0x3) == kCbsDropDownList)
        return node->selection >= 0 ? node->items[static_cast<size_t>(node->selection)].text
                                    : std::string();
    return node->text;
}

void HeadlessBackend::SetText(Handle window, std::string_view text) {
    Node* node = Find(window);
    if (!node)
        return;
    if (node->kind == ControlKind::Edit) {
        SetEditText(node, std::string(text), true);
        return;
    }
    if (node->kind == ControlKind::ComboBox && (node->style & 0x3) == kCbsDropDownList)
        return; // a drop-down list shows its selection only
    node->text = std::string(text);
}

void HeadlessBackend::Enable(Handle window, bool enable) {
    Node* node = Find(window);
    if (!node)
        return;
    if (enable) {
        node->style &= ~kWsDisabled;
        return;
    }
    node->style |= kWsDisabled;
    if (focus_ && IsInside(focus_, node))
        SetFocusTo(nullptr);
}

bool HeadlessBackend::IsEnabled(Handle window) {
    Node* node = Find(window);
    return node && node->Enabled();
}

void HeadlessBackend::Show(Handle window, bool show) {
    Node* node = Find(window);
    if (!node)
        return;
    if (show) {
        node->style |= kWsVisible;
        return;
    }
    node->style &= ~kWsVisible;
    if (!focus_ || !IsInside(focus_, node))
        return;
    // The dialog takes the focus and hands it to its first tab stop, as the dialog manager
    // does for a dialog focused without a control to go back to.
    Node* dialog = DialogOf(node->parent);
    if (dialog) {
        FocusFirstTabStop(dialog);
        if (focus_ && !IsInside(focus_, node))
            return;
    }
    SetFocusTo(node->parent);
}

bool HeadlessBackend::IsVisible(Handle window) {
    Node* node = Find(window);
    if (!node)
        return false;
    for (Node* n = node; n; n = n->parent) {
        if (!n->Visible())
            return false;
    }
    return true;
}

Rect HeadlessBackend::WindowRect(Handle window) {
    Node* node = Find(window);
    if (!node)
        return {};
    Rect rect = node->rect;
    for (Node* p = node->parent; p; p = p->parent) {
        rect.left += p->rect.left;
        rect.right += p->rect.left;
        rect.top += p->rect.top;
        rect.bottom += p->rect.top;
    }
    return rect;
}

Rect HeadlessBackend::ClientRect(Handle window) {
    Node* node = Find(window);
    return node ? Rect{0, 0, node->rect.Width(), node->rect.Height()} : Rect{};
}

Point HeadlessBackend::ScreenToClient(Handle window, Point point) {
    const Rect rect = WindowRect(window);
    return Point{point.x - rect.left, point.y - rect.top};
}

void HeadlessBackend::SetWindowPos(Handle window, int x, int y, int cx, int cy) {
    Node* node = Find(window);
    if (node)
        node->rect = Rect{x, y, x + cx, y + cy};
}

void HeadlessBackend::SetContextHelpId(Handle window, unsigned id) {
    if (Node* node = Find(window))
        node->helpId = id;
}

unsigned HeadlessBackend::ContextHelpId(Handle window) {
    Node* node = Find(window);
    return node ? node->helpId : 0;
}

} // namespace ui::headless
