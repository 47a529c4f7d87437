#pragma once
// The bytes of a file that another process may still be writing; empty when it
// cannot be opened.
#include <windows.h>

#include <string>

namespace e2e {

inline std::string ReadWholeFile(const std::wstring& sPath) {
  HANDLE h = CreateFileW(sPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::string();
  std::string text;
  char buf[4096];
  DWORD n = 0;
  while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) text.append(buf, n);
  CloseHandle(h);
  return text;
}

}  // namespace e2e
