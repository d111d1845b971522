#include <cstring>

#include "ppd/ppd.h"
#include "ppd/values.h"

namespace ppd {

namespace {

bool SameText(const char* stored, std::uint32_t storedHash, std::string_view text,
              std::uint32_t hash) {
    return stored != nullptr && storedHash == hash && std::strlen(stored) == text.size() &&
           std::memcmp(stored, text.data(), text.size()) == 0;
}

const PpdFeature* FindFeatureWithIndex(const PpdDocument* doc, std::string_view keyword) {
    if (doc == nullptr)
        return nullptr;
    const std::uint32_t hash = NameHash(keyword);
    for (const PpdFeature* f = doc->features.get(); f != nullptr; f = f->next.get()) {
        if (SameText(f->name.get(), f->nameHash, keyword, hash))
            return f;
    }
    return nullptr;
}

const PpdConstraint* ConstraintEntry(const PpdTableHeader* table, std::uint32_t k) {
    const auto* base = reinterpret_cast<const unsigned char*>(table + 1);
    return reinterpret_cast<const PpdConstraint*>(base + std::size_t{k} * table->entrySize);
}

ConstraintIteration& ProcessIteration() {
    static ConstraintIteration iteration;
    return iteration;
}

} // namespace

const PpdFeature* FirstFeature(const PpdDocument* doc) {
    return doc != nullptr ? doc->features.get() : nullptr;
}

const PpdFeature* FeatureAt(const PpdDocument* doc, std::uint32_t index) {
    if (doc == nullptr || index >= doc->featureCount || !doc->featureTable)
        return nullptr;
    const std::uint32_t offset = doc->featureTable.get()[index];
    if (offset == 0 || offset > doc->blockSize - sizeof(PpdFeature))
        return nullptr;
    return reinterpret_cast<const PpdFeature*>(reinterpret_cast<const unsigned char*>(doc) +
                                               offset);
}

const PpdFeature* FindFeature(const PpdDocument* doc, std::string_view keyword) {
    return FindFeatureWithIndex(doc, keyword);
}

bool GetOptions(const PpdDocument* doc, std::string_view keyword, const PpdOption** first) {
    const PpdFeature* feature = FindFeature(doc, keyword);
    if (feature == nullptr)
        return false;
    *first = feature->options.get();
    return true;
}

const PpdFeature* FirstInstallableFeature(const PpdDocument* doc) {
    for (const PpdFeature* f = FirstFeature(doc); f != nullptr; f = f->next.get()) {
        if (f->installable != 0)
            return f;
    }
    return nullptr;
}

const PpdOption* OptionAtIndex(const PpdFeature* feature, std::uint32_t index) {
    if (feature == nullptr)
        return nullptr;
    const PpdOption* o = feature->options.get();
    for (; o != nullptr && index > 0; --index)
        o = o->next.get();
    return o;
}

const PpdOption* DefaultOption(const PpdFeature* feature) {
    return OptionAtIndex(feature, feature != nullptr ? feature->defaultOption : 0);
}

const PpdOption* GivenDefaultOption(const PpdFeature* feature) {
    return feature != nullptr && feature->defaultGiven != 0 ? DefaultOption(feature) : nullptr;
}

namespace {

// FindOptionIndices, also giving the option found.
bool FindChoice(const PpdDocument* doc, std::string_view keyword, std::string_view optionText,
                int* featureIndex, int* optionIndex, const PpdOption** option) {
    *featureIndex = -1;
    *optionIndex = -1;
    const PpdFeature* feature = FindFeatureWithIndex(doc, keyword);
    if (feature == nullptr)
        return false;
    *featureIndex = static_cast<int>(feature->index);
    const std::uint32_t hash = NameHash(optionText);
    for (const PpdOption* o = feature->options.get(); o != nullptr; o = o->next.get()) {
        if (SameText(o->translation.get(), o->translationHash, optionText, hash)) {
            *optionIndex = static_cast<int>(o->index);
            *option = o;
            return true;
        }
    }
    return false;
}

} // namespace

bool FindOptionIndices(const PpdDocument* doc, std::string_view keyword,
                       std::string_view optionText, int* featureIndex, int* optionIndex) {
    const PpdOption* option = nullptr;
    return FindChoice(doc, keyword, optionText, featureIndex, optionIndex, &option);
}

bool OptionAt(const PpdDocument* doc, int featureIndex, int optionIndex,
              const char** featureKeyword, const char** optionText) {
    if (doc == nullptr || doc->featureCount == 0 || featureIndex == -1)
        return false;
    const PpdFeature* feature = nullptr;
    if (featureIndex >= 0)
        feature = FeatureAt(doc, static_cast<std::uint32_t>(featureIndex));
    if (feature != nullptr)
        *featureKeyword = feature->name.get(); // names are unique: no need to look it up again
    else if (*featureKeyword != nullptr)
        feature = FindFeature(doc, *featureKeyword);
    if (feature == nullptr || optionIndex == -1)
        return false;
    if (optionIndex >= 0) {
        if (const PpdOption* o = OptionAtIndex(feature, static_cast<std::uint32_t>(optionIndex)))
            *optionText = o->translation.get();
    }
    return true;
}

bool ConstraintTable(const PpdDocument* doc, ConstraintCursor* cursor) {
    if (doc == nullptr || !doc->constraints || doc->constraints->count == 0)
        return false;
    cursor->entries = ConstraintEntry(doc->constraints.get(), 0);
    cursor->count = doc->constraints->count;
    return true;
}

bool NextConstraint(const PpdDocument* doc, std::string_view keyword, std::string_view optionText,
                    const char** featureKeyword, const char** ruledOutText, int& counter,
                    ConstraintIteration& iteration) {
    ConstraintCursor table;
    if (counter == 0) {
        iteration.valid = false;
        iteration.position = 0;
        if (!ConstraintTable(doc, &table))
            return false;
    } else if (!iteration.valid || !ConstraintTable(doc, &table)) {
        return false;
    }
    ++counter;
    iteration.valid = true;
    // Every entry is examined, the last one included.
    if (iteration.position >= table.count)
        return false;
    int featureIndex = -1, optionIndex = -1;
    const PpdOption* choice = nullptr;
    if (!FindChoice(doc, keyword, optionText, &featureIndex, &optionIndex, &choice))
        return false;
    // The entries whose second choice is this option, in table order: the first one at or
    // after the position is the match, as a scan of the table would find it.
    const std::uint32_t* index = doc->constrainedIndex.get();
    const std::uint32_t* first = index != nullptr ? index + choice->constrainedFirst : nullptr;
    const std::uint32_t* last = first != nullptr ? first + choice->constrainedCount : nullptr;
    while (first != last) {
        const std::uint32_t* middle = first + (last - first) / 2;
        if (*middle < iteration.position)
            first = middle + 1;
        else
            last = middle;
    }
    if (first == nullptr || first == index + choice->constrainedFirst + choice->constrainedCount) {
        iteration.position = table.count;
        return false;
    }
    const std::uint32_t k = *first;
    iteration.position = k + 1;
    const PpdConstraint* match = ConstraintEntry(doc->constraints.get(), k);
    if (match->feature1 == kNotFound || match->option1 == kNotFound)
        return false;
    const int ruledOutOption =
        (match->flags & kNamesOption1) != 0 ? static_cast<int>(match->option1) : -2;
    return OptionAt(doc, match->feature1, ruledOutOption, featureKeyword, ruledOutText);
}

bool NextConstraint(const PpdDocument* doc, std::string_view keyword, std::string_view optionText,
                    const char** featureKeyword, const char** ruledOutText, int& counter) {
    return NextConstraint(doc, keyword, optionText, featureKeyword, ruledOutText, counter,
                          ProcessIteration());
}

} // namespace ppd
