// dlgview's catalogue against the compiled resources, and its command line.
#include "tools/dlgview/catalogue.h"

#include <gtest/gtest.h>

#include <set>

#include "res/compiled_resources.h"
#include "ui/headless/resources.h"

namespace {

constexpr unsigned kWsChild = 0x40000000;

// Every dialog template of the program is in the catalogue once, and nothing else; a page is
// exactly a template with the child style, which a property sheet needs.
TEST(DlgviewCatalogue, HoldsEveryTemplateOfTheProgramOnce) {
    const auto file = ui::headless::ResourceFile::Parse(res::CompiledResources());
    ASSERT_TRUE(file.has_value());
    std::set<int> inResources;
    for (const ui::headless::ResourceRecord& record : file->Records()) {
        if (record.type.isId && record.type.id == ui::headless::kResourceDialog)
            inResources.insert(record.name.id);
    }
    std::set<int> listed;
    std::set<std::string> files;
    for (const dlgview::TemplateInfo& info : dlgview::Templates()) {
        SCOPED_TRACE(info.id);
        EXPECT_TRUE(listed.insert(info.id).second);
        EXPECT_TRUE(files.insert(dlgview::ScreenshotFileName(info)).second);
        const auto* record = file->Find(ui::headless::kResourceDialog, info.id);
        ASSERT_NE(record, nullptr);
        const auto dialog = ui::headless::ParseDialogTemplate(record->data);
        ASSERT_TRUE(dialog.has_value());
        EXPECT_EQ((dialog->style & kWsChild) != 0, info.page);
        EXPECT_EQ(dlgview::FindTemplate(info.id), &info);
    }
    EXPECT_EQ(listed, inResources);
    EXPECT_EQ(listed.size(), 19u);
}

// The pages come first, in the sheet's tab order with device properties; each knows its tab.
TEST(DlgviewCatalogue, PagesInTabOrder) {
    const std::vector<int> expected = {103, 104, 105, 106, 107, 109, 108, 120};
    std::vector<int> pages;
    for (const dlgview::TemplateInfo& info : dlgview::Pages())
        pages.push_back(info.id);
    EXPECT_EQ(pages, expected);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(dlgview::PageIndex(expected[i]), static_cast<int>(i));
    for (int id : {111, 192, 110, 0, -1})
        EXPECT_EQ(dlgview::PageIndex(id), -1) << id;
    EXPECT_EQ(dlgview::FindTemplate(110), nullptr); // the icon
    EXPECT_EQ(dlgview::ScreenshotFileName(*dlgview::FindTemplate(192)), "192_custom_size.png");
}

// Command lines, good and bad.
TEST(DlgviewArguments, ParsedOrRefusedWithAReason) {
    using Mode = dlgview::Options::Mode;
    const struct {
        std::vector<std::string> args;
        bool ok;
        Mode mode;
        int id;
        std::string path;
    } cases[] = {
        {{"104"}, true, Mode::Show, 104, ""},
        {{"192"}, true, Mode::Show, 192, ""},
        {{"121", "--screenshot", "out/a.png"}, true, Mode::Screenshot, 121, "out/a.png"},
        {{"--screenshots", "out/screenshots"}, true, Mode::Screenshots, 0, "out/screenshots"},
        {{"--list"}, true, Mode::List, 0, ""},
        {{}, false, Mode::Show, 0, ""},
        {{"110"}, false, Mode::Show, 0, ""}, // the icon, no template
        {{"102"}, false, Mode::Show, 0, ""},
        {{"abc"}, false, Mode::Show, 0, ""},
        {{"104x"}, false, Mode::Show, 0, ""},
        {{" 104"}, false, Mode::Show, 0, ""},
        {{"-104"}, false, Mode::Show, 0, ""},
        {{"99999999999999999999"}, false, Mode::Show, 0, ""},
        {{""}, false, Mode::Show, 0, ""},
        {{"104", "105"}, false, Mode::Show, 0, ""},
        {{"104", "--screenshot"}, false, Mode::Show, 0, ""},
        {{"104", "--screenshot", ""}, false, Mode::Show, 0, ""},
        {{"104", "--screenshot", "a.png", "b"}, false, Mode::Show, 0, ""},
        {{"--screenshots"}, false, Mode::Show, 0, ""},
        {{"--screenshots", ""}, false, Mode::Show, 0, ""},
        {{"--screenshots", "a", "b"}, false, Mode::Show, 0, ""},
        {{"--list", "104"}, false, Mode::Show, 0, ""},
        {{"--bogus"}, false, Mode::Show, 0, ""},
        {{"112", "--demo", "v.ppd"}, true, Mode::Show, 112, ""},
        {{"--demo", "v.ppd", "--screenshots", "d"}, true, Mode::Screenshots, 0, "d"},
        {{"116", "--screenshot", "a.png", "--printer", "P", "--demo", "v.ppd"},
         true,
         Mode::Screenshot,
         116,
         "a.png"},
        {{"112", "--demo"}, false, Mode::Show, 0, ""},
        {{"112", "--demo", ""}, false, Mode::Show, 0, ""},
        {{"112", "--printer"}, false, Mode::Show, 0, ""},
        {{"--list", "--demo", "v.ppd"}, false, Mode::Show, 0, ""},
        {{"112", "--demo", "v.ppd", "--save-block", "b.bin"}, true, Mode::Show, 112, ""},
        {{"112", "--save-block", "b.bin"}, false, Mode::Show, 0, ""},
    };
    for (const auto& c : cases) {
        std::string joined;
        for (const std::string& arg : c.args)
            joined += "[" + arg + "]";
        SCOPED_TRACE(joined);
        std::string error;
        const auto options = dlgview::ParseArguments(c.args, &error);
        ASSERT_EQ(options.has_value(), c.ok);
        if (!c.ok) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        EXPECT_EQ(options->mode, c.mode);
        EXPECT_EQ(options->id, c.id);
        EXPECT_EQ(options->path, c.path);
    }
}

// The demo printer's options: the PPD and the printer, which defaults to the demo printer's; only
// the colour dialogs have classes to run with them.
TEST(DlgviewArguments, DemoPrinter) {
    std::string error;
    const auto plain = dlgview::ParseArguments({"117"}, &error);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->demoPpd, "");
    const auto demo = dlgview::ParseArguments({"117", "--demo", "C:\\vela\\x.ppd"}, &error);
    ASSERT_TRUE(demo);
    EXPECT_EQ(demo->demoPpd, "C:\\vela\\x.ppd");
    EXPECT_EQ(demo->printer, "Vela ColorLaser 40 PS");
    const auto named =
        dlgview::ParseArguments({"--printer", "Tla\xE8iare\xF2", "117", "--demo", "x"}, &error);
    ASSERT_TRUE(named);
    EXPECT_EQ(named->printer, "Tla\xE8iare\xF2");
    EXPECT_EQ(named->id, 117);
    EXPECT_EQ(named->saveBlock, "");
    const auto saving =
        dlgview::ParseArguments({"117", "--demo", "x", "--save-block", "b"}, &error);
    ASSERT_TRUE(saving);
    EXPECT_EQ(saving->saveBlock, "b");

    std::set<int> demoDialogs;
    for (const dlgview::TemplateInfo& info : dlgview::Templates()) {
        if (dlgview::HasDemoDialog(info.id))
            demoDialogs.insert(info.id);
    }
    EXPECT_EQ(demoDialogs, (std::set<int>{112, 116, 117, 118}));
}

} // namespace
