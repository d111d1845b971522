// Reading compiled resource files and dialog templates: what the headless backend builds its
// windows from, and the bounds every read must keep on malformed input.
#include "ui/headless/resources.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/ui/data/test_ids.h"
#include "tests/ui/test_resources.h"

namespace ui::headless {
namespace {

using ::testing::ElementsAre;

const DialogItemTemplate* ItemWithId(const DialogTemplate& dialog, int id) {
    for (const DialogItemTemplate& item : dialog.items) {
        if (item.id == id)
            return &item;
    }
    return nullptr;
}

// The test file holds the dialogs, bitmaps and manifest its script names.
TEST(ResourceFile, FindsTheRecordsOfTheTestScript) {
    const std::optional<ResourceFile> file = ResourceFile::Parse(testing::TestResources());
    ASSERT_TRUE(file);
    for (int id :
         {IDD_CONFORMANCE, IDD_PAGE_ONE, IDD_PAGE_TWO, IDD_PAGE_THREE, IDD_SMALL, IDD_PAGE_RADIOS})
        EXPECT_NE(file->Find(kResourceDialog, id), nullptr) << id;
    EXPECT_NE(file->Find(kResourceBitmap, IDB_TEST_WIDE), nullptr);
    EXPECT_NE(file->Find(kResourceManifest, 1), nullptr);
    EXPECT_EQ(file->Find(kResourceDialog, 9999), nullptr);
    EXPECT_EQ(file->Find(kResourceBitmap, IDD_CONFORMANCE), nullptr);
    // Copies keep their records valid.
    const ResourceFile copy = *file;
    const ResourceRecord* bitmap = copy.Find(kResourceBitmap, IDB_TEST_SMALL);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(ParseBitmapSize(bitmap->data), (Size{17, 11}));
}

// A DIALOGEX template: caption and texts in code page 1250, classes in lower case, numbered
// picture titles, DWORD ids (IDC_STATIC reads -1), styles as compiled.
TEST(DialogTemplate, ParsesAnExtendedTemplate) {
    const std::optional<ResourceFile> file = ResourceFile::Parse(testing::TestResources());
    ASSERT_TRUE(file);
    const std::optional<DialogTemplate> dialog =
        ParseDialogTemplate(file->Find(kResourceDialog, IDD_CONFORMANCE)->data);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->extended);
    EXPECT_EQ(dialog->caption, "Sk\xFA\x9Aka ovl\xE1"
                               "dac\xED"
                               "ch prvkov");
    EXPECT_EQ(dialog->fontName, "MS Shell Dlg");
    EXPECT_EQ(dialog->pointSize, 8);
    EXPECT_EQ(dialog->cx, 320);
    EXPECT_EQ(dialog->cy, 240);
    EXPECT_EQ(dialog->items.size(), 28u);

    const DialogItemTemplate* combo = ItemWithId(*dialog, IDC_SORTED_COMBO);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->className, "combobox");
    EXPECT_EQ(combo->style & 0x103u, 0x103u); // CBS_DROPDOWNLIST | CBS_SORT
    const DialogItemTemplate* spin = ItemWithId(*dialog, IDC_SPIN);
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->className, "msctls_updown32");
    const DialogItemTemplate* picture = ItemWithId(*dialog, IDC_PICTURE);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->className, "static");
    EXPECT_EQ(picture->textResourceId, IDB_TEST_WIDE);
    const DialogItemTemplate* label = ItemWithId(*dialog, IDC_LABEL);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text, "\x8Elt\xFD k\xF4\xF2 \xFApel \xEF\xE1"
                           "belsk\xE9 \xF3"
                           "dy");
    EXPECT_EQ(label->textResourceId, -1);

    const std::optional<DialogTemplate> page =
        ParseDialogTemplate(file->Find(kResourceDialog, IDD_PAGE_THREE)->data);
    ASSERT_TRUE(page);
    ASSERT_EQ(page->items.size(), 1u);
    EXPECT_EQ(page->items[0].id, -1);
}

