// answer_box.exe BUTTON TEXTFILE TIMEOUT_MS PROGRAM [ARGUMENT...]
// Starts PROGRAM with the arguments and answers the first message box that its
// process shows, whatever the caption (the caption is a translated text, or the raw
// key when no language file was read): writes the box's text (UTF-8) to TEXTFILE,
// waits until TEXTFILE.go exists (so that a script can take a picture of the box
// first; at most 10 s), presses BUTTON ("yes", "no" or "ok"), then waits for PROGRAM
// to end. Each wait is bounded by TIMEOUT_MS, and whatever PROGRAM started and left
// running is ended with the answerer. Used by scripts/run for the demonstration.
//
// The exit code says what happened, for the script to say it to its user:
//   0 the box was answered and the program ended
//   1 no box appeared within the time
//   2 bad arguments
//   3 the program could not be started
//   4 the program ended without showing a box
//   5 the box has no such button or did not take the click
//   6 the program did not end within the time after the answer
#include <windows.h>
#include <shellapi.h>

#include <exception>
#include <optional>
#include <string>

#include "support/message_box.h"
#include "support/process.h"
#include "support/utf8_text.h"
#include "support/win32_handle.h"

namespace {

// One argument as the program's command-line parser reads it back: quoted when it
// has a blank or a quote, backslashes doubled only before a quote.
std::wstring Quoted(const std::wstring& sArg) {
  if (!sArg.empty() && sArg.find_first_of(L" \t\"") == std::wstring::npos) return sArg;
  std::wstring s = L"\"";
  size_t nBackslashes = 0;
  for (wchar_t c : sArg) {
    if (c == L'\\') {
      ++nBackslashes;
      continue;
    }
    s.append(c == L'"' ? nBackslashes * 2 + 1 : nBackslashes, L'\\');
    nBackslashes = 0;
    s.push_back(c);
  }
  s.append(nBackslashes * 2, L'\\');
  s.push_back(L'"');
  return s;
}

void WriteText(const std::wstring& sFile, const std::string& sText) {
  const e2e::OwnedFile file(
      CreateFileW(sFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD n = 0;
  if (file.IsValid()) WriteFile(file.Get(), sText.data(), static_cast<DWORD>(sText.size()), &n, nullptr);
}

int Answer(int argc, wchar_t** argv) {
  const std::wstring sButton = argv[1], sTextFile = argv[2], sProgram = argv[4];
  const DWORD nTimeoutMs = static_cast<DWORD>(_wtoi(argv[3]));
  if (nTimeoutMs == 0 || (sButton != L"yes" && sButton != L"no" && sButton != L"ok")) return 2;
  const int nButton = sButton == L"yes" ? IDYES : sButton == L"no" ? IDNO : IDOK;
  std::wstring sArgs;
  for (int i = 5; i < argc; ++i) sArgs += (sArgs.empty() ? L"" : L" ") + Quoted(argv[i]);

  const e2e::ProcessTree program(sProgram, sArgs);
  std::optional<e2e::MessageBoxView> box;
  const ULONGLONG nEnd = GetTickCount64() + nTimeoutMs;
  while (!(box = e2e::WaitForMessageBox({program.Id(), std::nullopt}, 0))) {
    if (program.WaitForExit(50)) return 4;
    if (GetTickCount64() >= nEnd) return 1;
  }
  // Closed before the wait below, during which the script reads the file.
  WriteText(sTextFile, e2e::ToUtf8(box->sText));
  const std::wstring sGo = sTextFile + L".go";
  for (int i = 0; i < 200 && GetFileAttributesW(sGo.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
  if (!e2e::PressButton(*box, nButton)) return 5;
  return program.WaitForExit(nTimeoutMs) ? 0 : 6;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 5) return 2;
  try {
    return Answer(argc, argv);
  } catch (const std::exception&) {
    return 3;  // the process tree could not be made or the program not started
  }
}
