#include "ui/scaled_bitmap.h"

#include "res/resource.h"

namespace ui {

ScaledBitmap ChooseScaledBitmap(int bitmapId, int dpi, const std::function<bool(int)>& exists) {
    struct Drawn {
        int dpi;
        int offset;
    };
    static constexpr Drawn kDrawn[] = {
        {kDefaultDpi, 0},
        {120, BITMAP_ID_OFFSET_120_DPI},
        {144, BITMAP_ID_OFFSET_144_DPI},
    };
    ScaledBitmap chosen{bitmapId, 1};
    int chosenDpi = kDefaultDpi;
    for (const Drawn& drawn : kDrawn) {
        const int factor = dpi / drawn.dpi;
        if (factor < 1 || drawn.dpi * factor < chosenDpi)
            continue;
        const int resourceId = bitmapId + drawn.offset;
        if (drawn.offset != 0 && !(exists && exists(resourceId)))
            continue;
        // Later entries are drawn larger, so they win a tie.
        chosen = ScaledBitmap{resourceId, factor};
        chosenDpi = drawn.dpi * factor;
    }
    return chosen;
}

} // namespace ui
