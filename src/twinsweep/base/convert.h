#pragma once
// Numeric conversions with the product's run-time rules.
#include <cstdint>
#include <optional>
#include <string>

namespace twinsweep {

namespace base {

// Rounds to the nearest integer, an exact half to the even one (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double d);
// d rounded half to even as a 32-bit integer; fails with Overflow (6) out of range.
int32_t ToLong(double d);
// The whole text read as a number (blanks around it allowed; sign, decimals,
// exponent, "&H" hex); nullopt when it is not one.
std::optional<double> ParseNumber(std::u16string_view s);
// The text converted to a 32-bit integer: 13 when it is not a number, 6 on overflow.
int32_t TextToLong(std::u16string_view s);
// The number at the start of a text (Val): leading blanks skipped, digits with an
// optional sign, point and exponent; 0 when the text does not start with a number.
double LeadingNumber(std::u16string_view s);
// Decimal text of a 32-bit integer.
std::u16string LongToText(int64_t n);
// "0x" and the eight hexadecimal digits of n, capitals ("0xC0000135").
std::u16string HexText(uint32_t n);
// Shortest text that reads back as d ("2.5", "15", "1E+20" style is not used: plain).
std::u16string DoubleToText(double d);

}  // namespace base

}  // namespace twinsweep
