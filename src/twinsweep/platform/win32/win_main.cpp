// The process entry of TwinsweepLauncher.exe: a GUI program whose only window is
// the hidden one that hears of the end of the session, and whose whole life is
// mMain::Main.
#include "twinsweep/platform/win32/win32_strings.h"

#include "twinsweep/launcher/main.h"
#include "twinsweep/platform/win32/win32_dll_search.h"
#include "twinsweep/platform/win32/win32_message_wait.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before anything can load a library.
  twinsweep::platform::win32::RestrictDllSearch();
  const int nExitCode = twinsweep::mMain::Main();
  // A worker left inside a call into Outlook may hold ole32's locks: the C
  // runtime's shutdown (static destructors, its own DLL detach) must not run
  // beside it. ExitProcess ends that thread first.
  if (twinsweep::platform::win32::WorkerLeftBehind()) ::ExitProcess(static_cast<UINT>(nExitCode));
  return nExitCode;
}
