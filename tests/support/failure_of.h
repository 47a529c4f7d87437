#pragma once
// The number of the failure a call raises, for tables of expected failures.
#include <cstdint>

#include "twinsweep/base/failure.h"

using namespace twinsweep;

namespace testing_support {

// The number of the base::Failure f raises, 0 when it raises none.
template <class F>
int32_t FailureOf(F&& f) {
  try {
    f();
  } catch (const base::Failure& e) {
    return e.Number();
  }
  return 0;
}

}  // namespace testing_support
