// Finishing the working document and packing it into one block.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "ppd/model.h"

namespace ppd {

// Places records and strings one after the other, each padded to 4 bytes. Without a block it
// only measures: records come back null and nothing is written, so the same layout code both
// sizes and fills the block.
class BlockWriter {
public:
    BlockWriter(unsigned char* base, std::uint32_t capacity) : base_(base), capacity_(capacity) {}

    std::uint32_t used() const { return used_; }
    bool failed() const { return failed_; }

    std::uint32_t Place(std::size_t bytes) {
        const std::size_t padded = (bytes + 3) & ~std::size_t{3};
        const std::uint32_t at = used_;
        const std::uint32_t limit = base_ != nullptr ? capacity_ : kMaxBlock;
        if (padded > limit || used_ > limit - padded) {
            failed_ = true;
            return at;
        }
        used_ += static_cast<std::uint32_t>(padded);
        return at;
    }

    template <class T>
    T* Record(std::uint32_t* offset) {
        const std::uint32_t at = Place(sizeof(T));
        if (offset != nullptr)
            *offset = at;
        if (base_ == nullptr || failed_)
            return nullptr;
        return new (base_ + at) T();
    }

    // Room for `count` records one after the other; the caller sets every field.
    template <class T>
    T* Records(std::size_t count) {
        static_assert(sizeof(T) % 4 == 0);
        if (count > std::numeric_limits<std::uint32_t>::max() / sizeof(T)) {
            failed_ = true;
            return nullptr;
        }
        const std::uint32_t at = Place(count * sizeof(T));
        if (base_ == nullptr || failed_ || count == 0)
            return nullptr;
        return reinterpret_cast<T*>(base_ + at);
    }

    std::uint32_t* Words(std::size_t count) {
        if (count > std::numeric_limits<std::uint32_t>::max() / 4) {
            failed_ = true;
            return nullptr;
        }
        const std::uint32_t at = Place(count * 4);
        if (base_ == nullptr || failed_)
            return nullptr;
        return reinterpret_cast<std::uint32_t*>(base_ + at);
    }

    // Places a copy of an present string and points `ref` at it.
    void String(Text* ref, const WorkText& text) {
        if (!text.present())
            return;
        const std::uint32_t at = Place(std::size_t{text.size} + 1);
        if (base_ == nullptr || failed_)
            return;
        // The NUL and the padding (the block is not cleared beforehand) lie in the 4-byte word
        // that holds the string's end: that word is cleared first.
        std::memset(base_ + ((at + text.size) & ~std::uint32_t{3}), 0, 4);
        std::memcpy(base_ + at, text.data, text.size);
        Link(ref, at);
    }

