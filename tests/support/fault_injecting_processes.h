#pragma once
// FaultInjectingProcesses: the kernel calls of another processes service with
// faults on demand, as FaultInjectingFiles has them for files. Call n of
// OpenMutexByName, CloseHandle or LaunchProcess fails (no handle, false, false),
// once or from then on; Sleep and TickCount pass through uncounted, so that a
// virtual clock keeps its time. OpenHandles() counts the handles given out through
// the double and not yet closed.
#include <cstdint>
#include <set>

#include "platform/processes.h"

namespace testing_support {

class FaultInjectingProcesses : public platform::IProcesses {
 public:
  explicit FaultInjectingProcesses(platform::IProcesses& inner) : inner_(inner) {}

  void Reset() {
    nCalls_ = 0;
    nFailAt_ = 0;
    bPersistent_ = false;
    bFired_ = false;
  }
  // The status is not used: a failing kernel call answers no handle or false.
  void FailCall(int64_t nCall, int32_t /*nStatus*/, bool bPersistent = false) {
    nFailAt_ = nCall;
    bPersistent_ = bPersistent;
  }
  bool Fired() const { return bFired_; }
  size_t OpenHandles() const { return open_.size(); }

  platform::KernelHandle OpenMutexByName(uint32_t nAccess, std::u16string_view sName) override {
    if (Fault()) return 0;
    const platform::KernelHandle h = inner_.OpenMutexByName(nAccess, sName);
    if (h) open_.insert(h);
    return h;
  }
  bool CloseHandle(platform::KernelHandle h) override {
    open_.erase(h);  // a failed close still gives the handle up
    const bool bFault = Fault();
    const bool bClosed = inner_.CloseHandle(h);
    return !bFault && bClosed;
  }
  bool LaunchProcess(std::u16string_view sCommandLine, uint32_t nFlags, const platform::StartupRecord& startup,
                     platform::ProcessRecord* p) override {
    if (Fault() || !inner_.LaunchProcess(sCommandLine, nFlags, startup, p)) return false;
    open_.insert(p->hProcess);
    open_.insert(p->hThread);
    return true;
  }
  void Sleep(uint32_t nMilliseconds) override { inner_.Sleep(nMilliseconds); }
  uint64_t TickCount() override { return inner_.TickCount(); }

 private:
  bool Fault() {
    ++nCalls_;
    const bool bFail = nFailAt_ > 0 && (nCalls_ == nFailAt_ || (bPersistent_ && nCalls_ > nFailAt_));
    bFired_ = bFired_ || bFail;
    return bFail;
  }

  platform::IProcesses& inner_;
  int64_t nCalls_ = 0;
  int64_t nFailAt_ = 0;
  bool bPersistent_ = false;
  bool bFired_ = false;
  std::set<platform::KernelHandle> open_;
};

}  // namespace testing_support
