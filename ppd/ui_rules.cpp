// Rules for the UI-structure keywords: features opened by "*OpenUI", their options and
// defaults, the installable-options group, order dependencies and constraints.
#include <cstring>

#include "ppd/keywords.h"

namespace ppd {

namespace {

constexpr WordCode kUiTypes[] = {{"PickOne", 1}, {"PickMany", 2}, {"Boolean", 0}, {{}, 1}};
constexpr WordCode kSections[] = {{"ExitServer", 1}, {"Prolog", 2},    {"DocumentSetup", 4},
                                  {"PageSetup", 8},  {"JCLSetup", 16}, {"AnySetup", 32},
                                  {{}, 32}};

std::string_view WithoutStar(std::string_view name) {
    if (!name.empty() && name.front() == '*')
        name.remove_prefix(1);
    return name;
}

WorkText ViewText(std::string_view text) {
    return {text.data(), static_cast<std::uint32_t>(text.size())};
}

std::string_view FirstWord(std::string_view text) {
    std::size_t n = 0;
    while (n < text.size() && !HasClass(static_cast<unsigned char>(text[n]), kBlank))
        ++n;
    return text.substr(0, n);
}

} // namespace

Result HandleOpenUi(ParseContext& ctx, const PpdEntry& entry) {
    WorkDocument& doc = ctx.doc;
    doc.openFeature = nullptr;
    const std::string_view name = WithoutStar(entry.option);
    if (name.empty())
        return ctx.Fail("no feature keyword");
    std::uint16_t slot = kGenericSlot;
    const int row = FindKeyword(name);
    if (row >= 0) {
        slot = kKeywordRows[row].slot;
        if (slot == kGenericSlot)
            return kOk; // features of such keywords are made by their option rows
    }
    int uiType = kUiPickOne;
    LookupWord(kUiTypes, entry.value, &uiType);
    WorkFeature* feature = nullptr;
    Result r = GetFeature(ctx, slot, name, &feature);
    if (r != kOk)
        return r;
    feature->uiType = static_cast<std::uint16_t>(uiType);
    if (!entry.translation.empty()) {
        r = StoreString(ctx, feature->translation, entry.translation, true);
        if (r != kOk)
            return r; // the feature stays closed: its options are ignored
    }
    if (feature->slot == kGenericSlot) {
        if (entry.keyword.substr(0, 3) == "JCL")
            feature->flags |= kFeatureJcl;
        doc.openFeature = feature;
    }
    return kOk;
}

Result HandleCloseUi(ParseContext& ctx, const PpdEntry& entry) {
    const std::string_view name = WithoutStar(TrimTrailingBlanks(entry.value));
    if (name.empty())
        return ctx.Fail("no feature keyword");
    const std::string_view word = FirstWord(name);
    WorkFeature* open = ctx.doc.openFeature;
    if (open != nullptr && open->name.view() == word) {
        ctx.doc.openFeature = nullptr;
        return kOk;
    }
    return FindKeyword(word) >= 0 ? kOk : ctx.Fail("closes no open feature");
}

Result HandleOpenGroup(ParseContext& ctx, const PpdEntry& entry) {
    if (!StartsWithWord(entry.value, "InstallableOptions"))
        return kOk;
    if (ctx.doc.installableGroupOpen != 0)
        return ctx.Fail("group already open");
    ctx.doc.installableGroupOpen = 1;
    return kOk;
}

Result HandleCloseGroup(ParseContext& ctx, const PpdEntry& entry) {
    if (!StartsWithWord(entry.value, "InstallableOptions"))
        return kOk;
    if (ctx.doc.installableGroupOpen == 0)
        return ctx.Fail("group not open");
    ctx.doc.installableGroupOpen = 0;
    return kOk;
}

Result HandleOrderDependency(ParseContext& ctx, const PpdEntry& entry) {
    std::string_view words[4];
    const std::size_t count = SplitWords(entry.value, words, 4, ctx.end);
    Fixed order = 0;
    if (count < 1 || ParseFixed(words[0], &order) != kOk)
        return ctx.Fail("missing or bad order");
    if (count < 2)
        return ctx.Fail("missing section");
    int section = 32;
    LookupWord(kSections, words[1], &section);
    const std::string_view feature = count >= 3 ? WithoutStar(words[2]) : std::string_view{};
    if (feature.empty())
        return ctx.Fail("missing feature keyword");
    WorkOrderDependency* dependency = ctx.arena.New<WorkOrderDependency>();
    if (dependency == nullptr)
        return kOutOfMemory;
    dependency->feature = ViewText(feature);
    if (count >= 4)
        dependency->option = ViewText(words[3]);
    dependency->order = order;
    dependency->section = static_cast<std::uint16_t>(section);
    if (ctx.diagnostics != nullptr)
        dependency->line = ctx.EntryLine();
    ctx.doc.orderDependencies.Append(dependency);
    return kOk;
}

Result HandleUiConstraints(ParseContext& ctx, const PpdEntry& entry) {
    std::string_view words[ConstraintLine::kMaxWords];
    const std::size_t count = SplitWords(entry.value, words, ConstraintLine::kMaxWords, ctx.end);
    return HandleConstraintWords(ctx, words, count);
}

Result HandleConstraintWords(ParseContext& ctx, const std::string_view* words, std::size_t count) {
    if (count == 0)
        return ctx.Fail("missing first feature");
    std::size_t next = 1;
    std::string_view option1;
    if (count > next && words[next].front() != '*')
        option1 = words[next++];
    const std::string_view second = count > next ? WithoutStar(words[next++]) : std::string_view{};
    if (second.empty())
        return ctx.Fail("missing second feature");
    const std::string_view option2 = count > next ? words[next] : std::string_view{};
    WorkConstraint constraint{};
    const std::string_view first[2] = {WithoutStar(words[0]), option1};
    const std::string_view other[2] = {second, option2};
    std::uint32_t numbers[2];
    if (!ctx.choices.Intern(ctx.arena, ctx.begin, first, other, numbers))
        return kOutOfMemory;
    constraint.first = numbers[0];
    constraint.second = numbers[1];
    if (ctx.diagnostics != nullptr)
        constraint.line = ctx.EntryLine();
    if (!AppendConstraint(ctx.arena, ctx.doc.constraints, constraint))
        return kOutOfMemory;
    ++ctx.choices.items()[constraint.second].asSecond;
    return kOk;
}

Result HandleFeatureOption(ParseContext& ctx, WorkFeature* feature, const PpdEntry& entry) {
    WorkOption* option = nullptr;
    const Result r = GetOption(ctx, feature, entry, &option);
    if (r != kOk)
        return r;
    return StoreString(ctx, option->invocation, entry.value, (feature->flags & kFeatureJcl) != 0);
}

Result HandleFeatureDefault(ParseContext& ctx, WorkFeature* feature, const PpdEntry& entry) {
    return StoreString(ctx, feature->defaultOption, entry.value, false);
}

} // namespace ppd
