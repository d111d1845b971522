// The Layout page's preview bitmaps, the About picture, the icon and the manifest. The previews
// are read back through the drawing conventions of res/make_bitmaps.py: silver background, white
// sheets whose pages are white cells framed in grey, a red turning edge on two-sided sheets.
#include "res/resource.h"
#include "tests/res/res_file.h"
#include "tests/res/styles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace restest {
namespace {

constexpr int kSilver = 7, kRed = 9, kBlue = 12, kWhite = 15;
constexpr std::uint32_t kVgaPalette[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};
constexpr int kPreviewSize = 160;
constexpr std::uint16_t kSlovak = 0x041B;

// Each bitmap as drawn for 96 DPI and for the larger screens, with its size in quarters of the 96
// DPI one (4 at 96 DPI).
struct Scale {
    int dpi;
    int idOffset;
    int quarters;
};
constexpr Scale kScales[] = {
    {96, 0, 4},
    {120, BITMAP_ID_OFFSET_120_DPI, 5},
    {144, BITMAP_ID_OFFSET_144_DPI, 6},
};

// The Layout page's choice of bitmap: pages per sheet by (portrait single, long, short,
// landscape single, long, short).
constexpr int kPages[7] = {1, 2, 4, 6, 9, 16, 99};
constexpr int kPreviewTable[7][6] = {
    {152, 166, 167, 153, 164, 165}, {156, 154, 155, 161, 159, 160}, {157, 169, 170, 162, 190, 189},
    {158, 171, 172, 163, 188, 187}, {173, 174, 175, 186, 185, 184}, {176, 177, 178, 183, 182, 181},
    {179, 179, 179, 180, 180, 180},
};

std::optional<Dib> LoadBitmap(int id) {
    const ResRecord* rec = FindRecord(ProgramRecords(), kRtBitmap, static_cast<std::uint16_t>(id));
    if (rec == nullptr)
        return std::nullopt;
    return ParseDib4(rec->data, false);
}

struct Box {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

Box BoundsOf(const Dib& dib, int colour) {
    Box box;
    for (int y = 0; y < dib.height; ++y)
        for (int x = 0; x < dib.width; ++x)
            if (dib.At(x, y) == colour) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

// Regions of 4-connected pixels of one colour.
int RegionsOf(const Dib& dib, int colour) {
    std::vector<bool> seen(dib.pixels.size());
    int regions = 0;
    for (std::size_t start = 0; start < dib.pixels.size(); ++start) {
        if (seen[start] || dib.pixels[start] != colour)
            continue;
        ++regions;
        std::vector<std::size_t> stack{start};
        seen[start] = true;
        while (!stack.empty()) {
            const std::size_t at = stack.back();
            stack.pop_back();
            const int x = static_cast<int>(at % dib.width), y = static_cast<int>(at / dib.width);
            const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& n : next) {
                if (n[0] < 0 || n[1] < 0 || n[0] >= dib.width || n[1] >= dib.height)
                    continue;
                const std::size_t i = static_cast<std::size_t>(n[1]) * dib.width + n[0];
                if (!seen[i] && dib.pixels[i] == colour) {
                    seen[i] = true;
                    stack.push_back(i);
                }
            }
        }
    }
    return regions;
}

// One white region per sheet margin and one per page cell (a single page is the sheet itself).
int WhiteRegionsPerSheet(int pages) {
    return pages == 1 ? 1 : pages + 1;
}

// The 38 previews are there (152 to 190 without 168) and nothing else uses that range.
TEST(PreviewBitmaps, ThirtyEightPreviewsArePresent) {
    std::set<int> ids;
    for (const auto& row : kPreviewTable)
        ids.insert(std::begin(row), std::end(row));
    std::set<int> range;
    for (int id = 152; id <= 190; ++id)
        if (id != 168)
            range.insert(id);
    EXPECT_EQ(ids, range);
    EXPECT_EQ(ids.size(), 38u);
    for (int id = 152; id <= 190; ++id)
        EXPECT_EQ(FindRecord(ProgramRecords(), kRtBitmap, static_cast<std::uint16_t>(id)) !=
                      nullptr,
                  id != 168)
            << id;
}

// The bitmaps drawn for larger screens are exactly those of the program's bitmaps.
TEST(ScaledBitmaps, OnePerBitmapAndScale) {
    std::set<int> expected, found;
    for (const Scale& scale : kScales) {
        if (scale.idOffset == 0)
            continue;
        expected.insert(IDB_ABOUT + scale.idOffset);
        for (int id = 152; id <= 190; ++id)
            if (id != 168)
                expected.insert(id + scale.idOffset);
    }
    for (const ResRecord& rec : ProgramRecords())
        if (rec.type.name.empty() && rec.type.ordinal == kRtBitmap && rec.name.ordinal >= 1000)
            found.insert(rec.name.ordinal);
    EXPECT_EQ(found, expected);
}

// Each is a 16-colour DIB of the declared size on a silver background, in Slovak, at every scale.
TEST(PreviewBitmaps, SixteenColourPicturesOnGrey) {
    for (const Scale& scale : kScales)
        for (int base = 152; base <= 190; ++base) {
            if (base == 168)
                continue;
            const int id = base + scale.idOffset;
            SCOPED_TRACE(id);
            const ResRecord* rec = FindRecord(ProgramRecords(), kRtBitmap, id);
            ASSERT_NE(rec, nullptr);
            EXPECT_EQ(rec->language, kSlovak);
            const auto dib = LoadBitmap(id);
            ASSERT_TRUE(dib.has_value());
            EXPECT_EQ(dib->width, kPreviewSize * scale.quarters / 4);
            EXPECT_EQ(dib->height, kPreviewSize * scale.quarters / 4);
            for (int i = 0; i < 16; ++i)
                EXPECT_EQ(dib->palette[i], kVgaPalette[i]) << i;
            for (int corner = 0; corner < 4; ++corner)
                EXPECT_EQ(
                    dib->At(corner % 2 ? dib->width - 1 : 0, corner / 2 ? dib->height - 1 : 0),
                    kSilver);
        }
}

// No two previews share a picture.
TEST(PreviewBitmaps, AllPreviewsDiffer) {
    std::vector<std::pair<int, Dib>> seen;
    for (int id = 152; id <= 190; ++id) {
        if (id == 168)
            continue;
        const auto dib = LoadBitmap(id);
        ASSERT_TRUE(dib.has_value()) << id;
        for (const auto& [other, picture] : seen) {
            EXPECT_FALSE(std::equal(picture.pixels.begin(), picture.pixels.end(),
                                    dib->pixels.begin(), dib->pixels.end()))
                << id << " looks like " << other;
        }
        seen.emplace_back(id, *dib);
    }
}

// Single-sided: one sheet of the orientation, holding the grid of that many pages, no turning;
// drawn so at every scale.
TEST(PreviewBitmaps, SingleSidedShowOneSheetWithItsPages) {
    for (const Scale& scale : kScales)
        for (int row = 0; row < 6; ++row) {
            for (int landscape = 0; landscape < 2; ++landscape) {
                const int id = kPreviewTable[row][landscape * 3] + scale.idOffset;
                SCOPED_TRACE(id);
                const auto dib = LoadBitmap(id);
                ASSERT_TRUE(dib.has_value());
                EXPECT_EQ(RegionsOf(*dib, kWhite), WhiteRegionsPerSheet(kPages[row]));
                const Box sheet = BoundsOf(*dib, kWhite);
                EXPECT_EQ(sheet.width() > sheet.height(), landscape == 1);
                EXPECT_EQ(BoundsOf(*dib, kRed).right, -1);
            }
        }
}

// Two-sided: two sheets with the page grid, a blue turning arrow, and the red turning edge
// between them. A portrait sheet's long side is vertical, so turning about it puts the sheets
// side by side; so does turning a landscape sheet about its short side.
TEST(PreviewBitmaps, TwoSidedTurnAboutTheirSide) {
    for (const Scale& scale : kScales)
        for (int row = 0; row < 6; ++row) {
            for (int column : {1, 2, 4, 5}) {
                const int id = kPreviewTable[row][column] + scale.idOffset;
                SCOPED_TRACE(id);
                const bool landscape = column >= 3;
                const bool longEdge = column % 3 == 1;
                const auto dib = LoadBitmap(id);
                ASSERT_TRUE(dib.has_value());
                EXPECT_EQ(RegionsOf(*dib, kWhite), 2 * WhiteRegionsPerSheet(kPages[row]));
                const bool sideBySide = longEdge != landscape;
                const Box sheets = BoundsOf(*dib, kWhite);
                EXPECT_EQ(sheets.width() > sheets.height(), sideBySide);
                // The turning edges run along the axis between the sheets.
                const Box edge = BoundsOf(*dib, kRed);
                ASSERT_GE(edge.right, 0);
                EXPECT_EQ(edge.height() > edge.width(), sideBySide);
                EXPECT_GE(BoundsOf(*dib, kBlue).right, 0);
            }
        }
}

// The booklet opens left to right on portrait pages and top to bottom on landscape ones.
TEST(PreviewBitmaps, BookletsOpenAlongTheirSpine) {
    for (const Scale& scale : kScales) {
        SCOPED_TRACE(scale.dpi);
        const auto portrait = LoadBitmap(IDB_PREVIEW_BOOKLET_PORTRAIT + scale.idOffset);
        const auto landscape = LoadBitmap(IDB_PREVIEW_BOOKLET_LANDSCAPE + scale.idOffset);
        ASSERT_TRUE(portrait && landscape);
        const Box open = BoundsOf(*portrait, kWhite);
        const Box flipped = BoundsOf(*landscape, kWhite);
        EXPECT_GT(open.width(), open.height());
        EXPECT_GT(flipped.height(), flipped.width());
        EXPECT_EQ(BoundsOf(*portrait, kRed).right, -1);
    }
}

// Drawn for the scale, not stretched: the sheet's black outline is as thick everywhere, one pixel
// at 96 and 120 DPI and two at 144 DPI, where a stretched picture's would alternate.
TEST(PreviewBitmaps, OutlinesKeepOneThicknessAtEveryScale) {
    for (const Scale& scale : kScales) {
        SCOPED_TRACE(scale.dpi);
        const auto dib = LoadBitmap(IDB_PREVIEW_PORTRAIT_SINGLE_1 + scale.idOffset);
        ASSERT_TRUE(dib.has_value());
        const Box sheet = BoundsOf(*dib, 0); // black: the outline alone
        const int expected = scale.dpi == 144 ? 2 : 1;
        for (int y = sheet.top + 4; y < sheet.bottom - 4; ++y) {
            int run = 0;
            while (dib->At(sheet.left + run, y) == 0)
                ++run;
            ASSERT_EQ(run, expected) << "row " << y;
        }
    }
}

// Smallest dialog base units to allow for (pixels per 4 horizontal / 8 vertical dialog units).
constexpr double kMinBaseX = 5.0, kMinBaseY = 11.0;

const DialogItem* FindItem(const DialogTemplate& d, int id) {
    for (const DialogItem& item : d.items)
        if (item.id == id)
            return &item;
    return nullptr;
}

DialogTemplate LoadDialog(int id) {
    const ResRecord* rec = FindRecord(ProgramRecords(), kRtDialog, static_cast<std::uint16_t>(id));
    return rec ? ParseDialog(rec->data).value_or(DialogTemplate{}) : DialogTemplate{};
}

// A preview fits inside the Layout page's "Náhľad" group box even with small dialog units.
TEST(PreviewBitmaps, FitTheLayoutPreviewGroup) {
    const DialogTemplate layout = LoadDialog(IDD_LAYOUT);
    const DialogItem* group = FindItem(layout, IDC_PREVIEW_GROUP);
    ASSERT_NE(group, nullptr);
    // Inside the frame and below its caption.
    EXPECT_LE(kPreviewSize * 4 / kMinBaseX, group->cx - 8);
    EXPECT_LE(kPreviewSize * 8 / kMinBaseY, group->cy - 16);
}

// The About picture: 16 colours, drawn for every scale, and it fits between the page's top and
// its text.
TEST(AboutPicture, SixteenColoursAndFitsAboveTheText) {
    for (const Scale& scale : kScales) {
        const auto drawn = LoadBitmap(IDB_ABOUT + scale.idOffset);
        ASSERT_TRUE(drawn.has_value()) << scale.dpi;
        EXPECT_EQ(drawn->width, 240 * scale.quarters / 4) << scale.dpi;
        EXPECT_EQ(drawn->height, 72 * scale.quarters / 4) << scale.dpi;
    }
    const auto dib = LoadBitmap(IDB_ABOUT);
    ASSERT_TRUE(dib.has_value());
    const DialogTemplate about = LoadDialog(IDD_ABOUT);
    const DialogItem* text = FindItem(about, IDC_ABOUT_TEXT);
    ASSERT_NE(text, nullptr);
    EXPECT_LE(dib->width * 4 / kMinBaseX, about.cx - 14);
    EXPECT_LE(dib->height * 8 / kMinBaseY, text->y - 4);
}

// Icon 110 holds a 16 and a 32 pixel image, each 16 colours with a transparency mask.
TEST(ProgramIcon, SixteenAndThirtyTwoPixels) {
    const ResRecord* group = FindRecord(ProgramRecords(), kRtGroupIcon, IDI_APP);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(IDI_APP, 110);
    const auto& d = group->data;
    ASSERT_GE(d.size(), 6u);
    EXPECT_EQ(d[2] | d[3] << 8, 1); // icons, not cursors
    const int count = d[4] | d[5] << 8;
    ASSERT_EQ(count, 2);
    ASSERT_GE(d.size(), 6u + 14u * count);
    std::set<int> sizes;
    for (int i = 0; i < count; ++i) {
        const unsigned char* e = d.data() + 6 + 14 * i;
        const int size = e[0];
        sizes.insert(size);
        EXPECT_EQ(e[1], size);
        EXPECT_EQ(e[6] | e[7] << 8, 4); // bits per pixel
        const int iconId = e[12] | e[13] << 8;
        const ResRecord* image =
            FindRecord(ProgramRecords(), kRtIcon, static_cast<std::uint16_t>(iconId));
        ASSERT_NE(image, nullptr) << size;
        const auto dib = ParseDib4(image->data, true);
        ASSERT_TRUE(dib.has_value()) << size;
        EXPECT_EQ(dib->width, size);
        EXPECT_EQ(dib->height, size);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32}));
}

// The manifest (resource 1, language-neutral) asks for common controls 6.
TEST(Manifest, AsksForCommonControlsSix) {
    const ResRecord* manifest = FindRecord(ProgramRecords(), kRtManifest, 1);
    ASSERT_NE(manifest, nullptr);
    EXPECT_EQ(manifest->language, 0);
    const std::string text(manifest->data.begin(), manifest->data.end());
    EXPECT_NE(text.find("name=\"Microsoft.Windows.Common-Controls\""), std::string::npos);
    EXPECT_NE(text.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(text.find("processorArchitecture=\"x86\""), std::string::npos);
}

// Everything but the manifest is marked Slovak.
TEST(Manifest, OtherResourcesAreSlovak) {
    for (const ResRecord& rec : ProgramRecords()) {
        if (!(rec.type.name.empty() && rec.type.ordinal == kRtManifest)) {
            EXPECT_EQ(rec.language, kSlovak) << rec.type.ordinal << " " << rec.name.ordinal;
        }
    }
}

} // namespace
} // namespace restest
