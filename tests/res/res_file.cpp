#include "tests/res/res_file.h"

#include "res/compiled_resources.h"

#include <algorithm>
#include <cctype>

namespace restest {
namespace {

// A cursor over a byte span; every read past the end makes it fail and stay failed.
class Reader {
public:
    explicit Reader(std::span<const unsigned char> bytes) : bytes_(bytes) {}

    bool ok() const { return ok_; }
    std::size_t pos() const { return pos_; }
    std::size_t left() const { return ok_ ? bytes_.size() - pos_ : 0; }

    std::uint16_t U16() {
        if (!Need(2))
            return 0;
        std::uint16_t v = bytes_[pos_] | bytes_[pos_ + 1] << 8;
        pos_ += 2;
        return v;
    }
    std::uint32_t U32() {
        std::uint32_t lo = U16();
        std::uint32_t hi = U16();
        return lo | hi << 16;
    }
    std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
    std::uint8_t U8() {
        if (!Need(1))
            return 0;
        return bytes_[pos_++];
    }
    std::u16string String() {
        std::u16string s;
        for (;;) {
            char16_t c = U16();
            if (!ok_ || c == 0)
                return s;
            s.push_back(c);
        }
    }
    // An ordinal (0xFFFF then a WORD) or a string; 0x0000 alone is an empty name.
    ResId Id() {
        ResId id;
        if (Need(2) && bytes_[pos_] == 0xFF && bytes_[pos_ + 1] == 0xFF) {
            pos_ += 2;
            id.ordinal = U16();
        } else {
            id.name = String();
        }
        return id;
    }
    void Skip(std::size_t n) {
        if (Need(n))
            pos_ += n;
    }
    void AlignTo(std::size_t base, std::size_t alignment) {
        std::size_t rel = pos_ - base;
        std::size_t pad = (alignment - rel % alignment) % alignment;
        if (pad > left()) {
            pos_ = bytes_.size(); // a record may end before its padding at the end of the file
            return;
        }
        pos_ += pad;
    }
    std::span<const unsigned char> Bytes(std::size_t n) {
        if (!Need(n))
            return {};
        auto s = bytes_.subspan(pos_, n);
        pos_ += n;
        return s;
    }

private:
    bool Need(std::size_t n) {
        if (!ok_ || bytes_.size() - pos_ < n)
            ok_ = false;
        return ok_;
    }

