#include "ui/headless/test_host.h"

#include "platform/codepage1250.h"
#include "res/compiled_resources.h"

namespace ui::headless {

TestHost::TestHost() : TestHost(res::CompiledResources()) {}

TestHost::TestHost(std::span<const unsigned char> resources)
    : HeadlessBackend(resources), scope_(*this) {}

TestHost::~TestHost() = default;

std::vector<std::string> TestHost::Items(int id) {
    const ComboBox list = Combo(id);
    std::vector<std::string> items;
    const int count = list.GetCount();
    for (int i = 0; i < count; ++i)
        items.push_back(list.GetItemText(i));
    return items;
}

std::vector<std::intptr_t> TestHost::ItemData(int id) {
    const ComboBox list = Combo(id);
    std::vector<std::intptr_t> data;
    const int count = list.GetCount();
    for (int i = 0; i < count; ++i)
        data.push_back(list.GetItemData(i));
    return data;
}

std::string Cp1250(std::u8string_view text) {
    return platform::Utf8ToCp1250(
        std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
}

} // namespace ui::headless
