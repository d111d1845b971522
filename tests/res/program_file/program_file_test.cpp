// The built program files themselves (Windows build): vela40ps.exe of this build, and of the
// other architecture's build beside it, carry the version resource and the manifest of their
// own architecture.
#include "tests/res/pe_resources.h"
#include "tests/res/program_identity.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace restest {
namespace {

namespace fs = std::filesystem;

struct Build {
    const char* folder; // the preset's build folder
    std::uint16_t machine;
    const char* architecture;
};

constexpr Build kBuilds[] = {
    {"mingw", kMachineI386, "x86"},
    {"mingw64", kMachineAmd64, "amd64"},
};

std::vector<unsigned char> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

void ExpectProgramFile(const Build& build, const fs::path& program) {
    SCOPED_TRACE(program.string());
    const std::vector<unsigned char> bytes = ReadFile(program);
    ASSERT_FALSE(bytes.empty()) << "cannot read the program";
    const std::optional<PeImage> image = ParsePeResources(bytes);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->machine, build.machine);
    ExpectProgramIdentity(image->resources, build.architecture);
}

const Build& ThisBuild() {
    return sizeof(void*) == 8 ? kBuilds[1] : kBuilds[0];
}

TEST(ProgramFile, ThisBuildsProgram) {
    ExpectProgramFile(ThisBuild(), fs::path(VELA_BINARY_DIR) / "bin" / "vela40ps.exe");
}

// scripts/test builds the 32-bit program always, and the 64-bit one where it tests that.
TEST(ProgramFile, OtherArchitecturesProgram) {
    const Build& other = &ThisBuild() == &kBuilds[0] ? kBuilds[1] : kBuilds[0];
    const fs::path program =
        fs::path(VELA_BINARY_DIR).parent_path() / other.folder / "bin" / "vela40ps.exe";
    if (!fs::exists(program))
        GTEST_SKIP() << "no " << other.folder << " build beside this one";
    ExpectProgramFile(other, program);
}

} // namespace
} // namespace restest
