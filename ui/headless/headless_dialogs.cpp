// Modal dialogs and property sheets: windows made from the templates, their modal runs, pages
// and the notifications controls send to their dialogs.
#include "ui/headless/headless_backend.h"

#include <algorithm>
#include <functional>
#include <string>

#include "ui/dialog.h"
#include "ui/scaled_bitmap.h"

#include "ui/headless/headless_node.h"

namespace ui::headless {

namespace {

int MulDivRound(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : -((-product + half) / denominator));
}

// The font's pixels grow with the screen's DPI, and the dialog units with them.
Rect DialogUnitsToPixels(int x, int y, int cx, int cy, int dpi) {
    const int baseX = MulDivRound(kBaseUnitX, dpi, kDefaultDpi);
    const int baseY = MulDivRound(kBaseUnitY, dpi, kDefaultDpi);
    const int left = MulDivRound(x, baseX, 4);
    const int top = MulDivRound(y, baseY, 8);
    return Rect{left, top, left + MulDivRound(cx, baseX, 4), top + MulDivRound(cy, baseY, 8)};
}

Rect ScaleRect(const Rect& rect, int to, int from) {
    return Rect{MulDivRound(rect.left, to, from), MulDivRound(rect.top, to, from),
                MulDivRound(rect.right, to, from), MulDivRound(rect.bottom, to, from)};
}

ControlKind KindOfClass(const std::string& className) {
    if (className == "button")
        return ControlKind::Button;
    if (className == "edit")
        return ControlKind::Edit;
    if (className == "static")
        return ControlKind::Static;
    if (className == "listbox")
        return ControlKind::ListBox;
    if (className == "combobox")
        return ControlKind::ComboBox;
    if (className == "msctls_updown32")
        return ControlKind::UpDown;
    if (className == "msctls_progress32")
        return ControlKind::Progress;
    if (className == "systabcontrol32")
        return ControlKind::Tab;
    return ControlKind::Other;
}

} // namespace

// ---- dialogs ------------------------------------------------------------------------------

std::optional<DialogTemplate> HeadlessBackend::Template(int dialogId) const {
    if (!resources_)
        return std::nullopt;
    const ResourceRecord* record = resources_->Find(kResourceDialog, dialogId);
    if (!record)
        return std::nullopt;
    return ParseDialogTemplate(record->data);
}

void HeadlessBackend::CreateControl(Node* dialog, const DialogItemTemplate& item) {
    Node* node = NewNode(dialog);
    node->className = item.className;
    node->kind = KindOfClass(item.className);
    node->id = item.id;
    node->style = item.style;
    node->exStyle = item.exStyle;
    node->helpId = item.helpId;
    node->rect = DialogUnitsToPixels(item.x, item.y, item.cx, item.cy, dpi_);
    if (!node->IsList())
        node->text = item.text;
    switch (node->kind) {
    case ControlKind::UpDown: {
        node->lower = 100; // the system's default range runs from 100 down to 0
        node->upper = 0;
        node->accel.assign(std::begin(kDefaultAccel), std::end(kDefaultAccel));
        if (node->style & kUdsAutoBuddy) {
            const auto& siblings = dialog->children;
            if (siblings.size() >= 2)
                node->buddy = siblings[siblings.size() - 2];
        }
        break;
    }
    case ControlKind::Progress:
        node->lower = 0;
        node->upper = 100;
        break;
    case ControlKind::Static:
        if ((node->style & kSsTypeMask) == kSsBitmap && item.textResourceId >= 0)
            SetBitmap(HandleOf(node), item.textResourceId);
        break;
    default:
        break;
    }
}

