#pragma once
// The system's side of lngcheck --fit, one file a system (fit_run_win32.cpp,
// fit_run_posix.cpp): where lngcheck itself lies and whether a path exists. The
// forms program is run by RunFormsProgram (fit.h), which waits at most a minute.
#include <string>

namespace lngcheck {

// The folder of the running lngcheck.
std::u16string ProgramFolder();
// True when a file or folder is at sPath.
bool PathExists(const std::u16string& sPath);
// How long the forms program may run.
constexpr int kFormsProgramWaitMs = 60000;

}  // namespace lngcheck
