// shell_open_recorder.exe RECORD-FILE TARGET
//
// Registered as the shell's "open" handler while a scenario runs: it appends the
// target it was handed, as one UTF-8 line, to RECORD-FILE and ends. It has no
// window, so nothing else of the scenario changes by its being started.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "support/utf8_text.h"

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
  HANDLE h = INVALID_HANDLE_VALUE;
  for (int nTry = 0; nTry < 200 && h == INVALID_HANDLE_VALUE; ++nTry) {
    h = CreateFileW(args[1], FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) Sleep(10);
  }
  LocalFree(args);
  if (h == INVALID_HANDLE_VALUE) return 1;
  DWORD nWritten = 0;
  BOOL bOk = WriteFile(h, sLine.data(), static_cast<DWORD>(sLine.size()), &nWritten, nullptr);
  CloseHandle(h);
  return bOk ? 0 : 1;
}
