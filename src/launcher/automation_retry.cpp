#include "launcher/automation_retry.h"

#include <string>

#include "base/failure.h"
#include "platform/processes.h"

namespace mMain {

using platform::AutomationArgs;
using platform::AutomationObject;
using platform::AutomationResult;
using platform::IAutomationObject;
using platform::InvokeKind;
using platform::kCoEServerExecFailure;
using platform::kCoEServerStopping;
using platform::kRpcECallRejected;
using platform::kRpcEServerCallRetryLater;

bool IsBusyRejection(int32_t nNumber) {
  return nNumber == kRpcECallRejected || nNumber == kRpcEServerCallRetryLater;
}

bool IsTransientActivationFailure(int32_t nNumber) {
  return IsBusyRejection(nNumber) || nNumber == kCoEServerExecFailure || nNumber == kCoEServerStopping;
}

namespace {

// Runs attempt until it succeeds or raises a failure that bRetry rejects or
// that comes after the budget is spent.
template <class F, class P>
auto WithRetry(uint32_t nBudgetMs, P bRetry, F attempt) -> decltype(attempt()) {
  platform::IProcesses& sys = platform::Processes();
  const uint64_t nStart = sys.TickCount();
  for (;;) {
    try {
      return attempt();
    } catch (const base::Failure& f) {
      if (!bRetry(f.Number()) || sys.TickCount() - nStart >= nBudgetMs) throw;
    }
    sys.Sleep(kAutomationRetryPauseMs);
  }
}

class RetryingObject : public IAutomationObject {
 public:
  RetryingObject(AutomationObject inner, uint32_t nBudgetMs) : inner_(std::move(inner)), nBudgetMs_(nBudgetMs) {}

  AutomationResult Invoke(std::u16string_view sName, InvokeKind kind, const AutomationArgs& args) override {
    AutomationResult r = WithRetry(nBudgetMs_, IsBusyRejection, [&] { return inner_->Invoke(sName, kind, args); });
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
  AutomationObject o =
      WithRetry(nBudgetMs_, IsTransientActivationFailure, [&] { return inner_.CreateObject(sProgID); });
  return RetryingObject::Wrap(std::move(o), nBudgetMs_);
}

}  // namespace mMain
