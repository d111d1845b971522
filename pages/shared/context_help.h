#pragma once
// The context-help ids of a page or dialog, from the one table of them (context_help_ids.inc):
// its dialog id first, then the ids of its controls, as SetContextHelpIds takes them.
#include <span>

namespace pages {

// Empty for a dialog id the table does not hold.
std::span<const int> ContextHelpIds(int dialogId);

} // namespace pages
