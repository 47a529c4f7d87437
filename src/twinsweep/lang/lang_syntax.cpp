#include "twinsweep/lang/lang_syntax.h"

#include "twinsweep/base/text.h"

namespace twinsweep {

namespace {

constexpr char16_t kQuote = u'"';

}  // namespace

size_t CommentCut(std::u16string_view s) {
  // One that follows the last quote cuts even inside an unclosed quote, since no
  // quote after it could close it; so the first one inside quotes is kept in mind
  // until a quote follows it.
  constexpr size_t kNone = std::u16string_view::npos;
  bool bInQuotes = false;
  size_t nInsideSinceLastQuote = kNone;
  for (size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (c > u';') continue;  // the quote and both comment characters are below it
    if (c == kQuote) {
      bInQuotes = !bInQuotes;
      nInsideSinceLastQuote = kNone;
    } else if (IsCommentStart(c)) {
      if (!bInQuotes) return i;
      if (nInsideSinceLastQuote == kNone) nInsideSinceLastQuote = i;
    }
  }
  return nInsideSinceLastQuote == kNone ? s.size() : nInsideSinceLastQuote;
}

bool UnquoteValue(std::u16string& sText, std::u16string& sError) {
  if (sText.size() < 2 || sText.front() != kQuote || sText.back() != kQuote) {
    sError = u"The string should be in quotes";
    return false;
  }
  // The text between the enclosing quotes is moved to the front in place, each
  // doubled quote written once.
  const size_t nEnd = sText.size() - 1;
  size_t nTo = 0;
  for (size_t i = 1; i < nEnd; ++i) {
    if (sText[i] == kQuote) {
      if (i + 1 >= nEnd || sText[i + 1] != kQuote) {
        sError = u"quoted string has unary quotes";
        return false;
      }
      ++i;
    }
    sText[nTo++] = sText[i];
  }
  sText.resize(nTo);
  return true;
}

std::u16string DoubleQuotes(std::u16string_view sText) { return base::Replace(sText, u"\"", u"\"\""); }

std::u16string UndoubleQuotes(std::u16string_view sQuoted) { return base::Replace(sQuoted, u"\"\"", u"\""); }

std::u16string WithQuotedValue(std::u16string_view sLine, size_t nBegin, size_t nEnd, std::u16string_view sText) {
  std::u16string s(sLine.substr(0, nBegin));
  s += DoubleQuotes(sText);
  s += sLine.substr(nEnd);
  return s;
}

void AppendResolvedEscapes(std::u16string_view sText, std::u16string_view sLineBreak, std::u16string& sOut,
                           size_t& nDone, const std::function<void(std::u16string_view sSeq, size_t nAt)>& onInvalid) {
  nDone = 0;
  for (size_t b = sText.find(u'\\'); b != std::u16string_view::npos;
       b = nDone < sText.size() ? sText.find(u'\\', nDone) : std::u16string_view::npos) {
    sOut.append(sText.substr(nDone, b - nDone));
    const bool bHasNext = b + 1 < sText.size();
    switch (bHasNext ? base::ToLowerChar(sText[b + 1]) : 0) {
      case u'\\': sOut += u'\\'; break;
      case u'n': sOut += sLineBreak; break;
      case u't': sOut += u'\t'; break;
      case u'"': sOut += u'"'; break;
      default: {
        const std::u16string_view sSeq = sText.substr(b, bHasNext ? 2 : 1);
        if (onInvalid) onInvalid(sSeq, b);
        sOut += sSeq;
      }
    }
    nDone = bHasNext ? b + 2 : b + 1;
  }
  if (nDone < sText.size()) sOut.append(sText.substr(nDone));
  nDone = sText.size();
}

std::u16string ResolveEscapes(std::u16string_view sText, std::u16string_view sLineBreak) {
  std::u16string s;
  s.reserve(sText.size());
  size_t nDone = 0;
  AppendResolvedEscapes(sText, sLineBreak, s, nDone, nullptr);
  return s;
}

std::u16string EscapeValue(std::u16string_view sValue) {
  // The backslash goes first, so that the backslashes of the later escapes stay single.
  std::u16string s = base::Replace(sValue, u"\\", u"\\\\");
  s = base::Replace(s, u"\r\n", u"\\n");
  s = base::Replace(s, u"\t", u"\\t");
  return DoubleQuotes(s);
}

std::u16string TabAlign(std::u16string_view sLine, int32_t nTabs) {
  const int32_t p = base::InStr(1, sLine, u"=");
  if (p == 0 || p >= 8 * nTabs) return std::u16string(sLine);
  std::u16string s(sLine);
  s.insert(static_cast<size_t>(p - 1), static_cast<size_t>(nTabs - (p + 7) / 8 + 1), u'\t');
  return s;
}

}  // namespace twinsweep
