// Windows implementation of what the launcher's start handed it.
#include "twinsweep/platform/win32/win32_strings.h"

#include "twinsweep/platform/program_start.h"
#include "twinsweep/platform/win32/win32_dll_search.h"

namespace twinsweep {

namespace platform {
namespace {

class Win32ProgramStart : public IProgramStart {
 public:
  // The command line minus the program's name, split as the system's start-up
  // code splits it: a quoted name runs to its closing quote, an unquoted one to
  // the first blank; the blanks after the name are not part of the arguments.
  std::u16string CommandLineArgs() override {
    const wchar_t* p = GetCommandLineW();
    if (*p == L'"') {
      ++p;
      while (*p && *p != L'"') ++p;
      if (*p == L'"') ++p;
    } else {
      while (*p && *p != L' ' && *p != L'\t') ++p;
    }
    while (*p == L' ' || *p == L'\t') ++p;
    return win32::FromWide(p, wcslen(p));
  }

  bool DllSearchRestricted() override { return win32::DllSearchRestricted(); }
};

}  // namespace

template <>
IProgramStart& Default<IProgramStart>() {
  return StaticInstance<Win32ProgramStart>();
}

}  // namespace platform

}  // namespace twinsweep
