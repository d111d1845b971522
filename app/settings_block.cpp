#include "app/settings_block.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace app {
namespace {

constexpr std::size_t WidthOf(FieldType type) {
    switch (type) {
    case FieldType::UInt8:
        return 1;
    case FieldType::Int16:
        return 2;
    case FieldType::Int32:
    case FieldType::Float:
        return 4;
    default:
        return 0;
    }
}

constexpr bool IsInteger(FieldType type) {
    return type == FieldType::UInt8 || type == FieldType::Int16 || type == FieldType::Int32;
}

// Index of the named field called `name`, -1 when there is none. (An index rather than a pointer:
// pointer comparisons in constant expressions trip GCC's sanitizer builds.)
constexpr int IndexOf(std::string_view name) {
    for (int i = 0; i < static_cast<int>(std::size(kSettingsFields)); ++i) {
        if (kSettingsFields[i].named() && name == kSettingsFields[i].name) {
            return i;
        }
    }
    return -1;
}

constexpr const SettingsField& FieldNamed(std::string_view name) {
    return kSettingsFields[IndexOf(name)];
}

// The reset rule fits the field it is attached to.
constexpr bool ResetFitsField(const SettingsField& f) {
    switch (f.reset.kind) {
    case ResetKind::Kept:
        return true;
    case ResetKind::Value:
        return IsInteger(f.type);
    case ResetKind::Text:
        return f.type == FieldType::Text && std::string_view(f.reset.text).size() < f.size;
    case ResetKind::Zero:
        return f.type == FieldType::Bytes;
    case ResetKind::PpdDefault:
    case ResetKind::PpdDefaultOrValue:
    case ResetKind::PpdDefaultOrKept:
        return IsInteger(f.type) && f.reset.ppdKeyword != nullptr;
    case ResetKind::SameAs: {
        const int source = IndexOf(f.reset.text);
        return IsInteger(f.type) && source >= 0 && kSettingsFields[source].type == f.type &&
               kSettingsFields[source].offset < f.offset;
    }
    case ResetKind::DpiOfResolution:
        return f.type == FieldType::Int32;
    }
    return false;
}

// Rows in offset order, no gap, no overlap, widths that match their types, names unique, and
// together exactly the block.
constexpr bool TableCoversBlock() {
    std::size_t next = 0;
    for (int i = 0; i < static_cast<int>(std::size(kSettingsFields)); ++i) {
        const SettingsField& f = kSettingsFields[i];
        if (f.offset != next || f.size == 0) {
            return false;
        }
        if (WidthOf(f.type) != 0 && WidthOf(f.type) != f.size) {
            return false;
        }
        if (f.named() != (std::string_view(f.name).size() > 0) || !ResetFitsField(f)) {
            return false;
        }
        if (f.named() && IndexOf(f.name) != i) {
            return false;
        }
        next = f.offset + f.size;
    }
    return next == PrinterSettingsBlock::kSize;
}
static_assert(TableCoversBlock(), "settings_fields.inc must describe all 1300 bytes once");

constexpr const SettingsField& kOverlaySlots = FieldNamed("overlaySlots");
static_assert(kOverlaySlots.size == kOverlaySlotCount * OverlaySlot::kSize);
static_assert(FieldNamed("watermarkName").offset == WatermarkProfile::kBlockOffset);
static_assert(FieldNamed("watermarkOffsetY").offset + 2 ==
              WatermarkProfile::kBlockOffset + WatermarkProfile::kSize);
static_assert(FieldNamed("colorProfileName").offset == ColorProfileRecord::kBlockOffset);
static_assert(FieldNamed("grayColorModel").offset ==
              ColorProfileRecord::kBlockOffset + ColorProfileRecord::kRestoredSize);
static_assert(FieldNamed("grayColorModel").offset + 2 ==
              ColorProfileRecord::kBlockOffset + ColorProfileRecord::kSize);

bool FitsBlock(const SettingsField& f) {
    return f.offset + std::size_t{f.size} <= PrinterSettingsBlock::kSize;
}

// Terminates every text field that lies inside [begin, begin + size) of the block.
void TerminateTextsIn(std::uint8_t* block, std::size_t begin, std::size_t size) {
    for (const SettingsField& f : kSettingsFields) {
        if (f.type == FieldType::Text && f.offset >= begin && f.offset + f.size <= begin + size) {
            detail::TerminateText(block + f.offset, f.size);
        }
    }
}

} // namespace

