#include "ui/backend.h"
#include "ui/headless/headless_backend.h"

namespace ui {

// Natively there are no real windows: an empty in-memory backend, which reports any modal run
// as a script failure.
Backend& DefaultBackend() {
    static headless::HeadlessBackend backend{std::span<const unsigned char>()};
    return backend;
}

} // namespace ui
