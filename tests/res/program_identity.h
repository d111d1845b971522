#pragma once
// What both builds of the program must carry to tell Windows who they are: the version
// resource and the manifest, each with the version of res/version.h. Shared by the test of the
// compiled resources and the test of the built program files.
#include <string_view>
#include <vector>

#include "tests/res/res_file.h"

namespace restest {

// Adds a test failure for everything the records lack. `architecture` is the manifest's
// processorArchitecture: "x86" or "amd64".
void ExpectProgramIdentity(const std::vector<ResRecord>& records, std::string_view architecture);

} // namespace restest
