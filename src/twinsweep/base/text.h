#pragma once
// Text helpers over the program's UTF-16 strings.
//
// Case mapping lives here, not behind the platform seam: it is pure computation
// and must give the same keys in both builds. It covers the scripts the product's
// languages use (Latin, Greek, Cyrillic, full-width forms); other characters map
// to themselves. Positions are 1-based where a name says "InStr", as the product's
// texts and reports count them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace twinsweep {

namespace base {

using u16 = std::u16string;
using u16v = std::u16string_view;

char16_t ToLowerChar(char16_t c);
char16_t ToUpperChar(char16_t c);
u16 LCase(u16v s);
u16 UCase(u16v s);
bool EqualsNoCase(u16v a, u16v b);

/// First position (from 1) of needle in s at or after nStart (from 1); 0 when none.
int32_t InStr(int32_t nStart, u16v s, u16v needle);
/// Every occurrence of sFind replaced by sWith, searched left to right, case-sensitive.
u16 Replace(u16v s, u16v sFind, u16v sWith);
/// Splits at every occurrence of sDelim; an empty s gives no pieces.
std::vector<u16> Split(u16v s, u16v sDelim);

/// Conversions for literals, logs and file names on the native side of tests.
u16 FromAscii(std::string_view s);
u16 FromUtf8(std::string_view s);
std::string ToUtf8(u16v s);

}  // namespace base

}  // namespace twinsweep
