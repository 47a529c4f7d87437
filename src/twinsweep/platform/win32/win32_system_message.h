#pragma once
// The system's own text for an error code or HRESULT (FormatMessageW), without
// the line end the system puts after it; empty when the system has none.
#include <string>

#include "twinsweep/platform/win32/win32_strings.h"
#include "twinsweep/platform/win32/win32_windows.h"

namespace twinsweep {

namespace platform::win32 {

inline std::u16string SystemMessage(DWORD nCode) {
  wchar_t* pText = nullptr;
  const DWORD n =
      ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, nCode, 0, reinterpret_cast<wchar_t*>(&pText), 0, nullptr);
  std::u16string s;
  if (n && pText) s = FromWide(pText, n);
  if (pText) ::LocalFree(pText);
  while (!s.empty() && (s.back() == u'\r' || s.back() == u'\n' || s.back() == u' ')) s.pop_back();
  return s;
}

}  // namespace platform::win32

}  // namespace twinsweep
