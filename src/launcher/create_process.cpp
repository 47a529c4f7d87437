#include "launcher/create_process.h"

#include "base/failure.h"
#include "launcher/application_name.h"
#include "platform/processes.h"

namespace mCreateProcess {

bool MutexExists(const std::u16string& sName) {
  bool bExists = false;
  platform::IProcesses& sys = platform::Processes();
  platform::KernelHandle hMutex = 0;
  base::Ignore([&] { hMutex = sys.OpenMutexByName(platform::kSynchronize, sName); });
  if (hMutex != 0) {
    bExists = true;
    base::Ignore([&] { sys.CloseHandle(hMutex); });
  }
  return bExists;
}

bool StartProcess(const std::u16string& sCommandLine, bool bMinimized) {
  const std::u16string sApplication = ApplicationName(sCommandLine);
  if (sApplication.empty()) return false;
  platform::StartupRecord startup;
  if (bMinimized) {
    startup.dwFlags = platform::kStartfUseShowWindow;
    startup.wShowWindow = platform::kSwShowMinimized;
  }
  platform::ProcessRecord process;
  platform::IProcesses& sys = platform::Processes();
  if (!sys.LaunchProcess(sApplication, sCommandLine, platform::kNormalPriorityClass, startup, &process))
    return false;
  // The launcher does not watch the new process: its handles are of no use. The
  // thread's handle is closed first, then the process's.
  sys.CloseHandle(process.hThread);
  sys.CloseHandle(process.hProcess);
  return true;
}

}  // namespace mCreateProcess
