#pragma once
// RetryingAutomation: automation that waits out a server which is still starting.
//
// A mail client that is busy starting rejects calls (RPC_E_CALL_REJECTED,
// RPC_E_SERVERCALL_RETRYLATER), and creating its object can fail while it is
// still registering its class. This wrapper repeats the creation and every call
// on the objects it hands out, with short pauses, until the call succeeds, fails
// otherwise, or the time budget of that call is spent; then the last failure is
// raised unchanged. The retrying happens in the caller's own call path, so it does
// not depend on the system consulting a message filter.
#include <cstdint>

#include "platform/automation.h"

namespace mMain {

// How long one creation or call may keep being retried.
constexpr uint32_t kAutomationRetryBudgetMs = 30000;
// The pause between two attempts.
constexpr uint32_t kAutomationRetryPauseMs = 100;

// True for the failures that mean "not yet": busy rejections, and for a creation
// also the activation failures of a server that is still starting.
bool IsBusyRejection(int32_t nNumber);
bool IsTransientActivationFailure(int32_t nNumber);

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
