// lngcheck --fit: finding the forms program, beside lngcheck or in the build
// tree's examples folder. Running it is the system's side (fit_run_win32.cpp on
// Windows, fit_run_posix.cpp elsewhere, under Wine), chosen by the build.
#include <string>

#include "twinsweep/platform/app.h"
#include "twinsweep/platform/file_utils.h"
#include "fit.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

constexpr char16_t kProgramName[] = u"options_dialog.exe";

}  // namespace

std::u16string DefaultFormsProgram() {
  const std::u16string sFolder = platform::App().AppFolder();
  for (const std::u16string& s : {sFolder + u"/" + kProgramName, sFolder + u"/../../examples/" + kProgramName})
    if (mFileUtils::FileExists(s)) return s;
  return u"";
}

}  // namespace lngcheck
