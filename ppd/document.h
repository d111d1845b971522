#pragma once
// The finished PPD model as the pages see it: one allocation that holds every record and
// string, linked by self-relative offsets, so that the whole document is released in one step.
// Records live only inside their block: they cannot be copied out (a copied offset would point
// elsewhere), only read through pointers.
//
// Walk features and options as lists:
//     for (const PpdFeature* f = FirstFeature(doc); f; f = f->next.get())
//         for (const PpdOption* o = f->options.get(); o; o = o->next.get())
//             use(o->name.get(), o->translation.get());
#include <cstdint>

namespace ppd {

// Fixed point with 8 fraction bits (value times 256); lengths in points.
using Fixed = std::int32_t;

// A reference to a record or string of the same block, kept as the distance from the
// reference itself; absent when 0.
template <class T>
class Ref {
public:
    Ref() = default;
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;

    const T* get() const {
        if (distance_ == 0)
            return nullptr;
        return reinterpret_cast<const T*>(reinterpret_cast<const char*>(this) + distance_);
    }
    const T* operator->() const { return get(); }
    explicit operator bool() const { return distance_ != 0; }

private:
    friend class BlockWriter;
    std::int32_t distance_ = 0;
};

using Text = Ref<char>; // a NUL-terminated string of the block

// What the options of a feature carry besides their invocation.
enum class OptionKind : std::uint32_t {
    kInvocation = 0, // invocation only
    kPage = 1,       // page sizes ("PageSize")
    kSlot = 2,       // input slots ("InputSlot")
    kResolution = 3, // resolutions ("Resolution")
    kMemory = 4,     // installed memory ("VMOption")
};

// Feature slots of the predefined features; generic features have kGenericSlot.
enum : std::uint16_t {
    kPageSizeSlot = 0,
    kInputSlotSlot = 1,
    kManualFeedSlot = 2,
    kDuplexSlot = 3,
    kCollateSlot = 4,
    kResolutionSlot = 5,
    kMemorySlot = 6,
    kGenericSlot = 7,
    kSlotCount = 7,
};

// UI types of a feature.
enum : std::uint16_t { kUiBoolean = 0, kUiPickOne = 1, kUiPickMany = 2 };

// Feature flags.
enum : std::uint16_t {
    kFeatureAllRequirePageRegion = 1 << 0,  // "*RequiresPageRegion All: True"
    kFeatureNoneRequirePageRegion = 1 << 1, // "*RequiresPageRegion All: False"
    kFeatureJcl = 1 << 2,                   // opened by "*JCLOpenUI"
};

struct PpdPageOption;
struct PpdSlotOption;
struct PpdResolutionOption;
struct PpdMemoryOption;

struct PpdOption {
    Ref<PpdOption> next;
    Text name; // option keyword
    std::uint32_t nameHash;
    Text translation; // display text; absent when the PPD gives none
    std::uint32_t translationHash;
    Text invocation;
    OptionKind kind;
    std::uint32_t index; // position among the feature's options
    // Constraints whose second choice is this option (positions in the document's
    // constraint index), in table order.
    std::uint32_t constrainedFirst;
    std::uint32_t constrainedCount;

