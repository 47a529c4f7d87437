// The process entry of TwinsweepLauncher.exe: a GUI program without a window of
// its own, whose whole life is mMain::Main.
#include "platform/win32/win32_strings.h"

#include "launcher/main.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before anything can load a library: DLLs come from the system folder only,
  // never from the program's folder (a download folder, say) or the current one.
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  mMain::Main();
  return 0;
}
