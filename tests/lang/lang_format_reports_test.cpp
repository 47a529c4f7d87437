// How many reports a text full of invalid escapes makes: the first few one by
// one, the rest counted in one, so that the cost of a text stays linear.
#include "lang/lang_test_util.h"

namespace {

TEST(LangFormatReports, ManyInvalidEscapesAreReportedFirstOneByOneThenCounted) {
  for (int nInvalid : {1, 8, 9, 20}) {
    SCOPED_TRACE(nInvalid);
    LogCapture log;
    TestableLang lang;
    std::u16string sText;
    for (int i = 0; i < nInvalid; ++i) sText += u"\\q";
    EXPECT_EQ(lang.sprintf2(sText + u"\\n"), sText + u"\r\n");
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
