#pragma once
// What the program (the launcher, or another that links the engine) knows of
// itself: its folder, and what the system's text shaping can do.
#include <string>

#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

class IApp {
 public:
  virtual ~IApp() = default;
  // The folder of the program's executable, without a trailing "\".
  virtual std::u16string AppFolder() = 0;
  // True when the system's text shaping knows the directional isolates (FSI, LRI,
  // RLI, PDI: Windows 10 and later); older systems draw them as nothing at best.
  virtual bool ShapingKnowsIsolates() = 0;
};

template <>
IApp& Default<IApp>();
inline IApp& App() { return Get<IApp>(); }

}  // namespace platform

}  // namespace twinsweep
