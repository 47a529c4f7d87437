#include "twinsweep/lang/lang_placeholder.h"

namespace twinsweep {

namespace {

constexpr size_t kMostDigits = 4;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Reads at most kMostDigits digits from s[q]; false when more follow.
bool ReadNumber(std::u16string_view s, size_t& q, size_t* pn) {
  *pn = 0;
  for (size_t nDigits = 0; q < s.size() && IsDigit(s[q]); ++q) {
    if (++nDigits > kMostDigits) return false;
    *pn = *pn * 10 + (s[q] - u'0');
  }
  return true;
}

// Where the text's first nMost code points end (its size when it has fewer), and in
// *pnCount how many there are: a cut or a pad never parts a surrogate pair.
size_t CodePointsEnd(std::u16string_view s, size_t nMost, size_t* pnCount) {
  size_t n = 0, i = 0;
  for (; i < s.size(); ++i) {
    const bool bTrail = i > 0 && s[i] >= 0xDC00 && s[i] <= 0xDFFF && s[i - 1] >= 0xD800 && s[i - 1] <= 0xDBFF;
    if (bTrail) continue;
    if (n == nMost) break;
    ++n;
  }
  *pnCount = n;
  return i;
}

}  // namespace

NumberedPlaceholder ParseNumberedPlaceholder(std::u16string_view s, size_t nPercent) {
  NumberedPlaceholder ph;
  size_t q = nPercent + 1;
  while (q < s.size() && IsDigit(s[q])) ++q;
  if (q == nPercent + 1 || q >= s.size() || s[q] != u'$') return {};
  ph.nDollar = q++;
  for (; q < s.size() && std::u16string_view(u"-+ 0#").find(s[q]) != std::u16string_view::npos; ++q) {
    if (s[q] == u'-') ph.bLeft = true;
    if (s[q] == u'0') ph.bZeros = true;
    if (s[q] == u'+' || (s[q] == u' ' && ph.cSign != u'+')) ph.cSign = s[q];
  }
  if (!ReadNumber(s, q, &ph.nWidth)) return {};
  if (q < s.size() && s[q] == u'.' && !ReadNumber(s, ++q, &ph.nPrecision)) return {};
  if (q >= s.size() || (s[q] != u's' && s[q] != u'd')) return {};
  ph.cType = s[q];
  ph.nEnd = q + 1;
  return ph;
}

std::u16string ShapeValue(const NumberedPlaceholder& ph, std::u16string sValue) {
  constexpr size_t kNone = std::u16string::npos;
  std::u16string sSign;
  char16_t cPad = u' ';
  if (ph.cType == u'd') {
    const bool bNegative = !sValue.empty() && sValue[0] == u'-';
    if (bNegative) sValue.erase(0, 1);
    if (bNegative || ph.cSign) sSign.assign(1, bNegative ? u'-' : ph.cSign);
    // As printf: a precision of 0 shows no digit for 0, and a precision turns the 0 flag off.
    if (ph.nPrecision == 0 && sValue == u"0") sValue.clear();
    if (ph.nPrecision != kNone && sValue.size() < ph.nPrecision) sValue.insert(0, ph.nPrecision - sValue.size(), u'0');
    if (ph.bZeros && !ph.bLeft && ph.nPrecision == kNone) cPad = u'0';
  }
  size_t nShown = 0;
  sValue.resize(CodePointsEnd(sValue, ph.cType == u's' ? ph.nPrecision : kNone, &nShown));
  nShown += sSign.size();
  const size_t nPad = ph.nWidth > nShown ? ph.nWidth - nShown : 0;
  if (ph.bLeft) return sSign + sValue + std::u16string(nPad, u' ');
  if (cPad == u'0') return sSign + std::u16string(nPad, u'0') + sValue;
  return std::u16string(nPad, u' ') + sSign + sValue;
}

}  // namespace twinsweep
