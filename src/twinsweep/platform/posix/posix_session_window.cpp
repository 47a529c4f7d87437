// The native build has no session that ends under it: no window is made, and
// the program is never told to end.
#include "twinsweep/platform/session_window.h"

namespace twinsweep {

namespace platform {
namespace {

class NoSessionWindow : public ISessionWindow {
 public:
  bool Open(std::function<void()>) override { return true; }
};

}  // namespace

template <>
ISessionWindow& Default<ISessionWindow>() {
  static NoSessionWindow window;
  return window;
}

}  // namespace platform

}  // namespace twinsweep
