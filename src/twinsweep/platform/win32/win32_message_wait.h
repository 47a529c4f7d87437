#pragma once
// The one way a thread of the Windows build waits: dispatching the window
// messages sent or posted to it meanwhile, so that a program that sends a
// message to the thread's windows (a broadcast, the end of the session, a probe
// with SendMessageTimeout) gets its answer within the wait.
#include "twinsweep/platform/win32/win32_windows.h"

namespace twinsweep {

namespace platform::win32 {

// How many messages a wait dispatches before it looks at its object and clock again.
constexpr int kMessagesPerRound = 64;

// Waits until hObject is signalled (true) or nMilliseconds have passed (false);
// a null hObject waits for the time only. A WM_QUIT taken from the queue is a
// request to close: it ends the wait, and is posted again for any enclosing loop.
// Once a close is requested, every wait only looks at its object and returns.
bool WaitDispatching(HANDLE hObject, DWORD nMilliseconds);

// The program was asked to close politely: WM_CLOSE to its session window, or a
// WM_QUIT taken by a wait. Never taken back for the life of the process.
void RequestClose();
bool CloseRequested();

// True once a worker thread was let go of before it had ended: the process then
// ends with ExitProcess rather than through the C runtime's shutdown.
bool WorkerLeftBehind();

}  // namespace platform::win32

}  // namespace twinsweep
