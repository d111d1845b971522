#pragma once
// A small reader of the compiled resources (.res records, DLGTEMPLATEEX dialogs, DIBs) for the
// resource tests. Every read is bounded by its buffer; malformed input gives std::nullopt.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace restest {

// A resource type or name: an ordinal, or a UTF-16 name when `name` is not empty.
struct ResId {
    std::uint16_t ordinal = 0;
    std::u16string name;
};

struct ResRecord {
    ResId type;
    ResId name;
    std::uint16_t language = 0;
    std::span<const unsigned char> data;
};

std::optional<std::vector<ResRecord>> ParseRes(std::span<const unsigned char> bytes);

// The record of that type and name (ordinals), or nullptr.
const ResRecord* FindRecord(const std::vector<ResRecord>& records, std::uint16_t type,
                            std::uint16_t name);

enum class ControlKind {
    Button,
    Edit,
    Static,
    ListBox,
    ScrollBar,
    ComboBox,
    UpDown,
    Progress,
    DateTime,
    Other
};

struct DialogItem {
    std::uint32_t helpId = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::int32_t id = 0;
    ControlKind kind = ControlKind::Other;
    std::u16string className; // as stored when the class is a name
    std::u16string text;
    std::optional<std::uint16_t> textOrdinal; // an image's resource id
};

struct DialogTemplate {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::u16string caption;
    int pointSize = 0;
    std::u16string face;
    std::vector<DialogItem> items;
};

std::optional<DialogTemplate> ParseDialog(std::span<const unsigned char> data);

// A DIB as stored in an RT_BITMAP or RT_ICON resource (4 bits per pixel only).
struct Dib {
    int width = 0;
    int height = 0;                   // of the picture; an icon's header gives twice this
    std::uint32_t palette[16] = {};   // 0xRRGGBB
    std::vector<std::uint8_t> pixels; // palette indices, top row first
    int At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

std::optional<Dib> ParseDib4(std::span<const unsigned char> data, bool icon);

// The records of the program's own compiled resources (res::CompiledResources), parsed once;
// empty when they do not parse.
const std::vector<ResRecord>& ProgramRecords();

// Resource types.
constexpr std::uint16_t kRtBitmap = 2;
constexpr std::uint16_t kRtIcon = 3;
constexpr std::uint16_t kRtDialog = 5;
constexpr std::uint16_t kRtGroupIcon = 14;
constexpr std::uint16_t kRtManifest = 24;

} // namespace restest
