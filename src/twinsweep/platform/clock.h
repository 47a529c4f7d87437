#pragma once
// The clock that bounded waits measure against, and the pause between their looks.
#include <cstdint>

#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

class IClock {
 public:
  virtual ~IClock() = default;
  // GetTickCount64: milliseconds since an arbitrary start.
  virtual uint64_t TickCount() = 0;
  // Pauses the thread for nMilliseconds. The Windows build dispatches the
  // thread's window messages meanwhile (MsgWaitForMultipleObjectsEx), so that a
  // program that sends a message to the thread's windows (a broadcast, the end of
  // the session) is never held up by the pause.
  virtual void Sleep(uint32_t nMilliseconds) = 0;
};

template <>
IClock& Default<IClock>();
inline IClock& Clock() { return Get<IClock>(); }

}  // namespace platform

}  // namespace twinsweep
