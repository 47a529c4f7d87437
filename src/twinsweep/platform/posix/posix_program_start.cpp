// The native build's start: no command line of Windows', and nothing loaded
// from the current folder.
#include "twinsweep/platform/program_start.h"

namespace twinsweep {

namespace platform {
namespace {

class PosixProgramStart : public IProgramStart {
 public:
  std::u16string CommandLineArgs() override { return u""; }
  bool DllSearchRestricted() override { return true; }
};

}  // namespace

template <>
IProgramStart& Default<IProgramStart>() {
  static PosixProgramStart programStart;
  return programStart;
}

}  // namespace platform

}  // namespace twinsweep
