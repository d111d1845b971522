#include "ppd/keywords.h"

#include <array>
#include <cstring>

namespace ppd {

namespace {

// ---- word lists ----------------------------------------------------------------------------

constexpr WordCode kProtocolWords[] = {{"PJL", 1}, {"BCP", 2}, {"TBCP", 4}, {"SIC", 8}, {{}, 0}};
constexpr WordCode kLanguageEncodings[] = {{"ISOLatin1", 1},   {"JIS83-RKSJ", 2},
                                           {"MaxStandard", 3}, {"WindowsANSI", 4},
                                           {"None", 0},        {{}, 0}};
constexpr WordCode kLanguageVersions[] = {
    {"English", 1}, {"Danish", 1},  {"Dutch", 1},     {"Finnish", 1},    {"French", 1},
    {"German", 1},  {"Italian", 1}, {"Norwegian", 1}, {"Portuguese", 1}, {"Spanish", 1},
    {"Swedish", 1}, {"Chinese", 0}, {"Japanese", 2},  {"Russian", 0},    {{}, 0}};
constexpr WordCode kRasterizers[] = {
    {"None", 0}, {"Accept68k", 1}, {"Type42", 2}, {"TrueImage", 3}, {{}, 0}};
constexpr WordCode kFalseTrue[] = {{"False", 0}, {"True", 1}, {{}, 0}};
constexpr WordCode kOrientations[] = {{"Any", 0}, {"Plus90", 1}, {"Minus90", 2}, {{}, 0}};
constexpr WordCode kExtensionWords[] = {
    {"DPS", 1}, {"CMYK", 2}, {"Composite", 4}, {"FileSystem", 8}, {{}, 0}};
constexpr WordCode kFontEncodings[] = {
    {"Standard", 0}, {"Special", 1}, {"ISOLatin1", 2}, {"Expert", 3},    {"ExpertSubset", 4},
    {"JIS", 5},      {"RKSJ", 6},    {"EUC", 7},       {"Shift-JIS", 8}, {{}, 9}};
constexpr WordCode kFontCharsets[] = {
    {"Standard", 0},     {"OldStandard", 1}, {"Special", 2}, {"ISOLatin1", 3}, {"Expert", 4},
    {"ExpertSubset", 5}, {"JIS-83", 6},      {"JIS-78", 7},  {"83pv", 8},      {"Add", 9},
    {"Ext", 10},         {"NWP", 11},        {{}, 12}};
constexpr WordCode kCustomSizeParams[] = {{"Width", 0},       {"Height", 1},
                                          {"WidthOffset", 2}, {"HeightOffset", 3},
                                          {"Orientation", 4}, {{}, 0}};
constexpr WordCode kCustomSizeTypes[] = {{"int", 0}, {"real", 1}, {"points", 2}, {{}, 0}};

constexpr std::uint16_t kUnknownEncoding = 9;

// ---- handlers ------------------------------------------------------------------------------

Result Ignore(ParseContext&, const PpdEntry&) {
    return kOk;
}

// Boolean rows store 0 for a word that is not a boolean, without failing.
template <std::int32_t WorkDocument::*Field>
Result BooleanField(ParseContext& ctx, const PpdEntry& entry) {
    ParseBoolean(entry.value, &(ctx.doc.*Field));
    return kOk;
}

// Rows whose word is looked up in a list and stored only when found.
template <std::uint16_t WorkDocument::*Field, const WordCode* List>
Result ListField(ParseContext& ctx, const PpdEntry& entry) {
    int code = 0;
    if (LookupWord(List, entry.value, &code))
        ctx.doc.*Field = static_cast<std::uint16_t>(code);
    return kOk;
}

// "True" gives 1, anything else 0.
template <std::int32_t WorkDocument::*Field>
Result TrueField(ParseContext& ctx, const PpdEntry& entry) {
    int code = 0;
    LookupWord(kFalseTrue, entry.value, &code);
    ctx.doc.*Field = code == 1 ? 1 : 0;
    return kOk;
}

template <WorkText WorkDocument::*Field, bool Hex>
Result StringField(ParseContext& ctx, const PpdEntry& entry) {
    return StoreString(ctx, ctx.doc.*Field, entry.value, Hex);
}

template <std::int32_t WorkDocument::*Field>
Result IntegerField(ParseContext& ctx, const PpdEntry& entry) {
    std::uint64_t n = 0;
    if (ParseInteger(entry.value, &n) != kOk)
        return ctx.Fail("not a number");
    ctx.doc.*Field = ClampToI32(n);
    return kOk;
}

template <Fixed WorkDocument::*Field>
Result FixedField(ParseContext& ctx, const PpdEntry& entry) {
    Fixed n = 0;
    if (ParseFixed(entry.value, &n) != kOk)
        return ctx.Fail("not a number");
    ctx.doc.*Field = n;
    return kOk;
}

// Every word of the value ORed into a bit set.
template <std::uint16_t WorkDocument::*Field, const WordCode* List>
Result WordBits(ParseContext& ctx, const PpdEntry& entry) {
    std::string_view cursor = entry.value;
    for (std::string_view word = NextWord(cursor); !word.empty(); word = NextWord(cursor)) {
        int code = 0;
        LookupWord(List, word, &code);
        ctx.doc.*Field = static_cast<std::uint16_t>(ctx.doc.*Field | code);
        if (List == kExtensionWords && code == 2)
            ctx.doc.colorDevice = 1; // CMYK
    }
    return kOk;
}

Result LanguageVersion(ParseContext& ctx, const PpdEntry& entry) {
    int code = 0;
    if (ctx.doc.languageEncoding == 0 && LookupWord(kLanguageVersions, entry.value, &code))
        ctx.doc.languageEncoding = static_cast<std::uint16_t>(code);
    return kOk;
}

Result FreeVm(ParseContext& ctx, const PpdEntry& entry) {
    std::uint64_t n = 0;
    if (ParseInteger(entry.value, &n) != kOk)
        return ctx.Fail("not a number");
    ctx.doc.freeVm = ClampToU32(n);
    return kOk;
}

Result Font(ParseContext& ctx, const PpdEntry& entry) {
    const std::uint32_t hash = NameHash(entry.option);
    const int number = KnownFontNumber(entry.option, hash);
    if (number == 0)
        return kOk;
    std::uint8_t& seen = ctx.doc.fontSeen[number / 8];
    const std::uint8_t bit = static_cast<std::uint8_t>(1u << (number % 8));
    if ((seen & bit) != 0)
        return kOk;
    int encoding = kUnknownEncoding;
    int charset = 0;
    LookupWord(kFontEncodings, entry.value, &encoding);
    if (encoding < kUnknownEncoding) {
        // Pass over the quoted version string to the character set.
        const std::size_t open = entry.value.find('"');
        const std::size_t close =
            open == std::string_view::npos ? open : entry.value.find('"', open + 1);
        if (close != std::string_view::npos) {
            std::string_view rest = entry.value.substr(close + 1);
            const std::string_view word = NextWord(rest);
            if (!word.empty())
                LookupWord(kFontCharsets, word, &charset);
        }
    }
    WorkFont* font = ctx.arena.New<WorkFont>();
    if (font == nullptr)
        return kOutOfMemory;
    font->name = {entry.option.data(), static_cast<std::uint32_t>(entry.option.size())};
    font->nameHash = hash;
    if (!entry.translation.empty()) {
        const Result r = StoreString(ctx, font->translation, entry.translation, true);
        if (r != kOk)
            return r;
    }
    font->encoding = static_cast<std::uint16_t>(encoding);
    font->charset = static_cast<std::uint16_t>(charset);
    font->fontId = static_cast<std::uint16_t>(number);
    seen = static_cast<std::uint8_t>(seen | bit);
    ctx.doc.fonts.Append(font);
    return kOk;
}

Result CustomPageSize(ParseContext& ctx, const PpdEntry& entry) {
    if (entry.option != "True")
        return kOk;
    ctx.doc.customPageSize = 1;
    return StoreString(ctx, ctx.doc.customPageSizeInvocation, entry.value, false);
}

Result ParamCustomPageSize(ParseContext& ctx, const PpdEntry& entry) {
    int index = 0;
    if (!LookupWord(kCustomSizeParams, entry.option, &index) ||
        entry.option.size() != kCustomSizeParams[index].word.size())
        return kOk;
    std::string_view cursor = entry.value;
    const std::string_view orderWord = NextWord(cursor);
    std::uint64_t order = 0;
    if (orderWord.empty() || ParseInteger(orderWord, &order) != kOk)
        return ctx.Fail("missing or bad order");
    if (order < 1 || order > 5)
        return ctx.Fail("order outside 1 to 5");
    const std::string_view typeWord = NextWord(cursor);
    if (typeWord.empty())
        return ctx.Fail("missing type");
    int type = 0;
    if (!LookupWord(kCustomSizeTypes, typeWord, &type))
        return kOk;
    Fixed minimum = 0, maximum = 0;
    const std::string_view minWord = NextWord(cursor);
    if (minWord.empty() || ParseFixed(minWord, &minimum) != kOk)
        return ctx.Fail("missing or bad minimum");
    const std::string_view maxWord = NextWord(cursor);
    if (maxWord.empty() || ParseFixed(maxWord, &maximum) != kOk)
        return ctx.Fail("missing or bad maximum");
    auto& param = ctx.doc.customSizeParams[index];
    param.order = static_cast<std::int32_t>(order);
    param.type = static_cast<std::uint16_t>(type);
    param.minimum = minimum;
    param.maximum = maximum;
    return kOk;
}

// Reads `count` fixed-point words; false when one is missing or bad.
bool ReadFixedWords(std::string_view value, Fixed* out, int count) {
    std::string_view cursor = value;
    for (int i = 0; i < count; ++i) {
        const std::string_view word = NextWord(cursor);
        if (word.empty() || ParseFixed(word, &out[i]) != kOk)
            return false;
    }
    return true;
}

Result HwMargins(ParseContext& ctx, const PpdEntry& entry) {
    Fixed margins[4];
    if (!ReadFixedWords(entry.value, margins, 4))
        return ctx.Fail("needs four numbers");
    std::memcpy(ctx.doc.hwMargins, margins, sizeof margins);
    ctx.doc.hasHwMargins = 1;
    return kOk;
}

// Adds one point, saturating at the top of the fixed-point range.
Fixed PlusOnePoint(Fixed value) {
    constexpr Fixed kMax = 0x7FFFFFFF;
    return value > kMax - 256 ? kMax : value + 256;
}

template <std::uint16_t Slot, WorkText WorkOption::*Field>
Result OptionString(ParseContext& ctx, const PpdEntry& entry) {
    WorkOption* option = nullptr;
    const Result r = GetSlotOption(ctx, Slot, entry, &option);
    if (r != kOk)
        return r;
    return StoreString(ctx, option->*Field, entry.value, false);
}

Result ImageableArea(ParseContext& ctx, const PpdEntry& entry) {
    WorkOption* option = nullptr;
    const Result r = GetSlotOption(ctx, kPageSizeSlot, entry, &option);
    if (r != kOk)
        return r;
    Fixed area[4];
    if (!ReadFixedWords(entry.value, area, 4))
        return ctx.Fail("needs four numbers");
    option->imageableLeft = PlusOnePoint(area[0]);
    option->imageableBottom = PlusOnePoint(area[1]);
    option->imageableRight = area[2];
    option->imageableTop = area[3];
    return kOk;
}

Result PaperDimension(ParseContext& ctx, const PpdEntry& entry) {
    WorkOption* option = nullptr;
    const Result r = GetSlotOption(ctx, kPageSizeSlot, entry, &option);
    if (r != kOk)
        return r;
    std::string_view cursor = entry.value;
    std::string_view word = NextWord(cursor);
    if (word.empty() || ParseFixed(word, &option->paperWidth) != kOk)
        return ctx.Fail("missing or bad width");
    word = NextWord(cursor);
    if (word.empty() || ParseFixed(word, &option->paperHeight) != kOk)
        return ctx.Fail("missing or bad height");
    return kOk;
}

Result InputSlot(ParseContext& ctx, const PpdEntry& entry) {
    WorkOption* option = nullptr;
    const Result r = GetSlotOption(ctx, kInputSlotSlot, entry, &option);
    if (r != kOk)
        return r;
    option->requiresPageRegion = 1;
    return StoreString(ctx, option->invocation, entry.value, false);
}

Result RequiresPageRegion(ParseContext& ctx, const PpdEntry& entry) {
    if (entry.option == "All") {
        std::int32_t all = 0;
        if (ParseBoolean(entry.value, &all) != kOk)
            return ctx.Fail("not a boolean");
        WorkFeature* feature = nullptr;
        const Result r = GetFeature(ctx, kInputSlotSlot, {}, &feature);
        if (r != kOk)
            return r;
        feature->flags |= all != 0 ? kFeatureAllRequirePageRegion : kFeatureNoneRequirePageRegion;
        return kOk;
    }
    WorkOption* option = nullptr;
    const Result r = GetSlotOption(ctx, kInputSlotSlot, entry, &option);
    if (r != kOk)
        return r;
    ParseBoolean(entry.value, &option->requiresPageRegion); // not a boolean: 0
    return kOk;
}

// "Collate", "Duplex" and "ManualFeed" rows: options as in an open generic feature.
Result FeatureRowOption(ParseContext& ctx, const PpdEntry& entry) {
    WorkOption* option = nullptr;
    const Result r = GetSlotOption(ctx, kGenericSlot, entry, &option);
    if (r != kOk)
        return r;
    const WorkFeature* open = ctx.doc.openFeature;
    const bool hex = open != nullptr && (open->flags & kFeatureJcl) != 0;
    return StoreString(ctx, option->invocation, entry.value, hex);
}

template <std::uint16_t Kind, WorkText WorkOption::*Field, bool Hex>
Result ResolutionString(ParseContext& ctx, const PpdEntry& entry) {
    ctx.doc.resolutionKind = Kind;
    WorkOption* option = nullptr;
    const Result r = GetSlotOption(ctx, kResolutionSlot, entry, &option);
    if (r != kOk)
        return r;
    return StoreString(ctx, option->*Field, entry.value, Hex);
}

template <Fixed WorkOption::*Field>
Result ResolutionFixed(ParseContext& ctx, const PpdEntry& entry) {
    WorkOption* option = nullptr;
    const Result r = GetSlotOption(ctx, kResolutionSlot, entry, &option);
    if (r != kOk)
        return r;
    if (ParseFixed(entry.value, &(option->*Field)) != kOk)
        return ctx.Fail("not a number");
    return kOk;
}

Result VmOption(ParseContext& ctx, const PpdEntry& entry) {
    WorkOption* option = nullptr;
    const Result r = GetSlotOption(ctx, kMemorySlot, entry, &option);
    if (r != kOk)
        return r;
    std::uint64_t n = 0;
    if (ParseInteger(entry.value, &n) != kOk)
        return ctx.Fail("not a number");
    option->vmAmount = ClampToU32(n);
    return kOk;
}

// Default rows: the default option keyword of the feature named after "Default".
template <std::uint16_t Slot>
Result DefaultRow(ParseContext& ctx, const PpdEntry& entry) {
    WorkFeature* feature = nullptr;
    const Result r = GetFeature(ctx, Slot, entry.keyword.substr(7), &feature);
    if (r != kOk)
        return r;
    return StoreString(ctx, feature->defaultOption, entry.value, false);
}

using D = WorkDocument;
using O = WorkOption;

constexpr std::uint16_t kW = kFormWord;
constexpr std::uint16_t kT = kFormText;
constexpr std::uint16_t kQ = kFormQuoted;
constexpr std::uint16_t kOpt = kNeedsOption;
constexpr std::uint16_t kRep = kMayRepeat;

} // namespace

constexpr KeywordRow kKeywordRows[kKeywordCount] = {
    {"Include", Ignore, 7, kT | kRep},
    {"ColorDevice", BooleanField<&D::colorDevice>, 7, kW},
    {"EmailNotify", BooleanField<&D::emailNotify>, 7, kW},
    {"JogDevice", BooleanField<&D::jogDevice>, 7, kW},
    {"Overlay", BooleanField<&D::overlay>, 7, kW},
    {"MultiOverlay", BooleanField<&D::multiOverlay>, 7, kW},
    {"NUP", BooleanField<&D::nup>, 7, kW},
    {"Booklet", BooleanField<&D::booklet>, 7, kW},
    {"DoesPrintQuality", BooleanField<&D::doesPrintQuality>, 7, kW},
    {"Reprint", BooleanField<&D::reprint>, 7, kW},
    {"MiserDevice", BooleanField<&D::miserDevice>, 7, kW},
    {"Protocols", WordBits<&D::protocols, kProtocolWords>, 7, kW | kRep},
    {"NickName", StringField<&D::nickName, true>, 7, kT},
    {"LanguageLevel", IntegerField<&D::languageLevel>, 7, kT},
    {"LanguageEncoding", ListField<&D::languageEncoding, kLanguageEncodings>, 7, kW},
    {"LanguageVersion", LanguageVersion, 7, kW},
    {"TTRasterizer", ListField<&D::ttRasterizer, kRasterizers>, 7, kW},
    {"TrueImageDevice", TrueField<&D::trueImageDevice>, 7, kW},
    {"AcceptsTrueType", TrueField<&D::acceptsTrueType>, 7, kW},
    {"ExitServer", StringField<&D::exitServer, false>, 7, kQ},
    {"Password", StringField<&D::password, false>, 7, kQ},
    {"SuggestedJobTimeout", IntegerField<&D::suggestedJobTimeout>, 7, kT},
    {"SuggestedWaitTimeout", IntegerField<&D::suggestedWaitTimeout>, 7, kT},
    {"PrintPSError", BooleanField<&D::printPsError>, 7, kW},
    {"JCLBegin", StringField<&D::jclBegin, true>, 7, kT},
    {"JCLToPSInterpreter", StringField<&D::jclToPsInterpreter, true>, 7, kT},
    {"JCLEnd", StringField<&D::jclEnd, true>, 7, kT},
    {"LandscapeOrientation", ListField<&D::landscapeOrientation, kOrientations>, 7, kW},
    {"Font", Font, 7, kW | kOpt},
    {"CustomPageSize", CustomPageSize, 7, kQ | kOpt},
    {"ParamCustomPageSize", ParamCustomPageSize, 7, kW | kOpt},
    {"MaxMediaWidth", FixedField<&D::maxMediaWidth>, 7, kT},
    {"MaxMediaHeight", FixedField<&D::maxMediaHeight>, 7, kT},
    {"HWMargins", HwMargins, 7, kW},
    {"PageSize", OptionString<kPageSizeSlot, &O::invocation>, 0, kQ | kOpt},
    {"DefaultPageSize", DefaultRow<kGenericSlot>, 7, kW},
    {"PageRegion", OptionString<kPageSizeSlot, &O::regionInvocation>, 0, kQ | kOpt},
    {"ImageableArea", ImageableArea, 0, kQ | kOpt},
    {"PaperDimension", PaperDimension, 0, kQ | kOpt},
    {"InputSlot", InputSlot, 1, kQ | kOpt},
    {"DefaultInputSlot", DefaultRow<kGenericSlot>, 7, kW},
    {"RequiresPageRegion", RequiresPageRegion, 1, kW | kOpt},
    {"Collate", FeatureRowOption, 7, kQ | kOpt},
    {"DefaultCollate", DefaultRow<kGenericSlot>, 7, kW},
    {"Duplex", FeatureRowOption, 7, kQ | kOpt},
    {"DefaultDuplex", DefaultRow<kGenericSlot>, 7, kW},
    {"ManualFeed", FeatureRowOption, 7, kQ | kOpt},
    {"DefaultManualFeed", DefaultRow<kGenericSlot>, 7, kW},
    {"Resolution", ResolutionString<0, &O::invocation, false>, 5, kQ | kOpt},
    {"JCLResolution", ResolutionString<1, &O::jclInvocation, true>, 5, kT | kOpt},
    {"DefaultResolution", DefaultRow<kGenericSlot>, 7, kW},
    {"DefaultJCLResolution", DefaultRow<kResolutionSlot>, 7, kW},
    {"SetResolution", ResolutionString<2, &O::setInvocation, false>, 5, kQ | kOpt},
    {"ScreenAngle", FixedField<&D::screenAngle>, 7, kT},
    {"ScreenFreq", FixedField<&D::screenFreq>, 7, kT},
    {"ResScreenAngle", ResolutionFixed<&O::screenAngle>, 7, kT | kOpt},
    {"ResScreenFreq", ResolutionFixed<&O::screenFreq>, 7, kT | kOpt},
    {"FreeVM", FreeVm, 7, kT},
    {"InstalledMemory", OptionString<kMemorySlot, &O::invocation>, 6, kQ | kOpt},
    {"DefaultInstalledMemory", DefaultRow<kGenericSlot>, 7, kW},
    {"VMOption", VmOption, 6, kT | kOpt},
    {"OpenGroup", HandleOpenGroup, 7, kW | kRep},
    {"CloseGroup", HandleCloseGroup, 7, kW | kRep},
    {"OpenUI", HandleOpenUi, 7, kW | kOpt},
    {"CloseUI", HandleCloseUi, 7, kW | kRep},
    {"JCLOpenUI", HandleOpenUi, 7, kW | kOpt},
    {"JCLCloseUI", HandleCloseUi, 7, kW | kRep},
    {"OrderDependency", HandleOrderDependency, 7, kW | kRep},
    {"UIConstraints", HandleUiConstraints, 7, kW | kRep},
    {"Extensions", WordBits<&D::extensions, kExtensionWords>, 7, kW | kRep},
    {"End", Ignore, 7, kFormAny | kRep},
    {"JCLRes", Ignore, 7, kT | kOpt},
};

namespace {

// ---- hash index of the keyword table -------------------------------------------------------

constexpr std::size_t kBuckets = 127;
constexpr std::uint8_t kEmptyBucket = 0xFF;

struct KeywordIndex {
    std::uint32_t hash[kBuckets];
    std::uint8_t row[kBuckets];
    std::uint8_t length[kBuckets];
};

constexpr KeywordIndex BuildKeywordIndex() {
    KeywordIndex index{};
    for (std::size_t b = 0; b < kBuckets; ++b)
        index.row[b] = kEmptyBucket;
    for (std::size_t r = 0; r < kKeywordCount; ++r) {
        const std::uint32_t h = NameHash(kKeywordRows[r].name);
        std::size_t b = h % kBuckets;
        while (index.row[b] != kEmptyBucket)
            b = (b + 1) % kBuckets;
        index.hash[b] = h;
        index.row[b] = static_cast<std::uint8_t>(r);
        index.length[b] = static_cast<std::uint8_t>(std::string_view(kKeywordRows[r].name).size());
    }
    return index;
}

constexpr KeywordIndex kKeywordIndex = BuildKeywordIndex();

} // namespace

// ---- known fonts ---------------------------------------------------------------------------

// clang-format off
constexpr std::string_view kKnownFonts[kKnownFontRows] = {
    "Arial", "Arial-Bold", "Arial-BoldOblique", "Arial-Oblique", "Arial-Narrow",
    "Arial-Narrow-Bold", "Arial-Narrow-BoldOblique", "Arial-Narrow-Oblique", "AvantGarde-Book",
    "AvantGarde-BookOblique", "AvantGarde-Demi", "AvantGarde-DemiOblique", "Bookman-Demi",
    "Bookman-DemiItalic", "Bookman-Light", "Bookman-LightItalic", "Courier", "Courier-Bold",
    "Courier-BoldOblique", "Courier-Oblique", "Garamond-Bold", "Garamond-BoldItalic",
    "Garamond-Light", "Garamond-LightItalic", "Helvetica", "Helvetica-Black",
    "Helvetica-BlackOblique", "Helvetica-Bold", "Helvetica-BoldOblique", "Helvetica-Condensed",
    "Helvetica-Condensed-Bold", "Helvetica-Condensed-BoldObl", "Helvetica-Condensed-Oblique",
    "Helvetica-Light", "Helvetica-LightOblique", "Helvetica-Narrow", "Helvetica-Narrow-Bold",
    "Helvetica-Narrow-BoldOblique", "Helvetica-Narrow-Oblique", "Helvetica-Oblique",
    "Korinna-Bold", "Korinna-KursivBold", "Korinna-KursivRegular", "Korinna-Regular",
    "LubalinGraph-Book", "LubalinGraph-BookOblique", "LubalinGraph-Demi",
    "LubalinGraph-DemiOblique", "NewCenturySchlbk-Bold", "NewCenturySchlbk-BoldItalic",
    "NewCenturySchlbk-Italic", "NewCenturySchlbk-Roman", "Palatino-Bold", "Palatino-BoldItalic",
    "Palatino-Italic", "Palatino-Roman", "Souvenir-Demi", "Souvenir-DemiItalic", "Souvenir-Light",
    "Souvenir-LightItalic", "Symbol", "Times-Bold", "Times-BoldItalic", "Times-Italic",
    "Times-Roman", "Times-New-Roman", "Times-New-Roman-Bold", "Times-New-Roman-BoldItalic",
    "Times-New-Roman-Italic", "Varitimes#Bold", "Varitimes#BoldItalic", "Varitimes#Italic",
    "Varitimes#Roman", "ZapfCalligraphic-Bold", "ZapfCalligraphic-BoldItalic",
    "ZapfCalligraphic-Italic", "ZapfCalligraphic-Roman", "ZapfChancery-MediumItalic",
    "ZapfDingbats", "AlbertusMT-Italic", "AlbertusMT-Light", "AlbertusMT", "AntiqueOlive-Bold",
    "AntiqueOlive-Compact", "AntiqueOlive-Italic", "AntiqueOlive-Roman", "Apple-Chancery",
    "Bodoni-Bold", "Bodoni-BoldItalic", "Bodoni-Italic", "Bodoni-Poster",
    "Bodoni-PosterCompressed", "Bodoni", "Chicago", "Clarendon-Bold", "Clarendon-Light",
    "Clarendon", "CooperBlack-Italic", "CooperBlack", "Copperplate-ThirtyThreeBC",
    "Copperplate-ThirtyTwoBC", "Coronet-Regular", "Eurostile-Bold", "Eurostile-BoldExtendedTwo",
    "Eurostile-ExtendedTwo", "Eurostile", "Geneva", "GillSans-Bold", "GillSans-BoldCondensed",
    "GillSans-BoldItalic", "GillSans-Condensed", "GillSans-ExtraBold", "GillSans-Italic",
    "GillSans-Light", "GillSans-LightItalic", "GillSans", "Goudy-Bold", "Goudy-BoldItalic",
    "Goudy-ExtraBold", "Goudy-Italic", "Goudy", "HoeflerText-Black", "HoeflerText-BlackItalic",
    "HoeflerText-Italic", "HoeflerText-Ornaments", "HoeflerText-Regular", "JoannaMT-Bold",
    "JoannaMT-BoldItalic", "JoannaMT-Italic", "JoannaMT", "LetterGothic-Bold",
    "LetterGothic-BoldSlanted", "LetterGothic-Slanted", "LetterGothic", "LubalinGraph-Book",
    "LubalinGraph-BookOblique", "LubalinGraph-Demi", "LubalinGraph-DemiOblique", "Marigold",
    "Monaco", "MonaLisa-Recut", "NewYork", "Optima-Bold", "Optima-BoldItalic", "Optima-Italic",
    "Optima", "Oxford", "StempelGaramond-Bold", "StempelGaramond-BoldItalic",
    "StempelGaramond-Italic", "StempelGaramond-Roman", "Symbol", "Taffy",
    "TimesNewRomanPS-BoldItalicMT", "TimesNewRomanPS-BoldMT", "TimesNewRomanPS-ItalicMT",
    "TimesNewRomanPSMT", "Univers-Bold", "Univers-BoldExt", "Univers-BoldExtObl",
    "Univers-BoldOblique", "Univers-Condensed", "Univers-CondensedBold",
    "Univers-CondensedBoldOblique", "Univers-CondensedOblique", "Univers-Extended",
    "Univers-ExtendedObl", "Univers-Light", "Univers-LightOblique", "Univers-Oblique", "Univers",
    "Wingdings-Regular", "ZapfChanceryCE-MediumItalic",
};
// clang-format on

namespace {

constexpr std::size_t kFontBuckets = 512;

struct FontIndex {
    std::uint32_t hash[kFontBuckets];
    std::uint8_t number[kFontBuckets]; // 0: empty
    std::uint8_t row[kFontBuckets];
};

// Numbers count the distinct names in list order; a repeated name keeps its first number and
// is not entered again.
constexpr FontIndex BuildFontIndex() {
    FontIndex index{};
    int number = 0;
    for (std::size_t r = 0; r < kKnownFontRows; ++r) {
        bool repeated = false;
        for (std::size_t e = 0; e < r; ++e)
            repeated = repeated || kKnownFonts[e] == kKnownFonts[r];
        if (repeated)
            continue;
        ++number;
        const std::uint32_t h = NameHash(kKnownFonts[r]);
        std::size_t b = h % kFontBuckets;
        while (index.number[b] != 0)
            b = (b + 1) % kFontBuckets;
        index.hash[b] = h;
        index.number[b] = static_cast<std::uint8_t>(number);
        index.row[b] = static_cast<std::uint8_t>(r);
    }
    return index;
}

constexpr FontIndex kFontIndex = BuildFontIndex();

} // namespace

namespace {

struct KeywordShapes {
    std::size_t shortest = 255, longest = 0;
    std::uint8_t firstBytes[32] = {}; // bit set of the rows' first bytes
};

constexpr KeywordShapes BuildKeywordShapes() {
    KeywordShapes shapes;
    for (const KeywordRow& row : kKeywordRows) {
        const std::string_view name(row.name);
        shapes.shortest = name.size() < shapes.shortest ? name.size() : shapes.shortest;
        shapes.longest = name.size() > shapes.longest ? name.size() : shapes.longest;
        const auto first = static_cast<unsigned char>(name[0]);
        shapes.firstBytes[first / 8] =
            static_cast<std::uint8_t>(shapes.firstBytes[first / 8] | (1u << (first % 8)));
    }
    return shapes;
}

constexpr KeywordShapes kKeywordShapes = BuildKeywordShapes();

} // namespace

bool MayBeKeyword(std::string_view name) {
    if (name.size() < kKeywordShapes.shortest || name.size() > kKeywordShapes.longest)
        return false;
    const auto first = static_cast<unsigned char>(name[0]);
    return (kKeywordShapes.firstBytes[first / 8] & (1u << (first % 8))) != 0;
}

int FindKeyword(std::string_view name, std::uint32_t hash) {
    std::size_t b = hash % kBuckets;
    while (kKeywordIndex.row[b] != kEmptyBucket) {
        if (kKeywordIndex.hash[b] == hash && kKeywordIndex.length[b] == name.size() &&
            SameBytes(kKeywordRows[kKeywordIndex.row[b]].name, name.data(), name.size()))
            return kKeywordIndex.row[b];
        b = b + 1 == kBuckets ? 0 : b + 1;
    }
    return -1;
}

bool FitsForm(const KeywordRow& row, const PpdEntry& entry) {
    if (((row.flags & kNeedsOption) != 0) != entry.hasOption())
        return false;
    switch (row.flags & kFormMask) {
    case kFormAny:
        return true;
    case kFormQuoted:
        return entry.valueKind == ValueKind::kQuoted;
    case kFormText:
        return entry.valueKind == ValueKind::kQuoted || entry.valueKind == ValueKind::kPlain;
    case kFormWord:
        return entry.valueKind == ValueKind::kPlain && !entry.value.empty();
    default:
        return false;
    }
}

int KnownFontNumber(std::string_view name, std::uint32_t hash) {
    std::size_t b = hash % kFontBuckets;
    while (kFontIndex.number[b] != 0) {
        const std::string_view known = kKnownFonts[kFontIndex.row[b]];
        if (kFontIndex.hash[b] == hash && known.size() == name.size() &&
            SameBytes(known.data(), name.data(), name.size()))
            return kFontIndex.number[b];
        b = (b + 1) % kFontBuckets;
    }
    return 0;
}

} // namespace ppd
