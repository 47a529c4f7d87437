// The native build has no desktop shell and no integrity levels: the rights are
// unknown, which never counts as running above the desktop.
#include "twinsweep/platform/desktop_rights.h"

namespace twinsweep {

namespace platform {
namespace {

class NoDesktopRights : public IDesktopRights {
 public:
  uint32_t OwnIntegrity() override { return 0; }
  uint32_t ShellIntegrity() override { return 0; }
  int32_t StartAgainThroughDesktopShell(std::u16string_view) override { return 1; }  // S_FALSE: no desktop
};

}  // namespace

template <>
IDesktopRights& Default<IDesktopRights>() {
  return StaticInstance<NoDesktopRights>();
}

}  // namespace platform

}  // namespace twinsweep
