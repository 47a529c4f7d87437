// The native build's processes and automation. It has no Windows named mutexes,
// no programs to start from a Windows command line and no automation servers:
// the mutex probe finds nothing, a start fails, and creating an object fails as
// it does for an unregistered class. Sleep and the clock are real.
#include <chrono>
#include <thread>

#include "base/failure.h"
#include "platform/automation.h"
#include "platform/processes.h"

namespace platform {
namespace {

class PosixProcesses : public IProcesses {
 public:
  KernelHandle OpenMutexByName(uint32_t, std::u16string_view) override { return 0; }
  bool CloseHandle(KernelHandle) override { return false; }
  bool LaunchProcess(std::u16string_view, uint32_t, const StartupRecord&, ProcessRecord*) override { return false; }
  void Sleep(uint32_t nMilliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(nMilliseconds)); }
  uint64_t TickCount() override {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
};

class NoAutomation : public IAutomation {
 public:
  AutomationObject CreateObject(std::u16string_view sProgID) override {
    // REGDB_E_CLASSNOTREG, as for a class nobody registered.
    base::Raise(static_cast<int32_t>(0x80040154u),
                u"Class not registered: no automation server for \"" + std::u16string(sProgID) + u"\".");
  }
};

}  // namespace

template <>
IProcesses& Default<IProcesses>() {
  static PosixProcesses processes;
  return processes;
}
template <>
IAutomation& Default<IAutomation>() {
  static NoAutomation automation;
  return automation;
}

}  // namespace platform
