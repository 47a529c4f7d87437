#pragma once
// The loop of the fault-injection tests: an operation runs with call 1 of a
// service failing, then with call 2 failing, ... until a run in which no call
// failed. After every run no handle may be open and no failure pending; the
// caller's check says whether the run ended in the whole result or in a
// reported failure.
#include <gtest/gtest.h>

#include <cstdint>

#include "twinsweep/base/failure.h"
#include "support/log_capture.h"

using namespace twinsweep;

namespace fault_testing {

// How the failing call fails: the status, and whether every later call fails too.
struct FaultMode {
  int32_t nStatus;
  bool bPersistent;
  const char* pszName;
};
inline const FaultMode kFaultModes[] = {{5, false, "once"}, {30, false, "once (read fault)"}, {5, true, "from then on"}};

// The error log holds at least one error report.
inline bool ErrorReported(const testing_support::LogCapture& log) { return !log.Errors().empty(); }

// Runs run() with call n of oDouble failing as mode says, for n = 1, 2, ... until
// no fault fired; answers the number of calls of the fault-free run and leaves
// the double without faults.
template <class Double, class Run>
int64_t ForEachFailingCall(Double& oDouble, const FaultMode& mode, Run run) {
  for (int64_t n = 1; n <= 100000; ++n) {
    SCOPED_TRACE(testing::Message() << "call " << n << " fails " << mode.pszName << " with " << mode.nStatus);
    oDouble.Reset();
    oDouble.FailCall(n, mode.nStatus, mode.bPersistent);
    run();
    EXPECT_EQ(oDouble.OpenHandles(), 0u) << "a handle was left open";
    EXPECT_FALSE(base::HasPending()) << "a failure was left pending";
    if (!oDouble.Fired()) {
      oDouble.Reset();
      return n - 1;
    }
    if (::testing::Test::HasFatalFailure()) return n;
  }
  ADD_FAILURE() << "the operation never ran without a fault";
  return 0;
}

}  // namespace fault_testing
