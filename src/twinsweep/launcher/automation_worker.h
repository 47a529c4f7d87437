#pragma once
// The wizard call's automation, made from a worker thread in an apartment of its
// own and watched from the caller's thread, so that a mail client that never
// answers a call cannot keep the launcher waiting.
//
// Every creation and call that the job makes through the automation it is given
// is timed, and so is the whole job, from the worker's start to its end (the
// final releases of Outlook's objects and the leaving of the apartment
// included). When a call has not returned after the call limit, or the worker
// has not ended after the job limit, the caller stops waiting: the worker is
// left behind (it makes no further call should the hung one ever return) and
// RPC_E_CALL_CANCELED is raised in the caller's thread. A failure the job raises
// reaches the caller unchanged once the worker has ended. While it waits, the
// caller's thread dispatches its messages (worker_threads.h).
#include <cstdint>
#include <functional>

#include "twinsweep/platform/automation.h"

namespace twinsweep {

namespace mMain {

// How long one automation call may take before it is given up. Busy rejections
// that are retried are separate calls, each with its own limit.
constexpr uint32_t kAutomationCallLimitMs = 60000;
// How long the whole job may take, from the worker's start to its end.
constexpr uint32_t kAutomationJobLimitMs = 90000;
// How the description of the whole job's give-up begins; its hint differs from a call's.
constexpr char16_t kJobGivenUpText[] = u"Outlook did not let the wizard call end within ";
// How often the caller looks at the call in progress.
constexpr uint32_t kCallWatchPollMs = 100;

void RunWithCallLimit(const std::function<void(platform::IAutomation&)>& job,
                      uint32_t nLimitMs = kAutomationCallLimitMs, uint32_t nJobLimitMs = kAutomationJobLimitMs);

}  // namespace mMain

}  // namespace twinsweep
