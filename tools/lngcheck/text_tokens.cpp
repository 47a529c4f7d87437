#include "text_tokens.h"

namespace lngcheck {

namespace {

bool IsEscapeLetter(char16_t c) {
  return c == u'\\' || c == u'n' || c == u'N' || c == u't' || c == u'T' || c == u'"';
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
    r += sText.substr(t.nPos, 2);
  }
  return r.empty() ? u"none" : r;
}

int LineBreakCount(const std::u16string& sText) {
  int n = 0;
  for (const Token& t : Tokenize(sText)) {
    if (t.kind == TokenKind::Escape && (sText[t.nPos + 1] == u'n' || sText[t.nPos + 1] == u'N')) ++n;
  }
  return n;
}

}  // namespace lngcheck
