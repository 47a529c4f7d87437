// The system's side of lngcheck --fit on Windows itself: the forms program is started with CreateProcess.
#include <string>

#include "twinsweep/base/text.h"
#include "twinsweep/platform/win32/win32_windows.h"
#include "fit.h"
#include "fit_system.h"

using namespace twinsweep;

namespace lngcheck {

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
  const bool bEnded = WaitForSingleObject(pi.hProcess, kFormsProgramWaitMs) == WAIT_OBJECT_0;
  if (!bEnded) {
    TerminateProcess(pi.hProcess, 1);
    *psWhy = base::ToUtf8(sProgram) + " did not end within a minute";
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return bEnded;
}

}  // namespace lngcheck
