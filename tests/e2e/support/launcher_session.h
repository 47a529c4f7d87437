#pragma once
// What a running launcher shows to the other programs of the session: the state
// it publishes beside its launch mutex, and its hidden session window, which
// answers sent messages whenever its thread dispatches them.
#include <windows.h>

#include <cstdint>
#include <optional>

namespace e2e {

// The published state: phase in the low 8 bits, process id in the high 32.
struct PublishedLauncher {
  DWORD nProcessId = 0;
  int nPhase = 0;
};
constexpr int kPhaseWaitingForOutlook = 2;
constexpr int kPhaseWaitingForAddin = 3;
std::optional<PublishedLauncher> ReadPublishedLauncher();
// Polls until the launcher nProcessId publishes nPhase; false when the time is up.
bool WaitForPhase(DWORD nProcessId, int nPhase, DWORD nTimeoutMs);

// The session window of the launcher nProcessId, polled for up to nTimeoutMs.
HWND FindSessionWindow(DWORD nProcessId, DWORD nTimeoutMs = 5000);
// Sends WM_NULL with SendMessageTimeout(SMTO_ABORTIFHUNG, 1000): the time the
// reply took, nullopt when none came.
std::optional<double> PingMs(HWND hWnd);
// Tells the window of a logoff as the system does: WM_QUERYENDSESSION, then
// WM_ENDSESSION(TRUE, ENDSESSION_LOGOFF). Returns when the second was sent.
void SendLogoff(HWND hWnd);

}  // namespace e2e
