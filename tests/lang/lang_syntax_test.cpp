// The language file's syntax as the engine and lngcheck both read and write it.
#include "twinsweep/lang/lang_syntax.h"

#include <gtest/gtest.h>

#include "twinsweep/base/text.h"

namespace twinsweep {
namespace {

// A value part (what follows "=") read to its value: blanks trimmed, the comment
// cut, the quotes removed.
TEST(LangSyntax, ValuePartReadToItsValue) {
  struct Case {
    std::u16string sPart;
    bool bOk;
    std::u16string sValueOrError;
  } cases[] = {
      {u" \t\"Open\"\t ", true, u"Open"},
      {u"\"Open\" ; the button", true, u"Open"},
      {u"\"Open\" ' the button", true, u"Open"},
      {u"\"a;b'c\" ; comment", true, u"a;b'c"},
      {u"\"say \"\"hi\"\"\"", true, u"say \"hi\""},
      {u"\"\"", true, u""},
      {u"\"\"\"\"", true, u"\""},
      // A comment character after the last quote cuts even inside an unclosed quote.
      {u"\"open ; comment", false, u"The string should be in quotes"},
      {u"Open", false, u"The string should be in quotes"},
      {u"\"", false, u"The string should be in quotes"},
      {u"\"a\"b\"", false, u"quoted string has unary quotes"},
      {u"\"a\"\"\"\"", false, u"quoted string has unary quotes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(base::ToUtf8(c.sPart));
    const std::u16string_view sPart = TrimBlanksView(c.sPart);
    std::u16string sValue(TrimBlanksView(sPart.substr(0, CommentCut(sPart)))), sError;
    ASSERT_EQ(UnquoteValue(sValue, sError), c.bOk);
    EXPECT_EQ(c.bOk ? sValue : sError, c.sValueOrError);
  }
}

// A text put into a quoted value reads back as itself.
TEST(LangSyntax, QuotedValueReadsBack) {
  struct Case {
    std::u16string sText;
    std::u16string sLine;  // written into "x = \"old\" ; kept"
  } cases[] = {
      {u"New", u"x = \"New\" ; kept"},
      {u"", u"x = \"\" ; kept"},
      {u"say \"hi\"", u"x = \"say \"\"hi\"\"\" ; kept"},
      {u"\"", u"x = \"\"\"\" ; kept"},
  };
  const std::u16string sLine = u"x = \"old\" ; kept";
  for (const Case& c : cases) {
    SCOPED_TRACE(base::ToUtf8(c.sText));
    const std::u16string sNew = WithQuotedValue(sLine, 5, 8, c.sText);
    EXPECT_EQ(sNew, c.sLine);
    EXPECT_EQ(UndoubleQuotes(DoubleQuotes(c.sText)), c.sText);
    std::u16string sValue(TrimBlanksView(std::u16string_view(sNew).substr(4, CommentCut(sNew.substr(4))))), sError;
    ASSERT_TRUE(UnquoteValue(sValue, sError));
    EXPECT_EQ(sValue, c.sText);
  }
}

}  // namespace
}  // namespace twinsweep
