// Windows implementation of worker threads: each joins a single-threaded
// apartment of its own, so that a call it makes into another process that never
// answers blocks only that thread. A thread left behind is ended with the
// process (ExitProcess ends every other thread first).
#include "twinsweep/platform/win32/win32_windows.h"
#include <objbase.h>

#include <memory>

#include "twinsweep/platform/worker_threads.h"

namespace twinsweep {

namespace platform {
namespace {

DWORD WINAPI RunJob(void* pParameter) {
  std::unique_ptr<std::function<void()>> job(static_cast<std::function<void()>*>(pParameter));
  const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  (*job)();
  if (SUCCEEDED(hr)) ::CoUninitialize();
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
    return ::WaitForSingleObject(reinterpret_cast<HANDLE>(hThread), nMilliseconds) == WAIT_OBJECT_0;
  }

  void Close(KernelHandle hThread) override { ::CloseHandle(reinterpret_cast<HANDLE>(hThread)); }
};

}  // namespace

template <>
IWorkerThreads& Default<IWorkerThreads>() {
  static Win32WorkerThreads threads;
  return threads;
}

}  // namespace platform

}  // namespace twinsweep
