#include "ppd/keywords.h"

#include <functional>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "ppd_test_util.h"

namespace ppd {
namespace {

using test::Parse;
using test::Pt;
using test::Str;

// The hash index finds every row by its own name and nothing else.
TEST(KeywordTable, IndexFindsEveryRow) {
    std::set<std::string> names;
    for (std::size_t r = 0; r < kKeywordCount; ++r) {
        names.insert(kKeywordRows[r].name);
        EXPECT_EQ(FindKeyword(kKeywordRows[r].name), static_cast<int>(r)) << kKeywordRows[r].name;
        EXPECT_TRUE(MayBeKeyword(kKeywordRows[r].name)) << kKeywordRows[r].name;
    }
    for (const char* other : {"fr.Translation", "cupsFilter", "FoomaticRIPOptionSetting", "Zz"})
        EXPECT_FALSE(MayBeKeyword(other)) << other;
    EXPECT_EQ(names.size(), 72u);
    for (const char* other : {"", "pagesize", "PageSizeX", "PageSiz", "Translation", "?PageSize"})
        EXPECT_EQ(FindKeyword(other), -1) << other;
}

// The known fonts: 173 rows numbered 1 to 168, repeated names keeping their first number.
TEST(KnownFonts, Numbers) {
    EXPECT_EQ(KnownFontNumber("Arial", NameHash("Arial")), 1);
    EXPECT_EQ(KnownFontNumber("LubalinGraph-Book", NameHash("LubalinGraph-Book")), 45);
    EXPECT_EQ(KnownFontNumber("LubalinGraph-DemiOblique", NameHash("LubalinGraph-DemiOblique")),
              48);
    EXPECT_EQ(KnownFontNumber("Symbol", NameHash("Symbol")), 61);
    EXPECT_EQ(
        KnownFontNumber("ZapfChanceryCE-MediumItalic", NameHash("ZapfChanceryCE-MediumItalic")),
        168);
    EXPECT_EQ(KnownFontNumber("Courier-bold", NameHash("Courier-bold")), 0);
    // Numbers count distinct names in list order.
    std::set<std::string> seen;
    int expected = 0;
    for (std::string_view name : kKnownFonts) {
        if (seen.insert(std::string(name)).second)
            ++expected;
        const int number = KnownFontNumber(name, NameHash(name));
        EXPECT_GE(number, 1) << name;
        EXPECT_LE(number, expected) << name;
    }
    EXPECT_EQ(expected, 168);
}

struct FieldCase {
    const char* name;
    const char* text;
    std::function<long long(const PpdDocument&)> field;
    long long expected;
};

// Device-description handlers: boolean rows, word lists, numbers, and the finishing rules.
TEST(Handlers, DeviceDescription) {
    const FieldCase cases[] = {
        {"CMYK sets the colour flag", "*Extensions: CMYK\n",
         [](const PpdDocument& d) { return d.colorDevice; }, 1},
        {"a later ColorDevice False resets it", "*Extensions: CMYK\n*ColorDevice: False\n",
         [](const PpdDocument& d) { return d.colorDevice; }, 0},
        {"an earlier ColorDevice False does not", "*ColorDevice: False\n*Extensions: CMYK\n",
         [](const PpdDocument& d) { return d.colorDevice; }, 1},
        {"extensions are ORed", "*Extensions: DPS FileSystem\n*Extensions: Composite\n",
         [](const PpdDocument& d) { return d.extensions; }, 13},
        {"first ColorDevice wins", "*ColorDevice: True\n*ColorDevice: False\n",
         [](const PpdDocument& d) { return d.colorDevice; }, 1},
        {"a symbol value does not use the keyword up", "*ColorDevice: ^x\n*ColorDevice: True\n",
         [](const PpdDocument& d) { return d.colorDevice; }, 1},
        {"a non-boolean word stores 0 and uses the keyword up",
         "*ColorDevice: Maybe\n*ColorDevice: True\n",
         [](const PpdDocument& d) { return d.colorDevice; }, 0},
        {"a quoted boolean is a form error", "*ColorDevice: \"True\"\n",
         [](const PpdDocument& d) { return d.colorDevice; }, 0},
        {"boolean rows", "*EmailNotify: True\n*NUP: True\n*Booklet: True\n*Reprint: True\n",
         [](const PpdDocument& d) { return d.emailNotify + d.nup + d.booklet + d.reprint; }, 4},
        {"Japanese before any encoding", "*LanguageVersion: Japanese\n",
         [](const PpdDocument& d) { return d.languageEncoding; }, 2},
        {"a version after an encoding changes nothing",
         "*LanguageEncoding: WindowsANSI\n*LanguageVersion: Japanese\n",
         [](const PpdDocument& d) { return d.languageEncoding; }, 4},
        {"unknown encoding keeps the old value", "*LanguageEncoding: Klingon\n",
         [](const PpdDocument& d) { return d.languageEncoding; }, 0},
        {"protocols", "*Protocols: PJL TBCP\n*Protocols: Foo SIC\n",
         [](const PpdDocument& d) { return d.protocols; }, 13},
        {"rasterizer", "*TTRasterizer: Type42\n",
         [](const PpdDocument& d) { return d.ttRasterizer; }, 2},
        {"TrueImageDevice other word gives 0", "*TrueImageDevice: Yes\n",
         [](const PpdDocument& d) { return d.trueImageDevice; }, 0},
        {"AcceptsTrueType", "*AcceptsTrueType: True\n",
         [](const PpdDocument& d) { return d.acceptsTrueType; }, 1},
        {"orientation", "*LandscapeOrientation: Minus90\n",
         [](const PpdDocument& d) { return d.landscapeOrientation; }, 2},
        {"language level", "*LanguageLevel: \"3\"\n",
         [](const PpdDocument& d) { return d.languageLevel; }, 3},
        {"bad language level keeps 1 and a later one counts",
         "*LanguageLevel: \"x\"\n*LanguageLevel: \"2\"\n",
         [](const PpdDocument& d) { return d.languageLevel; }, 2},
        {"wait timeout default", "", [](const PpdDocument& d) { return d.suggestedWaitTimeout; },
         240},
        {"job timeout", "*SuggestedJobTimeout: \"60\"\n",
         [](const PpdDocument& d) { return d.suggestedJobTimeout; }, 60},
        {"screen defaults", "", [](const PpdDocument& d) { return d.screenAngle + d.screenFreq; },
         11520 + 15360},
        {"screen angle", "*ScreenAngle: \"37.5\"\n",
         [](const PpdDocument& d) { return d.screenAngle; }, Pt(37.5)},
        {"FreeVM 65536 is raised", "*FreeVM: \"65536\"\n",
         [](const PpdDocument& d) { return d.freeVm; }, 102400},
        {"FreeVM -5 is raised", "*FreeVM: \"-5\"\n", [](const PpdDocument& d) { return d.freeVm; },
         102400},
        {"FreeVM above 2^31 is kept", "*FreeVM: \"3000000000\"\n",
         [](const PpdDocument& d) { return d.freeVm; }, 3000000000LL},
        {"FreeVM beyond 32 bits saturates", "*FreeVM: \"5637144576\"\n",
         [](const PpdDocument& d) { return d.freeVm; }, 4294967295LL},
        {"custom size without media limits is cleared", "*CustomPageSize True: \"x\"\n",
         [](const PpdDocument& d) { return d.customPageSize; }, 0},
        {"custom size with a media limit", "*CustomPageSize True: \"x\"\n*MaxMediaWidth: \"612\"\n",
         [](const PpdDocument& d) { return d.customPageSize; }, 1},
        {"custom size of another option keyword",
         "*CustomPageSize False: \"x\"\n*MaxMediaWidth: \"612\"\n",
         [](const PpdDocument& d) { return d.customPageSize; }, 0},
        {"max media height", "*MaxMediaHeight: \"1224.5\"\n",
         [](const PpdDocument& d) { return d.maxMediaHeight; }, Pt(1224.5)},
        {"margins", "*HWMargins: 18 36 18.5 36\n",
         [](const PpdDocument& d) {
             return d.hasHwMargins * 1000000000LL + d.hwMargins[2] * 1000LL + d.hwMargins[3] / 256;
         },
         1000000000LL + Pt(18.5) * 1000LL + 36},
        {"three margins store nothing", "*HWMargins: 18 36 18\n",
         [](const PpdDocument& d) { return d.hasHwMargins + d.hwMargins[0]; }, 0},
        {"custom width parameter", "*ParamCustomPageSize Width: 1 points 72 1224\n",
         [](const PpdDocument& d) {
             const auto& p = d.customSizeParams[0];
             return p.order * 1000000000000LL + p.type * 100000000000LL + p.minimum * 1000000LL +
                    p.maximum;
         },
         1 * 1000000000000LL + 2 * 100000000000LL + Pt(72) * 1000000LL + Pt(1224)},
        {"order 6 is refused", "*ParamCustomPageSize Height: 6 points 72 1224\n",
         [](const PpdDocument& d) { return d.customSizeParams[1].order; }, 0},
        {"unknown type is ignored", "*ParamCustomPageSize Height: 2 inch 1 2\n",
         [](const PpdDocument& d) { return d.customSizeParams[1].order; }, 0},
        {"unknown parameter is ignored", "*ParamCustomPageSize Depth: 2 int 1 2\n",
         [](const PpdDocument& d) {
             long long sum = 0;
             for (const auto& p : d.customSizeParams)
                 sum += p.order;
             return sum;
         },
         0},
        {"orientation parameter", "*ParamCustomPageSize Orientation: 5 int 0 3\n",
         [](const PpdDocument& d) { return d.customSizeParams[4].maximum; }, Pt(3)},
    };
    for (const FieldCase& c : cases) {
        const auto doc = Parse(c.text);
        ASSERT_NE(doc, nullptr) << c.name;
        EXPECT_EQ(c.field(*doc), c.expected) << c.name;
    }
}

struct StringCase {
    const char* name;
    std::string text;
    std::function<const char*(const PpdDocument&)> field;
    const char* expected; // null: absent
};

// Strings: first entry wins, the hexadecimal mode where it applies.
TEST(Handlers, Strings) {
    const StringCase cases[] = {
        {"values may hold bytes above 0x7F", "*NickName: \"Vela <9A>ed\xe1\"\n",
         [](const PpdDocument& d) { return d.nickName.get(); },
         "Vela \x9A"
         "ed\xE1"},
        {"nickname", "*NickName: \"Vela <9A>eda\"\n*NickName: \"Other\"\n",
         [](const PpdDocument& d) { return d.nickName.get(); },
         "Vela \x9A"
         "eda"},
        {"nickname with bad hex is skipped, a later one counts",
         "*NickName: \"<9>\"\n*NickName: \"Good\"\n",
         [](const PpdDocument& d) { return d.nickName.get(); }, "Good"},
        {"JCL begin in hex", "*JCLBegin: \"<1B>%-12345X@PJL JOB<0A>\"\n",
         [](const PpdDocument& d) { return d.jclBegin.get(); }, "\x1B%-12345X@PJL JOB\n"},
        {"JCL to PostScript", "*JCLToPSInterpreter: \"@PJL ENTER LANGUAGE = POSTSCRIPT<0A>\"\n",
         [](const PpdDocument& d) { return d.jclToPsInterpreter.get(); },
         "@PJL ENTER LANGUAGE = POSTSCRIPT\n"},
        {"password is quoted only", "*Password: 0\n",
         [](const PpdDocument& d) { return d.password.get(); }, nullptr},
        {"password keeps angle brackets", "*Password: \"<00>\"\n",
         [](const PpdDocument& d) { return d.password.get(); }, "<00>"},
        {"exit server over lines", "*ExitServer: \"a\nb\"\n",
         [](const PpdDocument& d) { return d.exitServer.get(); }, "a\nb"},
        {"custom size invocation", "*CustomPageSize True: \"pop pop\"\n",
         [](const PpdDocument& d) { return d.customPageSizeInvocation.get(); }, "pop pop"},
        {"a NUL ends a stored value", std::string("*ExitServer: \"ab\0cd\"\n", 21),
         [](const PpdDocument& d) { return d.exitServer.get(); }, "ab"},
    };
    for (const StringCase& c : cases) {
        const auto doc = Parse(c.text);
        ASSERT_NE(doc, nullptr) << c.name;
        EXPECT_EQ(Str(c.field(*doc)), Str(c.expected)) << c.name;
    }
}

// Fonts: only known fonts, each once, with encoding and character set.
TEST(Handlers, Fonts) {
    const auto doc = Parse("*Font Foo: Standard \"(001.000)\" Standard ROM\n"
                           "*Font Courier/Kuri<E9>r: Standard \"(002.004S)\" Standard ROM\n"
                           "*Font Courier: Special \"(1)\" Special ROM\n"
                           "*Font Symbol: Special \"(001.007S)\" Special ROM\n"
                           "*Font Times-Roman: Klingon \"(1)\" Standard ROM\n"
                           "*Font Helvetica: ISOLatin1 \"(1)\" Weird ROM\n"
                           "*Font Palatino-Roman: Expert \"(no second quote\n");
    ASSERT_NE(doc, nullptr);
    struct Expected {
        const char* name;
        const char* translation;
        int encoding, charset, id;
    };
    const Expected expected[] = {
        {"Courier", "Kuri\xE9r", 0, 0, 17},    {"Symbol", nullptr, 1, 2, 61},
        {"Times-Roman", nullptr, 9, 0, 65},    {"Helvetica", nullptr, 2, 12, 25},
        {"Palatino-Roman", nullptr, 3, 0, 56},
    };
    const PpdFontEntry* font = doc->fonts.get();
    for (const Expected& e : expected) {
        ASSERT_NE(font, nullptr) << e.name;
        EXPECT_EQ(Str(font->name.get()), e.name);
        EXPECT_EQ(Str(font->translation.get()), Str(e.translation));
        EXPECT_EQ(font->encoding, e.encoding) << e.name;
        EXPECT_EQ(font->charset, e.charset) << e.name;
        EXPECT_EQ(font->fontId, e.id) << e.name;
        EXPECT_EQ(font->nameHash, NameHash(e.name));
        font = font->next.get();
    }
    EXPECT_EQ(font, nullptr);
    EXPECT_EQ(doc->fontCount, 5u);
}

const PpdPageOption* PageOption(const PpdDocument& doc, const char* name) {
    for (const PpdOption* o = doc.slots[kPageSizeSlot]->options.get(); o; o = o->next.get()) {
        if (Str(o->name.get()) == name)
            return o->AsPage();
    }
    return nullptr;
}

// Page sizes: area plus one point at left and bottom, limited to the sheet, or the whole sheet.
TEST(Handlers, PageData) {
    const auto doc = Parse("*PageSize A4/A4: \"a4\"\n"
                           "*PageRegion A4: \"a4 region\"\n"
                           "*ImageableArea A4: \"12 12 600 780\"\n"
                           "*PaperDimension A4: \"612 792\"\n"
                           "*ImageableArea Narrow: \"12 12 600 780\"\n"
                           "*PaperDimension Narrow: \"500 792\"\n"
                           "*ImageableArea Zero: \"0 0 0 0\"\n"
                           "*PaperDimension Zero: \"612 792\"\n"
                           "*ImageableArea NoPaper: \"1 2 3 4\"\n"
                           "*PaperDimension NoPaper: \"612\"\n"
                           "*ImageableArea Bad: \"1 2 3\"\n"
                           "*PaperDimension Bad: \"100 200\"\n");
    ASSERT_NE(doc, nullptr);
    const struct {
        const char* name;
        Fixed w, h, l, b, r, t;
    } cases[] = {
        {"A4", Pt(612), Pt(792), Pt(13), Pt(13), Pt(600), Pt(780)},
        {"Narrow", Pt(500), Pt(792), Pt(13), Pt(13), Pt(500), Pt(780)},
        {"Zero", Pt(612), Pt(792), 0, 0, Pt(612), Pt(792)},
        {"NoPaper", 0, 0, 0, 0, 0, 0},
        {"Bad", Pt(100), Pt(200), 0, 0, Pt(100), Pt(200)},
    };
    for (const auto& c : cases) {
        const PpdPageOption* p = PageOption(*doc, c.name);
        ASSERT_NE(p, nullptr) << c.name;
        EXPECT_EQ(p->paperWidth, c.w) << c.name;
        EXPECT_EQ(p->paperHeight, c.h) << c.name;
        EXPECT_EQ(p->imageableLeft, c.l) << c.name;
        EXPECT_EQ(p->imageableBottom, c.b) << c.name;
        EXPECT_EQ(p->imageableRight, c.r) << c.name;
        EXPECT_EQ(p->imageableTop, c.t) << c.name;
    }
    const PpdPageOption* a4 = PageOption(*doc, "A4");
    EXPECT_EQ(Str(a4->invocation.get()), "a4");
    EXPECT_EQ(Str(a4->regionInvocation.get()), "a4 region");
    EXPECT_EQ(Str(a4->translation.get()), "A4");
}

// Margins at the top of the range must not overflow when a point is added.
TEST(Handlers, ImageableAreaSaturates) {
    const auto doc = Parse("*ImageableArea Huge: \"99999999 99999999 99999999 99999999\"\n"
                           "*PaperDimension Huge: \"99999999 99999999\"\n");
    ASSERT_NE(doc, nullptr);
    const PpdPageOption* p = PageOption(*doc, "Huge");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->imageableLeft, 0); // not below the right edge: the whole sheet
    EXPECT_EQ(p->imageableRight, p->paperWidth);
}

long long RequiresPageRegion(const PpdDocument& doc, const char* slot) {
    for (const PpdOption* o = doc.slots[kInputSlotSlot]->options.get(); o; o = o->next.get()) {
        if (Str(o->name.get()) == slot)
            return o->AsSlot()->requiresPageRegion;
    }
    return -1;
}

// Input slots: the InputSlot row sets the flag, per-slot entries and the All mark override it.
TEST(Handlers, RequiresPageRegion) {
    const struct {
        const char* text;
        long long tray2;
    } cases[] = {
        {"*InputSlot Tray2: \"2\"\n", 1},
        {"*InputSlot Tray2: \"2\"\n*RequiresPageRegion Tray2: False\n", 0},
        {"*InputSlot Tray2: \"2\"\n*RequiresPageRegion Tray2: Maybe\n", 0},
        {"*InputSlot Tray2: \"2\"\n*RequiresPageRegion Tray2: False\n"
         "*RequiresPageRegion All: True\n",
         1},
        {"*InputSlot Tray2: \"2\"\n*RequiresPageRegion All: False\n", 0},
        {"*InputSlot Tray2: \"2\"\n*RequiresPageRegion All: Maybe\n", 1},
        {"*RequiresPageRegion Tray2: False\n*InputSlot Tray2: \"2\"\n", 1},
    };
    for (const auto& c : cases) {
        const auto doc = Parse(c.text);
        ASSERT_NE(doc, nullptr) << c.text;
        EXPECT_EQ(RequiresPageRegion(*doc, "Tray2"), c.tray2) << c.text;
    }
}

// Resolutions and memory: the kind of the last resolution row, hex JCL strings, vmAmount.
TEST(Handlers, ResolutionAndMemory) {
    const auto doc = Parse("*Resolution 600dpi/600 DPI: \"r600\"\n"
                           "*JCLResolution 600dpi: \"<1B>@PJL SET RESOLUTION=600<0A>\"\n"
                           "*SetResolution 1200dpi: \"set1200\"\n"
                           "*ResScreenAngle 600dpi: \"15\"\n"
                           "*ResScreenFreq 600dpi: \"85.5\"\n"
                           "*DefaultResolution: 1200dpi\n"
                           "*InstalledMemory 64MB/64 MB: \"m64\"\n"
                           "*VMOption 64MB: \"4294967296\"\n"
                           "*VMOption 32MB: \"3000000000\"\n"
                           "*DefaultInstalledMemory: 64MB\n");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->resolutionKind, 2);
    const PpdFeature* res = doc->slots[kResolutionSlot].get();
    ASSERT_NE(res, nullptr);
    EXPECT_EQ(Str(res->name.get()), "Resolution");
    EXPECT_EQ(res->optionCount, 2u);
    EXPECT_EQ(res->defaultOption, 1u);
    const PpdResolutionOption* r600 = res->options->AsResolution();
    ASSERT_NE(r600, nullptr);
    EXPECT_EQ(Str(r600->invocation.get()), "r600");
    EXPECT_EQ(Str(r600->jclInvocation.get()), "\x1B@PJL SET RESOLUTION=600\n");
    EXPECT_EQ(r600->screenAngle, Pt(15));
    EXPECT_EQ(r600->screenFreq, Pt(85.5));
    EXPECT_EQ(Str(res->options->next->AsResolution()->setInvocation.get()), "set1200");