HeadlessBackend::Node* HeadlessBackend::CreateDialogWindow(DialogBase& dialog, Node* parent,
                                                           Point origin) {
    const std::optional<DialogTemplate> tpl = Template(dialog.GetTemplateId());
    if (!tpl) {
        ReportFailure("no dialog template " + std::to_string(dialog.GetTemplateId()));
        return nullptr;
    }
    Node* node = NewNode(parent);
    node->kind = ControlKind::Dialog;
    node->className = "#32770";
    node->text = tpl->caption;
    node->helpId = tpl->helpId;
    // Pages are hidden child windows until the sheet shows them; dialogs are shown after
    // their initialisation.
    node->style = tpl->style & ~kWsVisible;
    node->exStyle = tpl->exStyle;
    const Rect size = DialogUnitsToPixels(0, 0, tpl->cx, tpl->cy, dpi_);
    node->rect = Rect{origin.x, origin.y, origin.x + size.right, origin.y + size.bottom};
    node->dialog = &dialog;
    for (const DialogItemTemplate& item : tpl->items)
        CreateControl(node, item);
    return node;
}

void HeadlessBackend::FocusFirstTabStop(Node* dialog) {
    Node* first = nullptr;
    for (Node* child : dialog->children) {
        if (child->Visible() && child->Enabled() && (child->style & kWsTabStop)) {
            first = child;
            break;
        }
    }
    if (!first) {
        for (Node* child : dialog->children) {
            if (child->Visible() && child->Enabled() && child->kind != ControlKind::Static) {
                first = child;
                break;
            }
        }
    }
    if (!first)
        return;
    if (first->kind == ControlKind::Edit) {
        first->selStart = 0;
        first->selEnd = static_cast<int>(first->text.size());
    }
    SetFocusTo(first);
}

void HeadlessBackend::Notify(Node* control, int code) {
    Node* dialog = control->parent;
    if (!dialog || !dialog->dialog)
        return;
    notifications_.push_back({control->id, code});
    if (!PageHearsControls(dialog))
        return;
    DialogEvents::Command(*dialog->dialog, control->id, code);
}

bool HeadlessBackend::PageHearsControls(const Node* dialog) const {
    const Node* sheet = dialog->parent;
    if (!sheet || !sheet->sheet || dialog->pageCodeDepth > 0)
        return true;
    const SheetState& state = *sheet->sheet;
    const Node* current =
        state.active >= 0 ? state.pages[static_cast<size_t>(state.active)] : nullptr;
    return !current || current == dialog;
}

template <class F>
auto HeadlessBackend::RunPageCode(Node* page, F&& routine) {
    struct Depth {
        HeadlessBackend& backend;
        std::uintptr_t handle;
        explicit Depth(HeadlessBackend& b, Node* p) : backend(b), handle(p->handle) {
            ++p->pageCodeDepth;
        }
        ~Depth() {
            if (Node* p = backend.Find(reinterpret_cast<Handle>(handle)))
                --p->pageCodeDepth;
        }
    } depth(*this, page);
    return routine(static_cast<PropertyPage&>(*page->dialog));
}

// ---- screen scale -------------------------------------------------------------------------

void HeadlessBackend::ChangeDpi(int dpi) {
    if (dpi <= 0 || dpi == dpi_)
        return;
    const int from = dpi_;
    dpi_ = dpi;
    // The system lays every window out again in proportion, then each dialog and page hears of
    // the change (pages within their own code, as under Win32).
    std::vector<Node*> dialogs;
    for (auto& [handle, node] : nodes_) {
        node->rect = ScaleRect(node->rect, dpi, from);
        if (node->dialog)
            dialogs.push_back(node.get());
    }
    for (Node* dialog : dialogs) {
        if (DialogEvents::IsPage(*dialog->dialog))
            RunPageCode(dialog, [](PropertyPage& page) { DialogEvents::DpiChanged(page); });
        else
            DialogEvents::DpiChanged(*dialog->dialog);
    }
}

void HeadlessBackend::RunScript(Node* window, std::function<void()> handler,
                                const std::string& what) {
    if (!handler) {
        ReportFailure(what + " opened, but no handler was given for it");
        return;
    }
    handler();
    if (!window->ended && !quitPending_)
        ReportFailure("the handler of " + what + " left it open");
}

