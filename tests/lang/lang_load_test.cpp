// Init, GetAvailableLangs and InitEx: loading a file, listing a folder and
// choosing the user's file from the options.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>

#include "twinsweep/lang/lang_file.h"
#include "lang_test_util.h"
#include "twinsweep/platform/desktop.h"
#include "twinsweep/platform/memory/memory_forms.h"
#include "twinsweep/platform/memory/memory_registry.h"
#include "twinsweep/settings/options.h"
#include "support/fake_desktop.h"
#include "support/fault_injecting_files.h"

using namespace twinsweep;

namespace {

using langtest::CrLf;
using langtest::LangFile;
using langtest::Reports;
using langtest::TestableLang;
using langtest::WriteFile;

std::string U8(std::u16string_view s) { return base::ToUtf8(s); }

class LangInit : public ::testing::Test {
 protected:
  TempFolder folder;
  std::u16string Write(const std::string& sName, const std::string& sBytes) {
    return WriteFile(folder, sName, sBytes);
  }
};

// After a failed load the object holds no texts at all, not even an empty list:
// a text set then goes nowhere.
bool HoldsNoTexts(CLang& o) {
  o.ItemSet(u"probe", u"x");
  return !o.ItemFind(u"probe");
}

TEST_F(LangInit, LoadsGlobalAndFormTexts) {
  std::u16string sPath = Write("EN.lng", LangFile("EN", {"[App]", "globals = \" texts , more \"", "forms = \"frmMain\"",
                                                          "[App.texts]", "LID_TITLE = \"Title\"", "[App.more]",
                                                          "LID_MORE = \"More\"", "LID_TITLE = \"again\"",
                                                          "[App.frmMain]", "cmdOK.Caption = \"OK\"", ".Caption = \"Main\""}));
  LogCapture log;
  TestableLang o;
  ASSERT_TRUE(o.Init(sPath, u"App"));
  EXPECT_EQ(U8(sPath), U8(o.Filename()));
  EXPECT_EQ("EN", U8(o.LangID()));
  EXPECT_EQ("Lang EN", U8(o.LangName()));
  EXPECT_EQ(0, o.nDumpForms);
  EXPECT_EQ(4, o.colTexts->Count());   // no public count: the four texts below
  EXPECT_EQ(3, o.colForms->Count());   // and the key lists of texts, more and frmMain
  EXPECT_EQ("Title", U8(o.Item(u"LID_TITLE")));  // the first of two global sub-sections wins
  EXPECT_EQ("More", U8(o.Item(u"lid_more")));
  EXPECT_EQ("OK", U8(o.Item(u"frmMaincmdOK.Caption")));
  EXPECT_EQ("Main", U8(o.Item(u"FRMMAIN.caption")));
  EXPECT_FALSE(o.ItemFind(u"cmdOK.Caption"));  // form texts only under the form's name
  EXPECT_EQ(std::vector<std::string>{"E CLang.ReadSection 0 declaration of constant 'LID_TITLE' repeats in a line 12 of '" +
                                     U8(sPath) + "' file"},
            Reports(log));

  // The form's key list applies its texts to the form; the file's time was
  // taken, so an unchanged file is not loaded again.
  auto frm = platform::MemoryFormObject::NewForm(u"frmMain");
  frm->Set(u"Caption", base::Variant(u"design"));
  auto cmd = frm->AddControl(u"CommandButton", u"cmdOK");
  cmd->Set(u"Caption", base::Variant(u"design"));
  log.Clear();
  o.LocalizeForm(frm);
  EXPECT_EQ(u"OK", base::CStr(cmd->GetProperty(u"Caption")));
  EXPECT_EQ(u"Main", base::CStr(frm->GetProperty(u"Caption")));
  EXPECT_TRUE(Reports(log, true).empty()) << Reports(log, true)[0];

  // A failed load forgets the language that was loaded.
  EXPECT_FALSE(o.Init(langtest::In(folder, "missing.lng"), u"App"));
  EXPECT_TRUE(o.Filename().empty() && o.LangID().empty() && o.LangName().empty());
  EXPECT_FALSE(o.ItemFind(u"LID_TITLE"));
  EXPECT_TRUE(HoldsNoTexts(o));
}

TEST_F(LangInit, ReloadWithItsOwnFields) {
  // A form's reload passes the object's own fields, which the load empties first.
  std::u16string sPath = Write("EN.lng", LangFile("EN", {"[App]", "globals = \"texts\"", "[App.texts]", "a = \"1\""}));
  testing_support::SetFileTime(sPath, 2024, 1, 1, 10, 0, 0);
  CLang o;
  ASSERT_TRUE(o.Init(sPath, u"App"));
  testing_support::SetFileTime(sPath, 2024, 1, 1, 11, 0, 0);
  LogCapture log;
  o.LocalizeUserControl(u"ctlNone", nullptr, nullptr);
  ASSERT_FALSE(Reports(log, true).empty());
  EXPECT_NE(std::string::npos, Reports(log, true)[0].find("reloading file")) << Reports(log, true)[0];
  EXPECT_EQ(U8(sPath), U8(o.Filename()));
  EXPECT_EQ("1", U8(o.Item(u"a")));
}

// Files that fail to load, and the reports that say why (%F: the path).
struct FailCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> reports;
};

