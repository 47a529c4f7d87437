// The native build has one process per session as far as the program can tell:
// its named values and events are kept in memory.
#include "twinsweep/platform/memory/memory_session_signals.h"

namespace twinsweep {

namespace platform {

template <>
ISessionSignals& Default<ISessionSignals>() {
  return StaticInstance<MemorySessionSignals>();
}

}  // namespace platform

}  // namespace twinsweep
