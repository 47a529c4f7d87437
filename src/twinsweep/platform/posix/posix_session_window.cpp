// The native build has no session that ends under it: no window is made, and
// the program is never told to end nor asked to close.
#include "twinsweep/platform/session_window.h"

namespace twinsweep {

namespace platform {
namespace {

class NoSessionWindow : public ISessionWindow {
 public:
  bool Open(std::function<void(SessionEnd)>) override { return true; }
  bool CloseRequested() override { return false; }
};

}  // namespace

template <>
ISessionWindow& Default<ISessionWindow>() {
  return StaticInstance<NoSessionWindow>();
}

}  // namespace platform

}  // namespace twinsweep