std::span<const SettingsField> SettingsFields() {
    return kSettingsFields;
}

const SettingsField* FindSettingsField(std::string_view name) {
    const int index = name.empty() ? -1 : IndexOf(name);
    return index < 0 ? nullptr : &kSettingsFields[index];
}

std::int32_t DpiOfResolutionCode(int code) {
    switch (code) {
    case 1:
        return 300;
    case 3:
        return 1200;
    case 4:
        return 2400;
    default:
        return 600;
    }
}

namespace detail {

std::int16_t LoadInt16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

void StoreInt16(std::uint8_t* p, std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    p[0] = static_cast<std::uint8_t>(u & 0xFF);
    p[1] = static_cast<std::uint8_t>(u >> 8);
}

std::int32_t LoadInt32(const std::uint8_t* p) {
    const std::uint32_t u = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) |
                            (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
    return static_cast<std::int32_t>(u);
}

void StoreInt32(std::uint8_t* p, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>((u >> (8 * i)) & 0xFF);
    }
}

float LoadFloat(const std::uint8_t* p) {
    return std::bit_cast<float>(static_cast<std::uint32_t>(LoadInt32(p)));
}

void StoreFloat(std::uint8_t* p, float v) {
    StoreInt32(p, static_cast<std::int32_t>(std::bit_cast<std::uint32_t>(v)));
}

std::string LoadText(const std::uint8_t* p, std::size_t size) {
    const void* nul = std::memchr(p, 0, size);
    const std::size_t length =
        nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - p) : size;
    return std::string(reinterpret_cast<const char*>(p), length);
}

bool StoreText(std::uint8_t* p, std::size_t size, std::string_view text) {
    if (size == 0) {
        return text.empty();
    }
    const std::size_t untilNul = std::min(text.find('\0'), text.size());
    const std::size_t length = std::min(untilNul, size - 1);
    std::memcpy(p, text.data(), length);
    std::memset(p + length, 0, size - length);
    return length == text.size();
}

void TerminateText(std::uint8_t* p, std::size_t size) {
    if (size > 0 && std::memchr(p, 0, size) == nullptr) {
        p[size - 1] = 0;
    }
}

} // namespace detail

bool PrinterSettingsBlock::assign(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kSize) {
        return false;
    }
    std::copy(bytes.begin(), bytes.end(), bytes_.begin());
    return true;
}

OverlaySlot PrinterSettingsBlock::overlaySlot(int index) const {
    OverlaySlot slot;
    if (index >= 0 && index < kOverlaySlotCount) {
        const std::size_t at = kOverlaySlots.offset + index * OverlaySlot::kSize;
        std::copy_n(bytes_.begin() + at, OverlaySlot::kSize, slot.bytes.begin());
    }
    return slot;
}

void PrinterSettingsBlock::setOverlaySlot(int index, const OverlaySlot& slot) {
    if (index < 0 || index >= kOverlaySlotCount) {
        return;
    }
    const std::size_t at = kOverlaySlots.offset + index * OverlaySlot::kSize;
    std::copy(slot.bytes.begin(), slot.bytes.end(), bytes_.begin() + at);
    detail::TerminateText(&bytes_[at + OverlaySlot::kFileNameOffset], OverlaySlot::kFileNameSize);
}

void PrinterSettingsBlock::setOverlayEnabled(int index, std::int16_t v) {
    OverlaySlot slot = overlaySlot(index);
    slot.setEnabled(v);
    setOverlaySlot(index, slot);
}

bool PrinterSettingsBlock::setOverlayFileName(int index, std::string_view text) {
    if (index < 0 || index >= kOverlaySlotCount) {
        return false;
    }
    OverlaySlot slot = overlaySlot(index);
    const bool fitted = slot.setFileName(text);
    setOverlaySlot(index, slot);
    return fitted;
}

void PrinterSettingsBlock::setOverlayDevice(int index, std::int16_t v) {
    OverlaySlot slot = overlaySlot(index);
    slot.setDevice(v);
    setOverlaySlot(index, slot);
}

WatermarkProfile PrinterSettingsBlock::watermarkProfile() const {
    WatermarkProfile profile;
    std::copy_n(bytes_.begin() + WatermarkProfile::kBlockOffset, WatermarkProfile::kSize,
                profile.bytes.begin());
    return profile;
}

