#include "launcher/launch_sequence.h"

#include <string>

#include "base/failure.h"
#include "base/variant.h"
#include "lang/lang.h"
#include "launcher/create_process.h"
#include "launcher/outlook_probe.h"
#include "launcher/wizard_call.h"
#include "platform/desktop.h"
#include "platform/processes.h"

namespace mMain {
namespace {

// Asks, in the user's language, whether Outlook shall be started. The language
// object lives only until the answer.
bool UserWantsOutlookStarted() {
  CLang oLang;
  oLang.InitEx(u"TwinsweepLauncher");
  const std::u16string sQuestion = oLang.Item(u"LID_RUN_OUTLOOK", base::VariantList{});
  const std::u16string sTitle = oLang.Item(u"LID_TITLE", base::VariantList{});
  // No icon, Yes the default button (MB_DEFBUTTON1 is 0).
  return platform::Dialogs().MessageBox(sQuestion, sTitle, platform::kMbYesNo) == platform::kIdYes;
}

// Wait A: until Outlook's mutex exists. False when it has not appeared within the
// bound, so that an Outlook that never comes up does not keep the launcher alive.
bool WaitForOutlook() {
  platform::IProcesses& sys = platform::Processes();
  const uint64_t nStart = sys.TickCount();
  for (;;) {
    if (IsOutlookRunning()) return true;
    if (sys.TickCount() - nStart >= kOutlookStartTimeoutMs) return false;
    sys.Sleep(kWaitPauseMs);
  }
}

// Wait B: until the add-in's mutex exists (true) or Outlook's is gone (false).
// Unbounded while Outlook runs: the user may be busy in Outlook's own start dialogs.
bool WaitForAddin() {
  platform::IProcesses& sys = platform::Processes();
  for (;;) {
    if (IsAddinRunning()) return true;
    sys.Sleep(kWaitPauseMs);
    if (!IsOutlookRunning()) return false;
  }
}

}  // namespace

void RunLaunchSequence() {
  if (!IsOutlookRunning()) {
    if (!UserWantsOutlookStarted()) return;
    // The user may have started Outlook while the question was open.
    if (!IsOutlookRunning() && !mCreateProcess::StartProcess(GetOutlookPath(), false)) return;
  }
  if (!WaitForOutlook()) return;
  if (!WaitForAddin()) return;
  CallQuickWizard();
}

}  // namespace mMain
