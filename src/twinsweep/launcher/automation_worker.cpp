#include "twinsweep/launcher/automation_worker.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <string>

#include "twinsweep/base/convert.h"
#include "twinsweep/base/failure.h"
#include "twinsweep/platform/apartment.h"
#include "twinsweep/launcher/polite_close.h"
#include "twinsweep/platform/clock.h"
#include "twinsweep/platform/scoped_handle.h"
#include "twinsweep/platform/session_window.h"
#include "twinsweep/platform/worker_threads.h"

namespace twinsweep {

namespace mMain {
namespace {

using platform::AutomationArgs;
using platform::AutomationObject;
using platform::AutomationResult;
using platform::InvokeKind;

// What the worker and the waiting thread share: whether a call is in progress,
// since when and of what, whether the waiter has given up, and how the job
// ended. The worker may outlive the waiter, so both hold it.
//
// One atomic state, changed only by compare-and-swap, decides every race between
// the two threads: a call ends (in call -> idle) or is given up (in call -> given
// up), never both; once given up, no call begins. The state carries the number of
// the call, so that a swap gives up the call whose start it looked at and never
// the next one. The call's name is written by the worker only while no call is in
// progress and read by the waiter only after it gave that call up, so neither
// thread ever waits for the other, and nothing is allocated while the state is
// contended.
class CallWatch {
 public:
  enum class GiveUp { kNo, kCall, kJob };

  // The worker's side.
  void Begin(std::u16string_view sName) {
    uint64_t nIdle = state_.load();
    if (Phase(nIdle) == kGivenUp) RaiseGivenUp();
    const size_t n = std::min(sName.size(), std::size(szName_) - 1);
    std::copy_n(sName.data(), n, szName_);
    szName_[n] = u'\0';
    nStartedAt_.store(platform::Clock().TickCount());
    if (!state_.compare_exchange_strong(nIdle, (nIdle / kStep + 1) * kStep + kInCall)) RaiseGivenUp();
  }
  void End() {
    uint64_t nInCall = state_.load();
    if (Phase(nInCall) == kInCall) state_.compare_exchange_strong(nInCall, nInCall / kStep * kStep + kIdle);
  }

  // The waiter's side: gives up the call in progress once it has run for
  // nLimitMs (its name in *psName), or whatever the worker does once the job has
  // run past nJobEnd. The start is read before the clock: a call that began
  // after this look is not overdue.
  GiveUp GiveUpIfOverdue(uint32_t nLimitMs, uint64_t nJobEnd, std::u16string* psName) {
    uint64_t nState = state_.load();
    const uint64_t nStartedAt = nStartedAt_.load();
    const uint64_t nNow = platform::Clock().TickCount();
    if (Phase(nState) == kInCall && nNow >= nStartedAt && nNow - nStartedAt >= nLimitMs &&
        state_.compare_exchange_strong(nState, kGivenUp)) {
      *psName = szName_;
      return GiveUp::kCall;
    }
    if (nNow < nJobEnd) return GiveUp::kNo;
    state_.store(kGivenUp);
    return GiveUp::kJob;
  }

  std::exception_ptr failure;  // written by the worker before it ends

 private:
  // A state is the call's number times kStep plus its phase.
  enum : uint64_t { kIdle, kInCall, kGivenUp, kStep };
  static uint64_t Phase(uint64_t nState) { return nState % kStep; }
  [[noreturn]] static void RaiseGivenUp() {
    base::Raise(platform::kRpcECallCanceled, u"The wizard call was given up.");
  }

  std::atomic<uint64_t> state_{kIdle};
  std::atomic<uint64_t> nStartedAt_{0};
  char16_t szName_[64] = {};
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

std::u16string Seconds(uint32_t nMs) { return base::LongToText(static_cast<int32_t>(nMs / 1000)) + u" seconds."; }

}  // namespace

void RunWithCallLimit(const std::function<void(platform::IAutomation&)>& job, uint32_t nLimitMs, uint32_t nJobLimitMs) {
  auto watch = std::make_shared<CallWatch>();
  platform::IAutomation& automation = platform::Automation();
  platform::IWorkerThreads& threads = platform::WorkerThreads();
  const uint64_t nJobEnd = platform::Clock().TickCount() + nJobLimitMs;
  // Closed on every way out, a failure to copy the given-up call's name included.
  platform::ScopedWorker hWorker(threads.Start([watch, job, &automation] {
    try {
      TimedAutomation timed(automation, watch);
      job(timed);
    } catch (...) { watch->failure = std::current_exception(); }
  }));
  // Without a thread of its own the job runs here, in an apartment joined for
  // it alone, without a limit, as before.
  if (!hWorker.IsValid()) {
    const platform::ScopedApartment apartment;
    TimedAutomation timed(automation, watch);
    return job(timed);
  }
  bool bEnded = false;
  std::u16string sCall;
  CallWatch::GiveUp giveUp = CallWatch::GiveUp::kNo;
  // A polite close gives the worker up at once, as the end of the job's time
  // does, and then ends the launch without the box.
  const auto jobEnd = [&] { return platform::SessionWindow().CloseRequested() ? 0 : nJobEnd; };
  while (!(bEnded = threads.WaitForEnd(hWorker.Get(), kCallWatchPollMs)) &&
         (giveUp = watch->GiveUpIfOverdue(nLimitMs, jobEnd(), &sCall)) == CallWatch::GiveUp::kNo) {}
  // A worker that ended just as it was given up made its last call in time: it
  // stands. One that ended on a failure (the refusal of a further call among
  // them) is reported as given up.
  if (!bEnded) bEnded = threads.WaitForEnd(hWorker.Get(), 0) && !watch->failure;
  hWorker.Reset();
  if (bEnded) {
    if (watch->failure) std::rethrow_exception(watch->failure);
    return;
  }
  EndIfAskedToClose();
  if (giveUp == CallWatch::GiveUp::kCall)
    base::Raise(platform::kRpcECallCanceled,
                u"Outlook did not answer the call of " + sCall + u" within " + Seconds(nLimitMs));
  base::Raise(platform::kRpcECallCanceled, kJobGivenUpText + Seconds(nJobLimitMs));
}

}  // namespace mMain

}  // namespace twinsweep
