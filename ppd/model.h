#pragma once
// The working document that the handlers fill while the file is read: records in lists in file
// order, allocated from one arena that is released with the parse. Strings are byte ranges of
// the mapped file where they need no decoding, so nothing is copied until the document is
// packed.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ppd/diagnostics.h"
#include "ppd/document.h"
#include "ppd/values.h"

namespace ppd {

struct PpdEntry;

// Bump allocator for the working records; every allocation is zero-filled and 8-aligned.
// An optional limit makes allocations fail as they would when memory runs out.
class Arena {
public:
    Arena() = default;
    ~Arena();
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;

    void* Allocate(std::size_t size);     // zero-filled; nullptr when out of memory
    char* AllocateText(std::size_t size); // not zero-filled
    template <class T>
    T* New() {
        return static_cast<T*>(Allocate(sizeof(T)));
    }
    // For records whose every field the caller sets.
    template <class T>
    T* NewUnfilled() {
        static_assert(alignof(T) <= 8);
        return static_cast<T*>(AllocateRaw(sizeof(T)));
    }
    void SetLimit(std::size_t bytes) { limit_ = bytes; }
    std::size_t reserved() const { return reserved_; }

private:
    void* AllocateRaw(std::size_t size);
    struct Chunk {
        Chunk* next;
        std::size_t size;
    };
    friend struct ChunkCache;
    Chunk* chunks_ = nullptr;
    char* cursor_ = nullptr;
    char* end_ = nullptr;
    std::size_t reserved_ = 0;
    std::size_t nextChunk_ = 8 * 1024;
    std::size_t limit_ = 0; // 0: none
};

// A string of the working document; absent when data is null.
struct WorkText {
    const char* data;
    std::uint32_t size;

    bool present() const { return data != nullptr; }
    std::string_view view() const { return {data, size}; }
};

template <class T>
struct WorkList {
    T* head;
    T* tail;
    std::uint32_t count;

    void Append(T* node) {
        if (tail != nullptr)
            tail->next = node;
        else
            head = node;
        tail = node;
        ++count;
    }
};

struct WorkOption {
    WorkOption* next;
    WorkText name;
    std::uint32_t nameHash;
    WorkText translation;
    WorkText invocation;
    // page data
    WorkText regionInvocation;
    Fixed paperWidth, paperHeight;
    Fixed imageableLeft, imageableBottom, imageableRight, imageableTop;
    // slot data
    std::int32_t requiresPageRegion;
    // resolution data
    WorkText jclInvocation, setInvocation;
    Fixed screenAngle, screenFreq;
    // memory data
    std::uint32_t vmAmount;
    // set when the document is packed
    std::uint32_t index;
    std::uint32_t constrainedFirst, constrainedCount, constrainedFill;
};

struct WorkFeature {
    WorkFeature* next;
    WorkText name;
    std::uint32_t nameHash;
    WorkText translation;
    WorkText defaultOption; // keyword until the document is packed
    OptionKind optionKind;
    std::uint16_t slot;
    std::uint16_t flags;
    std::uint16_t uiType;
    std::uint16_t groupIndex;
    std::int32_t installable;
    WorkList<WorkOption> options;
    WorkOption* lastFound; // options tend to be named in the same order in every block
    std::uint32_t serial;  // creation number, for the name index
    std::uint32_t index;   // position in the final list, set when finishing
    std::uint32_t line;    // of the entry that created it (diagnostics only)
};

struct WorkFont {
    WorkFont* next;
    WorkText name;
    std::uint32_t nameHash;
    WorkText translation;
    std::uint16_t encoding, charset, fontId;
};

struct WorkOrderDependency {
    WorkOrderDependency* next;
    WorkText feature;
    WorkText option;
    Fixed order;
    std::uint16_t section;
    std::uint32_t line;
};

// Constraints are by far the most numerous entries of many PPDs: their names are kept as places
// in the file, in a small record.
struct WorkConstraint {
    enum { kFeature1, kOption1, kFeature2, kOption2 };
    WorkConstraint* next;
    std::uint32_t start[4]; // offsets of the names in the file
    std::uint8_t size[4];   // words are at most 39 bytes; 0 for an option not named
    std::uint32_t line;
};

// Features by name and options by (feature, name), kept up to date as they are created, so that
// no lookup by name walks a list. Open addressing; each slot keeps the name's key, so that most
// lookups never leave the table. Tables grow in the arena.
class NameIndex {
public:
    WorkFeature* FindFeature(std::string_view name) const;
    WorkOption* FindOption(const WorkFeature* feature, std::string_view name) const;
    bool AddFeature(Arena& arena, WorkFeature* feature);
    bool AddOption(Arena& arena, const WorkFeature* feature, WorkOption* option);

private:
    struct Slot {
        std::uint64_t head, tail;
        void* item;
        std::uint32_t size;
        std::uint32_t owner; // feature serial of an option
    };
    struct Table {
        Slot* slots = nullptr;
        std::size_t mask = 0;
        unsigned shift = 64;
        std::size_t count = 0;
    };
    static bool Insert(Arena& arena, Table& table, const Slot& slot, std::uint64_t hash);
    static void Place(Table& table, const Slot& slot, std::uint64_t hash);
    template <class T>
    static T* Find(const Table& table, std::string_view name, std::uint32_t owner);
    Table features_;
    Table options_;
};

struct WorkDocument {
    WorkText path;
    WorkText nickName;
    std::uint16_t protocols, landscapeOrientation, ttRasterizer, languageEncoding;
    std::uint32_t freeVm;
    std::int32_t languageLevel;
    WorkText password, exitServer;
    std::int32_t suggestedJobTimeout, suggestedWaitTimeout;
    std::int32_t colorDevice, emailNotify, printPsError, overlay, jogDevice, multiOverlay, nup,
        booklet, miserDevice, doesPrintQuality, reprint, acceptsTrueType, trueImageDevice;
    std::int32_t installableGroupOpen;
    std::int32_t customPageSize, hasHwMargins;
    Fixed hwMargins[4];
    WorkText customPageSizeInvocation;
    struct {
        std::int32_t order;
        std::uint16_t type;
        Fixed minimum, maximum;
    } customSizeParams[5];
    Fixed maxMediaWidth, maxMediaHeight;
    std::uint16_t extensions, resolutionKind;
    Fixed screenAngle, screenFreq;
    WorkText jclBegin, jclEnd, jclToPsInterpreter;
    std::uint16_t regularFeatureCount, installableFeatureCount;

