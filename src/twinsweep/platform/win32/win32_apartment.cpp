// Windows implementation of the COM apartment: the single-threaded one that the
// automation objects are created in, joined and left on the thread that uses it.
#include "twinsweep/platform/win32/win32_windows.h"
#include <objbase.h>

#include "twinsweep/platform/apartment.h"

namespace twinsweep {

namespace platform {
namespace {

class Win32Apartment : public IApartment {
 public:
  // S_FALSE (already joined) counts as a join too: it must be balanced as well.
  // DISABLE_OLE1DDE: no hidden DDE window, as the shell asks of its callers.
  bool Enter() override {
    return SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  }
  void Leave() override { ::CoUninitialize(); }
};

}  // namespace

template <>
IApartment& Default<IApartment>() {
  return StaticInstance<Win32Apartment>();
}

}  // namespace platform

}  // namespace twinsweep
