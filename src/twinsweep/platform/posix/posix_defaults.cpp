// The native build's remaining services. It has no registry, window framework,
// shell or message boxes of its own: the registry and the forms are the program's
// in-memory ones, and the shell and message boxes refuse quietly (the launcher
// itself exists only for Windows; tests put doubles in their place).
#include <unistd.h>

#include <climits>

#include "twinsweep/base/text.h"
#include "twinsweep/platform/desktop.h"
#include "twinsweep/platform/memory/memory_forms.h"
#include "twinsweep/platform/memory/memory_registry.h"

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

class PosixApp : public IApp {
 public:
  std::u16string AppFolder() override {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return u".";
    std::string path(buf, static_cast<size_t>(n));
    return base::FromUtf8(path.substr(0, path.find_last_of('/')));
  }
  std::u16string CommandLineArgs() override { return u""; }
  // Nothing is loaded from the current folder, and the shaping is not Windows'.
  bool DllSearchRestricted() override { return true; }
  bool ShapingKnowsIsolates() override { return true; }
};

}  // namespace

template <>
IRegistry& Default<IRegistry>() {
  static MemoryRegistry registry;
  return registry;
}
template <>
IForms& Default<IForms>() {
  static MemoryForms forms;
  return forms;
}
template <>
IShell& Default<IShell>() {
  static NoShell shell;
  return shell;
}
template <>
IDialogs& Default<IDialogs>() {
  static NoDialogs dialogs;
  return dialogs;
}
template <>
IApp& Default<IApp>() {
  static PosixApp app;
  return app;
}

}  // namespace platform

}  // namespace twinsweep
