#pragma once
// What the program knows of itself: its folder, its command line, how its start
// went, and what the system's text shaping can do.
#include <string>

#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

class IApp {
 public:
  virtual ~IApp() = default;
  // The folder of the program's executable, without a trailing "\".
  virtual std::u16string AppFolder() = 0;
  // The raw command line minus the program's name: the whole rest, one string.
  virtual std::u16string CommandLineArgs() = 0;
  // False when the program's start could not restrict the DLL search to the
  // system folder (a Windows without SetDefaultDllDirectories) and fell back to
  // leaving out the current folder only.
  virtual bool DllSearchRestricted() = 0;
  // True when the system's text shaping knows the directional isolates (FSI, LRI,
  // RLI, PDI: Windows 10 and later); older systems draw them as nothing at best.
  virtual bool ShapingKnowsIsolates() = 0;
};

template <>
IApp& Default<IApp>();
inline IApp& App() { return Get<IApp>(); }

}  // namespace platform

}  // namespace twinsweep
