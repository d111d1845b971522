#pragma once
// The pictures the program draws itself, shown by the real pages at the process's scale: the
// Layout page's preview (its bitmap drawn for the scale, centred in its group box) and the
// About page's picture (drawn for the scale, placed by the page's rule).
#include <string>
#include <vector>

namespace layoutcheck {

// Adds one report line per problem. `driverPath` (code page 1250) names the printer whose PPD
// the Layout page reads.
void CheckPictures(int dpi, const std::string& driverPath, std::vector<std::string>& problems);

} // namespace layoutcheck
