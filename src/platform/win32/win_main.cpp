// The process entry of TwinsweepLauncher.exe: a GUI program without a window of
// its own, whose whole life is mMain::Main.
#include "platform/win32/win32_strings.h"

#include "launcher/main.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  mMain::Main();
  return 0;
}