    // A target outside the block leaves the reference absent.
    template <class T>
    void Link(Ref<T>* ref, std::uint32_t target) {
        if (ref == nullptr || base_ == nullptr || failed_)
            return;
        const auto at = static_cast<std::uint32_t>(reinterpret_cast<unsigned char*>(ref) - base_);
        if (target == 0 || target >= capacity_ || at >= capacity_) {
            ref->distance_ = 0;
            return;
        }
        ref->distance_ = static_cast<std::int32_t>(target) - static_cast<std::int32_t>(at);
    }

private:
    static constexpr std::uint32_t kMaxBlock = 0x7FFFFFF0;
    unsigned char* base_;
    std::uint32_t capacity_;
    std::uint32_t used_ = 0;
    bool failed_ = false;
};

namespace {

std::uint16_t Saturate16(std::uint32_t value) {
    return value > 0xFFFF ? std::uint16_t{0xFFFF} : static_cast<std::uint16_t>(value);
}

// A position as a table index; positions the 16-bit tables cannot hold count as not found.
std::uint16_t TableIndex(std::uint32_t position) {
    return position >= kNotFound ? std::uint16_t{kNotFound} : static_cast<std::uint16_t>(position);
}

bool SameText(const WorkText& a, std::uint32_t aHash, const WorkText& b, std::uint32_t bHash) {
    return aHash == bHash && a.size == b.size && SameBytes(a.data, b.data, a.size);
}

struct ResolvedDependency {
    std::uint16_t feature, option;
};

struct PackPlan {
    WorkFeature** features; // final order
    std::uint32_t featureCount;
    ResolvedDependency* dependencies;
    const WorkChoice* choices;
    std::uint32_t constrainedTotal;
    std::uint32_t* featureOffsets;
};

void ApplyFinishingRules(WorkDocument& doc) {
    if (WorkFeature* slots = doc.slots[kInputSlotSlot]) {
        const std::uint16_t marks =
            slots->flags & (kFeatureAllRequirePageRegion | kFeatureNoneRequirePageRegion);
        if (marks != 0) {
            const std::int32_t value = (marks & kFeatureAllRequirePageRegion) != 0 ? 1 : 0;
            for (WorkOption* o = slots->options.head; o != nullptr; o = o->next)
                o->requiresPageRegion = value;
        }
    }
    if (doc.freeVm < 102400)
        doc.freeVm = 102400;
    if (doc.maxMediaWidth == 0 && doc.maxMediaHeight == 0)
        doc.customPageSize = 0;
    if (WorkFeature* pages = doc.slots[kPageSizeSlot]) {
        for (WorkOption* o = pages->options.head; o != nullptr; o = o->next) {
            if (o->paperWidth == 0 || o->paperHeight == 0)
                o->paperWidth = o->paperHeight = 0;
            o->imageableRight = std::min(o->imageableRight, o->paperWidth);
            o->imageableTop = std::min(o->imageableTop, o->paperHeight);
            if (o->imageableLeft >= o->imageableRight || o->imageableBottom >= o->imageableTop) {
                o->imageableLeft = 0;
                o->imageableBottom = 0;
                o->imageableRight = o->paperWidth;
                o->imageableTop = o->paperHeight;
            }
        }
    }
}

// Regular features first, then installable ones, each group in file order.
bool OrderFeatures(ParseContext& ctx, PackPlan& plan) {
    WorkDocument& doc = ctx.doc;
    const std::uint32_t count = doc.features.count;
    plan.featureCount = count;
    plan.features = static_cast<WorkFeature**>(ctx.arena.Allocate(sizeof(WorkFeature*) * count));
    plan.featureOffsets =
        static_cast<std::uint32_t*>(ctx.arena.Allocate(sizeof(std::uint32_t) * count));
    if (count != 0 && (plan.features == nullptr || plan.featureOffsets == nullptr))
        return false;
    std::uint32_t n = 0, regular = 0, installable = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (WorkFeature* f = doc.features.head; f != nullptr; f = f->next) {
            if ((f->installable != 0) != (pass == 1))
                continue;
            f->index = n;
            f->groupIndex = Saturate16(pass == 0 ? regular++ : installable++);
            plan.features[n++] = f;
        }
    }
    doc.regularFeatureCount = Saturate16(regular);
    doc.installableFeatureCount = Saturate16(installable);
    return true;
}

// Option positions and hashes; each feature's default keyword becomes a position.
std::uint32_t DefaultPosition(ParseContext& ctx, WorkFeature* f) {
    if (!f->defaultOption.present())
        return 0;
    const std::uint32_t hash = NameHash(f->defaultOption.view());
    for (WorkOption* o = f->options.head; o != nullptr; o = o->next) {
        if (SameText(o->name, o->nameHash, f->defaultOption, hash))
            return o->index;
    }
    ctx.Report(DiagnosticKind::kDefaultNamesNoOption, f->name.view(), f->defaultOption.view(),
               "default names no option", f->line);
    return 0;
}

bool ResolveTables(ParseContext& ctx, PackPlan& plan) {
    WorkDocument& doc = ctx.doc;
    plan.dependencies = static_cast<ResolvedDependency*>(
        ctx.arena.Allocate(sizeof(ResolvedDependency) * doc.orderDependencies.count));
    if (doc.orderDependencies.count != 0 && plan.dependencies == nullptr)
        return false;
    std::uint32_t k = 0;
    for (WorkOrderDependency* d = doc.orderDependencies.head; d != nullptr; d = d->next, ++k) {
        ResolvedDependency& r = plan.dependencies[k];
        WorkFeature* f = FindWorkFeature(ctx, d->feature.view());
        r.feature = f != nullptr ? TableIndex(f->index) : kNotFound;
        r.option = kNoOption;
        if (d->option.present()) {
            WorkOption* o = ctx.names.FindOption(f, d->option.view());
            r.option = o != nullptr ? TableIndex(o->index) : kNotFound;
            if (r.option == kNotFound)
                r.feature = kNotFound;
        }
        if (r.feature == kNotFound)
            ctx.Report(DiagnosticKind::kUnresolvedOrderDependency, d->feature.view(),
                       d->option.present() ? d->option.view() : std::string_view{},
                       "order dependency names a feature or option the document lacks", d->line);
    }

    // Each choice of the constraints once.
    WorkChoice* const choices = ctx.choices.items();
    plan.choices = choices;
    const auto name = [&](std::uint32_t start, std::uint8_t size) {
        return std::string_view(reinterpret_cast<const char*>(ctx.begin) + start, size);
    };
    for (WorkChoice* c = choices; c != choices + ctx.choices.count(); ++c) {
        WorkFeature* f = FindWorkFeature(ctx, name(c->featureStart, c->featureSize));
        c->featureIndex = f != nullptr ? TableIndex(f->index) : kNotFound;
        c->complete = c->featureIndex != kNotFound;
        c->optionIndex = kNoOption;
        c->ruling = nullptr;
        if (c->optionSize == 0)
            continue;
        WorkOption* o = ctx.names.FindOption(f, name(c->optionStart, c->optionSize));
        c->optionIndex = o != nullptr ? TableIndex(o->index) : kNotFound;
        c->complete = c->complete && c->optionIndex != kNotFound;
        if (c->complete) {
            c->ruling = o;
            o->constrainedCount += c->asSecond;
        }
    }
    if (ctx.diagnostics != nullptr) {
        for (const WorkConstraintList::Chunk* chunk = doc.constraints.head; chunk != nullptr;
             chunk = chunk->next) {
            for (const WorkConstraint* c = chunk->items; c != chunk->items + chunk->count; ++c) {
                const WorkChoice& first = choices[c->first];
                const WorkChoice& second = choices[c->second];
                if (!first.complete || !second.complete)
                    ctx.Report(DiagnosticKind::kUnresolvedConstraint,
                               name(first.featureStart, first.featureSize),
                               name(second.featureStart, second.featureSize),
                               "constraint names a feature or option the document lacks", c->line);
            }
        }
    }
    // Each option's constraints form one run of the index, in table order.
    std::uint32_t total = 0;
    for (std::uint32_t i = 0; i < plan.featureCount; ++i) {
        for (WorkOption* o = plan.features[i]->options.head; o != nullptr; o = o->next) {
            o->constrainedFirst = total;
            total += o->constrainedCount;
        }
    }
    plan.constrainedTotal = total;
    return true;
}

void WriteOptionData(BlockWriter& w, PpdOption* option, const WorkOption& o, OptionKind kind) {
    switch (kind) {
    case OptionKind::kPage: {
        auto* p = static_cast<PpdPageOption*>(option);
        w.String(p != nullptr ? &p->regionInvocation : nullptr, o.regionInvocation);
        if (p != nullptr) {
            p->paperWidth = o.paperWidth;
            p->paperHeight = o.paperHeight;
            p->imageableLeft = o.imageableLeft;
            p->imageableBottom = o.imageableBottom;
            p->imageableRight = o.imageableRight;
            p->imageableTop = o.imageableTop;
        }
        break;
    }
    case OptionKind::kSlot:
        if (option != nullptr)
            static_cast<PpdSlotOption*>(option)->requiresPageRegion = o.requiresPageRegion;
        break;
    case OptionKind::kResolution: {
        auto* r = static_cast<PpdResolutionOption*>(option);
        w.String(r != nullptr ? &r->jclInvocation : nullptr, o.jclInvocation);
        w.String(r != nullptr ? &r->setInvocation : nullptr, o.setInvocation);
        if (r != nullptr) {
            r->screenAngle = o.screenAngle;
            r->screenFreq = o.screenFreq;
        }
        break;
    }
    case OptionKind::kMemory:
        if (option != nullptr)
            static_cast<PpdMemoryOption*>(option)->vmAmount = o.vmAmount;
        break;
    case OptionKind::kInvocation:
        break;
    }
}

PpdOption* NewOption(BlockWriter& w, OptionKind kind, std::uint32_t* offset) {
    switch (kind) {
    case OptionKind::kPage:
        return w.Record<PpdPageOption>(offset);
    case OptionKind::kSlot:
        return w.Record<PpdSlotOption>(offset);
    case OptionKind::kResolution:
        return w.Record<PpdResolutionOption>(offset);
    case OptionKind::kMemory:
        return w.Record<PpdMemoryOption>(offset);
    case OptionKind::kInvocation:
        break;
    }
    return w.Record<PpdOption>(offset);
}

void WriteDescription(PpdDocument* d, const WorkDocument& doc) {
    d->protocols = doc.protocols;
    d->landscapeOrientation = doc.landscapeOrientation;
    d->ttRasterizer = doc.ttRasterizer;
    d->languageEncoding = doc.languageEncoding;
    d->freeVm = doc.freeVm;
    d->languageLevel = doc.languageLevel;
    d->suggestedJobTimeout = doc.suggestedJobTimeout;
    d->suggestedWaitTimeout = doc.suggestedWaitTimeout;
    d->colorDevice = doc.colorDevice;
    d->emailNotify = doc.emailNotify;
    d->printPsError = doc.printPsError;
    d->overlay = doc.overlay;
    d->jogDevice = doc.jogDevice;
    d->multiOverlay = doc.multiOverlay;
    d->nup = doc.nup;
    d->booklet = doc.booklet;
    d->miserDevice = doc.miserDevice;
    d->doesPrintQuality = doc.doesPrintQuality;
    d->reprint = doc.reprint;
    d->acceptsTrueType = doc.acceptsTrueType;
    d->trueImageDevice = doc.trueImageDevice;
    d->packed = 1;
    d->customPageSize = doc.customPageSize;
    d->hasHwMargins = doc.hasHwMargins;
    for (int i = 0; i < 4; ++i)
        d->hwMargins[i] = doc.hwMargins[i];
    for (int i = 0; i < 5; ++i) {
        d->customSizeParams[i].order = doc.customSizeParams[i].order;
        d->customSizeParams[i].type = doc.customSizeParams[i].type;
        d->customSizeParams[i].minimum = doc.customSizeParams[i].minimum;
        d->customSizeParams[i].maximum = doc.customSizeParams[i].maximum;
    }
    d->maxMediaWidth = doc.maxMediaWidth;
    d->maxMediaHeight = doc.maxMediaHeight;
    d->extensions = doc.extensions;
    d->resolutionKind = doc.resolutionKind;
    d->screenAngle = doc.screenAngle;
    d->screenFreq = doc.screenFreq;
    d->regularFeatureCount = doc.regularFeatureCount;
    d->installableFeatureCount = doc.installableFeatureCount;
}

// The block layout: document record, its strings, the order dependency and constraint tables,
// each feature with its strings and options, the fonts, then the lookup tables.
void Layout(BlockWriter& w, const WorkDocument& doc, PackPlan& plan) {
    PpdDocument* d = w.Record<PpdDocument>(nullptr);
    if (d != nullptr)
        WriteDescription(d, doc);
    auto text = [&](Text PpdDocument::*field) { return d != nullptr ? &(d->*field) : nullptr; };
    w.String(text(&PpdDocument::path), doc.path);
    w.String(text(&PpdDocument::nickName), doc.nickName);
    w.String(text(&PpdDocument::password), doc.password);
    w.String(text(&PpdDocument::exitServer), doc.exitServer);
    w.String(text(&PpdDocument::customPageSizeInvocation), doc.customPageSizeInvocation);
    w.String(text(&PpdDocument::jclBegin), doc.jclBegin);
    w.String(text(&PpdDocument::jclToPsInterpreter), doc.jclToPsInterpreter);
    w.String(text(&PpdDocument::jclEnd), doc.jclEnd);

    std::uint32_t at = 0;
    if (PpdTableHeader* h = w.Record<PpdTableHeader>(&at)) {
        h->count = doc.orderDependencies.count;
        h->entrySize = sizeof(PpdOrderDependency);
        w.Link(&d->orderDependencies, at);
    }
    std::uint32_t k = 0;
    for (const WorkOrderDependency* od = doc.orderDependencies.head; od != nullptr;
         od = od->next, ++k) {
        if (PpdOrderDependency* e = w.Record<PpdOrderDependency>(nullptr)) {
            e->feature = plan.dependencies[k].feature;
            e->option = plan.dependencies[k].option;
            e->order = od->order;
            e->section = od->section;
        }
    }
    if (PpdTableHeader* h = w.Record<PpdTableHeader>(&at)) {
        h->count = doc.constraints.count;
        h->entrySize = sizeof(PpdConstraint);
        w.Link(&d->constraints, at);
    }
    // The constraint entries, and beside them the index of the entries by their second choice:
    // each option's entries form one run, in table order.
    PpdConstraint* entry = w.Records<PpdConstraint>(doc.constraints.count);
    at = w.used();
    std::uint32_t* const index = w.Words(plan.constrainedTotal);
    if (index != nullptr && plan.constrainedTotal != 0)
        w.Link(&d->constrainedIndex, at);
    if (entry != nullptr && index != nullptr) {
        k = 0;
        for (const WorkConstraintList::Chunk* chunk = doc.constraints.head; chunk != nullptr;
             chunk = chunk->next) {
            for (const WorkConstraint* c = chunk->items; c != chunk->items + chunk->count;
                 ++c, ++entry, ++k) {
                const WorkChoice& first = plan.choices[c->first];
                const WorkChoice& second = plan.choices[c->second];
                const bool usable = first.complete & second.complete;
                entry->feature1 = usable ? first.featureIndex : kNotFound;
                entry->option1 = first.optionIndex;
                entry->feature2 = second.featureIndex;
                entry->option2 = second.optionIndex;
                entry->flags =
                    static_cast<std::uint16_t>((first.optionSize != 0 ? kNamesOption1 : 0) |
                                               (second.optionSize != 0 ? kNamesOption2 : 0));
                entry->reserved = 0;
                if (WorkOption* ruling = second.ruling)
                    index[ruling->constrainedFirst + ruling->constrainedFill++] = k;
            }
        }
    }

    PpdFeature* previous = nullptr;
    for (std::uint32_t i = 0; i < plan.featureCount; ++i) {
        const WorkFeature& wf = *plan.features[i];
        PpdFeature* f = w.Record<PpdFeature>(&at);
        plan.featureOffsets[i] = at;
        if (f != nullptr) {
            w.Link(previous != nullptr ? &previous->next : &d->features, at);
            if (wf.slot < kSlotCount)
                w.Link(&d->slots[wf.slot], at);
            f->nameHash = wf.nameHash;
            f->defaultOption = 0; // set once the block is written
            f->optionKind = wf.optionKind;
            f->slot = wf.slot;
            f->flags = wf.flags;
            f->uiType = wf.uiType;
            f->groupIndex = wf.groupIndex;
            f->defaultGiven = wf.defaultOption.present() ? 1 : 0;
            f->reserved = 0;
            f->installable = wf.installable;
            f->optionCount = wf.options.count;
            f->index = wf.index;
        }
        w.String(f != nullptr ? &f->name : nullptr, wf.name);
        w.String(f != nullptr ? &f->translation : nullptr, wf.translation);
        PpdOption* previousOption = nullptr;
        for (const WorkOption* o = wf.options.head; o != nullptr; o = o->next) {
            PpdOption* option = NewOption(w, wf.optionKind, &at);
            if (option != nullptr) {
                w.Link(previousOption != nullptr ? &previousOption->next : &f->options, at);
                option->nameHash = o->nameHash;
                option->translationHash =
                    o->translation.present() ? NameHash(o->translation.view()) : 0;
                option->kind = wf.optionKind;
                option->index = o->index;
                option->constrainedFirst = o->constrainedFirst;
                option->constrainedCount = o->constrainedCount;
            }
            w.String(option != nullptr ? &option->name : nullptr, o->name);
            w.String(option != nullptr ? &option->translation : nullptr, o->translation);
            w.String(option != nullptr ? &option->invocation : nullptr, o->invocation);
            WriteOptionData(w, option, *o, wf.optionKind);
            previousOption = option;
        }
        previous = f;
    }

    PpdFontEntry* previousFont = nullptr;
    for (const WorkFont* font = doc.fonts.head; font != nullptr; font = font->next) {
        PpdFontEntry* e = w.Record<PpdFontEntry>(&at);
        if (e != nullptr) {
            w.Link(previousFont != nullptr ? &previousFont->next : &d->fonts, at);
            e->nameHash = font->nameHash;
            e->encoding = font->encoding;
            e->charset = font->charset;
            e->fontId = font->fontId;
        }
        w.String(e != nullptr ? &e->name : nullptr, font->name);
        w.String(e != nullptr ? &e->translation : nullptr, font->translation);
        previousFont = e;
    }
    if (d != nullptr) {
        d->featureCount = plan.featureCount;
        d->fontCount = doc.fonts.count;
    }

    at = w.used();
    if (std::uint32_t* offsets = w.Words(plan.featureCount); offsets && plan.featureCount != 0) {
        std::memcpy(offsets, plan.featureOffsets, sizeof(std::uint32_t) * plan.featureCount);
        w.Link(&d->featureTable, at);
    }
}

} // namespace

