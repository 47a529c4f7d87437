#pragma once
// The one way a thread of the Windows build waits: dispatching the window
// messages sent or posted to it meanwhile, so that a program that sends a
// message to the thread's windows (a broadcast, the end of the session, a probe
// with SendMessageTimeout) gets its answer within the wait.
#include "twinsweep/platform/win32/win32_windows.h"

namespace twinsweep {

namespace platform::win32 {

// Waits until hObject is signalled (true) or nMilliseconds have passed (false);
// a null hObject waits for the time only.
bool WaitDispatching(HANDLE hObject, DWORD nMilliseconds);

// True once a worker thread was let go of before it had ended: the process then
// ends with ExitProcess rather than through the C runtime's shutdown.
bool WorkerLeftBehind();

}  // namespace platform::win32

}  // namespace twinsweep
