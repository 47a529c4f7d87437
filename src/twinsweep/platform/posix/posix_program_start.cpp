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
  return StaticInstance<PosixProgramStart>();
}

}  // namespace platform

}  // namespace twinsweep
