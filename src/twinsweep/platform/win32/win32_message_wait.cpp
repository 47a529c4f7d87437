#include "twinsweep/platform/win32/win32_message_wait.h"

#include <atomic>

namespace twinsweep {

namespace platform::win32 {
namespace {

std::atomic<bool> bCloseRequested{false};

}  // namespace

void RequestClose() { bCloseRequested = true; }
bool CloseRequested() { return bCloseRequested; }

bool WaitDispatching(HANDLE hObject, DWORD nMilliseconds) {
  const ULONGLONG nEnd = ::GetTickCount64() + nMilliseconds;
  const DWORD nHandles = hObject ? 1 : 0;
  const auto signalled = [hObject] { return hObject && ::WaitForSingleObject(hObject, 0) == WAIT_OBJECT_0; };
  for (;;) {
    // A close ends every wait at once; the queue is left to the enclosing loop.
    if (bCloseRequested) return signalled();
    MSG msg;
    // At most a round's worth of messages before the clock is read again: a
    // handler that posts its own message anew must not hold the wait for ever.
    for (int n = 0; n < kMessagesPerRound && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
      if (msg.message == WM_QUIT) {
        // Taken off the queue, it is posted again for whatever loop encloses this one.
        RequestClose();
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return signalled();
      }
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (signalled()) return true;
    const ULONGLONG nNow = ::GetTickCount64();
    if (nNow >= nEnd) return false;
    const DWORD nLeft = static_cast<DWORD>(nEnd - nNow);
    // MWMO_INPUTAVAILABLE: messages that arrived before the wait wake it too.
    const DWORD nResult =
        ::MsgWaitForMultipleObjectsEx(nHandles, hObject ? &hObject : nullptr, nLeft, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (nResult == WAIT_OBJECT_0 && hObject) return true;
    // A wait that cannot be made at all still lasts its time, without messages.
    if (nResult == WAIT_FAILED) {
      if (hObject) return ::WaitForSingleObject(hObject, nLeft) == WAIT_OBJECT_0;
      ::Sleep(nLeft);
      return false;
    }
  }
}

}  // namespace platform::win32

}  // namespace twinsweep
