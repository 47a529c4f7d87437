#include "twinsweep/base/convert.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"

namespace twinsweep {

namespace base {

double RoundHalfEven(double d) { return std::nearbyint(d); }  // default mode: to nearest, ties to even

int32_t ToLong(double d) {
  if (std::isnan(d)) Raise(kOverflow);
  double r = RoundHalfEven(d);
  if (r < -2147483648.0 || r > 2147483647.0) Raise(kOverflow);
  return static_cast<int32_t>(r);
}

namespace {
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == 0xA0; }

// Reads a decimal number at s[i]; answers the characters consumed (0 when none).
size_t ReadDecimal(std::u16string_view s, size_t i, double& out) {
  std::string buf;
  size_t j = i;
  if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) buf.push_back(static_cast<char>(s[j++]));
  size_t digitsStart = j;
  bool any = false;
  while (j < s.size() && s[j] >= u'0' && s[j] <= u'9') {
    buf.push_back(static_cast<char>(s[j++]));
    any = true;
  }
  if (j < s.size() && s[j] == u'.') {
    buf.push_back('.');
    ++j;
    while (j < s.size() && s[j] >= u'0' && s[j] <= u'9') {
      buf.push_back(static_cast<char>(s[j++]));
      any = true;
    }
  }
  if (!any) return 0;
  (void)digitsStart;
  if (j < s.size() && (s[j] == u'e' || s[j] == u'E')) {
    size_t k = j + 1;
    std::string exp = "e";
    if (k < s.size() && (s[k] == u'+' || s[k] == u'-')) exp.push_back(static_cast<char>(s[k++]));
    bool expDigits = false;
    while (k < s.size() && s[k] >= u'0' && s[k] <= u'9') {
      exp.push_back(static_cast<char>(s[k++]));
      expDigits = true;
    }
    if (expDigits) {
      buf += exp;
      j = k;
    }
  }
  out = std::strtod(buf.c_str(), nullptr);
  return j - i;
}

size_t ReadHex(std::u16string_view s, size_t i, double& out) {
  if (i + 1 >= s.size() || s[i] != u'&' || (s[i + 1] != u'H' && s[i + 1] != u'h')) return 0;
  size_t j = i + 2;
  uint64_t v = 0;
  size_t n = 0;
  while (j < s.size() && n < 16) {
    char16_t c = s[j];
    int dgt = (c >= u'0' && c <= u'9')   ? c - u'0'
              : (c >= u'a' && c <= u'f') ? c - u'a' + 10
              : (c >= u'A' && c <= u'F') ? c - u'A' + 10
                                         : -1;
    if (dgt < 0) break;
    v = v * 16 + static_cast<uint64_t>(dgt);
    ++j;
    ++n;
  }
  if (n == 0) return 0;
  // Up to eight digits form a signed 32-bit value, as the run-time reads "&HFFFFFFFF" as -1.
  out = n <= 4   ? static_cast<double>(static_cast<int16_t>(v))
        : n <= 8 ? static_cast<double>(static_cast<int32_t>(v))
                 : static_cast<double>(v);
  return j - i;
}
}  // namespace

std::optional<double> ParseNumber(std::u16string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  double v = 0;
  size_t n = ReadHex(s, i, v);
  if (n == 0) n = ReadDecimal(s, i, v);
  if (n == 0) return std::nullopt;
  i += n;
  while (i < s.size() && IsBlank(s[i])) ++i;
  if (i != s.size()) return std::nullopt;
  return v;
}

int32_t TextToLong(std::u16string_view s) {
  auto v = ParseNumber(s);
  if (!v) Raise(kTypeMismatch);
  return ToLong(*v);
}

double LeadingNumber(std::u16string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  double v = 0;
  if (ReadHex(s, i, v) > 0) return v;
  if (ReadDecimal(s, i, v) > 0) return v;
  return 0;
}

std::u16string LongToText(int64_t n) { return FromAscii(std::to_string(n)); }

std::u16string HexText(uint32_t n) {
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string s = u"0x";
  for (int nShift = 28; nShift >= 0; nShift -= 4) s += kDigits[(n >> nShift) & 0xF];
  return s;
}

std::u16string DoubleToText(double d) {
  if (d == std::trunc(d) && std::fabs(d) < 1e15) return LongToText(static_cast<int64_t>(d));
  char buf[40];
  for (int prec = 1; prec <= 17; ++prec) {
    std::snprintf(buf, sizeof buf, "%.*g", prec, d);
    if (std::strtod(buf, nullptr) == d) break;
  }
  // The run-time writes the exponent with a capital letter ("1E+20", "1.5E-07").
  for (char* p = buf; *p; ++p)
    if (*p == 'e') *p = 'E';
  return FromAscii(buf);
}

}  // namespace base

}  // namespace twinsweep
