// The scoped key every store uses, against each registry: records are REG_BINARY values of at
// most their size, zero-filled (shorter ones come from other writers), longer ones and other
// types are refused; a key opened for reading refuses writes as Windows does; keys close on
// every path.
#include "platform/scoped_registry_key.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "platform/memory_registry.h"
#include "tests/platform/registry_subjects.h"

namespace platform {
namespace {

using namespace std::string_view_literals;

constexpr std::size_t kRecordSize = 8;
using Record = std::array<std::uint8_t, kRecordSize>;

std::string Text(const Record& record) {
    return std::string(record.begin(), record.end());
}

class ScopedRegistryKeyTest : public testing::TestWithParam<Subject> {
protected:
    void SetUp() override {
        registry_ = GetParam().make();
        root_ = UniqueTestRoot();
        auto key = ScopedRegistryKey::Create(*registry_, root_, kKeyAllAccess);
        ASSERT_TRUE(key);
    }
    void TearDown() override { GetParam().cleanUp(*registry_, root_); }

    void Put(std::string_view name, RegistryType type, std::string_view data) const {
        const auto key = ScopedRegistryKey::Open(*registry_, root_, kKeyAllAccess);
        ASSERT_EQ(key.SetValue(name, type, data.data(), static_cast<std::uint32_t>(data.size())),
                  kRegistryOk);
    }

    std::unique_ptr<Registry> registry_;
    std::string root_;
};

// What a record read takes: the value's bytes and zeros after them, or nothing at all.
struct RecordCase {
    const char* what;
    RegistryType type;
    std::string_view data;
    bool read;
    std::string_view record;
};
const RecordCase kRecordCases[] = {
    {"whole record", RegistryType::Binary, "ABCDEFGH"sv, true, "ABCDEFGH"sv},
    {"shorter record", RegistryType::Binary, "ABC"sv, true, "ABC\0\0\0\0\0"sv},
    {"empty value", RegistryType::Binary, ""sv, true, "\0\0\0\0\0\0\0\0"sv},
    {"one byte longer", RegistryType::Binary, "ABCDEFGHI"sv, false, "\0\0\0\0\0\0\0\0"sv},
    {"text", RegistryType::String, "ABC\0"sv, false, "\0\0\0\0\0\0\0\0"sv},
    {"number", RegistryType::Dword, "ABCD"sv, false, "\0\0\0\0\0\0\0\0"sv},
};

TEST_P(ScopedRegistryKeyTest, ReadRecordTakesBinaryValuesUpToItsSize) {
    const auto key = ScopedRegistryKey::Open(*registry_, root_, kKeyRead);
    ASSERT_TRUE(key);
    for (const RecordCase& c : kRecordCases) {
        SCOPED_TRACE(c.what);
        Put("v", c.type, c.data);
        Record record;
        record.fill(0xEE); // whatever the caller's record held shows nowhere
        EXPECT_EQ(key.ReadRecord("v", record), c.read);
        EXPECT_EQ(Text(record), c.record);
    }
    Record record;
    record.fill(0xEE);
    EXPECT_FALSE(key.ReadRecord("missing", record));
    EXPECT_EQ(Text(record), std::string(kRecordSize, '\0'));
    Put("", RegistryType::Binary, "DEFAULT");
    EXPECT_FALSE(key.ReadRecord("", record)) << "an empty name is no record";
}

// The same rule while enumerating; a value longer than the record is passed over like a long
// name, and the walk goes on.
TEST_P(ScopedRegistryKeyTest, EnumRecordTakesBinaryValuesUpToItsSize) {
    for (const RecordCase& c : kRecordCases) {
        SCOPED_TRACE(c.what);
        const std::string root = root_ + "\\" + c.what;
        {
            const auto key = ScopedRegistryKey::Create(*registry_, root, kKeyAllAccess);
            ASSERT_EQ(
                key.SetValue("v", c.type, c.data.data(), static_cast<std::uint32_t>(c.data.size())),
                kRegistryOk);
        }
        const auto key = ScopedRegistryKey::Open(*registry_, root, kKeyRead);
        std::string name;
        Record record;
        record.fill(0xEE);
        bool isRecord = true;
        const long result = key.EnumRecord(0, 260, &name, record, &isRecord);
        if (c.type == RegistryType::Binary && c.data.size() > kRecordSize) {
            EXPECT_EQ(result, kRegistryMoreData);
        } else {
            EXPECT_EQ(result, kRegistryOk);
            EXPECT_EQ(name, "v");
        }
        EXPECT_EQ(isRecord, c.read);
        EXPECT_EQ(Text(record), c.record);
        EXPECT_EQ(key.EnumRecord(1, 260, &name, record, &isRecord), kRegistryNoMoreItems);
    }
}

// Names longer than the buffer are reported so that callers pass over them.
TEST_P(ScopedRegistryKeyTest, EnumValueNameBoundsTheName) {
    Put("abc", RegistryType::Binary, "1");
    Put(std::string(10, 'n'), RegistryType::Binary, "1");
    const auto key = ScopedRegistryKey::Open(*registry_, root_, kKeyRead);
    std::vector<std::string> names;
    for (std::uint32_t index = 0; index < 3; ++index) {
        std::string name;
        const long result = key.EnumValueName(index, 10, &name);
        if (result == kRegistryOk) {
            names.push_back(name);
        } else {
            EXPECT_EQ(result, index < 2 ? kRegistryMoreData : kRegistryNoMoreItems) << index;
        }
    }
    EXPECT_EQ(names, std::vector<std::string>{"abc"});
    std::string whole;
    ASSERT_TRUE(key.ReadWholeValue(std::string(10, 'n'), &whole));
    EXPECT_EQ(whole, "1");
}

// Opened for reading, a key refuses every change with kRegistryAccessDenied; a key that did
// not open answers with the reason it did not.
TEST_P(ScopedRegistryKeyTest, ReadingKeysRefuseWritesAndMissingKeysSayWhy) {
    Put("v", RegistryType::Binary, "1");
    for (std::uint32_t access : {std::uint32_t{kKeyRead}, std::uint32_t{kKeyQueryValue}}) {
        const auto key = ScopedRegistryKey::Open(*registry_, root_, access);
        ASSERT_TRUE(key);
        const std::array<std::uint8_t, 1> one{'2'};
        EXPECT_EQ(key.SetBinary("v", one), kRegistryAccessDenied);
        EXPECT_EQ(key.DeleteValue("v"), kRegistryAccessDenied);
        std::string whole;
        EXPECT_TRUE(key.ReadWholeValue("v", &whole));
        EXPECT_EQ(whole, "1");
    }
    const auto missing = ScopedRegistryKey::Open(*registry_, root_ + "\\Missing", kKeyRead);
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.OpenResult(), kRegistryNotFound);
    std::string name;
    Record record;
    bool isRecord = true;
    EXPECT_EQ(missing.EnumRecord(0, 260, &name, record, &isRecord), kRegistryNotFound);
    EXPECT_FALSE(isRecord);
    EXPECT_EQ(missing.DeleteValue("v"), kRegistryNotFound);
    EXPECT_FALSE(missing.ReadRecord("v", record));

