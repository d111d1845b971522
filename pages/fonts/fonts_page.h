#pragma once
// The Fonts page ("Písma"): whether TrueType fonts are downloaded to the printer or replaced by
// its resident fonts (`fontSubstitution` of the live block), and the substitution table, edited
// one system family at a time: choosing a device font for the family selected on the left
// stores the pair. The table is loaded from the registry at each activation and written back
// ("FontSub") at each deactivation, whether the sheet later ends with OK or Cancel; Cancel on
// the page itself drops the edits of this activation.
#include "pages/fonts/font_substitution_store.h"
#include "res/resource.h"
#include "ui/dialog.h"

namespace pages {

class CFonts : public ui::PropertyPage {
public:
    enum { IDD = IDD_FONTS };
    CFonts() : ui::PropertyPage(IDD) {}

    // Makes the printer's default substitution table its current one in the registry.
    void RestoreDefaultFontTable();

    // The table being edited; empty while the page is not current.
    const FontSubstitutionTable& Table() const { return table_; }

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    void OnCancel() override;
    ui::MessageMap GetMessageMap() const override;

private:
    void OnDownloadChosen();
    void OnSubstituteChosen();
    void OnSystemFontChanged();
    void OnDeviceFontChanged();
    void OnRestoreDefaultTable();
    void OnDownloadManager();

    // The family list, the device list and the restore button work only with substitution.
    void EnableTableControls(bool enable);
    // The display's TrueType families, each once.
    void FillSystemFonts();
    // "Načítať", then the printer's resident fonts, each once.
    void FillDeviceFonts();
    void LoadTable();
    // Selects the device font of the selected family: its first pair's, else "Načítať".
    void ShowDeviceFontOfSelectedFamily();

    ui::Button restoreDefault_;
    ui::ListBox systemFonts_;
    ui::ListBox deviceFonts_;
    FontSubstitutionTable table_;
    bool tableLoaded_ = false;
};

} // namespace pages
