#pragma once
// Windows-only: the program's UTF-16 strings as the wide strings of the W functions.
// On Windows char16_t and wchar_t are both UTF-16 code units of the same size.
#include <windows.h>
// The platform interfaces use these names for their own members; the wide
// functions are always called by their W names.
#undef CreateDirectory
#undef RemoveDirectory
#undef DeleteFile
#undef MessageBox

#include <string>
#include <string_view>

namespace platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide strings are UTF-16");

inline std::wstring Wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
inline std::u16string FromWide(const wchar_t* p, size_t n) {
  return std::u16string(reinterpret_cast<const char16_t*>(p), n);
}
inline std::u16string FromWide(const std::wstring& s) { return FromWide(s.data(), s.size()); }

}  // namespace platform::win32
