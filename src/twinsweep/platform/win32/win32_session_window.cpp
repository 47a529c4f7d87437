// Windows implementation of the session window: a top-level window that is never
// shown (not a message-only window, which the system does not tell of the end
// of the session). WM_QUERYENDSESSION is answered yes, since nothing the program
// holds needs saving; WM_ENDSESSION that confirms the end runs the program's
// last words and ends the process within the message, before the system ends it
// from outside. WM_CLOSE is a request to close, which the waits act on: the
// window is not destroyed, so that it still hears the end of the session.
#include "twinsweep/platform/win32/win32_message_wait.h"
#include "twinsweep/platform/win32/win32_strings.h"

#include "twinsweep/platform/session_window.h"

namespace twinsweep {

namespace platform {
namespace {

std::function<void(SessionEnd)>* pOnSessionEnd = nullptr;

LRESULT CALLBACK SessionWindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
  switch (nMessage) {
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
      if (wParam) {
        // Nothing may unwind through DispatchMessage: the process ends here either way.
        try {
          if (pOnSessionEnd && *pOnSessionEnd)
            (*pOnSessionEnd)(lParam & ENDSESSION_CLOSEAPP ? SessionEnd::kCloseApp : SessionEnd::kSession);
        } catch (...) {}
        ::ExitProcess(0);
      }
      return 0;
    case WM_CLOSE: win32::RequestClose(); return 0;
    default: return ::DefWindowProcW(hWnd, nMessage, wParam, lParam);
  }
}

class Win32SessionWindow : public ISessionWindow {
 public:
  bool Open(std::function<void(SessionEnd)> onSessionEnd) override {
    static std::function<void(SessionEnd)> onEnd;
    onEnd = std::move(onSessionEnd);
    pOnSessionEnd = &onEnd;
    if (hWnd_) return true;
    const HINSTANCE hInstance = ::GetModuleHandleW(nullptr);
    const wchar_t* szClass = reinterpret_cast<const wchar_t*>(kSessionWindowClass);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = SessionWindowProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = szClass;
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    hWnd_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, szClass, L"TwinsweepLauncher", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              hInstance, nullptr);
    return hWnd_ != nullptr;
  }

  bool CloseRequested() override { return win32::CloseRequested(); }

 private:
  HWND hWnd_ = nullptr;
};

}  // namespace

template <>
ISessionWindow& Default<ISessionWindow>() {
  return StaticInstance<Win32SessionWindow>();
}

}  // namespace platform

}  // namespace twinsweep
