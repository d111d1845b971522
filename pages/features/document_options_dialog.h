#pragma once
// The document options dialog ("Voľby dokumentu"), opened from the Features page: collation,
// copies (1 to 999), scale (25 to 400 %), keeping the job on the printer's disk under a name
// ("Nátlač", offered only with the disk installed) and an e-mail notice to an address.
//
// The radio buttons and check boxes write the block when clicked, and OK stores them once more
// as they show; the numbers and texts are written on OK, and only when every one of them
// passes: a refused OK writes nothing. The
// numbers are checked while they are typed and again on OK, with the range message. The
// Features page puts back every field the dialog writes when it ends otherwise than with OK.
#include <string>

#include "res/resource.h"
#include "ui/dialog.h"
#include "ui/window.h"

namespace pages {

inline constexpr int kMinCopies = 1;
inline constexpr int kMaxCopies = 999;
inline constexpr int kMinScale = 25;
inline constexpr int kMaxScale = 400;

class CDocumentOptionsDialog : public ui::Dialog {
public:
    enum { IDD = IDD_DOCUMENT_OPTIONS };
    explicit CDocumentOptionsDialog(const ui::Window* parent = nullptr);

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    ui::MessageMap GetMessageMap() const override;

private:
    void OnCollate();
    void OnNoCollate();
    void OnReprint();
    void OnNotifyByEmail();
    void OnScaleChanged();
    void OnCopiesChanged();
    void OnHelp();
    // The number in edit `id` when it passes the integer check and lies in low to high; else
    // the range message, the focus in the edit, and nothing.
    bool ReadNumber(int id, int low, int high, long long& number);
    void RefuseNumber(int id, int low, int high);

    std::string email_;
    std::string fileName_;
    std::string scale_;
    std::string copies_;
    ui::SpinButton copiesSpin_;
    // Set at the end of the initialisation: the live checks wait for it.
    bool initialised_ = false;
};

} // namespace pages
