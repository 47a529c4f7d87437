// The native build's environment: it expands no Windows "%NAME%" references, so
// a text comes back as it is.
#include "twinsweep/platform/environment.h"

namespace twinsweep {

namespace platform {
namespace {

class PosixEnvironment : public IEnvironment {
 public:
  std::u16string ExpandEnvironment(std::u16string_view sText) override { return std::u16string(sText); }
};

}  // namespace

template <>
IEnvironment& Default<IEnvironment>() {
  return StaticInstance<PosixEnvironment>();
}

}  // namespace platform

}  // namespace twinsweep
