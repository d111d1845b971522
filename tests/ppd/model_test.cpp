// UI features, groups, order dependencies and constraints, finishing and packing.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ppd/model.h"
#include "ppd_test_util.h"

namespace ppd {
namespace {

using test::Parse;
using test::Pt;
using test::Str;

std::vector<std::string> OptionNames(const PpdFeature* f) {
    std::vector<std::string> names;
    for (const PpdOption* o = f != nullptr ? f->options.get() : nullptr; o; o = o->next.get())
        names.push_back(Str(o->name.get()));
    return names;
}

std::vector<std::string> FeatureNames(const PpdDocument& doc) {
    std::vector<std::string> names;
    for (const PpdFeature* f = FirstFeature(&doc); f; f = f->next.get())
        names.push_back(Str(f->name.get()));
    return names;
}

const char kMediaType[] = "*OpenUI *MediaType/Media Type: PickOne\n"
                          "*OrderDependency: 10 AnySetup *MediaType\n"
                          "*DefaultMediaType: Plain\n"
                          "*MediaType Thick/Thick Paper: \"thick\"\n"
                          "*MediaType Plain/Plain Paper: \"plain\"\n"
                          "*MediaType Glossy: \"glossy\"\n"
                          "*CloseUI: *MediaType\n";

TEST(UiFeatures, GenericFeatureWithOptionsAndDefault) {
    const auto doc = Parse(kMediaType);
    ASSERT_NE(doc, nullptr);
    const PpdFeature* f = FindFeature(doc.get(), "MediaType");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(Str(f->translation.get()), "Media Type");
    EXPECT_EQ(f->slot, kGenericSlot);
    EXPECT_EQ(f->uiType, kUiPickOne);
    EXPECT_EQ(f->installable, 0);
    EXPECT_EQ(OptionNames(f), (std::vector<std::string>{"Thick", "Plain", "Glossy"}));
    EXPECT_EQ(f->defaultOption, 1u);
    EXPECT_EQ(Str(DefaultOption(f)->invocation.get()), "plain");
    EXPECT_EQ(Str(f->options->next->next->translation.get()), "<absent>");
}

struct DefaultCase {
    const char* name;
    std::string text;
    std::uint32_t position;
};

// The default position: the option named by the first default entry, else 0.
TEST(UiFeatures, DefaultPositions) {
    const std::string options = "*MediaType A: \"a\"\n*MediaType B: \"b\"\n*CloseUI: *MediaType\n";
    const std::string open = "*OpenUI *MediaType: PickOne\n";
    const DefaultCase cases[] = {
        {"names the second", open + "*DefaultMediaType: B\n" + options, 1},
        {"names no option", open + "*DefaultMediaType: C\n" + options, 0},
        {"trailing blanks match nothing", open + "*DefaultMediaType: B  \n" + options, 0},
        {"first default wins", open + "*DefaultMediaType: B\n*DefaultMediaType: A\n" + options, 1},
        {"default after CloseUI is not routed to the feature",
         open + options + "*DefaultMediaType: B\n", 0},
        {"case matters", open + "*DefaultMediaType: b\n" + options, 0},
    };
    for (const DefaultCase& c : cases) {
        const auto doc = Parse(c.text);
        ASSERT_NE(doc, nullptr) << c.name;
        EXPECT_EQ(FindFeature(doc.get(), "MediaType")->defaultOption, c.position) << c.name;
    }
}

// Installable features follow the regular ones, each group in file order.
TEST(UiFeatures, InstallableGroupOrdering) {
    const auto doc = Parse("*OpenGroup: InstallableOptions/Options Installed\n"
                           "*OpenUI *OptionalBin/Optional Bin: Boolean\n"
                           "*OptionalBin True/Nain<9A>talovan<E9>: \"\"\n"
                           "*OptionalBin False/Nein<9A>talovan<E9>: \"\"\n"
                           "*CloseUI: *OptionalBin\n"
                           "*CloseGroup: InstallableOptions\n"
                           "*OpenUI *MediaType: PickOne\n*MediaType A: \"\"\n*CloseUI: *MediaType\n"
                           "*OpenGroup: InstallableOptions\n"
                           "*OpenUI *OptionalDisk: Boolean\n*CloseUI: *OptionalDisk\n"
                           "*CloseGroup: InstallableOptions\n"
                           "*PageSize A4: \"\"\n"
                           "*VMOption 8MB: \"8388608\"\n");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(FeatureNames(*doc), (std::vector<std::string>{"MediaType", "PageSize", "OptionalBin",
                                                            "OptionalDisk", "VMOption"}));
    EXPECT_EQ(doc->regularFeatureCount, 2);
    EXPECT_EQ(doc->installableFeatureCount, 3);
    const std::uint16_t groups[] = {0, 1, 0, 1, 2};
    int i = 0;
    for (const PpdFeature* f = FirstFeature(doc.get()); f; f = f->next.get(), ++i) {
        EXPECT_EQ(f->groupIndex, groups[i]) << i;
        EXPECT_EQ(f->index, static_cast<std::uint32_t>(i));
    }
    const PpdFeature* bin = FirstInstallableFeature(doc.get());
    ASSERT_NE(bin, nullptr);
    EXPECT_EQ(Str(bin->name.get()), "OptionalBin");
    EXPECT_EQ(bin->uiType, kUiBoolean);
    EXPECT_EQ(Str(bin->options->translation.get()), "Nain\x9Atalovan\xE9");
}

// Group nesting errors are skipped; other groups are ignored.
TEST(UiFeatures, GroupRules) {
    const auto doc = Parse("*OpenGroup: General\n"
                           "*OpenGroup: InstallableOptions\n"
                           "*OpenGroup: InstallableOptions\n" // already open: skipped
                           "*CloseGroup: General\n"
                           "*OpenUI *A: PickOne\n*CloseUI: *A\n"
                           "*CloseGroup: InstallableOptions\n"
                           "*CloseGroup: InstallableOptions\n" // not open: skipped
                           "*OpenUI *B: PickOne\n*CloseUI: *B\n");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(FindFeature(doc.get(), "A")->installable, 1);
    EXPECT_EQ(FindFeature(doc.get(), "B")->installable, 0);
}

// OpenUI and CloseUI: which keywords create what, and when options reach a feature.
TEST(UiFeatures, OpenAndClose) {
    const struct {
        const char* name;
        const char* text;
        std::vector<std::string> features;
        std::vector<std::string> optionsOfA;
    } cases[] = {
        {"a second OpenUI closes the first; its later options are ignored",
         "*OpenUI *A: PickOne\n*A x: \"\"\n*OpenUI *B: PickOne\n*A y: \"\"\n*B z: \"\"\n",
         {"A", "B"},
         {"x"}},
        {"CloseUI with trailing blanks closes",
         "*OpenUI *A: PickOne\n*CloseUI: *A  \n*A y: \"\"\n",
         {"A"},
         {}},
        {"CloseUI of another name leaves it open",
         "*OpenUI *A: PickOne\n*CloseUI: *B\n*A y: \"\"\n",
         {"A"},
         {"y"}},
        {"OpenUI of a slot-7 keyword creates nothing", "*OpenUI *ColorDevice: Boolean\n", {}, {}},
        {"OpenUI of Duplex waits for its option rows", "*OpenUI *Duplex: PickOne\n", {}, {}},
        {"option entries without a feature open are ignored", "*A x: \"\"\n", {}, {}},
        {"a query keyword is not an option",
         "*OpenUI *A: PickOne\n*?A: \"\"\n*A x: \"\"\n",
         {"A"},
         {"x"}},
        {"an open feature takes any value form",
         "*OpenUI *A: PickOne\n*A x: ^sym\n*A y: plain\n",
         {"A"},
         {"x", "y"}},
        {"a malformed feature translation leaves it closed",
         "*OpenUI *A/<zz>: PickOne\n*A x: \"\"\n",
         {"A"},
         {}},
        {"an empty feature keyword is skipped", "*OpenUI *: PickOne\n", {}, {}},
    };
    for (const auto& c : cases) {
        const auto doc = Parse(c.text);
        ASSERT_NE(doc, nullptr) << c.name;
        EXPECT_EQ(FeatureNames(*doc), c.features) << c.name;
        EXPECT_EQ(OptionNames(FindFeature(doc.get(), "A")), c.optionsOfA) << c.name;
    }
}

// PageRegion's OpenUI works on the PageSize feature: first translation, last UI type.
TEST(UiFeatures, SlotFeatureOpenedTwice) {
    const auto doc = Parse("*OpenUI *PageSize/Page Size: PickOne\n"
                           "*PageSize A4: \"a4\"\n"
                           "*CloseUI: *PageSize\n"
                           "*OpenUI *PageRegion/Page Region: PickMany\n"
                           "*PageRegion A4: \"r\"\n"
                           "*CloseUI: *PageRegion\n");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(FeatureNames(*doc), std::vector<std::string>{"PageSize"});
    const PpdFeature* f = doc->slots[kPageSizeSlot].get();
    EXPECT_EQ(Str(f->translation.get()), "Page Size");
    EXPECT_EQ(f->uiType, kUiPickMany);
    EXPECT_EQ(f->optionCount, 1u);
}

// JCL features keep their invocations in the hexadecimal form decoded.
TEST(UiFeatures, JclFeature) {
    const auto doc = Parse("*JCLOpenUI *JCLEconomode/Toner Save: PickOne\n"
                           "*JCLEconomode On: \"@PJL SET ECONOMODE=ON<0A>\"\n"
                           "*JCLCloseUI: *JCLEconomode\n"
                           "*OpenUI *Plain: PickOne\n*Plain On: \"<0A>\"\n*CloseUI: *Plain\n");
    ASSERT_NE(doc, nullptr);
    const PpdFeature* jcl = FindFeature(doc.get(), "JCLEconomode");
    ASSERT_NE(jcl, nullptr);
    EXPECT_EQ(jcl->flags & kFeatureJcl, kFeatureJcl);
    EXPECT_EQ(Str(jcl->options->invocation.get()), "@PJL SET ECONOMODE=ON\n");
    EXPECT_EQ(Str(FindFeature(doc.get(), "Plain")->options->invocation.get()), "<0A>");
}

// A malformed translation on the entry that creates an option stops the parse; on an option
// that exists it only skips the entry.
TEST(UiFeatures, MalformedOptionTranslations) {
    EXPECT_EQ(Parse("*PageSize A4/A<4: \"\"\n"), nullptr);
    ParseFailure failure;
    ParseOptions options;
    options.failure = &failure;
    EXPECT_EQ(Parse("*OpenUI *A: PickOne\n*A x/x <1>: \"\"\n", options), nullptr);
    EXPECT_EQ(failure.code, kOutOfMemory);
    EXPECT_EQ(failure.line, 2u);
    const auto doc = Parse("*PageSize A4: \"a4\"\n*PageRegion A4/A<4: \"r\"\n"
                           "*ImageableArea A4/Good: \"1 1 2 2\"\n");
    ASSERT_NE(doc, nullptr);
    const PpdOption* a4 = doc->slots[kPageSizeSlot]->options.get();
    EXPECT_EQ(Str(a4->translation.get()), "Good");
    EXPECT_EQ(Str(a4->AsPage()->regionInvocation.get()), "<absent>");
}

const PpdTableHeader* Table(const Ref<PpdTableHeader>& ref) {
    return ref.get();
}

template <class Entry>
const Entry& At(const PpdTableHeader* table, std::uint32_t k) {
    return *reinterpret_cast<const Entry*>(reinterpret_cast<const unsigned char*>(table + 1) +
                                           k * table->entrySize);
}

// Order dependencies: sections, and names resolved to positions.
TEST(Tables, OrderDependencies) {
    const auto doc =
        Parse(std::string(kMediaType) + "*OrderDependency: 10 Foo *PageSize\n"
                                        "*OrderDependency: 20.5 PageSetup *MediaType Glossy\n"
                                        "*OrderDependency: 30 Prolog *MediaType Missing\n"
                                        "*OrderDependency: 40 ExitServer *Missing\n"
                                        "*OrderDependency: x AnySetup *MediaType\n" // bad order
                                        "*OrderDependency: 50 AnySetup\n"           // no feature
                                        "*OrderDependency: 60 JCLSetup MediaType\n"
                                        "*PageSize A4: \"\"\n");
    ASSERT_NE(doc, nullptr);
    const PpdTableHeader* t = Table(doc->orderDependencies);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->count, 6u);
    EXPECT_EQ(t->entrySize, 12);
    const struct {
        std::uint16_t feature, option;
        Fixed order;
        std::uint16_t section;
    } expected[] = {
        {0, kNoOption, Pt(10), 32},
        {1, kNoOption, Pt(10), 32},
        {0, 2, Pt(20.5), 8},
        {kNotFound, kNotFound, Pt(30), 2},
        {kNotFound, kNoOption, Pt(40), 1},
        {0, kNoOption, Pt(60), 16},
    };
    for (std::uint32_t k = 0; k < t->count; ++k) {
        const auto& e = At<PpdOrderDependency>(t, k);
        EXPECT_EQ(e.feature, expected[k].feature) << k;
        EXPECT_EQ(e.option, expected[k].option) << k;
        EXPECT_EQ(e.order, expected[k].order) << k;
        EXPECT_EQ(e.section, expected[k].section) << k;
    }
}

// Constraints: positions as packed; a name not found makes feature-1 0xFFFF but keeps the rest.
TEST(Tables, Constraints) {
    const auto doc = Parse(std::string(kMediaType) +
                           "*PageSize A4: \"\"\n*PageSize A5: \"\"\n"
                           "*UIConstraints: *MediaType Glossy *PageSize A5\n"
                           "*UIConstraints: *MediaType *PageSize\n"
                           "*UIConstraints: *Missing *PageSize A4\n"
                           "*UIConstraints: *MediaType Thick *PageSize Missing\n"
                           "*UIConstraints: *MediaType\n" // no second feature
                           "*UIConstraints: " +
                           std::string(45, 'L') + " *PageSize\n");
    ASSERT_NE(doc, nullptr);
    const PpdTableHeader* t = Table(doc->constraints);
    ASSERT_EQ(t->count, 5u);
    const struct {
        std::uint16_t f1, o1, f2, o2, flags;
    } expected[] = {
        {0, 2, 1, 1, kNamesOption1 | kNamesOption2},
        {0, kNoOption, 1, kNoOption, 0},
        {kNotFound, kNoOption, 1, 0, kNamesOption2},
        {kNotFound, 0, 1, kNotFound, kNamesOption1 | kNamesOption2},
        {kNotFound, kNoOption, 1, kNoOption, 0},
    };
    for (std::uint32_t k = 0; k < t->count; ++k) {
        const auto& e = At<PpdConstraint>(t, k);
        EXPECT_EQ(e.feature1, expected[k].f1) << k;
        EXPECT_EQ(e.option1, expected[k].o1) << k;
        EXPECT_EQ(e.feature2, expected[k].f2) << k;
        EXPECT_EQ(e.option2, expected[k].o2) << k;
        EXPECT_EQ(e.flags, expected[k].flags) << k;
    }
}

// Names that share their first and last eight bytes stay apart, as features, as options and
// in constraints.
TEST(Tables, NamesAlikeAtBothEnds) {
    const std::string a = "AAAAAAAAxAAAAAAAA", b = "AAAAAAAAyAAAAAAAA"; // 17 bytes
    const std::string o1 = "Option12xOption12", o2 = "Option12yOption12";
    std::string text;
    for (const std::string& f : {a, b}) {
        text.append("*OpenUI *").append(f).append(": PickOne\n");
        for (const std::string& o : {o1, o2})
            text.append("*")
                .append(f)
                .append(" ")
                .append(o)
                .append("/")
                .append(1, f[8])
                .append(1, o[8])
                .append(": \"\"\n");
        text.append("*CloseUI: *").append(f).append("\n");
    }
    text.append("*UIConstraints: *")
        .append(b)
        .append(" ")
        .append(o2)
        .append(" *")
        .append(a)
        .append(" ")
        .append(o1)
        .append("\n");
    const auto doc = Parse(text);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(FeatureNames(*doc), (std::vector<std::string>{a, b}));
    EXPECT_EQ(OptionNames(FindFeature(doc.get(), b)), (std::vector<std::string>{o1, o2}));
    const auto& e = At<PpdConstraint>(Table(doc->constraints), 0);
    EXPECT_EQ(e.feature1, 1);
    EXPECT_EQ(e.option1, 1);
    EXPECT_EQ(e.feature2, 0);
    EXPECT_EQ(e.option2, 0);
}

// The packed block: every reference inside, strings terminated, lists as counted.
TEST(Packing, BlockIsSelfContained) {
    const char* texts[] = {"", kMediaType,
                           "*PageSize A4/A4: \"a4\"\n*Font Courier: Standard \"(1)\" Standard ROM\n"
                           "*UIConstraints: *PageSize A4 *PageSize A4\n*NickName: \"n\"\n"};
    for (const char* text : texts) {
        const auto doc = Parse(text);
        ASSERT_NE(doc, nullptr);
        EXPECT_TRUE(CheckPackedDocument(doc.get())) << text;
        EXPECT_EQ(doc->blockSize % 4, 0u);
        EXPECT_EQ(Str(doc->path.get()), "test.ppd");
        EXPECT_EQ(doc->packed, 1);
        for (const PpdFeature* f = FirstFeature(doc.get()); f; f = f->next.get()) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(f) % 4, 0u);
            EXPECT_EQ(f->nameHash, NameHash(f->name.get()));
            if (f->slot < kSlotCount) {
                EXPECT_EQ(doc->slots[f->slot].get(), f);
            }
        }
    }
}

// Out of memory anywhere gives no document and no leak.
TEST(Packing, OutOfMemoryGivesNoDocument) {
    std::string text = kMediaType;
    for (int i = 0; i < 200; ++i)
        text += "*UIConstraints: *MediaType Thick *MediaType Plain\n";
    for (std::size_t limit : {1u, 100u, 9000u, 20000u}) {
        ParseFailure failure;
        ParseOptions options;
        options.memoryLimit = limit;
        options.failure = &failure;
        EXPECT_EQ(Parse(text, options), nullptr) << limit;
        EXPECT_EQ(failure.code, kOutOfMemory) << limit;
    }
    ParseOptions roomy;
    roomy.memoryLimit = 1 << 20;
    EXPECT_NE(Parse(text, roomy), nullptr);
}

} // namespace
} // namespace ppd