    WorkList<WorkFeature> features;
    WorkFeature* slots[kSlotCount];
    WorkList<WorkFont> fonts;
    std::uint8_t fontSeen[(168 + 8) / 8]; // by font number
    WorkList<WorkOrderDependency> orderDependencies;
    WorkList<WorkConstraint> constraints;
    WorkFeature* openFeature;
};

// State of one parse, shared by the reader, the handlers and the packing.
struct ParseContext {
    ParseContext(const unsigned char* begin, std::size_t size);

    WorkDocument doc{};
    Arena arena;
    NameIndex names;
    DiagnosticSink* diagnostics = nullptr;
    const char* reason = nullptr; // why the last syntax error happened (for diagnostics)

    // Line numbers, computed only when a diagnostic needs them.
    const unsigned char* begin;
    const unsigned char* end;
    const unsigned char* entryStart = nullptr;
    std::uint32_t EntryLine();
    std::uint32_t LineAt(const unsigned char* position);

    Result Fail(const char* why) {
        reason = why;
        return kSyntaxError;
    }
    void Report(DiagnosticKind kind, std::string_view keyword, std::string_view option,
                std::string_view detail, std::uint32_t line);

private:
    const unsigned char* countedTo_ = nullptr;
    std::uint32_t countedLines_ = 1;
};

// Sets the initial values of a new working document.
void InitWorkDocument(WorkDocument& doc);

// Stores `source` into an absent destination (the first string wins); in the hexadecimal mode
// "<...>" runs are decoded. kSyntaxError for malformed hexadecimal text, kOutOfMemory when the
// decoded copy cannot be allocated.
Result StoreString(ParseContext& ctx, WorkText& destination, std::string_view source, bool hex);

// Finds or creates the feature of a predefined slot, or for kGenericSlot the feature named
// `name` (a slot feature when the name is one of the seven slot keywords).
Result GetFeature(ParseContext& ctx, std::uint16_t slot, std::string_view name,
                  WorkFeature** feature);

// Finds or creates the option named by the entry's option keyword in `feature`; the first
// translation seen is kept (hexadecimal mode). A malformed translation is kSyntaxError for an
// existing option and kOutOfMemory (the parse stops) for a new one.
Result GetOption(ParseContext& ctx, WorkFeature* feature, const PpdEntry& entry,
                 WorkOption** option);

// GetFeature for the entry's slot, then GetOption.
Result GetSlotOption(ParseContext& ctx, std::uint16_t slot, const PpdEntry& entry,
                     WorkOption** option);

// The option of `feature` named `name` (`hash` is its NameHash), or null.
WorkOption* FindWorkOption(ParseContext& ctx, WorkFeature* feature, std::string_view name,
                           std::uint32_t hash);

// The feature named `name`, or null.
WorkFeature* FindWorkFeature(ParseContext& ctx, std::string_view name);

// Keyword and option data kind of the predefined slots.
struct SlotRow {
    std::string_view keyword;
    OptionKind kind;
    std::uint16_t uiType;
};
extern const SlotRow kSlotRows[kSlotCount];

// Finishes the working document and packs it into one block; null when memory runs out.
// The block is allocated with kBlockPrefix bytes of bookkeeping in front (see loader.cpp).
inline constexpr std::size_t kBlockPrefix = 16;
// `blockBytes` and `roomBytes` (the allocation before trimming) include the prefix.
PpdDocument* FinishAndPack(ParseContext& ctx, std::size_t* blockBytes, std::size_t* roomBytes);

// Every reference of a packed document points inside its block and every string ends there.
bool CheckPackedDocument(const PpdDocument* doc);

} // namespace ppd
