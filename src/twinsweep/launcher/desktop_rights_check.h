#pragma once
// Outlook is never started above the desktop's rights: an Outlook started
// elevated cannot be reached by the programs of the user's normal rights, so the
// add-in and the wizard call would fail across the boundary. A launcher that
// runs above the desktop (its integrity level above that of the desktop shell's
// process; the elevation type alone would not do, since some systems call every
// token elevated) starts itself again through the desktop's shell before it asks
// anything, and ends.
#include <cstdint>
#include <optional>

namespace twinsweep {

namespace mMain {

// Above the desktop: both levels known, this process's the higher one.
bool RunsAboveTheDesktop(uint32_t nOwnIntegrity, uint32_t nShellIntegrity);

// Nothing when the launcher runs at the desktop's rights (or they cannot be
// told). Otherwise the launch's end: started again with the same arguments
// through the desktop's shell (kExitStartedAgain), or, when that cannot be done,
// the different-rights hint shown (kExitOtherRights). Each is a note of why.
std::optional<int> KeepToTheDesktopsRights();

}  // namespace mMain

}  // namespace twinsweep
