#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "ppd/model.h"
#include "ppd_test_util.h"

namespace ppd {
namespace {

using test::DataPath;
using test::Str;

std::string WriteFile(const char* name, const std::string& content) {
    const std::string path = testing::TempDir() + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr);
    if (f != nullptr) {
        std::fwrite(content.data(), 1, content.size(), f);
        std::fclose(f);
    }
    return path;
}

class Loader : public testing::Test {
protected:
    void TearDown() override { ClearPpdDocumentCache(); }
};

// The same path is parsed once: the second request does not read the file again.
TEST_F(Loader, SamePathParsesOnce) {
    const std::string path = WriteFile("loader_once.ppd", "*ColorDevice: True\n");
    const PpdDocument* first = LoadPpdDocument(path);
    ASSERT_NE(first, nullptr);
    std::remove(path.c_str());
    const PpdDocument* second = LoadPpdDocument(path);
    EXPECT_EQ(second, first);
    EXPECT_EQ(Str(second->path.get()), path);
    FreePpdDocument(first);
    FreePpdDocument(second);
}

// Freeing the cached document does not leave the cache dangling, and loading another path
// does not pull a document from under a caller that still holds it.
TEST_F(Loader, FreeAndCacheInterplay) {
    const std::string a = WriteFile("loader_a.ppd", "*ColorDevice: True\n");
    const std::string b = WriteFile("loader_b.ppd", "*ColorDevice: False\n");
    const PpdDocument* docA = LoadPpdDocument(a);
    ASSERT_NE(docA, nullptr);
    FreePpdDocument(docA);
    const PpdDocument* again = LoadPpdDocument(a);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->colorDevice, 1);

    const PpdDocument* docB = LoadPpdDocument(b);
    ASSERT_NE(docB, nullptr);
    EXPECT_EQ(docB->colorDevice, 0);
    EXPECT_EQ(again->colorDevice, 1); // still valid for its holder
    FreePpdDocument(again);
    FreePpdDocument(docB);
    FreePpdDocument(nullptr);
    std::remove(a.c_str());
    std::remove(b.c_str());
}

// A request that gave nothing keeps nothing: the next request reads the file again.
TEST_F(Loader, FailureIsNotKept) {
    const std::string path =
        WriteFile("loader_fail.ppd", "*NickName O/" + std::string(129, 't') + ": x\n");
    EXPECT_EQ(LoadPpdDocument(path), nullptr);
    WriteFile("loader_fail.ppd", "*ColorDevice: True\n");
    const PpdDocument* doc = LoadPpdDocument(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->colorDevice, 1);
    FreePpdDocument(doc);
    std::remove(path.c_str());
}

// Missing and empty files give no document, with the reason.
TEST_F(Loader, UnreadableFiles) {
    const std::string empty = WriteFile("loader_empty.ppd", "");
    for (const std::string& path : {empty, testing::TempDir() + "loader_missing.ppd"}) {
        ParseFailure failure;
        ParseOptions options;
        options.failure = &failure;
        EXPECT_EQ(ReadPpdFile(path, options), nullptr) << path;
        EXPECT_EQ(failure.code, -1) << path;
        EXPECT_EQ(LoadPpdDocument(path), nullptr) << path;
    }
    std::remove(empty.c_str());
}

// Sizes beyond what 32-bit places can hold are refused before anything is read.
TEST_F(Loader, HugeInputIsRefused) {
    const char byte = '*';
    ParseFailure failure;
    ParseOptions options;
    options.failure = &failure;
    EXPECT_EQ(ParsePpdBytes(&byte, std::size_t{0x80000000u}, "huge.ppd", options), nullptr);
    EXPECT_EQ(failure.code, 4);
}

// The sample printer's PPD: everything it declares arrives, and the block checks out.
TEST_F(Loader, SamplePpd) {
    ParseStats stats;
    ParseOptions options;
    options.stats = &stats;
    const test::DocumentPtr doc(ReadPpdFile(DataPath("sample.ppd"), options));
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(CheckPackedDocument(doc.get()));
    EXPECT_EQ(Str(doc->nickName.get()), "Vela 40 PS Farebn\xE1 tla\xE8iare\xF2");
    EXPECT_EQ(doc->colorDevice, 1);
    EXPECT_EQ(doc->languageEncoding, 4);
    EXPECT_EQ(doc->protocols, 5);
    EXPECT_EQ(doc->freeVm, 33554432u);
    EXPECT_EQ(doc->customPageSize, 1);
    EXPECT_EQ(doc->regularFeatureCount, 7);
    EXPECT_EQ(doc->installableFeatureCount, 2);
    EXPECT_EQ(doc->fontCount, 5u);
    EXPECT_EQ(doc->constraints->count, 7u);
    EXPECT_EQ(Str(DefaultOption(FindFeature(doc.get(), "PageSize"))->name.get()), "A4");
    EXPECT_EQ(stats.blockBytes, doc->blockSize + kBlockPrefix);
    EXPECT_GE(stats.blockRoomBytes, stats.blockBytes);
    EXPECT_GT(stats.workingBytes, 0u);
    // The duplexer's options are not translated with the words the pruning asks for.
    int f = 0, o = 0;
    EXPECT_FALSE(FindOptionIndices(doc.get(), "Optionalduplexer", "Nein\x9Atalovan\xE9", &f, &o));
    EXPECT_TRUE(FindOptionIndices(doc.get(), "OptionalBin", "Nein\x9Atalovan\xE9", &f, &o));
    ConstraintIteration iteration;
    int counter = 0;
    const char* feature = nullptr;
    const char* text = nullptr;
    ASSERT_TRUE(NextConstraint(doc.get(), "OptionalBin", "Nein\x9Atalovan\xE9", &feature, &text,
                               counter, iteration));
    EXPECT_EQ(Str(feature), "OutputBin");
    EXPECT_EQ(Str(text), "Pr\xED"
                         "davn\xFD");
}

} // namespace
} // namespace ppd
