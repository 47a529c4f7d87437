// The languages written right to left. The list is CLDR's: the locales of
// common/main whose layout/orientation/characterOrder is right-to-left.
// scripts/check-rtl-languages holds it against the CLDR that Debian ships
// (unicode-cldr-core), so that it is never written from memory; scripts/test runs it.
#include "twinsweep/lang/lang_direction.h"

#include <string>

#include "twinsweep/base/text.h"

namespace twinsweep {

namespace {

// Language or language_script, lower case, as CLDR names the locales (CLDR 41).
constexpr std::u16string_view kRightToLeft[] = {
    u"ar",      u"ckb", u"fa", u"ff_adlm", u"he", u"ks",      u"lrc", u"mzn",
    u"pa_arab", u"ps",  u"sd", u"ug",      u"ur", u"uz_arab", u"yi",
};

}  // namespace

bool IsRightToLeftLanguage(std::u16string_view sLangID) {
  // "pa-Arab-PK" -> "pa", "arab", ...: the language, then a script of four letters if one follows.
  const std::u16string sId = base::Replace(base::LCase(sLangID), u"-", u"_");
  const size_t nLanguageEnd = sId.find(u'_');
  std::u16string sKey = sId.substr(0, nLanguageEnd);
  if (nLanguageEnd != std::u16string::npos) {
    const size_t nScriptEnd = sId.find(u'_', nLanguageEnd + 1);
    const std::u16string sScript = sId.substr(nLanguageEnd + 1, nScriptEnd - nLanguageEnd - 1);
    if (sScript.size() == 4) sKey += u'_' + sScript;
  }
  for (std::u16string_view s : kRightToLeft)
    if (s == sKey) return true;
  return false;
}

}  // namespace twinsweep
