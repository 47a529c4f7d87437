// The pseudo-localizer's promise: its file loads, formats every text with the same
// substitutions as the reference, and passes the check against that reference.
#include <gtest/gtest.h>

#include "base/text.h"
#include "lang/testable_lang.h"
#include "lngcheck.h"
#include "pseudo.h"
#include "support/log_capture.h"
#include "support/temp_folder.h"

namespace {

struct Reference {
  const char16_t* szPath;  // from the cases folder
  const char16_t* szMain;
};
const Reference kReferences[] = {{u"ref/EN.lng", u"Demo"}, {u"../../../languages/EN.lng", u"TwinsweepLauncher"}};

size_t Occurrences(const std::u16string& s, const std::u16string& sPart) {
  size_t n = 0;
  for (size_t p = s.find(sPart); p != std::u16string::npos; p = s.find(sPart, p + 1)) ++n;
  return n;
}

TEST(LngcheckPseudo, TextsAreWrappedAccentedAndPaddedWithTheirTokensKept) {
  const struct {
    std::u16string sIn, sOut;
  } kCases[] = {
      {u"Open", u"[Öpëñ··]"},
      {u"Found %d files\\n(100%%)", u"[Föüñð %d fîlëš\\n(100%%)······]"},
      {u"Say \"hi\" \\t %s", u"[Šáý \"hî\" \\t %s····]"},
      {u"", u""},
  };
  for (const auto& c : kCases) EXPECT_EQ(base::ToUtf8(c.sOut), base::ToUtf8(lngcheck::PseudoText(c.sIn)));
}

TEST(LngcheckPseudo, LoadsFormatsAlikeAndPassesTheCheck) {
  for (const Reference& ref : kReferences) {
    SCOPED_TRACE(base::ToUtf8(ref.szPath));
    std::string sPseudo, sErr;
    ASSERT_EQ(0, lngcheck::Run({u"lngcheck", u"--pseudo", ref.szPath, ref.szMain}, &sPseudo, &sErr)) << sErr;
    EXPECT_EQ("\xEF\xBB\xBF", sPseudo.substr(0, 3));
    const std::u16string sWhole = base::FromUtf8(sPseudo);
    EXPECT_EQ(Occurrences(sWhole, u"\n"), Occurrences(sWhole, u"\r\n"));  // CR LF line ends only
    testing_support::TempFolder folder;
    const std::u16string sFile = folder.Write(u"XX.lng", sPseudo);

    testing_support::LogCapture log;
    TestableLang en, xx;
    ASSERT_TRUE(en.Init(ref.szPath, ref.szMain));
    ASSERT_TRUE(xx.Init(sFile, ref.szMain)) << log.Lines().front();
    EXPECT_EQ(u"XX", xx.LangID());
    EXPECT_EQ(u"Pseudo", xx.LangName());
    log.Clear();
    const base::VariantList params{base::Variant(int32_t{7001}), base::Variant(int32_t{7002}),
                                   base::Variant(int32_t{7003})};
    ASSERT_GT(en.colTexts->Count(), 0);
    for (const auto& e : *en.colTexts) {
      const std::u16string& sKey = *e.foldedKey;
      ASSERT_TRUE(xx.colTexts->Contains(sKey)) << base::ToUtf8(sKey);
      const std::u16string sEn = en.sprintf1(e.item, params);
      const std::u16string sXx = xx.sprintf1(xx.colTexts->Item(sKey), params);
      for (const char16_t* szMark : {u"700", u"%", u"\r\n", u"\t"}) {
        EXPECT_EQ(Occurrences(sEn, szMark), Occurrences(sXx, szMark)) << base::ToUtf8(sKey) << " " << szMark;
      }
    }
    EXPECT_TRUE(log.Errors().empty()) << log.Lines().front();
    // Positions and pictures of forms are no texts: they stay as they are.
    for (const char16_t* szKey : {u"frmmaincmdok.left", u"frmmainimglogo.picture"}) {
      if (en.colTexts->Contains(szKey)) {
        EXPECT_EQ(en.colTexts->Item(szKey), xx.colTexts->Item(szKey));
      }
    }

    std::string sOut;
    EXPECT_EQ(0, lngcheck::Run({u"lngcheck", u"--werror", u"--reference", ref.szPath, sFile, ref.szMain}, &sOut, &sErr))
        << sOut;
  }
}

}  // namespace
