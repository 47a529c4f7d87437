#pragma once
// The calls of user32 that the fit check makes for a window's scale and for its
// drawing context, in one table that a test may replace.
//
// A per-monitor-aware program's window is scaled for its own monitor, which the
// system's DPI, non-client metrics and system metrics do not tell. Windows 10
// 1607 answers them per window (GetDpiForWindow, SystemParametersInfoForDpi,
// GetSystemMetricsForDpi). They are looked up at run time, since Windows 7 has
// none of them and a program that imported them would not start there; a null
// entry means the system's answer serves.
#include "twinsweep/platform/win32/win32_windows.h"

namespace twinsweep {

namespace platform::win32 {

struct FitCalls {
  UINT(WINAPI* pGetDpiForWindow)(HWND) = nullptr;
  BOOL(WINAPI* pSystemParametersInfoForDpi)(UINT, UINT, PVOID, UINT, UINT) = nullptr;
  int(WINAPI* pGetSystemMetricsForDpi)(int, UINT) = nullptr;
  HDC(WINAPI* pGetDC)(HWND) = nullptr;
};

// The calls in use: user32's, or those of the innermost ScopedFitCalls.
const FitCalls& CurrentFitCalls();

// user32's calls, looked up once.
const FitCalls& SystemFitCalls();

// Puts other calls in place for its scope (tests); not for use across threads.
class ScopedFitCalls {
 public:
  explicit ScopedFitCalls(const FitCalls& calls);
  ~ScopedFitCalls();
  ScopedFitCalls(const ScopedFitCalls&) = delete;
  ScopedFitCalls& operator=(const ScopedFitCalls&) = delete;

 private:
  const FitCalls* pPrevious_;
  FitCalls calls_;
};

}  // namespace platform::win32

}  // namespace twinsweep
