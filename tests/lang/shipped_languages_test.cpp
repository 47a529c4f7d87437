// Every language file the launcher ships loads for its main section and has the
// texts the launcher asks for.
#include <gtest/gtest.h>

#include "lang_test_util.h"
#include "support/source_languages.h"

namespace {

std::u16string LanguagesFolder() { return testing_support::ShippedLanguagesFolder(TWINSWEEP_SOURCE_DIR); }

TEST(ShippedLanguages, EveryFileLoadsWithBothTexts) {
  const std::u16string sFolder = LanguagesFolder();
  langtest::TestableLang lister;
  LogCapture log;
  auto list = lister.GetAvailableLangs(sFolder, u"");
  std::vector<std::string> ids;
  for (const auto& e : *list) {
    std::u16string sName(e.item.substr(e.item.rfind(u"\r\n") + 2));
    std::u16string sID(e.item.substr(0, e.item.find(u"\r\n")));
    ids.push_back(base::ToUtf8(sID));
    SCOPED_TRACE(base::ToUtf8(sName));
    EXPECT_EQ(sID + u".lng", sName);
    CLang o;
    ASSERT_TRUE(o.Init(sFolder + u"\\" + sName, u"TwinsweepLauncher"));
    EXPECT_TRUE(o.ItemFind(u"LID_TITLE"));
    EXPECT_TRUE(o.ItemFind(u"LID_RUN_OUTLOOK"));
    std::u16string sQuestion = o.Item(u"LID_RUN_OUTLOOK");
    EXPECT_NE(std::u16string::npos, sQuestion.find(u"Outlook"));
    EXPECT_NE(std::u16string::npos, sQuestion.find(u"\r\n"));  // the question stands on its own line
  }
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ((std::vector<std::string>{"AR", "DE", "EN", "ES", "FR", "IT", "JA", "RU"}), ids);
  EXPECT_TRUE(langtest::Reports(log).empty()) << langtest::Reports(log)[0];
}

}  // namespace
