#pragma once
// Short path forms through GetShortPathNameW.
#include "platform/short_path_names.h"

namespace platform {

class Win32ShortPathNames final : public ShortPathNames {
public:
    std::optional<std::string> ShortForm(std::string_view path) override;
};

} // namespace platform
