// Windows implementation of named mutexes, process start, the search for a
// program file and the look for a running one.
#include "twinsweep/platform/win32/win32_strings.h"
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <vector>

#include "twinsweep/base/name_rules.h"
#include "twinsweep/platform/processes.h"

namespace twinsweep {

namespace platform {
namespace {

std::wstring SystemFolder(UINT(WINAPI* get)(LPWSTR, UINT)) {
  wchar_t buffer[MAX_PATH + 1];
  const UINT n = get(buffer, MAX_PATH + 1);
  return n > 0 && n <= MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

// The folders of PATH in order, each without the quotes that may enclose it.
std::vector<std::wstring> PathFolders() {
  std::vector<std::wstring> folders;
  const DWORD nSize = ::GetEnvironmentVariableW(L"PATH", nullptr, 0);
  if (nSize == 0) return folders;
  std::wstring path(nSize, L'\0');
  const DWORD n = ::GetEnvironmentVariableW(L"PATH", &path[0], nSize);
  if (n == 0 || n >= nSize) return folders;
  path.resize(n);
  size_t nStart = 0;
  for (;;) {
    const size_t nEnd = path.find(L';', nStart);
    std::wstring folder = path.substr(nStart, nEnd == std::wstring::npos ? std::wstring::npos : nEnd - nStart);
    folder.erase(std::remove(folder.begin(), folder.end(), L'"'), folder.end());
    if (!folder.empty()) folders.push_back(std::move(folder));
    if (nEnd == std::wstring::npos) return folders;
    nStart = nEnd + 1;
  }
}

class Win32Processes : public IProcesses {
 public:
  KernelHandle OpenMutexByName(uint32_t nDesiredAccess, std::u16string_view sName) override {
    const auto name = win32::Wide(sName);
    if (!name) return 0;
    return reinterpret_cast<KernelHandle>(::OpenMutexW(nDesiredAccess, FALSE, name->c_str()));
  }

  KernelHandle CreateMutexByName(std::u16string_view sName, bool* pbExisted) override {
    const auto name = win32::Wide(sName);
    if (!name) {
      *pbExisted = false;
      return 0;
    }
    HANDLE h = ::CreateMutexW(nullptr, FALSE, name->c_str());
    const DWORD nError = ::GetLastError();
    *pbExisted = h ? nError == ERROR_ALREADY_EXISTS : nError == ERROR_ACCESS_DENIED;
    return reinterpret_cast<KernelHandle>(h);
  }

  bool HasEnded(KernelHandle hProcess, uint32_t* pnExitCode) override {
    HANDLE h = reinterpret_cast<HANDLE>(hProcess);
    DWORD nCode = 0;
    if (::WaitForSingleObject(h, 0) != WAIT_OBJECT_0 || !::GetExitCodeProcess(h, &nCode)) return false;
    *pnExitCode = nCode;
    return true;
  }

  bool CloseHandle(KernelHandle hObject) override { return ::CloseHandle(reinterpret_cast<HANDLE>(hObject)) != FALSE; }

  bool LaunchProcess(std::u16string_view sApplicationName, std::u16string_view sCommandLine, uint32_t nCreationFlags,
                     const StartupRecord& startup, ProcessRecord* pProcess) override {
    const auto application = win32::Wide(sApplicationName);
    // CreateProcessW may write into the command line, so it gets its own copy.
    auto command = win32::Wide(sCommandLine);
    if (!application || !command) {
      ::SetLastError(ERROR_FILE_NOT_FOUND);
      return false;
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = startup.dwFlags;
    si.wShowWindow = startup.wShowWindow;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(application->c_str(), &(*command)[0], nullptr, nullptr, FALSE, nCreationFlags, nullptr,
                          nullptr, &si, &pi))
      return false;
    pProcess->hProcess = reinterpret_cast<KernelHandle>(pi.hProcess);
    pProcess->hThread = reinterpret_cast<KernelHandle>(pi.hThread);
    pProcess->dwProcessId = pi.dwProcessId;
    pProcess->dwThreadId = pi.dwThreadId;
    return true;
  }

  std::u16string SearchExecutable(std::u16string_view sName) override {
    const auto name = win32::Wide(sName);
    // Only a bare file name: a path in it would lead out of the folders searched.
    if (!name || name->empty() || name->find_first_of(L"\\/:") != std::wstring::npos) return u"";
    std::vector<std::wstring> folders = {SystemFolder(::GetSystemDirectoryW), SystemFolder(::GetWindowsDirectoryW)};
    for (std::wstring& folder : PathFolders()) folders.push_back(std::move(folder));
    for (const std::wstring& folder : folders) {
      // A relative folder on the search path ("", ".", "bin") is one of the current folder.
      if (!base::IsFullPath(win32::FromWide(folder))) continue;
      std::wstring candidate = folder;
      if (candidate.back() != L'\\') candidate += L'\\';
      candidate += *name;
      const DWORD nAttributes = ::GetFileAttributesW(candidate.c_str());
      if (nAttributes != INVALID_FILE_ATTRIBUTES && !(nAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return win32::FromWide(candidate);
    }
    return u"";
  }

  bool ProgramRunsInSession(std::u16string_view sExeName) override {
    const auto name = win32::Wide(sExeName);
    DWORD nOwnSession = 0;
    if (!name || !::ProcessIdToSessionId(::GetCurrentProcessId(), &nOwnSession)) return false;
    const HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool bFound = false;
    for (BOOL bMore = ::Process32FirstW(hSnapshot, &entry); bMore && !bFound;
         bMore = ::Process32NextW(hSnapshot, &entry)) {
      DWORD nSession = 0;
      bFound = ::lstrcmpiW(entry.szExeFile, name->c_str()) == 0 &&
               ::ProcessIdToSessionId(entry.th32ProcessID, &nSession) && nSession == nOwnSession;
    }
    ::CloseHandle(hSnapshot);
    return bFound;
  }
};

}  // namespace

template <>
IProcesses& Default<IProcesses>() {
  return StaticInstance<Win32Processes>();
}

}  // namespace platform

}  // namespace twinsweep
