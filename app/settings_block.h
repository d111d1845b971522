#pragma once
// The printer settings block: the 1300-byte record the driver and this program exchange. Every
// field is declared once, in app/settings_fields.inc; that table generates the typed accessors
// below and the runtime field list (SettingsFields) that tools and tests walk. The layout is a
// wire format: packed, little-endian on every host, and the reserved bytes are never written by
// the accessors, so they travel back to the driver unchanged.
//
// Texts are code page 1250 bytes, NUL-terminated inside their arrays. A text setter copies at
// most size-1 bytes, stops at an embedded NUL, zero-fills the rest of the array (so records
// stored elsewhere compare and persist byte for byte) and always leaves the terminator inside
// the array. A text that does not fit is cut to what fits, and the setter returns false: pages
// that must refuse it check the result, pages whose fields are "cut to N characters" ignore it.
// A getter reads up to the terminator, or up to the array's end in a block whose text has none.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace app {

enum class FieldType : std::uint8_t { UInt8, Int16, Int32, Float, Text, Bytes, Reserved };

// What the reset to defaults stores in a field.
enum class ResetKind : std::uint8_t {
    Kept,  // not touched by the reset (zero in a new block)
    Value, // `value`
    Text,  // `text`, code page 1250
    Zero,  // every byte 0 (the overlay slots: disabled, no name, device 0)
    // The code of the PPD's default option of feature `ppdKeyword`, `value` when the PPD gives
    // no default. Without a loaded PPD the reset keeps the field.
    PpdDefault,
    // As PpdDefault, but without a loaded PPD the reset stores `value`.
    PpdDefaultOrValue,
    // The PPD's default when it gives one, else the field is kept. `value` is what a new block
    // without a PPD gets.
    PpdDefaultOrKept,
    // The value just stored in the field named by `text`.
    SameAs,
    // DpiOfResolutionCode of the code the reset took from the PPD; 600 when the PPD gives no
    // default resolution; kept without a loaded PPD.
    DpiOfResolution,
};

struct ResetRule {
    ResetKind kind = ResetKind::Kept;
    std::int32_t value = 0;
    const char* text = nullptr;
    const char* ppdKeyword = nullptr;

    static constexpr ResetRule Kept() { return {}; }
    static constexpr ResetRule Value(std::int32_t v) { return {ResetKind::Value, v}; }
    static constexpr ResetRule Text(const char* t) { return {ResetKind::Text, 0, t}; }
    static constexpr ResetRule Zero() { return {ResetKind::Zero}; }
    static constexpr ResetRule PpdDefault(const char* keyword, std::int32_t fallback) {
        return {ResetKind::PpdDefault, fallback, nullptr, keyword};
    }
    static constexpr ResetRule PpdDefaultOrValue(const char* keyword, std::int32_t fallback) {
        return {ResetKind::PpdDefaultOrValue, fallback, nullptr, keyword};
    }
    static constexpr ResetRule PpdDefaultOrKept(const char* keyword, std::int32_t newBlock) {
        return {ResetKind::PpdDefaultOrKept, newBlock, nullptr, keyword};
    }
    static constexpr ResetRule SameAs(const char* field) { return {ResetKind::SameAs, 0, field}; }
    static constexpr ResetRule DpiOfResolution() { return {ResetKind::DpiOfResolution}; }
};

// One row of the layout table. Reserved rows have an empty name.
struct SettingsField {
    const char* name;
    std::uint16_t offset;
    std::uint16_t size;
    FieldType type;
    ResetRule reset;

    constexpr bool named() const { return type != FieldType::Reserved; }
};

