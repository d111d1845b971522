#pragma once
// The font families of the display, as EnumFontFamilies lists them: the watermark editor and
// the Fonts page offer the TrueType ones.
#include <string>
#include <utility>
#include <vector>

namespace platform {

class FontEnumerator {
public:
    virtual ~FontEnumerator() = default;
    // The face names (code page 1250) of the display's TrueType font families, in the order
    // the system enumerates them; a family the system lists twice appears twice.
    virtual std::vector<std::string> TrueTypeFamilies() = 0;
};

// The portable enumerator: a fixed list, by default a few families every Windows system has.
class FixedFontEnumerator : public FontEnumerator {
public:
    FixedFontEnumerator() = default;
    explicit FixedFontEnumerator(std::vector<std::string> families)
        : families(std::move(families)) {}
    std::vector<std::string> TrueTypeFamilies() override { return families; }

    std::vector<std::string> families = {"Arial", "Courier New", "Times New Roman", "Verdana"};
};

} // namespace platform
