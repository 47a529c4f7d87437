// sprintf2 (escapes), sprintf1 (placeholders) and InStrAny.
#include <gtest/gtest.h>

#include <cctype>
#include <limits>

#include "lang_test_util.h"
#include "twinsweep/lang/lang_format.h"
#include "support/fake_desktop.h"

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
    EXPECT_EQ(base::ToUtf8(c.out), base::ToUtf8(sprintf2(c.in))) << base::ToUtf8(c.in);
    EXPECT_EQ(c.reports, Reports(log)) << base::ToUtf8(c.in);
  }
}

// One report a case expects: an error, compared whole as Describe gives it, or a
// debug note about a parameter, which must come from sprintf1 and name the
// parameter's variant type code and type name, in whatever words.
struct Report {
  std::string sError;
  int32_t nVarType = 0;
  std::string sTypeName;
};
Report Error(std::string sError) { return {std::move(sError), 0, ""}; }
Report Note(int32_t nVarType, std::string sTypeName) { return {"", nVarType, std::move(sTypeName)}; }

std::string Expected(const Report& r) {
  return r.sError.empty() ? "D CLang::sprintf1 note on " + std::to_string(r.nVarType) + " " + r.sTypeName : r.sError;
}

// The number as a whole number of the text, not as a part of a longer one.
bool HasNumber(const std::string& sText, int32_t nNumber) {
  const std::string sNumber = std::to_string(nNumber);
  for (size_t p = sText.find(sNumber); p != std::string::npos; p = sText.find(sNumber, p + 1)) {
    const bool bDigitBefore = p > 0 && std::isdigit(static_cast<unsigned char>(sText[p - 1]));
    const size_t nEnd = p + sNumber.size();
    const bool bDigitAfter = nEnd < sText.size() && std::isdigit(static_cast<unsigned char>(sText[nEnd]));
    if (!bDigitBefore && !bDigitAfter) return true;
  }
  return false;
}

// The log in the form of the expected reports: a debug note that says what the
// expectation at its place asks for reads as that expectation, anything else as
// Describe gives it (so that a mismatch shows the whole entry).
std::vector<std::string> Observed(const LogCapture& log, const std::vector<Report>& expected) {
  std::vector<std::string> out;
  for (size_t i = 0; i < log.Entries().size(); ++i) {
    const mMain::LogEntry& e = log.Entries()[i];
    const std::string sText = base::ToUtf8(e.sText);
    const bool bNoteAsExpected = e.kind == mMain::LogEntry::Kind::Debug && i < expected.size() &&
                                 expected[i].sError.empty() && e.sSource == u"CLang::sprintf1" &&
                                 HasNumber(sText, expected[i].nVarType) &&
                                 sText.find(expected[i].sTypeName) != std::string::npos;
    out.push_back(bNoteAsExpected ? Expected(expected[i]) : langtest::Describe(e));
  }
  return out;
}

struct FormatCase {
  std::u16string format;
  VariantList params;
  std::u16string out;
  std::vector<Report> reports;  // errors and debug notes, in order
  // The values isolated as for a right-to-left language: on a system whose
  // shaping knows isolates (kIsolates) or on an older one (kEmbedded).
  enum { kAsTheyAre, kIsolates, kEmbedded } isolation = kAsTheyAre;
};

