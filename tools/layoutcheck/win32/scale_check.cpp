#include "tools/layoutcheck/win32/scale_check.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory_registry.h"
#include "platform/win32/win32_fonts.h"
#include "tools/dlgview/catalogue.h"
#include "tools/layoutcheck/reg_file.h"
#include "tools/layoutcheck/runtime_texts.h"
#include "tools/layoutcheck/win32/picture_check.h"
#include "tools/layoutcheck/win32/template_check.h"
#include "ui/win32/win32.h"

namespace layoutcheck {
namespace {

// The scale the process's windows are laid out at.
int SystemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi;
}

std::optional<std::string> ReadFile(const std::wstring& path) {
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return std::nullopt;
    std::string bytes;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.append(buffer, got);
    std::fclose(file);
    return bytes;
}

} // namespace

int CheckScale(int dpi, const ScaleCheckInput& input) {
    const int actual = SystemDpi();
    if (actual != dpi) {
        std::printf("layoutcheck: this process runs at %d DPI, not at %d\n", actual, dpi);
        return 2;
    }
    const std::optional<std::string> reg = ReadFile(input.registryFile);
    const std::optional<std::string> script = ReadFile(input.agentScript);
    if (!reg || !script) {
        std::printf("layoutcheck: cannot read the printer's registry file or agent script\n");
        return 2;
    }

    std::vector<std::string> problems;
    const auto note = [&](const std::string& where, const std::vector<std::string>& found) {
        for (const std::string& problem : found)
            problems.push_back(where + problem);
    };
    platform::MemoryRegistry registry;
    std::vector<std::string> readProblems;
    ReadRegFile(*reg, registry, &readProblems);
    const std::vector<AgentObject> agent = ReadAgentScript(*script, &readProblems);
    note("printer data: ", readProblems);
    platform::Win32FontEnumerator fonts;
    const Harvest harvest = HarvestRuntimeTexts(
        PrinterData{dlgview::Options::kDemoPrinter, input.driverPath, &registry, &fonts, agent});
    note("run-time texts: ", harvest.problems);

    TemplateStats stats;
    int templates = 0;
    for (const dlgview::TemplateInfo& info : dlgview::Templates()) {
        CheckTemplate(info.id, dpi, harvest.texts, problems, stats);
        ++templates;
    }
    CheckPictures(dpi, input.driverPath, problems);

    for (const std::string& problem : problems)
        std::printf("%s\n", problem.c_str());
    std::printf(
        "layoutcheck: %d DPI: %d templates, %d controls, %d texts measured, %zu problem%s\n", dpi,
        templates, stats.controls, stats.texts, problems.size(), problems.size() == 1 ? "" : "s");
    return problems.empty() ? 0 : 1;
}

} // namespace layoutcheck
