#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ppd_test_util.h"

namespace ppd {
namespace {

using test::Parse;
using test::Str;

using Pairs = std::vector<std::pair<std::string, std::string>>;

// Everything the choice rules out, with a fresh iteration.
Pairs RuledOut(const PpdDocument* doc, std::string_view feature, std::string_view text) {
    Pairs pairs;
    ConstraintIteration iteration;
    int counter = 0;
    for (int guard = 0; guard < 1000; ++guard) {
        const char* f = nullptr;
        const char* o = nullptr;
        if (!NextConstraint(doc, feature, text, &f, &o, counter, iteration))
            break;
        pairs.emplace_back(Str(f), Str(o));
    }
    return pairs;
}

const char kBins[] = "*OpenGroup: InstallableOptions\n"
                     "*OpenUI *OptionalBin/Output Bin: Boolean\n"
                     "*DefaultOptionalBin: False\n"
                     "*OptionalBin True/Nain<9A>talovan<E9>: \"\"\n"
                     "*OptionalBin False/Nein<9A>talovan<E9>: \"\"\n"
                     "*CloseUI: *OptionalBin\n"
                     "*CloseGroup: InstallableOptions\n"
                     "*OpenUI *OutputBin/Output: PickOne\n"
                     "*OutputBin Upper/Upper Tray: \"\"\n"
                     "*OutputBin Tray2/Tray 2: \"\"\n"
                     "*OutputBin NoText: \"\"\n"
                     "*CloseUI: *OutputBin\n";

TEST(Queries, FeaturesAndOptions) {
    const auto doc = Parse(kBins);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(Str(FirstFeature(doc.get())->name.get()), "OutputBin");
    EXPECT_EQ(FindFeature(doc.get(), "outputbin"), nullptr);
    EXPECT_EQ(FindFeature(doc.get(), "Output"), nullptr);
    const PpdOption* first = nullptr;
    EXPECT_TRUE(GetOptions(doc.get(), "OutputBin", &first));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Str(first->name.get()), "Upper");
    first = reinterpret_cast<const PpdOption*>(1);
    EXPECT_FALSE(GetOptions(doc.get(), "MediaType", &first));
    const PpdFeature* bin = FirstInstallableFeature(doc.get());
    ASSERT_NE(bin, nullptr);
    EXPECT_EQ(Str(bin->name.get()), "OptionalBin");
    EXPECT_EQ(Str(DefaultOption(bin)->name.get()), "False");
    EXPECT_EQ(FeatureAt(doc.get(), 1), bin);
    EXPECT_EQ(FeatureAt(doc.get(), 2), nullptr);
    EXPECT_EQ(Str(OptionAtIndex(bin, 1)->name.get()), "False");
    EXPECT_EQ(OptionAtIndex(bin, 2), nullptr);
}

TEST(Queries, AbsentDocumentAndFeatures) {
    EXPECT_EQ(FirstFeature(nullptr), nullptr);
    EXPECT_EQ(FindFeature(nullptr, "PageSize"), nullptr);
    const PpdOption* first = nullptr;
    EXPECT_FALSE(GetOptions(nullptr, "PageSize", &first));
    EXPECT_EQ(FirstInstallableFeature(nullptr), nullptr);
    EXPECT_EQ(DefaultOption(nullptr), nullptr);
    int f = 5, o = 5;
    EXPECT_FALSE(FindOptionIndices(nullptr, "PageSize", "A4", &f, &o));
    EXPECT_EQ(f, -1);
    EXPECT_EQ(o, -1);
    ConstraintCursor cursor;
    EXPECT_FALSE(ConstraintTable(nullptr, &cursor));
    const auto empty = Parse("*PageSize A4: \"\"\n");
    EXPECT_EQ(FirstInstallableFeature(empty.get()), nullptr);
    EXPECT_FALSE(ConstraintTable(empty.get(), &cursor));
    EXPECT_EQ(DefaultOption(FindFeature(Parse("*OpenUI *A: PickOne\n").get(), "A")), nullptr);
}

// Option indices are found by display text; options without one never match.
TEST(Queries, FindOptionIndices) {
    const auto doc = Parse(kBins);
    const struct {
        const char* feature;
        const char* text;
        bool found;
        int f, o;
    } cases[] = {
        {"OutputBin", "Tray 2", true, 0, 1},
        {"OutputBin", "Tray2", false, 0, -1},
        {"OutputBin", "NoText", false, 0, -1},
        {"OutputBin", "", false, 0, -1},
        {"OptionalBin", "Nein\x9Atalovan\xE9", true, 1, 1},
        {"Missing", "Tray 2", false, -1, -1},
    };
    for (const auto& c : cases) {
        int f = 7, o = 7;
        EXPECT_EQ(FindOptionIndices(doc.get(), c.feature, c.text, &f, &o), c.found) << c.text;
        EXPECT_EQ(f, c.f) << c.text;
        EXPECT_EQ(o, c.o) << c.text;
    }
}

TEST(Queries, OptionAt) {
    const auto doc = Parse(kBins);
    const struct {
        int f, o;
        bool result;
        const char* feature;
        const char* text;
    } cases[] = {
        {0, 1, true, "OutputBin", "Tray 2"},
        {0, 2, true, "OutputBin", "<absent>"}, // option without display text
        {0, 9, true, "OutputBin", "before"},   // past the end: unchanged
        {9, 0, false, "before", "before"},     // kept keyword names no feature
        {-1, 0, false, "before", "before"},
        {0, -1, false, "OutputBin", "before"},
    };
    for (const auto& c : cases) {
        const char* feature = "before";
        const char* text = "before";
        EXPECT_EQ(OptionAt(doc.get(), c.f, c.o, &feature, &text), c.result) << c.f << c.o;
        EXPECT_EQ(Str(feature), c.feature) << c.f << " " << c.o;
        EXPECT_EQ(Str(text), c.text) << c.f << " " << c.o;
    }
    // A kept keyword that names a feature is looked up again.
    const char* feature = "OptionalBin";
    const char* text = nullptr;
    EXPECT_TRUE(OptionAt(doc.get(), 9, 0, &feature, &text));
    EXPECT_EQ(Str(text), "Nain\x9Atalovan\xE9");
    const char* missing = "Nothing";
    EXPECT_FALSE(OptionAt(doc.get(), 9, 0, &missing, &text));
    EXPECT_FALSE(OptionAt(Parse("").get(), 0, 0, &missing, &text));
}

struct ConstraintCase {
    const char* name;
    std::string constraints;
    const char* feature;
    const char* text;
    Pairs expected;
};

// The choice named second rules out the option named first; every entry counts, the last too.
TEST(NextConstraint, Iteration) {
    const std::string bin = "Nein\x9Atalovan\xE9";
    const ConstraintCase cases[] = {
        {"a single constraint is examined",
         "*UIConstraints: *OptionalBin False *OutputBin Tray2\n",
         "OutputBin",
         "Tray 2",
         {{"OptionalBin", bin}}},
        {"one direction only",
         "*UIConstraints: *OptionalBin False *OutputBin Tray2\n",
         "OptionalBin",
         bin.c_str(),
         {}},
        {"several matches in table order",
         "*UIConstraints: *OptionalBin False *OutputBin Tray2\n"
         "*UIConstraints: *OutputBin Upper *OptionalBin True\n"
         "*UIConstraints: *OutputBin Upper *OutputBin Tray2\n",
         "OutputBin",
         "Tray 2",
         {{"OptionalBin", bin}, {"OutputBin", "Upper Tray"}}},
        {"no first option yields the keyword alone",
         "*UIConstraints: *OptionalBin *OutputBin Tray2\n",
         "OutputBin",
         "Tray 2",
         {{"OptionalBin", "<absent>"}}},
        {"no second option never matches",
         "*UIConstraints: *OptionalBin False *OutputBin\n",
         "OutputBin",
         "Tray 2",
         {}},
        {"a missing feature ends the iteration when it is the match",
         "*UIConstraints: *Missing X *OutputBin Tray2\n"
         "*UIConstraints: *OptionalBin False *OutputBin Tray2\n",
         "OutputBin",
         "Tray 2",
         {}},
        {"a missing feature elsewhere changes nothing",
         "*UIConstraints: *OptionalBin False *OutputBin Tray2\n"
         "*UIConstraints: *Missing X *OutputBin Upper\n",
         "OutputBin",
         "Tray 2",
         {{"OptionalBin", bin}}},
        {"an unknown choice yields nothing",
         "*UIConstraints: *OptionalBin False *OutputBin Tray2\n",
         "OutputBin",
         "Tray 9",
         {}},
        {"no constraints", "", "OutputBin", "Tray 2", {}},
    };
    for (const ConstraintCase& c : cases) {
        const auto doc = Parse(std::string(kBins) + c.constraints);
        ASSERT_NE(doc, nullptr) << c.name;
        EXPECT_EQ(RuledOut(doc.get(), c.feature, c.text), c.expected) << c.name;
    }
}

// Counter and iteration state: 0 restarts, a non-zero counter without a start yields nothing,
// and each caller's iteration is its own.
TEST(NextConstraint, CounterAndState) {
    const auto doc =
        Parse(std::string(kBins) + "*UIConstraints: *OptionalBin False *OutputBin Tray2\n"
                                   "*UIConstraints: *OptionalBin True *OutputBin Tray2\n"
                                   "*UIConstraints: *OutputBin Upper *OutputBin Tray2\n");
    const char* f = nullptr;
    const char* o = nullptr;
    ConstraintIteration fresh;
    int counter = 3;
    EXPECT_FALSE(NextConstraint(doc.get(), "OutputBin", "Tray 2", &f, &o, counter, fresh));
    EXPECT_EQ(counter, 3);

    ConstraintIteration a, b;
    int ca = 0, cb = 0;
    ASSERT_TRUE(NextConstraint(doc.get(), "OutputBin", "Tray 2", &f, &o, ca, a));
    EXPECT_EQ(ca, 1);
    ASSERT_TRUE(NextConstraint(doc.get(), "OutputBin", "Tray 2", &f, &o, cb, b));
    ASSERT_TRUE(NextConstraint(doc.get(), "OutputBin", "Tray 2", &f, &o, ca, a));
    EXPECT_EQ(Str(o), "Nain\x9Atalovan\xE9");
    ASSERT_TRUE(NextConstraint(doc.get(), "OutputBin", "Tray 2", &f, &o, cb, b));
    EXPECT_EQ(Str(o), "Nain\x9Atalovan\xE9");
    ASSERT_TRUE(NextConstraint(doc.get(), "OutputBin", "Tray 2", &f, &o, ca, a));
    EXPECT_EQ(Str(o), "Upper Tray");
    EXPECT_FALSE(NextConstraint(doc.get(), "OutputBin", "Tray 2", &f, &o, ca, a));
    EXPECT_FALSE(NextConstraint(doc.get(), "OutputBin", "Tray 2", &f, &o, ca, a));
    // Counter 0 restarts.
    ca = 0;
    ASSERT_TRUE(NextConstraint(doc.get(), "OutputBin", "Tray 2", &f, &o, ca, a));
    EXPECT_EQ(Str(o), "Nein\x9Atalovan\xE9");

    // The process-wide iteration behaves the same.
    int counter2 = 0;
    int yielded = 0;
    while (NextConstraint(doc.get(), "OutputBin", "Tray 2", &f, &o, counter2))
        ++yielded;
    EXPECT_EQ(yielded, 3);
    EXPECT_EQ(counter2, 4);
    EXPECT_FALSE(NextConstraint(nullptr, "OutputBin", "Tray 2", &f, &o, counter2 = 0));
}

// An option at position 255 is not mistaken for "no option" (the packed sentinel).
TEST(NextConstraint, OptionAtPosition255) {
    std::string text = "*OpenUI *Big: PickOne\n";
    for (int i = 0; i < 300; ++i)
        text.append("*Big o")
            .append(std::to_string(i))
            .append("/T")
            .append(std::to_string(i))
            .append(": \"\"\n");
    text += "*CloseUI: *Big\n*OpenUI *Other: PickOne\n*Other x/X: \"\"\n*CloseUI: *Other\n"
            "*UIConstraints: *Other x *Big\n" // names no second option
            "*UIConstraints: *Big *Other x\n" // names no first option
            "*UIConstraints: *Big o255 *Other x\n";
    const auto doc = Parse(text);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(RuledOut(doc.get(), "Big", "T255"), Pairs{});
    EXPECT_EQ(RuledOut(doc.get(), "Other", "X"), (Pairs{{"Big", "<absent>"}, {"Big", "T255"}}));
}

// Thousands of constraints: each choice still finds exactly its own, in table order.
TEST(NextConstraint, ManyConstraints) {
    std::string text = "*OpenUI *A: PickOne\n";
    for (int i = 0; i < 50; ++i)
        text.append("*A a")
            .append(std::to_string(i))
            .append("/A")
            .append(std::to_string(i))
            .append(": \"\"\n");
    text += "*CloseUI: *A\n";
    for (int i = 0; i < 50; ++i)
        for (int j = 0; j < 50; j += 7)
            text.append("*UIConstraints: *A a")
                .append(std::to_string(j))
                .append(" *A a")
                .append(std::to_string(i))
                .append("\n");
    const auto doc = Parse(text);
    ASSERT_NE(doc, nullptr);
    for (int i = 0; i < 50; i += 13) {
        Pairs expected;
        for (int j = 0; j < 50; j += 7)
            expected.emplace_back("A", std::string("A").append(std::to_string(j)));
        EXPECT_EQ(RuledOut(doc.get(), "A", std::string("A").append(std::to_string(i))), expected)
            << i;
    }
}

} // namespace
} // namespace ppd
