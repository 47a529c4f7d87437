#pragma once
// Rules for texts from the registry that the program builds file names and web
// addresses from. Such a text is the user's (or anyone's who can write the user's
// registry): it must not lead a file name out of the program's folder or put a
// second argument or a fragment into an address.
#include <string>
#include <string_view>

namespace twinsweep {

namespace base {

// The longest plain identifier.
constexpr size_t kMaxPlainIdentifier = 32;

// True for 1 to 32 characters, each an ASCII letter, a digit, "-" or "_": an
// identifier that may stand in a file name as it is ("DE", "pt-BR", "zh_TW").
bool IsPlainIdentifier(std::u16string_view s);
// True for the name of a file in one folder, without any path: no "\", "/" or ":",
// no character the file system forbids or a control character, not ending in "."
// or a blank (which the system strips, so the name would mean another file), and
// not a device name (CON, NUL, COM1, COM¹, ... with or without an extension).
bool IsPlainFileName(std::u16string_view s);
// True for a path from the root of a drive ("C:\...") or a share ("\\server\..."):
// the only kind whose meaning does not depend on the current folder.
bool IsFullPath(std::u16string_view s);
// s as UTF-8 with every byte outside the unreserved set of web addresses (ASCII
// letters, digits, "-", ".", "_", "~") written as "%" and two capital hex digits.
// A character that is not valid UTF-16 (a lone surrogate) counts as U+FFFD.
std::u16string PercentEncode(std::u16string_view s);

}  // namespace base

}  // namespace twinsweep
