#pragma once
// The program's hidden top-level window, which the system tells of the end of
// the user's session (logoff, shutdown, restart) as it tells every top-level
// window. Its messages are dispatched by whatever the thread is waiting in: a
// pause, the wait for a worker thread, a message box.
#include <functional>

#include "twinsweep/platform/services.h"

namespace twinsweep {

namespace platform {

class ISessionWindow {
 public:
  virtual ~ISessionWindow() = default;
  // Makes the window on the calling thread, for the rest of the process's life.
  // When the session ends (WM_ENDSESSION after the system's question, which is
  // answered yes), onSessionEnd runs on this thread and the process then ends at
  // once (ExitProcess): every wait ends with it, no box is shown and nothing
  // further is done. False when no window could be made.
  virtual bool Open(std::function<void()> onSessionEnd) = 0;
};

// The window's class name, by which a program of the session finds it.
constexpr char16_t kSessionWindowClass[] = u"TwinsweepLauncher.Session";

template <>
ISessionWindow& Default<ISessionWindow>();
inline ISessionWindow& SessionWindow() { return Get<ISessionWindow>(); }

}  // namespace platform

}  // namespace twinsweep