inline constexpr SettingsField kSettingsFields[] = {
#define SETTINGS_FIELD(name, Name, offset, type, size, reset)                                      \
    {#name, offset, size, FieldType::type, ResetRule::reset},
#define SETTINGS_RESERVED(offset, size) {"", offset, size, FieldType::Reserved, ResetRule::Kept()},
#include "app/settings_fields.inc"
#undef SETTINGS_FIELD
#undef SETTINGS_RESERVED
};

// Every row of the table, reserved ranges included, in offset order.
std::span<const SettingsField> SettingsFields();
// The named field called `name` (exact, case-sensitive), or null.
const SettingsField* FindSettingsField(std::string_view name);

// Dots per inch of a `ResolutionNames` code: 1 is 300, 3 is 1200, 4 is 2400, all others 600.
std::int32_t DpiOfResolutionCode(int code);

// Little-endian, bounded access to byte records; shared by the block and its sub-records.
namespace detail {
std::int16_t LoadInt16(const std::uint8_t* p);
void StoreInt16(std::uint8_t* p, std::int16_t v);
std::int32_t LoadInt32(const std::uint8_t* p);
void StoreInt32(std::uint8_t* p, std::int32_t v);
float LoadFloat(const std::uint8_t* p);
void StoreFloat(std::uint8_t* p, float v);
std::string LoadText(const std::uint8_t* p, std::size_t size);
bool StoreText(std::uint8_t* p, std::size_t size, std::string_view text);
// Puts a NUL in the last byte of an array that holds none.
void TerminateText(std::uint8_t* p, std::size_t size);
} // namespace detail

// One overlay: 17 bytes, `enabled` int16, `fileName` char[13] (an 8.3 name), `device` int16.
struct OverlaySlot {
    static constexpr std::size_t kSize = 17;
    static constexpr std::size_t kEnabledOffset = 0;
    static constexpr std::size_t kFileNameOffset = 2;
    static constexpr std::size_t kFileNameSize = 13;
    static constexpr std::size_t kDeviceOffset = 15;

    std::array<std::uint8_t, kSize> bytes{};

    std::int16_t enabled() const { return detail::LoadInt16(&bytes[kEnabledOffset]); }
    void setEnabled(std::int16_t v) { detail::StoreInt16(&bytes[kEnabledOffset], v); }
    std::string fileName() const {
        return detail::LoadText(&bytes[kFileNameOffset], kFileNameSize);
    }
    bool setFileName(std::string_view text) {
        return detail::StoreText(&bytes[kFileNameOffset], kFileNameSize, text);
    }
    std::int16_t device() const { return detail::LoadInt16(&bytes[kDeviceOffset]); }
    void setDevice(std::int16_t v) { detail::StoreInt16(&bytes[kDeviceOffset], v); }

    bool operator==(const OverlaySlot&) const = default;
};

// The five overlay slots in block order.
enum OverlaySlotIndex : int {
    kOverlayAllPages = 0,
    kOverlayFirstPage = 1,
    kOverlayEvenPages = 2,
    kOverlayOddPages = 3,
    kOverlayCyclic = 4,
};
inline constexpr int kOverlaySlotCount = 5;

// The current watermark as stored in the registry: block bytes 840 to 987 (`watermarkName` to
// `watermarkOffsetY`).
struct WatermarkProfile {
    static constexpr std::size_t kSize = 148;
    static constexpr std::size_t kBlockOffset = 840;

    std::array<std::uint8_t, kSize> bytes{};

    // The watermark's name (the profile's value name).
    std::string name() const { return detail::LoadText(bytes.data(), 32); }

    bool operator==(const WatermarkProfile&) const = default;
};

// A stored colour profile: block bytes 215 to 530 (`colorProfileName` to `crdColorSpace`, then
// two bytes that readers ignore).
struct ColorProfileRecord {
    static constexpr std::size_t kSize = 316;
    static constexpr std::size_t kBlockOffset = 215;
    // The bytes copied back into a block: everything but the last two, which overlay
    // `grayColorModel` and are not part of a profile.
    static constexpr std::size_t kRestoredSize = 314;

    std::array<std::uint8_t, kSize> bytes{};

    bool operator==(const ColorProfileRecord&) const = default;
};

#define VELA_SETTINGS_ACCESSOR_UInt8(name, Name, offset, size)                                     \
    std::uint8_t name() const {                                                                    \
        return bytes_[offset];                                                                     \
    }                                                                                              \
    void set##Name(std::uint8_t v) {                                                               \
        bytes_[offset] = v;                                                                        \
    }
#define VELA_SETTINGS_ACCESSOR_Int16(name, Name, offset, size)                                     \
    std::int16_t name() const {                                                                    \
        return detail::LoadInt16(&bytes_[offset]);                                                 \
    }                                                                                              \
    void set##Name(std::int16_t v) {                                                               \
        detail::StoreInt16(&bytes_[offset], v);                                                    \
    }
#define VELA_SETTINGS_ACCESSOR_Int32(name, Name, offset, size)                                     \
    std::int32_t name() const {                                                                    \
        return detail::LoadInt32(&bytes_[offset]);                                                 \
    }                                                                                              \
    void set##Name(std::int32_t v) {                                                               \
        detail::StoreInt32(&bytes_[offset], v);                                                    \
    }
