#include "twinsweep/platform/win32/win32_message_wait.h"

namespace twinsweep {

namespace platform::win32 {

bool WaitDispatching(HANDLE hObject, DWORD nMilliseconds) {
  const ULONGLONG nEnd = ::GetTickCount64() + nMilliseconds;
  const DWORD nHandles = hObject ? 1 : 0;
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (hObject && ::WaitForSingleObject(hObject, 0) == WAIT_OBJECT_0) return true;
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
