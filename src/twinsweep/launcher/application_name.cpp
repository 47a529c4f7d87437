#include "twinsweep/launcher/application_name.h"

#include "twinsweep/base/name_rules.h"
#include "twinsweep/base/text.h"
#include "twinsweep/platform/processes.h"
#include "twinsweep/platform/file_utils.h"
#include "twinsweep/settings/registry_views.h"
#include "twinsweep/settings/win_reg.h"

namespace twinsweep {

namespace mCreateProcess {
namespace {

const std::u16string kAppPathsKey = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
const std::u16string kExe = u".exe";

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

bool EndsWithExe(const std::u16string& s) {
  return s.size() >= kExe.size() && base::EqualsNoCase(s.substr(s.size() - kExe.size()), kExe);
}

// An App Paths value may be quoted, as a command line's program is.
std::u16string Unquote(const std::u16string& s) {
  if (s.size() >= 2 && s.front() == u'"' && s.back() == u'"') return s.substr(1, s.size() - 2);
  return s;
}

}  // namespace

std::u16string FindProgram(const std::u16string& sName) {
  if (!base::IsPlainFileName(sName)) return u"";
  const std::u16string sFile = sName.find(u'.') == std::u16string::npos ? sName + kExe : sName;
  const std::u16string sRegistered =
      Unquote(mRegistryViews::ReadString(CWinReg().HKEY_LOCAL_MACHINE(), kAppPathsKey + sFile, u""));
  if (base::IsFullPath(sRegistered) && mFileUtils::FileExists(sRegistered)) return sRegistered;
  return platform::Processes().SearchExecutable(sFile);
}

std::u16string ApplicationName(const std::u16string& sCommandLine) {
  size_t nStart = 0;
  while (nStart < sCommandLine.size() && IsBlank(sCommandLine[nStart])) ++nStart;
  const std::u16string s = sCommandLine.substr(nStart);
  if (!s.empty() && s[0] == u'"') {
    // Without a closing quote the name runs to the end, as the system reads it.
    const std::u16string sQuoted = s.substr(1, s.find(u'"', 1) - 1);
    return base::IsFullPath(sQuoted) ? sQuoted : FindProgram(sQuoted);
  }
  for (size_t nEnd = 0; nEnd <= s.size(); ++nEnd) {
    if (nEnd < s.size() && !IsBlank(s[nEnd])) continue;
    const std::u16string sPrefix = s.substr(0, nEnd);
    if (EndsWithExe(sPrefix) && base::IsFullPath(sPrefix) && mFileUtils::FileExists(sPrefix)) return sPrefix;
  }
  size_t nWordEnd = 0;
  while (nWordEnd < s.size() && !IsBlank(s[nWordEnd])) ++nWordEnd;
  return FindProgram(s.substr(0, nWordEnd));
}

}  // namespace mCreateProcess

}  // namespace twinsweep
