#pragma once
// mMain's entry: the whole life of the launcher's process.

namespace twinsweep {
namespace mMain {

// Reads the argument text, runs the purchase branch, the help branch or (at the
// desktop's rights) the launch sequence, and shows any failure that reaches it
// in one error box. Answers the process's exit code (exit_codes.h).
int Main();

}  // namespace mMain

}  // namespace twinsweep
