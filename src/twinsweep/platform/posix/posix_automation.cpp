// The native build's automation: there are no automation servers, so creating
// an object fails as it does for a class nobody registered.
#include "twinsweep/base/failure.h"
#include "twinsweep/platform/automation.h"

namespace twinsweep {

namespace platform {
namespace {

class NoAutomation : public IAutomation {
 public:
  AutomationObject CreateObject(std::u16string_view sProgID) override {
    // REGDB_E_CLASSNOTREG, as for a class nobody registered.
    base::Raise(static_cast<int32_t>(0x80040154u),
                u"Class not registered: no automation server for \"" + std::u16string(sProgID) + u"\".");
  }
};

}  // namespace

template <>
IAutomation& Default<IAutomation>() {
  return StaticInstance<NoAutomation>();
}

}  // namespace platform

}  // namespace twinsweep
