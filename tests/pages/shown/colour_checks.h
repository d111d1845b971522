#pragma once
// Checks of the colour lists, shared by the Features page and the colour dialogs.
#include <optional>
#include <string>

#include "tests/pages/shown/shown_fields.h"

namespace shown {

// A profile list (quick colours, the colour options' list): the selected entry carries
// `colorProfileIndex`, and for a stored profile (0) reads `colorProfileName`.
std::optional<std::string> ColorProfileChoiceShown(const ShownContext& context);

} // namespace shown
