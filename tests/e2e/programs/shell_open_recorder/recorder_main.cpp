// shell_open_recorder.exe RECORD-FILE TARGET
//
// Registered as the shell's "open" handler while a scenario runs: it appends the
// target it was handed, as one UTF-8 line, to RECORD-FILE and ends. It has no
// window, so nothing else of the scenario changes by its being started.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "support/utf8_text.h"
#include "support/win32_handle.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int nArgs = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &nArgs);
  if (!args || nArgs < 2) return 2;
  // Anything after the record file is the target; more than one piece means the
  // handler's command line was split, which the test sees as a target with spaces.
  std::wstring sTarget;
  for (int i = 2; i < nArgs; ++i) sTarget += (i > 2 ? L" " : L"") + std::wstring(args[i]);
  std::string sLine = e2e::ToUtf8(sTarget) + "\n";
  // Appends are serialised by retrying while another recorder holds the file.
  e2e::OwnedFile file;
  for (int nTry = 0; nTry < 200 && !file.IsValid(); ++nTry) {
    file.Reset(
        CreateFileW(args[1], FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) Sleep(10);
  }
  LocalFree(args);
  if (!file.IsValid()) return 1;
  DWORD nWritten = 0;
  return WriteFile(file.Get(), sLine.data(), static_cast<DWORD>(sLine.size()), &nWritten, nullptr) ? 0 : 1;
}
