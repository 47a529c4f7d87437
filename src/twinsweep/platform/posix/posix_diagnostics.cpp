// The native build's diagnostics: the time is real, the local application
// data folder is $LOCALAPPDATA when set, and there is no debugger channel (the
// debug output goes nowhere).
#include <sys/time.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "twinsweep/base/text.h"
#include "twinsweep/platform/diagnostics.h"

namespace twinsweep {

namespace platform {
namespace {

class PosixDiagnostics : public IDiagnostics {
 public:
  void DebugOutput(std::u16string_view) override {}

  SystemTime LocalTime() override {
    timeval tv{};
    gettimeofday(&tv, nullptr);
    tm t{};
    localtime_r(&tv.tv_sec, &t);
    return {t.tm_year + 1900,
            t.tm_mon + 1,
            t.tm_mday,
            t.tm_hour,
            t.tm_min,
            t.tm_sec,
            static_cast<int32_t>(tv.tv_usec / 1000)};
  }

  std::u16string LocalAppDataFolder() override {
    const char* p = std::getenv("LOCALAPPDATA");
    return p ? base::FromUtf8(p) : u"";
  }

  std::u16string ErrorText(uint32_t nError) override { return base::FromUtf8(std::strerror(static_cast<int>(nError))); }
};

}  // namespace

template <>
IDiagnostics& Default<IDiagnostics>() {
  return StaticInstance<PosixDiagnostics>();
}

}  // namespace platform

}  // namespace twinsweep