TEST(LangFormat, Sprintf1Placeholders) {
  const std::u16string kFound = u"Found %d files in '%s' (100%% done)";
  const FormatCase cases[] = {
      {kFound, {3, u"Inbox"}, u"Found 3 files in 'Inbox' (100% done)", {}},
      {kFound, {3, u"Inbox", u"extra"}, u"Found 3 files in 'Inbox' (100% done)", {}},
      {kFound, {VariantList{3, u"Inbox"}}, u"Found 3 files in 'Inbox' (100% done)", {}},
      {kFound, {3}, kFound, {Error("E CLang::sprintf1 9 Subscript out of range; " + base::ToUtf8(kFound))}},
      {u"%d|%d|%d|%d", {u"12", 2.5, 3.5, true}, u"12|2|4|-1", {}},
      {u"%d", {u"abc"}, u"%d", {Note(8, "String"), Error("E CLang::sprintf1 13 Type mismatch; %d")}},
      {u"%d", {3e10}, u"%d", {Error("E CLang::sprintf1 6 Overflow; %d")}},
      {u"%s", {Variant::Null()}, u"%s", {Note(1, "Null"), Error("E CLang::sprintf1 94 Invalid use of Null; %s")}},
      {u"%s and %s", {5, false}, u"5 and False", {Note(3, "Long"), Note(11, "Boolean")}},
      {u"Rate: 50%x off", {}, u"Rate: 50 off", {Error("E CLang::sprintf1 0 Invalid format specificator(x)")}},
      {u"100%", {}, u"100", {Error("E CLang::sprintf1 0 Invalid format specificator()")}},
      {u"%S", {u"x"}, u"", {Error("E CLang::sprintf1 0 Invalid format specificator(S)")}},
      {u"[%s]\\n", {u"%s\\n"}, u"[%s\\n]\r\n", {}},
      // Numbered placeholders: a translation reorders the parameters, all or none.
      {u"In '%2$s' %1$d Dateien gefunden (100%% fertig)", {3, u"Inbox"}, u"In 'Inbox' 3 Dateien gefunden (100% fertig)", {}},
      {u"%2$s%1$s%2$s", {u"a", u"b", u"unused"}, u"bab", {}},
      {u"%1$s and %s", {u"a", u"b"}, u"%1$s and %s",
       {Error("E CLang::sprintf1 0 Numbered and unnumbered placeholders mixed; %1$s and %s")}},
      {u"%d, %1$d\\t", {1}, u"%d, %1$d\t", {Error("E CLang::sprintf1 0 Numbered and unnumbered placeholders mixed; %d, %1$d\t")}},
      {u"%3$d", {1, 2}, u"%3$d", {Error("E CLang::sprintf1 9 Subscript out of range; %3$d")}},
      {u"%0$s", {u"x"}, u"%0$s", {Error("E CLang::sprintf1 9 Subscript out of range; %0$s")}},
      {u"%99999999999999999999999$s", {u"x"}, u"%99999999999999999999999$s",
       {Error("E CLang::sprintf1 9 Subscript out of range; %99999999999999999999999$s")}},
      {u"%1$x %1", {}, u"$x ", {Error("E CLang::sprintf1 0 Invalid format specificator(1)"),
                                 Error("E CLang::sprintf1 0 Invalid format specificator(1)")}},
      // printf's flags, width and precision after the number; a text cut to the
      // precision or padded to the width in characters, never halving a pair.
      {u"[%1$7s|%1$-7s|%1$.3s|%1$7.2s|%2$.1s|%2$3s]", {u"Inbox", u"\U0001F600x"}, u"[  Inbox|Inbox  |Inb|     In|\U0001F600| \U0001F600x]", {}},
      {u"[%2$-8d|%2$08d|%2$+d|%2$ d|%2$.3d|%1$05d|%1$-+4d|%3$.0d]", {-5, 42, 0}, u"[42      |00000042|+42| 42|042|-0005|-5  |]", {}},
      {u"%1$12345s", {u"x"}, u"$12345s", {Error("E CLang::sprintf1 0 Invalid format specificator(1)")}},
      // Dates at the ends of the valid range (100-01-01 to 9999-12-31), then any value
      // beyond it: a date far out of range fails as an overflow, never converted.
      {u"%s", {Variant(base::Date{2958465.5})}, u"9999-12-31 12:00:00", {Note(7, "Date")}},
      {u"%s", {Variant(base::Date{-657434.5})}, u"0100-01-01 12:00:00", {Note(7, "Date")}},
      {u"%s", {Variant(base::Date{2958466.0})}, u"%s", {Note(7, "Date"), Error("E CLang::sprintf1 6 Overflow; %s")}},
      {u"%s", {Variant(base::Date{2958465.99999999})}, u"%s",
       {Note(7, "Date"), Error("E CLang::sprintf1 6 Overflow; %s")}},
      {u"%s", {Variant(base::Date{-657435.0})}, u"%s", {Note(7, "Date"), Error("E CLang::sprintf1 6 Overflow; %s")}},
      {u"%s", {Variant(base::Date{-1e300})}, u"%s", {Note(7, "Date"), Error("E CLang::sprintf1 6 Overflow; %s")}},
      {u"%s", {Variant(base::Date{std::numeric_limits<double>::quiet_NaN()})}, u"%s",
       {Note(7, "Date"), Error("E CLang::sprintf1 6 Overflow; %s")}},
      {u"%d", {Variant(base::Date{1e300})}, u"%d", {Note(7, "Date"), Error("E CLang::sprintf1 6 Overflow; %d")}},
      // In a right-to-left language each value keeps its own order, and only the values.
      {u"נמצאו %d קבצים ב-'%s' (100%%)", {3, u"C:\\Program Files"}, u"נמצאו \u20683\u2069 קבצים ב-'\u2068C:\\Program Files\u2069' (100%)", {}, FormatCase::kIsolates},
      {u"%2$s:%1$s", {u"a", u"ب"}, u"\u2068ب\u2069:\u2068a\u2069", {}, FormatCase::kIsolates},
      {u"%s|%s|%d|%s", {u"C:\\x", u"שלום", 7, u""}, u"\u202AC:\\x\u202C|\u202Bשלום\u202C|\u202A7\u202C|\u202A\u202C", {}, FormatCase::kEmbedded},
      {u"%s%%", {u"a"}, u"\u2068a\u2069%", {}, FormatCase::kIsolates},
      {u"%1$4s|%2$.1s", {u"ab", u"xyz"}, u"\u2068  ab\u2069|\u2068x\u2069", {}, FormatCase::kIsolates},  // marks outside the width
  };
  for (const auto& c : cases) {
    LogCapture log;
    testing_support::FakeApp app;
    app.bShapingKnowsIsolates = c.isolation != FormatCase::kEmbedded;
    platform::ScopedOverride<platform::IApp> appOverride(app);
    EXPECT_EQ(base::ToUtf8(c.out), base::ToUtf8(sprintf1(c.format, c.params, c.isolation != FormatCase::kAsTheyAre)))
        << base::ToUtf8(c.format);
    std::vector<std::string> expected;
    for (const Report& r : c.reports) expected.push_back(Expected(r));
    EXPECT_EQ(expected, Observed(log, c.reports)) << base::ToUtf8(c.format);
    EXPECT_FALSE(base::HasPending());
  }
}

TEST(LangFormat, InStrAny) {
  EXPECT_EQ(4, InStrAny(u"abc;def'g", u";'", 1));
  EXPECT_EQ(8, InStrAny(u"abc;def'g", u";'", 5));
  EXPECT_EQ(0, InStrAny(u"abc", u";'", 1));
  EXPECT_EQ(0, InStrAny(u"a;c", u"", 1));
  EXPECT_EQ(0, InStrAny(u"a;c", u";", 9));
}

}  // namespace
