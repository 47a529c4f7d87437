// The pseudo-localizer's promise: its file loads, formats every text with the same
// substitutions as the reference, and passes the check against that reference.
#include <gtest/gtest.h>

#include "twinsweep/base/text.h"
#include "lang/testable_lang.h"
#include "twinsweep/lang/lang_format.h"
#include "twinsweep/platform/services.h"
#include "lngcheck.h"
#include "po_text.h"
#include "pseudo.h"
#include "support/log_capture.h"
#include "support/pass_through_files.h"
#include "support/temp_folder.h"

using namespace twinsweep;

namespace {

struct Reference {
  const char16_t* szPath;  // from the cases folder
  const char16_t* szMain;
};
const Reference kReferences[] = {{u"ref/EN.lng", u"Demo"}, {u"../../../languages/EN.lng", u"TwinsweepLauncher"}};

size_t Occurrences(const std::u16string& s, const std::u16string& sPart) {
  size_t n = 0;
  for (size_t p = s.find(sPart); p != std::u16string::npos; p = s.find(sPart, p + 1)) ++n;
  return n;
}

TEST(LngcheckPseudo, TextsAreWrappedAccentedAndPaddedWithTheirTokensKept) {
  const struct {
    std::u16string sIn, sOut;
  } kCases[] = {
      {u"Open", u"[Öpëñ··]"},
      {u"Found %d files\\n(100%%)", u"[Föüñð %d fîlëš\\n(100%%)······]"},
      {u"Say \"hi\" \\t %s", u"[Šáý \"hî\" \\t %s····]"},
      {u"", u""},
  };
  for (const auto& c : kCases) EXPECT_EQ(base::ToUtf8(c.sOut), base::ToUtf8(lngcheck::PseudoText(c.sIn)));
}

TEST(LngcheckPseudo, LoadsFormatsAlikeAndPassesTheCheck) {
  // Mirrored: the same texts in a language written right to left.
  for (const bool bMirrored : {false, true})
  for (const Reference& ref : kReferences) {
    SCOPED_TRACE(base::ToUtf8(ref.szPath) + (bMirrored ? " mirrored" : ""));
    std::string sPseudo, sErr;
    std::vector<std::u16string> args{u"lngcheck", u"--pseudo", ref.szPath, ref.szMain};
    if (bMirrored) args.insert(args.begin() + 2, u"--mirrored");
    ASSERT_EQ(0, lngcheck::Run(args, &sPseudo, &sErr)) << sErr;
    EXPECT_EQ("\xEF\xBB\xBF", sPseudo.substr(0, 3));
    const std::u16string sWhole = base::FromUtf8(sPseudo);
    EXPECT_EQ(Occurrences(sWhole, u"\n"), Occurrences(sWhole, u"\r\n"));  // CR LF line ends only
    testing_support::TempFolder folder;
    const std::u16string sFile = folder.Write(u"XX.lng", sPseudo);

    testing_support::LogCapture log;
    TestableLang en, xx;
    ASSERT_TRUE(en.Init(ref.szPath, ref.szMain));
    ASSERT_TRUE(xx.Init(sFile, ref.szMain)) << log.Lines().front();
    EXPECT_EQ(bMirrored ? u"XM" : u"XX", xx.LangID());
    EXPECT_EQ(bMirrored ? u"Pseudo mirrored" : u"Pseudo", xx.LangName());
    EXPECT_EQ(bMirrored, xx.RightToLeft());
    log.Clear();
    const base::VariantList params{base::Variant(int32_t{7001}), base::Variant(int32_t{7002}),
                                   base::Variant(int32_t{7003})};
    ASSERT_GT(en.colTexts->Count(), 0);
    for (const auto& e : *en.colTexts) {
      const std::u16string& sKey = *e.foldedKey;
      ASSERT_TRUE(xx.colTexts->Contains(sKey)) << base::ToUtf8(sKey);
      const std::u16string sEn = sprintf1(e.item, params);
      const std::u16string sXx = sprintf1(xx.colTexts->Item(sKey), params);
      for (const char16_t* szMark : {u"700", u"%", u"\r\n", u"\t"}) {
        EXPECT_EQ(Occurrences(sEn, szMark), Occurrences(sXx, szMark)) << base::ToUtf8(sKey) << " " << szMark;
      }
    }
    EXPECT_TRUE(log.Errors().empty()) << log.Lines().front();
    // Positions and pictures of forms are no texts: they stay as they are.
    for (const char16_t* szKey : {u"frmmaincmdok.left", u"frmmainimglogo.picture"}) {
      if (en.colTexts->Contains(szKey)) {
        EXPECT_EQ(en.colTexts->Item(szKey), xx.colTexts->Item(szKey));
      }
    }

    std::string sOut;
    EXPECT_EQ(0, lngcheck::Run({u"lngcheck", u"--werror", u"--reference", ref.szPath, sFile, ref.szMain}, &sOut, &sErr))
        << sOut;
  }
}

}  // namespace

