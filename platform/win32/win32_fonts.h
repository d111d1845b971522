#pragma once
// The display's font families through EnumFontFamiliesW.
#include "platform/font_enumerator.h"

namespace platform {

class Win32FontEnumerator : public FontEnumerator {
public:
    std::vector<std::string> TrueTypeFamilies() override;
};

} // namespace platform
