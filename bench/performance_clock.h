#pragma once
// Seconds on Windows' performance counter, for the figures measured under Wine or
// on Windows.
#include "twinsweep/platform/win32/win32_windows.h"

inline double PerformanceSeconds() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}
