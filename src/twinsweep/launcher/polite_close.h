#pragma once
// A polite close (WM_CLOSE to the session window, as taskkill without /F sends
// it, or WM_QUIT) ends the launcher as a No would: each wait of the launch looks
// for it after each pause and ends the launch with ClosedPolitely, which the
// entry turns into a note and kExitClosed. Nothing is shown or started after it.
namespace twinsweep {

namespace mMain {

struct ClosedPolitely {};

// Throws ClosedPolitely once the program was asked to close.
void EndIfAskedToClose();

}  // namespace mMain

}  // namespace twinsweep
