// The engine's formatters and the parser's character-set search (lang_format.h).
#include <algorithm>
#include <cstdint>
#include <optional>

#include "twinsweep/base/convert.h"
#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/base/variant.h"
#include "twinsweep/lang/lang_format.h"
#include "twinsweep/lang/lang_placeholder.h"
#include "twinsweep/lang/lang_syntax.h"
#include "twinsweep/base/error_log.h"
#include "twinsweep/platform/app.h"

namespace twinsweep {

namespace {

// A value put into a right-to-left text keeps its own order when it is isolated:
// a path or a number is otherwise reordered with the Arabic or Hebrew around it.
// Windows 10's shaping knows Unicode's isolates, FSI ... PDI, whose direction is
// the value's first strong character. Older systems do not; for them the value is
// embedded instead (LRE or RLE ... PDF, chosen by the same first strong character),
// which their shaping has always understood and which keeps the value's own order,
// if not quite as apart from the neutral characters next to it.
std::u16string Isolated(const std::u16string& sValue) {
  if (platform::App().ShapingKnowsIsolates()) return u'\u2068' + sValue + u'\u2069';
  // Hebrew, Arabic, Syriac, Thaana, N'Ko and their presentation forms; letters of
  // other scripts count as left to right, digits and punctuation as neither.
  auto rightToLeft = [](char16_t c) {
    return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFC);
  };
  auto strong = [](char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c >= 0x00C0; };
  const auto it = std::find_if(sValue.begin(), sValue.end(), strong);
  const char16_t cOpen = it != sValue.end() && rightToLeft(*it) ? u'\u202B' : u'\u202A';
  return cOpen + sValue + u'\u202C';
}

}  // namespace

int32_t InStrAny(std::u16string_view sText, std::u16string_view sChars, int32_t nStart) {
  if (nStart < 1) nStart = 1;
  size_t nFrom = static_cast<size_t>(nStart - 1);
  if (nFrom >= sText.size()) return 0;
  size_t nBest = std::u16string_view::npos;
  for (char16_t ch : sChars) {
    size_t p = sText.find(ch, nFrom);
    if (p < nBest) nBest = p;
  }
  return nBest == std::u16string_view::npos ? 0 : static_cast<int32_t>(nBest + 1);
}

std::u16string sprintf1(std::u16string_view sFormat, const base::VariantList& sprintf_params, bool bIsolate) {
  const char16_t* const kSource = u"CLang::sprintf1";
  // A single parameter that is itself a list is the list (how Item passes its own).
  const base::VariantList* pList = &sprintf_params;
  if (sprintf_params.size() == 1 && base::EqualsNoCase(base::TypeName(sprintf_params[0]), u"Variant()")) {
    pList = &sprintf_params[0].AsList();
  }
  const std::u16string t = sprintf2(sFormat);
  try {
    size_t i = 0;
    auto at = [&](size_t k) -> const base::Variant& {
      if (k >= pList->size()) base::Raise(base::kSubscriptOutOfRange);
      return (*pList)[k];
    };
    std::u16string o;
    o.reserve(t.size() + 16);
    // A value's text, logged when its type is not the placeholder's.
    auto valueOf = [&](char16_t c, const base::Variant& v) -> std::u16string {
      if (c == u's') {
        if (!v.IsText()) {
          mMain::LogDebug(kSource, u"VarType(" + base::LongToText(base::VarType(v)) + u") <> vbString, Typename = " +
                                       base::TypeName(v));
        }
        return base::CStr(v);
      }
      if (!base::IsNumeric(v)) {
        mMain::LogDebug(kSource,
                        u"Not IsNumeric(" + base::LongToText(base::VarType(v)) + u"), Typename = " + base::TypeName(v));
      }
      return base::LongToText(base::CLng(v));
    };
    // Isolated after it is shaped, so that a width or precision counts the value's
    // own characters and never cuts its marks.
    auto append = [&](const std::u16string& sValue) { o += bIsolate ? Isolated(sValue) : sValue; };
    // A text numbers all its placeholders or none; one that mixes the two ways
    // cannot mean one order, so it is shown as written.
    bool bNumbered = false, bInOrder = false;
    auto mixed = [&](bool bNumberedNow) {
      (bNumberedNow ? bNumbered : bInOrder) = true;
      if (!bNumbered || !bInOrder) return false;
      mMain::LogError(kSource, 0, u"Numbered and unnumbered placeholders mixed", t);
      return true;
    };
    size_t p = 0;
    for (;;) {
      size_t b = p < t.size() ? t.find(u'%', p) : std::u16string::npos;
      if (b == std::u16string::npos) {
        if (p < t.size()) o.append(t, p, std::u16string::npos);
        return o;
      }
      o.append(t, p, b - p);
      std::u16string c = b + 1 < t.size() ? std::u16string(1, t[b + 1]) : std::u16string();
      p = b + 2;
      if (c == u"%") {
        o += u'%';
      } else if (c == u"s" || c == u"d") {
        if (mixed(false)) return t;
        append(valueOf(c[0], at(i++)));
      } else if (const NumberedPlaceholder ph = ParseNumberedPlaceholder(t, b); ph.nEnd != 0) {
        if (mixed(true)) return t;
        // "%0$s" and positions past the list fail as a missing parameter does.
        size_t k = 0;
        for (size_t q = b + 1; q < ph.nDollar; ++q) k = std::min<size_t>(k * 10 + (t[q] - u'0'), SIZE_MAX / 16);
        append(ShapeValue(ph, valueOf(ph.cType, at(k - 1))));
        p = ph.nEnd;
      } else {
        mMain::LogError(kSource, 0, u"Invalid format specificator(" + c + u")");
      }
    }
  } catch (...) {
    // The message is not composed at all rather than half: the caller gets the
    // format with its placeholders, which still says what went wrong.
    base::SetPendingFromCurrentException();
    mMain::LogError(kSource, -1, std::nullopt, t);
    return t;
  }
}

std::u16string sprintf2(std::u16string_view sText) {
  // The result is built left to right; the text "so far" of a report is the
  // resolved part followed by the part not yet looked at. Each report carries the
  // whole text, so only the first few invalid escapes are reported one by one and
  // the rest counted in one report: a text full of them would otherwise cost
  // time and memory growing with the square of its length.
  constexpr int32_t kReportedOneByOne = 8;
  int32_t nInvalid = 0;
  std::u16string o;
  size_t a = 0;  // how much of sText is resolved
  try {
    if (sText.find(u'\\') == std::u16string_view::npos) return std::u16string(sText);
    o.reserve(sText.size());
    AppendResolvedEscapes(sText, u"\r\n", o, a, [&](std::u16string_view sSeq, size_t nAt) {
      if (++nInvalid > kReportedOneByOne) return;
      std::u16string sSoFar = o + std::u16string(sText.substr(nAt));
      mMain::LogError(u"CLang::sprintf2", 0, u"Invalid format specificator '" + std::u16string(sSeq) + u"'", sSoFar);
    });
    if (nInvalid > kReportedOneByOne)
      mMain::LogError(u"CLang::sprintf2", 0,
                      u"Invalid format specificators: " + base::LongToText(nInvalid - kReportedOneByOne) + u" more", o);
    return o;
  } catch (...) {
    base::SetPendingFromCurrentException();
    std::u16string sSoFar = o + std::u16string(sText.substr(a < sText.size() ? a : sText.size()));
    mMain::LogError(u"CLang::sprintf2", -1, std::nullopt, sSoFar);
    return sSoFar;
  }
}

}  // namespace twinsweep
