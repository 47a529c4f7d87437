#include "twinsweep/launcher/new_outlook.h"

#include "twinsweep/base/error_log.h"
#include "twinsweep/launcher/exit_codes.h"
#include "twinsweep/launcher/show_box.h"
#include "twinsweep/launcher/user_texts.h"
#include "twinsweep/platform/desktop.h"
#include "twinsweep/platform/environment.h"
#include "twinsweep/platform/files.h"
#include "twinsweep/platform/scoped_handle.h"
#include "twinsweep/platform/processes.h"

namespace twinsweep {

namespace mMain {

bool NewOutlookRunning() { return platform::Processes().ProgramRunsInSession(kNewOutlookProgram); }

bool NewOutlookInstalled() {
  const std::u16string sAlias = platform::Environment().ExpandEnvironment(kNewOutlookAlias);
  // An unset LOCALAPPDATA leaves the reference as it is: that names no file. The
  // alias is a reparse point that no open can follow: its folder entry is looked for.
  if (sAlias.find(u'%') != std::u16string::npos) return false;
  platform::ScopedFind hFind;
  platform::FindData data;
  return platform::Files().FindFirst(sAlias, hFind.Receive(), &data) == platform::kErrorSuccess &&
         !(data.nAttributes & platform::kFileAttributeDirectory);
}

int ExplainNewOutlook(const std::u16string& sWhy) {
  LogDebug(u"mMain.RunLaunchSequence", u"the new Outlook: " + sWhy + u"; the box explains it, nothing is started");
  const UserTexts texts;
  ShowBox(texts, texts.Item(u"LID_NEW_OUTLOOK"), texts.Item(u"LID_TITLE"), platform::kMbOk);
  return kExitNewOutlook;
}

}  // namespace mMain

}  // namespace twinsweep
