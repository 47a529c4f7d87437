// The system's side of lngcheck --fit elsewhere: the forms program runs under Wine ("wine", or the
// program that the environment variable LNGCHECK_WINE names), whose drive Z: is
// the system's root.
#include <string>

#include <limits.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include "twinsweep/base/text.h"
#include "fit.h"
#include "fit_system.h"

extern char** environ;

using namespace twinsweep;

namespace lngcheck {

std::u16string PathForProgram(const std::u16string& sPath) {
  char sz[PATH_MAX] = {};
  const std::string s = realpath(base::ToUtf8(sPath).c_str(), sz) ? std::string(sz) : base::ToUtf8(sPath);
  std::u16string r = u"Z:" + base::FromUtf8(s);
  for (char16_t& c : r)
    if (c == u'/') c = u'\\';
  return r;
}

std::u16string TemporaryLogPath() {
  const char* pszTemp = getenv("TMPDIR");
  return base::FromUtf8(std::string(pszTemp && *pszTemp ? pszTemp : "/tmp") + "/lngcheck-fit-" +
                        std::to_string(getpid()) + ".log");
}

bool RunFormsProgram(const std::u16string& sProgram, const std::vector<std::u16string>& args, std::string* psWhy) {
  const char* pszWine = getenv("LNGCHECK_WINE");
  std::vector<std::string> argv{pszWine && *pszWine ? pszWine : "wine", base::ToUtf8(sProgram)};
  for (const std::u16string& a : args) argv.push_back(base::ToUtf8(a));
  std::vector<char*> pointers;
  for (std::string& a : argv) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0].c_str(), nullptr, nullptr, pointers.data(), environ) != 0) {
    *psWhy = "cannot start " + argv[0] + " to run " + argv[1];
    return false;
  }
  for (int nWaited = 0; nWaited < kFormsProgramWaitMs; nWaited += 50) {
    int nStatus = 0;
    if (waitpid(pid, &nStatus, WNOHANG) == pid) {
      if (WIFEXITED(nStatus)) return true;
      *psWhy = argv[1] + " ended abnormally";
      return false;
    }
    usleep(50000);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  *psWhy = argv[1] + " did not end within a minute";
  return false;
}

}  // namespace lngcheck
