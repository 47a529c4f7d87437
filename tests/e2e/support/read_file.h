#pragma once
// The bytes of a file that another process may still be writing; empty when it
// cannot be opened.
#include <windows.h>

#include <string>

#include "support/win32_handle.h"

namespace e2e {

inline std::string ReadWholeFile(const std::wstring& sPath) {
  const OwnedFile file(CreateFileW(sPath.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                  nullptr));
  if (!file.IsValid()) return std::string();
  std::string text;
  char buf[4096];
  DWORD n = 0;
  while (ReadFile(file.Get(), buf, sizeof buf, &n, nullptr) && n) text.append(buf, n);
  return text;
}

}  // namespace e2e
