// The launch sequence end to end: the real TwinsweepLauncher.exe with its shipped
// language files, the real message box answered as a user would, and the stand-in
// mail client registered as "Outlook.Application" and driven through real COM.
// Together the scenarios pass through every state of the sequence: the probe
// (running, not running), the question (Yes, No), the start decision (started
// meanwhile, start fails, start succeeds), both waits, and the wizard call (made,
// or failed into the error box).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/launcher_install.h"
#include "support/message_box.h"
#include "support/paths.h"
#include "support/policy_template.h"
#include "support/product_options.h"
#include "support/registry.h"
#include "support/standin_outlook.h"
#include "support/temp_folder.h"

namespace e2e {
namespace {

constexpr DWORD kBoxTimeoutMs = 20000;
constexpr DWORD kRunTimeoutMs = 60000;
constexpr wchar_t kQuestionEN[] = L"Microsoft Outlook is not running.\r\nDo you want to start Outlook now?";
constexpr wchar_t kQuestionDE[] = L"Microsoft Outlook wird nicht ausgef\u00fchrt.\r\nM\u00f6chten Sie Outlook jetzt starten?";
constexpr wchar_t kAppPathsOutlook[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE";
constexpr wchar_t kGoodExecute[] = L"execute object=first args=VT_BSTR,VT_DISPATCH(null) command=ShowQuickWizard hr=0x00000000";

// True when the button nButton of the box is its default push button.
bool IsDefaultButton(HWND hBox, int nButton) {
  HWND hButton = GetDlgItem(hBox, nButton);
  return hButton && (GetWindowLongW(hButton, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

// One scenario's world. The stand-in is asked to end before the launcher's process
// tree goes (a stand-in that COM started belongs to that tree): one that is killed
// leaves its class registration behind for the next scenario.
class LaunchScenario : public ::testing::Test {
 protected:
  void Prepare(const wchar_t* szLangId, const StandInSettings& settings = {},
               StandInOutlook::Registration registration = StandInOutlook::Registration::kLocalServer) {
    options_.emplace(std::wstring(szLangId), std::nullopt);
    outlook_.emplace(settings, registration);
    install_.emplace(LauncherInstall::LanguageFiles::kShipped);
  }
  void TearDown() override {
    outlook_.reset();
    launcher_.reset();
    install_.reset();
    options_.reset();
    // Only now has every copy of the stand-in ended and let go of its file and of
    // its current folder (the launcher's, which it inherited).
    for (const std::wstring& sFile : removeAtEnd_) DeleteFileW(sFile.c_str());
    work_.reset();
  }
  // A folder to start the launcher in, as a user starts it from a document's folder.
  const std::wstring& WorkFolder() {
    if (!work_) {
      work_.emplace(u"twinsweep-work");
      sWork_ = Wide(work_->Path());
    }
    return sWork_;
  }
  StandInOutlook& Outlook() { return *outlook_; }
  ProcessTree& RunLauncher(const std::wstring& sWorkingFolder = std::wstring()) {
    launcher_.emplace(install_->ExePath(), L"", EnvironmentChanges{}, sWorkingFolder);
    return *launcher_;
  }

  // Waits for the question, checks its make-up and answers it.
  void AnswerQuestion(int nButton, const wchar_t* szQuestion = kQuestionEN,
                      const std::function<void()>& whileOpen = nullptr) {
    auto box = WaitForMessageBox({launcher_->Id(), std::wstring(L"Twinsweep")}, kBoxTimeoutMs);
    ASSERT_TRUE(box) << "no question";
    EXPECT_EQ(box->sText, szQuestion);
    EXPECT_EQ(box->buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_FALSE(box->bHasIcon);
    EXPECT_TRUE(IsDefaultButton(box->hWnd, IDYES));
    if (whileOpen) whileOpen();
    ASSERT_TRUE(PressButton(*box, nButton));
  }

  // The launcher ended by itself: nothing (no box) was left waiting for an answer.
  void ExpectEnds() { ASSERT_TRUE(launcher_->WaitForExit(kRunTimeoutMs)) << Outlook().RecordText(); }

  void ExpectOneGoodWizardCall() {
    ASSERT_EQ(Outlook().Events(L"execute").size(), 1u) << Outlook().RecordText();
    EXPECT_EQ(Outlook().Events(L"execute")[0].sText, kGoodExecute);
  }

  std::optional<ScopedProductOptions> options_;
  std::optional<LauncherInstall> install_;
  std::optional<ProcessTree> launcher_;
  std::optional<StandInOutlook> outlook_;
  std::vector<std::wstring> removeAtEnd_;
  std::optional<testing_support::TempFolder> work_;
  std::wstring sWork_;
};

TEST_F(LaunchScenario, RunningWithTheAddinNoQuestionWizardAtOnce) {
  Prepare(L"EN");
  Outlook().StartDirectly();
  RunLauncher();
  ExpectEnds();
  ExpectOneGoodWizardCall();
  // The index went by reference.
  EXPECT_EQ(Outlook().Events(L"call Item")[0].sText, L"call Item flags=3 args=VT_I4|VT_BYREF");
}

TEST_F(LaunchScenario, NoStartsNothing) {
  Prepare(L"EN");
  RunLauncher();
  AnswerQuestion(IDNO);
  ExpectEnds();
  EXPECT_TRUE(Outlook().Events(L"start").empty()) << Outlook().RecordText();
}

TEST_F(LaunchScenario, GermanQuestionWhenLangIsDE) {
  Prepare(L"DE");
  RunLauncher();
  AnswerQuestion(IDNO, kQuestionDE);
  ExpectEnds();
}

// The language policy, set where the policy template says: the question comes in
// the policy's language although the user's own says otherwise, and the user's
// key keeps its own language (nothing is written back) but remembers the file.
struct PolicyLanguageCase {
  const char* szName;
  HKEY hRoot;
  REGSAM nView;
  std::optional<std::wstring> vUserLang;
};

std::ostream& operator<<(std::ostream& os, const PolicyLanguageCase& c) { return os << c.szName; }

class PolicyLanguageScenario : public LaunchScenario, public ::testing::WithParamInterface<PolicyLanguageCase> {};

TEST_P(PolicyLanguageScenario, TheQuestionComesInThePolicysLanguage) {
  const PolicyLanguageCase& c = GetParam();
  const PolicyPlace place = ReadPolicyPlace("Language");
  ASSERT_NE(std::find(place.roots.begin(), place.roots.end(), c.hRoot), place.roots.end())
      << "the template's language policy is not for this scope";
  options_.emplace(c.vUserLang, std::nullopt);
  ScopedRegistryValue policy(c.hRoot, place.sKey, place.sValueName, std::wstring(L"DE"), c.nView);
  outlook_.emplace(StandInSettings{}, StandInOutlook::Registration::kLocalServer);
  install_.emplace(LauncherInstall::LanguageFiles::kShipped);
  RunLauncher();
  AnswerQuestion(IDNO, kQuestionDE);
  ExpectEnds();
  EXPECT_EQ(ScopedProductOptions::UserLangId(), c.vUserLang);
  EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, kOptionsKey, L"LANG_"), std::optional<std::wstring>(L"DE.lng"));
}

const PolicyLanguageCase kPolicyLanguageCases[] = {
    {"MachinePolicyOverTheUsersFR", HKEY_LOCAL_MACHINE, 0, L"FR"},
    {"UserPolicyOverTheUsersFR", HKEY_CURRENT_USER, 0, L"FR"},
    {"MachinePolicyInThe32BitView", HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"FR"},
    {"NoEnglishWrittenBackWithAPolicy", HKEY_LOCAL_MACHINE, 0, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Policy, PolicyLanguageScenario, ::testing::ValuesIn(kPolicyLanguageCases),
                         [](const auto& info) { return std::string(info.param.szName); });

TEST_F(LaunchScenario, YesStartsTheRegisteredCommandLineAndCallsTheWizard) {
  StandInSettings settings;
  settings.nAddinDelayMs = 1500;
  Prepare(L"EN", settings);
  RunLauncher();
  AnswerQuestion(IDYES);
  ExpectEnds();
  auto starts = Outlook().Events(L"start");
  ASSERT_EQ(starts.size(), 1u) << Outlook().RecordText();
  EXPECT_NE(starts[0].sText.find(L" cmdline=" + Outlook().RegisteredCommandLine()), std::wstring::npos)
      << Outlook().RecordText();
  ExpectOneGoodWizardCall();
  EXPECT_GT(Outlook().Events(L"execute")[0].nTimeMs, Outlook().Events(L"addin-mutex")[0].nTimeMs);
}

TEST_F(LaunchScenario, YesAfterTheUserStartedOutlookStartsNoSecondOne) {
  Prepare(L"EN");
  RunLauncher();
  AnswerQuestion(IDYES, kQuestionEN, [&] { Outlook().StartDirectly(); });
  ExpectEnds();
  EXPECT_EQ(Outlook().Events(L"start").size(), 1u) << Outlook().RecordText();
  ExpectOneGoodWizardCall();
}

// Without LocalServer32 the bare "OUTLOOK.EXE" is found where Office records it
// (App Paths), never in the folder the launcher was started from.
TEST_F(LaunchScenario, WithoutLocalServer32OutlookExeIsStartedFromAppPaths) {
  Prepare(L"EN", {}, StandInOutlook::Registration::kNoLocalServer);
  Outlook().InstallCopy(WorkFolder(), L"OUTLOOK.EXE");
  Outlook().InstallCopy(Outlook().Folder(), L"OUTLOOK.EXE");
  const std::wstring sOffice = JoinPath(Outlook().Folder(), L"OUTLOOK.EXE");
  ScopedRegistryValue appPath(HKEY_LOCAL_MACHINE, kAppPathsOutlook, L"", sOffice);
  RunLauncher(WorkFolder());
  AnswerQuestion(IDYES);
  ExpectEnds();
  auto starts = Outlook().Events(L"start");
  ASSERT_EQ(starts.size(), 1u) << Outlook().RecordText();
  EXPECT_NE(starts[0].sText.find(L" cmdline=OUTLOOK.EXE"), std::wstring::npos) << Outlook().RecordText();
  EXPECT_EQ(Outlook().StartedExes(), std::vector<std::wstring>{sOffice}) << Outlook().RecordText();
  ExpectOneGoodWizardCall();
}

TEST_F(LaunchScenario, FallbackNeverRunsAnOutlookExeOfTheWorkingFolder) {
  Prepare(L"EN", {}, StandInOutlook::Registration::kNoLocalServer);
  Outlook().InstallCopy(WorkFolder(), L"OUTLOOK.EXE");
  ScopedRegistryValue noAppPath(HKEY_LOCAL_MACHINE, kAppPathsOutlook, L"", std::nullopt);
  RunLauncher(WorkFolder());
  AnswerQuestion(IDYES);
  ExpectEnds();
  EXPECT_TRUE(Outlook().Events(L"start").empty()) << Outlook().RecordText();
}

// The system's own guess at an unquoted path with blanks would try the text up to
// each blank, plus ".exe", first ("C:\Program.exe" for "C:\Program Files\...").
TEST_F(LaunchScenario, UnquotedRegistrationStartsTheRegisteredProgramNotAPlantedOne) {
  Prepare(L"EN", {}, StandInOutlook::Registration::kUnquoted);
  const std::wstring& sCommand = Outlook().RegisteredCommandLine();
  const std::wstring sGuess = sCommand.substr(0, sCommand.find(L' '));
  const std::wstring sPlantedFolder = sGuess.substr(0, sGuess.rfind(L'\\'));
  const std::wstring sPlanted = sGuess + L".exe";
  removeAtEnd_ = {sPlanted, JoinPath(sPlantedFolder, L"standin_outlook.ini")};
  Outlook().InstallCopy(sPlantedFolder, sPlanted.substr(sPlantedFolder.size() + 1));
  RunLauncher();
  AnswerQuestion(IDYES);
  ExpectEnds();
  EXPECT_EQ(Outlook().StartedExes(), std::vector<std::wstring>{Outlook().Exe()}) << Outlook().RecordText();
  auto starts = Outlook().Events(L"start");
  ASSERT_EQ(starts.size(), 1u) << Outlook().RecordText();
  EXPECT_NE(starts[0].sText.find(L" cmdline=" + sCommand), std::wstring::npos) << Outlook().RecordText();
  ExpectOneGoodWizardCall();
}

// 32-bit Office on a 64-bit system: its class is registered in the 32-bit view only.
TEST_F(LaunchScenario, RegistrationOnlyInThe32BitViewIsStarted) {
  Prepare(L"EN", {}, StandInOutlook::Registration::kOnly32BitView);
  RunLauncher();
  AnswerQuestion(IDYES);
  ExpectEnds();
  EXPECT_EQ(Outlook().StartedExes(), std::vector<std::wstring>{Outlook().Exe()}) << Outlook().RecordText();
  ExpectOneGoodWizardCall();
}

TEST_F(LaunchScenario, FailedStartEndsSilently) {
  Prepare(L"EN", {}, StandInOutlook::Registration::kMissingProgram);
  RunLauncher();
  AnswerQuestion(IDYES);
  ExpectEnds();
  EXPECT_TRUE(Outlook().Events().empty()) << Outlook().RecordText();
}

TEST_F(LaunchScenario, OutlookEndingBeforeTheAddinEndsSilentlyAtOnce) {
  StandInSettings settings;
  settings.nAddinDelayMs = -1;
  settings.nExitAfterMs = 3000;
  Prepare(L"EN", settings);
  RunLauncher();
  AnswerQuestion(IDYES);
  ASSERT_TRUE(Outlook().WaitForEvent(L"exit", kRunTimeoutMs)) << Outlook().RecordText();
  const double nExit = Outlook().Events(L"exit")[0].nTimeMs;
  ExpectEnds();
  // How soon is a figure, not a check: one pause of 100 ms plus the time the
  // system takes to end a process.
  std::printf("launcher ended %.0f ms after the stand-in\n", PerformanceNowMs() - nExit);
  EXPECT_TRUE(Outlook().Events(L"execute").empty());
}

// The add-in's mutex can appear before Outlook has registered its class: the
// activation then fails (or starts a second Outlook that hands over) until it has.
TEST_F(LaunchScenario, ClassRegisteredLateIsStillReached) {
  StandInSettings settings;
  settings.nRegisterDelayMs = 4000;
  Prepare(L"EN", settings);
  RunLauncher();
  AnswerQuestion(IDYES);
  ExpectEnds();
  ExpectOneGoodWizardCall();
  EXPECT_GT(Outlook().Events(L"execute")[0].nTimeMs, Outlook().Events(L"registered")[0].nTimeMs);
}

TEST_F(LaunchScenario, AddinUnderAnotherCaseShowsTheErrorBox) {
  StandInSettings settings;
  settings.addins = {{L"twinsweep.connect", L"first"}};
  Prepare(L"EN", settings);
  Outlook().StartDirectly();
  RunLauncher();
  auto box = WaitForMessageBox({launcher_->Id(), std::wstring(L"TwinsweepLauncher")}, kRunTimeoutMs);
  ASSERT_TRUE(box) << "no error box";
  const std::string sText(box->sText.begin(), box->sText.end());
  EXPECT_EQ(box->sText.rfind(L"Error(91): ", 0), 0u) << sText;
  EXPECT_NE(box->sText.find(L"\"Twinsweep.Connect\" is not among Outlook's COM add-ins"), std::wstring::npos) << sText;
  EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
  ASSERT_TRUE(PressButton(*box, IDOK));
  ExpectEnds();
  EXPECT_TRUE(Outlook().Events(L"execute").empty());
}

TEST_F(LaunchScenario, TwoMatchingEntriesTheLowerIndexWins) {
  StandInSettings settings;
  settings.addins = {{L"Other.Connect", L"other"}, {L"Twinsweep.Connect", L"first"}, {L"Twinsweep.Connect", L"second"}};
  Prepare(L"EN", settings);
  Outlook().StartDirectly();
  RunLauncher();
  ExpectEnds();
  ExpectOneGoodWizardCall();
}

TEST_F(LaunchScenario, BusyRejectionsAreWaitedOut) {
  StandInSettings settings;
  settings.nRejectCalls = 5;
  Prepare(L"EN", settings);
  Outlook().StartDirectly();
  RunLauncher();
  ExpectEnds();
  EXPECT_EQ(Outlook().Events(L"rejected").size(), 5u) << Outlook().RecordText();
  ExpectOneGoodWizardCall();
}

}  // namespace
}  // namespace e2e
