// CLang::ReadSection and the string operations of the language-file syntax.
#include <gtest/gtest.h>

#include "lang_test_util.h"

namespace {

using langtest::CrLf;
using langtest::Reports;
using langtest::TestableLang;
using langtest::WriteFile;

struct Parsed {
  bool bResult = false;
  CLang::TextCollection values;
  CLang::TextCollection names;
  std::vector<std::string> reports;
  std::string path;
};

Parsed Parse(const std::string& sBytes, const std::u16string& sSection, const std::u16string& sPrefix = u"",
             bool bNames = true) {
  TempFolder folder;
  std::u16string sPath = WriteFile(folder, "p.lng", sBytes);
  Parsed p;
  p.path = base::ToUtf8(sPath);
  LogCapture log;
  TestableLang oLang;
  p.bResult = oLang.ReadSection(sPath, sSection, p.values, sPrefix, bNames ? &p.names : nullptr);
  p.reports = Reports(log);
  return p;
}

std::string ValueOf(const CLang::TextCollection& c, const std::u16string& sKey) {
  const auto s = c.Find(sKey);
  return s ? base::ToUtf8(*s) : "<none>";
}

// Section headers, read as the wanted section "version", before its entry and
// as the header that would end it.
struct HeaderCase {
  std::string line;
  bool bStarts;         // opens the section "version"
  std::string report;   // "" when the header is well-formed; %L stands for the line number
};

class ReadSectionHeaders : public ::testing::TestWithParam<HeaderCase> {};

std::string Expand(std::string s, int nLine, const std::string& sPath) {
  size_t p = s.find("%L");
  if (p != std::string::npos) s.replace(p, 2, std::to_string(nLine));
  p = s.find("%F");
  if (p != std::string::npos) s.replace(p, 2, sPath);
  return s;
}

TEST_P(ReadSectionHeaders, AsTheSectionsFirstLine) {
  const HeaderCase& c = GetParam();
  Parsed p = Parse(CrLf({c.line, "k = \"v\""}), u"version");
  if (c.report.empty()) {
    EXPECT_EQ(c.bStarts, p.bResult);
    EXPECT_EQ(c.bStarts ? "v" : "<none>", ValueOf(p.values, u"k"));
    EXPECT_TRUE(p.reports.empty());
  } else {
    EXPECT_FALSE(p.bResult);
    EXPECT_EQ(std::vector<std::string>{"E CLang.ReadSection 0 " + Expand(c.report, 1, p.path)}, p.reports);
  }
}

TEST_P(ReadSectionHeaders, AsTheHeaderAfterTheSection) {
  const HeaderCase& c = GetParam();
  Parsed p = Parse(CrLf({"; lead", "[version]", "k = \"v\"", c.line, "k2 = \"w\""}), u"version");
  EXPECT_EQ("v", ValueOf(p.values, u"k"));  // entries read before a failure stay
  EXPECT_EQ(c.report.empty(), p.bResult);
  if (!c.report.empty()) {
    EXPECT_EQ(std::vector<std::string>{"E CLang.ReadSection 0 " + Expand(c.report, 4, p.path)}, p.reports);
  } else {
    // A header that is the same section again ends it like any other.
    EXPECT_EQ("<none>", ValueOf(p.values, u"k2"));
  }
}

TEST_P(ReadSectionHeaders, BeforeTheSection) {
  const HeaderCase& c = GetParam();
  Parsed p = Parse(CrLf({c.line, "[version]", "k = \"v\""}), u"version");
  if (c.report.empty()) {
    // A well-formed header before the section, even the section's own name, is harmless.
    EXPECT_TRUE(p.bResult);
    EXPECT_TRUE(p.reports.empty());
  } else {
    EXPECT_FALSE(p.bResult);
    EXPECT_EQ(std::vector<std::string>{"E CLang.ReadSection 0 " + Expand(c.report, 1, p.path)}, p.reports);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadSectionHeaders,
    ::testing::Values(HeaderCase{"[VERSION]", true, ""}, HeaderCase{"[ version ]", false, ""},
                      HeaderCase{"[version]   ; comment", true, ""}, HeaderCase{"\t[version]\t' comment", true, ""},
                      HeaderCase{"[version] x", false, "'x' is not the comment, line - %L, file = '%F'"},
                      HeaderCase{"[]", false, "empty section name, line - %L, file = '%F'"},
                      HeaderCase{"[abc", false, "symbol ']' is absent, line = %L, file = '%F'"}));

// Entries of the wanted section: the text stored under "k", or the report.
struct EntryCase {
  std::string line;
  std::u16string key;    // lower-cased key the text is stored under
  std::u16string text;   // expected text when report is empty
  std::string report;    // %L line number, %F path
};

class ReadSectionEntries : public ::testing::TestWithParam<EntryCase> {};

TEST_P(ReadSectionEntries, GiveTextOrReport) {
  const EntryCase& c = GetParam();
  Parsed p = Parse(CrLf({"[s]", c.line, "last = \"z\""}), u"s");
  EXPECT_TRUE(p.bResult);
  EXPECT_EQ("z", ValueOf(p.values, u"last"));  // a bad entry never stops the reading
  if (c.report.empty()) {
    const auto s = p.values.Find(c.key);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(base::ToUtf8(c.text), base::ToUtf8(*s));
    EXPECT_TRUE(p.reports.empty()) << p.reports[0];
  } else {
    EXPECT_EQ(1, p.values.Count());
    EXPECT_EQ(std::vector<std::string>{"E CLang.ReadSection 0 " + Expand(c.report, 2, p.path)}, p.reports);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadSectionEntries,
    ::testing::Values(
        EntryCase{"k = \"a;b\"", u"k", u"a;b", ""}, EntryCase{"k = \"it's\"", u"k", u"it's", ""},
        EntryCase{"k = \"x\" ; note", u"k", u"x", ""}, EntryCase{"k = \"x\"\t' note", u"k", u"x", ""},
        EntryCase{"k = \"say \"\"hi\"\"\"", u"k", u"say \"hi\"", ""}, EntryCase{"k = \"\"", u"k", u"", ""},
        EntryCase{"k = \"a=b\"", u"k", u"a=b", ""},
        EntryCase{"k = \"a\"\"';\"\"b\" ;x", u"k", u"a\"';\"b", ""},
        EntryCase{"k = \"a\\nb\"", u"k", u"a\\nb", ""},
        EntryCase{"\t LID A \t=\t\"x\" \t", u"lid a", u"x", ""},
        EntryCase{"k = \"a\"b\"", u"k", u"", "Syntactic error - 'quoted string has unary quotes', line - %L, file = '%F'"},
        EntryCase{"k = abc", u"k", u"", "Syntactic error - 'The string should be in quotes', line - %L, file = '%F'"},
        EntryCase{"k = abc ; note", u"k", u"", "Syntactic error - 'The string should be in quotes', line - %L, file = '%F'"},
        EntryCase{"k = \"", u"k", u"", "Syntactic error - 'The string should be in quotes', line - %L, file = '%F'"},
        EntryCase{"k =", u"k", u"", "Const's value does not exist, line - %L, file = '%F'"},
        EntryCase{"k = ; \"x\"", u"k", u"", "Const's value does not exist, line - %L, file = '%F'"},
        EntryCase{"= \"x\"", u"k", u"", "Const's name does not exist, line - %L, file = '%F'"},
        EntryCase{"k \"x\"", u"k", u"", "symbol '=' is absent, line = %L, file = '%F'"}));

TEST(ReadSection, RepeatedKeyKeepsTheFirstText) {
  Parsed p = Parse(CrLf({"[s]", "Key = \"1\"", "", "KEY = \"2\""}), u"s");
  EXPECT_TRUE(p.bResult);
  EXPECT_EQ("1", ValueOf(p.values, u"key"));
  EXPECT_EQ(1, p.names.Count());
  EXPECT_EQ("key", base::ToUtf8(p.names.Item(u"Key")));
  EXPECT_EQ(std::vector<std::string>{"E CLang.ReadSection 0 declaration of constant 'KEY' repeats in a line 4 of '" +
                                     p.path + "' file"},
            p.reports);
}

TEST(ReadSection, SectionBoundsAndPrefix) {
  std::string sFile = CrLf({"k0 = \"before any section\"", "[other]", "no equals here", "[s]", "cmdOK.Caption = \"OK\"",
                            "[after]", "x = \"y\""});
  Parsed p = Parse(sFile, u"S", u"frmMain");
  EXPECT_TRUE(p.bResult);
  EXPECT_EQ(1, p.values.Count());
  EXPECT_EQ("OK", ValueOf(p.values, u"frmmaincmdok.caption"));
  EXPECT_EQ("cmdok.caption", base::ToUtf8(p.names.Item(1)));
  EXPECT_TRUE(p.reports.empty());

  Parsed last = Parse(sFile, u"after", u"", /*bNames=*/false);
  EXPECT_TRUE(last.bResult);
  EXPECT_EQ("y", ValueOf(last.values, u"x"));
  EXPECT_TRUE(last.reports.empty());

  Parsed missing = Parse(sFile, u"nowhere");
  EXPECT_FALSE(missing.bResult);
  EXPECT_TRUE(missing.reports.empty());
}

TEST(ReadSection, FilesWithoutLines) {
  Parsed empty = Parse("", u"s");
  EXPECT_FALSE(empty.bResult);
  EXPECT_TRUE(empty.reports.empty());

  // The block that held only the mark gave no line, though the end was not seen yet.
  Parsed bomOnly = Parse(langtest::kBom, u"s");
  EXPECT_FALSE(bomOnly.bResult);
  EXPECT_EQ(std::vector<std::string>{"E CLang.ReadSection 0 oFile.ReadLine failed"}, bomOnly.reports);

  TempFolder folder;
  LogCapture log;
  TestableLang oLang;
  CLang::TextCollection c;
  EXPECT_FALSE(oLang.ReadSection(langtest::In(folder, "none.lng"), u"s", c, u"", nullptr));
  EXPECT_EQ(std::vector<std::string>{"E CLang.ReadSection 2 oFile.OpenFile failed"}, Reports(log));
}

}  // namespace
