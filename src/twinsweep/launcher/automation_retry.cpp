#include "twinsweep/launcher/automation_retry.h"

#include <iterator>
#include <string>

#include "twinsweep/base/failure.h"
#include "twinsweep/platform/clock.h"

namespace twinsweep {

namespace mMain {

using platform::AutomationArgs;
using platform::AutomationObject;
using platform::AutomationResult;
using platform::IAutomationObject;
using platform::InvokeKind;
using platform::kCoEServerExecFailure;
using platform::kCoEServerStartTimeout;
using platform::kCoEServerStopping;
using platform::kRpcECallRejected;
using platform::kRpcEServerCallRetryLater;

bool IsBusyRejection(int32_t nNumber) { return nNumber == kRpcECallRejected || nNumber == kRpcEServerCallRetryLater; }

// Activation failures of a server that has not (yet) handed out its class: it
// failed to start or is ending (CO_E_SERVER_EXEC_FAILURE, CO_E_SERVER_STOPPING),
// or it did not register within the system's own time (CO_E_SERVER_START_TIMEOUT).
bool IsActivationFailure(int32_t nNumber) {
  return nNumber == kCoEServerExecFailure || nNumber == kCoEServerStopping || nNumber == kCoEServerStartTimeout;
}

RetryClass RetryClassOf(int32_t nNumber, bool bCreation) {
  if (IsBusyRejection(nNumber)) return RetryClass::kBusy;
  if (bCreation && IsActivationFailure(nNumber)) return RetryClass::kActivation;
  return RetryClass::kNone;
}

namespace {

// Runs attempt until it succeeds or raises a failure that is not to be repeated:
// a busy rejection after the budget is spent, an activation failure after the
// last of its pauses, any other failure at once.
template <class F>
auto WithRetry(uint32_t nBudgetMs, bool bCreation, F attempt) -> decltype(attempt()) {
  platform::IClock& clock = platform::Clock();
  const uint64_t nStart = clock.TickCount();
  size_t nActivationRepeats = 0;
  for (;;) {
    uint32_t nPauseMs = 0;
    try {
      return attempt();
    } catch (const base::Failure& f) {
      switch (RetryClassOf(f.Number(), bCreation)) {
        case RetryClass::kBusy:
          if (clock.TickCount() - nStart >= nBudgetMs) throw;
          nPauseMs = kAutomationRetryPauseMs;
          break;
        case RetryClass::kActivation:
          if (nActivationRepeats == std::size(kActivationRetryPausesMs)) throw;
          nPauseMs = kActivationRetryPausesMs[nActivationRepeats++];
          break;
        case RetryClass::kNone: throw;
      }
    }
    clock.Sleep(nPauseMs);
  }
}

class RetryingObject : public IAutomationObject {
 public:
  RetryingObject(AutomationObject inner, uint32_t nBudgetMs) : inner_(std::move(inner)), nBudgetMs_(nBudgetMs) {}

  AutomationResult Invoke(std::u16string_view sName, InvokeKind kind, const AutomationArgs& args) override {
    AutomationResult r = WithRetry(nBudgetMs_, false, [&] { return inner_->Invoke(sName, kind, args); });
    if (r.bIsObject) r.oObject = Wrap(std::move(r.oObject), nBudgetMs_);
    return r;
  }

  IAutomationObject& Target() override { return inner_->Target(); }

  // Objects reached through a wrapped object are wrapped too; an empty reference stays empty.
  static AutomationObject Wrap(AutomationObject o, uint32_t nBudgetMs) {
    if (!o) return o;
    return std::make_shared<RetryingObject>(std::move(o), nBudgetMs);
  }

 private:
  AutomationObject inner_;
  uint32_t nBudgetMs_;
};

}  // namespace

AutomationObject RetryingAutomation::CreateObject(std::u16string_view sProgID) {
  AutomationObject o = WithRetry(nBudgetMs_, true, [&] { return inner_.CreateObject(sProgID); });
  return RetryingObject::Wrap(std::move(o), nBudgetMs_);
}

}  // namespace mMain

}  // namespace twinsweep
