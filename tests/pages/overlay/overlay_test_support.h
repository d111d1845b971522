#pragma once
// What the Overlay page and watermark editor tests share: the watermark names, a stored
// profile made from a block, and a registry that refuses writes.
#include <string>
#include <string_view>

#include "app/settings_block.h"
#include "pages/overlay/watermark_profile_store.h"
#include "platform/memory_registry.h"
#include "platform/registry.h"
#include "ui/headless/test_host.h"

namespace pages::testing {

using ui::headless::Cp1250;

inline const std::string kNone = Cp1250(u8"Žiadny");
inline const std::string kConfidential = Cp1250(u8"DÔVERNÉ");
inline const std::string kCopy = Cp1250(u8"KÓPIA");
inline const std::string kDraft = Cp1250(u8"NÁVRH");
inline const std::string kFinal = Cp1250(u8"KONEČNÉ");
inline const std::string kOriginal = Cp1250(u8"ORIGINÁL");
inline const std::string kPreview = Cp1250(u8"NÁHĽAD");
inline const std::string kProfilesKey = WatermarkProfilesKey("Vela Test");

// A 148-byte profile record holding the watermark of `block`.
inline std::string RecordBytes(const app::PrinterSettingsBlock& block) {
    const app::WatermarkProfile record = block.watermarkProfile();
    return std::string(record.bytes.begin(), record.bytes.end());
}

// Stores a profile named `name` with the given attributes (the rest as a reset leaves them).
inline void StoreProfile(platform::MemoryRegistry& registry, std::string_view name,
                         std::string_view text, std::int16_t size = 72, std::int16_t color = 0) {
    app::PrinterSettingsBlock block;
    app::ApplyNewBlockDefaults(block);
    block.setWatermarkName(name);
    block.setWatermarkText(text);
    block.setWatermarkSize(size);
    block.setWatermarkColor(color);
    registry.Put(kProfilesKey, name, platform::RegistryType::Binary, RecordBytes(block));
}

// Forwards to another registry but refuses to store or delete values while `refusing`.
class RefusingRegistry final : public platform::Registry {
public:
    explicit RefusingRegistry(platform::Registry& inner) : inner_(inner) {}
    bool refusing = true;

    long CreateKey(std::string_view path, std::uint32_t access, platform::RegistryKey* key,
                   bool* created) override {
        return inner_.CreateKey(path, access, key, created);
    }
    long OpenKey(std::string_view path, std::uint32_t access, platform::RegistryKey* key) override {
        return inner_.OpenKey(path, access, key);
    }
    long CloseKey(platform::RegistryKey key) override { return inner_.CloseKey(key); }
    long QueryValue(platform::RegistryKey key, std::string_view name, platform::RegistryType* type,
                    void* data, std::uint32_t* size) override {
        return inner_.QueryValue(key, name, type, data, size);
    }
    long SetValue(platform::RegistryKey key, std::string_view name, platform::RegistryType type,
                  const void* data, std::uint32_t size) override {
        return refusing ? platform::kRegistryAccessDenied
                        : inner_.SetValue(key, name, type, data, size);
    }
    long EnumValue(platform::RegistryKey key, std::uint32_t index, char* name,
                   std::uint32_t* nameSize, platform::RegistryType* type, void* data,
                   std::uint32_t* dataSize) override {
        return inner_.EnumValue(key, index, name, nameSize, type, data, dataSize);
    }
    long DeleteValue(platform::RegistryKey key, std::string_view name) override {
        return refusing ? platform::kRegistryAccessDenied : inner_.DeleteValue(key, name);
    }

private:
    platform::Registry& inner_;
};

} // namespace pages::testing
