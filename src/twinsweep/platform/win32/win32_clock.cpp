// Windows implementation of the clock and of a pause that keeps the thread's
// windows answering.
#include "twinsweep/platform/win32/win32_message_wait.h"
#include "twinsweep/platform/clock.h"

namespace twinsweep {

namespace platform {
namespace {

class Win32Clock : public IClock {
 public:
  uint64_t TickCount() override { return ::GetTickCount64(); }
  void Sleep(uint32_t nMilliseconds) override { win32::WaitDispatching(nullptr, nMilliseconds); }
};

}  // namespace

template <>
IClock& Default<IClock>() {
  return StaticInstance<Win32Clock>();
}

}  // namespace platform

}  // namespace twinsweep
