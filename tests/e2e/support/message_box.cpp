#include "support/message_box.h"

#include <algorithm>

namespace e2e {

namespace {

constexpr UINT kSendTimeoutMs = 5000;

// Reads a window's text through WM_GETTEXT, which the system carries across processes.
std::wstring WindowText(HWND hWnd) {
  DWORD_PTR nLength = 0;
  if (!SendMessageTimeoutW(hWnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &nLength)) return {};
  std::wstring s(nLength + 1, L'\0');
  DWORD_PTR nCopied = 0;
  if (!SendMessageTimeoutW(hWnd, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(&s[0]), SMTO_ABORTIFHUNG,
                           kSendTimeoutMs, &nCopied)) {
    return {};
  }
  s.resize(std::min<size_t>(nCopied, nLength));
  return s;
}

std::wstring ClassName(HWND hWnd) {
  wchar_t sz[64];
  int n = GetClassNameW(hWnd, sz, 64);
  return std::wstring(sz, n > 0 ? n : 0);
}

BOOL CALLBACK AddChild(HWND hWnd, LPARAM lParam) {
  reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
  return TRUE;
}

MessageBoxView Describe(HWND hWnd, DWORD nProcessId) {
  MessageBoxView box;
  box.hWnd = hWnd;
  box.nProcessId = nProcessId;
  box.sCaption = WindowText(hWnd);
  std::vector<HWND> children;
  EnumChildWindows(hWnd, AddChild, reinterpret_cast<LPARAM>(&children));
  for (HWND hChild : children) {
    if (!IsWindowVisible(hChild)) continue;
    std::wstring sClass = ClassName(hChild);
    if (CompareStringOrdinal(sClass.c_str(), -1, L"Button", -1, TRUE) == CSTR_EQUAL) {
      box.buttons.push_back(GetDlgCtrlID(hChild));
    } else if (CompareStringOrdinal(sClass.c_str(), -1, L"Static", -1, TRUE) == CSTR_EQUAL) {
      if ((GetWindowLongW(hChild, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        // Wine keeps the icon control of a box without an icon, just empty.
        DWORD_PTR hIcon = 0;
        SendMessageTimeoutW(hChild, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &hIcon);
        box.bHasIcon = box.bHasIcon || hIcon != 0;
      } else if (box.sText.empty()) {
        // The message is the box's one static control with text (id 0xFFFF on Windows,
        // another on Wine), so it is found by its class rather than its id.
        box.sText = WindowText(hChild);
      }
    }
  }
  std::sort(box.buttons.begin(), box.buttons.end());
  return box;
}

std::optional<MessageBoxView> FindShownBox(const MessageBoxQuery& query) {
  const wchar_t* szCaption = query.vCaption ? query.vCaption->c_str() : nullptr;
  for (HWND hWnd = FindWindowExW(nullptr, nullptr, L"#32770", szCaption); hWnd;
       hWnd = FindWindowExW(nullptr, hWnd, L"#32770", szCaption)) {
    DWORD nProcessId = 0;
    GetWindowThreadProcessId(hWnd, &nProcessId);
    if (query.nProcessId != 0 && nProcessId != query.nProcessId) continue;
    // The box becomes visible once its dialog set-up (texts, buttons) is done.
    if (!IsWindowVisible(hWnd)) continue;
    return Describe(hWnd, nProcessId);
  }
  return std::nullopt;
}

}  // namespace

std::optional<MessageBoxView> WaitForMessageBox(const MessageBoxQuery& query, DWORD nTimeoutMs) {
  const ULONGLONG nEnd = GetTickCount64() + nTimeoutMs;
  std::optional<MessageBoxView> box;
  for (;;) {
    box = FindShownBox(query);
    // A program that did not take its messages for a while before its box came
    // up counts as hung to the system until the box's own loop has run: reading
    // the text then fails at once, and the box is read again.
    if (box && !box->sText.empty()) return box;
    if (GetTickCount64() >= nEnd) return box;
    Sleep(50);
  }
}

bool PressButton(const MessageBoxView& box, int nButton) {
  HWND hButton = GetDlgItem(box.hWnd, nButton);
  if (!hButton || !IsWindowVisible(hButton)) return false;
  DWORD_PTR nResult = 0;
  return SendMessageTimeoutW(hButton, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &nResult) != 0;
}

}  // namespace e2e
