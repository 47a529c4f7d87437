#include "launcher/launch_sequence.h"

#include <string>

#include "base/convert.h"
#include "base/error_log.h"
#include "base/failure.h"
#include "base/variant.h"
#include "lang/lang.h"
#include "launcher/application_name.h"
#include "launcher/create_process.h"
#include "launcher/outlook_probe.h"
#include "launcher/wizard_call.h"
#include "platform/apartment.h"
#include "platform/desktop.h"
#include "platform/diagnostics.h"
#include "platform/processes.h"
#include "platform/scoped_handle.h"
#include "settings/options.h"

namespace mMain {
namespace {

// The sequence's steps, as debug notes for the diagnostics log.
void Note(const std::u16string& sText) { LogDebug(u"mMain.RunLaunchSequence", sText); }

std::u16string Ms(uint64_t nMs) { return base::LongToText(static_cast<int64_t>(nMs)) + u" ms"; }

// Asks, in the user's language, whether Outlook shall be started. The language
// object lives only until the answer.
bool UserWantsOutlookStarted() {
  CLang oLang;
  oLang.InitEx(u"TwinsweepLauncher", Options());
  const std::u16string sQuestion = oLang.Item(u"LID_RUN_OUTLOOK", base::VariantList{});
  const std::u16string sTitle = oLang.Item(u"LID_TITLE", base::VariantList{});
  // No icon, Yes the default button (MB_DEFBUTTON1 is 0).
  const int32_t nAnswer = platform::Dialogs().MessageBox(sQuestion, sTitle, platform::kMbYesNo);
  const char16_t* szAnswer = nAnswer == platform::kIdYes ? u"Yes" : nAnswer == platform::kIdNo ? u"No" : u"otherwise";
  Note(u"the question was answered " + std::u16string(szAnswer) + u" (" + base::LongToText(nAnswer) + u")");
  return nAnswer == platform::kIdYes;
}

// Starts Outlook from its registration. A failure is noted with the system's
// error; the sequence then ends silently.
bool StartOutlook() {
  const std::u16string sCommandLine = GetOutlookPath();
  const std::u16string sApplication = mCreateProcess::ApplicationName(sCommandLine);
  Note(u"starting Outlook: " + sCommandLine + u" (program file: " +
       (sApplication.empty() ? std::u16string(u"none found") : sApplication) + u")");
  if (mCreateProcess::StartProcess(sCommandLine, false)) return true;
  platform::IDiagnostics& diagnostics = platform::Diagnostics();
  const uint32_t nError = diagnostics.LastError();
  Note(u"silent end: Outlook could not be started, system error " + base::LongToText(nError) + u": " +
       diagnostics.ErrorText(nError));
  return false;
}

// Wait A: until Outlook's mutex exists. False when it has not appeared within the
// bound, so that an Outlook that never comes up does not keep the launcher alive.
bool WaitForOutlook() {
  platform::IProcesses& sys = platform::Processes();
  const uint64_t nStart = sys.TickCount();
  for (;;) {
    if (IsOutlookRunning()) {
      Note(u"Outlook's mutex was there after " + Ms(sys.TickCount() - nStart));
      return true;
    }
    if (sys.TickCount() - nStart >= kOutlookStartTimeoutMs) {
      Note(u"silent end: Outlook's mutex did not appear within " + Ms(sys.TickCount() - nStart));
      return false;
    }
    sys.Sleep(kWaitPauseMs);
  }
}

// Wait B: until the add-in's mutex exists (true) or Outlook's is gone (false).
// Unbounded while Outlook runs: the user may be busy in Outlook's own start dialogs.
bool WaitForAddin() {
  platform::IProcesses& sys = platform::Processes();
  const uint64_t nStart = sys.TickCount();
  for (;;) {
    if (IsAddinRunning()) {
      Note(u"the add-in's mutex was there after " + Ms(sys.TickCount() - nStart));
      return true;
    }
    sys.Sleep(kWaitPauseMs);
    if (!IsOutlookRunning()) {
      Note(u"silent end: Outlook ended before the add-in appeared, after " + Ms(sys.TickCount() - nStart));
      return false;
    }
  }
}

void CallQuickWizardNoted() {
  try {
    CallQuickWizard();
  } catch (const base::Failure& f) {
    Note(u"the wizard call failed: " + base::LongToText(f.Number()) + u" " + f.Description());
    throw;
  } catch (...) {
    Note(u"the wizard call failed");
    throw;
  }
  Note(u"the wizard call was made");
}

}  // namespace

void RunLaunchSequence() {
  // One launch at a time in a user session: a second click on the shortcut while
  // the first launcher asks or waits would start Outlook and call the wizard twice.
  // When the mutex cannot be made at all, the launch goes on as if alone.
  bool bAnother = false;
  platform::ScopedKernelHandle hLaunch(platform::Processes().CreateMutexByName(kLaunchMutex, &bAnother));
  if (bAnother) {
    const bool bShown = platform::Dialogs().BringOtherInstanceBoxToFront();
    Note(u"silent end: another launcher is running its launch sequence" +
         std::u16string(bShown ? u"; its question was brought to the front" : u""));
    return;
  }
  if (IsOutlookRunning()) {
    Note(u"Outlook is running");
  } else {
    Note(u"Outlook is not running");
    if (!UserWantsOutlookStarted()) return Note(u"silent end: the question was declined");
    // The user may have started Outlook while the question was open.
    if (IsOutlookRunning())
      Note(u"Outlook was started while the question was open");
    else if (!StartOutlook())
      return;
  }
  if (!WaitForOutlook()) return;
  // The apartment is joined while waiting, so that the wizard call does not pay for
  // it once the add-in is there; no object is made before then, so that waiting
  // never holds a reference to Outlook.
  platform::Apartment().Enter();
  if (!WaitForAddin()) return;
  CallQuickWizardNoted();
}

}  // namespace mMain
