#pragma once
// The calling thread's COM apartment, joined only by a thread that makes
// automation calls or calls the shell itself, and left by it when it is done:
// every join is balanced on its own thread.
#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

class IApartment {
 public:
  virtual ~IApartment() = default;
  // CoInitializeEx(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE) on the
  // calling thread. True when the join counts and must be balanced with Leave on
  // the same thread; false when the thread could not join (automation then
  // reports the failure when it is used).
  virtual bool Enter() = 0;
  // CoUninitialize: balances one Enter that answered true.
  virtual void Leave() = 0;
};

template <>
IApartment& Default<IApartment>();
inline IApartment& Apartment() { return Get<IApartment>(); }

// One balanced join for the life of the object, on the thread that makes it,
// left through the apartment service it entered even if another is current by then.
class ScopedApartment {
 public:
  ScopedApartment() : apartment_(Apartment()), bJoined_(apartment_.Enter()) {}
  ~ScopedApartment() {
    if (bJoined_) apartment_.Leave();
  }
  ScopedApartment(const ScopedApartment&) = delete;
  ScopedApartment& operator=(const ScopedApartment&) = delete;

 private:
  IApartment& apartment_;
  bool bJoined_;
};

}  // namespace platform

}  // namespace twinsweep
