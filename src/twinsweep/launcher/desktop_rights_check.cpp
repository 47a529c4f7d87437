#include "twinsweep/launcher/desktop_rights_check.h"

#include <string>

#include "twinsweep/base/convert.h"
#include "twinsweep/base/error_log.h"
#include "twinsweep/launcher/error_hints.h"
#include "twinsweep/launcher/exit_codes.h"
#include "twinsweep/launcher/show_box.h"
#include "twinsweep/launcher/user_texts.h"
#include "twinsweep/platform/apartment.h"
#include "twinsweep/platform/desktop.h"
#include "twinsweep/platform/desktop_rights.h"
#include "twinsweep/platform/program_start.h"

namespace twinsweep {

namespace mMain {

bool RunsAboveTheDesktop(uint32_t nOwnIntegrity, uint32_t nShellIntegrity) {
  return nOwnIntegrity != 0 && nShellIntegrity != 0 && nOwnIntegrity > nShellIntegrity;
}

std::optional<int> KeepToTheDesktopsRights() {
  platform::IDesktopRights& rights = platform::DesktopRights();
  const uint32_t nOwn = rights.OwnIntegrity();
  const uint32_t nShell = rights.ShellIntegrity();
  if (!RunsAboveTheDesktop(nOwn, nShell)) return std::nullopt;
  const std::u16string sWhy = u"the launcher runs above the desktop's rights (integrity " + base::HexText(nOwn) +
                              u", the desktop shell's " + base::HexText(nShell) + u")";
  int32_t nResult = 0;
  {
    // The shell's objects answer only a thread in a single-threaded apartment.
    const platform::ScopedApartment apartment;
    nResult = rights.StartAgainThroughDesktopShell(platform::ProgramStart().CommandLineArgs());
  }
  if (nResult == 0) {
    LogDebug(u"mMain.Main", sWhy + u": it was started again through the desktop's shell, and this one ends");
    return kExitStartedAgain;
  }
  LogDebug(u"mMain.Main", sWhy + u": it could not be started again through the desktop's shell (" +
                              base::HexText(static_cast<uint32_t>(nResult)) +
                              u"); the different-rights hint is shown and nothing is started");
  const UserTexts texts;
  ShowBox(texts, texts.Item(kHintOtherRights), texts.Item(u"LID_TITLE"), platform::kMbOk);
  return kExitOtherRights;
}

}  // namespace mMain

}  // namespace twinsweep
