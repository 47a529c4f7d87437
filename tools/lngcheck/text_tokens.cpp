#include "text_tokens.h"

#include <algorithm>

#include "twinsweep/base/text.h"
#include "twinsweep/lang/lang_placeholder.h"

using namespace twinsweep;

namespace lngcheck {

namespace {

bool IsEscapeLetter(char16_t c) { return c == u'\\' || c == u'n' || c == u'N' || c == u't' || c == u'T' || c == u'"'; }

// (parameter number, type) of each placeholder, sorted; *pbMixed when both kinds stand in the text.
std::vector<std::pair<std::u16string, char16_t>> Slots(const std::u16string& sText, bool* pbMixed) {
  std::vector<std::pair<std::u16string, char16_t>> r;
  bool bNumbered = false, bInOrder = false;
  for (const Token& t : Tokenize(sText)) {
    if (t.kind != TokenKind::Placeholder) continue;
    const char16_t cType = sText[t.nPos + t.nLen - 1];
    if (t.nLen == 2) {
      bInOrder = true;
      r.emplace_back(std::u16string(), cType);
      continue;
    }
    bNumbered = true;
    std::u16string sNumber = sText.substr(t.nPos + 1, sText.find(u'$', t.nPos) - t.nPos - 1);
    sNumber.erase(0, std::min(sNumber.find_first_not_of(u'0'), sNumber.size() - 1));  // "%01$s" is "%1$s"
    r.emplace_back(std::move(sNumber), cType);
  }
  // Unnumbered ones take the parameters in order.
  int n = 0;
  for (auto& slot : r)
    if (slot.first.empty()) slot.first = base::FromAscii(std::to_string(++n));
  // Numbers compare by length first, so that "10" follows "9".
  std::sort(r.begin(), r.end(), [](const auto& a, const auto& b) {
    return a.first.size() != b.first.size() ? a.first.size() < b.first.size() : a < b;
  });
  *pbMixed = bNumbered && bInOrder;
  return r;
}

}  // namespace

std::vector<Token> Tokenize(const std::u16string& s) {
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < s.size()) {
    const bool bHasNext = i + 1 < s.size();
    if (s[i] == u'\\') {
      // A reported escape keeps its character, which sprintf1 then reads like any
      // other: "\%s" is still a placeholder.
      if (bHasNext && IsEscapeLetter(s[i + 1])) {
        tokens.push_back({TokenKind::Escape, i, 2});
      } else {
        tokens.push_back({TokenKind::BadEscape, i, 1});
      }
    } else if (s[i] == u'%') {
      const char16_t c = bHasNext ? s[i + 1] : 0;
      if (c == u'%') {
        tokens.push_back({TokenKind::Percent, i, 2});
      } else if (c == u's' || c == u'd') {
        tokens.push_back({TokenKind::Placeholder, i, 2});
      } else if (const size_t nEnd = ParseNumberedPlaceholder(s, i).nEnd; nEnd != 0) {
        tokens.push_back({TokenKind::Placeholder, i, nEnd - i});
      } else {
        // Before an escape, sprintf1 drops its first resolved character; the escape
        // itself stays a token of its own.
        tokens.push_back({TokenKind::BadPercent, i, bHasNext && c != u'\\' ? 2u : 1u});
      }
    } else {
      tokens.push_back({TokenKind::Char, i, 1});
    }
    i += tokens.back().nLen;
  }
  return tokens;
}

std::u16string PlaceholderSequence(const std::u16string& sText) {
  std::u16string r;
  for (const Token& t : Tokenize(sText)) {
    if (t.kind != TokenKind::Placeholder) continue;
    if (!r.empty()) r += u' ';
    r += sText.substr(t.nPos, t.nLen);
  }
  return r.empty() ? u"none" : r;
}

bool TakesValues(const std::u16string& sText) { return PlaceholderSequence(sText) != u"none"; }

bool MixesPlaceholders(const std::u16string& sText) {
  bool bMixed = false;
  Slots(sText, &bMixed);
  return bMixed;
}

bool SamePlaceholders(const std::u16string& sA, const std::u16string& sB) {
  // A text that mixes both kinds has a finding of its own.
  bool bMixed = false;
  return Slots(sA, &bMixed) == Slots(sB, &bMixed);
}

int LineBreakCount(const std::u16string& sText) {
  int n = 0;
  for (const Token& t : Tokenize(sText)) {
    if (t.kind == TokenKind::Escape && (sText[t.nPos + 1] == u'n' || sText[t.nPos + 1] == u'N')) ++n;
  }
  return n;
}

}  // namespace lngcheck