// The PO round trip and --fix: what a translator's tools take out of a language
// file comes back into it byte for byte.

namespace {

std::string Read(const std::u16string& sPath) { return testing_support::ReadAll(sPath); }

struct Outcome {
  int nStatus;
  std::string sOut, sErr;
};
Outcome Lngcheck(std::vector<std::u16string> args) {
  args.insert(args.begin(), u"lngcheck");
  Outcome r;
  r.nStatus = lngcheck::Run(args, &r.sOut, &r.sErr);
  return r;
}

TEST(LngcheckPo, ShippedLanguagesComeBackByteForByte) {
  const struct {
    const char16_t* szFolder;  // from the cases folder
    const char16_t* szMain;
    std::vector<const char16_t*> files;
    bool bOwnLayout;  // the translations have layout entries of their own: they need their base
  } kFolders[] = {
      {u"../../../languages/", u"TwinsweepLauncher", {u"DE", u"EN", u"ES", u"FR", u"IT", u"JA", u"RU"}, false},
      {u"../../../examples/options_dialog/languages/", u"OptionsDialog", {u"DE", u"EN", u"JA", u"RU"}, true},
  };
  size_t nChecked = 0;
  for (const auto& folder : kFolders) {
    const std::u16string sRef = std::u16string(folder.szFolder) + u"EN.lng";
    for (const char16_t* szName : folder.files) {
      const std::u16string sFile = std::u16string(folder.szFolder) + szName + u".lng";
      SCOPED_TRACE(base::ToUtf8(sFile));
      const Outcome po = Lngcheck({u"--to-po", sRef, sFile, folder.szMain});
      ASSERT_EQ(0, po.nStatus) << po.sErr;
      testing_support::TempFolder tmp;
      const std::u16string sPo = tmp.Write(u"x.po", po.sOut);
      const Outcome withBase = Lngcheck({u"--from-po", sPo, sRef, u"--base", sFile, folder.szMain});
      ASSERT_EQ(0, withBase.nStatus) << withBase.sErr;
      EXPECT_EQ(Read(sFile), withBase.sOut);
      // The reference against itself keeps its own form only with itself as the base.
      if (!folder.bOwnLayout && std::u16string(szName) != u"EN") {
        const Outcome alone = Lngcheck({u"--from-po", sPo, sRef, folder.szMain});
        EXPECT_EQ(Read(sFile), alone.sOut) << alone.sErr;
      }
      ++nChecked;
    }
  }
  EXPECT_EQ(11u, nChecked);
}

TEST(LngcheckPo, EscapesMapToTheTextAndBack) {
  const struct {
    std::u16string sLng, sPo, sBack;  // sBack empty: sLng itself
  } kRows[] = {
      {u"Line one\\nLine two", u"Line one\nLine two", u""},
      {u"a\\tb", u"a\tb", u""},
      {u"C:\\\\Temp\\\\new", u"C:\\Temp\\new", u""},
      {u"say \"hi\"", u"say \"hi\"", u""},
      {u"100%% of %d", u"100%% of %d", u""},
      {u"\\\\n stays", u"\\n stays", u""},
      // Other spellings come back in the first form, which the program shows alike.
      {u"A\\NB\\TC", u"A\nB\tC", u"A\\nB\\tC"},
      {u"q\\\"", u"q\"", u"q\""},
      {u"odd \\W and \\", u"odd \\W and \\", u"odd \\\\W and \\\\"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(base::ToUtf8(row.sLng));
    EXPECT_EQ(base::ToUtf8(row.sPo), base::ToUtf8(lngcheck::LngToPoText(row.sLng)));
    EXPECT_EQ(base::ToUtf8(row.sBack.empty() ? row.sLng : row.sBack), base::ToUtf8(lngcheck::PoTextToLng(row.sPo)));
  }
  // Line breaks of any kind in a PO text are one "\n".
  EXPECT_EQ("a\\nb\\nc\\nd", base::ToUtf8(lngcheck::PoTextToLng(u"a\r\nb\nc\rd")));
}

// Only texts become messages: captions and tool tips of forms, every entry of a
// global sub-section; never the version, the main section, positions or pictures.
TEST(LngcheckPo, MessagesAreTheTextsWithTheirCommentsAndFormatFlags) {
  const Outcome po = Lngcheck({u"--to-po", u"ref/EN.lng", u"untranslated.lng", u"Demo"});
  ASSERT_EQ(0, po.nStatus) << po.sErr;
  std::vector<std::string> contexts;
  for (size_t p = po.sOut.find("msgctxt \""); p != std::string::npos; p = po.sOut.find("msgctxt \"", p + 1)) {
    contexts.push_back(po.sOut.substr(p + 9, po.sOut.find('"', p + 9) - p - 9));
  }
  EXPECT_EQ((std::vector<std::string>{"[Demo.texts] LID_HELLO", "[Demo.texts] LID_COUNT", "[Demo.texts] LID_TWO",
                                      "[Demo.texts] LID_QUOTE", "[Demo.texts] LID_NUM", "[Demo.frmMain] .Caption",
                                      "[Demo.frmMain] cmdOK", "[Demo.frmMain] cmdOK.ToolTipText"}),
            contexts);
  for (const char* szPart : {"\"Language: de\\n\"", "\"X-Lng-LangID: DE\\n\"", "\"X-Lng-Lang: Deutsch\\n\"",
                             "#: ref/EN.lng:12\n#, c-format\nmsgctxt \"[Demo.texts] LID_COUNT\"",
                             "msgid \"Say \\\"hi\\\"\\tnow\"\nmsgstr \"Sag \\\"hallo\\\"\\tjetzt\"",
                             "msgid \"\"\n\"Line one\\n\"\n\"Line two\"\n"}) {
    EXPECT_NE(std::string::npos, po.sOut.find(szPart)) << szPart << "\n" << po.sOut;
  }
  // A template: no translation, empty msgstr, the reference's heading.
  const Outcome pot = Lngcheck({u"--to-po", u"ref/EN.lng", u"Demo"});
  ASSERT_EQ(0, pot.nStatus) << pot.sErr;
  EXPECT_NE(std::string::npos, pot.sOut.find("msgid \"Main window\"\nmsgstr \"\"\n"));
  EXPECT_EQ(std::string::npos, pot.sOut.find("X-Lng-Lang"));
}

TEST(LngcheckPo, FromPoWritesTheTranslationOrRefusesTheFileWithItsLine) {
  const std::string kHeader =
      "# ; Demo, Deutsch\nmsgid \"\"\nmsgstr \"\"\n\"Language: de\\n\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
      "\"X-Lng-Lang: Deutsch\\n\"\n\n";
  const std::string kCount = "#, c-format\nmsgctxt \"[Demo.texts] LID_COUNT\"\nmsgid \"Found %d files in '%s' (100%% done)\"\n";
  const struct {
    const char* szName;
    std::string sPo;
    int nStatus;
    std::vector<std::string> expected;  // lines of the file made, or of the refusal
    std::u16string sLang = u"";         // --lang NAME, when given
  } kRows[] = {
      {"a translated text, its quotes doubled and its line break escaped",
       "# made in an editor\n" + kHeader + "msgctxt \"[Demo.texts] LID_TWO\"\nmsgid \"Line one\\nLine two\"\nmsgstr \"Zeile \\\"eins\\\"\\nZeile zwei\"\n\n"
                 "#, fuzzy\nmsgctxt \"[Demo.texts] LID_HELLO\"\nmsgid \"Hello\"\nmsgstr \"Hallo?\"\n",
       0,
       {"; made in an editor\r\n; Demo, Deutsch\r\n[version]", "lang      = \"Deutsch\"", "langid    = \"DE\"", "LID_TWO   = \"Zeile \"\"eins\"\"\\nZeile zwei\"",
        "LID_HELLO = \"Hello\"", "cmdOK.Left      = \"120\""}},
      {"C escapes of the PO file, a long hexadecimal one included",
       kHeader + "msgctxt \"[Demo.texts] LID_HELLO\"\nmsgid \"Hello\"\nmsgstr \"\\x4141414141414141414141\\101\\\\\"\n", 0,
       {"LID_HELLO = \"AA\\\\\""}},
      {"a placeholder of the translation that the reference does not have",
       kHeader + kCount + "msgstr \"%s Dateien in '%d'\"\n", 1,
       {"x.po:11:1: error: [Demo.texts] LID_COUNT: expects %d %s, found %s %d [format-mismatch]"}},
      {"a lone percent sign where the reference has two", kHeader + kCount + "msgstr \"%d Dateien in '%s' (100% fertig)\"\n",
       1, {"x.po:11:1: error: [Demo.texts] LID_COUNT: '%' starts no placeholder; write %% for a percent sign [bad-percent]"}},
      {"a lone percent sign in a text without placeholders, shown as written",
       kHeader + "msgctxt \"[Demo.texts] LID_NUM\"\nmsgid \"42\"\nmsgstr \"42 %\"\n", 0, {"LID_NUM   = \"42 %\""}},
      {"a string that does not end", kHeader + kCount + "msgstr \"offen\n", 1,
       {"x.po:11:1: error: the string has no closing quote [po]"}},
      {"no language's name and no base to take it from", "msgid \"\"\nmsgstr \"Language: qps_PLOC\\n\"\n", 1,
       {"x.po:1:1: error: no name is known for the language \"qps_PLOC\": give it as --lang NAME, as the language's "
        "speakers write it [po]"}},
      {"a code no table has, named by --lang", "msgid \"\"\nmsgstr \"Language: qps_PLOC\\n\"\n", 0,
       {"lang      = \"Pseudo\"", "langid    = \"QPS-PLOC\""}, u"Pseudo"},
      {"the language's own name by its code, the reference's name in the heading replaced",
       "# ; Demo texts, English\nmsgid \"\"\nmsgstr \"Language: pt_BR\\n\"\n", 0,
       {"; Demo texts, Portugu\u00eas (Brasil)\r\n", "lang      = \"Portugu\u00eas (Brasil)\"",
        "langid    = \"PT-BR\""}},
      {"the own name of zh_CN, X-Lng-LangID over Language",
       "msgid \"\"\nmsgstr \"Language: zh_CN\\n\"\n\"X-Lng-LangID: ZH\\n\"\n", 0,
       {"lang      = \"\u4e2d\u6587(\u7b80\u4f53)\"", "langid    = \"ZH\""}},
      {"X-Lng-Lang over --lang over the table", "msgid \"\"\nmsgstr \"Language: pl\\nX-Lng-Lang: polszczyzna\\n\"\n", 0,
       {"lang      = \"polszczyzna\"", "langid    = \"PL\""}, u"Polish"},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.szName);
    testing_support::TempFolder tmp;
    const std::u16string sPo = tmp.Write(u"x.po", row.sPo);
    Outcome r = row.sLang.empty() ? Lngcheck({u"--from-po", sPo, u"ref/EN.lng", u"Demo"})
                                  : Lngcheck({u"--from-po", sPo, u"ref/EN.lng", u"--lang", row.sLang, u"Demo"});
    ASSERT_EQ(row.nStatus, r.nStatus) << r.sErr;
    const std::string sText = r.nStatus ? r.sErr : r.sOut;
    if (r.nStatus) {
      EXPECT_TRUE(r.sOut.empty());
    } else {
      EXPECT_EQ("\xEF\xBB\xBF", r.sOut.substr(0, 3));
      EXPECT_EQ(std::string::npos, base::Replace(base::FromUtf8(r.sOut), u"\r\n", u"").find(u'\n'));
    }
    for (const std::string& sLine : row.expected) {
      const std::string sWhere = r.nStatus ? base::ToUtf8(sPo) + sLine.substr(4) : sLine;
      EXPECT_NE(std::string::npos, sText.find(sWhere)) << sWhere << "\n" << sText;
    }
  }
}

// The bytes of a file saved as UTF-16 with its mark.
std::string Utf16(const std::u16string& s, bool bBigEndian) {
  std::string r = bBigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : s) {
    const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
    r += bBigEndian ? hi : lo;
    r += bBigEndian ? lo : hi;
  }
  return r;
}

