#pragma once
// The program's UTF-16 strings as the wide strings of the W functions, and back.
//
// Rule of this file: only conversions between the program's strings and the
// system's wide strings. On Windows char16_t and wchar_t are both UTF-16 code
// units of the same size.
#include <optional>
#include <string>
#include <string_view>

#include "twinsweep/platform/win32/win32_windows.h"

namespace twinsweep {

namespace platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide strings are UTF-16");

// A program string as the NUL-terminated wide string that a W function takes, or
// nothing when the string holds a NUL of its own. The system reads such a string
// only up to that NUL: a path cut before its extension or a command cut before
// its arguments would name something the program never meant. A caller answers a
// refused string as its call answers a name that does not exist (kRefusedName
// where the call answers a status).
constexpr LONG kRefusedName = ERROR_FILE_NOT_FOUND;
inline std::optional<std::wstring> Wide(std::u16string_view s) {
  if (s.find(u'\0') != std::u16string_view::npos) return std::nullopt;
  return std::wstring(s.begin(), s.end());
}
// A length-counted copy for the system's counted strings (BSTR), which carry every
// character, NULs included.
inline std::wstring WideCounted(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

inline std::u16string FromWide(const wchar_t* p, size_t n) {
  return std::u16string(reinterpret_cast<const char16_t*>(p), n);
}
inline std::u16string FromWide(const std::wstring& s) { return FromWide(s.data(), s.size()); }

}  // namespace platform::win32

}  // namespace twinsweep
