// Windows implementation of the process's own id and last error.
#include "twinsweep/platform/win32/win32_windows.h"
#include "twinsweep/platform/this_process.h"

namespace twinsweep {

namespace platform {
namespace {

class Win32ThisProcess : public IThisProcess {
 public:
  uint32_t ProcessId() override { return ::GetCurrentProcessId(); }
  uint32_t LastError() override { return ::GetLastError(); }
};

}  // namespace

template <>
IThisProcess& Default<IThisProcess>() {
  return StaticInstance<Win32ThisProcess>();
}

}  // namespace platform

}  // namespace twinsweep