    // The kind's data; null when the option is of another kind.
    const PpdPageOption* AsPage() const;
    const PpdSlotOption* AsSlot() const;
    const PpdResolutionOption* AsResolution() const;
    const PpdMemoryOption* AsMemory() const;
};

struct PpdPageOption : PpdOption {
    Text regionInvocation;
    Fixed paperWidth, paperHeight;
    Fixed imageableLeft, imageableBottom, imageableRight, imageableTop;
};

struct PpdSlotOption : PpdOption {
    std::int32_t requiresPageRegion; // 0 or 1
};

struct PpdResolutionOption : PpdOption {
    Text jclInvocation;
    Text setInvocation;
    Fixed screenAngle, screenFreq;
};

struct PpdMemoryOption : PpdOption {
    std::uint32_t vmAmount;
};

inline const PpdPageOption* PpdOption::AsPage() const {
    return kind == OptionKind::kPage ? static_cast<const PpdPageOption*>(this) : nullptr;
}
inline const PpdSlotOption* PpdOption::AsSlot() const {
    return kind == OptionKind::kSlot ? static_cast<const PpdSlotOption*>(this) : nullptr;
}
inline const PpdResolutionOption* PpdOption::AsResolution() const {
    return kind == OptionKind::kResolution ? static_cast<const PpdResolutionOption*>(this)
                                           : nullptr;
}
inline const PpdMemoryOption* PpdOption::AsMemory() const {
    return kind == OptionKind::kMemory ? static_cast<const PpdMemoryOption*>(this) : nullptr;
}

struct PpdFeature {
    Ref<PpdFeature> next;
    Text name; // main keyword without "*"
    std::uint32_t nameHash;
    Text translation;            // display text; absent when none
    std::uint32_t defaultOption; // position of the default option, 0 when none matched
    OptionKind optionKind;
    std::uint16_t slot; // 0 to 6 for the predefined features, kGenericSlot otherwise
    std::uint16_t flags;
    std::uint16_t uiType;
    std::uint16_t groupIndex;   // position among the regular or among the installable features
    std::uint16_t defaultGiven; // 1 when the PPD names a default ("*Default..."), else 0
    std::uint16_t reserved;
    std::int32_t installable; // 1 for the features of the installable options
    Ref<PpdOption> options;
    std::uint32_t optionCount;
    std::uint32_t index; // position in the document's feature list
};

struct PpdFontEntry {
    Ref<PpdFontEntry> next;
    Text name;
    std::uint32_t nameHash;
    Text translation;
    std::uint16_t encoding;
    std::uint16_t charset;
    std::uint16_t fontId; // number in the known-font list, 1 to 168
    std::uint16_t reserved;
};

// Index values of the packed tables.
inline constexpr std::uint16_t kNotFound = 0xFFFF; // a feature or option the document lacks
inline constexpr std::uint16_t kNoOption = 255;    // the entry names no option

struct PpdOrderDependency {
    std::uint16_t feature; // kNotFound when the feature or a named option was not found
    std::uint16_t option;  // kNoOption when none is named
    Fixed order;
    std::uint16_t section; // 1 ExitServer, 2 Prolog, 4 DocumentSetup, 8 PageSetup, 16 JCLSetup,
                           // 32 AnySetup
    std::uint16_t reserved;
};

// Constraint flags: which options the entry names, so that kNoOption is never mistaken for
// the option at position 255.
enum : std::uint16_t { kNamesOption1 = 1 << 0, kNamesOption2 = 1 << 1 };

struct PpdConstraint {
    // kNotFound in feature1 when any name of the entry was not found: the entry is unusable.
    std::uint16_t feature1, option1, feature2, option2;
    std::uint16_t flags;
    std::uint16_t reserved;
};

// A packed table: entry count and entry size, then the entries.
struct PpdTableHeader {
    std::uint32_t count;
    std::uint16_t entrySize;
    std::uint16_t reserved;
};

struct PpdCustomSizeParam {
    std::int32_t order; // 1 to 5; 0 when the PPD gives none
    std::uint16_t type; // 0 int, 1 real, 2 points
    std::uint16_t reserved;
    Fixed minimum, maximum;
};

struct PpdDocument {
    std::uint32_t blockSize;
    Text path;
    Text nickName;
    std::uint16_t protocols; // PJL 1, BCP 2, TBCP 4, SIC 8
    std::uint16_t landscapeOrientation;
    std::uint16_t ttRasterizer;
    std::uint16_t languageEncoding;
    std::uint32_t freeVm;
    std::int32_t languageLevel;
    Text password;
    Text exitServer;
    std::int32_t suggestedJobTimeout;
    std::int32_t suggestedWaitTimeout;
    std::int32_t colorDevice, emailNotify, printPsError, overlay, jogDevice, multiOverlay, nup,
        booklet, miserDevice, doesPrintQuality, reprint, acceptsTrueType, trueImageDevice;
    std::int32_t packed; // 1
    std::int32_t customPageSize;
    std::int32_t hasHwMargins;
    Fixed hwMargins[4]; // left, bottom, right, top
    Text customPageSizeInvocation;
    PpdCustomSizeParam customSizeParams[5]; // Width, Height, WidthOffset, HeightOffset,
                                            // Orientation
    Fixed maxMediaWidth, maxMediaHeight;
    std::uint16_t extensions; // DPS 1, CMYK 2, Composite 4, FileSystem 8
    std::uint16_t resolutionKind;
    Fixed screenAngle, screenFreq;
    Text jclBegin;
    Text jclEnd;
    Text jclToPsInterpreter;
    std::uint16_t regularFeatureCount;
    std::uint16_t installableFeatureCount;

    std::uint32_t featureCount;
    Ref<PpdFeature> features;
    Ref<PpdFeature> slots[kSlotCount];
    Ref<std::uint32_t> featureTable; // block offsets of the features, in list order
    std::uint32_t fontCount;
    Ref<PpdFontEntry> fonts;
    Ref<PpdTableHeader> orderDependencies; // PpdOrderDependency entries follow the header
    Ref<PpdTableHeader> constraints;       // PpdConstraint entries follow the header
    Ref<std::uint32_t> constrainedIndex;   // constraint positions grouped by second choice
};

} // namespace ppd