    const PpdFeature* memory = doc->slots[kMemorySlot].get();
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(Str(memory->name.get()), "VMOption");
    EXPECT_EQ(memory->installable, 1);
    EXPECT_EQ(Str(memory->options->invocation.get()), "m64");
    EXPECT_EQ(memory->options->AsMemory()->vmAmount, 4294967295u);
    EXPECT_EQ(memory->options->next->AsMemory()->vmAmount, 3000000000u);
    // The memory default goes to a feature of its own name, without options.
    const PpdFeature* installed = FindFeature(doc.get(), "InstalledMemory");
    ASSERT_NE(installed, nullptr);
    EXPECT_EQ(installed->optionCount, 0u);
    EXPECT_EQ(installed->slot, kGenericSlot);
    EXPECT_EQ(memory->defaultOption, 0u);
}

// Duplex, Collate and ManualFeed rows make their slot features with the slot's UI type.
TEST(Handlers, InvocationFeatures) {
    const auto doc = Parse("*Duplex None/Off: \"d0\"\n*Duplex DuplexNoTumble: \"d1\"\n"
                           "*DefaultDuplex: DuplexNoTumble\n"
                           "*ManualFeed True: \"m1\"\n*Collate True: \"c1\"\n");
    ASSERT_NE(doc, nullptr);
    const struct {
        std::uint16_t slot;
        const char* name;
        std::uint16_t ui;
        std::uint32_t options;
    } cases[] = {{kDuplexSlot, "Duplex", kUiPickOne, 2},
                 {kManualFeedSlot, "ManualFeed", kUiBoolean, 1},
                 {kCollateSlot, "Collate", kUiBoolean, 1}};
    for (const auto& c : cases) {
        const PpdFeature* f = doc->slots[c.slot].get();
        ASSERT_NE(f, nullptr) << c.name;
        EXPECT_EQ(Str(f->name.get()), c.name);
        EXPECT_EQ(f->uiType, c.ui) << c.name;
        EXPECT_EQ(f->optionCount, c.options) << c.name;
        EXPECT_EQ(f->optionKind, OptionKind::kInvocation);
    }
    EXPECT_EQ(doc->slots[kDuplexSlot]->defaultOption, 1u);
    EXPECT_EQ(Str(DefaultOption(doc->slots[kDuplexSlot].get())->invocation.get()), "d1");
}

// Entries of the wrong shape are skipped: option keyword where none belongs and vice versa.
TEST(Handlers, FormChecks) {
    const auto doc = Parse("*PageSize: \"no option\"\n"
                           "*PageSize A4: plain\n"
                           "*ColorDevice Opt: True\n"
                           "*DefaultPageSize: \"quoted\"\n"
                           "*PageSize Letter: \"ok\"\n");
    ASSERT_NE(doc, nullptr);
    const PpdFeature* pages = doc->slots[kPageSizeSlot].get();
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->optionCount, 1u);
    EXPECT_EQ(Str(pages->options->name.get()), "Letter");
    EXPECT_EQ(doc->colorDevice, 0);
}

} // namespace
} // namespace ppd
