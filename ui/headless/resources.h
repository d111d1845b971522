#pragma once
// Reading a compiled resource file (.res, as `windres -O res` writes it): its records, the
// dialog templates (DLGTEMPLATE and DLGTEMPLATEEX) and the sizes of its bitmaps. Every read is
// bounded by the end of its record; malformed input gives nothing, never a read past the end.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ui/types.h"

namespace ui::headless {

inline constexpr int kResourceBitmap = 2;
inline constexpr int kResourceIcon = 3;
inline constexpr int kResourceDialog = 5;
inline constexpr int kResourceGroupIcon = 14;
inline constexpr int kResourceManifest = 24;

// A resource type or name: a number, or a text (upper-cased by the compiler) when `isId` is
// false.
struct ResourceName {
    bool isId = true;
    int id = 0;
    std::u16string text;
};

struct ResourceRecord {
    ResourceName type;
    ResourceName name;
    std::uint16_t language = 0;
    std::span<const unsigned char> data; // into the file's bytes
};

class ResourceFile {
public:
    // Parses the records; nothing when the file is malformed. The bytes are copied.
    static std::optional<ResourceFile> Parse(std::span<const unsigned char> bytes);

    const std::vector<ResourceRecord>& Records() const { return records_; }
    // The first resource of a numbered type and id, or null.
    const ResourceRecord* Find(int type, int id) const;

private:
    ResourceFile() = default;

    // Shared and never changed, so that copies of the file keep their records valid.
    std::shared_ptr<const std::vector<unsigned char>> bytes_;
    std::vector<ResourceRecord> records_;
};

struct DialogItemTemplate {
    unsigned helpId = 0;
    unsigned style = 0;
    unsigned exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0; // dialog units
    int id = 0;
    std::string className;   // lower case: "button", "edit", "msctls_updown32", ...
    std::string text;        // code page 1250
    int textResourceId = -1; // a numbered title (a picture's bitmap or icon id), else -1
};

struct DialogTemplate {
    bool extended = false;
    unsigned helpId = 0;
    unsigned style = 0;
    unsigned exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::string caption; // code page 1250
    int pointSize = 0;   // with DS_SETFONT
    std::string fontName;
    std::vector<DialogItemTemplate> items;
};

std::optional<DialogTemplate> ParseDialogTemplate(std::span<const unsigned char> data);

// Width and height of a bitmap resource (a BITMAPINFOHEADER or BITMAPCOREHEADER).
std::optional<Size> ParseBitmapSize(std::span<const unsigned char> data);

} // namespace ui::headless
