#include "twinsweep/launcher/automation_worker.h"

#include <atomic>
#include <exception>
#include <memory>
#include <string>

#include "twinsweep/base/convert.h"
#include "twinsweep/base/failure.h"
#include "twinsweep/platform/processes.h"
#include "twinsweep/platform/worker_threads.h"

namespace twinsweep {

namespace mMain {
namespace {

using platform::AutomationArgs;
using platform::AutomationObject;
using platform::AutomationResult;
using platform::InvokeKind;

constexpr uint64_t kNoCall = ~0ull;

// What the worker and the waiting thread share: when the call in progress began
// and what it is, whether the waiter has given up, and how the job ended. The
// worker may outlive the waiter, so both hold it.
class CallWatch {
 public:
  void Begin(std::u16string_view sName) {
    if (bAbandoned_.load()) base::Raise(platform::kRpcECallCanceled, u"The wizard call was given up.");
    Lock();
    sName_.assign(sName);
    Unlock();
    nStartedAt_.store(platform::Processes().TickCount());
  }
  void End() { nStartedAt_.store(kNoCall); }
  // The call in progress, when it has run for nLimitMs; empty otherwise.
  bool Overdue(uint32_t nLimitMs, std::u16string* psName) {
    const uint64_t nStart = nStartedAt_.load();
    if (nStart == kNoCall || platform::Processes().TickCount() - nStart < nLimitMs) return false;
    Lock();
    *psName = sName_;
    Unlock();
    return true;
  }
  void Abandon() { bAbandoned_.store(true); }

  std::exception_ptr failure;  // written by the worker before it ends

 private:
  void Lock() {
    while (busy_.test_and_set(std::memory_order_acquire)) {
    }
  }
  void Unlock() { busy_.clear(std::memory_order_release); }

  std::atomic<uint64_t> nStartedAt_{kNoCall};
  std::atomic<bool> bAbandoned_{false};
  std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
  std::u16string sName_;
};

// Times one call. Only a return or a raised failure ends it: a call that never
// comes back stays in progress.
template <class F>
auto Timed(CallWatch& watch, std::u16string_view sName, F call) -> decltype(call()) {
  watch.Begin(sName);
  try {
    auto r = call();
    watch.End();
    return r;
  } catch (const base::Failure&) {
    watch.End();
    throw;
  }
}

class TimedObject : public platform::IAutomationObject {
 public:
  TimedObject(AutomationObject inner, std::shared_ptr<CallWatch> watch)
      : inner_(std::move(inner)), watch_(std::move(watch)) {}

  AutomationResult Invoke(std::u16string_view sName, InvokeKind kind, const AutomationArgs& args) override {
    AutomationResult r = Timed(*watch_, sName, [&] { return inner_->Invoke(sName, kind, args); });
    if (r.oObject) r.oObject = std::make_shared<TimedObject>(std::move(r.oObject), watch_);
    return r;
  }
  IAutomationObject& Target() override { return inner_->Target(); }

 private:
  AutomationObject inner_;
  std::shared_ptr<CallWatch> watch_;
};

class TimedAutomation : public platform::IAutomation {
 public:
  TimedAutomation(platform::IAutomation& inner, std::shared_ptr<CallWatch> watch)
      : inner_(inner), watch_(std::move(watch)) {}
  AutomationObject CreateObject(std::u16string_view sProgID) override {
    AutomationObject o = Timed(*watch_, u"CreateObject", [&] { return inner_.CreateObject(sProgID); });
    return o ? std::make_shared<TimedObject>(std::move(o), watch_) : o;
  }

 private:
  platform::IAutomation& inner_;
  std::shared_ptr<CallWatch> watch_;
};

}  // namespace

void RunWithCallLimit(const std::function<void(platform::IAutomation&)>& job, uint32_t nLimitMs) {
  auto watch = std::make_shared<CallWatch>();
  platform::IAutomation& automation = platform::Automation();
  platform::IWorkerThreads& threads = platform::WorkerThreads();
  const platform::KernelHandle hWorker = threads.Start([watch, job, &automation] {
    try {
      TimedAutomation timed(automation, watch);
      job(timed);
    } catch (...) {
      watch->failure = std::current_exception();
    }
  });
  // Without a thread of its own the job runs here, without a limit, as before.
  if (!hWorker) {
    TimedAutomation timed(automation, watch);
    return job(timed);
  }
  std::u16string sCall;
  while (!threads.WaitForEnd(hWorker, kCallWatchPollMs)) {
    if (watch->Overdue(nLimitMs, &sCall)) {
      watch->Abandon();
      threads.Close(hWorker);
      base::Raise(platform::kRpcECallCanceled, u"Outlook did not answer the call of " + sCall + u" within " +
                                                   base::LongToText(static_cast<int32_t>(nLimitMs / 1000)) +
                                                   u" seconds.");
    }
  }
  threads.Close(hWorker);
  if (watch->failure) std::rethrow_exception(watch->failure);
}

}  // namespace mMain

}  // namespace twinsweep
