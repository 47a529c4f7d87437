// The language file's syntax as the engine and lngcheck both read and write it.
#include "twinsweep/lang/lang_syntax.h"

#include <gtest/gtest.h>

#include <vector>

#include "twinsweep/base/text.h"

namespace twinsweep {
namespace {

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

// Escapes resolved with the caller's line break; any other backslash is kept and
// reported where it stands.
TEST(LangSyntax, EscapesResolved) {
  struct Case {
    std::u16string sIn, sOut;
    std::vector<size_t> invalidAt;
  } cases[] = {
      {u"a\\nb\\Tc\\\\d\\\"e", u"a|b\tc\\d\"e", {}},
      {u"a\\N", u"a|", {}},
      {u"C:\\Work\\query", u"C:\\Work\\query", {2, 7}},
      {u"end\\", u"end\\", {3}},
      {u"\\\\n", u"\\n", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(base::ToUtf8(c.sIn));
    std::u16string sOut = u">";
    size_t nDone = 0;
    std::vector<size_t> invalidAt;
    AppendResolvedEscapes(c.sIn, u"|", sOut, nDone, [&](std::u16string_view, size_t nAt) { invalidAt.push_back(nAt); });
    EXPECT_EQ(sOut, u">" + c.sOut);
    EXPECT_EQ(nDone, c.sIn.size());
    EXPECT_EQ(invalidAt, c.invalidAt);
    EXPECT_EQ(ResolveEscapes(c.sIn, u"|"), c.sOut);
  }
}

TEST(LangSyntax, EscapeValueDoublesBackslashesFirst) {
  struct {
    const char16_t* sIn;
    const char16_t* sOut;
  } cases[] = {
      {u"plain", u"plain"},
      {u"a\\b", u"a\\\\b"},
      {u"two\r\nlines", u"two\\nlines"},
      {u"lone\rcr\nlf", u"lone\rcr\nlf"},
      {u"tab\there", u"tab\\there"},
      {u"say \"hi\"", u"say \"\"hi\"\""},
      {u"\\n\r\n", u"\\\\n\\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(EscapeValue(c.sIn), c.sOut) << base::ToUtf8(c.sIn);
}

TEST(LangSyntax, TabAlignPutsTheEqualsSignAtColumn32) {
  // Characters before the "=" and the tabs inserted with four tab stops.
  const std::pair<int, int> cases[] = {{0, 4}, {7, 4}, {8, 3}, {15, 3}, {16, 2}, {23, 2}, {24, 1}, {30, 1}, {31, 0},
                                       {40, 0}};
  for (auto [nBefore, nTabs] : cases) {
    const std::u16string sKey(static_cast<size_t>(nBefore), u'k');
    EXPECT_EQ(TabAlign(sKey + u"=\"v=w\"", 4), sKey + std::u16string(static_cast<size_t>(nTabs), u'\t') + u"=\"v=w\"")
        << nBefore;
  }
  EXPECT_EQ(TabAlign(u"no equals", 4), u"no equals");
}

}  // namespace
}  // namespace twinsweep
