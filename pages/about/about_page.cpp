#include "pages/about/about_page.h"

#include "app/config_app.h"
#include "pages/about/reset_settings.h"
#include "pages/overlay/watermark_reset.h"
#include "pages/shared/web_browser.h"
#include "platform/codepage1250.h"
#include "platform/program_launcher.h"
#include "platform/services.h"
#include "ui/data_exchange.h"

namespace pages {
namespace {

// Two blanks before 3.5.0 and one after it belong to the version line.
constexpr char8_t kVersionLine[] =
    u8"PostScriptový ovládač tlačiarne verzie 3.0.4 pre Windows® 98/95/Millennium  3.5.0 ";
constexpr char8_t kMakerNotice[] =
    u8"Copyright © 1998-2002 Vela tlačiarne, a. s. Všetky práva vyhradené.";
constexpr char8_t kLicensedHeading[] = u8"Licencované súčasti:";
constexpr char8_t kLicensedColour[] =
    u8"Farebné profily © 2001 Farebné laboratórium Orava, s. r. o.";
constexpr char8_t kLicensedFonts[] = u8"Správa písiem © 1999-2002 Písmolejáreň Tatry, s. r. o.";

constexpr char kLineBreak[] = "\r\n";

std::string Cp1250(const char8_t* text) {
    return platform::Utf8ToCp1250(reinterpret_cast<const char*>(text));
}

// The mode of the sheet's last watermark editor run, as the page that runs it keeps it.
int SheetWatermarkEditorMode(const ui::PropertySheet* sheet) {
    if (sheet == nullptr)
        return kWatermarkNotEditing;
    for (int index = 0; index < sheet->GetPageCount(); ++index) {
        const auto* source = dynamic_cast<const WatermarkEditorModeSource*>(&sheet->GetPage(index));
        if (source != nullptr)
            return source->WatermarkEditorMode();
    }
    return kWatermarkNotEditing;
}

} // namespace

void LinkButton::DrawItem(ui::DrawItem& item) const {
    item.painter.DrawPushButtonFrame(item.rect, item.selected);
    const ui::Color previous = item.painter.SetTextColor(kCaptionColor);
    item.painter.PaintText(GetWindowText(), item.rect,
                           ui::kDtCenter | ui::kDtVCenter | ui::kDtSingleLine);
    item.painter.SetTextColor(previous);
}

std::string AboutText() {
    std::string text = Cp1250(kVersionLine);
    text += kLineBreak;
    text += kLineBreak;
    text += Cp1250(kMakerNotice);
    text += kLineBreak;
    text += kLineBreak;
    text += Cp1250(kLicensedHeading);
    text += kLineBreak;
    text += Cp1250(kLicensedColour);
    text += kLineBreak;
    text += Cp1250(kLicensedFonts);
    return text;
}

void CAbout::DoDataExchange(ui::DataExchange& dx) {
    dx.Control(IDC_ABOUT_SHOP_LINK, shopLink_);
    dx.Control(IDC_ABOUT_PRINTER_LINK, printerLink_);
    dx.Control(IDC_ABOUT_TEXT, text_);
    dx.Control(IDC_ABOUT_PICTURE, picture_);
}

bool CAbout::OnInitDialog() {
    ui::PropertyPage::OnInitDialog();
    ui::SetContextHelpIds(*this, {IDD_ABOUT, IDC_ABOUT_TEXT, IDC_ABOUT_PRINTER_LINK,
                                  IDC_ABOUT_RESET, IDC_ABOUT_SHOP_LINK});
    text_.SetWindowText(AboutText());
    CentrePicture();
    printerPageAddress_ = printerLink_.GetWindowText();
    shopPageAddress_ = shopLink_.GetWindowText();
    printerLink_.SetButtonStyle(ui::kBsOwnerDraw, true);
    shopLink_.SetButtonStyle(ui::kBsOwnerDraw, true);
    return true;
}

ui::MessageMap CAbout::GetMessageMap() const {
    static const ui::MessageEntry entries[] = {
        ui::OnClicked(IDC_ABOUT_PRINTER_LINK, &CAbout::OnPrinterPage),
        ui::OnClicked(IDC_ABOUT_SHOP_LINK, &CAbout::OnShopPage),
        ui::OnClicked(IDC_ABOUT_RESET, &CAbout::OnReset),
        ui::OnCommand(IDC_ABOUT_TEXT, ui::kEnSetFocus, &CAbout::OnTextFocused),
        ui::OnDrawItem(IDC_ABOUT_PRINTER_LINK, &CAbout::OnDrawPrinterLink),
        ui::OnDrawItem(IDC_ABOUT_SHOP_LINK, &CAbout::OnDrawShopLink),
    };
    return entries;
}

void CAbout::CentrePicture() {
    const ui::Size bitmap = picture_.GetBitmapSize();
    const ui::Rect page = GetWindowRect();
    const ui::Rect text = text_.GetWindowRect();
    // Integer division truncates towards zero, as the placement asks.
    const int x = (page.Width() + 1 - bitmap.cx) / 2;
    const int y = (text.top - page.top - bitmap.cy) / 2;
    picture_.MoveWindow(x, y, bitmap.cx, bitmap.cy);
}

// Registry and launch failures are silent: the page stays as it is.
void CAbout::OnPrinterPage() {
    pages::OpenWebPage(platform::registry(), platform::launcher(), printerPageAddress_,
                       platform::kShow);
}

void CAbout::OnShopPage() {
    pages::OpenWebPage(platform::registry(), platform::launcher(), shopPageAddress_,
                       platform::kShow);
}

void CAbout::OnReset() {
    app::ConfigApp& app = app::TheApp();
    ResetSettingsToDefaults(app.settings, app.ppdDocument, platform::registry(),
                            SheetWatermarkEditorMode(GetSheet()));
}

// The dialog manager selects the whole text of an edit it moves the focus to (when the page
// opens on it, or by the Tab key); the notices are read, not edited, so the selection collapses
// to the caret. A click keeps its caret position, and what the user selects afterwards stays.
void CAbout::OnTextFocused() {
    text_.SetSel(-1, 0);
}

void CAbout::OnDrawPrinterLink(ui::DrawItem& item) {
    printerLink_.DrawItem(item);
}

void CAbout::OnDrawShopLink(ui::DrawItem& item) {
    shopLink_.DrawItem(item);
}

} // namespace pages
