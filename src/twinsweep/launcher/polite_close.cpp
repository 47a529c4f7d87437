#include "twinsweep/launcher/polite_close.h"

#include "twinsweep/platform/session_window.h"

namespace twinsweep {

namespace mMain {

void EndIfAskedToClose() {
  if (platform::SessionWindow().CloseRequested()) throw ClosedPolitely{};
}

}  // namespace mMain

}  // namespace twinsweep
