#pragma once
// The calling thread's COM apartment. Joining it is the costly part of the first
// automation call; a program that knows it will make such calls soon joins early,
// before it holds any object.
#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

class IApartment {
 public:
  virtual ~IApartment() = default;
  // CoInitializeEx(single-threaded), once per process; later calls answer the first
  // one's outcome. True when the thread is in an apartment afterwards (one it had
  // already counts). Never raises: automation reports the failure when it is used.
  virtual bool Enter() = 0;
};

template <>
IApartment& Default<IApartment>();
inline IApartment& Apartment() { return Get<IApartment>(); }

}  // namespace platform

}  // namespace twinsweep
