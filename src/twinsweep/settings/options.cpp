#include "twinsweep/settings/options.h"

#include "twinsweep/base/error_log.h"
#include "twinsweep/base/name_rules.h"
#include "twinsweep/platform/scoped_handle.h"
#include "twinsweep/settings/registry_views.h"
#include "twinsweep/settings/win_reg.h"

namespace twinsweep {

namespace {

// True when the scope holds no text under sName: no key, no value, or an empty
// text. A value of another type is not absent: it is someone's setting that this
// program cannot read, and writing over it would lose it. False also when that
// could not be found out.
bool OptionAbsent(int32_t nRoot, const std::u16string& sKeyPath, const std::u16string& sName) {
  platform::IRegistry& oRegistry = platform::Registry();
  platform::ScopedKey hKey;
  const int32_t nOpen = oRegistry.OpenKey(platform::RootKey(nRoot), sKeyPath, platform::kKeyRead, hKey.Receive());
  if (nOpen == platform::kErrorFileNotFound) return true;
  if (nOpen != platform::kErrorSuccess) return false;
  uint32_t nType = 0, nSize = 0;
  const int32_t nQuery = oRegistry.QueryValue(hKey.Get(), sName, &nType, nullptr, &nSize);
  if (nQuery == platform::kErrorFileNotFound) return true;
  if (nQuery != platform::kErrorSuccess) return false;
  return (nType == platform::kRegSz || nType == platform::kRegExpandSz) && nSize <= sizeof(char16_t);
}

}  // namespace

// A policy's language is the answer as it stands: never remembered in the user's
// key, so that the user's own choice is back when the policy goes.
std::u16string COptions::LangID() {
  std::u16string s = ReadPolicy(u"LANG");
  if (!s.empty()) return s;
  s = ReadOption(u"LANG", u"", true);
  if (!s.empty()) return s;
  // A language that is stored but could not be read is reported and never
  // replaced: the fallback serves this time only. English is remembered only
  // where neither scope has a language.
  const bool bUserAbsent = OptionAbsent(platform::kRootCurrentUser, OptionsKeyPath(), u"LANG");
  if (!bUserAbsent) mMain::LogError(u"COptions.LangID", 0, u"the user's language could not be read");
  s = ReadOption(u"LANG", u"", false);
  if (!s.empty()) return s;
  s = u"EN";
  if (!bUserAbsent) return s;
  if (OptionAbsent(platform::kRootLocalMachine, OptionsKeyPath(), u"LANG"))
    LangID(s);
  else
    mMain::LogError(u"COptions.LangID", 0, u"the machine's language could not be read; English is used for now");
  return s;
}

// A key the user may not write is no failure of the program: the write is noted.
void COptions::LangID(const std::u16string& sValue) {
  if (!WriteOption(u"LANG", sValue, true)) mMain::LogDebug(u"COptions.LangID", u"LANG could not be written");
}

// The remembered file is a name in the program's folder. Anything else (a path, a
// device) counts as no remembered file, so that a value written by someone else
// cannot make the program load texts from outside its folder.
std::u16string COptions::LangFile() {
  std::u16string s = ReadOption(u"LANG_", u"", true);
  // The machine's file applies only while the user has not chosen a language of
  // their own that differs from the machine's.
  if (s.empty() && ReadOption(u"LANG", u"", true) == ReadOption(u"LANG", u"", false))
    s = ReadOption(u"LANG_", u"", false);
  return base::IsPlainFileName(s) ? s : u"";
}

void COptions::LangFile(const std::u16string& sValue) {
  if (!WriteOption(u"LANG_", sValue, true)) mMain::LogDebug(u"COptions.LangFile", u"LANG_ could not be written");
}

// A policy's 0 wins as its 1 does: an administrator may switch the log off.
bool COptions::DiagnosticLog() {
  int32_t n = ReadNumberPolicy(u"DiagnosticLog");
  if (n == -1) n = ReadNumberOption(u"DiagnosticLog", true);
  if (n == -1) n = ReadNumberOption(u"DiagnosticLog", false);
  return n == 1;
}

// The machine's scope is read in both registry views: a 32-bit setup of the
// product writes it only in the 32-bit one.
std::u16string COptions::ReadOption(const std::u16string& sName, const std::u16string& sDefault, bool bUserScope) {
  CWinReg oReg;
  std::u16string s;
  if (!bUserScope) {
    s = mRegistryViews::ReadString(oReg.HKEY_LOCAL_MACHINE(), OptionsKeyPath(), sName);
  } else if (oReg.InitForRead(oReg.HKEY_CURRENT_USER(), OptionsKeyPath())) {
    s = oReg.ReadString(sName);
    oReg.CloseKey();
  }
  return s.empty() ? sDefault : s;
}

int32_t COptions::ReadNumberOption(const std::u16string& sName, bool bUserScope) {
  CWinReg oReg;
  if (!bUserScope) return mRegistryViews::ReadDWord(oReg.HKEY_LOCAL_MACHINE(), OptionsKeyPath(), sName, -1);
  int32_t n = -1;
  if (oReg.InitForRead(oReg.HKEY_CURRENT_USER(), OptionsKeyPath())) {
    n = oReg.ReadDWord(sName, -1);
    oReg.CloseKey();
  }
  return n;
}

bool COptions::WriteOption(const std::u16string& sName, const std::u16string& sValue, bool bUserScope) {
  CWinReg oReg;
  if (!oReg.InitForWrite(bUserScope ? oReg.HKEY_CURRENT_USER() : oReg.HKEY_LOCAL_MACHINE(), OptionsKeyPath(), true))
    return false;
  bool bResult = oReg.WriteString(sName, sValue);
  oReg.CloseKey();
  return bResult;
}

std::u16string COptions::OptionsKeyPath() { return u"Software\\Orvex\\Twinsweep"; }

// The machine's policy before the user's, as Windows applies them; each in both
// registry views, like the machine's own options: a 32-bit script or deployment
// tool that writes the values may reach only the 32-bit one. A value of another
// type counts as no policy.
std::u16string COptions::ReadPolicy(const std::u16string& sName) {
  CWinReg oReg;
  for (int32_t nRoot : {oReg.HKEY_LOCAL_MACHINE(), oReg.HKEY_CURRENT_USER()}) {
    std::u16string s = mRegistryViews::ReadString(nRoot, PolicyKeyPath(), sName);
    if (!s.empty()) return s;
  }
  return u"";
}

int32_t COptions::ReadNumberPolicy(const std::u16string& sName) {
  CWinReg oReg;
  for (int32_t nRoot : {oReg.HKEY_LOCAL_MACHINE(), oReg.HKEY_CURRENT_USER()}) {
    const int32_t n = mRegistryViews::ReadDWord(nRoot, PolicyKeyPath(), sName, -1);
    if (n != -1) return n;
  }
  return -1;
}

std::u16string COptions::PolicyKeyPath() { return u"Software\\Policies\\Orvex\\Twinsweep"; }

COptions& Options() {
  static COptions* pOptions = new COptions();  // lives until the process ends
  return *pOptions;
}

}  // namespace twinsweep