int HeadlessBackend::RunDialog(DialogBase& dialog, Handle parentHandle) {
    const int templateId = dialog.GetTemplateId();
    const std::string what = "dialog " + std::to_string(templateId);
    Node* savedFocus = focus_;
    Node* node = CreateDialogWindow(dialog, nullptr, kTopLevelOrigin);
    if (!node)
        return kModalLoopEnded;
    node->owner = Find(parentHandle);
    if (!node->owner)
        node->owner = TopModal();
    modalStack_.push_back(node);
    const std::uintptr_t handle = node->handle;

    // Ends the run however the script leaves it: a failure may throw through here.
    struct Guard {
        HeadlessBackend& backend;
        Node* node;
        Node* savedFocus;
        std::uintptr_t handle;
        ~Guard() {
            auto& stack = backend.modalStack_;
            stack.erase(std::remove(stack.begin(), stack.end(), node), stack.end());
            const bool savedAlive = savedFocus && backend.nodes_.count(savedFocus->handle);
            if (backend.nodes_.count(handle))
                backend.DestroyNode(node);
            if (savedAlive && !backend.quitPending_)
                backend.SetFocusTo(savedFocus);
            if (stack.empty())
                backend.quitPending_ = false;
        }
    } guard{*this, node, savedFocus, handle};

    DialogEvents::Attach(dialog, HandleOf(node));
    const bool defaultFocus = DialogEvents::Initialize(dialog);
    if (!node->ended && !quitPending_) {
        if (defaultFocus || !IsInside(focus_, node))
            FocusFirstTabStop(node);
        node->style |= kWsVisible;
        RunScript(node, TakeDialogHandler(templateId), what);
        if (!node->ended && !quitPending_) {
            // Without a script (and without throwing), the user closes the dialog.
            DialogEvents::Command(dialog, kIdCancel, kBnClicked);
            if (!node->ended) {
                node->ended = true;
                node->result = kIdCancel;
            }
        }
    }
    ReportModalEnd(node);
    return node->ended ? node->result : kModalLoopEnded;
}

void HeadlessBackend::ReportModalEnd(Node* window) {
    if (modalEndObserver_ && window->ended && !quitPending_)
        modalEndObserver_(HandleOf(window), window->result);
}

void HeadlessBackend::EndDialog(Handle dialog, int result) {
    Node* node = Find(dialog);
    if (!node)
        return;
    node->ended = true;
    node->result = result;
    // The ended dialog disappears at once; its loop destroys it afterwards.
    node->style &= ~kWsVisible;
}

// ---- property sheets ----------------------------------------------------------------------

HeadlessBackend::Node* HeadlessBackend::SheetPageNode(Node* sheet, int index) {
    SheetState& state = *sheet->sheet;
    Node*& page = state.pages[static_cast<size_t>(index)];
    if (page)
        return page;
    PropertyPage& object = *DialogEvents::Pages(*sheet->sheetObject)[static_cast<size_t>(index)];
    page = CreateDialogWindow(object, sheet, kSheetPageOrigin);
    if (!page)
        return nullptr;
    page->style |= kWsChild;
    DialogEvents::Attach(object, HandleOf(page));
    // A page is created hidden, so it takes no focus of its own (the sheet gives its start page
    // the focus once it is shown).
    RunPageCode(page, [](PropertyPage& p) { return DialogEvents::Initialize(p); });
    return page;
}

