#pragma once
// One double in place of several services for a scope: a double that implements
// IProcesses, IClock and IEnvironment (a kernel on a virtual clock) is put in
// place of all three at once, and taken out of them in reverse order.
#include "twinsweep/platform/services.h"

namespace testing_support {

template <class... I>
class ScopedOverrides : private twinsweep::platform::ScopedOverride<I>... {
 public:
  template <class T>
  explicit ScopedOverrides(T& replacement) : twinsweep::platform::ScopedOverride<I>(replacement)... {}
};

}  // namespace testing_support