void PrinterSettingsBlock::setWatermarkProfile(const WatermarkProfile& profile) {
    std::copy(profile.bytes.begin(), profile.bytes.end(),
              bytes_.begin() + WatermarkProfile::kBlockOffset);
    TerminateTextsIn(bytes_.data(), WatermarkProfile::kBlockOffset, WatermarkProfile::kSize);
}

ColorProfileRecord PrinterSettingsBlock::colorProfileRecord() const {
    ColorProfileRecord record;
    std::copy_n(bytes_.begin() + ColorProfileRecord::kBlockOffset, ColorProfileRecord::kSize,
                record.bytes.begin());
    return record;
}

void PrinterSettingsBlock::setColorProfileRecord(const ColorProfileRecord& record) {
    std::copy_n(record.bytes.begin(), ColorProfileRecord::kRestoredSize,
                bytes_.begin() + ColorProfileRecord::kBlockOffset);
    TerminateTextsIn(bytes_.data(), ColorProfileRecord::kBlockOffset,
                     ColorProfileRecord::kRestoredSize);
}

std::int64_t PrinterSettingsBlock::readInteger(const SettingsField& field) const {
    if (!FitsBlock(field)) {
        return 0;
    }
    const std::uint8_t* p = &bytes_[field.offset];
    switch (field.type) {
    case FieldType::UInt8:
        return p[0];
    case FieldType::Int16:
        return detail::LoadInt16(p);
    case FieldType::Int32:
        return detail::LoadInt32(p);
    default:
        return 0;
    }
}

bool PrinterSettingsBlock::writeInteger(const SettingsField& field, std::int64_t value) {
    if (!FitsBlock(field)) {
        return false;
    }
    std::uint8_t* p = &bytes_[field.offset];
    switch (field.type) {
    case FieldType::UInt8:
        if (value < 0 || value > std::numeric_limits<std::uint8_t>::max()) {
            return false;
        }
        p[0] = static_cast<std::uint8_t>(value);
        return true;
    case FieldType::Int16:
        if (value < std::numeric_limits<std::int16_t>::min() ||
            value > std::numeric_limits<std::int16_t>::max()) {
            return false;
        }
        detail::StoreInt16(p, static_cast<std::int16_t>(value));
        return true;
    case FieldType::Int32:
        if (value < std::numeric_limits<std::int32_t>::min() ||
            value > std::numeric_limits<std::int32_t>::max()) {
            return false;
        }
        detail::StoreInt32(p, static_cast<std::int32_t>(value));
        return true;
    default:
        return false;
    }
}

float PrinterSettingsBlock::readFloat(const SettingsField& field) const {
    if (!FitsBlock(field) || field.type != FieldType::Float) {
        return 0.0f;
    }
    return detail::LoadFloat(&bytes_[field.offset]);
}

bool PrinterSettingsBlock::writeFloat(const SettingsField& field, float value) {
    if (!FitsBlock(field) || field.type != FieldType::Float) {
        return false;
    }
    detail::StoreFloat(&bytes_[field.offset], value);
    return true;
}

std::string PrinterSettingsBlock::readText(const SettingsField& field) const {
    if (!FitsBlock(field) || field.type != FieldType::Text) {
        return {};
    }
    return detail::LoadText(&bytes_[field.offset], field.size);
}

bool PrinterSettingsBlock::writeText(const SettingsField& field, std::string_view text) {
    if (!FitsBlock(field) || field.type != FieldType::Text) {
        return false;
    }
    return detail::StoreText(&bytes_[field.offset], field.size, text);
}

void ApplyNewBlockDefaults(PrinterSettingsBlock& block) {
    // Values first, then the fields that derive from them.
    for (const SettingsField& f : kSettingsFields) {
        switch (f.reset.kind) {
        case ResetKind::Value:
        case ResetKind::PpdDefault:
        case ResetKind::PpdDefaultOrValue:
        case ResetKind::PpdDefaultOrKept:
            block.writeInteger(f, f.reset.value);
            break;
        case ResetKind::Text:
            block.writeText(f, f.reset.text);
            break;
        case ResetKind::Zero:
            std::fill_n(block.data() + f.offset, f.size, std::uint8_t{0});
            break;
        default:
            break;
        }
    }
    for (const SettingsField& f : kSettingsFields) {
        if (f.reset.kind == ResetKind::SameAs) {
            block.writeInteger(f, block.readInteger(FieldNamed(f.reset.text)));
        } else if (f.reset.kind == ResetKind::DpiOfResolution) {
            block.writeInteger(f, DpiOfResolutionCode(block.resolutionCode()));
        }
    }
}

} // namespace app
