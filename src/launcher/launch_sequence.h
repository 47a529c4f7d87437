#pragma once
// The launcher's default branch: make sure Outlook runs (asking the user before
// starting it), wait for Outlook and then the Twinsweep add-in to announce
// themselves, and ask the add-in to show its quick wizard.
#include <cstdint>

namespace mMain {

// The pause between two probes of a wait.
constexpr uint32_t kWaitPauseMs = 100;
// How long the launcher waits for Outlook's mutex after Outlook was started (or
// found starting); then it ends silently, as when the start itself fails.
constexpr uint32_t kOutlookStartTimeoutMs = 2 * 60 * 1000;

// The launch sequence's own mutex, in the user session's namespace: held while a
// launcher runs the sequence, so that a second one ends without doing anything.
constexpr char16_t kLaunchMutex[] = u"Local\\Orvex.TwinsweepLauncher.Launch";

// Returns when the wizard call is made or the sequence gives up silently (another
// launcher running it, the question declined, Outlook not started, Outlook gone
// before the add-in appeared). Every step is a debug note of the error log. Failures of the language object and of Outlook's automation are not
// handled here: they reach the caller.
void RunLaunchSequence();

}  // namespace mMain
