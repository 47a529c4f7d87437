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
