#include "twinsweep/base/access_key.h"

#include "twinsweep/base/text.h"

namespace twinsweep {

namespace base {

char16_t AccessKeyOf(std::u16string_view sText) {
  for (size_t i = 0; i + 1 < sText.size(); ++i) {
    if (sText[i] != u'&') continue;
    const char16_t c = sText[i + 1];
    // "Tom & Jerry" in a message names no key: an underlined blank is none a user can press.
    if (c != u'&' && c != u' ' && c != u'\t') return ToUpperChar(c);
    ++i;  // "&&": a literal ampersand
  }
  return 0;
}

std::u16string DrawnText(std::u16string_view sText) {
  std::u16string s;
  s.reserve(sText.size());
  for (size_t i = 0; i < sText.size(); ++i) {
    if (sText[i] == u'&' && i + 1 < sText.size()) ++i;  // the mark goes; after "&&" one "&" stays
    s += sText[i];
  }
  return s;
}

}  // namespace base

}  // namespace twinsweep
