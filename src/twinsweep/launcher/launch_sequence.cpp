#include "twinsweep/launcher/launch_sequence.h"

#include <optional>
#include <string>

#include "twinsweep/base/convert.h"
#include "twinsweep/base/error_log.h"
#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/base/variant.h"
#include "twinsweep/launcher/application_name.h"
#include "twinsweep/launcher/create_process.h"
#include "twinsweep/launcher/error_hints.h"
#include "twinsweep/launcher/exit_codes.h"
#include "twinsweep/launcher/launch_board.h"
#include "twinsweep/launcher/new_outlook.h"
#include "twinsweep/launcher/outlook_probe.h"
#include "twinsweep/launcher/polite_close.h"
#include "twinsweep/launcher/show_box.h"
#include "twinsweep/launcher/user_texts.h"
#include "twinsweep/launcher/wizard_call.h"
#include "twinsweep/platform/clock.h"
#include "twinsweep/platform/desktop.h"
#include "twinsweep/platform/diagnostics.h"
#include "twinsweep/platform/processes.h"
#include "twinsweep/platform/scoped_handle.h"
#include "twinsweep/platform/this_process.h"
#include "twinsweep/settings/options.h"
#include "twinsweep/settings/outlook_preferences.h"

namespace twinsweep {

namespace mMain {
namespace {

// The sequence's steps, as debug notes for the diagnostics log.
void Note(const std::u16string& sText) { LogDebug(u"mMain.RunLaunchSequence", sText); }

std::u16string Ms(uint64_t nMs) { return base::LongToText(static_cast<int64_t>(nMs)) + u" ms"; }

// One pause of a wait; a polite close meanwhile ends the launch.
void Pause(platform::IClock& clock) {
  clock.Sleep(kWaitPauseMs);
  EndIfAskedToClose();
}

// Asks, in the user's language (or else in English), whether Outlook shall be
// started. The texts live only until the answer.
bool UserWantsOutlookStarted() {
  const UserTexts texts;
  const std::u16string sQuestion = texts.Item(u"LID_RUN_OUTLOOK", base::VariantList{});
  const std::u16string sTitle = texts.Item(u"LID_TITLE", base::VariantList{});
  // No icon, Yes the default button (MB_DEFBUTTON1 is 0).
  const int32_t nAnswer = ShowBox(texts, sQuestion, sTitle, platform::kMbYesNo);
  const char16_t* szAnswer = nAnswer == platform::kIdYes ? u"Yes" : nAnswer == platform::kIdNo ? u"No" : u"otherwise";
  Note(u"the question was answered " + std::u16string(szAnswer) + u" (" + base::LongToText(nAnswer) + u")");
  EndIfAskedToClose();
  return nAnswer == platform::kIdYes;
}

// Starts Outlook from its registration, keeping the new process's handle in
// *phProcess for Wait A. A failure is noted with the system's error; the sequence
// then ends silently.
bool StartOutlook(platform::ScopedKernelHandle* phProcess) {
  const std::u16string sCommandLine = GetOutlookPath();
  const std::u16string sApplication = mCreateProcess::ApplicationName(sCommandLine);
  Note(u"starting Outlook: " + sCommandLine + u" (program file: " +
       (sApplication.empty() ? std::u16string(u"none found") : sApplication) + u")");
  // Without a program file no start is tried, and the system's last error is
  // about some earlier call: it is not reported.
  if (sApplication.empty()) {
    Note(u"silent end: Outlook could not be started, no program file was found");
    return false;
  }
  platform::KernelHandle hProcess = 0;
  if (mCreateProcess::StartProcess(sCommandLine, false, &hProcess)) {
    phProcess->Reset(hProcess);
    return true;
  }
  const uint32_t nError = platform::ThisProcess().LastError();
  // Some system texts name the file they are about as "%1".
  Note(u"silent end: Outlook could not be started, system error " + base::LongToText(nError) + u": " +
       base::Replace(platform::Diagnostics().ErrorText(nError), u"%1", sApplication));
  return false;
}

enum class WaitA { kThere, kGaveUp, kNewOutlook };

// Wait A: until Outlook's mutex exists. kGaveUp when it has not appeared within
// the bound, when another launcher asked this one to stop, or when the program
// that was started (hProcess, when this launcher started one) ended with a
// failure before the mutex appeared. An exit code of 0 is a hand-over to an
// Outlook that is already starting: the wait goes on, unless the new Outlook
// runs, which is what the classic program hands over to when the user's switch
// is on (kNewOutlook).
WaitA WaitForOutlook(LaunchBoard& board, platform::ScopedKernelHandle& hProcess) {
  platform::IClock& clock = platform::Clock();
  const uint64_t nStart = clock.TickCount();
  for (;;) {
    if (IsOutlookRunning()) {
      Note(u"Outlook's mutex was there after " + Ms(clock.TickCount() - nStart));
      return WaitA::kThere;
    }
    if (board.StopRequested()) {
      Note(u"silent end: another launcher asked this one to stop waiting for Outlook, after " +
           Ms(clock.TickCount() - nStart));
      return WaitA::kGaveUp;
    }
    uint32_t nExitCode = 0;
    if (hProcess.IsValid() && platform::Processes().HasEnded(hProcess.Get(), &nExitCode)) {
      hProcess.Reset();
      if (nExitCode != 0) {
        Note(u"silent end: Outlook's program ended with exit code " + base::HexText(nExitCode) +
             u" before its mutex appeared, after " + Ms(clock.TickCount() - nStart));
        return WaitA::kGaveUp;
      }
      Note(u"Outlook's program ended with exit code 0 (handed over), after " + Ms(clock.TickCount() - nStart));
      if (NewOutlookRunning()) return WaitA::kNewOutlook;
    }
    if (clock.TickCount() - nStart >= kOutlookStartTimeoutMs) {
      Note(u"silent end: Outlook's mutex did not appear within " + Ms(clock.TickCount() - nStart));
      return WaitA::kGaveUp;
    }
    Pause(clock);
  }
}

// Wait B: until the add-in's mutex exists (true) or Outlook's is gone, or another
// launcher asked this one to stop (false). Unbounded while Outlook runs: the user
// may be busy in Outlook's own start dialogs.
bool WaitForAddin(LaunchBoard& board) {
  platform::IClock& clock = platform::Clock();
  const uint64_t nStart = clock.TickCount();
  uint64_t nNextNote = kStillWaitingNoteMs;
  for (;;) {
    if (IsAddinRunning()) {
      Note(u"the add-in's mutex was there after " + Ms(clock.TickCount() - nStart));
      return true;
    }
    Pause(clock);
    const uint64_t nWaited = clock.TickCount() - nStart;
    if (!IsOutlookRunning()) {
      Note(u"silent end: Outlook ended before the add-in appeared, after " + Ms(nWaited));
      return false;
    }
    if (board.StopRequested()) {
      Note(u"silent end: another launcher asked this one to stop waiting for the add-in, after " + Ms(nWaited));
      return false;
    }
    if (nWaited >= nNextNote) {
      Note(u"still waiting for the add-in (" + base::LongToText(static_cast<int64_t>(nWaited / 1000)) + u" s)");
      nNextNote += kStillWaitingNoteMs;
    }
  }
}

// The wizard call's failures carry their source to the error box, which adds a
// line for the user to those it knows.
void CallQuickWizardNoted() {
  try {
    CallQuickWizard();
  } catch (const ClosedPolitely&) { throw; } catch (const base::Failure& f) {
    Note(u"the wizard call failed: " + base::LongToText(f.Number()) + u" " + f.Description());
    throw base::Failure(f.Number(), f.Description(), kWizardCallSource);
  } catch (...) {
    Note(u"the wizard call failed");
    throw;
  }
  Note(u"the wizard call was made");
}

// A second launcher found the launch mutex held. True when it is to end here:
// the holder is a launcher, whose question is brought to the front, or whose
// user decides whether it keeps waiting. A holder that publishes no launcher
// state (after a moment's grace for a launcher that has only just begun) is not
// a launcher: the launch goes on.
bool DeferToTheLauncherRunning() {
  std::optional<LaunchState> state = PublishedState();
  for (uint32_t nWaited = 0; !state && nWaited < kLaunchStateGraceMs; nWaited += kWaitPauseMs) {
    platform::Clock().Sleep(kWaitPauseMs);
    state = PublishedState();
  }
  if (!state) {
    Note(u"the launch mutex is held by a program that publishes no launcher state: not a launcher; the launch goes on");
    return false;
  }
  switch (state->phase) {
    case LaunchPhase::kAsking: {
      const bool bShown = platform::Dialogs().BringOtherInstanceBoxToFront();
      Note(u"silent end: another launcher is asking its question" +
           std::u16string(bShown ? u"; it was brought to the front" : u""));
      return true;
    }
    case LaunchPhase::kWaitingForOutlook:
    case LaunchPhase::kWaitingForAddin: {
      const bool bOutlook = state->phase == LaunchPhase::kWaitingForOutlook;
      const std::u16string sFor = bOutlook ? u"Outlook" : u"the add-in";
      const UserTexts texts;
      const std::u16string sText = texts.Item(bOutlook ? u"LID_STILL_WAITING_OUTLOOK" : u"LID_STILL_WAITING_ADDIN");
      const std::u16string sTitle = texts.Item(u"LID_TITLE");
      // Yes, the default button, leaves the other launcher waiting, and so does a
      // box that could not be shown: only the user's No stops it, and only the
      // launcher the box was about (the box may have stayed open for long).
      if (ShowBox(texts, sText, sTitle, platform::kMbYesNo) != platform::kIdNo) {
        Note(u"silent end: another launcher is waiting for " + sFor + u"; the user lets it wait");
        return true;
      }
      const std::u16string sAsked =
          u"silent end: another launcher was waiting for " + sFor + u"; the user asked it to stop";
      switch (AskToStopWaiting(*state)) {
        case StopOutcome::kAsked: Note(sAsked); break;
        case StopOutcome::kEnded: Note(sAsked + u", but it had ended"); break;
        case StopOutcome::kNotWaiting: Note(sAsked + u", but it had stopped waiting: nothing was asked"); break;
        case StopOutcome::kAnotherLauncher:
          Note(sAsked + u", but it had ended and another launcher runs now: nothing was asked");
          break;
      }
      return true;
    }
    default:
      Note(u"silent end: another launcher is running its launch sequence (phase " +
           base::LongToText(static_cast<int64_t>(state->phase)) + u")");
      return true;
  }
}

// Classic Outlook is not running: the new Outlook's reason to explain instead of
// asking, empty when there is none.
std::u16string WhyTheNewOutlook() {
  if (NewOutlookSwitchedOn()) return u"UseNewOutlook is 1";
  if (mCreateProcess::ApplicationName(GetOutlookPath()).empty() && NewOutlookInstalled())
    return u"no program file of classic Outlook was found, and the new Outlook's app alias is there";
  return u"";
}

}  // namespace

int RunLaunchSequence() {
  // One launch at a time in a user session: a second click on the shortcut while
  // the first launcher asks or waits would start Outlook and call the wizard twice.
  // When the mutex cannot be made at all, the launch goes on as if alone.
  bool bAnother = false;
  platform::ScopedKernelHandle hLaunch(platform::Processes().CreateMutexByName(kLaunchMutex, &bAnother));
  // A mutex that is there but refuses this launcher was made by one at other
  // rights (elevated), whose state this one cannot read either: it runs.
  if (bAnother && !hLaunch.IsValid()) {
    Note(
        u"silent end: the launch mutex refuses this launcher (access denied): another launcher runs with other "
        u"rights");
    return kExitDone;
  }
  if (bAnother && DeferToTheLauncherRunning()) return kExitDone;
  // What this launcher does, for a launcher started meanwhile.
  LaunchBoard board;
  platform::ScopedKernelHandle hStarted;
  if (IsOutlookRunning()) {
    Note(u"Outlook is running");
  } else {
    Note(u"Outlook is not running");
    const std::u16string sNewOutlook = WhyTheNewOutlook();
    if (!sNewOutlook.empty()) return ExplainNewOutlook(sNewOutlook);
    board.Publish(LaunchPhase::kAsking);
    if (!UserWantsOutlookStarted()) {
      Note(u"silent end: the question was declined");
      return kExitDone;
    }
    // The user may have started Outlook while the question was open.
    if (IsOutlookRunning())
      Note(u"Outlook was started while the question was open");
    else if (!StartOutlook(&hStarted))
      return kExitDone;
  }
  board.Publish(LaunchPhase::kWaitingForOutlook);
  const WaitA outlook = WaitForOutlook(board, hStarted);
  hStarted.Reset();
  if (outlook == WaitA::kNewOutlook) return ExplainNewOutlook(u"the classic program handed over while olk.exe runs");
  if (outlook == WaitA::kGaveUp) return kExitDone;
  // No object is made before the add-in is there, so that waiting never holds a
  // reference to Outlook; this thread joins no apartment at all: the wizard
  // call's worker joins its own.
  board.Publish(LaunchPhase::kWaitingForAddin);
  if (!WaitForAddin(board)) return kExitDone;
  board.Publish(LaunchPhase::kCalling);
  CallQuickWizardNoted();
  return kExitDone;
}

}  // namespace mMain

}  // namespace twinsweep
