#pragma once
// Dialogs, property pages and the property sheet, in the manner of MFC's CDialog,
// CPropertyPage and CPropertySheet. A class names its dialog template once:
//
//   class CLayout : public ui::PropertyPage {
//   public:
//       enum { IDD = IDD_LAYOUT };
//       CLayout() : ui::PropertyPage(IDD) {}
//   protected:
//       void DoDataExchange(ui::DataExchange& dx) override; // dx.Control(IDC_..., list_)
//       bool OnInitDialog() override;                        // call the base first
//       bool OnSetActive() override;
//       ui::MessageMap GetMessageMap() const override;       // see message_map.h
//   };
//
// The framework object lives longer than its window: the handle is valid only while the
// dialog runs (between initialisation and the end of the modal run).
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/message_map.h"
#include "ui/types.h"
#include "ui/window.h"

namespace ui {

class DataExchange;
class PropertySheet;

class DialogBase : public Window {
public:
    explicit DialogBase(int templateId) : templateId_(templateId) {}
    virtual ~DialogBase() = default;
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    int GetTemplateId() const { return templateId_; }

    Window GetDlgItem(int id) const;
    // Runs the data exchange: false loads the controls from the members, true checks the
    // controls and stores them (false when a check failed; its message has been shown and
    // the control has the focus).
    bool UpdateData(bool saveAndValidate = true);

    void CheckRadioButton(int firstId, int lastId, int checkId) const;
    // The id of the first checked button from firstId to lastId, or 0.
    int GetCheckedRadioButton(int firstId, int lastId) const;
    int IsDlgButtonChecked(int id) const;
    void CheckDlgButton(int id, int state) const;
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, std::string_view text) const;
    void SetDlgItemInt(int id, int value) const;
    // The decimal number in the control's text; `ok` is false (and 0 returned) when the text
    // is no number that fits an int.
    int GetDlgItemInt(int id, bool* ok = nullptr) const;
    // Moves the focus to a control, selecting the whole text of an edit.
    void GotoDlgCtrl(Window control) const;
    void GotoDlgCtrl(int id) const { GotoDlgCtrl(GetDlgItem(id)); }
    // A message box owned by this dialog; an empty caption is the application's name.
    int MessageBox(std::string_view text, unsigned style = kMbOk,
                   std::string_view caption = {}) const;

protected:
    virtual void DoDataExchange(DataExchange& dx) {}
    // Loads the controls (UpdateData(false)); true lets the system focus the first control.
    virtual bool OnInitDialog();
    virtual MessageMap GetMessageMap() const { return {}; }
    // Every control notification, before the message map handles it.
    virtual void OnNotification(int controlId, int code) {}
    // The window now shows on a screen of another scale, and the system has laid its controls
    // out and set their fonts for it: what the dialog draws or places itself is done again.
    virtual void OnDpiChanged() {}

private:
    friend class DialogEvents;
    // Runs the message map's handler of (id, code); false when it has none.
    bool Dispatch(int id, int code);
    // Derives the choice of a drop-down list from its notifications (OnChoice).
    void DispatchChoice(int id, int code);

    int templateId_;
    // The drop-down list whose close-up was reported last, and its selection after the
    // handler ran: the selection change that follows that close-up is the same choice.
    int closedUpList_ = 0;
    int closedUpSelection_ = kListError;
    int droppedList_ = 0; // the list open now, and its selection when it opened
    int droppedSelection_ = kListError;
};

// A modal dialog.
class Dialog : public DialogBase {
public:
    // `parent` owns the dialog while it runs; null: the innermost running dialog or sheet.
    explicit Dialog(int templateId, const Window* parent = nullptr)
        : DialogBase(templateId), parent_(parent) {}

    // kIdOk, kIdCancel, another EndDialog value, or kModalLoopEnded.
    int DoModal();
    void EndDialog(int result);

protected:
    // OK: UpdateData(true), then EndDialog(kIdOk) when it succeeded.
    virtual void OnOK();
    // Cancel (also Esc and the close box): EndDialog(kIdCancel).
    virtual void OnCancel();

private:
    friend class DialogEvents;
    const Window* parent_;
    bool ended_ = false;
    int result_ = kModalLoopEnded;
};

class PropertyPage : public DialogBase {
public:
    explicit PropertyPage(int templateId) : DialogBase(templateId) {}

