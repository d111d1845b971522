#include "pages/shared/context_help.h"

#include "res/resource.h"

namespace pages {
namespace {

// Every list in one array, each ended by a 0 (no dialog or control has id 0).
#define VELA_CONTEXT_HELP(...) __VA_ARGS__, 0,
constexpr int kAllIds[] = {
#include "pages/shared/context_help_ids.inc"
};
#undef VELA_CONTEXT_HELP

} // namespace

std::span<const int> ContextHelpIds(int dialogId) {
    const std::span<const int> all(kAllIds);
    for (size_t start = 0; start < all.size();) {
        size_t end = start;
        while (end < all.size() && all[end] != 0)
            ++end;
        if (all[start] == dialogId)
            return all.subspan(start, end - start);
        start = end + 1;
    }
    return {};
}

} // namespace pages
