// The native build has no COM apartments and nothing that can hang in one: the
// job runs to its end on the caller's thread, which then finds it ended.
#include "twinsweep/platform/worker_threads.h"

namespace twinsweep {

namespace platform {
namespace {

class InlineThreads : public IWorkerThreads {
 public:
  KernelHandle Start(std::function<void()> job) override {
    job();
    return 1;
  }
  bool WaitForEnd(KernelHandle, uint32_t) override { return true; }
  void Close(KernelHandle) override {}
};

}  // namespace

template <>
IWorkerThreads& Default<IWorkerThreads>() {
  return StaticInstance<InlineThreads>();
}

}  // namespace platform

}  // namespace twinsweep
