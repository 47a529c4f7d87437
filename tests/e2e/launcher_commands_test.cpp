// "help" and "buyonline" of the real program: which target reaches the shell, for
// the language identifiers and help files an installation can have.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/launcher_install.h"
#include "support/message_box.h"
#include "support/paths.h"
#include "support/policy_template.h"
#include "support/read_file.h"
#include "support/product_options.h"
#include "support/registry.h"
#include "support/shell_recorder.h"
#include "support/utf8_text.h"

namespace e2e {
namespace {

constexpr DWORD kRunTimeoutMs = 30000;
const std::wstring kProductSite = std::wstring(TWINSWEEP_WEB_SCHEME) + L"://" + TWINSWEEP_PRODUCT_HOST;
const std::wstring kMakerSite = std::wstring(TWINSWEEP_WEB_SCHEME) + L"://" + TWINSWEEP_MAKER_HOST;

struct CommandCase {
  const char* szName;
  std::wstring sArgs;
  std::optional<std::wstring> vLangId;  // the user's "LANG"; nullopt: none stored
  std::vector<std::wstring> files;      // files in the application's folder
  std::vector<std::wstring> folders;    // folders in the application's folder
  // The target the shell must receive; a leading "\" stands for the application's folder.
  std::wstring sTarget;
};

std::ostream& operator<<(std::ostream& os, const CommandCase& c) { return os << c.szName; }

class LauncherCommand : public ::testing::TestWithParam<CommandCase> {
 protected:
  ShellOpenRecorder recorder_;
};

TEST_P(LauncherCommand, OpensExactlyTheExpectedTarget) {
  const CommandCase& c = GetParam();
  // "LANG_" names a language file; neither branch may look at it.
  ScopedProductOptions options(c.vLangId, L"Deutsch.lng");
  LauncherInstall install;
  for (const auto& sName : c.files) install.AddFile(sName, "help file");
  for (const auto& sName : c.folders) install.AddFolder(sName);

  ProcessTree launcher = install.Run(c.sArgs);
  ASSERT_TRUE(launcher.WaitForTreeExit(kRunTimeoutMs)) << "the program or a handler it started did not end";

  std::wstring sExpected = c.sTarget[0] == L'\\' ? install.Folder() + c.sTarget : c.sTarget;
  EXPECT_EQ(recorder_.Targets(), std::vector<std::wstring>{sExpected});
}

const CommandCase kCommandCases[] = {
    {"PlainHelpFileForEN", L"help", L"EN", {L"Twinsweep.chm", L"EN_Twinsweep.chm"}, {}, L"\\Twinsweep.chm"},
    {"PrefixedHelpFileForENWithoutPlainOne", L"help", L"EN", {L"EN_Twinsweep.chm"}, {}, L"\\EN_Twinsweep.chm"},
    {"WebHelpForENWithoutFiles", L"help", L"EN", {}, {}, kProductSite + L"/WebHelp/TwinsweepHelp.htm"},
    {"FolderNamedLikeTheHelpFileDoesNotCount", L"help", L"EN", {}, {L"Twinsweep.chm", L"EN_Twinsweep.chm"},
     kProductSite + L"/WebHelp/TwinsweepHelp.htm"},
    {"LowerCaseEnSkipsPlainFileAndUsesWebHelpWithoutFolder", L"help", L"en", {L"Twinsweep.chm"}, {},
     kProductSite + L"/WebHelp/TwinsweepHelp.htm"},
    {"LowerCaseEnTakesItsPrefixedFile", L"help", L"en", {L"Twinsweep.chm", L"en_Twinsweep.chm"}, {},
     L"\\en_Twinsweep.chm"},
    {"PrefixedHelpFileForDE", L"help", L"DE", {L"Twinsweep.chm", L"DE_Twinsweep.chm"}, {}, L"\\DE_Twinsweep.chm"},
    {"WebHelpForDEWithoutItsFile", L"help", L"DE", {L"Twinsweep.chm", L"EN_Twinsweep.chm"}, {},
     kProductSite + L"/DE/WebHelp/TwinsweepHelp.htm"},
    {"NoStoredLanguageMeansEN", L"help", std::nullopt, {L"Twinsweep.chm"}, {}, L"\\Twinsweep.chm"},
    {"HelpWordIgnoresCase", L"HELP", L"DE", {}, {}, kProductSite + L"/DE/WebHelp/TwinsweepHelp.htm"},
    {"PurchasePageForDE", L"buyonline", L"DE", {}, {}, kMakerSite + L"/purchase_twinsweep.asp?lang=DE"},
    {"PurchaseWordIgnoresCase", L"BuyOnline", L"fr", {}, {}, kMakerSite + L"/purchase_twinsweep.asp?lang=fr"},
    {"PurchasePageWithoutStoredLanguage", L"buyonline", std::nullopt, {}, {},
     kMakerSite + L"/purchase_twinsweep.asp?lang=EN"},
};

INSTANTIATE_TEST_SUITE_P(Command, LauncherCommand, ::testing::ValuesIn(kCommandCases),
                         [](const auto& info) { return std::string(info.param.szName); });

// Whatever the registry holds under "LANG", the program reads it as the options do:
// a value that is not a string is someone's setting it cannot read, so English
// serves and the value is kept; a long one is read whole.
TEST(LauncherStoredLanguage, ValueOfAnotherTypeIsKeptAndEnglishServes) {
  ShellOpenRecorder recorder;
  ScopedProductOptions options(std::nullopt, std::nullopt);
  ScopedRegistryValue number(HKEY_CURRENT_USER, kOptionsKey, L"LANG", REG_DWORD, {0x44, 0x45, 0, 0});
  LauncherInstall install;
  install.AddFile(L"Twinsweep.chm", "help file");
  ProcessTree launcher = install.Run(L"help");
  ASSERT_TRUE(launcher.WaitForTreeExit(kRunTimeoutMs));
  EXPECT_EQ(recorder.Targets(), std::vector<std::wstring>{install.Folder() + L"\\Twinsweep.chm"});
  EXPECT_FALSE(ScopedProductOptions::UserLangId().has_value());
  DWORD nType = 0, nValue = 0, nSize = sizeof nValue;
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, kOptionsKey, L"LANG", RRF_RT_ANY, &nType, &nValue, &nSize), ERROR_SUCCESS);
  EXPECT_EQ(nType, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(nValue, 0x4544u);
}

TEST(LauncherStoredLanguage, LongIdentifierIsReadWhole) {
  const std::wstring sLangId(300, L'Q');
  ShellOpenRecorder recorder;
  ScopedProductOptions options(sLangId, std::nullopt);
  LauncherInstall install;
  ProcessTree launcher = install.Run(L"buyonline");
  ASSERT_TRUE(launcher.WaitForTreeExit(kRunTimeoutMs));
  EXPECT_EQ(recorder.Targets(), std::vector<std::wstring>{kMakerSite + L"/purchase_twinsweep.asp?lang=" + sLangId});
}

// The program's paths are wide throughout: a folder name outside the ANSI code page
// reaches the shell unchanged.
TEST(LauncherCommandPaths, HelpFileInAFolderOutsideTheAnsiCodePage) {
  ShellOpenRecorder recorder;
  ScopedProductOptions options(L"EN", std::nullopt);
  LauncherInstall install(LauncherInstall::LanguageFiles::kNone, L"\u0421\u043F\u0440\u0430\u0432\u043A\u0430 \u2603");
  install.AddFile(L"Twinsweep.chm", "help file");
  ProcessTree launcher = install.Run(L"help");
  ASSERT_TRUE(launcher.WaitForTreeExit(kRunTimeoutMs));
  EXPECT_EQ(recorder.Targets(), std::vector<std::wstring>{install.Folder() + L"\\Twinsweep.chm"});
}

// A help file that no program opens: the shell's failure is shown with a hint
// and the program says so in its exit code, rather than ending without a word.
TEST(LauncherCommandPaths, AHelpFileThatNoProgramOpensShowsTheHint) {
  ScopedProductOptions options(L"EN", std::nullopt);
  ScopedRegistryValue noHandler(HKEY_CLASSES_ROOT, L".chm", L"", std::wstring(L"Twinsweep.NoHandler"));
  LauncherInstall install(LauncherInstall::LanguageFiles::kShipped);
  install.AddFile(L"Twinsweep.chm", "help file");
  ProcessTree launcher = install.Run(L"help");
  auto box = WaitForMessageBox({launcher.Id(), std::wstring(L"TwinsweepLauncher")}, kRunTimeoutMs);
  ASSERT_TRUE(box) << "no error box";
  EXPECT_EQ(box->sText.rfind(L"Error(", 0), 0u) << ToUtf8(box->sText);
  EXPECT_EQ(box->sText.substr(box->sText.find(L"\r\n") + 2),
            L"No program is set to open web pages or help files. Choose a default web browser in Windows and try again.")
      << ToUtf8(box->sText);
  ASSERT_TRUE(PressButton(*box, IDOK));
  ASSERT_TRUE(launcher.WaitForExit(kRunTimeoutMs));
  EXPECT_EQ(launcher.ExitCode(), std::optional<DWORD>(1));
}

TEST(LauncherCommandOptions, MissingLanguageIsStoredAsEN) {
  ShellOpenRecorder recorder;
  ScopedProductOptions options(std::nullopt, std::nullopt);
  LauncherInstall install;
  ProcessTree launcher = install.Run(L"buyonline");
  ASSERT_TRUE(launcher.WaitForTreeExit(kRunTimeoutMs));
  EXPECT_EQ(ScopedProductOptions::UserLangId(), std::optional<std::wstring>(L"EN"));
}

// Anything but the whole command word runs the launch sequence: with no mail client
// running, it asks whether to start it. Answering No ends the program quietly.
struct OtherCase {
  const char* szName;
  std::wstring sArgs;
};

class LauncherOtherCommand : public ::testing::TestWithParam<OtherCase> {};

TEST_P(LauncherOtherCommand, RunsTheLaunchSequenceInstead) {
  ShellOpenRecorder recorder;
  ScopedProductOptions options(L"EN", std::nullopt);
  LauncherInstall install(LauncherInstall::LanguageFiles::kShipped);
  install.AddFile(L"Twinsweep.chm", "help file");

  ProcessTree launcher = install.Run(GetParam().sArgs);
  auto box = WaitForMessageBox({launcher.Id(), std::nullopt}, kRunTimeoutMs);
  ASSERT_TRUE(box) << "no question was asked";
  EXPECT_EQ(box->buttons, (std::vector<int>{IDYES, IDNO})) << box->sText;
  ASSERT_TRUE(PressButton(*box, IDNO));
  ASSERT_TRUE(launcher.WaitForTreeExit(kRunTimeoutMs));
  EXPECT_EQ(recorder.Targets(), std::vector<std::wstring>{});
}

std::ostream& operator<<(std::ostream& os, const OtherCase& c) { return os << c.szName; }

const OtherCase kOtherCases[] = {
    {"WordAmongOthers", L"help now"},
    {"QuotedWord", L"\"help\""},
    {"TwoCommandWords", L"buyonline help"},
    {"EmptyCommandLine", L""},
};

INSTANTIATE_TEST_SUITE_P(NotACommandWord, LauncherOtherCommand, ::testing::ValuesIn(kOtherCases),
                         [](const auto& info) { return std::string(info.param.szName); });

// The release zip as a user unpacks it: scripts/test unpacks it into a folder whose
// path has a space and names that folder in TWINSWEEP_PACKAGE_DIR (skipped without).
TEST(PackagedLauncher, HelpRunsFromTheUnpackedReleaseZip) {
  wchar_t szFolder[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"TWINSWEEP_PACKAGE_DIR", szFolder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) GTEST_SKIP() << "TWINSWEEP_PACKAGE_DIR names no unpacked release zip";
  ASSERT_TRUE(IsFile(JoinPath(szFolder, L"EN.lng")));
  ShellOpenRecorder recorder;
  ScopedProductOptions options(L"DE", std::nullopt);
  ProcessTree launcher(JoinPath(szFolder, L"TwinsweepLauncher.exe"), L"help");
  ASSERT_TRUE(launcher.WaitForTreeExit(kRunTimeoutMs));
  EXPECT_EQ(recorder.Targets(), std::vector<std::wstring>{kProductSite + L"/DE/WebHelp/TwinsweepHelp.htm"});
}

std::optional<std::wstring> Environment(const wchar_t* szName) {
  wchar_t sz[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(szName, sz, MAX_PATH);
  return n == 0 || n >= MAX_PATH ? std::nullopt : std::optional<std::wstring>(sz);
}

// The question that the launcher installed in the folder asks a user with no
// language of their own, answered No.
std::wstring InstalledLaunchersQuestion(const std::wstring& sFolder) {
  ScopedRegistryValue userLang(HKEY_CURRENT_USER, kOptionsKey, L"LANG", std::nullopt);
  ScopedRegistryValue userLangFile(HKEY_CURRENT_USER, kOptionsKey, L"LANG_", std::nullopt);
  ProcessTree launcher(JoinPath(sFolder, L"TwinsweepLauncher.exe"), L"");
  auto box = WaitForMessageBox({launcher.Id(), std::nullopt}, kRunTimeoutMs);
  if (!box) return L"(no question was asked)";
  EXPECT_TRUE(PressButton(*box, IDNO));
  EXPECT_TRUE(launcher.WaitForTreeExit(kRunTimeoutMs));
  return box->sText;
}

// The installer as an administrator runs it: scripts/test installs the MSI with
// LANG=DE and names the installation folder in TWINSWEEP_INSTALLED_DIR (skipped
// without). A user with no language of their own is asked in the machine's.
TEST(PackagedLauncher, AsksInTheLanguageTheInstallerWrote) {
  const std::optional<std::wstring> vFolder = Environment(L"TWINSWEEP_INSTALLED_DIR");
  if (!vFolder) GTEST_SKIP() << "TWINSWEEP_INSTALLED_DIR names no installation";
  ASSERT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, kOptionsKey, L"LANG"), std::optional<std::wstring>(L"DE"));
  EXPECT_EQ(InstalledLaunchersQuestion(*vFolder),
            L"Microsoft Outlook wird nicht ausgef\u00fchrt.\r\nM\u00f6chten Sie Outlook jetzt starten?");
}

