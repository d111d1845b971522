#pragma once
// The About page ("O aplikácii"): the program's picture, its version text with the notices, two
// buttons with blue captions that open the maker's printer page and supplies shop in the web
// browser, and the button that puts the driver settings back to their defaults.
#include <string>

#include "res/resource.h"
#include "ui/dialog.h"
#include "ui/painter.h"
#include "ui/window.h"

namespace pages {

// A push button drawn by its owner: a push-button frame, pressed in while the mouse holds the
// button down, and its own caption in blue, centred on one line.
class LinkButton : public ui::Button {
public:
    using ui::Button::Button;
    static constexpr ui::Color kCaptionColor = ui::Rgb(0, 0, 255);
    void DrawItem(ui::DrawItem& item) const;
};

// The version text and the notices of edit 1100, lines separated by CR LF (code page 1250).
std::string AboutText();

class CAbout : public ui::PropertyPage {
public:
    enum { IDD = IDD_ABOUT };
    CAbout() : ui::PropertyPage(IDD) {}

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
    // The sheet gives its pages the size of the largest one, after their initialisation: the
    // picture is placed again by the same rule on the page as the user sees it.
    bool OnSetActive() override;
    // On a screen of another scale the picture is loaded again for it and placed anew.
    void OnDpiChanged() override;
    ui::MessageMap GetMessageMap() const override;

private:
    void OnPrinterPage();
    void OnShopPage();
    void OnReset();
    void OnTextFocused();
    void OnDrawPrinterLink(ui::DrawItem& item);
    void OnDrawShopLink(ui::DrawItem& item);
    // Shows the picture for the screen's scale and places it.
    void ShowPicture();
    // Centres the picture horizontally on the page and halfway between the page's top and the
    // text, at the size of its bitmap.
    void PlacePicture();

    LinkButton shopLink_;
    LinkButton printerLink_;
    ui::Edit text_;
    ui::Static picture_;
    // The pages' addresses: the captions of their buttons, so that each lives in one place.
    std::string printerPageAddress_;
    std::string shopPageAddress_;
};

} // namespace pages