PpdDocument* FinishAndPack(ParseContext& ctx, std::size_t* blockBytes, std::size_t* roomBytes) {
    WorkDocument& doc = ctx.doc;
    ApplyFinishingRules(doc);
    PackPlan plan{};
    if (!OrderFeatures(ctx, plan))
        return nullptr;
    for (std::uint32_t i = 0; i < plan.featureCount; ++i) {
        std::uint32_t n = 0;
        for (WorkOption* o = plan.features[i]->options.head; o != nullptr; o = o->next)
            o->index = n++;
    }
    if (!ResolveTables(ctx, plan))
        return nullptr;

    // The layout is measured first, so that the block gets exactly its size.
    BlockWriter measure(nullptr, 0);
    Layout(measure, doc, plan);
    if (measure.failed())
        return nullptr;
    const std::uint32_t capacity = measure.used();
    void* memory = std::malloc(kBlockPrefix + capacity);
    if (memory == nullptr)
        return nullptr;
    BlockWriter writer(static_cast<unsigned char*>(memory) + kBlockPrefix, capacity);
    Layout(writer, doc, plan);
    if (writer.failed()) {
        std::free(memory);
        return nullptr;
    }
    const std::uint32_t size = writer.used();
    unsigned char* base = static_cast<unsigned char*>(memory) + kBlockPrefix;
    PpdDocument* d = reinterpret_cast<PpdDocument*>(base);
    d->blockSize = size;
    // Default keywords become positions.
    for (std::uint32_t i = 0; i < plan.featureCount; ++i) {
        PpdFeature* f = reinterpret_cast<PpdFeature*>(base + plan.featureOffsets[i]);
        f->defaultOption = DefaultPosition(ctx, plan.features[i]);
    }
    if (blockBytes != nullptr)
        *blockBytes = kBlockPrefix + size;
    if (roomBytes != nullptr)
        *roomBytes = kBlockPrefix + capacity;
    return d;
}

