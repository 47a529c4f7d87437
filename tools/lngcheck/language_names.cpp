#include "language_names.h"

namespace lngcheck {

namespace {

struct Name {
  const char* szCode;  // lower case, "_" between language and region
  const char16_t* szName;
};

// Every language Windows ships a display language or a language interface pack
// in, and the regions it tells apart.
constexpr Name kNames[] = {
    {"af", u"Afrikaans"},
    {"am", u"አማርኛ"},
    {"ar", u"العربية"},
    {"az", u"Azərbaycan"},
    {"be", u"Беларуская"},
    {"bg", u"Български"},
    {"bn", u"বাংলা"},
    {"bs", u"Bosanski"},
    {"ca", u"Català"},
    {"cs", u"Čeština"},
    {"cy", u"Cymraeg"},
    {"da", u"Dansk"},
    {"de", u"Deutsch"},
    {"de_at", u"Deutsch (Österreich)"},
    {"de_ch", u"Deutsch (Schweiz)"},
    {"de_de", u"Deutsch (Deutschland)"},
    {"el", u"Ελληνικά"},
    {"en", u"English"},
    {"en_gb", u"English (United Kingdom)"},
    {"en_us", u"English (United States)"},
    {"es", u"Español"},
    {"es_es", u"Español (España)"},
    {"es_mx", u"Español (México)"},
    {"et", u"Eesti"},
    {"eu", u"Euskara"},
    {"fa", u"فارسی"},
    {"fi", u"Suomi"},
    {"fil", u"Filipino"},
    {"fr", u"Français"},
    {"fr_ca", u"Français (Canada)"},
    {"fr_fr", u"Français (France)"},
    {"ga", u"Gaeilge"},
    {"gl", u"Galego"},
    {"gu", u"ગુજરાતી"},
    {"he", u"עברית"},
    {"hi", u"हिन्दी"},
    {"hr", u"Hrvatski"},
    {"hu", u"Magyar"},
    {"hy", u"Հայերեն"},
    {"id", u"Indonesia"},
    {"is", u"Íslenska"},
    {"it", u"Italiano"},
    {"ja", u"日本語"},
    {"ka", u"ქართული"},
    {"kk", u"Қазақ тілі"},
    {"km", u"ខ្មែរ"},
    {"kn", u"ಕನ್ನಡ"},
    {"ko", u"한국어"},
    {"lb", u"Lëtzebuergesch"},
    {"lo", u"ລາວ"},
    {"lt", u"Lietuvių"},
    {"lv", u"Latviešu"},
    {"mk", u"Македонски"},
    {"ml", u"മലയാളം"},
    {"mr", u"मराठी"},
    {"ms", u"Melayu"},
    {"mt", u"Malti"},
    {"nb", u"Norsk bokmål"},
    {"ne", u"नेपाली"},
    {"nl", u"Nederlands"},
    {"nn", u"Norsk nynorsk"},
    {"no", u"Norsk"},
    {"pa", u"ਪੰਜਾਬੀ"},
    {"pl", u"Polski"},
    {"pt", u"Português"},
    {"pt_br", u"Português (Brasil)"},
    {"pt_pt", u"Português (Portugal)"},
    {"ro", u"Română"},
    {"ru", u"Русский"},
    {"sk", u"Slovenčina"},
    {"sl", u"Slovenščina"},
    {"sq", u"Shqip"},
    {"sr", u"Српски"},
    {"sr@latin", u"Srpski (latinica)"},
    {"sr_latn", u"Srpski (latinica)"},
    {"sv", u"Svenska"},
    {"sw", u"Kiswahili"},
    {"ta", u"தமிழ்"},
    {"te", u"తెలుగు"},
    {"th", u"ไทย"},
    {"tr", u"Türkçe"},
    {"uk", u"Українська"},
    {"ur", u"اردو"},
    {"uz", u"O‘zbek"},
    {"vi", u"Tiếng Việt"},
    {"zh", u"中文"},
    {"zh_cn", u"中文(简体)"},
    {"zh_hans", u"中文(简体)"},
    {"zh_hant", u"中文(繁體)"},
    {"zh_sg", u"中文(简体)"},
    {"zh_tw", u"中文(繁體)"},
};

const char16_t* Find(const std::string& sCode) {
  for (const Name& n : kNames)
    if (sCode == n.szCode) return n.szName;
  return nullptr;
}

}  // namespace

std::u16string OwnLanguageName(const std::string& sPoLanguage) {
  // "pt-BR.UTF-8" and "PT_br" name the same language as "pt_BR".
  std::string sCode = sPoLanguage.substr(0, sPoLanguage.find('.'));
  for (char& c : sCode) c = c == '-' ? '_' : static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (sCode.empty()) return u"";
  if (const char16_t* sz = Find(sCode)) return sz;
  const char16_t* sz = Find(sCode.substr(0, sCode.find_first_of("_@")));
  return sz ? sz : u"";
}

}  // namespace lngcheck
