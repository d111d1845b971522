#include "ppd/model.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "ppd/reader.h"

namespace ppd {

const SlotRow kSlotRows[kSlotCount] = {
    {"PageSize", OptionKind::kPage, kUiPickOne},
    {"InputSlot", OptionKind::kSlot, kUiPickOne},
    {"ManualFeed", OptionKind::kInvocation, kUiBoolean},
    {"Duplex", OptionKind::kInvocation, kUiPickOne},
    {"Collate", OptionKind::kInvocation, kUiBoolean},
    {"Resolution", OptionKind::kResolution, kUiPickOne},
    {"VMOption", OptionKind::kMemory, kUiPickOne},
};

// ---- arena ---------------------------------------------------------------------------------

// Chunks of finished parses, kept for the next parse so that loading many files does not go
// back to the system allocator (and fresh pages) for every one.
struct ChunkCache {
    static constexpr std::size_t kMaxBytes = 4 * 1024 * 1024;
    Arena::Chunk* chunks = nullptr;
    std::size_t bytes = 0;

    ~ChunkCache() {
        while (chunks != nullptr) {
            Arena::Chunk* next = chunks->next;
            std::free(chunks);
            chunks = next;
        }
    }
    Arena::Chunk* Take(std::size_t size) {
        for (Arena::Chunk** link = &chunks; *link != nullptr; link = &(*link)->next) {
            if ((*link)->size >= size) {
                Arena::Chunk* c = *link;
                *link = c->next;
                bytes -= c->size;
                return c;
            }
        }
        return nullptr;
    }
    void Give(Arena::Chunk* c) {
        if (bytes + c->size > kMaxBytes) {
            std::free(c);
            return;
        }
        c->next = chunks;
        chunks = c;
        bytes += c->size;
    }
};

namespace {
thread_local ChunkCache chunkCache;
} // namespace

Arena::~Arena() {
    while (chunks_ != nullptr) {
        Chunk* next = chunks_->next;
        chunkCache.Give(chunks_);
        chunks_ = next;
    }
}

void* Arena::AllocateRaw(std::size_t size) {
    size = (size + 7) & ~std::size_t{7};
    if (static_cast<std::size_t>(end_ - cursor_) < size) {
        const std::size_t header = (sizeof(Chunk) + 7) & ~std::size_t{7};
        std::size_t chunk = nextChunk_;
        if (chunk < size + header)
            chunk = size + header;
        if (limit_ != 0 && (chunk > limit_ || reserved_ > limit_ - chunk))
            return nullptr;
        Chunk* c = chunkCache.Take(chunk);
        if (c == nullptr) {
            c = static_cast<Chunk*>(std::malloc(chunk));
            if (c == nullptr)
                return nullptr;
            c->size = chunk;
        }
        chunk = c->size;
        void* memory = c;
        c->next = chunks_;
        chunks_ = c;
        reserved_ += chunk;
        cursor_ = static_cast<char*>(memory) + header;
        end_ = static_cast<char*>(memory) + chunk;
        if (nextChunk_ < 256 * 1024)
            nextChunk_ *= 2;
    }
    void* result = cursor_;
    cursor_ += size;
    return result;
}

void* Arena::Allocate(std::size_t size) {
    void* memory = AllocateRaw(size);
    if (memory != nullptr)
        std::memset(memory, 0, size);
    return memory;
}

char* Arena::AllocateText(std::size_t size) {
    return static_cast<char*>(AllocateRaw(size));
}

// ---- parse context -------------------------------------------------------------------------

ParseContext::ParseContext(const unsigned char* data, std::size_t size)
    : begin(data), end(data + size), countedTo_(data) {
    InitWorkDocument(doc);
    // Real PPDs hold about one option per kilobyte and one constraint choice per four.
    names.ExpectOptions(size / 1024);
    choices.Expect(size / 4096);
}

std::uint32_t ParseContext::LineAt(const unsigned char* position) {
    if (position == nullptr)
        return 0;
    if (position < countedTo_) {
        countedTo_ = begin;
        countedLines_ = 1;
    }
    for (const unsigned char* p = countedTo_; p < position; ++p) {
        if (*p == '\n' || (*p == '\r' && (p + 1 == end || p[1] != '\n')))
            ++countedLines_;
    }
    countedTo_ = position;
    return countedLines_;
}

std::uint32_t ParseContext::EntryLine() {
    return LineAt(entryStart);
}

void ParseContext::Report(DiagnosticKind kind, std::string_view keyword, std::string_view option,
                          std::string_view detail, std::uint32_t line) {
    if (diagnostics != nullptr)
        diagnostics->Report(Diagnostic{kind, line, keyword, option, detail});
}

// ---- name index ----------------------------------------------------------------------------

namespace {

constexpr std::uint32_t kNoOwner = 0xFFFFFFFF;

const WorkText& NameOf(const void* item, bool option) {
    return option ? static_cast<const WorkOption*>(item)->name
                  : static_cast<const WorkFeature*>(item)->name;
}

std::uint64_t SlotHash(std::uint64_t head, std::uint64_t tail, std::uint32_t size,
                       std::uint32_t owner) {
    NameKey key{std::string_view{}};
    key.head = head;
    key.tail = tail;
    key.size = size;
    return key.Hash(owner);
}

} // namespace

void NameIndex::Place(Table& table, const Slot& slot, std::uint64_t hash) {
    std::size_t b = static_cast<std::size_t>(hash >> table.shift);
    while (table.slots[b].item != nullptr)
        b = (b + 1) & table.mask;
    table.slots[b] = slot;
}

bool NameIndex::Insert(Arena& arena, Table& table, const Slot& slot, std::uint64_t hash) {
    if (table.slots == nullptr || (table.count + 1) * 2 > table.mask + 1) {
        // Double (the old table stays in the arena until the parse ends).
        const unsigned bits = table.slots == nullptr ? table.firstBits : 65 - table.shift;
        Table grown;
        grown.shift = 64 - bits;
        grown.mask = (std::size_t{1} << bits) - 1;
        grown.slots = static_cast<Slot*>(arena.Allocate(sizeof(Slot) * (grown.mask + 1)));
        if (grown.slots == nullptr)
            return false;
        for (std::size_t i = 0; table.slots != nullptr && i <= table.mask; ++i) {
            const Slot& s = table.slots[i];
            if (s.item != nullptr)
                Place(grown, s, SlotHash(s.head, s.tail, s.size, s.owner));
        }
        grown.count = table.count;
        table = grown;
    }
    Place(table, slot, hash);
    ++table.count;
    return true;
}

namespace {

// Bits of a table that holds `count` items at most half full, between `least` and 16.
unsigned TableBits(std::size_t count, unsigned least) {
    unsigned bits = least;
    while (bits < 16 && (std::size_t{1} << bits) < 2 * count)
        ++bits;
    return bits;
}

} // namespace

void NameIndex::ExpectOptions(std::size_t count) {
    options_.firstBits = TableBits(count, 5);
}

bool NameIndex::AddFeature(Arena& arena, WorkFeature* feature) {
    const NameKey key(feature->name.view());
    return Insert(arena, features_, Slot{key.head, key.tail, feature, key.size, kNoOwner},
                  key.Hash(kNoOwner));
}

bool NameIndex::AddOption(Arena& arena, const WorkFeature* feature, WorkOption* option) {
    const NameKey key(option->name.view());
    return Insert(arena, options_, Slot{key.head, key.tail, option, key.size, feature->serial},
                  key.Hash(feature->serial));
}

template <class T>
T* NameIndex::Find(const Table& table, std::string_view name, std::uint32_t owner) {
    if (table.slots == nullptr)
        return nullptr;
    const NameKey key(name);
    for (std::size_t b = static_cast<std::size_t>(key.Hash(owner) >> table.shift);
         table.slots[b].item != nullptr; b = (b + 1) & table.mask) {
        const Slot& s = table.slots[b];
        if (s.head != key.head || s.tail != key.tail || s.size != key.size || s.owner != owner)
            continue;
        // Up to 16 bytes the key is the name; longer names are compared.
        if (key.size <= NameKey::kExact)
            return static_cast<T*>(s.item);
        const WorkText& stored = NameOf(s.item, owner != kNoOwner);
        if (SameBytes(stored.data, name.data(), name.size()))
            return static_cast<T*>(s.item);
    }
    return nullptr;
}

WorkFeature* NameIndex::FindFeature(std::string_view name) const {
    return Find<WorkFeature>(features_, name, kNoOwner);
}

WorkOption* NameIndex::FindOption(const WorkFeature* feature, std::string_view name) const {
    if (feature == nullptr)
        return nullptr;
    return Find<WorkOption>(options_, name, feature->serial);
}

// ---- constraints ---------------------------------------------------------------------------

bool AppendConstraintChunk(Arena& arena, WorkConstraintList& list,
                           const WorkConstraint& constraint) {
    WorkConstraintList::Chunk* chunk = list.tail;
    if (chunk == nullptr || chunk->count == chunk->capacity) {
        const std::uint32_t capacity =
            chunk == nullptr ? 64 : (chunk->capacity < 4096 ? chunk->capacity * 2 : 4096);
        const std::size_t header = (sizeof(WorkConstraintList::Chunk) + 7) & ~std::size_t{7};
        auto* memory =
            static_cast<char*>(arena.AllocateText(header + sizeof(WorkConstraint) * capacity));
        if (memory == nullptr)
            return false;
        auto* fresh = reinterpret_cast<WorkConstraintList::Chunk*>(memory);
        fresh->next = nullptr;
        fresh->items = reinterpret_cast<WorkConstraint*>(memory + header);
        fresh->count = 0;
        fresh->capacity = capacity;
        if (chunk != nullptr)
            chunk->next = fresh;
        else
            list.head = fresh;
        list.tail = chunk = fresh;
    }
    chunk->items[chunk->count++] = constraint;
    ++list.count;
    return true;
}

void ChoiceTable::Expect(std::size_t count) {
    firstBits_ = TableBits(count, 6);
}

bool ChoiceTable::Grow(Arena& arena) {
    // The choices: an array that doubles (the old one stays in the arena until the parse ends).
    if (count_ == capacity_) {
        const std::uint32_t capacity = capacity_ == 0 ? 32 : capacity_ * 2;
        if (capacity < capacity_)
            return false;
        auto* items =
            reinterpret_cast<WorkChoice*>(arena.AllocateText(sizeof(WorkChoice) * capacity));
        if (items == nullptr)
            return false;
        if (count_ != 0)
            std::memcpy(items, items_, sizeof(WorkChoice) * count_);
        items_ = items;
        capacity_ = capacity;
    }
    // The index: at most half full.
    if (slots_ == nullptr || (std::size_t{count_} + 1) * 2 > mask_ + 1) {
        const unsigned bits = slots_ == nullptr ? firstBits_ : 65 - shift_;
        const std::size_t size = std::size_t{1} << bits;
        auto* slots = static_cast<Slot*>(arena.Allocate(sizeof(Slot) * size));
        if (slots == nullptr)
            return false;
        const unsigned shift = 64 - bits;
        for (std::size_t i = 0; slots_ != nullptr && i <= mask_; ++i) {
            const Slot& old = slots_[i];
            if (old.number == 0)
                continue;
            std::size_t b = static_cast<std::size_t>(old.key.Hash() >> shift);
            while (slots[b].number != 0)
                b = (b + 1) & (size - 1);
            slots[b] = old;
        }
        slots_ = slots;
        mask_ = size - 1;
        shift_ = shift;
    }
    return true;
}

bool ChoiceTable::Add(Arena& arena, const unsigned char* file, const std::string_view (&choice)[2],
                      std::uint32_t* number) {
    const std::string_view bytes = ChoiceBytes(choice);
    char* copy = nullptr;
    if (bytes.size() > kExact) {
        copy = arena.AllocateText(bytes.size());
        if (copy == nullptr)
            return false;
        std::memcpy(copy, bytes.data(), bytes.size());
    }
    if (!Grow(arena))
        return false;
    const auto offset = [&](std::string_view name) {
        return static_cast<std::uint32_t>(reinterpret_cast<const unsigned char*>(name.data()) -
                                          file);
    };
    WorkChoice& c = items_[count_];
    c = WorkChoice{};
    c.featureStart = offset(choice[0]);
    c.optionStart = choice[1].empty() ? c.featureStart : offset(choice[1]);
    c.featureSize = static_cast<std::uint8_t>(choice[0].size());
    c.optionSize = static_cast<std::uint8_t>(choice[1].size());
    c.bytes = copy;
    const Key key(bytes);
    std::size_t b = static_cast<std::size_t>(key.Hash() >> shift_);
    while (slots_[b].number != 0)
        b = (b + 1) & mask_;
    slots_[b] = Slot{key, count_ + 1};
    *number = count_++;
    return true;
}

bool ChoiceTable::AddMissing(Arena& arena, const unsigned char* file,
                             const std::string_view (&first)[2],
                             const std::string_view (&second)[2], std::uint32_t* numbers) {
    // One after the other: the second choice may be the first one, new a moment ago.
    for (int i = 0; i < 2; ++i) {
        const std::string_view(&choice)[2] = i == 0 ? first : second;
        const std::string_view bytes = ChoiceBytes(choice);
        const std::int64_t found = Find(bytes, Key(bytes));
        if (found >= 0)
            numbers[i] = static_cast<std::uint32_t>(found);
        else if (!Add(arena, file, choice, &numbers[i]))
            return false;
    }
    return true;
}

// ---- working document ----------------------------------------------------------------------

void InitWorkDocument(WorkDocument& doc) {
    doc = WorkDocument{};
    doc.languageLevel = 1;
    doc.suggestedWaitTimeout = 240;
    doc.screenAngle = 45 * 256;
    doc.screenFreq = 60 * 256;
}

namespace {

WorkText ViewText(std::string_view text) {
    return {text.data(), static_cast<std::uint32_t>(text.size())};
}

bool SameName(const WorkText& name, std::uint32_t nameHash, std::string_view other,
              std::uint32_t otherHash) {
    return nameHash == otherHash && name.size == other.size() &&
           SameBytes(name.data, other.data(), other.size());
}

} // namespace

Result StoreString(ParseContext& ctx, WorkText& destination, std::string_view source, bool hex) {
    if (destination.present())
        return kOk;
    if (!hex || source.find('<') == std::string_view::npos) {
        // The text stays where it is in the file until the document is packed.
        destination = ViewText(source);
        if (destination.data == nullptr)
            destination.data = ""; // an empty string is still a string
        return kOk;
    }
    char* decoded = ctx.arena.AllocateText(source.size() + 1);
    if (decoded == nullptr)
        return kOutOfMemory;
    std::size_t length = 0;
    if (DecodeHexText(source, decoded, &length) != kOk)
        return ctx.Fail("malformed hexadecimal text");
    // A decoded NUL ends the string, as it would for a C string.
    if (const void* nul = std::memchr(decoded, 0, length))
        length = static_cast<std::size_t>(static_cast<const char*>(nul) - decoded);
    decoded[length] = '\0';
    destination = {decoded, static_cast<std::uint32_t>(length)};
    return kOk;
}

Result GetFeature(ParseContext& ctx, std::uint16_t slot, std::string_view name,
                  WorkFeature** feature) {
    WorkDocument& doc = ctx.doc;
    if (slot >= kGenericSlot) {
        slot = kGenericSlot;
        for (std::uint16_t s = 0; s < kSlotCount; ++s) {
            if (name == kSlotRows[s].keyword) {
                slot = s;
                break;
            }
        }
    }
    std::uint32_t hash = 0;
    if (slot < kSlotCount) {
        if (doc.slots[slot] != nullptr) {
            *feature = doc.slots[slot];
            return kOk;
        }
        name = kSlotRows[slot].keyword;
        hash = NameHash(name);
    } else {
        if (WorkFeature* f = ctx.names.FindFeature(name)) {
            *feature = f;
            return kOk;
        }
        hash = NameHash(name);
    }
    WorkFeature* f = ctx.arena.New<WorkFeature>();
    if (f == nullptr)
        return kOutOfMemory;
    f->name = ViewText(name);
    f->nameHash = hash;
    f->slot = slot;
    if (slot < kSlotCount) {
        f->optionKind = kSlotRows[slot].kind;
        f->uiType = kSlotRows[slot].uiType;
        f->installable = slot == kMemorySlot ? 1 : 0;
        doc.slots[slot] = f;
    } else {
        f->optionKind = OptionKind::kInvocation;
        f->uiType = kUiPickOne;
        f->installable = doc.installableGroupOpen != 0 ? 1 : 0;
    }
    if (ctx.diagnostics != nullptr)
        f->line = ctx.EntryLine();
    f->serial = doc.features.count;
    if (!ctx.names.AddFeature(ctx.arena, f))
        return kOutOfMemory;
    doc.features.Append(f);
    *feature = f;
    return kOk;
}

WorkFeature* FindWorkFeature(ParseContext& ctx, std::string_view name) {
    return ctx.names.FindFeature(name);
}

WorkOption* FindWorkOption(ParseContext& ctx, WorkFeature* feature, std::string_view name,
                           std::uint32_t hash) {
    // The blocks of a PPD tend to name the options in the same order: try the next one first.
    if (WorkOption* last = feature->lastFound) {
        if (last->next != nullptr && SameName(last->next->name, last->next->nameHash, name, hash))
            return feature->lastFound = last->next;
        if (SameName(last->name, last->nameHash, name, hash))
            return last;
    }
    WorkOption* o = ctx.names.FindOption(feature, name);
    if (o != nullptr)
        feature->lastFound = o;
    return o;
}

Result GetOption(ParseContext& ctx, WorkFeature* feature, const PpdEntry& entry,
                 WorkOption** option) {
    const std::uint32_t hash = NameHash(entry.option);
    if (WorkOption* found = FindWorkOption(ctx, feature, entry.option, hash)) {
        if (!entry.translation.empty()) {
            const Result r = StoreString(ctx, found->translation, entry.translation, true);
            if (r != kOk)
                return r;
        }
        *option = found;
        return kOk;
    }
    WorkOption* o = ctx.arena.New<WorkOption>();
    if (o == nullptr)
        return kOutOfMemory;
    o->name = ViewText(entry.option);
    if (o->name.data == nullptr)
        o->name.data = "";
    o->nameHash = hash;
    if (!entry.translation.empty()) {
        // Unlike on an existing option, a malformed translation here stops the parse.
        const Result r = StoreString(ctx, o->translation, entry.translation, true);
        if (r != kOk) {
            if (r == kSyntaxError)
                ctx.reason = "malformed hexadecimal translation of a new option";
            return kOutOfMemory;
        }
    }
    if (!ctx.names.AddOption(ctx.arena, feature, o))
        return kOutOfMemory;
    feature->options.Append(o);
    feature->lastFound = o;
    *option = o;
    return kOk;
}

Result GetSlotOption(ParseContext& ctx, std::uint16_t slot, const PpdEntry& entry,
                     WorkOption** option) {
    WorkFeature* feature = nullptr;
    const Result r = GetFeature(ctx, slot, entry.keyword, &feature);
    if (r != kOk)
        return r;
    return GetOption(ctx, feature, entry, option);
}

} // namespace ppd
