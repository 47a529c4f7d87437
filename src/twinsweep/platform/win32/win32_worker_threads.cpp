// Windows implementation of worker threads: each joins a single-threaded
// apartment of its own and leaves it before it ends, so that a call it makes into
// another process that never answers blocks only that thread. The caller waits
// for it dispatching its own messages. A thread left behind is ended with the
// process: the entry then calls ExitProcess, which ends every other thread first.
#include "twinsweep/platform/win32/win32_message_wait.h"

#include <atomic>
#include <memory>

#include "twinsweep/platform/apartment.h"
#include "twinsweep/platform/worker_threads.h"

namespace twinsweep {

namespace platform {
namespace {

std::atomic<bool> bLeftBehind{false};

DWORD WINAPI RunJob(void* pParameter) {
  // Joined first, so that the job and whatever it holds are released before the
  // apartment is left.
  const ScopedApartment apartment;
  std::unique_ptr<std::function<void()>> job(static_cast<std::function<void()>*>(pParameter));
  (*job)();
  return 0;
}

class Win32WorkerThreads : public IWorkerThreads {
 public:
  KernelHandle Start(std::function<void()> job) override {
    auto pJob = std::make_unique<std::function<void()>>(std::move(job));
    HANDLE hThread = ::CreateThread(nullptr, 0, RunJob, pJob.get(), 0, nullptr);
    if (!hThread) return 0;
    pJob.release();  // the thread's own now
    return reinterpret_cast<KernelHandle>(hThread);
  }

  bool WaitForEnd(KernelHandle hThread, uint32_t nMilliseconds) override {
    return win32::WaitDispatching(reinterpret_cast<HANDLE>(hThread), nMilliseconds);
  }

  void Close(KernelHandle hThread) override {
    const HANDLE h = reinterpret_cast<HANDLE>(hThread);
    if (::WaitForSingleObject(h, 0) != WAIT_OBJECT_0) bLeftBehind = true;
    ::CloseHandle(h);
  }
};

}  // namespace

bool win32::WorkerLeftBehind() { return bLeftBehind; }

template <>
IWorkerThreads& Default<IWorkerThreads>() {
  return StaticInstance<Win32WorkerThreads>();
}

}  // namespace platform

}  // namespace twinsweep
