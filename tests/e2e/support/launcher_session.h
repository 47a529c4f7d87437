#pragma once
// What a running launcher shows the session: the state it publishes beside its
// launch mutex, and its hidden session window.
#include <windows.h>

#include <optional>

namespace e2e {

// The published state: phase in the low 8 bits, process id in the high 32.
struct PublishedLauncher {
  DWORD nProcessId = 0;
  int nPhase = 0;
};
constexpr int kPhaseWaitingForOutlook = 2, kPhaseWaitingForAddin = 3;
std::optional<PublishedLauncher> ReadPublishedLauncher();
// Polls until the launcher nProcessId publishes nPhase; false when the time is up.
bool WaitForPhase(DWORD nProcessId, int nPhase, DWORD nTimeoutMs);
// The session window of the launcher nProcessId, polled for up to nTimeoutMs.
HWND FindSessionWindow(DWORD nProcessId, DWORD nTimeoutMs = 5000);
// The time WM_NULL sent with SendMessageTimeout(SMTO_ABORTIFHUNG, 1000) took to
// be answered; nullopt when it was not.
std::optional<double> PingMs(HWND hWnd);
// A logoff as the system announces it: WM_QUERYENDSESSION, then WM_ENDSESSION.
void SendLogoff(HWND hWnd);

}  // namespace e2e