bool HeadlessBackend::SheetSetCurSel(Node* sheet, int index, int skipDirection) {
    SheetState& state = *sheet->sheet;
    const int count = static_cast<int>(state.pages.size());
    if (index < 0 || index >= count)
        return false;
    for (;;) {
        Node* page = SheetPageNode(sheet, index);
        if (!page)
            return false;
        if (RunPageCode(page, [](PropertyPage& p) { return DialogEvents::PageSetActive(p); }))
            break;
        // A page that refuses is skipped in the direction of the move.
        index += skipDirection;
        if (index < 0) {
            index = 0;
            break;
        }
        if (index >= count) {
            index = count - 1;
            break;
        }
    }
    if (state.active >= 0 && state.active != index &&
        state.pages[static_cast<size_t>(state.active)]) {
        Node* leaving = state.pages[static_cast<size_t>(state.active)];
        // The focus does not stay on a page that is no longer shown: it goes to the tabs.
        if (focus_ && IsInside(focus_, leaving))
            SetFocusTo(Find(Item(HandleOf(sheet), kTabControlId)));
        leaving->style &= ~kWsVisible;
    }
    if (Node* page = state.pages[static_cast<size_t>(index)])
        page->style |= kWsVisible;
    state.active = index;
    return true;
}

bool HeadlessBackend::SheetCanSetCurSel(Node* sheet) {
    SheetState& state = *sheet->sheet;
    if (state.active < 0)
        return true;
    Node* page = state.pages[static_cast<size_t>(state.active)];
    return !page ||
           RunPageCode(page, [](PropertyPage& p) { return DialogEvents::PageKillActive(p); });
}

void HeadlessBackend::SheetOk(Node* sheet) {
    if (!SheetCanSetCurSel(sheet))
        return;
    for (Node* page : sheet->sheet->pages) {
        if (page)
            RunPageCode(page, [](PropertyPage& p) { DialogEvents::PageApply(p); });
    }
    sheet->ended = true;
    sheet->result = kIdOk;
}

void HeadlessBackend::SheetCancel(Node* sheet) {
    SheetState& state = *sheet->sheet;
    if (state.active >= 0) {
        Node* current = state.pages[static_cast<size_t>(state.active)];
        if (current &&
            !RunPageCode(current, [](PropertyPage& p) { return DialogEvents::PageQueryCancel(p); }))
            return;
    }
    for (Node* page : state.pages) {
        if (page)
            RunPageCode(page, [](PropertyPage& p) { DialogEvents::PageReset(p); });
    }
    sheet->ended = true;
    sheet->result = kIdCancel;
}

