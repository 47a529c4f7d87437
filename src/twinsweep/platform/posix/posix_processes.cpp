// The native build's processes. It has no Windows named mutexes and no programs
// to start from a Windows command line: the mutex probe finds nothing, a start
// fails and the search for a program file finds none.
#include "twinsweep/platform/processes.h"

namespace twinsweep {

namespace platform {
namespace {

class PosixProcesses : public IProcesses {
 public:
  KernelHandle OpenMutexByName(uint32_t, std::u16string_view) override { return 0; }
  KernelHandle CreateMutexByName(std::u16string_view, bool* pbExisted) override {
    *pbExisted = false;
    return 0;
  }
  bool HasEnded(KernelHandle, uint32_t*) override { return false; }
  bool CloseHandle(KernelHandle) override { return false; }
  bool LaunchProcess(std::u16string_view, std::u16string_view, uint32_t, const StartupRecord&,
                     ProcessRecord*) override {
    return false;
  }
  std::u16string SearchExecutable(std::u16string_view) override { return u""; }
  bool ProgramRunsInSession(std::u16string_view) override { return false; }
};

}  // namespace

template <>
IProcesses& Default<IProcesses>() {
  return StaticInstance<PosixProcesses>();
}

}  // namespace platform

}  // namespace twinsweep
