#include "twinsweep/launcher/create_process.h"

#include "twinsweep/base/failure.h"
#include "twinsweep/launcher/application_name.h"
#include "twinsweep/platform/processes.h"
#include "twinsweep/platform/scoped_handle.h"

namespace twinsweep {

namespace mCreateProcess {

bool MutexExists(const std::u16string& sName) {
  // The owner closes the handle before the answer reaches the caller.
  platform::ScopedKernelHandle hMutex;
  base::Ignore([&] { hMutex.Reset(platform::Processes().OpenMutexByName(platform::kSynchronize, sName)); });
  return hMutex.IsValid();
}

bool StartProcess(const std::u16string& sCommandLine, bool bMinimized) {
  platform::KernelHandle hProcess = 0;
  if (!StartProcess(sCommandLine, bMinimized, &hProcess)) return false;
  platform::Processes().CloseHandle(hProcess);
  return true;
}

bool StartProcess(const std::u16string& sCommandLine, bool bMinimized, platform::KernelHandle* phProcess) {
  const std::u16string sApplication = ApplicationName(sCommandLine);
  if (sApplication.empty()) return false;
  platform::StartupRecord startup;
  if (bMinimized) {
    startup.dwFlags = platform::kStartfUseShowWindow;
    startup.wShowWindow = platform::kSwShowMinimized;
  }
  platform::ProcessRecord process;
  platform::IProcesses& sys = platform::Processes();
  if (!sys.LaunchProcess(sApplication, sCommandLine, platform::kNormalPriorityClass, startup, &process)) return false;
  // The thread's handle is of no use and is closed at once; the process's is
  // closed after it, by the caller.
  sys.CloseHandle(process.hThread);
  *phProcess = process.hProcess;
  return true;
}

}  // namespace mCreateProcess

}  // namespace twinsweep
