#pragma once
// The numbered placeholder of the engine's formatter, parsed in one place for the
// formatter and for lngcheck: "%", the parameter's number, "$", printf's flags,
// width and precision, then "s" or "d" ("%2$s", "%1$5s", "%2$-8d", "%1$.3s").
// Not installed with the engine's public headers.
#include <cstddef>
#include <string>
#include <string_view>

namespace twinsweep {

struct NumberedPlaceholder {
  size_t nDollar = 0;   // where the "$" after the number stands
  size_t nEnd = 0;      // just past the type letter; 0 when no placeholder starts there
  bool bLeft = false;   // "-": padded on the right
  bool bZeros = false;  // "0": a number padded with zeros after its sign
  char16_t cSign = 0;   // "+" or " ": what stands before a number that is not negative
  size_t nWidth = 0;
  size_t nPrecision = std::u16string::npos;  // none; of a text its most characters, of a number its fewest digits
  char16_t cType = 0;
};

// The numbered placeholder whose "%" stands at s[nPercent]. Widths and precisions
// of more than four digits make no placeholder, so that a text cannot ask for a
// value of any size.
NumberedPlaceholder ParseNumberedPlaceholder(std::u16string_view s, size_t nPercent);

// The value as the placeholder shows it: sValue is the text of the value, for "d"
// as LongToText writes it.
std::u16string ShapeValue(const NumberedPlaceholder& ph, std::u16string sValue);

}  // namespace twinsweep
