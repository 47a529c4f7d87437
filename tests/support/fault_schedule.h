#pragma once
// FaultSchedule: when the calls of a fault-injecting double fail. Each call the
// double makes counts (1, 2, ...); FailCall(n, status) makes call n fail with
// status, and with bPersistent every later call too. The doubles of the files,
// registry and processes services share it.
#include <cstdint>

namespace testing_support {

class FaultSchedule {
 public:
  void FailCall(int64_t nCall, int32_t nStatus, bool bPersistent = false) {
    nFailAt_ = nCall;
    nStatus_ = nStatus;
    bPersistent_ = bPersistent;
  }
  int64_t Calls() const { return nCalls_; }
  // True when a call has failed since the last reset.
  bool Fired() const { return bFired_; }

 protected:
  // Forgets the faults and the count of calls.
  void ResetSchedule() {
    nCalls_ = 0;
    nFailAt_ = 0;
    bPersistent_ = false;
    bFired_ = false;
  }
  // Counts one call; true when it is to fail.
  bool Fault() {
    ++nCalls_;
    const bool bFail = nFailAt_ > 0 && (nCalls_ == nFailAt_ || (bPersistent_ && nCalls_ > nFailAt_));
    bFired_ = bFired_ || bFail;
    return bFail;
  }
  int32_t FaultStatus() const { return nStatus_; }

 private:
  int64_t nCalls_ = 0;
  int64_t nFailAt_ = 0;
  int32_t nStatus_ = 5;
  bool bPersistent_ = false;
  bool bFired_ = false;
};

}  // namespace testing_support
