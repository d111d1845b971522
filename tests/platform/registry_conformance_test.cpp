// One suite for every registry implementation: the in-memory one everywhere and, in the Windows
// build, the real registry too, so that both keep the same results and buffer behaviour.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/registry.h"
#include "tests/platform/registry_subjects.h"

namespace platform {
namespace {

using namespace std::string_view_literals;

class RegistryConformance : public testing::TestWithParam<Subject> {
protected:
    void SetUp() override {
        registry_ = GetParam().make();
        root_ = UniqueTestRoot();
        ASSERT_EQ(registry_->CreateKey(root_, kKeyAllAccess, &key_), kRegistryOk);
    }
    void TearDown() override {
        if (key_ != 0) {
            EXPECT_EQ(registry_->CloseKey(key_), kRegistryOk);
        }
        GetParam().cleanUp(*registry_, root_);
    }

    long Set(std::string_view name, RegistryType type, std::string_view data) {
        return registry_->SetValue(key_, name, type, data.data(),
                                   static_cast<std::uint32_t>(data.size()));
    }
    // The value's bytes read with a buffer that is large enough, or "<error N>".
    std::string Get(RegistryKey key, std::string_view name, RegistryType* type = nullptr) {
        std::uint32_t size = 0;
        long result = registry_->QueryValue(key, name, nullptr, nullptr, &size);
        if (result != kRegistryOk)
            return "<error " + std::to_string(result) + ">";
        std::string data(size, '\0');
        result = registry_->QueryValue(key, name, type, data.data(), &size);
        if (result != kRegistryOk)
            return "<error " + std::to_string(result) + ">";
        data.resize(size);
        return data;
    }
    std::vector<std::string> ValueNames(RegistryKey key) {
        std::vector<std::string> names;
        for (std::uint32_t i = 0; i < 100; ++i) {
            char name[64];
            std::uint32_t nameSize = sizeof(name);
            const long result =
                registry_->EnumValue(key, i, name, &nameSize, nullptr, nullptr, nullptr);
            if (result != kRegistryOk) {
                EXPECT_EQ(result, kRegistryNoMoreItems);
                break;
            }
            names.emplace_back(name, nameSize);
        }
        return names;
    }