// Builds a DLGTEMPLATE (the older form) by hand: WORD ids, no help ids.
std::vector<unsigned char> OldStyleTemplate() {
    std::vector<unsigned char> t;
    auto word = [&](std::uint16_t w) {
        t.push_back(static_cast<unsigned char>(w & 0xFF));
        t.push_back(static_cast<unsigned char>(w >> 8));
    };
    auto dword = [&](std::uint32_t d) {
        word(static_cast<std::uint16_t>(d & 0xFFFF));
        word(static_cast<std::uint16_t>(d >> 16));
    };
    auto text = [&](const char16_t* s) {
        for (; *s; ++s)
            word(static_cast<std::uint16_t>(*s));
        word(0);
    };
    dword(0x80C00040); // WS_POPUP | WS_CAPTION | DS_SETFONT
    dword(0);
    word(2);                               // items
    word(1), word(2), word(100), word(50); // x, y, cx, cy
    word(0), word(0);                      // no menu, default class
    text(u"\u010Cesk\u00FD");              // caption "Český"
    word(8), text(u"MS Sans Serif");       // font
    while (t.size() % 4)
        t.push_back(0);
    dword(0x50010000), dword(0); // WS_CHILD | WS_VISIBLE | WS_TABSTOP
    word(5), word(6), word(40), word(12);
    word(0xFFFF);               // IDC_STATIC as a WORD
    word(0xFFFF), word(0x0082); // static
    text(u"A");
    word(0);
    while (t.size() % 4)
        t.push_back(0);
    dword(0x50000000), dword(0);
    word(5), word(20), word(40), word(12);
    word(1234);
    text(u"MyClass");
    word(0xFFFF), word(77); // a numbered title
    word(2), word(0xABCD);  // two bytes of creation data
    return t;
}

TEST(DialogTemplate, ParsesTheOlderForm) {
    const std::vector<unsigned char> data = OldStyleTemplate();
    const std::optional<DialogTemplate> dialog = ParseDialogTemplate(data);
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(dialog->extended);
    EXPECT_EQ(dialog->caption, "\xC8\x65sk\xFD");
    EXPECT_EQ(dialog->fontName, "MS Sans Serif");
    ASSERT_EQ(dialog->items.size(), 2u);
    EXPECT_EQ(dialog->items[0].id, 0xFFFF);
    EXPECT_EQ(dialog->items[0].className, "static");
    EXPECT_EQ(dialog->items[0].text, "A");
    EXPECT_EQ(dialog->items[1].id, 1234);
    EXPECT_EQ(dialog->items[1].className, "myclass");
    EXPECT_EQ(dialog->items[1].textResourceId, 77);
    EXPECT_EQ(dialog->items[1].y, 20);
}

// Every truncation of a valid template or resource file is refused or read within its bounds
// (the sanitizer build checks the bounds).
TEST(DialogTemplate, TruncatedInputIsRefusedWithoutOverreading) {
    const std::vector<unsigned char> data = OldStyleTemplate();
    for (size_t length = 0; length < data.size() - 1; ++length) {
        const std::vector<unsigned char> part(data.begin(), data.begin() + length);
        EXPECT_FALSE(ParseDialogTemplate(part)) << length;
    }
    const std::span<const unsigned char> file = testing::TestResources();
    for (size_t length = 0; length < file.size(); length += 7) {
        const std::vector<unsigned char> part(file.begin(), file.begin() + length);
        const std::optional<ResourceFile> parsed = ResourceFile::Parse(part);
        if (parsed) {
            for (const ResourceRecord& record : parsed->Records())
                ParseDialogTemplate(record.data);
        }
    }
}

struct BitmapCase {
    std::vector<unsigned char> header;
    std::optional<Size> expected;
};

std::vector<unsigned char> Le32(std::initializer_list<std::int32_t> values) {
    std::vector<unsigned char> bytes;
    for (std::int32_t v : values) {
        const auto u = static_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<unsigned char>(u >> (8 * i)));
    }
    return bytes;
}

// Bitmap sizes from both header forms; top-down bitmaps have a negative height.
TEST(BitmapSize, ReadsBothHeaderForms) {
    std::vector<unsigned char> core = {12, 0, 0, 0, 33, 0, 22, 0, 1, 0, 4, 0};
    const BitmapCase cases[] = {
        {Le32({40, 64, 48, 0x00040001, 0, 0, 0, 0, 16, 0}), Size{64, 48}},
        {Le32({40, 64, -48, 0x00040001, 0, 0, 0, 0, 16, 0}), Size{64, 48}},
        {core, Size{33, 22}},
        {Le32({40, 0, 48, 0x00040001, 0, 0, 0, 0, 16, 0}), std::nullopt},
        {Le32({40, 64}), std::nullopt},
        {Le32({20, 64, 48}), std::nullopt},
        {{}, std::nullopt},
    };
    for (const BitmapCase& c : cases)
        EXPECT_EQ(ParseBitmapSize(c.header), c.expected);
}

} // namespace
} // namespace ui::headless
