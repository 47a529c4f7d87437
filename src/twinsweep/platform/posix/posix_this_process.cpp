// The native build's own process: getpid, and errno as the last error.
#include <unistd.h>

#include <cerrno>

#include "twinsweep/platform/this_process.h"

namespace twinsweep {

namespace platform {
namespace {

class PosixThisProcess : public IThisProcess {
 public:
  uint32_t ProcessId() override { return static_cast<uint32_t>(getpid()); }
  uint32_t LastError() override { return static_cast<uint32_t>(errno); }
};

}  // namespace

template <>
IThisProcess& Default<IThisProcess>() {
  return StaticInstance<PosixThisProcess>();
}

}  // namespace platform

}  // namespace twinsweep
