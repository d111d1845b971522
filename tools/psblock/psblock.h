#pragma once
// psblock: shows, compares, creates and edits printer settings blocks (1300 bytes) and settings
// messages (1312 bytes, the block at offset 12) for tests and diagnosis.
//
//   psblock show FILE              every named field: offset, name, value
//   psblock diff A B               fields that differ, and how many reserved bytes differ
//   psblock new [--printer NAME] [--driver PATH] [--device] > FILE
//   psblock set FILE name=value... edits fields in place
//
// Arguments and printed texts are UTF-8; the block holds code page 1250.
// Exit status: 0 done (diff: no difference), 1 diff found differences, 2 bad usage or input, in
// which case one line goes to the error stream and no file is written.
#include <iosfwd>
#include <string>
#include <vector>

namespace psblock {

inline constexpr int kExitOk = 0;
inline constexpr int kExitDifferent = 1;
inline constexpr int kExitError = 2;

// Runs one command; `args` are the arguments after the program name.
int RunPsblock(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace psblock
