// The process entry of TwinsweepLauncher.exe: a GUI program without a window of
// its own, whose whole life is mMain::Main.
#include "twinsweep/platform/win32/win32_strings.h"

#include "twinsweep/launcher/main.h"
#include "twinsweep/platform/win32/win32_dll_search.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before anything can load a library.
  twinsweep::platform::win32::RestrictDllSearch();
  twinsweep::mMain::Main();
  return 0;
}
