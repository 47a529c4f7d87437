#pragma once
// The launcher's default branch: make sure Outlook runs (asking the user before
// starting it), wait for Outlook and then the Twinsweep add-in to announce
// themselves, and ask the add-in to show its quick wizard.
#include <cstdint>

namespace twinsweep {

namespace mMain {

// The pause between two probes of a wait.
constexpr uint32_t kWaitPauseMs = 100;
// How long the launcher waits for Outlook's mutex after Outlook was started (or
// found starting); then it ends silently, as when the start itself fails.
constexpr uint32_t kOutlookStartTimeoutMs = 2 * 60 * 1000;

// While Wait B lasts, a note in the diagnostics log this often.
constexpr uint32_t kStillWaitingNoteMs = 30000;
// How long a second launcher looks for the state of the holder of the launch
// mutex, which publishes it just after it has made the mutex.
constexpr uint32_t kLaunchStateGraceMs = 500;

// The launch sequence's own mutex, in the user session's namespace: held while a
// launcher runs the sequence, so that a second one does not start Outlook or call
// the wizard again. The second one reads what the first publishes beside it
// (launch_board.h): it brings the first one's question to the front, or asks its
// user whether the first one shall keep waiting.
constexpr char16_t kLaunchMutex[] = u"Local\\Orvex.TwinsweepLauncher.Launch";

// Returns when the wizard call is made or the sequence gives up silently (another
// launcher running it, the question declined, Outlook not started or its program
// failed, Outlook gone before the add-in appeared, a second launcher's user asked
// to stop waiting), kExitDone; or when the new Outlook is the user's (before the
// question, or when the started program hands over to a running olk.exe), after
// its box, kExitNewOutlook. Every step, and every silent end, is a debug note of
// the error log. Failures of the language object and of Outlook's automation are
// not handled here: they reach the caller, the wizard call's with
// kWizardCallSource; so does a polite close (ClosedPolitely), seen after each
// pause of a wait and after the question.
int RunLaunchSequence();

}  // namespace mMain

}  // namespace twinsweep
