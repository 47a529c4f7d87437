// Windows implementation of the expansion of environment variables.
#include "twinsweep/platform/win32/win32_strings.h"

#include <string>

#include "twinsweep/platform/environment.h"

namespace twinsweep {

namespace platform {
namespace {

class Win32Environment : public IEnvironment {
 public:
  std::u16string ExpandEnvironment(std::u16string_view sText) override {
    const auto text = win32::Wide(sText);
    if (!text) return std::u16string(sText);
    // The size asked for includes the NUL; a variable that grew in between asks again.
    std::wstring buffer(text->size() + 1, L'\0');
    for (int nTry = 0; nTry < 3; ++nTry) {
      const DWORD n = ::ExpandEnvironmentStringsW(text->c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
      if (n == 0) break;
      if (n <= buffer.size()) return win32::FromWide(buffer.data(), n - 1);
      buffer.assign(n, L'\0');
    }
    return std::u16string(sText);
  }
};

}  // namespace

template <>
IEnvironment& Default<IEnvironment>() {
  return StaticInstance<Win32Environment>();
}

}  // namespace platform

}  // namespace twinsweep
