#pragma once
// What the program asks of its own process: the id by which other processes know
// it (the launch board, the log's lines) and the error of the system call that
// last failed on the calling thread.
#include <cstdint>

#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

class IThisProcess {
 public:
  virtual ~IThisProcess() = default;
  // GetCurrentProcessId.
  virtual uint32_t ProcessId() = 0;
  // GetLastError, to be read right after the failed call it is about.
  virtual uint32_t LastError() = 0;
};

template <>
IThisProcess& Default<IThisProcess>();
inline IThisProcess& ThisProcess() { return Get<IThisProcess>(); }

}  // namespace platform

}  // namespace twinsweep
