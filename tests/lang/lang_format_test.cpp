// sprintf2 (escapes), sprintf1 (placeholders) and InStrAny.
#include <gtest/gtest.h>

#include "lang_test_util.h"

namespace {

using base::Variant;
using base::VariantList;
using langtest::Reports;
using langtest::TestableLang;

struct EscapeCase {
  std::u16string in, out;
  std::vector<std::string> reports;
};

TEST(LangFormat, Sprintf2Escapes) {
  const EscapeCase cases[] = {
      {u"Line one\\nLine two\\tTabbed \\\\ done", u"Line one\r\nLine two\tTabbed \\ done", {}},
      {u"\\N\\T", u"\r\n\t", {}},
      {u"\\\\n", u"\\n", {}},
      {u"say \\\"hi\\\"", u"say \"hi\"", {}},
      {u"C:\\Work\\Query", u"C:\\Work\\Query",
       {"E CLang::sprintf2 0 Invalid format specificator '\\W'; C:\\Work\\Query",
        "E CLang::sprintf2 0 Invalid format specificator '\\Q'; C:\\Work\\Query"}},
      {u"C:\\Temp", u"C:\temp", {}},
      {u"a\\tb\\x", u"a\tb\\x", {"E CLang::sprintf2 0 Invalid format specificator '\\x'; a\tb\\x"}},
      {u"end\\", u"end\\", {"E CLang::sprintf2 0 Invalid format specificator '\\'; end\\"}},
      {u"", u"", {}},
  };
  for (const auto& c : cases) {
    LogCapture log;
    TestableLang o;
    EXPECT_EQ(base::ToUtf8(c.out), base::ToUtf8(o.sprintf2(c.in))) << base::ToUtf8(c.in);
    EXPECT_EQ(c.reports, Reports(log)) << base::ToUtf8(c.in);
  }
}

struct FormatCase {
  std::u16string format;
  VariantList params;
  std::u16string out;
  std::vector<std::string> reports;  // errors and debug notes
};

TEST(LangFormat, Sprintf1Placeholders) {
  const std::u16string kFound = u"Found %d files in '%s' (100%% done)";
  const FormatCase cases[] = {
      {kFound, {3, u"Inbox"}, u"Found 3 files in 'Inbox' (100% done)", {}},
      {kFound, {3, u"Inbox", u"extra"}, u"Found 3 files in 'Inbox' (100% done)", {}},
      {kFound, {VariantList{3, u"Inbox"}}, u"Found 3 files in 'Inbox' (100% done)", {}},
      {kFound, {3}, kFound, {"E CLang::sprintf1 9 Subscript out of range; " + base::ToUtf8(kFound)}},
      {u"%d|%d|%d|%d", {u"12", 2.5, 3.5, true}, u"12|2|4|-1", {}},
      {u"%d", {u"abc"}, u"%d",
       {"D CLang::sprintf1 0 Not IsNumeric(8), Typename = String", "E CLang::sprintf1 13 Type mismatch; %d"}},
      {u"%d", {3e10}, u"%d", {"E CLang::sprintf1 6 Overflow; %d"}},
      {u"%s", {Variant::Null()}, u"%s",
       {"D CLang::sprintf1 0 VarType(1) <> vbString, Typename = Null", "E CLang::sprintf1 94 Invalid use of Null; %s"}},
      {u"%s and %s", {5, false}, u"5 and False",
       {"D CLang::sprintf1 0 VarType(3) <> vbString, Typename = Long",
        "D CLang::sprintf1 0 VarType(11) <> vbString, Typename = Boolean"}},
      {u"Rate: 50%x off", {}, u"Rate: 50 off", {"E CLang::sprintf1 0 Invalid format specificator(x)"}},
      {u"100%", {}, u"100", {"E CLang::sprintf1 0 Invalid format specificator()"}},
      {u"%S", {u"x"}, u"", {"E CLang::sprintf1 0 Invalid format specificator(S)"}},
      {u"[%s]\\n", {u"%s\\n"}, u"[%s\\n]\r\n", {}},
  };
  for (const auto& c : cases) {
    LogCapture log;
    TestableLang o;
    EXPECT_EQ(base::ToUtf8(c.out), base::ToUtf8(o.sprintf1(c.format, c.params))) << base::ToUtf8(c.format);
    EXPECT_EQ(c.reports, Reports(log, /*bWithDebug=*/true)) << base::ToUtf8(c.format);
    EXPECT_FALSE(base::HasPending());
  }
}

TEST(LangFormat, InStrAny) {
  TestableLang o;
  EXPECT_EQ(4, o.InStrAny(u"abc;def'g", u";'", 1));
  EXPECT_EQ(8, o.InStrAny(u"abc;def'g", u";'", 5));
  EXPECT_EQ(0, o.InStrAny(u"abc", u";'", 1));
  EXPECT_EQ(0, o.InStrAny(u"a;c", u"", 1));
  EXPECT_EQ(0, o.InStrAny(u"a;c", u";", 9));
}

}  // namespace
