#include "app/option_tables.h"

// Names are code page 1250 bytes written as escapes. An escape followed by a letter that is
// also a hex digit is closed by splitting the literal ("\xC8" "erven\xE1").

namespace app {

// clang-format off
constexpr OptionCode PaperSizeNames[kPaperSizeRows + 1] = {
    {1, "Letter"},
    {2, "Letter Small"},
    {17, "11x17"},
    {3, "11x17"},
    {4, "11x17"},
    {5, "Legal"},
    {6, "Statement"},
    {7, "Executive"},
    {8, "A3"},
    {9, "A4"},
    {10, "A4SMALL"},
    {11, "A5"},
    {12, "B4"},
    {13, "B5"},
    {14, "Folio"},
    {15, "Quarto"},
    {16, "10x14"},
    {18, "Note 8 1/2 x 11 in"},
    {19, "Envelope #9 3 7/8 x 8 7/8"},
    {20, "Com10"},
    {21, "Envelope #11 4 1/2 x 10 3/8"},
    {22, "Envelope #12 4 \xBE x 11"},
    {23, "Envelope #14 5 x 11 1/2"},
    {24, "C size sheet"},
    {25, "D size sheet"},
    {26, "E size sheet"},
    {27, "DL"},
    {28, "C5"},
    {29, "C3"},
    {30, "C4"},
    {31, "C6"},
    {32, "C65"},
    {33, "B4"},
    {34, "B5"},
    {35, "B6"},
    {36, "Envelope_ITALY"},
    {37, "Monarch"},
    {38, "6 3/4 Envelope"},
    {39, "US Std Fanfold"},
    {40, "German Std Fanfold"},
    {41, "German Legal Fanfold"},
    {511, "Postcard"},
    {43, "JPostcard"},
    {73, "EnvChou3"},
    {74, "EnvChou4"},
    {44, "9 x 11 in"},
    {45, "10 x 11 in"},
    {46, "15 x 11 in"},
    {47, "Envelope Invite 220 x 220 mm"},
    {48, "RESERVED--DO NOT USE"},
    {49, "RESERVED--DO NOT USE"},
    {50, "Letter Extra 9 \xBD x 12 in"},
    {51, "Legal Extra 9 \xBD x 15 in"},
    {52, "Tabloid Extra 11.69 x 18 in"},
    {53, "A4 Extra 9.27 x 12.69 in"},
    {54, "Letter Transverse 8 \xBD x 11 in"},
    {55, "A4 Transverse 210 x 297 mm"},
    {56, "Letter Extra Transverse 9\xBD x 12 in"},
    {57, "SuperA/SuperA/A4 227 x 356 mm"},
    {58, "SuperB/SuperB/A3 305 x 487 mm"},
    {59, "Letter Plus 8.5 x 12.69 in"},
    {60, "A4 Plus 210 x 330 mm"},
    {61, "A5 Transverse 148 x 210 mm"},
    {62, "B5 (JIS) Transverse 182 x 257 mm"},
    {63, "A3 Extra 322 x 445 mm"},
    {64, "A5 Extra 174 x 235 mm"},
    {65, "B5 (ISO) Extra 201 x 276 mm"},
    {66, "A2 420 x 594 mm"},
    {67, "A3 Transverse 297 x 420 mm"},
    {68, "A3 Extra Transverse 322 x 445 mm"},
    {491, "Envelope"},
    {510, "Universal"},
    {509, "Full11x17"},
    {508, "12x19"},
    {507, "B6"},
    {506, "Commercial"},
    {505, "Foolscap"},
    {504, "SmallLegal"},
    {70, "A6"},
    {503, "FullLedger"},
    {502, "8.5x13"},
    {501, "B4ISO"},
    {500, "B5ISO"},
    {499, "SPFolio"},
    {498, "UKQuarto"},
    {497, "12x18"},
    {496, "13x18"},
    {495, "13x19"},
    {494, "13x22"},
    {493, "13x26"},
    {492, "GTPostcard"},
    {490, "A4 (SEF)"},
    {489, "8Kai"},
    {488, "16Kai"},
    {487, "32Kai"},
    {257, "Custom Paper"},
    {0, nullptr},
};

// 258 appears twice so that both spellings of the optional tray read back as one code.
constexpr OptionCode InputSlotNames[kInputSlotRows + 1] = {
    {1, "Upper"},
    {2, "Lower"},
    {3, "Middle"},
    {4, "ManualFeed"},
    {5, "Envelope"},
    {6, "Envelope Manual"},
    {7, "Match Paper Size"},
    {8, "Tractor Feed"},
    {9, "Small Format"},
    {10, "Large Format"},
    {11, "LCIT"},
    {14, "Cassette"},
    {15, "Form Source"},
    {256, "LLCIT"},
    {257, "Multipurpose"},
    {258, "Optional"},
    {258, "OptionalBin"},
    {259, "Optional1"},
    {260, "Optional2"},
    {261, "Optional3"},
    {262, "Optional4"},
    {263, "Optional5"},
    {264, "Optional6"},
    {265, "Optional7"},
    {266, "Optional8"},
    {267, "Com10Tray"},
    {268, "DLTray"},
    {269, "C5Tray"},
    {270, "MonarchTray"},
    {0, nullptr},
};

constexpr OptionCode OutputBinNames[kOutputBinRows + 1] = {
    {0, "Default"},
    {1, "Upper"},
    {2, "Lower"},
    {3, "Rear"},
    {4, "Side"},
    {5, "Large Capacity Stacker"},
    {6, "FaceUp"},
    {7, "TopStack"},
    {8, "CenterStack"},
    {9, "BottomStack"},
    {10, "Tray1"},
    {11, "Tray2"},
    {12, "Tray3"},
    {13, "Tray4"},
    {14, "Tray5"},
    {15, "Tray6"},
    {16, "Tray7"},
    {17, "Tray8"},
    {18, "Tray9"},
    {19, "Tray10"},
    {20, "Tray11"},
    {21, "Tray12"},
    {22, "Tray13"},
    {23, "Tray14"},
    {24, "Tray15"},
    {25, "Tray16"},
    {26, "Tray17"},
    {27, "Tray18"},
    {28, "Tray19"},
    {29, "Tray20"},
    {30, "Tray21"},
    {31, "Tray22"},
    {32, "Tray23"},
    {33, "Tray24"},
    {34, "Tray25"},
    {35, "Tray26"},
    {36, "Tray27"},
    {37, "Tray28"},
    {38, "Tray29"},
    {39, "Tray30"},
    {40, "Tray31"},
    {41, "Tray32"},
    {42, "Tray33"},
    {43, "Tray34"},
    {44, "Tray35"},
    {45, "Tray36"},
    {46, "Tray37"},
    {47, "Tray38"},
    {48, "Tray39"},
    {49, "Tray40"},
    {50, "FaceUpStack"},
    {51, "FaceDownStack"},
    {52, "Mailbin1"},
    {53, "Mailbin2"},
    {54, "Mailbin3"},
    {55, "Mailbin4"},
    {56, "Mailbin5"},
    {0, nullptr},
};

// Codes 5 to 7 are alternative keywords for 600 dots per inch.
constexpr OptionCode ResolutionNames[kResolutionRows + 1] = {
    {1, "300dpi"},
    {2, "600dpi"},
    {3, "1200dpi"},
    {4, "2400dpi"},
    {5, "600"},
    {6, "600dp"},
    {7, "600dpi"},
    {0, nullptr},
};

// The driver's own media codes count down from 256.
constexpr OptionCode MediaTypeNames[kMediaTypeRows + 1] = {
    {1, "PlainPaper"},
    {2, "Transparency"},
    {256, "ThinPaper"},
    {255, "ThickStock"},
    {254, "LabelStock"},
    {3, "GlossyPlain"},
    {253, "Thick1"},
    {252, "Thick2"},
    {251, "Thick3"},
    {250, "GlossyThick1"},
    {249, "Envelope"},
    {248, "Postcard"},
    {247, "Default"},
    {0, nullptr},
};

constexpr OptionCode HalftoneNames[kHalftoneRows + 1] = {
    {0, "PrinterDefault"},
    {1, "Enhanced"},
    {2, "High"},
    {3, "Low"},
    {4, "ColorSmooth"},
    {5, "Advanced"},
    {6, "Basic"},
    {7, "Standard"},
    {8, "None"},
    {9, "AgfaABS"},
    {10, "Detail"},
    {0, nullptr},
};

constexpr OptionCode PrintQualityNames[kPrintQualityRows + 1] = {
    {0, "NormalMode"},
    {1, "FineMode"},
    {0, nullptr},
};

constexpr OptionCode ColorProfileNames[kColorProfileRows + 1] = {
    {1, "AutoCustomColor"},
    {2, "GraphicsCustomColor"},
    {3, "GrayCustomColor"},
    {4, "PhotoCustomColor"},
    {5, "TextCustomColor"},
    {6, "AllBlackCustomColor"},
    {7, "DisableCustomColor"},
    {8, "IccCustomColor"},
    {9, "SwopCustomColor"},
    {10, "EuroCustomColor"},
    {11, "CommPressCustomColor"},
    {15, "BARGBCustomColor"},
    {0, nullptr},
};

constexpr OptionCode RgbSourceNames[kRgbSourceRows + 1] = {
    {100, "MaxGamut"},
    {101, "sRGB"},
    {102, "AppleRGB"},
    {103, "TrinitronG1.8D50"},
    {104, "PrePress"},
    {105, "PrinterDefault"},
    {106, "DeviceRGB"},
    {114, "None"},
    {117, "BlueAdjustRGB"},
    {0, nullptr},
};

constexpr OptionCode CrdColorSpaceNames[kCrdColorSpaceRows + 1] = {
    {130, "MaxGamut"},
    {131, "sRGB"},
    {132, "AppleRGB"},
    {133, "TrinitronG1.8D50"},
    {134, "PrePress"},
    {135, "PrinterDefault"},
    {136, "DeviceRGB"},
    {141, "None"},
    {0, nullptr},
};

constexpr OptionCode SimulationNames[kSimulationRows + 1] = {
    {119, "None"},
    {120, "Swop"},
    {121, "Eurocolor"},
    {122, "Commercial"},
    {124, "CMYKDisplay"},
    {123, "PrinterDefault"},
    {126, "InkjetProofer"},
    {0, nullptr},
};

constexpr OptionCode DestinationNames[kDestinationRows + 1] = {
    {143, "Auto"},
    {0, nullptr},
};

constexpr OptionCode RenderingStyleNames[kRenderingStyleRows + 1] = {
    {1, "Business"},
    {2, "Colorimetric"},
    {3, "PrinterDefault"},
    {4, "Photographic"},
    {0, "None"},
    {0, nullptr},
};

constexpr OptionCode EndOfDocumentNames[kEndOfDocumentRows + 1] = {
    {0, "StandardEOD"},
    {1, "ZELEOD"},
    {2, "HPEOD"},
    {0, nullptr},
};

// Žiadny, Začiatok, Koniec, Obe.
constexpr OptionCode CtrlDPlacementNames[kCtrlDPlacementRows + 1] = {
    {0, "\x8E" "iadny"},
    {1, "Za\xE8iatok"},
    {2, "Koniec"},
    {3, "Obe"},
    {0, nullptr},
};

// Žiadny (no watermark), DÔVERNÉ, KÓPIA, NÁVRH, KONEČNÉ, ORIGINÁL, NÁHĽAD.
constexpr OptionCode WatermarkNames[kWatermarkRows + 1] = {
    {1, "\x8E" "iadny"},
    {2, "D\xD4VERN\xC9"},
    {3, "K\xD3PIA"},
    {4, "N\xC1VRH"},
    {5, "KONE\xC8N\xC9"},
    {6, "ORIGIN\xC1L"},
    {7, "N\xC1H\xBC" "AD"},
    {0, nullptr},
};

// Čierny, Červená, Zelená, Žltý, Modrý.
constexpr OptionCode WatermarkColorNames[kWatermarkColorRows + 1] = {
    {0, "\xC8" "ierny"},
    {1, "\xC8" "erven\xE1"},
    {2, "Zelen\xE1"},
    {3, "\x8E" "lt\xFD"},
    {4, "Modr\xFD"},
    {0, nullptr},
};

// Normalny, Tučné, Kurzíva, Tučné a Kurzíva.
constexpr OptionCode FontStyleNames[kFontStyleRows + 1] = {
    {0, "Normalny"},
    {1, "Tu\xE8n\xE9"},
    {2, "Kurz\xEDva"},
    {3, "Tu\xE8n\xE9 a Kurz\xEDva"},
    {0, nullptr},
};

// 99 is the booklet ("Brožúra").
constexpr OptionCode PagesPerSheetNames[kPagesPerSheetRows + 1] = {
    {1, "1"},
    {2, "2"},
    {4, "4"},
    {6, "6"},
    {9, "9"},
    {16, "16"},
    {99, "Bro\x9E\xFAra"},
    {0, nullptr},
};

// Dlhší okraj, Kratší okraj.
constexpr OptionCode FeedEdgeNames[kFeedEdgeRows + 1] = {
    {8, "Dlh\x9A\xED okraj"},
    {9, "Krat\x9A\xED okraj"},
    {0, nullptr},
};

constexpr OptionCode StorageDeviceNames[kStorageDeviceRows + 1] = {
    {0, "SYS:"},
    {1, "DSK0:"},
    {2, "DSK1:"},
    {3, "DSK2:"},
    {4, "DSK3:"},
    {5, "DSK4:"},
    {6, "DSK5:"},
    {7, "DSK6:"},
    {8, "DSK7:"},
    {9, "DSK8:"},
    {10, "DSK9:"},
    {0, nullptr},
};
// clang-format on

namespace {

// True when the first `rows` entries all have names and the next one terminates the table,
// so a miscounted table fails to build instead of ending early or running past its end.
constexpr bool HasExactRows(const OptionCode* table, std::size_t rows) {
    for (std::size_t i = 0; i < rows; ++i) {
        if (table[i].name == nullptr) {
            return false;
        }
    }
    return table[rows].name == nullptr;
}

static_assert(HasExactRows(PaperSizeNames, kPaperSizeRows));
static_assert(HasExactRows(InputSlotNames, kInputSlotRows));
static_assert(HasExactRows(OutputBinNames, kOutputBinRows));
static_assert(HasExactRows(ResolutionNames, kResolutionRows));
static_assert(HasExactRows(MediaTypeNames, kMediaTypeRows));
static_assert(HasExactRows(HalftoneNames, kHalftoneRows));
static_assert(HasExactRows(PrintQualityNames, kPrintQualityRows));
static_assert(HasExactRows(ColorProfileNames, kColorProfileRows));
static_assert(HasExactRows(RgbSourceNames, kRgbSourceRows));
static_assert(HasExactRows(CrdColorSpaceNames, kCrdColorSpaceRows));
static_assert(HasExactRows(SimulationNames, kSimulationRows));
static_assert(HasExactRows(DestinationNames, kDestinationRows));
static_assert(HasExactRows(RenderingStyleNames, kRenderingStyleRows));
static_assert(HasExactRows(EndOfDocumentNames, kEndOfDocumentRows));
static_assert(HasExactRows(CtrlDPlacementNames, kCtrlDPlacementRows));
static_assert(HasExactRows(WatermarkNames, kWatermarkRows));
static_assert(HasExactRows(WatermarkColorNames, kWatermarkColorRows));
static_assert(HasExactRows(FontStyleNames, kFontStyleRows));
static_assert(HasExactRows(PagesPerSheetNames, kPagesPerSheetRows));
static_assert(HasExactRows(FeedEdgeNames, kFeedEdgeRows));
static_assert(HasExactRows(StorageDeviceNames, kStorageDeviceRows));

} // namespace

std::size_t OptionRowCount(const OptionCode* table) {
    std::size_t rows = 0;
    if (table != nullptr) {
        while (table[rows].name != nullptr) {
            ++rows;
        }
    }
    return rows;
}

const char* NameOfCode(const OptionCode* table, std::int32_t id) {
    if (table == nullptr) {
        return nullptr;
    }
    for (const OptionCode* row = table; row->name != nullptr; ++row) {
        if (row->id == id) {
            return row->name;
        }
    }
    return nullptr;
}

std::int32_t CodeOfName(const OptionCode* table, std::string_view name) {
    if (table == nullptr) {
        return 0;
    }
    for (const OptionCode* row = table; row->name != nullptr; ++row) {
        if (name == std::string_view(row->name)) {
            return row->id;
        }
    }
    return 0;
}

} // namespace app