namespace {

class BlockChecker {
public:
    explicit BlockChecker(const PpdDocument* doc)
        : base_(reinterpret_cast<const unsigned char*>(doc)), size_(doc->blockSize) {}

    template <class T>
    bool Inside(const Ref<T>& ref, std::size_t bytes = sizeof(T)) const {
        const auto* p = reinterpret_cast<const unsigned char*>(ref.get());
        if (p == nullptr)
            return true;
        return p >= base_ && p < base_ + size_ &&
               bytes <= static_cast<std::size_t>(base_ + size_ - p) &&
               (reinterpret_cast<std::uintptr_t>(p) & 3) == 0;
    }
    bool TextOk(const Text& text) const {
        if (!Inside(text, 1))
            return false;
        const char* s = text.get();
        return s == nullptr ||
               std::memchr(s, 0,
                           static_cast<std::size_t>(base_ + size_ -
                                                    reinterpret_cast<const unsigned char*>(s))) !=
                   nullptr;
    }

private:
    const unsigned char* base_;
    std::size_t size_;
};

} // namespace

bool CheckPackedDocument(const PpdDocument* doc) {
    if (doc == nullptr || doc->blockSize < sizeof(PpdDocument) || doc->packed != 1)
        return false;
    const BlockChecker c(doc);
    for (const Text* t :
         {&doc->path, &doc->nickName, &doc->password, &doc->exitServer,
          &doc->customPageSizeInvocation, &doc->jclBegin, &doc->jclEnd, &doc->jclToPsInterpreter}) {
        if (!c.TextOk(*t))
            return false;
    }
    for (const auto& slot : doc->slots) {
        if (!c.Inside(slot))
            return false;
    }
    std::uint32_t features = 0;
    for (const Ref<PpdFeature>* ref = &doc->features; *ref; ref = &(*ref)->next) {
        if (!c.Inside(*ref))
            return false;
        const PpdFeature* f = ref->get();
        if (!c.TextOk(f->name) || !c.TextOk(f->translation) || f->index != features++)
            return false;
        std::uint32_t options = 0;
        for (const Ref<PpdOption>* o = &f->options; *o; o = &(*o)->next) {
            const PpdOption* option = o->get();
            std::size_t bytes = sizeof(PpdOption);
            switch (option->kind) {
            case OptionKind::kPage:
                bytes = sizeof(PpdPageOption);
                break;
            case OptionKind::kSlot:
                bytes = sizeof(PpdSlotOption);
                break;
            case OptionKind::kResolution:
                bytes = sizeof(PpdResolutionOption);
                break;
            case OptionKind::kMemory:
                bytes = sizeof(PpdMemoryOption);
                break;
            case OptionKind::kInvocation:
                break;
            }
            if (!c.Inside(*o, sizeof(PpdOption)) || !c.Inside(*o, bytes) ||
                !c.TextOk(option->name) || !c.TextOk(option->translation) ||
                !c.TextOk(option->invocation) || option->index != options++)
                return false;
            if (const PpdPageOption* p = option->AsPage(); p && !c.TextOk(p->regionInvocation))
                return false;
            if (const PpdResolutionOption* r = option->AsResolution();
                r && (!c.TextOk(r->jclInvocation) || !c.TextOk(r->setInvocation)))
                return false;
        }
        if (options != f->optionCount || f->defaultOption > (options == 0 ? 0 : options - 1))
            return false;
    }
    if (features != doc->featureCount)
        return false;
    for (const Ref<PpdFontEntry>* ref = &doc->fonts; *ref; ref = &(*ref)->next) {
        if (!c.Inside(*ref) || !c.TextOk((*ref)->name) || !c.TextOk((*ref)->translation))
            return false;
    }
    for (const Ref<PpdTableHeader>* table : {&doc->orderDependencies, &doc->constraints}) {
        if (!*table || !c.Inside(*table) ||
            !c.Inside(*table,
                      sizeof(PpdTableHeader) + std::size_t{(*table)->count} * (*table)->entrySize))
            return false;
    }
    if (doc->featureCount != 0 && !c.Inside(doc->featureTable, 4u * doc->featureCount))
        return false;
    return true;
}

} // namespace ppd
