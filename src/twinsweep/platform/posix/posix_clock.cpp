// The native build's clock and pause: the steady clock and a plain sleep.
#include <chrono>
#include <thread>

#include "twinsweep/platform/clock.h"

namespace twinsweep {

namespace platform {
namespace {

class PosixClock : public IClock {
 public:
  uint64_t TickCount() override {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
  void Sleep(uint32_t nMilliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(nMilliseconds)); }
};

}  // namespace

template <>
IClock& Default<IClock>() {
  return StaticInstance<PosixClock>();
}

}  // namespace platform

}  // namespace twinsweep
