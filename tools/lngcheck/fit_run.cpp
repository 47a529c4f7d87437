// The system's side of lngcheck --fit: finding the forms program, and running it,
// on Windows itself or, elsewhere, under Wine ("wine", or the program that the
// environment variable LNGCHECK_WINE names), whose drive Z: is the system's root.
#include <string>

#include "twinsweep/base/text.h"
#include "fit.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <limits.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

using namespace twinsweep;

namespace lngcheck {

namespace {

constexpr int kWaitMs = 60000;
constexpr char16_t kProgramName[] = u"options_dialog.exe";

#ifdef _WIN32
std::u16string OwnFolder() {
  wchar_t sz[MAX_PATH * 4] = {};
  const DWORD n = GetModuleFileNameW(nullptr, sz, MAX_PATH * 4);
  std::u16string s(reinterpret_cast<const char16_t*>(sz), n);
  return s.substr(0, s.find_last_of(u"\\/"));
}
bool Exists(const std::u16string& s) {
  return GetFileAttributesW(reinterpret_cast<const wchar_t*>(s.c_str())) != INVALID_FILE_ATTRIBUTES;
}
#else
std::u16string OwnFolder() {
  char sz[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", sz, sizeof sz - 1);
  const std::string s(sz, n > 0 ? static_cast<size_t>(n) : 0);
  return base::FromUtf8(s.substr(0, s.rfind('/')));
}
bool Exists(const std::u16string& s) { return access(base::ToUtf8(s).c_str(), F_OK) == 0; }
#endif

}  // namespace

std::u16string DefaultFormsProgram() {
  const std::u16string sFolder = OwnFolder();
  for (const std::u16string& s : {sFolder + u"/" + kProgramName, sFolder + u"/../../examples/" + kProgramName})
    if (Exists(s)) return s;
  return u"";
}

#ifdef _WIN32
namespace {

// A command-line argument as the C run-time of the started program splits it back.
std::u16string Quoted(const std::u16string& s) {
  std::u16string r = u"\"";
  size_t nSlashes = 0;
  for (char16_t c : s) {
    // Backslashes before a quote are doubled, and the quote escaped.
    if (c == u'"') r.append(nSlashes + 1, u'\\');
    nSlashes = c == u'\\' ? nSlashes + 1 : 0;
    r += c;
  }
  return r + std::u16string(nSlashes, u'\\') + u"\"";
}

}  // namespace

std::u16string PathForProgram(const std::u16string& sPath) {
  wchar_t sz[MAX_PATH * 4] = {};
  const DWORD n = GetFullPathNameW(reinterpret_cast<const wchar_t*>(sPath.c_str()), MAX_PATH * 4, sz, nullptr);
  return n && n < MAX_PATH * 4 ? std::u16string(reinterpret_cast<const char16_t*>(sz), n) : sPath;
}

std::u16string TemporaryLogPath() {
  wchar_t sz[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, sz);
  return std::u16string(reinterpret_cast<const char16_t*>(sz)) + u"lngcheck-fit-" +
         base::FromUtf8(std::to_string(GetCurrentProcessId())) + u".log";
}

bool RunFormsProgram(const std::u16string& sProgram, const std::vector<std::u16string>& args, std::string* psWhy) {
  std::u16string sCommand = Quoted(sProgram);
  for (const std::u16string& a : args) sCommand += u" " + Quoted(a);
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessW(reinterpret_cast<const wchar_t*>(sProgram.c_str()), reinterpret_cast<wchar_t*>(sCommand.data()),
                      nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    *psWhy = "cannot start " + base::ToUtf8(sProgram) + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  const bool bEnded = WaitForSingleObject(pi.hProcess, kWaitMs) == WAIT_OBJECT_0;
  if (!bEnded) {
    TerminateProcess(pi.hProcess, 1);
    *psWhy = base::ToUtf8(sProgram) + " did not end within a minute";
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return bEnded;
}
#else
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
  for (int nWaited = 0; nWaited < kWaitMs; nWaited += 50) {
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
#endif

}  // namespace lngcheck
