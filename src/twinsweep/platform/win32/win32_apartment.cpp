// Windows implementation of the COM apartment: the single-threaded one that the
// automation objects are created in (win32_automation.cpp joins it as well, so an
// early join here and its own are one).
#include "twinsweep/platform/win32/win32_windows.h"
#include <objbase.h>

#include "twinsweep/platform/apartment.h"

namespace twinsweep {

namespace platform {
namespace {

class Win32Apartment : public IApartment {
 public:
  bool Enter() override {
    static const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // RPC_E_CHANGED_MODE: the thread already has an apartment, which serves as well.
    return SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
  }
};

}  // namespace

template <>
IApartment& Default<IApartment>() {
  static Win32Apartment apartment;
  return apartment;
}

}  // namespace platform

}  // namespace twinsweep
