#include "tools/sheetrun/ppd_list.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace sheetrun {
namespace {

bool IsPpdName(const std::string& name) {
    if (name.size() < 4)
        return false;
    std::string end = name.substr(name.size() - 4);
    std::transform(end.begin(), end.end(), end.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return end == ".ppd";
}

} // namespace

std::vector<std::string> PpdsOf(const std::vector<std::string>& inputs, int every) {
    std::vector<std::string> all;
    for (const std::string& input : inputs) {
        if (IsPpdName(input)) {
            all.push_back(input);
            continue;
        }
        std::ifstream list(input);
        if (!list)
            return {};
        for (std::string line; std::getline(list, line);) {
            if (!line.empty())
                all.push_back(line);
        }
    }
    std::vector<std::string> chosen;
    const std::size_t step = static_cast<std::size_t>(std::max(every, 1));
    for (std::size_t i = 0; i < all.size(); i += step)
        chosen.push_back(all[i]);
    return chosen;
}

} // namespace sheetrun