TEST(LngcheckFix, RewritesEncodingAndLineEndsOnly) {
  const std::string kText = "[version]\r\nlang = \"Espa\xC3\xB1ol\"\r\n";
  const struct {
    const char* szName;
    std::string sBytes;
  } kRows[] = {
      {"LF line ends", "\xEF\xBB\xBF[version]\nlang = \"Espa\xC3\xB1ol\"\n"},
      {"mixed line ends and a lone CR", "\xEF\xBB\xBF[version]\rlang = \"Espa\xC3\xB1ol\"\r\n"},
      {"UTF-8 without the mark", "[version]\r\nlang = \"Espa\xC3\xB1ol\"\r\n"},
      {"ANSI text", "[version]\r\nlang = \"Espa\xF1ol\"\r\n"},
      {"UTF-16 little-endian, LF", Utf16(u"[version]\nlang = \"Espa\u00F1ol\"\n", false)},
      {"UTF-16 big-endian", Utf16(u"[version]\r\nlang = \"Espa\u00F1ol\"\r\n", true)},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.szName);
    testing_support::TempFolder tmp;
    const std::u16string sFile = tmp.Write(u"XX.lng", row.sBytes);
    const Outcome r = Lngcheck({u"--fix", sFile});
    EXPECT_EQ(0, r.nStatus) << r.sErr;
    EXPECT_EQ("\xEF\xBB\xBF" + kText, Read(sFile));
    // Fixed once is fixed: the second run leaves the file alone.
    EXPECT_NE(std::string::npos, Lngcheck({u"--fix", sFile}).sOut.find("nothing to fix"));
  }
}

// A write that fails after the file was opened (and so emptied) must not leave
// the translator with an empty file.
TEST(LngcheckFix, AFailedWriteLeavesTheFileAsItWas) {
  struct FirstWriteFails : testing_support::PassThroughFiles {
    int nWrites = 0;
    int32_t Write(platform::FileHandle h, const uint8_t* p, uint32_t n) override {
      return ++nWrites == 1 ? 112 /* ERROR_DISK_FULL */ : real().Write(h, p, n);
    }
  } files;
  testing_support::TempFolder tmp;
  const std::string kOriginal = "[version]\nlang = \"X\"\n";
  const std::u16string sFile = tmp.Write(u"XX.lng", kOriginal);
  Outcome r;
  {
    platform::ScopedOverride<platform::IFiles> use(files);
    r = Lngcheck({u"--fix", sFile});
  }
  EXPECT_EQ(2, r.nStatus);
  EXPECT_NE(std::string::npos, r.sErr.find("it is as it was")) << r.sErr;
  EXPECT_EQ(kOriginal, Read(sFile));
}

}  // namespace
