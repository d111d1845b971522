#pragma once
// The fixed dictionaries between the small integer codes kept in the settings block and the
// PPD option keywords (or, for tables not backed by the PPD, the Slovak display texts).
//
// Each table is a constant array in table order that ends with an entry whose name is null.
// Ids and names are not unique within a table; the lookups settle both by taking the first
// matching row. Names are single-byte code page 1250 strings.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace app {

struct OptionCode {
    std::int32_t id;
    const char* name; // null only in the terminating entry
};

// Rows of each table, not counting the terminating entry.
inline constexpr std::size_t kPaperSizeRows = 96;
inline constexpr std::size_t kInputSlotRows = 29;
inline constexpr std::size_t kOutputBinRows = 57;
inline constexpr std::size_t kResolutionRows = 7;
inline constexpr std::size_t kMediaTypeRows = 13;
inline constexpr std::size_t kHalftoneRows = 11;
inline constexpr std::size_t kPrintQualityRows = 2;
inline constexpr std::size_t kColorProfileRows = 12;
inline constexpr std::size_t kRgbSourceRows = 9;
inline constexpr std::size_t kCrdColorSpaceRows = 8;
inline constexpr std::size_t kSimulationRows = 7;
inline constexpr std::size_t kDestinationRows = 1;
inline constexpr std::size_t kRenderingStyleRows = 5;
inline constexpr std::size_t kEndOfDocumentRows = 3;
inline constexpr std::size_t kCtrlDPlacementRows = 4;
inline constexpr std::size_t kWatermarkRows = 7;
inline constexpr std::size_t kWatermarkColorRows = 5;
inline constexpr std::size_t kFontStyleRows = 4;
inline constexpr std::size_t kPagesPerSheetRows = 7;
inline constexpr std::size_t kFeedEdgeRows = 2;
inline constexpr std::size_t kStorageDeviceRows = 11;

// PPD-backed tables (option keywords).
extern const OptionCode PaperSizeNames[kPaperSizeRows + 1];         // paperSize, "PageSize"
extern const OptionCode InputSlotNames[kInputSlotRows + 1];         // inputSlot, "InputSlot"
extern const OptionCode OutputBinNames[kOutputBinRows + 1];         // outputBin, "OutputBin"
extern const OptionCode ResolutionNames[kResolutionRows + 1];       // resolutionCode
extern const OptionCode MediaTypeNames[kMediaTypeRows + 1];         // mediaType
extern const OptionCode HalftoneNames[kHalftoneRows + 1];           // halftone fields
extern const OptionCode PrintQualityNames[kPrintQualityRows + 1];   // printQuality
extern const OptionCode EndOfDocumentNames[kEndOfDocumentRows + 1]; // "EndOfDocType"

// Colour matching tables (keywords of the predefined profiles and matching choices).
extern const OptionCode ColorProfileNames[kColorProfileRows + 1];
extern const OptionCode RgbSourceNames[kRgbSourceRows + 1];
extern const OptionCode CrdColorSpaceNames[kCrdColorSpaceRows + 1];
extern const OptionCode SimulationNames[kSimulationRows + 1];
extern const OptionCode DestinationNames[kDestinationRows + 1];
extern const OptionCode RenderingStyleNames[kRenderingStyleRows + 1];

// Display-text tables.
extern const OptionCode CtrlDPlacementNames[kCtrlDPlacementRows + 1];
extern const OptionCode WatermarkNames[kWatermarkRows + 1];
extern const OptionCode WatermarkColorNames[kWatermarkColorRows + 1];
extern const OptionCode FontStyleNames[kFontStyleRows + 1];
extern const OptionCode PagesPerSheetNames[kPagesPerSheetRows + 1];
extern const OptionCode FeedEdgeNames[kFeedEdgeRows + 1];
extern const OptionCode StorageDeviceNames[kStorageDeviceRows + 1];

// Rows before the terminating entry; 0 for a null table.
std::size_t OptionRowCount(const OptionCode* table);

// The name of the first row whose id equals `id`, or nullptr when no row has it (or the
// table is null).
const char* NameOfCode(const OptionCode* table, std::int32_t id);

// The id of the first row whose name equals `name` byte for byte (case-sensitive), or 0 when
// no row matches. A missing name cannot be told from a genuine id 0.
std::int32_t CodeOfName(const OptionCode* table, std::string_view name);

} // namespace app
