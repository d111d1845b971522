#include "tests/ui/test_resources.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace ui::testing {

std::span<const unsigned char> TestResources() {
    static const std::vector<unsigned char> bytes = [] {
        std::vector<unsigned char> data;
        std::FILE* file = std::fopen(VELA_UI_TEST_RES, "rb");
        if (!file) {
            std::fprintf(stderr, "cannot open %s\n", VELA_UI_TEST_RES);
            std::abort();
        }
        unsigned char buffer[4096];
        size_t read = 0;
        while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            data.insert(data.end(), buffer, buffer + read);
        std::fclose(file);
        return data;
    }();
    return bytes;
}

} // namespace ui::testing
