#include "twinsweep/launcher/main.h"

#include <memory>
#include <optional>

#include "twinsweep/base/convert.h"
#include "twinsweep/launcher/desktop_rights_check.h"
#include "twinsweep/launcher/diagnostic_log.h"
#include "twinsweep/base/failure.h"
#include "twinsweep/base/name_rules.h"
#include "twinsweep/base/text.h"
#include "twinsweep/launcher/error_hints.h"
#include "twinsweep/launcher/exit_codes.h"
#include "twinsweep/launcher/launch_sequence.h"
#include "twinsweep/launcher/polite_close.h"
#include "twinsweep/launcher/show_box.h"
#include "twinsweep/launcher/user_texts.h"
#include "twinsweep/platform/apartment.h"
#include "twinsweep/platform/desktop.h"
#include "twinsweep/platform/diagnostics.h"
#include "twinsweep/platform/file_utils.h"
#include "twinsweep/platform/program_start.h"
#include "twinsweep/platform/session_window.h"
#include "twinsweep/platform/this_process.h"
#include "twinsweep/settings/options.h"

namespace twinsweep {

namespace mMain {
namespace {

// The two web sites and their scheme are settings of the build (TWINSWEEP_MAKER_HOST,
// TWINSWEEP_PRODUCT_HOST and TWINSWEEP_WEB_SCHEME in CMake).
const std::u16string kMakerSite = std::u16string(TWINSWEEP_WEB_SCHEME) + u"://" + TWINSWEEP_MAKER_HOST;
const std::u16string kProductSite = std::u16string(TWINSWEEP_WEB_SCHEME) + u"://" + TWINSWEEP_PRODUCT_HOST;
const std::u16string kLangIdPlaceholder = u"<LANGID>";
const std::u16string kHelpFile = u"Twinsweep.chm";
constexpr uint32_t kErrorDdeFail = 1156;  // ERROR_DDE_FAIL

// The shell is called from a single-threaded apartment, which this thread joins
// for the call alone: a verb's handler may be a COM object. A failure is noted
// and raised for the error box, with the source that gives it its hint.
void OpenWithShell(const std::u16string& sTarget) {
  uint32_t nError = 0;
  {
    const platform::ScopedApartment apartment;
    nError = platform::Shell().Open(sTarget);
  }
  if (nError == 0) return;
  const std::u16string sText = platform::Diagnostics().ErrorText(nError);
  const std::u16string sWhat = u"system error " + base::LongToText(static_cast<int64_t>(nError)) + u": " + sText;
  // A DDE failure comes after the shell has started the handler itself, which
  // then opens the target from its command line: not a failure the user sees.
  if (nError == kErrorDdeFail)
    return LogDebug(u"mMain.Main", u"the shell started the program for " + sTarget +
                                       u", but its DDE conversation failed (" + sWhat + u"): not shown");
  LogDebug(u"mMain.Main", u"the shell could not open " + sTarget + u": " + sWhat);
  throw base::Failure(static_cast<int32_t>(nError), sText, kShellOpenSource);
}

// The identifier goes into addresses percent-encoded: a plain one unchanged, any
// other one unable to add a query, a fragment or (through the shell) an argument.
void RunPurchaseBranch() {
  std::u16string sLangID = base::PercentEncode(Options().LangID());
  OpenWithShell(base::Replace(kMakerSite + u"/purchase_twinsweep.asp?lang=<LANGID>", kLangIdPlaceholder, sLangID));
}

// Every read of the language goes to the registry anew, as the options object does.
// Only a plain identifier names a help file: any other could lead the name out of
// the program's folder, and help files can run script.
void RunHelpBranch() {
  if (Options().LangID() == u"EN") {
    std::u16string sPath = platform::App().AppFolder() + u"\\" + kHelpFile;
    if (mFileUtils::FileExists(sPath)) return OpenWithShell(sPath);
  }
  std::u16string sFolder = platform::App().AppFolder();
  std::u16string sLangID = Options().LangID();
  if (base::IsPlainIdentifier(sLangID)) {
    std::u16string sPath = sFolder + u"\\" + sLangID + u"_" + kHelpFile;
    if (mFileUtils::FileExists(sPath)) return OpenWithShell(sPath);
  }
  sLangID = Options().LangID();
  if (base::EqualsNoCase(sLangID, u"EN")) return OpenWithShell(kProductSite + u"/WebHelp/TwinsweepHelp.htm");
  OpenWithShell(base::Replace(kProductSite + u"/<LANGID>/WebHelp/TwinsweepHelp.htm", kLangIdPlaceholder,
                              base::PercentEncode(sLangID)));
}

// The hint line for a failure of the wizard call or of the shell, in the user's
// language; empty when there is none or the language has no text for it.
std::u16string HintLine(const base::PendingError& e, const UserTexts& texts) {
  if (e.sSource != kWizardCallSource && e.sSource != kShellOpenSource) return u"";
  const std::u16string sKey =
      e.sSource == kShellOpenSource ? std::u16string(kHintNoProgram) : HintKeyOf(e.nNumber, e.sDescription);
  if (sKey.empty()) return u"";
  std::u16string sHint;
  try {
    sHint = texts.Item(sKey);
  } catch (...) { return u""; }
  return sHint == sKey ? u"" : sHint;
}

void ShowErrorBox() {
  // A copy: loading the language for the hint may note problems of its own.
  const base::PendingError e = base::Pending();
  base::ClearPending();
  // The cut at a NUL comes before the hint, which would go with it otherwise.
  std::u16string sText = CutAtNul(u"Error(" + base::LongToText(e.nNumber) + u"): " + e.sDescription, u"text");
  // The user's language gives the hint and the box's direction; a language that
  // cannot even be set up leaves a plain box without a hint.
  std::unique_ptr<UserTexts> pTexts;
  try {
    pTexts = std::make_unique<UserTexts>();
  } catch (...) {
    // Out of memory: the box is shown all the same.
  }
  const std::u16string sHint = pTexts ? HintLine(e, *pTexts) : u"";
  if (!sHint.empty()) sText += u"\r\n" + sHint;
  if (pTexts)
    ShowBox(*pTexts, sText, u"TwinsweepLauncher", platform::kMbOk);
  else
    ShowBox(sText, u"TwinsweepLauncher", platform::kMbOk);
}

}  // namespace

int Main() {
  try {
    SetLogSink(WriteLogEntry);
    SetLogFileEnabled(Options().DiagnosticLog());
    // For the whole life of the process: at the end of the session it ends at
    // once, from whatever it waits in, with this note and nothing else.
    const bool bOpen = platform::SessionWindow().Open([](platform::SessionEnd end) {
      LogDebug(u"mMain.Main", end == platform::SessionEnd::kCloseApp
                                  ? u"the Restart Manager closes the launcher (ENDSESSION_CLOSEAPP): it ends now, "
                                    u"without a box or a start of Outlook"
                                  : u"the session is ending: the launcher ends now, without a box or a start of "
                                    u"Outlook");
    });
    if (!bOpen)
      LogDebug(u"mMain.Main", u"the session window could not be made (system error " +
                                  base::LongToText(platform::ThisProcess().LastError()) +
                                  u"): the launcher will not hear the end of the session or a polite close");
    // The start came before the log: what it had to do instead is noted here.
    if (!platform::ProgramStart().DllSearchRestricted())
      LogDebug(u"mMain.Main",
               u"SetDefaultDllDirectories is missing: DLLs are searched with SetDllDirectoryW(\"\") instead, "
               u"which leaves out the current folder but not the program's");
    if (base::EqualsNoCase(platform::ProgramStart().CommandLineArgs(), u"buyonline")) {
      RunPurchaseBranch();
      return kExitDone;
    }
    if (base::EqualsNoCase(platform::ProgramStart().CommandLineArgs(), u"help")) {
      RunHelpBranch();
      return kExitDone;
    }
    if (const std::optional<int> nEnd = KeepToTheDesktopsRights()) return *nEnd;
    return RunLaunchSequence();
  } catch (const ClosedPolitely&) {
    LogDebug(u"mMain.Main",
             u"the launcher was asked to close (WM_CLOSE or WM_QUIT): it ends now, as a No would, "
             u"without a box or a start of Outlook");
    return kExitClosed;
  } catch (...) {
    base::SetPendingFromCurrentException();
    ShowErrorBox();
    return kExitErrorBox;
  }
}

}  // namespace mMain

}  // namespace twinsweep