class LangInitFails : public LangInit, public ::testing::WithParamInterface<FailCase> {};

TEST_P(LangInitFails, WithReport) {
  std::u16string sPath = Write("x.lng", GetParam().bytes);
  LogCapture log;
  TestableLang o;
  EXPECT_FALSE(o.Init(sPath, u"App"));
  std::vector<std::string> expected;
  for (std::string r : GetParam().reports) {
    for (size_t p; (p = r.find("%F")) != std::string::npos;) r.replace(p, 2, U8(sPath));
    expected.push_back(r);
  }
  EXPECT_EQ(expected, Reports(log));
  EXPECT_TRUE(HoldsNoTexts(o));
  EXPECT_TRUE(o.Filename().empty());
}

const std::string kWrongVersion = "E CLang.Init 0 file '%F' has no(or wrong) signature or lang or langid in [version] section";

INSTANTIATE_TEST_SUITE_P(
    Cases, LangInitFails,
    ::testing::Values(
        FailCase{"NoVersion", CrLf({"[App]"}), {"E CLang.Init 0 file '%F' has no version section"}},
        FailCase{"SignatureCase", LangFile("EN", {"[App]"}, "orvex.langlngfile"), {kWrongVersion}},
        FailCase{"EmptyLangID", CrLf({"[version]", "signature = \"Orvex.LangLngFile\"", "lang = \"x\"", "langid = \"\""}),
                 {kWrongVersion}},
        FailCase{"NoLang", CrLf({"[version]", "signature = \"Orvex.LangLngFile\"", "langid = \"EN\""}), {kWrongVersion}},
        FailCase{"NoMainSection", LangFile("EN", {"[Other]"}), {"E CLang.Init 0 file '%F' has no [App] section"}},
        FailCase{"TrailingComma", LangFile("EN", {"[App]", "globals = \"texts,\"", "[App.texts]"}),
                 {"E CLang.Init 0 file '%F' has error in [App].texts"}},
        FailCase{"EmptyFormName", LangFile("EN", {"[App]", "globals = \"t\"", "forms = \"a, ,b\"", "[App.t]", "[App.a]"}),
                 {"E CLang.Init 0 file '%F' has error in [App].forms"}},
        FailCase{"MissingSubSection", LangFile("EN", {"[App]", "globals = \"texts\""}),
                 {"E CLang.Init 0 Error readig section [App.texts] in file '%F'"}},
        FailCase{"BrokenHeaderInSubSection",
                 LangFile("EN", {"[App]", "globals = \"texts\"", "[App.texts]", "a = \"1\"", "[broken"}),
                 {"E CLang.ReadSection 0 symbol ']' is absent, line = 9, file = '%F'",
                  "E CLang.Init 0 Error readig section [App.texts] in file '%F'"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LangInit, MissingFileReportsOpenThenVersion) {
  std::u16string sPath = langtest::In(folder, "missing.lng");
  LogCapture log;
  CLang o;
  EXPECT_FALSE(o.Init(sPath, u"App"));
  EXPECT_EQ((std::vector<std::string>{"E CLang.ReadSection 2 oFile.OpenFile failed",
                                      "E CLang.Init 0 file '" + U8(sPath) + "' has no version section"}),
            Reports(log));
}

// A language file of several blocks, UTF-8 with the mark: 300 texts.
std::string ThreeHundredTexts() {
  std::string s = langtest::kBom + LangFile("EN", {"[App]", "globals = \"texts\"", "[App.texts]"});
  for (int i = 0; i < 300; ++i) s += "LID_" + std::to_string(i) + " = \"Text \xC3\xBC number " + std::to_string(i) + "\"\r\n";
  return s;
}

// Loading through a file service with faults: short reads of any size read the
// same language; a read error fails the load as an unreadable file does.
struct FaultCase {
  const char* name;
  std::function<void(testing_support::FaultInjectingFiles&)> arrange;
  bool bLoads;
  std::vector<std::string> reports;  // %F: the path
};

class LangInitFaults : public LangInit, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(LangInitFaults, LoadOrFailWhole) {
  std::u16string sPath = Write("x.lng", ThreeHundredTexts());
  testing_support::FaultInjectingFiles files;
  platform::ScopedOverride<platform::IFiles> use(files);
  GetParam().arrange(files);
  LogCapture log;
  CLang o;
  EXPECT_EQ(GetParam().bLoads, o.Init(sPath, u"App"));
  std::vector<std::string> expected;
  for (std::string r : GetParam().reports) {
    for (size_t p; (p = r.find("%F")) != std::string::npos;) r.replace(p, 2, U8(sPath));
    expected.push_back(r);
  }
  EXPECT_EQ(expected, Reports(log));
  if (GetParam().bLoads) {
    EXPECT_EQ("EN", U8(o.LangID()));
    for (int i : {0, 1, 150, 299}) {
      EXPECT_EQ("Text \xC3\xBC number " + std::to_string(i), U8(o.Item(base::FromAscii("lid_" + std::to_string(i)))));
    }
  } else {
    // Nothing of the file is kept: the object is Empty, lookups give their keys.
    EXPECT_TRUE(o.Filename().empty() && o.LangID().empty() && o.LangName().empty());
    EXPECT_FALSE(o.ItemFind(u"LID_0"));
  }
  EXPECT_EQ(0u, files.OpenHandles());
}

const char* const kReadFault = "E CLang.ReadSection 30 oFile.ReadLine failed";

INSTANTIATE_TEST_SUITE_P(
    Cases, LangInitFaults,
    ::testing::Values(
        FaultCase{"NoFault", [](auto&) {}, true, {}},
        FaultCase{"ReadsOfOneByte", [](auto& f) { f.CapReads(1); }, true, {}},
        FaultCase{"FirstReadIsTheMark", [](auto& f) { f.CapReads(3); }, true, {}},
        FaultCase{"ReadsOf100Bytes", [](auto& f) { f.CapReads(100); }, true, {}},
        FaultCase{"ReadsOf4095Bytes", [](auto& f) { f.CapReads(4095); }, true, {}},
        FaultCase{"ErrorAfterOneBlock", [](auto& f) { f.FailReadsAfter(4096, 30); }, false, {kReadFault}},
        FaultCase{"ErrorAfterShortReads", [](auto& f) { f.CapReads(100), f.FailReadsAfter(5000, 30); }, false, {kReadFault}},
        FaultCase{"ErrorOnTheFirstRead", [](auto& f) { f.FailReadsAfter(0, 30); }, false, {kReadFault}},
        FaultCase{"Refused", [](auto& f) { f.FailCall(1, 5, /*bPersistent=*/true); }, false,
                  {"E CLang.ReadSection 5 oFile.OpenFile failed", "E CLang.Init 0 file '%F' has no version section"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Language files are bounded at 16 MiB: one byte more is refused like an
// unreadable file, and the question then shows its keys.
TEST_F(LangInit, FilesAbove16MiBAreRefused) {
  std::string sBytes = LangFile("EN", {"[App]", "globals = \"texts\"", "[App.texts]", "LID_TITLE = \"Title\""});
  const std::string sFill = "; " + std::string(1000, 'x') + "\r\n";
  while (sBytes.size() + sFill.size() <= CLangFile::kMaxFileSize) sBytes += sFill;
  sBytes += "; " + std::string(CLangFile::kMaxFileSize - sBytes.size() - 2, 'y');
  ASSERT_EQ(CLangFile::kMaxFileSize, sBytes.size());
  std::u16string sPath = Write("big.lng", sBytes);
  CLang o;
  EXPECT_TRUE(o.Init(sPath, u"App"));
  EXPECT_EQ("Title", U8(o.Item(u"LID_TITLE")));

  sPath = Write("big.lng", sBytes + "y");
  LogCapture log;
  EXPECT_FALSE(o.Init(sPath, u"App"));
  EXPECT_EQ((std::vector<std::string>{"E CLang.ReadSection 223 oFile.OpenFile failed: the file is larger than 16 MiB",
                                      "E CLang.Init 0 file '" + U8(sPath) + "' has no version section"}),
            Reports(log));
  EXPECT_EQ("LID_TITLE", U8(o.Item(u"LID_TITLE")));
}

// A save while the file is read leaves a time newer than the one the load
// keeps, so the next form reloads the file.
TEST_F(LangInit, ASaveDuringTheReadIsReloadedLater) {
  std::u16string sPath = Write("EN.lng", LangFile("EN", {"[App]", "globals = \"texts\"", "[App.texts]", "a = \"1\""}));
  testing_support::SetFileTime(sPath, 2024, 1, 1, 10, 0, 0);
  struct SavedWhileRead : testing_support::PassThroughFiles {
    std::u16string sFile;
    int32_t Read(platform::FileHandle h, uint8_t* p, uint32_t n, uint32_t* pn) override {
      if (!sFile.empty()) testing_support::SetFileTime(std::exchange(sFile, u""), 2024, 1, 1, 11, 0, 0);
      return PassThroughFiles::Read(h, p, n, pn);
    }
  } files;
  files.sFile = sPath;
  CLang o;
  {
    platform::ScopedOverride<platform::IFiles> use(files);
    ASSERT_TRUE(o.Init(sPath, u"App"));
  }
  LogCapture log;
  o.LocalizeUserControl(u"ctlNone", nullptr, nullptr);
  const std::vector<std::string> notes = Reports(log, true);
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ("D CLang.LocalizeControls 0 last modification time of file '" + U8(sPath) +
                "' was changed, reloading file...",
            notes[0]);
}

TEST_F(LangInit, NameInGlobalsAndFormsIsAnUnexpectedError) {
  std::u16string sPath =
      Write("x.lng", LangFile("EN", {"[App]", "globals = \"t\"", "forms = \"T\"", "[App.t]", "a = \"1\""}));
  LogCapture log;
  TestableLang o;
  EXPECT_FALSE(o.Init(sPath, u"App"));
  std::vector<std::string> r = Reports(log);
  ASSERT_EQ(1u, r.size());  // the second add of the name to colForms fails
  EXPECT_EQ(0u, r[0].rfind("E CLang.Init 457 ", 0)) << r[0];
  std::string sTail = "; file = '" + U8(sPath) + "'";
  EXPECT_EQ(sTail, r[0].substr(r[0].size() - sTail.size()));
  EXPECT_TRUE(HoldsNoTexts(o));
  EXPECT_FALSE(o.colForms);
}

TEST_F(LangInit, EmptyMainSectionAndDumpForms) {
  struct {
    std::string dump;
    int32_t n;
  } cases[] = {{"", 0}, {"1", 1}, {"2.5", 2}, {"3", 3}, {"3.5", 0}, {"4", 0}, {"yes", 0}, {"2x", 2}, {"1e999", 0}};
  for (const auto& c : cases) {
    std::u16string sPath = Write("d.lng", LangFile("EN", {"[App]", "dumpforms = \"" + c.dump + "\""}));
    LogCapture log;
    TestableLang o;
    EXPECT_TRUE(o.Init(sPath, u"App")) << c.dump;
    EXPECT_EQ(c.n, o.nDumpForms) << c.dump;
    EXPECT_EQ(0, o.colTexts->Count());
    std::vector<std::string> expected{"E CLang.Init 0 file '" + U8(sPath) + "' has no (or empty) [App].texts",
                                      "D CLang.Init 0 file '" + U8(sPath) + "' has no (or empty) [App].forms"};
    if (c.n) expected.push_back("D CLang.Init 0 The forms will be dumped when they will appear");
    EXPECT_EQ(expected, Reports(log, true)) << c.dump;
  }
}

// The direction: the version section's word, else the langid's language by CLDR.
TEST_F(LangInit, DirectionFromTheFileElseItsLanguage) {
  const uint32_t kRtl = platform::kMbRtlReading | platform::kMbRight;
  const struct {
    std::string sLangID, sDirection;
    bool bRightToLeft;
    std::string sReport;
  } cases[] = {
      {"EN", "", false, ""},        {"AR", "", true, ""},         {"he", "", true, ""},
      {"fa-IR", "", true, ""},      {"pa_Arab", "", true, ""},    {"PA", "", false, ""},
      {"uz-Latn", "", false, ""},   {"uz-Arab-AF", "", true, ""}, {"EN", "RTL", true, ""},
      {"HE", "ltr", false, ""},     {"AR", "up", true, "has a direction that is neither \"rtl\" nor \"ltr\" (up)"},
  };
  testing_support::FakeApp app;  // a system that knows isolates, whatever runs the test
  platform::ScopedOverride<platform::IApp> useApp(app);
  for (const auto& c : cases) {
    const std::string sEntry = c.sDirection.empty() ? "; no direction" : "direction = \"" + c.sDirection + "\"";
    std::u16string sPath = Write("d.lng", LangFile(c.sLangID, {sEntry, "[App]", "globals = \"texts\"", "[App.texts]", "t = \"<%s>\""}));
    LogCapture log;
    TestableLang o;
    ASSERT_TRUE(o.Init(sPath, u"App")) << c.sLangID;
    EXPECT_EQ(o.RightToLeft(), c.bRightToLeft) << c.sLangID << " " << c.sDirection;
    EXPECT_EQ(o.BoxFlags(), c.bRightToLeft ? kRtl : 0u) << c.sLangID << " " << c.sDirection;
    EXPECT_EQ(U8(o.Item(u"t", {u"v"})), c.bRightToLeft ? "<\u2068v\u2069>" : "<v>") << c.sLangID;
    const auto r = Reports(log);
    EXPECT_EQ(r.size(), c.sReport.empty() ? 0u : 1u) << c.sLangID;
    if (!c.sReport.empty() && !r.empty()) {
      EXPECT_NE(r[0].find(c.sReport), std::string::npos) << r[0];
    }
  }
}

TEST_F(LangInit, GetAvailableLangsListsValidFiles) {
  Write("EN.lng", LangFile("EN"));
  Write("de.LNG", LangFile("de"));
  Write("broken.lng", CrLf({"[nothing]"}));
  Write("badsig.lng", LangFile("FR", {}, "Orvex.Other"));
  Write("notes.txt", LangFile("IT"));
  ASSERT_EQ(0, platform::Files().MakeDirectory(langtest::In(folder, "dir.lng")));

  LogCapture log;
  TestableLang o;
  auto list = [&](const std::u16string& sIgnore) {
    std::vector<std::string> v;
    CLang::TextCollectionRef c = o.GetAvailableLangs(folder.Path(), sIgnore);
    for (const auto& e : *c) v.push_back(U8(e.item));
    std::sort(v.begin(), v.end());
    return v;
  };
  EXPECT_EQ((std::vector<std::string>{"EN\r\nLang EN\r\nEN.lng", "de\r\nLang de\r\nde.LNG"}), list(u""));
  std::vector<std::string> notes = Reports(log, true);
  std::sort(notes.begin(), notes.end());
  EXPECT_EQ((std::vector<std::string>{
                "D CLang.GetAvailableLangs 0 ignoring file '" + U8(langtest::In(folder, "badsig.lng")) +
                    "', coz in section [version] no(or wrong) signature or lang or langid",
                "D CLang.GetAvailableLangs 0 ignoring file '" + U8(langtest::In(folder, "broken.lng")) +
                    "', coz no [version] section"}),
            notes);
  EXPECT_EQ((std::vector<std::string>{"EN\r\nLang EN\r\nEN.lng"}), list(u"DE.lng"));
  EXPECT_TRUE(o.GetAvailableLangs(folder.Path() + u"\\nowhere", u"")->Count() == 0);
}

// InitEx against an in-memory registry and an application folder of the test's own.

class LangInitEx : public LangInit {
 protected:
  platform::MemoryRegistry registry;
  platform::ScopedOverride<platform::IRegistry> useRegistry{registry};
  testing_support::FakeApp app;
  platform::ScopedOverride<platform::IApp> useApp{app};

  void SetUp() override {
    app.sAppFolder = folder.Path();
    Write("english.lng", LangFile("EN", {"[App]", "globals = \"texts\"", "[App.texts]", "LID_TITLE = \"Title\""}));
    Write("deutsch.lng", LangFile("DE", {"[App]", "globals = \"texts\"", "[App.texts]", "LID_TITLE = \"Titel\""}));
    Write("lower.lng", LangFile("de", {"[App]", "globals = \"texts\"", "[App.texts]", "LID_TITLE = \"klein\""}));
    Write("broken.lng", LangFile("DE", {"[App"}));
  }
};

TEST_F(LangInitEx, SelectionRules) {
  struct Case {
    const char* name;
    std::u16string langID, langFile;
    bool ok;
    std::string title;            // Item("LID_TITLE") afterwards
    std::u16string langFileAfter;  // options' LangFile afterwards
  } cases[] = {
      {"EmptyIdMeansEN", u"", u"", true, "Title", u"english.lng"},
      {"RememberedFileIdIgnoresCase", u"DE", u"lower.lng", true, "klein", u"lower.lng"},
      {"ListingNeedsExactId", u"de", u"", true, "klein", u"lower.lng"},
      {"ListedFileByExactId", u"DE", u"", true, "Titel", u"deutsch.lng"},
      {"MissingRememberedFile", u"DE", u"gone.lng", true, "Titel", u"deutsch.lng"},
      {"BrokenRememberedFile", u"DE", u"broken.lng", true, "Titel", u"deutsch.lng"},
      {"RememberedFileOfOtherId", u"DE", u"english.lng", true, "Titel", u"deutsch.lng"},
      {"NoFileForId", u"IT", u"", false, "LID_TITLE", u""},
      {"NoFileForIdAfterWrongRemembered", u"IT", u"english.lng", false, "LID_TITLE", u"english.lng"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Options().LangID(c.langID);
    Options().LangFile(c.langFile);
    LogCapture log;
    CLang o;
    EXPECT_EQ(c.ok, o.InitEx(u"App", Options()));
    EXPECT_EQ(c.title, U8(o.Item(u"LID_TITLE")));
    EXPECT_EQ(U8(c.langFileAfter), U8(Options().LangFile()));
    EXPECT_EQ(c.langID.empty() ? "EN" : U8(c.langID), U8(Options().LangID()));
    if (!c.ok) {
      std::vector<std::string> r = Reports(log);
      EXPECT_NE(r.end(), std::find(r.begin(), r.end(), "E CLang.InitEx 0 Cant find lang file by langID=" + U8(c.langID)));
    }
  }
}

}  // namespace

// The options sources a program can give InitEx: where the language comes from,
// and that nothing is written where the program did not point.
class LangInitExSources : public LangInitEx {
 protected:
  static constexpr char16_t kOwnKey[] = u"Software\\Maker\\Other";
  static constexpr char16_t kProductKey[] = u"Software\\Orvex\\Twinsweep";

  // Each case's own registry, in place of the fixture's.
  platform::MemoryRegistry* pReg = nullptr;

  void Set(int32_t nRoot, const std::u16string& sName, const std::u16string& sValue) {
    platform::MemoryRegistry& registry = *pReg;
    platform::HKey h = 0;
    ASSERT_EQ(0, registry.CreateKey(platform::RootKey(nRoot), kOwnKey, platform::kKeyAllAccess, &h));
    const std::u16string sData = sValue + u'\0';
    registry.SetValue(h, sName, platform::kRegSz, reinterpret_cast<const uint8_t*>(sData.data()),
                      static_cast<uint32_t>(sData.size() * 2));
    registry.CloseKey(h);
  }
  // The user's value under the key, or "-" when there is none.
  std::string Get(const std::u16string& sKey, const std::u16string& sName) {
    platform::MemoryRegistry& registry = *pReg;
    platform::HKey h = 0;
    if (registry.OpenKey(platform::RootKey(platform::kRootCurrentUser), sKey, platform::kKeyRead, &h) != 0) return "-";
    char16_t buf[260] = {};
    uint32_t nSize = sizeof buf - 2;
    const int32_t rc = registry.QueryValue(h, sName, nullptr, reinterpret_cast<uint8_t*>(buf), &nSize);
    registry.CloseKey(h);
    return rc == 0 ? U8(buf) : "-";
  }
};

TEST_F(LangInitExSources, EachSourceChoosesAndRemembersOnlyWhereItSays) {
  enum class Source { None, FixedDE, OwnKey };
  const std::u16string sUpAndBack = u"..\\" + folder.Path().substr(folder.Path().find_last_of(u"\\/") + 1);
  struct Case {
    const char* name;
    Source source;
    std::u16string userLang, userFile, machineLang;  // in the program's own key; empty: none
    std::string title;
    std::string langAfter, fileAfter;  // the user's values of the own key afterwards
  } cases[] = {
      {"NothingGivenIsEnglish", Source::None, u"DE", u"deutsch.lng", u"", "Title", "DE", "deutsch.lng"},
      {"FixedLanguage", Source::FixedDE, u"", u"", u"", "Titel", "-", "-"},
      {"OwnKeyChosenLanguage", Source::OwnKey, u"DE", u"", u"", "Titel", "DE", "deutsch.lng"},
      {"OwnKeyRemembersEnglishWhenNoneChosen", Source::OwnKey, u"", u"", u"", "Title", "EN", "english.lng"},
      {"OwnKeyMachinesLanguage", Source::OwnKey, u"", u"", u"DE", "Titel", "-", "deutsch.lng"},
      {"OwnKeyRememberedFile", Source::OwnKey, u"DE", u"lower.lng", u"", "klein", "DE", "lower.lng"},
      // A remembered path could lead out of the program's folder: it counts as none.
      {"OwnKeyRememberedPathIgnored", Source::OwnKey, u"DE", sUpAndBack + u"\\lower.lng", u"", "Titel", "DE",
       "deutsch.lng"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::MemoryRegistry caseRegistry;
    platform::ScopedOverride<platform::IRegistry> useCaseRegistry(caseRegistry);
    pReg = &caseRegistry;
    if (!c.userLang.empty()) Set(platform::kRootCurrentUser, u"LANG", c.userLang);
    if (!c.userFile.empty()) Set(platform::kRootCurrentUser, u"LANG_", c.userFile);
    if (!c.machineLang.empty()) Set(platform::kRootLocalMachine, u"LANG", c.machineLang);
    const std::string sFileBefore = Get(kOwnKey, u"LANG_");
    CLang o;
    CFixedLangOptions fixed(u"DE");
    CRegistryLangOptions own(kOwnKey);
    const bool bOk = c.source == Source::None      ? o.InitEx(u"App")
                     : c.source == Source::FixedDE ? o.InitEx(u"App", fixed)
                                                   : o.InitEx(u"App", own);
    EXPECT_TRUE(bOk);
    EXPECT_EQ(c.title, U8(o.Item(u"LID_TITLE")));
    EXPECT_EQ(c.langAfter, Get(kOwnKey, u"LANG"));
    EXPECT_EQ(c.source == Source::OwnKey ? c.fileAfter : sFileBefore, Get(kOwnKey, u"LANG_"));
    EXPECT_EQ("-", Get(kProductKey, u"LANG")) << "the product's key was written";
    EXPECT_EQ("-", Get(kProductKey, u"LANG_")) << "the product's key was written";
    EXPECT_EQ(caseRegistry.OpenHandleCount(), 0u);
  }
}
