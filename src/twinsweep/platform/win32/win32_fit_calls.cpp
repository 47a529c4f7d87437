#include "twinsweep/platform/win32/win32_fit_calls.h"

namespace twinsweep {

namespace platform::win32 {
namespace {

const FitCalls* pCurrent = nullptr;

// Through a pointer to a function without arguments, the one cast between
// function pointer types that the compiler takes as deliberate.
template <typename Function>
void LookUp(HMODULE hModule, const char* szName, Function* p) {
  const FARPROC pFound = hModule ? ::GetProcAddress(hModule, szName) : nullptr;
  *p = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(pFound));
}

}  // namespace

const FitCalls& SystemFitCalls() {
  static const FitCalls calls = [] {
    FitCalls c;
    // user32 is in every process that has windows: no load, no reference to drop.
    const HMODULE hUser32 = ::GetModuleHandleW(L"user32.dll");
    LookUp(hUser32, "GetDpiForWindow", &c.pGetDpiForWindow);
    LookUp(hUser32, "SystemParametersInfoForDpi", &c.pSystemParametersInfoForDpi);
    LookUp(hUser32, "GetSystemMetricsForDpi", &c.pGetSystemMetricsForDpi);
    c.pGetDC = ::GetDC;
    return c;
  }();
  return calls;
}

const FitCalls& CurrentFitCalls() { return pCurrent ? *pCurrent : SystemFitCalls(); }

ScopedFitCalls::ScopedFitCalls(const FitCalls& calls) : pPrevious_(pCurrent), calls_(calls) { pCurrent = &calls_; }

ScopedFitCalls::~ScopedFitCalls() { pCurrent = pPrevious_; }

}  // namespace platform::win32

}  // namespace twinsweep