int HeadlessBackend::RunSheet(PropertySheet& sheetObject) {
    auto& pages = DialogEvents::Pages(sheetObject);
    Node* savedFocus = focus_;
    Node* sheet = NewNode(nullptr);
    sheet->kind = ControlKind::Sheet;
    sheet->className = "#32770";
    sheet->text = sheetObject.GetCaption();
    sheet->sheetObject = &sheetObject;
    sheet->sheet = std::make_unique<SheetState>();
    sheet->sheet->pages.assign(pages.size(), nullptr);
    sheet->owner = TopModal();
    int width = 0;
    int height = 0;
    for (PropertyPage* page : pages) {
        if (const std::optional<DialogTemplate> tpl = Template(page->GetTemplateId())) {
            const Rect size = DialogUnitsToPixels(0, 0, tpl->cx, tpl->cy, dpi_);
            width = std::max(width, size.right);
            height = std::max(height, size.bottom);
        }
    }
    sheet->rect = Rect{kTopLevelOrigin.x, kTopLevelOrigin.y,
                       kTopLevelOrigin.x + width + 2 * kSheetPageOrigin.x,
                       kTopLevelOrigin.y + height + kSheetPageOrigin.y + 45};
    const int buttonTop = sheet->rect.Height() - 35;
    struct ButtonSpec {
        int id;
        const char* text;
        int column;
    };
    const ButtonSpec buttons[] = {{kIdOk, "OK", 3}, {kIdCancel, "Cancel", 2}, {kIdHelp, "Help", 1}};
    Node* tab = NewNode(sheet);
    tab->kind = ControlKind::Tab;
    tab->className = "systabcontrol32";
    tab->id = kTabControlId;
    tab->style = kWsChild | kWsVisible | kWsTabStop;
    tab->rect = Rect{4, 4, sheet->rect.Width() - 4, buttonTop - 6};
    for (const ButtonSpec& entry : buttons) {
        Node* button = NewNode(sheet);
        button->kind = ControlKind::Button;
        button->className = "button";
        button->id = entry.id;
        button->text = entry.text;
        button->style = kWsChild | kWsVisible | kWsTabStop |
                        (entry.id == kIdOk ? kBsDefPushButton : kBsPushButton);
        const int right = sheet->rect.Width() - 8 - (entry.column - 1) * 84;
        button->rect = Rect{right - 75, buttonTop, right, buttonTop + 23};
    }
    modalStack_.push_back(sheet);
    DialogEvents::SheetAttach(sheetObject, HandleOf(sheet));
    const std::uintptr_t handle = sheet->handle;

    struct Guard {
        HeadlessBackend& backend;
        Node* sheet;
        Node* savedFocus;
        std::uintptr_t handle;
        PropertySheet& object;
        ~Guard() {
            auto& stack = backend.modalStack_;
            stack.erase(std::remove(stack.begin(), stack.end(), sheet), stack.end());
            const bool savedAlive = savedFocus && backend.nodes_.count(savedFocus->handle);
            if (backend.nodes_.count(handle))
                backend.DestroyNode(sheet);
            DialogEvents::SheetAttach(object, nullptr);
            if (savedAlive && !backend.quitPending_)
                backend.SetFocusTo(savedFocus);
            if (stack.empty())
                backend.quitPending_ = false;
        }
    } guard{*this, sheet, savedFocus, handle, sheetObject};

    const int start = std::clamp(sheetObject.GetStartPage(), 0, static_cast<int>(pages.size()) - 1);
    SheetSetCurSel(sheet, start, 1);
    if (!sheet->ended && !quitPending_) {
        sheet->style |= kWsVisible;
        if (!focus_ || !IsInside(focus_, sheet)) {
            SheetState& state = *sheet->sheet;
            Node* page =
                state.active >= 0 ? state.pages[static_cast<size_t>(state.active)] : nullptr;
            if (page)
                FocusFirstTabStop(page);
            if (!focus_ || !IsInside(focus_, sheet))
                SetFocusTo(tab);
        }
        RunScript(sheet, TakeSheetHandler(), "the property sheet");
        if (!sheet->ended && !quitPending_) {
            SheetCancel(sheet);
            if (!sheet->ended) {
                sheet->ended = true;
                sheet->result = kIdCancel;
            }
        }
    }
    if (!sheet->ended)
        return kModalLoopEnded;
    ReportModalEnd(sheet);
    return sheet->result;
}

std::vector<Handle> HeadlessBackend::SheetPages(Handle handle) const {
    std::vector<Handle> pages;
    const Node* sheet = Find(handle);
    if (sheet && sheet->sheet) {
        for (const Node* page : sheet->sheet->pages)
            pages.push_back(HandleOf(page));
    }
    return pages;
}

int HeadlessBackend::SheetActiveIndex(Handle handle) {
    Node* sheet = Find(handle);
    return sheet && sheet->sheet ? sheet->sheet->active : -1;
}

bool HeadlessBackend::SetSheetActiveIndex(Handle handle, int index) {
    Node* sheet = Find(handle);
    if (!sheet || !sheet->sheet)
        return false;
    if (!SheetCanSetCurSel(sheet))
        return false;
    return SheetSetCurSel(sheet, index, 1);
}

Handle HeadlessBackend::SheetActivePage(Handle window) {
    Node* sheet = Find(window);
    if (!sheet || !sheet->sheet || sheet->sheet->active < 0)
        return nullptr;
    return HandleOf(sheet->sheet->pages[static_cast<size_t>(sheet->sheet->active)]);
}

Handle HeadlessBackend::ActiveModalWindow() {
    return HandleOf(TopModal());
}

void HeadlessBackend::PostQuit(int exitCode) {
    if (!modalStack_.empty())
        quitPending_ = true;
}

} // namespace ui::headless
