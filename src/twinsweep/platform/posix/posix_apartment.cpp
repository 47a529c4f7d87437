// The native build has no COM: there is no apartment to join, and nothing to fail.
#include "twinsweep/platform/apartment.h"

namespace twinsweep {

namespace platform {
namespace {

class NoApartment : public IApartment {
 public:
  bool Enter() override { return false; }
  void Leave() override {}
};

}  // namespace

template <>
IApartment& Default<IApartment>() {
  return StaticInstance<NoApartment>();
}

}  // namespace platform

}  // namespace twinsweep
