#pragma once
// The PostScript options dialog ("PostScript"), opened from the Features page: printing of
// PostScript error information, an external header file sent with each job, the end-of-job
// mode of the PPD's "EndOfDocType" with the place of the Ctrl-D marker, and how long the
// printer waits for the job (0 to 3000 seconds).
//
// The header check box and a browsed header path write the block at once; everything else is
// written on OK, and only when the wait time passes its check: a refused OK writes nothing.
// The header path field holds 63 characters: the edit takes no more, and a browsed path that
// does not fit, even in its short form, is refused with a message. The Features page puts
// back what the dialog writes early when it ends otherwise than with OK.
#include <optional>
#include <string>
#include <string_view>

#include "app/option_combo_box.h"
#include "res/resource.h"
#include "ui/dialog.h"

namespace platform {
class FileSystem;
}

namespace pages {

inline constexpr int kMinJobWaitTimeout = 0;
inline constexpr int kMaxJobWaitTimeout = 3000;
// Characters the block's `externalHeaderPath` holds besides its terminator.
inline constexpr std::size_t kHeaderPathLength = 63;
// Shown when a browsed path does not fit (code page 1250): "The file's path is too long: it
// may have at most 63 characters."
inline constexpr char kHeaderPathTooLongMessage[] = "Cesta k s\xFA"
                                                    "boru je pr\xEDli\x9A dlh\xE1: m\xF4\x9E"
                                                    "e ma\x9D najviac 63 znakov.";

// The path to store for a browsed header file: the path itself when it fits the field, else
// its short form when that fits; nothing when neither does.
std::optional<std::string> HeaderPathThatFits(std::string_view path, platform::FileSystem& files);

class CPostScriptOptionsDialog : public ui::Dialog {
public:
    enum { IDD = IDD_POSTSCRIPT_OPTIONS };
    explicit CPostScriptOptionsDialog(const ui::Window* parent = nullptr);

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    ui::MessageMap GetMessageMap() const override;

private:
    void OnUseHeader();
    void OnBrowse();
    void OnTimeoutChanged();
    void OnHelp();
    void EnableHeader(bool enable);
    void RefuseTimeout();

    app::OptionComboBox endOfDoc_;
    app::OptionComboBox ctrlD_;
    std::string headerPath_;
    int timeout_ = 0;
    // Set once the controls show the block: the live check waits for it.
    bool initialised_ = false;
};

} // namespace pages