    std::unique_ptr<Registry> registry_;
    std::string root_;
    RegistryKey key_ = 0;
};

// Value shapes the program stores: binary records with NULs, Slovak text, a DWORD, a list.
struct Sample {
    const char* label;
    RegistryType type;
    std::string_view data;
};
const Sample kSamples[] = {
    {"binary", RegistryType::Binary, "\x01\x00\x00\xFF\x8E\x00"sv},
    {"string", RegistryType::String, "Bro\x9E\xFAra \x8E\xBE\xE1\0"sv},
    {"expand", RegistryType::ExpandString, "%SystemRoot%\\\x9Eiadny\0"sv},
    {"multi", RegistryType::MultiString, "\x8Eiadny\0\xBE\0\0"sv},
    {"dword", RegistryType::Dword, "\x78\x56\x34\x12"sv},
};

// Creating makes every missing key of the path and says whether it did; opening never creates.
TEST_P(RegistryConformance, CreateAndOpenKeys) {
    const std::string path = root_ + "\\Printer\\PrinterDriverData";
    RegistryKey key = 99;
    EXPECT_EQ(registry_->OpenKey(path, kKeyRead, &key), kRegistryNotFound);
    EXPECT_EQ(key, 0u);
    bool created = false;
    ASSERT_EQ(registry_->CreateKey(path, kKeyAllAccess, &key, &created), kRegistryOk);
    EXPECT_TRUE(created);
    EXPECT_EQ(registry_->CloseKey(key), kRegistryOk);
    ASSERT_EQ(registry_->CreateKey(path, kKeyAllAccess, &key, &created), kRegistryOk);
    EXPECT_FALSE(created);
    EXPECT_EQ(registry_->CloseKey(key), kRegistryOk);
    ASSERT_EQ(registry_->OpenKey(root_ + "\\Printer", kKeyRead, &key), kRegistryOk);
    EXPECT_EQ(registry_->CloseKey(key), kRegistryOk);
    EXPECT_EQ(registry_->OpenKey(root_ + "\\Missing", kKeyRead, &key), kRegistryNotFound);
}

// Key paths ignore case (Slovak letters too), doubled and trailing backslashes; a leading
// backslash and an over-long name are refused.
TEST_P(RegistryConformance, KeyPathSpellings) {
    RegistryKey key = 0;
    ASSERT_EQ(registry_->CreateKey(root_ + "\\Tla\xE8iare\xF2 \x9Eltej", kKeyAllAccess, &key),
              kRegistryOk);
    ASSERT_EQ(registry_->SetValue(key, "v", RegistryType::Binary, "x", 1), kRegistryOk);
    EXPECT_EQ(registry_->CloseKey(key), kRegistryOk);
    struct Case {
        std::string path;
        long result;
    };
    const Case cases[] = {
        {root_ + "\\Tla\xE8iare\xF2 \x9Eltej", kRegistryOk},
        {root_ + "\\TLA\xC8IARE\xD2 \x8ELTEJ", kRegistryOk},
        {root_ + "\\tla\xE8iare\xF2 \x9Eltej\\", kRegistryOk},
        {root_ + "\\\\Tla\xE8iare\xF2 \x9Eltej", kRegistryOk},
        {root_ + "\\Tlaciaren zltej", kRegistryNotFound},
        {"\\" + root_, kRegistryBadPathname},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_EQ(registry_->OpenKey(c.path, kKeyRead, &key), c.result);
        if (c.result == kRegistryOk) {
            EXPECT_EQ(Get(key, "v"), "x");
            EXPECT_EQ(registry_->CloseKey(key), kRegistryOk);
        }
    }
    EXPECT_EQ(registry_->CreateKey("\\" + root_ + "\\New", kKeyAllAccess, &key),
              kRegistryBadPathname);
    // Windows allows 255 characters a name, Wine one more; beyond that both refuse.
    EXPECT_EQ(registry_->CreateKey(root_ + "\\" + std::string(257, 'k'), kKeyAllAccess, &key),
              kRegistryInvalidParameter);
    ASSERT_EQ(registry_->CreateKey(root_ + "\\" + std::string(255, 'k'), kKeyAllAccess, &key),
              kRegistryOk);
    EXPECT_EQ(registry_->CloseKey(key), kRegistryOk);
}

// Every shape round-trips byte for byte; a size query reports the stored length and type.
TEST_P(RegistryConformance, ValuesRoundTripAndReportTheirSize) {
    for (const Sample& s : kSamples) {
        SCOPED_TRACE(s.label);
        ASSERT_EQ(Set(s.label, s.type, s.data), kRegistryOk);
        RegistryType type = RegistryType::None;
        std::uint32_t size = 0;
        EXPECT_EQ(registry_->QueryValue(key_, s.label, &type, nullptr, &size), kRegistryOk);
        EXPECT_EQ(size, s.data.size());
        EXPECT_EQ(type, s.type);
        type = RegistryType::None;
        EXPECT_EQ(Get(key_, s.label, &type), s.data);
        EXPECT_EQ(type, s.type);
        // Type only: no data, no size.
        EXPECT_EQ(registry_->QueryValue(key_, s.label, &type, nullptr, nullptr), kRegistryOk);
    }
}

// A buffer of exactly the value's length is enough; one byte less fails with the needed length
// and nothing is written past the caller's capacity.
TEST_P(RegistryConformance, ExactFitAndOneByteShort) {
    for (const Sample& s : kSamples) {
        SCOPED_TRACE(s.label);
        ASSERT_EQ(Set(s.label, s.type, s.data), kRegistryOk);
        const auto length = static_cast<std::uint32_t>(s.data.size());
        std::vector<char> buffer(length + 1, '\xCC');
        std::uint32_t size = length;
        ASSERT_EQ(registry_->QueryValue(key_, s.label, nullptr, buffer.data(), &size), kRegistryOk);
        EXPECT_EQ(size, length);
        EXPECT_EQ(std::string_view(buffer.data(), length), s.data);
        EXPECT_EQ(buffer[length], '\xCC');

        std::fill(buffer.begin(), buffer.end(), '\xCC');
        size = length - 1;
        RegistryType type = RegistryType::None;
        EXPECT_EQ(registry_->QueryValue(key_, s.label, &type, buffer.data(), &size),
                  kRegistryMoreData);
        EXPECT_EQ(size, length);
        EXPECT_EQ(type, s.type);
        EXPECT_EQ(buffer[length - 1], '\xCC');
        EXPECT_EQ(buffer[length], '\xCC');
    }
}

// A string stored without its NUL keeps its length; a NUL is written after it only when the
// buffer has room, as RegQueryValueExA does.
TEST_P(RegistryConformance, StringWithoutTerminator) {
    ASSERT_EQ(Set("text", RegistryType::String, "ab\x8E"), kRegistryOk);
    struct Case {
        std::uint32_t capacity;
        const char* expected; // 4 bytes after the call; '*' is the untouched guard
    };
    const Case cases[] = {{10, "ab\x8E\0"}, {3, "ab\x8E*"}};
    for (const Case& c : cases) {
        char buffer[10];
        std::memset(buffer, '*', sizeof(buffer));
        std::uint32_t size = c.capacity;
        EXPECT_EQ(registry_->QueryValue(key_, "text", nullptr, buffer, &size), kRegistryOk);
        EXPECT_EQ(size, 3u);
        EXPECT_EQ(std::string_view(buffer, 4), std::string_view(c.expected, 4));
    }
    ASSERT_EQ(Set("empty", RegistryType::String, ""), kRegistryOk);
    char buffer[4] = {'*', '*', '*', '*'};
    std::uint32_t size = sizeof(buffer);
    EXPECT_EQ(registry_->QueryValue(key_, "empty", nullptr, buffer, &size), kRegistryOk);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(buffer[0], '*');
}

// Every code page 1250 byte survives as string data and in value names.
TEST_P(RegistryConformance, Cp1250TextRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    all += '\0';
    const std::string name = "N\xE1zov \x8E\x9E\xBE\xE1 \x80";
    ASSERT_EQ(Set(name, RegistryType::String, all), kRegistryOk);
    EXPECT_EQ(Get(key_, name), all);
    EXPECT_EQ(ValueNames(key_), std::vector<std::string>{name});
    std::string binary;
    for (int b = 0; b < 256; ++b)
        binary += static_cast<char>(b);
    ASSERT_EQ(Set("binary", RegistryType::Binary, binary), kRegistryOk);
    EXPECT_EQ(Get(key_, "binary"), binary);
}

// Value names ignore case; a replaced value keeps its first spelling, takes the new type and
// data and stays at its place in the enumeration.
TEST_P(RegistryConformance, ValueNamesIgnoreCase) {
    ASSERT_EQ(Set("Farba", RegistryType::Binary, "1"), kRegistryOk);
    ASSERT_EQ(Set("\x8Elt\xE1", RegistryType::Binary, "2"), kRegistryOk);
    ASSERT_EQ(Set("FARBA", RegistryType::Dword, "\x05\0\0\0"sv), kRegistryOk);
    RegistryType type = RegistryType::None;
    EXPECT_EQ(Get(key_, "fARBA", &type), "\x05\0\0\0"sv);
    EXPECT_EQ(type, RegistryType::Dword);
    EXPECT_EQ(Get(key_, "\x9ELT\xC1"), "2");
    EXPECT_EQ(ValueNames(key_), (std::vector<std::string>{"Farba", "\x8Elt\xE1"}));
}

// Enumeration: each value once, in creation order (Wine: by name), replacing keeps the place,
// deleting closes the gap, then no more items.
TEST_P(RegistryConformance, EnumerationOrder) {
    for (const char* name : {"zeta", "Alpha", "mid", "beta"})
        ASSERT_EQ(Set(name, RegistryType::Binary, "x"), kRegistryOk);
    ASSERT_EQ(Set("Alpha", RegistryType::Binary, "yy"), kRegistryOk);
    ASSERT_EQ(registry_->DeleteValue(key_, "MID"), kRegistryOk);
    const std::vector<std::string> expected =
        GetParam().sortsValues() ? std::vector<std::string>{"Alpha", "beta", "zeta"}
                                 : std::vector<std::string>{"zeta", "Alpha", "beta"};
    EXPECT_EQ(ValueNames(key_), expected);
    char name[16];
    std::uint32_t nameSize = sizeof(name);
    EXPECT_EQ(registry_->EnumValue(key_, 3, name, &nameSize, nullptr, nullptr, nullptr),
              kRegistryNoMoreItems);
    EXPECT_EQ(registry_->EnumValue(key_, 1000, name, &nameSize, nullptr, nullptr, nullptr),
              kRegistryNoMoreItems);
}

// Enumeration buffers: the name needs room for its NUL; a name or data that does not fit leaves
// the name size alone and reports the data length and type.
TEST_P(RegistryConformance, EnumerationBuffers) {
    ASSERT_EQ(Set("Alpha", RegistryType::Binary, "12345"), kRegistryOk);
    struct Case {
        std::uint32_t nameCapacity;
        int dataCapacity; // -1: no data buffer
        long result;
        std::uint32_t nameSize;
        std::uint32_t dataSize;
    };
    const Case cases[] = {
        {5, -1, kRegistryMoreData, 5, 5}, {6, -1, kRegistryOk, 5, 5},
        {1, 5, kRegistryMoreData, 1, 5},  {64, 4, kRegistryMoreData, 64, 5},
        {64, 5, kRegistryOk, 5, 5},       {6, 9, kRegistryOk, 5, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nameCapacity << " " << c.dataCapacity);
        char name[64];
        char data[16];
        std::uint32_t nameSize = c.nameCapacity;
        std::uint32_t dataSize = c.dataCapacity < 0 ? 0 : c.dataCapacity;
        RegistryType type = RegistryType::None;
        EXPECT_EQ(registry_->EnumValue(key_, 0, name, &nameSize, &type,
                                       c.dataCapacity < 0 ? nullptr : data, &dataSize),
                  c.result);
        EXPECT_EQ(nameSize, c.nameSize);
        EXPECT_EQ(dataSize, c.dataSize);
        EXPECT_EQ(type, RegistryType::Binary);
        if (c.result == kRegistryOk) {
            EXPECT_STREQ(name, "Alpha");
            if (c.dataCapacity >= 0) {
                EXPECT_EQ(std::string_view(data, 5), "12345");
            }
        }
    }
    char name[64];
    std::uint32_t nameSize = sizeof(name);
    EXPECT_EQ(registry_->EnumValue(key_, 0, name, &nameSize, nullptr, nullptr, nullptr),
              kRegistryOk);
}

// The unnamed default value, and deleting values: afterwards they are missing everywhere.
TEST_P(RegistryConformance, DefaultValueAndDelete) {
    EXPECT_EQ(Get(key_, ""), "<error 2>");
    EXPECT_EQ(registry_->DeleteValue(key_, ""), kRegistryNotFound);
    ASSERT_EQ(Set("", RegistryType::String, "\"C:\\Browser\\browse.exe\" -nohome\0"sv),
              kRegistryOk);
    ASSERT_EQ(Set("Port", RegistryType::String, "LPT1:\0"sv), kRegistryOk);
    EXPECT_EQ(Get(key_, ""), "\"C:\\Browser\\browse.exe\" -nohome\0"sv);
    EXPECT_EQ(ValueNames(key_).size(), 2u);
    EXPECT_EQ(registry_->DeleteValue(key_, ""), kRegistryOk);
    EXPECT_EQ(Get(key_, ""), "<error 2>");
    EXPECT_EQ(registry_->DeleteValue(key_, "port"), kRegistryOk);
    EXPECT_EQ(registry_->DeleteValue(key_, "Port"), kRegistryNotFound);
    EXPECT_EQ(Get(key_, "Port"), "<error 2>");
    EXPECT_TRUE(ValueNames(key_).empty());
}

// Rights are checked per handle before the value is looked for: reading needs query rights,
// writing and deleting need set rights.
TEST_P(RegistryConformance, AccessRights) {
    struct Case {
        const char* label;
        std::uint32_t access;
        bool create;
        long write; // set and delete
        long read;  // query and enumerate
    };
    const Case cases[] = {
        {"query", kKeyQueryValue, false, kRegistryAccessDenied, kRegistryOk},
        {"read (create)", kKeyRead, true, kRegistryAccessDenied, kRegistryOk},
        {"set", kKeySetValue, false, kRegistryOk, kRegistryAccessDenied},
        {"write (create)", kKeyWrite, true, kRegistryOk, kRegistryAccessDenied},
        {"all", kKeyAllAccess, false, kRegistryOk, kRegistryOk},
        {"none", 0, false, kRegistryAccessDenied, kRegistryAccessDenied},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_EQ(Set("v", RegistryType::Binary, "1"), kRegistryOk);
        RegistryKey key = 0;
        ASSERT_EQ(c.create ? registry_->CreateKey(root_, c.access, &key)
                           : registry_->OpenKey(root_, c.access, &key),
                  kRegistryOk);
        EXPECT_EQ(registry_->SetValue(key, "w", RegistryType::Binary, "2", 1), c.write);
        EXPECT_EQ(registry_->DeleteValue(key, "missing"),
                  c.write == kRegistryOk ? kRegistryNotFound : c.write);
        char data[4];
        std::uint32_t size = sizeof(data);
        EXPECT_EQ(registry_->QueryValue(key, "v", nullptr, data, &size), c.read);
        char name[8];
        std::uint32_t nameSize = sizeof(name);
        EXPECT_EQ(registry_->EnumValue(key, 0, name, &nameSize, nullptr, nullptr, nullptr), c.read);
        EXPECT_EQ(registry_->DeleteValue(key, "v"), c.write);
        EXPECT_EQ(registry_->CloseKey(key), kRegistryOk);
        registry_->DeleteValue(key_, "v");
        registry_->DeleteValue(key_, "w");
    }
}

// No key and a closed key are invalid handles for every operation; closing twice fails.
TEST_P(RegistryConformance, InvalidHandles) {
    RegistryKey closed = 0;
    ASSERT_EQ(registry_->OpenKey(root_, kKeyAllAccess, &closed), kRegistryOk);
    ASSERT_EQ(registry_->CloseKey(closed), kRegistryOk);
    for (RegistryKey key : {RegistryKey{0}, closed}) {
        char data[8];
        std::uint32_t size = sizeof(data);
        char name[8];
        std::uint32_t nameSize = sizeof(name);
        EXPECT_EQ(registry_->QueryValue(key, "v", nullptr, data, &size), kRegistryInvalidHandle);
        EXPECT_EQ(registry_->SetValue(key, "v", RegistryType::Binary, "1", 1),
                  kRegistryInvalidHandle);
        EXPECT_EQ(registry_->EnumValue(key, 0, name, &nameSize, nullptr, nullptr, nullptr),
                  kRegistryInvalidHandle);
        EXPECT_EQ(registry_->DeleteValue(key, "v"), kRegistryInvalidHandle);
        EXPECT_EQ(registry_->CloseKey(key), kRegistryInvalidHandle);
    }
}

// Missing outputs and out-of-range names are refused with the codes Windows gives.
TEST_P(RegistryConformance, ParameterErrors) {
    ASSERT_EQ(Set("v", RegistryType::Binary, "1"), kRegistryOk);
    char data[8];
    char name[8];
    std::uint32_t size = sizeof(name);
    EXPECT_EQ(registry_->QueryValue(key_, "v", nullptr, data, nullptr), kRegistryInvalidParameter);
    EXPECT_EQ(registry_->SetValue(key_, "w", RegistryType::Binary, nullptr, 3), kRegistryNoAccess);
    EXPECT_EQ(registry_->EnumValue(key_, 0, nullptr, &size, nullptr, nullptr, nullptr),
              kRegistryInvalidParameter);
    EXPECT_EQ(registry_->EnumValue(key_, 0, name, nullptr, nullptr, nullptr, nullptr),
              kRegistryInvalidParameter);
    EXPECT_EQ(registry_->EnumValue(key_, 0, name, &size, nullptr, data, nullptr),
              kRegistryInvalidParameter);
    EXPECT_EQ(registry_->CreateKey(root_, kKeyRead, nullptr), kRegistryInvalidParameter);
    EXPECT_EQ(registry_->OpenKey(root_, kKeyRead, nullptr), kRegistryInvalidParameter);
    // No data with no size stores an empty value.
    EXPECT_EQ(registry_->SetValue(key_, "empty", RegistryType::Binary, nullptr, 0), kRegistryOk);
    EXPECT_EQ(Get(key_, "empty"), "");
    EXPECT_EQ(Set(std::string(16384, 'n'), RegistryType::Binary, "1"), kRegistryInvalidParameter);
    EXPECT_EQ(Set(std::string(16383, 'n'), RegistryType::Binary, "1"), kRegistryOk);
}

// Names end at their first NUL, as C strings; two handles of one key see the same values.
TEST_P(RegistryConformance, NamesEndAtNulAndHandlesShareTheKey) {
    RegistryKey key = 0;
    ASSERT_EQ(registry_->CreateKey(root_ + std::string("\\Sub\0junk"sv), kKeyAllAccess, &key),
              kRegistryOk);
    ASSERT_EQ(registry_->SetValue(key, "name\0rest"sv, RegistryType::Binary, "1", 1), kRegistryOk);
    RegistryKey other = 0;
    ASSERT_EQ(registry_->OpenKey(root_ + "\\SUB", kKeyAllAccess, &other), kRegistryOk);
    EXPECT_EQ(Get(other, "name"), "1");
    EXPECT_EQ(registry_->SetValue(other, "name", RegistryType::Binary, "2", 1), kRegistryOk);
    EXPECT_EQ(Get(key, "name"), "2");
    EXPECT_EQ(registry_->CloseKey(other), kRegistryOk);
    EXPECT_EQ(registry_->CloseKey(key), kRegistryOk);
}

INSTANTIATE_TEST_SUITE_P(Registries, RegistryConformance, testing::ValuesIn(Subjects()),
                         SubjectName);

} // namespace
} // namespace platform
