#pragma once
// The launcher's exit codes, which an administrator's tool that starts it reads.
namespace twinsweep {

namespace mMain {

constexpr int kExitDone = 0;          // the launch ran its course or ended silently; help or purchase opened
constexpr int kExitErrorBox = 1;      // a failure was shown in the error box (the wizard call, the shell)
constexpr int kExitNewOutlook = 2;    // the new Outlook is the user's Outlook: its box was shown
constexpr int kExitClosed = 3;        // asked to close politely (WM_CLOSE, WM_QUIT) before the launch was done
constexpr int kExitStartedAgain = 4;  // ran above the desktop's rights: started again through the desktop's shell
constexpr int kExitOtherRights = 5;   // ran above the desktop's rights and could not start again: the hint box

}  // namespace mMain

}  // namespace twinsweep
