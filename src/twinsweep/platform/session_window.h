#pragma once
// The program's hidden top-level window, which the system tells of the end of
// the user's session (logoff, shutdown, restart) as it tells every top-level
// window, and to which a polite close (taskkill without /F, an administration
// tool) sends WM_CLOSE. Its messages are dispatched by whatever the thread is
// waiting in: a pause, the wait for a worker thread, a message box.
#include <functional>

#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

// Why the process is being ended from outside.
enum class SessionEnd {
  kSession,  // the user's session ends: logoff, shutdown, restart
  kCloseApp  // ENDSESSION_CLOSEAPP: the Restart Manager closes the program (an installer updates it)
};

class ISessionWindow {
 public:
  virtual ~ISessionWindow() = default;
  // Makes the window on the calling thread, for the rest of the process's life.
  // When the session ends or the Restart Manager closes the program
  // (WM_ENDSESSION after the system's question, which is answered yes),
  // onSessionEnd runs on this thread and the process then ends at once
  // (ExitProcess): every wait ends with it, no box is shown and nothing further
  // is done. Whatever onSessionEnd raises is dropped. False when no window could
  // be made.
  virtual bool Open(std::function<void(SessionEnd)> onSessionEnd) = 0;
  // True once the program was asked to close politely (WM_CLOSE to the window,
  // or WM_QUIT taken by a wait of this thread); every wait then ends at once.
  virtual bool CloseRequested() = 0;
};

// The window's class name, by which a program of the session finds it.
constexpr char16_t kSessionWindowClass[] = u"TwinsweepLauncher.Session";

template <>
ISessionWindow& Default<ISessionWindow>();
inline ISessionWindow& SessionWindow() { return Get<ISessionWindow>(); }

}  // namespace platform

}  // namespace twinsweep
