#include "support/launcher_session.h"

#include "support/standin_outlook.h"
#include "support/win32_handle.h"

namespace e2e {

std::optional<PublishedLauncher> ReadPublishedLauncher() {
  const OwnedHandle map(OpenFileMappingW(FILE_MAP_READ, FALSE, L"Local\\Orvex.TwinsweepLauncher.State"));
  if (!map.IsValid()) return std::nullopt;
  const void* pView = MapViewOfFile(map.Get(), FILE_MAP_READ, 0, 0, sizeof(uint64_t));
  if (!pView) return std::nullopt;
  const uint64_t n = *static_cast<const volatile uint64_t*>(pView);
  UnmapViewOfFile(pView);
  return PublishedLauncher{static_cast<DWORD>(n >> 32), static_cast<int>(n & 0xFF)};
}

bool WaitForPhase(DWORD nProcessId, int nPhase, DWORD nTimeoutMs) {
  for (const ULONGLONG nEnd = GetTickCount64() + nTimeoutMs;; Sleep(20)) {
    const auto state = ReadPublishedLauncher();
    if (state && state->nProcessId == nProcessId && state->nPhase == nPhase) return true;
    if (GetTickCount64() >= nEnd) return false;
  }
}

HWND FindSessionWindow(DWORD nProcessId, DWORD nTimeoutMs) {
  for (const ULONGLONG nEnd = GetTickCount64() + nTimeoutMs;; Sleep(20)) {
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, L"TwinsweepLauncher.Session", nullptr)) != nullptr;) {
      DWORD nOwner = 0;
      GetWindowThreadProcessId(h, &nOwner);
      if (nOwner == nProcessId) return h;
    }
    if (GetTickCount64() >= nEnd) return nullptr;
  }
}

std::optional<double> PingMs(HWND hWnd) {
  const double nStart = PerformanceNowMs();
  DWORD_PTR nResult = 0;
  if (!SendMessageTimeoutW(hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &nResult)) return std::nullopt;
  return PerformanceNowMs() - nStart;
}

void SendLogoff(HWND hWnd) {
  DWORD_PTR nResult = 0;
  SendMessageTimeoutW(hWnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 1000, &nResult);
  // The launcher ends inside this message: no reply comes.
  SendMessageTimeoutW(hWnd, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 1000, &nResult);
}

}  // namespace e2e
