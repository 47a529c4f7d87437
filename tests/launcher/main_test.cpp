// Command dispatch and the help and purchase branches, with the shell, the
// message boxes, the registry and the application's folder replaced by doubles.
#include <gtest/gtest.h>

#include <functional>

#include "twinsweep/base/failure.h"
#include "twinsweep/base/text.h"
#include "twinsweep/launcher/diagnostic_log.h"
#include "twinsweep/launcher/exit_codes.h"
#include "twinsweep/lang/lang.h"
#include "twinsweep/launcher/main.h"
#include "twinsweep/launcher/user_texts.h"
#include "twinsweep/platform/memory/memory_registry.h"
#include "twinsweep/settings/win_reg.h"
#include "support/fake_desktop.h"
#include "support/launcher_fixture.h"
#include "support/recording_diagnostics.h"
#include "support/source_languages.h"
#include "support/temp_folder.h"

using namespace twinsweep;

namespace {

using testing_support::TempFolder;

// The build's default scheme and hosts.
const std::u16string kProduct = u"https://www.twinsweep.example";
const std::u16string kMaker = u"https://www.orvex.example";

class MainTest : public testing_support::LauncherFixture {
 protected:
  void SetUp() override {
    app_.sAppFolder = folder_.Path();
    dialogs_.nAnswer = platform::kIdOk;  // every box of these cases is dismissed
  }
  void SetLang(const std::u16string& sLang) {
    CWinReg r;
    ASSERT_TRUE(r.InitForWrite(platform::kRootCurrentUser, u"Software\\Orvex\\Twinsweep", true));
    r.WriteString(u"LANG", sLang);
  }
  std::vector<std::u16string> Run(const std::u16string& sArgs) {
    app_.sCommandLineArgs = sArgs;
    nExit_ = mMain::Main();
    return shell_.opened;
  }

