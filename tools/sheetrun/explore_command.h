#pragma once
// `sheetrun explore`: random sequences of a user's actions on the headless program, checked.
//
//   sheetrun explore [--seed N] [--sequences N] [--actions MIN-MAX] [--every N] [--jobs J]
//                    [--timeout SECONDS] [--replay-dir DIR] [--only K] [--plan FILE] [--inline]
//                    LIST|PPD...
//
// --sequences N per PPD (8), each of MIN to MAX actions (5-200), through a cycle of six kinds
// (document and device properties with each of the three driver blocks; writes refused under
// the printer's key in two of them, all writes or setting and deleting values only) from a
// start of each PPD's own. Each PPD runs in a worker process and each sequence in a child of it
// bounded by --timeout (60 s): a crash, a hang or a sanitizer finding is that sequence's
// failure. A failing sequence is shrunk and printed as a drvsim script (and written to DIR with
// its block, PPD, registry seed and actions when --replay-dir is given).
//
// --only K runs only sequence K of each PPD, --plan FILE does the actions of a replay
// directory's .plan file instead of choosing, --inline runs in this process without shrinking
// (for a debugger). Prints one line at the end: "explore: S sequences, A actions, F failures";
// the exit status is 1 when a sequence failed.
namespace sheetrun {

int RunExploreCommand(int argc, char** argv);

} // namespace sheetrun
