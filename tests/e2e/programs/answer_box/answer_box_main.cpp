// answer_box.exe CAPTION BUTTON TEXTFILE [TIMEOUT_MS]
// Waits for a message box with the caption CAPTION, writes its text (UTF-8) to
// TEXTFILE, waits until TEXTFILE.go exists (so that a script can take a picture of
// the box first; at most 10 s), then presses BUTTON ("yes", "no" or "ok"). Exit code
// 0 when the box was answered, 1 when none appeared, 2 on bad arguments. Used by
// scripts/run for the demonstration.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "support/message_box.h"
#include "support/utf8_text.h"
#include "support/win32_handle.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 4) return 2;
  const std::wstring sCaption = argv[1], sButton = argv[2], sTextFile = argv[3];
  const DWORD nTimeoutMs = argc > 4 ? static_cast<DWORD>(_wtoi(argv[4])) : 60000;
  const int nButton = sButton == L"yes" ? IDYES : sButton == L"no" ? IDNO : IDOK;

  auto box = e2e::WaitForMessageBox({0, sCaption}, nTimeoutMs);
  if (!box) return 1;
  const std::string sText = e2e::ToUtf8(box->sText);
  {
    // Closed before the wait below, during which the script reads the file.
    const e2e::OwnedFile file(
        CreateFileW(sTextFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD n = 0;
    if (file.IsValid()) WriteFile(file.Get(), sText.data(), static_cast<DWORD>(sText.size()), &n, nullptr);
  }
  const std::wstring sGo = sTextFile + L".go";
  for (int i = 0; i < 200 && GetFileAttributesW(sGo.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
  return e2e::PressButton(*box, nButton) ? 0 : 1;
}
