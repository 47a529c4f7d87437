// Windows implementation of named mutexes, process start, pause and the clock.
#include "platform/win32/win32_strings.h"

#include <string>

#include "platform/processes.h"

namespace platform {
namespace {

class Win32Processes : public IProcesses {
 public:
  KernelHandle OpenMutexByName(uint32_t nDesiredAccess, std::u16string_view sName) override {
    const std::wstring name = win32::Wide(sName);
    return reinterpret_cast<KernelHandle>(::OpenMutexW(nDesiredAccess, FALSE, name.c_str()));
  }

  KernelHandle CreateMutexByName(std::u16string_view sName, bool* pbExisted) override {
    const std::wstring name = win32::Wide(sName);
    HANDLE h = ::CreateMutexW(nullptr, FALSE, name.c_str());
    *pbExisted = h != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS;
    return reinterpret_cast<KernelHandle>(h);
  }

  bool CloseHandle(KernelHandle hObject) override {
    return ::CloseHandle(reinterpret_cast<HANDLE>(hObject)) != FALSE;
  }

  bool LaunchProcess(std::u16string_view sCommandLine, uint32_t nCreationFlags, const StartupRecord& startup,
                     ProcessRecord* pProcess) override {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = startup.dwFlags;
    si.wShowWindow = startup.wShowWindow;
    PROCESS_INFORMATION pi{};
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::wstring command = win32::Wide(sCommandLine);
    if (!::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, nCreationFlags, nullptr, nullptr, &si,
                          &pi))
      return false;
    pProcess->hProcess = reinterpret_cast<KernelHandle>(pi.hProcess);
    pProcess->hThread = reinterpret_cast<KernelHandle>(pi.hThread);
    pProcess->dwProcessId = pi.dwProcessId;
    pProcess->dwThreadId = pi.dwThreadId;
    return true;
  }

  void Sleep(uint32_t nMilliseconds) override { ::Sleep(nMilliseconds); }

  uint64_t TickCount() override { return ::GetTickCount64(); }
};

}  // namespace

template <>
IProcesses& Default<IProcesses>() {
  static Win32Processes processes;
  return processes;
}

}  // namespace platform
