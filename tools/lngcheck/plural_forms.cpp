#include "plural_forms.h"

#include <cstring>

#include "twinsweep/base/text.h"
#include "text_tokens.h"

using namespace twinsweep;

namespace lngcheck {

bool SplitPluralKey(const std::u16string& sKey, PluralKey* pKey) {
  const size_t nOpen = sKey.rfind(u'[');
  if (nOpen == std::u16string::npos || nOpen == 0 || sKey.back() != u']' || nOpen + 2 == sKey.size() ||
      sKey.size() - nOpen > 4)
    return false;
  int n = 0;
  for (size_t i = nOpen + 1; i + 1 < sKey.size(); ++i) {
    if (sKey[i] < u'0' || sKey[i] > u'9') return false;
    n = n * 10 + (sKey[i] - u'0');
  }
  pKey->sBase = sKey.substr(0, nOpen);
  pKey->nForm = n;
  return true;
}

std::u16string FormKey(const std::u16string& sBase, int nForm) {
  return sBase + u"[" + base::FromAscii(std::to_string(nForm)) + u"]";
}

FileRule RuleOf(const std::u16string& sPlural) {
  FileRule r;
  std::u16string sWhy;
  if (!sPlural.empty()) r.bRead = r.rule.Parse(sPlural, &sWhy);
  std::vector<int> counts(static_cast<size_t>(r.rule.Forms()));
  for (uint64_t n = 0; n < 1000; ++n) ++counts[static_cast<size_t>(r.rule.FormFor(n))];
  for (int c : counts) r.single.push_back(c == 1);
  return r;
}

int GettextForms(const std::u16string& sLangID) {
  // gettext's manual, "Plural forms", by the language's primary code.
  static const struct {
    const char* szCodes;
    int nForms;
  } kTable[] = {
      {" ja ko vi th ", 1},
      {" en de nl sv da nb nn no fo es pt it he el bg fi et eo hu tr fr ", 2},
      {" lv ga ro lt ru uk be sr hr cs sk pl ", 3},
      {" sl ", 4},
      {" ar ", 6},
  };
  std::string sCode = " ";
  for (char16_t c : sLangID) {
    if (c == u'-' || c == u'_') break;
    sCode += static_cast<char>(c < 0x80 ? base::ToLowerChar(c) : u'?');
  }
  sCode += " ";
  for (const auto& row : kTable)
    if (sCode.size() > 2 && std::strstr(row.szCodes, sCode.c_str())) return row.nForms;
  return 0;
}

bool FormMatches(const FileRule& rule, int nForm, const std::u16string& sText, const std::u16string& sRefFirst,
                 const std::u16string& sRefLast) {
  if (SamePlaceholders(sText, sRefLast)) return true;
  const bool bSingle = nForm >= 0 && static_cast<size_t>(nForm) < rule.single.size() && rule.single[nForm];
  return bSingle && SamePlaceholders(sText, sRefFirst);
}

}  // namespace lngcheck
