// The native build's processes. It has no Windows named mutexes and no programs
// to start from a Windows command line: the mutex probe finds nothing, a start
// fails and the search for a program file finds none. Sleep and the clock are real.
#include <chrono>
#include <thread>

#include "twinsweep/platform/processes.h"

namespace twinsweep {

namespace platform {
namespace {

class PosixProcesses : public IProcesses {
 public:
  KernelHandle OpenMutexByName(uint32_t, std::u16string_view) override { return 0; }
  bool CloseHandle(KernelHandle) override { return false; }
  bool LaunchProcess(std::u16string_view, std::u16string_view, uint32_t, const StartupRecord&,
                     ProcessRecord*) override {
    return false;
  }
  std::u16string SearchExecutable(std::u16string_view) override { return u""; }
  void Sleep(uint32_t nMilliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(nMilliseconds)); }
  uint64_t TickCount() override {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
};

}  // namespace

template <>
IProcesses& Default<IProcesses>() {
  static PosixProcesses processes;
  return processes;
}

}  // namespace platform

}  // namespace twinsweep
