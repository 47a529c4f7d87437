#pragma once
// mMain's entry: the whole life of the launcher's process.

namespace twinsweep {
namespace mMain {

// Reads the argument text, runs the purchase branch, the help branch or the launch
// sequence, and shows any failure that reaches it in one error box.
void Main();

}  // namespace mMain

}  // namespace twinsweep
