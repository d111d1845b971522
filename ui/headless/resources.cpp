#include "ui/headless/resources.h"

#include <cstdlib>

#include "platform/codepage1250.h"

namespace ui::headless {
namespace {

// A read cursor bounded by the end of its span; any read past the end sets `failed`.
class Cursor {
public:
    explicit Cursor(std::span<const unsigned char> data) : data_(data) {}

    bool Failed() const { return failed_; }
    size_t Offset() const { return offset_; }
    size_t Remaining() const { return failed_ ? 0 : data_.size() - offset_; }

    std::uint16_t Word() {
        if (!Need(2))
            return 0;
        const std::uint16_t value =
            static_cast<std::uint16_t>(data_[offset_] | (data_[offset_ + 1] << 8));
        offset_ += 2;
        return value;
    }

    std::uint32_t Dword() {
        const std::uint32_t low = Word();
        const std::uint32_t high = Word();
        return low | (high << 16);
    }

    short Short() { return static_cast<short>(Word()); }

    unsigned char Byte() {
        if (!Need(1))
            return 0;
        return data_[offset_++];
    }

    // A NUL-terminated UTF-16 string.
    std::u16string String() {
        std::u16string text;
        for (;;) {
            const std::uint16_t unit = Word();
            if (failed_ || unit == 0)
                return text;
            text += static_cast<char16_t>(unit);
        }
    }

    // A resource or template name: 0xFFFF and a number, or a string.
    ResourceName NameOrId() {
        ResourceName name;
        if (!Need(2))
            return name;
        const std::uint16_t first =
            static_cast<std::uint16_t>(data_[offset_] | (data_[offset_ + 1] << 8));
        if (first == 0xFFFF) {
            offset_ += 2;
            name.isId = true;
            name.id = Word();
            return name;
        }
        name.isId = false;
        name.text = String();
        return name;
    }

    void Skip(size_t count) {
        if (Need(count))
            offset_ += count;
    }

    // Aligns to a multiple of four from the start of the span.
    void AlignDword() {
        const size_t aligned = (offset_ + 3) & ~static_cast<size_t>(3);
        if (aligned > data_.size()) {
            // Trailing padding may be missing at the very end.
            offset_ = data_.size();
            return;
        }
        offset_ = aligned;
    }

    std::span<const unsigned char> Take(size_t count) {
        if (!Need(count))
            return {};
        std::span<const unsigned char> part = data_.subspan(offset_, count);
        offset_ += count;
        return part;
    }

private:
    bool Need(size_t count) {
        if (failed_ || data_.size() - offset_ < count) {
            failed_ = true;
            return false;
        }
        return true;
    }

