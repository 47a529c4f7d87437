#pragma once
// What the launcher's start handed it: the command line, and how far the start
// could restrict where DLLs are loaded from.
#include <string>

#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

class IProgramStart {
 public:
  virtual ~IProgramStart() = default;
  // The raw command line minus the program's name: the whole rest, one string.
  virtual std::u16string CommandLineArgs() = 0;
  // False when the program's start could not restrict the DLL search to the
  // system folder (a Windows without SetDefaultDllDirectories) and fell back to
  // leaving out the current folder only.
  virtual bool DllSearchRestricted() = 0;
};

template <>
IProgramStart& Default<IProgramStart>();
inline IProgramStart& ProgramStart() { return Get<IProgramStart>(); }

}  // namespace platform

}  // namespace twinsweep