    bool created = true;
    const auto existing = ScopedRegistryKey::Create(*registry_, root_, kKeyRead, &created);
    EXPECT_TRUE(existing);
    EXPECT_FALSE(created);
    const auto fresh = ScopedRegistryKey::Create(*registry_, root_ + "\\New", kKeyRead, &created);
    EXPECT_TRUE(fresh);
    EXPECT_TRUE(created);
}

INSTANTIATE_TEST_SUITE_P(Registries, ScopedRegistryKeyTest, testing::ValuesIn(Subjects()),
                         SubjectName);

// Keys close when their scope ends, also when moved from one owner to another.
TEST(ScopedRegistryKey, ClosesOnEveryPath) {
    MemoryRegistry registry;
    ASSERT_EQ(registry.Put("A\\B", "v", RegistryType::Binary, "1"), kRegistryOk);
    {
        auto first = ScopedRegistryKey::Open(registry, "A\\B", kKeyRead);
        EXPECT_EQ(registry.OpenKeyCount(), 1u);
        ScopedRegistryKey second = std::move(first);
        EXPECT_FALSE(first); // NOLINT(bugprone-use-after-move): a moved-from key is closed
        EXPECT_TRUE(second);
        EXPECT_EQ(registry.OpenKeyCount(), 1u);
        second = ScopedRegistryKey::Open(registry, "A", kKeyRead);
        EXPECT_EQ(registry.OpenKeyCount(), 1u) << "the key replaced was closed";
        const auto failed = ScopedRegistryKey::Open(registry, "A\\Missing", kKeyRead);
        EXPECT_EQ(registry.OpenKeyCount(), 1u);
    }
    EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

} // namespace
} // namespace platform
