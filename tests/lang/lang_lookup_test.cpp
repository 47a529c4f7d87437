// Item, ItemFind and ItemSet over a loaded language and without one.
#include <gtest/gtest.h>

#include "lang_test_util.h"

namespace {

using langtest::CrLf;
using langtest::Reports;
using langtest::WriteFile;

TEST(LangLookup, ItemFormatsFoundAndMissingTexts) {
  TempFolder folder;
  std::u16string sPath = WriteFile(folder, "EN.lng", langtest::LangFile("EN", {"[App]", "globals = \"texts\"", "[App.texts]",
                                                        "LID_Lines = \"Line one\\nLine two\\tTabbed \\\\ done\"",
                                                        "LID_FOUND = \"Found %d files in '%s' (100%% done)\""}));
  CLang oLang;
  ASSERT_TRUE(oLang.Init(sPath, u"App"));
  LogCapture log;
  EXPECT_TRUE(oLang.Item(u"lid_lines") == u"Line one\r\nLine two\tTabbed \\ done");
  EXPECT_TRUE(oLang.Item(u"LID_LINES") == oLang.Item(u"lid_lines"));
  EXPECT_TRUE(oLang.Item(u"LID_FOUND", {3, u"Inbox"}) == u"Found 3 files in 'Inbox' (100% done)");
  EXPECT_TRUE(Reports(log).empty());

  EXPECT_TRUE(oLang.Item(u"NO_SUCH_KEY") == u"NO_SUCH_KEY");
  EXPECT_TRUE(oLang.Item(u"Size %d", {5}) == u"Size 5");
  EXPECT_EQ((std::vector<std::string>{"E CLang.Item 0 Key 'NO_SUCH_KEY' not exists in " + base::ToUtf8(sPath),
                                      "E CLang.Item 0 Key 'Size %d' not exists in " + base::ToUtf8(sPath)}),
            Reports(log));
}

TEST(LangLookup, ItemPluralPicksTheFormOfTheRule) {
  const std::string kRu = "nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || "
                          "n%100>=20) ? 1 : 2);";
  const std::string kNotRead = "E CLang.Init 0 file '@' has a plural rule that cannot be read (";
  const struct {
    std::string sPlural;  // empty: no plural entry
    const char16_t* sKey;
    int64_t n;
    std::u16string out;
    std::vector<std::string> reports;  // "@" stands for the file's path
  } cases[] = {
      {"", u"LID_DAYS", 1, u"1:0", {}},
      {"", u"lid_days", 0, u"0:1", {}},
      {"", u"LID_DAYS", -1, u"-1:0", {}},
      {kRu, u"LID_DAYS", 1, u"1:0", {}},
      {kRu, u"LID_DAYS", 3, u"3:1", {}},
      {kRu, u"LID_DAYS", 5, u"5:2", {}},
      {kRu, u"LID_DAYS", 11, u"11:2", {}},
      {kRu, u"LID_DAYS", 21, u"21:0", {}},
      {kRu, u"LID_DAYS", 112, u"112:2", {}},
      {kRu, u"LID_DAYS", 1001, u"1001:0", {}},  // past the forms tabled at the load: the rule runs
      {kRu, u"LID_DAYS", 100022, u"100022:1", {}},
      {"nplurals=3; plural=n==0 || n>=1000 ? 2 : !(n<500) && n-500<10 ? 1 : 0;", u"LID_DAYS", 5000, u"5000:2", {}},
      {"nplurals=3; plural=n==0 || n>=1000 ? 2 : !(n<500) && n-500<10 ? 1 : 0;", u"LID_DAYS", 505, u"505:1", {}},
      {"nplurals=3; plural=n==0 || n>=1000 ? 2 : !(n<500) && n-500<10 ? 1 : 0;", u"LID_DAYS", 515, u"515:0", {}},
      {kRu, u"LID_DAYS", INT64_MIN, u"0:2", {}},
      {"nplurals=1; plural=0;", u"LID_DAYS", 7, u"7:0", {}},
      {" nplurals = 2 ; plural = n == 0 ? 0 : 10 / n ", u"LID_DAYS", 0, u"0:0", {}},
      {"nplurals=3; plural=10/(n-n)+2;", u"LID_DAYS", 5, u"5:0", {}},  // divides by zero: form 0
      {"nplurals=2; plural=n+1;", u"LID_DAYS", 5, u"5:0", {}},         // beyond nplurals: form 0
      {"nplurals=2; plural=!!(n>=2)", u"LID_DAYS", 2, u"2:1", {}},
      {"plural=n%10==1 ? 0 : 1; nplurals=2;", u"LID_DAYS", 21, u"21:0", {}},  // either order, as gettext takes it
      {" plural = n>=2 ? 2 : 0 ; nplurals = 3 ", u"LID_DAYS", 5, u"5:2", {}},
      {kRu, u"LID_TWO", 5, u"5:0",
       {"E CLang.ItemPlural 0 Key 'LID_TWO[2]' not exists in @; form 0 is used"}},
      {"", u"LID_NONE", 5, u"LID_NONE", {"E CLang.ItemPlural 0 Key 'LID_NONE[1]' not exists in @; form 0 is used",
                                                    "E CLang.Item 0 Key 'LID_NONE[0]' not exists in @"}},
      {"nplurals=2; plural=n >;", u"LID_DAYS", 2, u"2:1", {kNotRead + "n, a number, '!' or '(' expected at character 23); English plurals are used"}},
      {"nplurals=0; plural=0;", u"LID_DAYS", 1, u"1:0", {kNotRead + "nplurals must be 1 to 16 at character 11); English plurals are used"}},
      {"plural=n!=1;", u"LID_DAYS", 1, u"1:0", {kNotRead + "'nplurals' expected at character 13); English plurals are used"}},
      {"nplurals=2; plural=" + std::string(60, '(') + "n" + std::string(60, ')') + ";", u"LID_DAYS", 1, u"1:0",
       {kNotRead + "the expression is nested too deeply at character 40); English plurals are used"}},
      {"nplurals=2; plural=n" + std::string(300, '+') + ";", u"LID_DAYS", 1, u"1:0",
       {kNotRead + "n, a number, '!' or '(' expected at character 22); English plurals are used"}},
      {"nplurals=2; plural=99999999999999999999;", u"LID_DAYS", 1, u"1:0",
       {kNotRead + "a number too large at character 39); English plurals are used"}},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    std::string sVersion = c.sPlural.empty() ? "; no rule" : "plural = \"" + c.sPlural + "\"";
    std::u16string sPath = WriteFile(folder, "XX.lng", langtest::LangFile("XX", {sVersion, "[App]", "globals = \"texts\"",
                                       "[App.texts]", "LID_DAYS[0] = \"%d:0\"", "LID_DAYS[1] = \"%d:1\"",
                                       "Lid_Days[2] = \"%d:2\"", "LID_TWO[0] = \"%d:0\"", "LID_TWO[1] = \"%d:1\""}));
    LogCapture log;
    CLang oLang;
    ASSERT_TRUE(oLang.Init(sPath, u"App"));
    EXPECT_EQ(base::ToUtf8(c.out), base::ToUtf8(oLang.ItemPlural(c.sKey, c.n, {static_cast<int32_t>(c.n)}))) << c.sPlural << " " << c.n;
    std::vector<std::string> expected;
    for (std::string r : c.reports) expected.push_back(r.replace(r.find('@'), 1, base::ToUtf8(sPath)));
    EXPECT_EQ(expected, Reports(log)) << c.sPlural;
  }
}

TEST(LangLookup, ItemSetAndItemFind) {
  CLang oLang;  // new: an empty collection
  EXPECT_FALSE(oLang.ItemFind(u"x"));
  oLang.ItemSet(u"X", u"a\\tb");
  EXPECT_TRUE(oLang.ItemFind(u"x"));
  EXPECT_TRUE(oLang.Item(u"x") == u"a\tb");
  oLang.ItemSet(u"x", u"c");
  EXPECT_TRUE(oLang.Item(u"X") == u"c");
  EXPECT_FALSE(base::HasPending());
}

TEST(LangLookup, WithoutALanguage) {
  TempFolder folder;
  CLang oLang;
  LogCapture log;
  EXPECT_FALSE(oLang.Init(langtest::In(folder, "missing.lng"), u"App"));  // leaves no collection
  log.Clear();
  EXPECT_TRUE(oLang.Item(u"LID_TITLE") == u"LID_TITLE");
  EXPECT_TRUE(oLang.Item(u"a\\nb") == u"a\r\nb");
  EXPECT_FALSE(oLang.ItemFind(u"LID_TITLE"));
  oLang.ItemSet(u"k", u"v");  // no collection: nothing to change, nothing raised
  EXPECT_FALSE(oLang.ItemFind(u"k"));
  EXPECT_EQ((std::vector<std::string>{"E CLang.Item 0 Key 'LID_TITLE' not exists in ",
                                      "E CLang.Item 0 Key 'a\\nb' not exists in "}),
            Reports(log));
  EXPECT_FALSE(base::HasPending());
}

}  // namespace