    std::span<const unsigned char> data_;
    size_t offset_ = 0;
    bool failed_ = false;
};

std::string ToCp1250(const std::u16string& text) {
    return platform::Utf16ToCp1250(text);
}

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string PredefinedClass(int ordinal) {
    switch (ordinal) {
    case 0x80:
        return "button";
    case 0x81:
        return "edit";
    case 0x82:
        return "static";
    case 0x83:
        return "listbox";
    case 0x84:
        return "scrollbar";
    case 0x85:
        return "combobox";
    default:
        return "#" + std::to_string(ordinal);
    }
}

constexpr unsigned kDsSetFont = 0x40;

} // namespace

std::optional<ResourceFile> ResourceFile::Parse(std::span<const unsigned char> bytes) {
    ResourceFile file;
    auto copy = std::make_shared<std::vector<unsigned char>>(bytes.begin(), bytes.end());
    file.bytes_ = copy;
    const std::span<const unsigned char> all(*copy);
    Cursor cursor(all);
    while (cursor.Remaining() > 0) {
        const size_t start = cursor.Offset();
        const std::uint32_t dataSize = cursor.Dword();
        const std::uint32_t headerSize = cursor.Dword();
        if (cursor.Failed() || headerSize < 8 || headerSize > cursor.Remaining() + 8)
            return std::nullopt;
        Cursor header(all.subspan(start + 8, headerSize - 8));
        ResourceRecord record;
        record.type = header.NameOrId();
        record.name = header.NameOrId();
        header.AlignDword();
        header.Dword(); // DataVersion
        header.Word();  // MemoryFlags
        record.language = header.Word();
        if (header.Failed())
            return std::nullopt;
        cursor.Skip(headerSize - 8);
        record.data = cursor.Take(dataSize);
        if (cursor.Failed())
            return std::nullopt;
        cursor.AlignDword();
        // The first record of a file is an empty one that marks the format.
        if (!(record.type.isId && record.type.id == 0 && dataSize == 0))
            file.records_.push_back(std::move(record));
    }
    return file;
}

const ResourceRecord* ResourceFile::Find(int type, int id) const {
    for (const ResourceRecord& record : records_) {
        if (record.type.isId && record.type.id == type && record.name.isId && record.name.id == id)
            return &record;
    }
    return nullptr;
}

std::optional<DialogTemplate> ParseDialogTemplate(std::span<const unsigned char> data) {
    Cursor cursor(data);
    DialogTemplate dialog;
    unsigned count = 0;
    const std::uint16_t version = cursor.Word();
    const std::uint16_t signature = cursor.Word();
    if (version == 1 && signature == 0xFFFF) {
        dialog.extended = true;
        dialog.helpId = cursor.Dword();
        dialog.exStyle = cursor.Dword();
        dialog.style = cursor.Dword();
    } else {
        cursor = Cursor(data);
        dialog.style = cursor.Dword();
        dialog.exStyle = cursor.Dword();
    }
    count = cursor.Word();
    dialog.x = cursor.Short();
    dialog.y = cursor.Short();
    dialog.cx = cursor.Short();
    dialog.cy = cursor.Short();
    cursor.NameOrId(); // menu
    cursor.NameOrId(); // class
    dialog.caption = ToCp1250(cursor.String());
    if (dialog.style & kDsSetFont) {
        dialog.pointSize = cursor.Word();
        if (dialog.extended) {
            cursor.Word(); // weight
            cursor.Byte(); // italic
            cursor.Byte(); // charset
        }
        dialog.fontName = ToCp1250(cursor.String());
    }
    if (cursor.Failed())
        return std::nullopt;

    for (unsigned i = 0; i < count; ++i) {
        cursor.AlignDword();
        DialogItemTemplate item;
        if (dialog.extended) {
            item.helpId = cursor.Dword();
            item.exStyle = cursor.Dword();
            item.style = cursor.Dword();
        } else {
            item.style = cursor.Dword();
            item.exStyle = cursor.Dword();
        }
        item.x = cursor.Short();
        item.y = cursor.Short();
        item.cx = cursor.Short();
        item.cy = cursor.Short();
        // A DLGTEMPLATEEX item id is a DWORD (IDC_STATIC reads -1), a DLGTEMPLATE one a WORD.
        item.id = dialog.extended ? static_cast<int>(cursor.Dword()) : cursor.Word();
        const ResourceName className = cursor.NameOrId();
        item.className =
            className.isId ? PredefinedClass(className.id) : LowerAscii(ToCp1250(className.text));
        const ResourceName title = cursor.NameOrId();
        if (title.isId)
            item.textResourceId = title.id;
        else
            item.text = ToCp1250(title.text);
        const std::uint16_t extra = cursor.Word();
        cursor.Skip(extra);
        if (cursor.Failed())
            return std::nullopt;
        dialog.items.push_back(std::move(item));
    }
    return dialog;
}

std::optional<Size> ParseBitmapSize(std::span<const unsigned char> data) {
    Cursor cursor(data);
    const std::uint32_t headerSize = cursor.Dword();
    if (cursor.Failed())
        return std::nullopt;
    if (headerSize == 12) { // BITMAPCOREHEADER
        const int width = cursor.Word();
        const int height = cursor.Word();
        if (cursor.Failed())
            return std::nullopt;
        return Size{width, height};
    }
    if (headerSize < 40)
        return std::nullopt;
    const auto width = static_cast<std::int32_t>(cursor.Dword());
    const auto height = static_cast<std::int32_t>(cursor.Dword());
    if (cursor.Failed() || width <= 0 || height == 0 || height == INT32_MIN)
        return std::nullopt;
    return Size{width, std::abs(height)};
}

} // namespace ui::headless
