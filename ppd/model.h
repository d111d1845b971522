#pragma once
// The working document that the handlers fill while the file is read: records in lists in file
// order, allocated from one arena that is released with the parse. Strings are byte ranges of
// the mapped file where they need no decoding, so nothing is copied until the document is
// packed.
#include <cstddef>
#include <cstdint>
#include <cstring>
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

// Constraints are by far the most numerous entries of many PPDs, and they name the same few
// choices (a feature keyword with an optional option keyword) over and over. Each distinct
// choice is kept once, as places in the file, and resolved once when the document is packed;
// a constraint is the numbers of its two choices.
struct WorkChoice {
    std::uint32_t featureStart, optionStart; // offsets of the names in the file
    std::uint8_t featureSize, optionSize;    // words are at most 39 bytes; optionSize 0: none
    const char* bytes;      // a copy of the bytes that name the choice when they are many
    std::uint32_t asSecond; // constraints that name this choice second
    // set when the document is packed
    std::uint16_t featureIndex, optionIndex; // as the constraint table stores them
    bool complete;                           // every name found
    WorkOption* ruling;                      // the option, when the choice can match a query
};

struct WorkConstraint {
    std::uint32_t first, second; // choice numbers
    std::uint32_t line;          // diagnostics only
};

// Constraints in file order, in chunks of the arena that double in size.
struct WorkConstraintList {
    struct Chunk {
        Chunk* next;
        WorkConstraint* items; // `capacity` of them, right after the chunk
        std::uint32_t count, capacity;
    };
    Chunk* head;
    Chunk* tail;
    std::uint32_t count;
};

// The choices of the constraints, numbered in order of first appearance, with an index by the
// bytes that name them. Open addressing; a slot keeps the name's key, so that most lookups
// never leave the table.
class ChoiceTable {
public:
    // The numbers of a constraint's two choices (feature and option keyword, the option empty
    // when none is named); new ones are added. False when memory runs out.
    bool Intern(Arena& arena, const unsigned char* file, const std::string_view (&first)[2],
                const std::string_view (&second)[2], std::uint32_t* numbers) {
        // Both lookups before any branch on their results, so that they overlap.
        const std::string_view bytes[2] = {ChoiceBytes(first), ChoiceBytes(second)};
        const Key keys[2] = {Key(bytes[0]), Key(bytes[1])};
        const std::int64_t found[2] = {Find(bytes[0], keys[0]), Find(bytes[1], keys[1])};
        if (found[0] < 0 || found[1] < 0)
            return AddMissing(arena, file, first, second, numbers);
        numbers[0] = static_cast<std::uint32_t>(found[0]);
        numbers[1] = static_cast<std::uint32_t>(found[1]);
        return true;
    }
    WorkChoice* items() const { return items_; }
    std::uint32_t count() const { return count_; }
    // Room for about this many choices from the start, so that the table seldom grows.
    void Expect(std::size_t count);

private:
    // The bytes that name a choice as three words and their length: the first 16 and the last 8
    // bytes, so that equal keys mean equal bytes up to 24 of them.
    struct Key {
        std::uint64_t head = 0, middle = 0, tail = 0;
        std::uint32_t size;
        explicit Key(std::string_view bytes) : size(static_cast<std::uint32_t>(bytes.size())) {
            NameKey::LoadEnds(bytes, &head, &tail);
            if (bytes.size() >= 16)
                std::memcpy(&middle, bytes.data() + 8, 8);
        }
        // One multiplication: the top bits, which pick the slot, depend on every bit of the key.
        std::uint64_t Hash() const {
            const std::uint64_t x =
                head ^ ((middle << 21) | (middle >> 43)) ^ ((tail << 42) | (tail >> 22)) ^ size;
            return x * 0x9E3779B97F4A7C15ull;
        }
        bool operator==(const Key& other) const {
            return head == other.head && middle == other.middle && tail == other.tail &&
                   size == other.size;
        }
    };
    struct Slot {
        Key key;
        std::uint32_t number; // choice number + 1; 0 for an empty slot
    };
    static constexpr std::size_t kExact = 24;

    // The bytes from the feature keyword to the end of the option keyword name a choice: equal
    // bytes mean equal words. (Other bytes may name the same words, with other blanks between
    // them; such choices are kept twice and resolve alike.)
    static std::string_view ChoiceBytes(const std::string_view (&choice)[2]) {
        if (choice[1].empty())
            return choice[0];
        return {choice[0].data(),
                static_cast<std::size_t>(choice[1].data() + choice[1].size() - choice[0].data())};
    }
    // The number of the choice with these bytes and key, or -1.
    std::int64_t Find(std::string_view bytes, const Key& key) const {
        if (slots_ == nullptr)
            return -1;
        for (std::size_t b = static_cast<std::size_t>(key.Hash() >> shift_); slots_[b].number != 0;
             b = (b + 1) & mask_) {
            const Slot& s = slots_[b];
            // Up to 24 bytes the key is the name; longer names are compared with a copy
            // nearby rather than with their first place in the file.
            if (s.key == key && (key.size <= kExact ||
                                 SameBytes(items_[s.number - 1].bytes, bytes.data(), bytes.size())))
                return s.number - 1;
        }
        return -1;
    }
    bool AddMissing(Arena& arena, const unsigned char* file, const std::string_view (&first)[2],
                    const std::string_view (&second)[2], std::uint32_t* numbers);
    bool Add(Arena& arena, const unsigned char* file, const std::string_view (&choice)[2],
             std::uint32_t* number);
    bool Grow(Arena& arena);

    Slot* slots_ = nullptr;
    std::size_t mask_ = 0;
    unsigned shift_ = 64;
    unsigned firstBits_ = 6;
    WorkChoice* items_ = nullptr;
    std::uint32_t count_ = 0, capacity_ = 0;
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
    // Room for about this many options from the start, so that the table seldom grows.
    void ExpectOptions(std::size_t count);

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
        unsigned firstBits = 5; // size of the first allocation
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
    WorkConstraintList constraints;
    WorkFeature* openFeature;
};

// State of one parse, shared by the reader, the handlers and the packing.
struct ParseContext {
    ParseContext(const unsigned char* begin, std::size_t size);

    WorkDocument doc{};
    Arena arena;
    NameIndex names;
    ChoiceTable choices;
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

// Appends a constraint; false when memory runs out.
bool AppendConstraintChunk(Arena& arena, WorkConstraintList& list,
                           const WorkConstraint& constraint);
inline bool AppendConstraint(Arena& arena, WorkConstraintList& list,
                             const WorkConstraint& constraint) {
    WorkConstraintList::Chunk* const chunk = list.tail;
    if (chunk == nullptr || chunk->count == chunk->capacity)
        return AppendConstraintChunk(arena, list, constraint);
    chunk->items[chunk->count++] = constraint;
    ++list.count;
    return true;
}

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
