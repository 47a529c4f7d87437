// The native build's registry, window framework and application. It has no
// registry or window framework of its own: they are the program's in-memory ones.
#include <unistd.h>

#include <climits>

#include "twinsweep/base/text.h"
#include "twinsweep/platform/app.h"
#include "twinsweep/platform/memory/memory_forms.h"
#include "twinsweep/platform/memory/memory_registry.h"

namespace twinsweep {

namespace platform {
namespace {

class PosixApp : public IApp {
 public:
  std::u16string AppFolder() override {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return u".";
    std::string path(buf, static_cast<size_t>(n));
    return base::FromUtf8(path.substr(0, path.find_last_of('/')));
  }
  // The shaping is not Windows': the isolates are drawn as the text's own.
  bool ShapingKnowsIsolates() override { return true; }
};

}  // namespace

template <>
IRegistry& Default<IRegistry>() {
  return StaticInstance<MemoryRegistry>();
}
template <>
IForms& Default<IForms>() {
  return StaticInstance<MemoryForms>();
}
template <>
IApp& Default<IApp>() {
  return StaticInstance<PosixApp>();
}

}  // namespace platform

}  // namespace twinsweep