// A language added as one file, installed (scripts/release-checks): the machine
// policy, set where the template says, names its langid (TWINSWEEP_POLICY_LANG),
// and the launcher asks as the installed LANGID.lng words the question.
TEST(PackagedLauncher, AsksInTheLanguageAMachinePolicyNames) {
  const std::optional<std::wstring> vFolder = Environment(L"TWINSWEEP_INSTALLED_DIR");
  const std::optional<std::wstring> vLangId = Environment(L"TWINSWEEP_POLICY_LANG");
  if (!vFolder || !vLangId) GTEST_SKIP() << "TWINSWEEP_INSTALLED_DIR or TWINSWEEP_POLICY_LANG is not given";
  const std::string sFile = ReadWholeFile(JoinPath(*vFolder, *vLangId + L".lng"));
  const size_t nKey = sFile.find("\nLID_RUN_OUTLOOK"), nOpen = sFile.find('"', nKey);
  const size_t nClose = sFile.rfind('"', sFile.find('\n', nKey + 1));
  ASSERT_TRUE(nKey != std::string::npos && nOpen < nClose) << "the language's file has no question";
  // As the box shows it: quotes single, "\n" a line break (the texts the launcher uses have no other escape).
  std::string sExpected;
  for (size_t i = nOpen + 1; i < nClose; ++i) {
    const bool bPair = sFile.compare(i, 2, "\"\"") == 0 || sFile.compare(i, 2, "\\n") == 0;
    sExpected += !bPair ? std::string(1, sFile[i]) : sFile[i] == '"' ? "\"" : "\r\n";
    i += bPair;
  }
  const PolicyPlace place = ReadPolicyPlace("Language");
  ScopedRegistryValue policy(HKEY_LOCAL_MACHINE, place.sKey, place.sValueName, *vLangId);
  EXPECT_EQ(InstalledLaunchersQuestion(*vFolder), FromUtf8(sExpected));
}

}  // namespace
}  // namespace e2e