    std::span<const unsigned char> bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

std::u16string Upper(std::u16string s) {
    for (char16_t& c : s)
        if (c < 128)
            c = static_cast<char16_t>(std::toupper(static_cast<int>(c)));
    return s;
}

ControlKind KindOfName(const std::u16string& name) {
    static const struct {
        const char16_t* name;
        ControlKind kind;
    } kNames[] = {
        {u"BUTTON", ControlKind::Button},
        {u"EDIT", ControlKind::Edit},
        {u"STATIC", ControlKind::Static},
        {u"LISTBOX", ControlKind::ListBox},
        {u"SCROLLBAR", ControlKind::ScrollBar},
        {u"COMBOBOX", ControlKind::ComboBox},
        {u"MSCTLS_UPDOWN32", ControlKind::UpDown},
        {u"MSCTLS_PROGRESS32", ControlKind::Progress},
        {u"SYSDATETIMEPICK32", ControlKind::DateTime},
    };
    const std::u16string upper = Upper(name);
    for (const auto& n : kNames)
        if (upper == n.name)
            return n.kind;
    return ControlKind::Other;
}

} // namespace

std::optional<std::vector<ResRecord>> ParseRes(std::span<const unsigned char> bytes) {
    std::vector<ResRecord> records;
    Reader r(bytes);
    while (r.left() > 0) {
        const std::size_t start = r.pos();
        const std::uint32_t dataSize = r.U32();
        const std::uint32_t headerSize = r.U32();
        ResRecord rec;
        rec.type = r.Id();
        rec.name = r.Id();
        r.AlignTo(start, 4);
        r.U32(); // data version
        r.U16(); // memory flags
        rec.language = r.U16();
        r.U32(); // version
        r.U32(); // characteristics
        if (!r.ok() || r.pos() - start != headerSize)
            return std::nullopt;
        rec.data = r.Bytes(dataSize);
        if (!r.ok())
            return std::nullopt;
        r.AlignTo(start, 4);
        if (dataSize != 0 || rec.type.ordinal != 0 || !rec.type.name.empty())
            records.push_back(rec);
    }
    return records;
}

const ResRecord* FindRecord(const std::vector<ResRecord>& records, std::uint16_t type,
                            std::uint16_t name) {
    for (const ResRecord& rec : records)
        if (rec.type.name.empty() && rec.type.ordinal == type && rec.name.name.empty() &&
            rec.name.ordinal == name)
            return &rec;
    return nullptr;
}

std::optional<DialogTemplate> ParseDialog(std::span<const unsigned char> data) {
    Reader r(data);
    DialogTemplate d;
    if (r.U16() != 1 || r.U16() != 0xFFFF)
        return std::nullopt; // only DLGTEMPLATEEX
    r.U32();                 // help id
    d.exStyle = r.U32();
    d.style = r.U32();
    const int count = r.U16();
    d.x = r.I16();
    d.y = r.I16();
    d.cx = r.I16();
    d.cy = r.I16();
    r.Id(); // menu
    r.Id(); // class
    d.caption = r.String();
    if (d.style & 0x40) { // DS_SETFONT
        d.pointSize = r.U16();
        r.U16(); // weight
        r.U8();  // italic
        r.U8();  // charset
        d.face = r.String();
    }
    for (int i = 0; i < count && r.ok(); ++i) {
        r.AlignTo(0, 4);
        DialogItem item;
        item.helpId = r.U32();
        item.exStyle = r.U32();
        item.style = r.U32();
        item.x = r.I16();
        item.y = r.I16();
        item.cx = r.I16();
        item.cy = r.I16();
        item.id = static_cast<std::int32_t>(r.U32());
        ResId cls = r.Id();
        if (cls.name.empty()) {
            item.kind = cls.ordinal >= 0x80 && cls.ordinal <= 0x85
                            ? static_cast<ControlKind>(cls.ordinal - 0x80)
                            : ControlKind::Other;
        } else {
            item.className = cls.name;
            item.kind = KindOfName(cls.name);
        }
        ResId text = r.Id();
        if (text.name.empty() && text.ordinal != 0)
            item.textOrdinal = text.ordinal;
        item.text = text.name;
        r.Skip(r.U16()); // creation data
        d.items.push_back(item);
    }
    if (!r.ok())
        return std::nullopt;
    return d;
}

std::optional<Dib> ParseDib4(std::span<const unsigned char> data, bool icon) {
    Reader r(data);
    const std::uint32_t headerSize = r.U32();
    const std::int32_t width = static_cast<std::int32_t>(r.U32());
    std::int32_t height = static_cast<std::int32_t>(r.U32());
    const int planes = r.U16();
    const int bits = r.U16();
    const std::uint32_t compression = r.U32();
    r.U32(); // image size
    r.U32(); // horizontal resolution
    r.U32(); // vertical resolution
    const std::uint32_t used = r.U32();
    r.U32(); // important colours
    if (!r.ok() || headerSize != 40 || planes != 1 || bits != 4 || compression != 0 ||
        (used != 0 && used != 16) || width <= 0 || width > 4096 || height <= 0 || height > 8192)
        return std::nullopt;
    if (icon) {
        if (height % 2 != 0)
            return std::nullopt;
        height /= 2;
    }
    Dib dib;
    dib.width = width;
    dib.height = height;
    for (std::uint32_t& colour : dib.palette) {
        const std::uint32_t b = r.U8(), g = r.U8(), red = r.U8();
        r.U8();
        colour = red << 16 | g << 8 | b;
    }
    const std::size_t stride = (static_cast<std::size_t>(width) * 4 + 31) / 32 * 4;
    auto bitsSpan = r.Bytes(stride * static_cast<std::size_t>(height));
    if (!r.ok())
        return std::nullopt;
    if (icon) {
        const std::size_t maskStride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
        r.Bytes(maskStride * static_cast<std::size_t>(height));
        if (!r.ok())
            return std::nullopt;
    }
    dib.pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const auto row = bitsSpan.subspan((height - 1 - y) * stride, stride);
        for (int x = 0; x < width; ++x) {
            const unsigned char byte = row[x / 2];
            dib.pixels[static_cast<std::size_t>(y) * width + x] =
                x % 2 == 0 ? byte >> 4 : byte & 0x0F;
        }
    }
    return dib;
}

const std::vector<ResRecord>& ProgramRecords() {
    static const std::vector<ResRecord> records =
        ParseRes(res::CompiledResources()).value_or(std::vector<ResRecord>{});
    return records;
}

} // namespace restest
