#pragma once
// Threads for work that may block for ever, such as a call into another process
// that never answers: the caller waits with a limit of its own and may leave the
// thread behind. A thread left behind never keeps the process from ending.
#include <cstdint>
#include <functional>

#include "twinsweep/platform/processes.h"
#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

class IWorkerThreads {
 public:
  virtual ~IWorkerThreads() = default;
  // Starts job on a new thread that first joins a single-threaded COM apartment of
  // its own and leaves it when job returns; job must not let anything escape. A
  // handle to wait on, 0 when no thread could be started.
  [[nodiscard]] virtual KernelHandle Start(std::function<void()> job) = 0;
  // Waits at most nMilliseconds, dispatching the calling thread's window messages
  // as a pause does; true when the thread has ended.
  virtual bool WaitForEnd(KernelHandle hThread, uint32_t nMilliseconds) = 0;
  // Lets go of the handle; a thread that has not ended runs on, left behind. The
  // Windows build then ends the process with ExitProcess instead of returning from
  // its entry, so that no C runtime shutdown runs beside a thread still in a call.
  virtual void Close(KernelHandle hThread) = 0;
};

template <>
IWorkerThreads& Default<IWorkerThreads>();
inline IWorkerThreads& WorkerThreads() { return Get<IWorkerThreads>(); }

}  // namespace platform

}  // namespace twinsweep