    // The sheet the page was added to (null before).
    PropertySheet* GetSheet() const { return sheet_; }

protected:
    // The page becomes the current one; false refuses (the sheet then tries the next page).
    // Reloads the controls from the members on every activation but the first.
    virtual bool OnSetActive();
    // The page stops being the current one (another page chosen, or OK); false keeps it.
    // Runs UpdateData(true).
    virtual bool OnKillActive();
    // OK was accepted: every page that has been created, in sheet order.
    virtual void OnOK() {}
    // Cancel: every page that has been created, in sheet order.
    virtual void OnCancel() {}
    // Cancel pressed on this (current) page; false keeps the sheet open.
    virtual bool OnQueryCancel() { return true; }

private:
    friend class DialogEvents;
    friend class PropertySheet;
    PropertySheet* sheet_ = nullptr;
    bool firstActivation_ = true;
};

// A modal property sheet with OK, Cancel and Help and no Apply button (PSH_NOAPPLYNOW).
class PropertySheet {
public:
    // `ownerWindow` is a window handle as an integer (0: none), for example one received
    // from another process.
    explicit PropertySheet(std::string_view caption = {}, std::uintptr_t ownerWindow = 0,
                           int startPage = 0)
        : caption_(caption), ownerWindow_(ownerWindow), startPage_(startPage) {}
    PropertySheet(const PropertySheet&) = delete;
    PropertySheet& operator=(const PropertySheet&) = delete;

    // Pages are shown in the order they are added; the sheet does not own them.
    void AddPage(PropertyPage& page);
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    PropertyPage& GetPage(int index) const { return *pages_.at(static_cast<size_t>(index)); }

    const std::string& GetCaption() const { return caption_; }
    void SetCaption(std::string_view caption) { caption_ = caption; }
    std::uintptr_t GetOwnerWindow() const { return ownerWindow_; }
    void SetOwnerWindow(std::uintptr_t owner) { ownerWindow_ = owner; }
    int GetStartPage() const { return startPage_; }
    void SetStartPage(int index) { startPage_ = index; }

    // kIdOk, kIdCancel, or kModalLoopEnded when the loop ended otherwise (a WM_QUIT).
    int DoModal();

    // While the sheet runs.
    Handle GetHandle() const { return handle_; }
    int GetActiveIndex() const;
    PropertyPage* GetActivePage() const;
    // Asks the current page to let go (OnKillActive) and activates page `index`.
    bool SetActivePage(int index);

private:
    friend class DialogEvents;
    std::string caption_;
    std::uintptr_t ownerWindow_;
    int startPage_;
    std::vector<PropertyPage*> pages_;
    Handle handle_ = nullptr;
};

// Gives the dialog the first id as its context-help id and each further id to the dialog's
// control with that id, when there is one.
void SetContextHelpIds(const DialogBase& dialog, std::span<const int> ids);
inline void SetContextHelpIds(const DialogBase& dialog, std::initializer_list<int> ids) {
    SetContextHelpIds(dialog, std::span<const int>(ids.begin(), ids.size()));
}

// The entry points the backends call; not for pages.
class DialogEvents {
public:
    static void Attach(DialogBase& dialog, Handle handle);
    static void Detach(DialogBase& dialog) { dialog.handle_ = nullptr; }
    static bool Initialize(DialogBase& dialog) { return dialog.OnInitDialog(); }
    static void Command(DialogBase& dialog, int id, int code);
    // False when the dialog has no owner-draw handler for the control.
    static bool DrawItem(DialogBase& dialog, ui::DrawItem& item);
    static void Help(DialogBase& dialog, const HelpRequest& request);
    static void DpiChanged(DialogBase& dialog) { dialog.OnDpiChanged(); }

    static bool IsPage(const DialogBase& dialog);
    static bool PageSetActive(PropertyPage& page);
    static bool PageKillActive(PropertyPage& page) { return page.OnKillActive(); }
    static void PageApply(PropertyPage& page) { page.OnOK(); }
    static void PageReset(PropertyPage& page) { page.OnCancel(); }
    static bool PageQueryCancel(PropertyPage& page) { return page.OnQueryCancel(); }
    // The sheet's Help button: the context-help routine.
    static void PageHelp(PropertyPage& page);

    static void SheetAttach(PropertySheet& sheet, Handle handle) { sheet.handle_ = handle; }
    static std::vector<PropertyPage*>& Pages(PropertySheet& sheet) { return sheet.pages_; }
    static const Window* DialogParent(const Dialog& dialog) { return dialog.parent_; }
    static bool DialogHasEnded(const Dialog& dialog) { return dialog.ended_; }
};

} // namespace ui
