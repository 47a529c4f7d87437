// The native build's shell and message boxes: it has none, so they refuse
// quietly (the launcher itself exists only for Windows; tests put doubles in
// their place).
#include "twinsweep/platform/desktop.h"

namespace twinsweep {

namespace platform {
namespace {

class NoShell : public IShell {
 public:
  uint32_t Open(std::u16string_view) override { return 0; }
};

class NoDialogs : public IDialogs {
 public:
  int32_t ShowMessageBox(std::u16string_view, std::u16string_view, uint32_t) override { return kIdCancel; }
  bool BringOtherInstanceBoxToFront() override { return false; }
};

}  // namespace

template <>
IShell& Default<IShell>() {
  return StaticInstance<NoShell>();
}
template <>
IDialogs& Default<IDialogs>() {
  return StaticInstance<NoDialogs>();
}

}  // namespace platform

}  // namespace twinsweep
