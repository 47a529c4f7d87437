#include "po_text.h"

#include <cstdio>
#include <utility>

#include "twinsweep/lang/lang_syntax.h"

using namespace twinsweep;

namespace lngcheck {

std::u16string LngToPoText(const std::u16string& s) { return ResolveEscapes(s, u"\n"); }

std::u16string PoTextToLng(const std::u16string& s) {
  std::u16string r;
  r.reserve(s.size() + s.size() / 8);
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n') ++i;  // CR LF is one line break
    const char16_t c = s[i] == u'\r' ? u'\n' : s[i];
    if (c == u'\n' || c == u'\t' || c == u'\\') {
      r += u'\\';
      r += c == u'\n' ? u'n' : c == u'\t' ? u't' : u'\\';
    } else {
      r += c;
    }
  }
  return r;
}

std::string PoEscape(const std::string& s) {
  std::string r;
  r.reserve(s.size() + 8);
  for (unsigned char c : s) {
    switch (c) {
      case '\\': r += "\\\\"; break;
      case '"': r += "\\\""; break;
      case '\n': r += "\\n"; break;
      case '\t': r += "\\t"; break;
      case '\r': r += "\\r"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char sz[8];
          std::snprintf(sz, sizeof sz, "\\%03o", c);
          r += sz;
        } else {
          r += static_cast<char>(c);
        }
    }
  }
  return r;
}

std::string PoStrings(const std::string& sKeyword, const std::string& s) {
  const size_t nBreak = s.find('\n');
  if (nBreak == std::string::npos || nBreak + 1 == s.size()) return sKeyword + " \"" + PoEscape(s) + "\"\n";
  std::string r = sKeyword + " \"\"\n";
  size_t b = 0;
  while (b < s.size()) {
    size_t e = s.find('\n', b);
    e = e == std::string::npos ? s.size() : e + 1;
    r += "\"" + PoEscape(s.substr(b, e - b)) + "\"\n";
    b = e;
  }
  return r;
}

}  // namespace lngcheck
