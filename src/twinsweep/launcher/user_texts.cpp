#include "twinsweep/launcher/user_texts.h"

#include "twinsweep/base/error_log.h"
#include "twinsweep/base/text.h"
#include "twinsweep/platform/desktop.h"
#include "twinsweep/platform/string_table.h"
#include "twinsweep/settings/options.h"

namespace twinsweep {

namespace mMain {
namespace {

constexpr char16_t kSource[] = u"mMain.UserTexts";
constexpr char16_t kCrLf[] = u"\r\n";
constexpr char16_t kBuiltInName[] = u"(built-in English texts)";

void Note(const std::u16string& sText) { LogDebug(kSource, sText); }

// The first listed file whose langid passes bMatches, loaded; false when there is
// none or it does not load. sTried names a file already tried, which is skipped.
template <class Matches>
bool LoadFirstListed(CLang& oLang, const std::u16string& sFolder, Matches bMatches, std::u16string* psTried) {
  CLang::TextCollectionRef colList = oLang.GetAvailableLangs(sFolder, *psTried);
  for (const auto& entry : base::Deref(colList)) {
    const std::u16string_view s = entry.item;
    const size_t nFirst = s.find(kCrLf);
    const size_t nSecond = nFirst == std::u16string_view::npos ? nFirst : s.find(kCrLf, nFirst + 2);
    if (nSecond == std::u16string_view::npos || !bMatches(s.substr(0, nFirst))) continue;
    *psTried = std::u16string(s.substr(nSecond + 2));
    return oLang.Init(sFolder + u"\\" + *psTried, kLauncherSection);
  }
  return false;
}

}  // namespace

std::string BuiltInLanguageFile() {
  std::string sFile =
      "\xEF\xBB\xBF[version]\r\nsignature = \"Orvex.LangLngFile\"\r\nlang = \"English\"\r\nlangid = \"EN\"\r\n"
      "[TwinsweepLauncher]\r\nglobals = \"texts\"\r\n[TwinsweepLauncher.texts]\r\n";
  platform::IStringTable& table = platform::StringTable();
  for (uint32_t nId = kBuiltInTextsFirstId;; ++nId) {
    const std::optional<std::u16string> sLine = table.String(nId);
    if (!sLine) break;
    // A line is one line: whatever holds a line end is not one of the file's.
    if (sLine->find_first_of(u"\r\n") != std::u16string::npos) continue;
    sFile += base::ToUtf8(*sLine) + "\r\n";
  }
  return sFile;
}

UserTexts::UserTexts() {
  if (oLang_.InitEx(kLauncherSection, Options())) return;
  // LANG as the options read it; InitEx has already remembered English where
  // neither scope has a language, so nothing is written here.
  const std::u16string sLangID = Options().LangID();
  const std::u16string sFolder = platform::App().AppFolder();
  std::u16string sTried;
  if (LoadFirstListed(
          oLang_, sFolder, [&](std::u16string_view s) { return base::EqualsNoCase(s, sLangID); }, &sTried)) {
    Note(u"the language file '" + sTried + u"' (langid '" + oLang_.LangID() + u"') serves for LANG '" + sLangID + u"'");
    return;
  }
  // A file that failed above is not tried again.
  std::u16string sEnglish = sTried;
  if (LoadFirstListed(
          oLang_, sFolder, [](std::u16string_view s) { return base::EqualsNoCase(s, u"EN"); }, &sEnglish)) {
    Note(u"no language file serves for LANG '" + sLangID + u"'; the English file '" + sEnglish + u"' serves instead");
    return;
  }
  if (!oLang_.InitFromMemory(kBuiltInName, BuiltInLanguageFile(), kLauncherSection) || !oLang_.ItemFind(u"LID_TITLE")) {
    LogError(kSource, 0, u"the built-in English texts are missing");
    return;
  }
  Note(u"no language file serves for LANG '" + sLangID + u"' nor for English; the built-in English texts serve");
}

std::u16string UserTexts::Item(const std::u16string& sKey, const base::VariantList& params) const {
  return oLang_.Item(sKey, params);
}

}  // namespace mMain

}  // namespace twinsweep
