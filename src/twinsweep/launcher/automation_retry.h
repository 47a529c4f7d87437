#pragma once
// RetryingAutomation: automation that waits out a server which is still starting.
//
// A mail client that is busy starting rejects calls (RPC_E_CALL_REJECTED,
// RPC_E_SERVERCALL_RETRYLATER): this wrapper repeats the creation and every call
// on the objects it hands out, with short pauses, until the call succeeds, fails
// otherwise, or the time budget of that call is spent. Creating its object can
// also fail while it is still registering its class; each such attempt makes the
// system start the mail client's program again, so those are repeated only a few
// times, after growing pauses. The last failure is raised unchanged. The retrying
// happens in the caller's own call path, so it does not depend on the system
// consulting a message filter.
#include <cstdint>

#include "twinsweep/platform/automation.h"

namespace twinsweep {

namespace mMain {

// How long one creation or call may keep being retried.
constexpr uint32_t kAutomationRetryBudgetMs = 30000;
// The pause between two attempts.
constexpr uint32_t kAutomationRetryPauseMs = 100;

// The pauses before the repeats of a creation whose activation failed: one
// creation starts the program at most once more than there are pauses.
constexpr uint32_t kActivationRetryPausesMs[] = {1000, 2000, 4000};

// What a failure means for a repeat: busy rejections are waited out within the
// budget, activation failures (of a creation only) repeated after the pauses
// above, anything else raised at once.
enum class RetryClass { kNone, kBusy, kActivation };
RetryClass RetryClassOf(int32_t nNumber, bool bCreation);
bool IsBusyRejection(int32_t nNumber);

class RetryingAutomation : public platform::IAutomation {
 public:
  explicit RetryingAutomation(platform::IAutomation& inner, uint32_t nBudgetMs = kAutomationRetryBudgetMs)
      : inner_(inner), nBudgetMs_(nBudgetMs) {}
  platform::AutomationObject CreateObject(std::u16string_view sProgID) override;

 private:
  platform::IAutomation& inner_;
  uint32_t nBudgetMs_;
};

}  // namespace mMain

}  // namespace twinsweep
