// How many reports a text full of invalid escapes makes: the first few one by
// one, the rest counted in one, so that the cost of a text stays linear.
#include "lang/lang_test_util.h"
#include "twinsweep/lang/lang_format.h"

namespace {

TEST(LangFormatReports, ManyInvalidEscapesAreReportedFirstOneByOneThenCounted) {
  for (int nInvalid : {1, 8, 9, 20}) {
    SCOPED_TRACE(nInvalid);
    LogCapture log;
    std::u16string sText;
    for (int i = 0; i < nInvalid; ++i) sText += u"\\q";
    EXPECT_EQ(sprintf2(sText + u"\\n"), sText + u"\r\n");
    const std::vector<std::string> reports = langtest::Reports(log);
    ASSERT_EQ(reports.size(), static_cast<size_t>(nInvalid <= 8 ? nInvalid : 9));
    EXPECT_EQ(reports.front(), "E CLang::sprintf2 0 Invalid format specificator '\\q'; " + base::ToUtf8(sText) + "\\n");
    if (nInvalid > 8) {
      EXPECT_EQ(reports.back(), "E CLang::sprintf2 0 Invalid format specificators: " + std::to_string(nInvalid - 8) +
                                    " more; " + base::ToUtf8(sText) + "\r\n");
    }
  }
}

}  // namespace

// The problems one load finds in a file's lines follow the same rule: the first
// hundred one by one, the rest counted in one report at the load's end; the load
// itself reads every good entry, whatever stands between them.
TEST(LangFormatReports, ManyBrokenLinesOfOneLoadAreReportedFirstOneByOneThenCounted) {
  const struct {
    int nInTexts, nInMore;  // broken lines in each of two global sub-sections
    size_t nReports;        // of the problems, one by one plus the count
    std::string sCount;     // the counting report's number, "" when none
  } rows[] = {{1, 0, 1, ""}, {100, 0, 100, ""}, {60, 40, 100, ""}, {101, 0, 101, "1"}, {150, 200, 101, "250"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.nInTexts * 1000 + r.nInMore);
    std::string sFile = langtest::LangFile("EN", {"[M]", "globals = \"texts, more\"", "[M.texts]", "a = \"1\""});
    for (int i = 0; i < r.nInTexts; ++i) sFile += "broken\r\n";
    sFile += "[M.more]\r\nb = \"2\"\r\n";
    for (int i = 0; i < r.nInMore; ++i) sFile += "k =\r\n";
    sFile += "c = \"3\"\r\n";
    LogCapture log;
    TestableLang lang;
    ASSERT_TRUE(lang.InitFromMemory(u"f.lng", sFile, u"M"));
    EXPECT_EQ(lang.Item(u"a") + lang.Item(u"b") + lang.Item(u"c"), u"123");
    std::vector<std::string> reports;
    for (const std::string& s : langtest::Reports(log))
      if (s.find("CLang.ReadSection") != std::string::npos) reports.push_back(s);
    ASSERT_EQ(reports.size(), r.nReports);
    if (!r.sCount.empty()) {
      EXPECT_EQ(reports.back(), "E CLang.ReadSection 0 " + r.sCount + " more problems, file = 'f.lng'");
    }
    // A second load counts afresh.
    log.Clear();
    ASSERT_TRUE(lang.InitFromMemory(u"f.lng", sFile, u"M"));
    EXPECT_EQ(langtest::Reports(log).size(), r.nReports);
  }
}
