// The shell, message boxes, the command line and the program's folder on Windows.
#include "twinsweep/platform/win32/win32_strings.h"
#include <shellapi.h>

#include "twinsweep/platform/desktop.h"

namespace twinsweep {

namespace platform {
namespace {

class Win32Shell : public IShell {
 public:
  uint32_t Open(std::u16string_view sTarget) override {
    const auto target = win32::Wide(sTarget);
    if (!target) return ERROR_INVALID_PARAMETER;
    // NOASYNC: the process may end as soon as this returns. NO_UI: a failure is
    // the caller's to show, with a hint, not the system's bare box.
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = target->c_str();
    info.nShow = SW_SHOWNORMAL;
    if (::ShellExecuteExW(&info)) return 0;
    const DWORD nError = ::GetLastError();
    return nError ? nError : ERROR_NO_ASSOCIATION;
  }
};

class Win32Dialogs : public IDialogs {
 public:
  int32_t ShowMessageBox(std::u16string_view sText, std::u16string_view sCaption, uint32_t nType) override {
    // A refused text shows no box: the answer is 0, as for a box that failed.
    const auto text = win32::Wide(sText), caption = win32::Wide(sCaption);
    if (!text || !caption) return 0;
    return MessageBoxW(nullptr, text->c_str(), caption->c_str(), nType);
  }

  bool BringOtherInstanceBoxToFront() override {
    HWND hBox = nullptr;
    ::EnumWindows(FindOtherInstanceBox, reinterpret_cast<LPARAM>(&hBox));
    return hBox && ::SetForegroundWindow(hBox);
  }

 private:
  // The file name of a process's executable, "" when it cannot be asked.
  static std::wstring ExeName(DWORD nProcessId) {
    wchar_t path[MAX_PATH];
    DWORD n = MAX_PATH;
    if (nProcessId == ::GetCurrentProcessId()) {
      n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
      if (n == 0 || n >= MAX_PATH) return L"";
    } else {
      HANDLE h = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, nProcessId);
      if (!h) return L"";
      const BOOL bOk = ::QueryFullProcessImageNameW(h, 0, path, &n);
      ::CloseHandle(h);
      if (!bOk) return L"";
    }
    const std::wstring s(path, n);
    return s.substr(s.find_last_of(L"\\/") + 1);
  }

  // EnumWindows callback: stops at the first visible dialog (a message box's class)
  // of another process whose executable has our file name.
  static BOOL CALLBACK FindOtherInstanceBox(HWND hWnd, LPARAM lParam) {
    wchar_t szClass[16];
    if (!::IsWindowVisible(hWnd) || !::GetClassNameW(hWnd, szClass, 16) || ::lstrcmpW(szClass, L"#32770") != 0)
      return TRUE;
    DWORD nProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &nProcessId);
    if (nProcessId == ::GetCurrentProcessId()) return TRUE;
    const std::wstring sName = ExeName(nProcessId);
    if (sName.empty() || ::lstrcmpiW(sName.c_str(), ExeName(::GetCurrentProcessId()).c_str()) != 0) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
  }
};

}  // namespace

template <>
IShell& Default<IShell>() {
  return StaticInstance<Win32Shell>();
}
template <>
IDialogs& Default<IDialogs>() {
  return StaticInstance<Win32Dialogs>();
}

}  // namespace platform

}  // namespace twinsweep