  TempFolder folder_;
  testing_support::RecordingShell shell_;
  platform::ScopedOverride<platform::IShell> useShell_{shell_};
  testing_support::FakeDesktopRights rights_;
  platform::ScopedOverride<platform::IDesktopRights> useRights_{rights_};
  int nExit_ = -1;
};

TEST_F(MainTest, HelpOpensTheRightDocumentForEachLanguageAndHelpFile) {
  struct Case {
    const char16_t* lang;
    std::vector<std::u16string> files;  // "name/" is a folder
    const char16_t* args;
    std::u16string expected;  // "@" stands for the application's folder
  } cases[] = {
      {u"EN", {u"Twinsweep.chm", u"EN_Twinsweep.chm"}, u"help", u"@\\Twinsweep.chm"},
      {u"EN", {u"EN_Twinsweep.chm"}, u"HELP", u"@\\EN_Twinsweep.chm"},
      {u"EN", {}, u"Help", kProduct + u"/WebHelp/TwinsweepHelp.htm"},
      {u"en", {u"Twinsweep.chm"}, u"help", kProduct + u"/WebHelp/TwinsweepHelp.htm"},
      {u"en", {u"en_Twinsweep.chm"}, u"help", u"@\\en_Twinsweep.chm"},
      {u"DE", {u"Twinsweep.chm"}, u"help", kProduct + u"/DE/WebHelp/TwinsweepHelp.htm"},
      {u"DE", {u"DE_Twinsweep.chm"}, u"help", u"@\\DE_Twinsweep.chm"},
      {u"EN", {u"Twinsweep.chm/"}, u"help", kProduct + u"/WebHelp/TwinsweepHelp.htm"},
      {u"DE", {}, u"buyonline", kMaker + u"/purchase_twinsweep.asp?lang=DE"},
      {u"EN", {}, u"BuyOnline", kMaker + u"/purchase_twinsweep.asp?lang=EN"},
      {u"a&b", {}, u"buyonline", kMaker + u"/purchase_twinsweep.asp?lang=a%26b"},
      // An identifier that is not a plain name never names a file, even one that is there.
      {u"DE\\..\\DE", {u"DE/", u"DE_Twinsweep.chm"}, u"help", kProduct + u"/DE%5C..%5CDE/WebHelp/TwinsweepHelp.htm"},
      {u"DE\" \"--x", {}, u"help", kProduct + u"/DE%22%20%22--x/WebHelp/TwinsweepHelp.htm"},
  };
  for (const auto& c : cases) {
    TempFolder dir;
    app_.sAppFolder = dir.Path();
    for (const auto& f : c.files) {
      if (f.back() == u'/') dir.MakeFolder(f.substr(0, f.size() - 1));
      else dir.Write(f, "chm");
    }
    shell_.opened.clear();
    SetLang(c.lang);
    std::u16string expected = c.expected[0] == u'@' ? dir.Path() + c.expected.substr(1) : c.expected;
    // The shell is called from within a join of the thread's apartment.
    shell_.onOpen = [&] { EXPECT_EQ(apartment_.nEntered - apartment_.nLeft, 1); };
    EXPECT_EQ(Run(c.args), std::vector<std::u16string>{expected}) << base::ToUtf8(c.lang) << " " << base::ToUtf8(c.args);
    EXPECT_EQ(apartment_.nEntered, apartment_.nLeft);
    EXPECT_EQ(nExit_, mMain::kExitDone);
  }
  EXPECT_GT(apartment_.nEntered, 0);
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(MainTest, AnEmptyRegistryMeansEnglishForHelp) {
  EXPECT_EQ(Run(u"help"), std::vector<std::u16string>{kProduct + u"/WebHelp/TwinsweepHelp.htm"});
}

TEST_F(MainTest, OtherArgumentsRunTheLaunchSequence) {
  // With no mail client running the launch sequence asks its question; No ends it.
  dialogs_.nAnswer = platform::kIdNo;
  for (const char16_t* args : {u"", u"help now", u"\"help\"", u"buyonline ", u"/x"}) {
    dialogs_.shown.clear();
    EXPECT_TRUE(Run(args).empty());
    ASSERT_EQ(dialogs_.shown.size(), 1u) << base::ToUtf8(args);
    EXPECT_EQ(dialogs_.shown[0].nType, platform::kMbYesNo);
  }
}

// Every way the launcher shows a text takes the language from the product's
// options and remembers the file there, as the options dialog and the help do.
TEST_F(MainTest, TheLaunchersTextsAreInTheProductsLanguageWhichRemembersTheFile) {
  app_.sAppFolder = testing_support::ShippedLanguagesFolder(TWINSWEEP_SOURCE_DIR);
  CLang german;
  ASSERT_TRUE(german.Init(app_.sAppFolder + u"\\DE.lng", u"TwinsweepLauncher"));
  const std::u16string sExpected = german.Item(u"LID_RUN_OUTLOOK");
  struct Case {
    const char* name;
    std::function<std::u16string()> shown;
  } cases[] = {
      {"UserTexts", [] { return mMain::UserTexts().Item(u"LID_RUN_OUTLOOK"); }},
      {"QuestionBox",
       [&] {
         dialogs_.nAnswer = platform::kIdNo;
         dialogs_.shown.clear();
         Run(u"");
         return dialogs_.shown.empty() ? std::u16string() : dialogs_.shown[0].sText;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetLang(u"DE");
    CWinReg r;
    ASSERT_TRUE(r.InitForWrite(platform::kRootCurrentUser, u"Software\\Orvex\\Twinsweep", true));
    r.WriteString(u"LANG_", u"");
    r.CloseKey();
    EXPECT_EQ(base::ToUtf8(c.shown()), base::ToUtf8(sExpected));
    CWinReg after;
    ASSERT_TRUE(after.InitForRead(platform::kRootCurrentUser, u"Software\\Orvex\\Twinsweep"));
    EXPECT_EQ(base::ToUtf8(after.ReadString(u"LANG_")), "DE.lng");
  }
}

// A start that could not restrict the DLL search to the system folder says so in
// the log file, which is set up first; a start that could says nothing.
TEST_F(MainTest, AStartWithoutTheRestrictedDllSearchSaysSoInTheLogFile) {
  const std::u16string kLog = u"C:\\Users\\Ann\\AppData\\Local\\Orvex\\Twinsweep\\TwinsweepLauncher.log";
  CWinReg r;
  ASSERT_TRUE(r.InitForWrite(platform::kRootCurrentUser, u"Software\\Orvex\\Twinsweep", true));
  ASSERT_TRUE(r.WriteDWord(u"DiagnosticLog", 1));
  for (bool bRestricted : {true, false}) {
    testing_support::RecordingDiagnostics diagnostics;
    testing_support::ScopedLogSystem o(diagnostics);
    app_.bDllSearchRestricted = bRestricted;
    Run(u"help");
    const std::string sFile = diagnostics.files[kLog];
    EXPECT_EQ(sFile.find("\tmMain.Main\t0\tSetDefaultDllDirectories is missing: DLLs are searched with "
                         "SetDllDirectoryW(\"\") instead") != std::string::npos,
              !bRestricted)
        << sFile;
  }
  mMain::SetLogFileEnabled(false);
}

// A registry whose every open raises, as a failing system service would.
class RaisingRegistry : public platform::MemoryRegistry {
 public:
  std::u16string sDescription = u"Access is denied.";
  int32_t OpenKey(platform::HKey, std::u16string_view, uint32_t, platform::HKey*) override {
    base::Raise(-2147024891, sDescription);
  }
};

// A description holding a NUL (an automation server's text) is shown up to it
// rather than not at all.
TEST_F(MainTest, AFailureThatReachesMainShowsOneErrorBox) {
  for (const std::u16string& sDescription : {std::u16string(u"Access is denied."),
                                             std::u16string(u"Access is denied.\0 hidden", 25)}) {
    RaisingRegistry raising;
    raising.sDescription = sDescription;
    platform::ScopedOverride<platform::IRegistry> o(raising);
    dialogs_.shown.clear();
    EXPECT_TRUE(Run(u"help").empty());
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].sText, u"Error(-2147024891): Access is denied.");
    EXPECT_EQ(dialogs_.shown[0].sCaption, u"TwinsweepLauncher");
    EXPECT_EQ(dialogs_.shown[0].nType, platform::kMbOk);
    EXPECT_FALSE(base::HasPending());
  }
}

// The shell's failure is shown, with the hint for a missing program, and noted;
// a failed DDE conversation comes after the handler was started, and is not.
TEST_F(MainTest, AShellThatCannotOpenThePageShowsTheErrorBoxWithAHint) {
  app_.sAppFolder = testing_support::ShippedLanguagesFolder(TWINSWEEP_SOURCE_DIR);
  const struct {
    const char16_t* szArgs;
    uint32_t nError;  // 1155: ERROR_NO_ASSOCIATION, 1156: ERROR_DDE_FAIL
  } rows[] = {{u"help", 1155}, {u"buyonline", 1155}, {u"buyonline", 1156}};
  for (const auto& row : rows) {
    dialogs_.shown.clear();
    shell_.nError = row.nError;
    testing_support::RecordingDiagnostics diagnostics;
    diagnostics.errorTexts[1155] = u"No application is associated with the specified file for this operation.";
    testing_support::ScopedLogSystem o(diagnostics);
    Run(row.szArgs);
    EXPECT_EQ(nExit_, row.nError == 1156 ? mMain::kExitDone : mMain::kExitErrorBox);
    ASSERT_EQ(dialogs_.shown.size(), row.nError == 1156 ? 0u : 1u);
    if (row.nError == 1156) continue;
    EXPECT_EQ(dialogs_.shown[0].sText,
              u"Error(1155): No application is associated with the specified file for this operation.\r\nNo program "
              u"is set to open web pages or help files. Choose a default web browser in Windows and try again.");
  }
}

// Above the desktop's rights the launcher starts itself again through the
// desktop's shell before it asks anything, or shows the different-rights hint.
TEST_F(MainTest, TheLauncherKeepsToTheDesktopsRights) {
  using platform::kIntegrityHigh;
  using platform::kIntegrityMedium;
  const struct {
    const char* szCase;
    uint32_t nOwn, nShell;
    int32_t nStartResult;  // of the start through the desktop's shell
    int nExit;             // kExitDone: the question was asked
  } rows[] = {
      {"both at medium", kIntegrityMedium, kIntegrityMedium, 0, mMain::kExitDone},
      {"elevated, shell reachable", kIntegrityHigh, kIntegrityMedium, 0, mMain::kExitStartedAgain},
      {"elevated, the shell's start fails", kIntegrityHigh, kIntegrityMedium, -2147467259, mMain::kExitOtherRights},
      {"elevated, no desktop window", kIntegrityHigh, kIntegrityMedium, 1, mMain::kExitOtherRights},
      {"no shell window at all (Wine)", kIntegrityHigh, 0, 0, mMain::kExitDone},
      {"both elevated", kIntegrityHigh, kIntegrityHigh, 0, mMain::kExitDone},
      {"system above a medium desktop", 0x4000, kIntegrityMedium, 0, mMain::kExitStartedAgain},
  };
  app_.sAppFolder = testing_support::ShippedLanguagesFolder(TWINSWEEP_SOURCE_DIR);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.szCase);
    rights_ = testing_support::FakeDesktopRights();
    rights_.nOwn = row.nOwn;
    rights_.nShell = row.nShell;
    rights_.nStartResult = row.nStartResult;
    dialogs_.shown.clear();
    dialogs_.nAnswer = platform::kIdNo;
    Run(u"/x");
    EXPECT_EQ(nExit_, row.nExit);
    EXPECT_EQ(rights_.startedWith.size(), row.nExit == mMain::kExitDone ? 0u : 1u);
    const char16_t* szBox = row.nExit == mMain::kExitDone ? u"Microsoft Outlook is not running." : u"Outlook and Twinsweep "
                            u"are running with different privileges, for example one of them as administrator.";
    ASSERT_EQ(dialogs_.shown.size(), row.nExit == mMain::kExitStartedAgain ? 0u : 1u);
    for (const auto& shown : dialogs_.shown) EXPECT_EQ(shown.sText.rfind(szBox, 0), 0u);
  }
  EXPECT_EQ(rights_.startedWith, std::vector<std::u16string>{u"/x"});
}

}  // namespace
