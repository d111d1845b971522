#include "tools/dlgview/catalogue.h"

#include <algorithm>
#include <charconv>

#include "res/resource.h"

namespace dlgview {
namespace {

constexpr TemplateInfo kTemplates[] = {
    {IDD_LAYOUT, "layout", true},
    {IDD_PAPER, "paper", true},
    {IDD_FEATURES, "features", true},
    {IDD_OVERLAY, "overlay", true},
    {IDD_FONTS, "fonts", true},
    {IDD_CONSUMABLES, "consumables", true},
    {IDD_SETTINGS, "settings", true},
    {IDD_ABOUT, "about", true},
    {IDD_GRAPHICS_OPTIONS, "graphics_options", false},
    {IDD_COLOR_OPTIONS, "color_options", false},
    {IDD_POSTSCRIPT_OPTIONS, "postscript_options", false},
    {IDD_DOCUMENT_OPTIONS, "document_options", false},
    {IDD_WATERMARK_EDITOR, "watermark_editor", false},
    {IDD_CRD_MATCHING, "crd_matching", false},
    {IDD_ICC_MATCHING, "icc_matching", false},
    {IDD_PROFILE_MANAGEMENT, "profile_management", false},
    {IDD_HALFTONE, "halftone", false},
    {IDD_ADVANCED_FEED, "advanced_feed", false},
    {IDD_CUSTOM_SIZE, "custom_size", false},
};

constexpr std::size_t kPageCount = 8;

std::optional<int> TemplateId(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value);
    if (text.empty() || failure != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

} // namespace

std::span<const TemplateInfo> Templates() {
    return kTemplates;
}

std::span<const TemplateInfo> Pages() {
    return std::span<const TemplateInfo>(kTemplates).first(kPageCount);
}

const TemplateInfo* FindTemplate(int id) {
    const auto found = std::find_if(std::begin(kTemplates), std::end(kTemplates),
                                    [id](const TemplateInfo& info) { return info.id == id; });
    return found == std::end(kTemplates) ? nullptr : found;
}

int PageIndex(int id) {
    const auto pages = Pages();
    const auto found = std::find_if(pages.begin(), pages.end(),
                                    [id](const TemplateInfo& info) { return info.id == id; });
    return found == pages.end() ? -1 : static_cast<int>(found - pages.begin());
}

std::string ScreenshotFileName(const TemplateInfo& info) {
    return std::to_string(info.id) + "_" + info.name + ".png";
}

bool HasDemoDialog(int id) {
    return id == IDD_COLOR_OPTIONS || id == IDD_CRD_MATCHING || id == IDD_ICC_MATCHING ||
           id == IDD_PROFILE_MANAGEMENT;
}

std::optional<Options> ParseArguments(std::vector<std::string> args, std::string* error) {
    Options options;
    // The demo options may follow any command but --list.
    for (std::size_t i = 0; i < args.size();) {
        std::string* value = args[i] == "--demo"         ? &options.demoPpd
                             : args[i] == "--printer"    ? &options.printer
                             : args[i] == "--save-block" ? &options.saveBlock
                                                         : nullptr;
        if (!value) {
            ++i;
            continue;
        }
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            *error = args[i] + " needs a value";
            return std::nullopt;
        }
        *value = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                   args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    }
    if (!options.saveBlock.empty() && options.demoPpd.empty()) {
        *error = "--save-block needs --demo";
        return std::nullopt;
    }
    if (args.size() == 1 && args[0] == "--list") {
        if (!options.demoPpd.empty()) {
            *error = "--list takes no demo printer";
            return std::nullopt;
        }
        options.mode = Options::Mode::List;
        return options;
    }
    if (!args.empty() && args[0] == "--screenshots") {
        if (args.size() != 2 || args[1].empty()) {
            *error = "--screenshots needs one folder";
            return std::nullopt;
        }
        options.mode = Options::Mode::Screenshots;
        options.path = args[1];
        return options;
    }
    if (args.empty()) {
        *error = "no template given";
        return std::nullopt;
    }
    const std::optional<int> id = TemplateId(args[0]);
    if (!id) {
        *error = "not a template id: " + args[0];
        return std::nullopt;
    }
    if (FindTemplate(*id) == nullptr) {
        *error = "no dialog template " + args[0] + " (see dlgview --list)";
        return std::nullopt;
    }
    options.id = *id;
    if (args.size() == 1)
        return options;
    if (args.size() == 3 && args[1] == "--screenshot" && !args[2].empty()) {
        options.mode = Options::Mode::Screenshot;
        options.path = args[2];
        return options;
    }
    *error = "unexpected arguments after the template id";
    return std::nullopt;
}

const char* Usage() {
    return "usage: dlgview ID                     show dialog template ID until it is closed\n"
           "       dlgview ID --screenshot FILE   write a PNG of template ID\n"
           "       dlgview --screenshots DIR      write a PNG of every template into DIR\n"
           "       dlgview --list                 list the templates\n"
           "options: --demo PPD [--printer NAME]  run the colour dialogs with that printer's\n"
           "                                      data (PPD, registry, a new settings block)\n"
           "         --save-block FILE            with --demo: write the block the dialog left\n";
}

} // namespace dlgview
