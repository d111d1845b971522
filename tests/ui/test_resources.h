#pragma once
// The compiled resources of the UI tests (tests/ui/data/conformance.rc), read once.
#include <span>

namespace ui::testing {

std::span<const unsigned char> TestResources();

} // namespace ui::testing
