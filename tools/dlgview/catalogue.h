#pragma once
// What dlgview knows without windows: the program's dialog templates (which are pages of the
// sheet, in tab order, and which are modal dialogs), their screenshot file names, and the
// command line.
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace dlgview {

struct TemplateInfo {
    int id;
    const char* name; // for file names: lower case, words joined by '_'
    bool page;        // a page of the property sheet, else a modal dialog
};

// Every dialog template of the program: the pages in the sheet's tab order (with device
// properties, so all of them), then the modal dialogs by id.
std::span<const TemplateInfo> Templates();
// The pages alone, in tab order.
std::span<const TemplateInfo> Pages();
// The template with that id, or null.
const TemplateInfo* FindTemplate(int id);
// The page's tab index in the sheet, or -1 for a modal dialog or an unknown id.
int PageIndex(int id);
// "103_layout.png".
std::string ScreenshotFileName(const TemplateInfo& info);

struct Options {
    enum class Mode {
        Show,        // dlgview ID: the template on the screen until it is closed
        Screenshot,  // dlgview ID --screenshot FILE.png
        Screenshots, // dlgview --screenshots DIR: every template, one PNG each
        List,        // dlgview --list
    };
    Mode mode = Mode::Show;
    int id = 0;
    std::string path; // the PNG file or the folder
    // --demo PPD: the dialogs dlgview knows the classes of run with a printer's data (this PPD,
    // the registry of that printer, a new settings block) instead of as bare templates.
    std::string demoPpd;
    // --printer NAME: the printer of --demo.
    std::string printer = kDemoPrinter;
    // --save-block FILE: with --demo, the 1300-byte settings block as the dialog left it.
    std::string saveBlock;

    static constexpr char kDemoPrinter[] = "Vela ColorLaser 40 PS";
};

// The templates whose dialog classes dlgview runs with --demo (the colour dialogs).
bool HasDemoDialog(int id);

// The arguments after the program name (UTF-8). Nothing, with a one-line reason in `error`,
// when they make no command.
std::optional<Options> ParseArguments(std::vector<std::string> args, std::string* error);

// The usage lines.
const char* Usage();

} // namespace dlgview
