#pragma once
// FaultInjectingProcesses: the kernel calls of another processes service with
// faults on demand, as FaultInjectingFiles has them for files. Call n of
// OpenMutexByName, CreateMutexByName, CloseHandle, LaunchProcess or
// SearchExecutable fails (no handle, no handle, false, false, not found), once or
// from then on; HasEnded and ProgramRunsInSession pass through uncounted. OpenHandles() counts the handles given out through
// the double and not yet closed.
#include <cstdint>
#include <set>
#include <string>

#include "twinsweep/platform/processes.h"
#include "support/fault_schedule.h"

using namespace twinsweep;

namespace testing_support {

class FaultInjectingProcesses : public platform::IProcesses, public FaultSchedule {
 public:
  explicit FaultInjectingProcesses(platform::IProcesses& inner) : inner_(inner) {}

  // Forgets the faults and the count of calls; keeps the handle count. A failing
  // call answers no handle or false (the status of FailCall is not used).
  void Reset() { ResetSchedule(); }
  size_t OpenHandles() const { return open_.size(); }

  platform::KernelHandle OpenMutexByName(uint32_t nAccess, std::u16string_view sName) override {
    if (Fault()) return 0;
    const platform::KernelHandle h = inner_.OpenMutexByName(nAccess, sName);
    if (h) open_.insert(h);
    return h;
  }
  platform::KernelHandle CreateMutexByName(std::u16string_view sName, bool* pbExisted) override {
    *pbExisted = false;
    if (Fault()) return 0;
    const platform::KernelHandle h = inner_.CreateMutexByName(sName, pbExisted);
    if (h) open_.insert(h);
    return h;
  }
  bool CloseHandle(platform::KernelHandle h) override {
    open_.erase(h);  // a failed close still gives the handle up
    const bool bFault = Fault();
    const bool bClosed = inner_.CloseHandle(h);
    return !bFault && bClosed;
  }
  bool LaunchProcess(std::u16string_view sApplicationName, std::u16string_view sCommandLine, uint32_t nFlags,
                     const platform::StartupRecord& startup, platform::ProcessRecord* p) override {
    if (Fault() || !inner_.LaunchProcess(sApplicationName, sCommandLine, nFlags, startup, p)) return false;
    open_.insert(p->hProcess);
    open_.insert(p->hThread);
    return true;
  }
  std::u16string SearchExecutable(std::u16string_view sName) override {
    return Fault() ? std::u16string() : inner_.SearchExecutable(sName);
  }
  bool HasEnded(platform::KernelHandle h, uint32_t* pnExitCode) override { return inner_.HasEnded(h, pnExitCode); }
  bool ProgramRunsInSession(std::u16string_view sExeName) override { return inner_.ProgramRunsInSession(sExeName); }

 private:
  platform::IProcesses& inner_;
  std::set<platform::KernelHandle> open_;
};

}  // namespace testing_support