#define VELA_SETTINGS_ACCESSOR_Float(name, Name, offset, size)                                     \
    float name() const {                                                                           \
        return detail::LoadFloat(&bytes_[offset]);                                                 \
    }                                                                                              \
    void set##Name(float v) {                                                                      \
        detail::StoreFloat(&bytes_[offset], v);                                                    \
    }
#define VELA_SETTINGS_ACCESSOR_Text(name, Name, offset, size)                                      \
    std::string name() const {                                                                     \
        return detail::LoadText(&bytes_[offset], size);                                            \
    }                                                                                              \
    bool set##Name(std::string_view text) {                                                        \
        return detail::StoreText(&bytes_[offset], size, text);                                     \
    }
// Records have accessors of their own (overlaySlot and the like).
#define VELA_SETTINGS_ACCESSOR_Bytes(name, Name, offset, size)

class PrinterSettingsBlock {
public:
    static constexpr std::size_t kSize = 1300;

    // A block of zeros.
    PrinterSettingsBlock() = default;

    // Replaces every byte; false (and nothing changed) unless `bytes` holds exactly kSize bytes.
    bool assign(std::span<const std::uint8_t> bytes);

    std::uint8_t* data() { return bytes_.data(); }
    const std::uint8_t* data() const { return bytes_.data(); }
    static constexpr std::size_t size() { return kSize; }

    bool operator==(const PrinterSettingsBlock&) const = default;

#define SETTINGS_FIELD(name, Name, offset, type, size, reset)                                      \
    VELA_SETTINGS_ACCESSOR_##type(name, Name, offset, size)
#define SETTINGS_RESERVED(offset, size)
#include "app/settings_fields.inc"
#undef SETTINGS_FIELD
#undef SETTINGS_RESERVED

    // Overlay slots, index 0 to 4 (OverlaySlotIndex). An index out of range reads an empty slot
    // and writes nothing.
    OverlaySlot overlaySlot(int index) const;
    void setOverlaySlot(int index, const OverlaySlot& slot);
    std::int16_t overlayEnabled(int index) const {
        return overlaySlot(index).enabled();
    }
    void setOverlayEnabled(int index, std::int16_t v);
    std::string overlayFileName(int index) const {
        return overlaySlot(index).fileName();
    }
    bool setOverlayFileName(int index, std::string_view text);
    std::int16_t overlayDevice(int index) const {
        return overlaySlot(index).device();
    }
    void setOverlayDevice(int index, std::int16_t v);

    // The watermark record, copied out and in whole. Copying in terminates each text inside its
    // array, should a stored record lack the terminator.
    WatermarkProfile watermarkProfile() const;
    void setWatermarkProfile(const WatermarkProfile& profile);

    // The colour profile record. Copying in writes the first kRestoredSize bytes (the five names
    // and thirteen codes) and leaves `grayColorModel` alone; each name is terminated inside its
    // array.
    ColorProfileRecord colorProfileRecord() const;
    void setColorProfileRecord(const ColorProfileRecord& record);

    // Runtime access through a row of the table (tools, tests). Integer fields read as their
    // value; a write out of the field's range, of the wrong kind, or to a reserved row, changes
    // nothing and returns false.
    std::int64_t readInteger(const SettingsField& field) const;
    bool writeInteger(const SettingsField& field, std::int64_t value);
    float readFloat(const SettingsField& field) const;
    bool writeFloat(const SettingsField& field, float value);
    std::string readText(const SettingsField& field) const;
    // As the typed text setters: false when the text was cut (or the field is not a text).
    bool writeText(const SettingsField& field, std::string_view text);

private:
    std::array<std::uint8_t, kSize> bytes_{};
};

#undef VELA_SETTINGS_ACCESSOR_UInt8
#undef VELA_SETTINGS_ACCESSOR_Int16
#undef VELA_SETTINGS_ACCESSOR_Int32
#undef VELA_SETTINGS_ACCESSOR_Float
#undef VELA_SETTINGS_ACCESSOR_Text
#undef VELA_SETTINGS_ACCESSOR_Bytes

static_assert(sizeof(PrinterSettingsBlock) == PrinterSettingsBlock::kSize);

// Stores the reset values of the table into `block` as a block prepared without a PPD gets them:
// "PPD default" fields take their fallback (paper size 1, media type 1, output bin 1, halftones
// and print quality 0), the resolution is code 2 (600dpi) with 600 dots per inch, the watermark
// text is "Vodoznak", and fields the reset keeps are left as they are. The About page's reset,
// which consults the PPD, is a different routine built on the same table.
void ApplyNewBlockDefaults(PrinterSettingsBlock& block);

} // namespace app
