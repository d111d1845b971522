// dlgview: shows the program's dialog templates with the real Win32 backend, and writes PNG
// pictures of them (dlgview --screenshots DIR) so the whole UI can be looked at under Xvfb.
// With --demo PPD the colour dialogs run as the program runs them, on that printer's data.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "app/config_app.h"
#include "platform/codepage1250.h"
#include "tools/dlgview/catalogue.h"
#include "tools/dlgview/win32/viewer.h"

namespace {

int WriteEvery(dlgview::Viewer& viewer, const std::string& folder) {
    std::error_code failure;
    const std::filesystem::path dir(std::u8string(folder.begin(), folder.end()));
    std::filesystem::create_directories(dir, failure);
    int written = 0;
    int failed = 0;
    for (const dlgview::TemplateInfo& info : dlgview::Templates()) {
        const std::u8string file = (dir / dlgview::ScreenshotFileName(info)).u8string();
        const std::string path(file.begin(), file.end());
        std::string error;
        if (viewer.Screenshot(info, path, &error)) {
            std::printf("%s\n", path.c_str());
            ++written;
        } else {
            std::fprintf(stderr, "dlgview: %d: %s\n", info.id, error.c_str());
            ++failed;
        }
    }
    std::printf("%d pictures written, %d failed\n", written, failed);
    return failed == 0 ? 0 : 1;
}

// Writes the application's settings block to a file (a UTF-8 path).
bool SaveBlock(const std::string& path) {
    const std::filesystem::path file(std::u8string(path.begin(), path.end()));
    std::ofstream out(file, std::ios::binary);
    const app::PrinterSettingsBlock& block = app::TheApp().settings;
    out.write(reinterpret_cast<const char*>(block.data()),
              static_cast<std::streamsize>(block.size()));
    return static_cast<bool>(out);
}

} // namespace

// The wide command line, so that a folder outside the ANSI code page arrives intact.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(platform::Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
    std::string error;
    const std::optional<dlgview::Options> options = dlgview::ParseArguments(args, &error);
    if (!options) {
        std::fprintf(stderr, "dlgview: %s\n%s", error.c_str(), dlgview::Usage());
        return 2;
    }
    using Mode = dlgview::Options::Mode;
    if (options->mode == Mode::List) {
        for (const dlgview::TemplateInfo& info : dlgview::Templates())
            std::printf("%d %s (%s)\n", info.id, info.name, info.page ? "page" : "dialog");
        return 0;
    }
    dlgview::DemoPrinter demo;
    if (!options->demoPpd.empty() && !demo.Load(options->demoPpd, options->printer, &error)) {
        std::fprintf(stderr, "dlgview: %s\n", error.c_str());
        return 1;
    }
    dlgview::Viewer viewer(options->demoPpd.empty() ? nullptr : &demo);
    if (options->mode == Mode::Screenshots)
        return WriteEvery(viewer, options->path);
    const dlgview::TemplateInfo& info = *dlgview::FindTemplate(options->id);
    if (options->mode == Mode::Screenshot) {
        if (!viewer.Screenshot(info, options->path, &error)) {
            std::fprintf(stderr, "dlgview: %s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    viewer.Show(info);
    if (!options->saveBlock.empty() && !SaveBlock(options->saveBlock)) {
        std::fprintf(stderr, "dlgview: cannot write %s\n", options->saveBlock.c_str());
        return 1;
    }
    return 0;
}
