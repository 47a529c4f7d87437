#pragma once
// The program's UTF-16 strings as the wide strings of the W functions, and back.
//
// Rule of this file: only conversions between the program's strings and the
// system's wide strings. On Windows char16_t and wchar_t are both UTF-16 code
// units of the same size.
#include <string>
#include <string_view>

#include "platform/win32/win32_windows.h"

namespace platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide strings are UTF-16");

inline std::wstring Wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
inline std::u16string FromWide(const wchar_t* p, size_t n) {
  return std::u16string(reinterpret_cast<const char16_t*>(p), n);
}
inline std::u16string FromWide(const std::wstring& s) { return FromWide(s.data(), s.size()); }

}  // namespace platform::win32
