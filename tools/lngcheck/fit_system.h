#pragma once
// What both systems' runners of lngcheck --fit share (fit_run_win32.cpp,
// fit_run_posix.cpp, one of which the build takes): how long RunFormsProgram
// (fit.h) waits for the forms program.
#include <string>

namespace lngcheck {

// How long the forms program may run.
constexpr int kFormsProgramWaitMs = 60000;

}  // namespace lngcheck
