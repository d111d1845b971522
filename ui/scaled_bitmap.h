#pragma once
// Which of the program's bitmaps shows a picture on a screen of some scale. Every bitmap is drawn
// for 96 DPI (100 %) and, where the program has them, for 120 and 144 DPI (res/resource.h); a
// larger screen gets one of them with its pixels multiplied by a whole factor.
#include <functional>

namespace ui {

inline constexpr int kDefaultDpi = 96;

struct ScaledBitmap {
    int resourceId = 0;
    int factor = 1; // each pixel becomes factor x factor pixels
    friend bool operator==(const ScaledBitmap&, const ScaledBitmap&) = default;
};

// The largest picture not larger than the screen asks for: of the bitmaps drawn for 96, 120
// and 144 DPI that `exists` confirms (96 always counts), times the largest factor that keeps
// DPI times factor within `dpi`; between equal results the one drawn larger. Below 96 DPI the
// bitmap of 96 DPI as it is.
ScaledBitmap ChooseScaledBitmap(int bitmapId, int dpi, const std::function<bool(int)>& exists);

} // namespace ui
