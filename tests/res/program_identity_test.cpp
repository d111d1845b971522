// The program's identity in its compiled resources: the version resource and the manifest agree
// with res/version.h; and the readers of a built program file refuse what is cut short.
#include "tests/res/pe_resources.h"
#include "tests/res/program_identity.h"
#include "tests/res/res_file.h"

#include <gtest/gtest.h>

#include <vector>

namespace restest {
namespace {

// The compiled resources are those of the 32-bit program.
TEST(ProgramIdentity, CompiledResourcesCarryVersionAndManifest) {
    ExpectProgramIdentity(ProgramRecords(), "x86");
}

// A version resource cut anywhere, or whose lengths point outside it, is refused.
TEST(ProgramIdentity, VersionReaderRefusesBrokenResources) {
    const ResRecord* record = FindRecord(ProgramRecords(), kRtVersion, 1);
    ASSERT_NE(record, nullptr);
    const std::vector<unsigned char> whole(record->data.begin(), record->data.end());
    ASSERT_TRUE(ParseVersionInfo(whole).has_value());
    for (std::size_t cut :
         {std::size_t{0}, std::size_t{5}, std::size_t{40}, whole.size() / 2, whole.size() - 1}) {
        const std::vector<unsigned char> part(whole.begin(), whole.begin() + cut);
        EXPECT_FALSE(ParseVersionInfo(part).has_value()) << "cut at " << cut;
    }
    std::vector<unsigned char> tooLong = whole;
    tooLong[0] = 0xFF; // wLength beyond the data
    tooLong[1] = 0xFF;
    EXPECT_FALSE(ParseVersionInfo(tooLong).has_value());
    std::vector<unsigned char> badSignature = whole;
    badSignature[40] ^= 0xFF; // the fixed part's signature
    EXPECT_FALSE(ParseVersionInfo(badSignature).has_value());
}

// Files that are no PE image, or end inside their headers, give no resources.
TEST(ProgramIdentity, PeReaderRefusesWhatIsNoProgram) {
    std::vector<unsigned char> header(0x200, 0);
    header[0] = 'M';
    header[1] = 'Z';
    header[0x3C] = 0x80;
    const std::vector<std::vector<unsigned char>> files = {
        {},
        {'M', 'Z'},
        std::vector<unsigned char>(0x200, 0), // no MZ
        header,                               // MZ without a PE signature
    };
    for (const auto& file : files)
        EXPECT_FALSE(ParsePeResources(file).has_value()) << file.size() << " bytes";
}

} // namespace
} // namespace restest
