// The launch sequence end to end: the real TwinsweepLauncher.exe with its shipped
// language files, the real message box answered as a user would, and the stand-in
// mail client registered as "Outlook.Application" and driven through real COM.
// Together the scenarios pass through every state of the sequence: the probe
// (running, not running), the question (Yes, No), the start decision (started
// meanwhile, start fails, start succeeds), both waits, and the wizard call (made,
// or failed into the error box).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/launcher_install.h"
#include "twinsweep/platform/win32/win32_message_wait.h"
#include "support/launcher_session.h"
#include "support/message_box.h"
#include "support/named_mutex.h"
#include "support/paths.h"
#include "support/policy_template.h"
#include "support/product_options.h"
#include "support/read_file.h"
#include "support/registry.h"
#include "support/standin_outlook.h"
#include "support/temp_folder.h"
#include "support/utf8_text.h"

namespace e2e {
namespace {

constexpr DWORD kBoxTimeoutMs = 20000;
constexpr DWORD kRunTimeoutMs = 60000;
constexpr wchar_t kQuestionEN[] = L"Microsoft Outlook is not running.\r\nDo you want to start Outlook now?";
constexpr wchar_t kQuestionDE[] = L"Microsoft Outlook wird nicht ausgef\u00fchrt.\r\nM\u00f6chten Sie Outlook jetzt starten?";
constexpr wchar_t kQuestionAR[] = L"Microsoft Outlook \u0644\u0627 \u064a\u0639\u0645\u0644.\r\n"
                                  L"\u0647\u0644 \u062a\u0631\u064a\u062f \u062a\u0634\u063a\u064a\u0644 Outlook "
                                  L"\u0627\u0644\u0622\u0646\u061f";
constexpr wchar_t kAppPathsOutlook[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE";
constexpr DWORD kCallLimitBoxTimeoutMs = 90000;
constexpr DWORD kJobLimitBoxTimeoutMs = 120000;
// How soon the launcher ends after the end of the session, and after a polite close.
constexpr DWORD kLogoffExitMs = 1000;
constexpr DWORD kPoliteCloseExitMs = 5000;
constexpr wchar_t kNewOutlookEN[] =
    L"Twinsweep works in classic Outlook only: the new Outlook cannot run its add-in.\r\nTo go back to classic "
    L"Outlook, turn off the 'New Outlook' switch at the top right of the new Outlook window. Then start Twinsweep again.";
constexpr wchar_t kHintNotInstalled[] =
    L"Outlook or the Twinsweep add-in is not installed properly. Repair or reinstall Twinsweep (or Outlook) and try "
    L"again.";
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
    log_.reset();
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
    launcher_.emplace(install_->ExePath(), L"", Environment(), sWorkingFolder);
    return *launcher_;
  }
  // Another launcher of the same installation, started while the first one runs.
  std::unique_ptr<ProcessTree> RunAnotherLauncher() {
    return std::make_unique<ProcessTree>(install_->ExePath(), L"", Environment());
  }

  // The diagnostics log, switched on for every launcher the scenario starts.
  struct Log {
    ScopedRegistryValue enabled{HKEY_CURRENT_USER, kOptionsKey, L"DiagnosticLog", REG_DWORD,
                                std::vector<BYTE>{1, 0, 0, 0}};
    ScopedRegistryValue machine{HKEY_LOCAL_MACHINE, kOptionsKey, L"DiagnosticLog", std::nullopt};
    testing_support::TempFolder appData{u"twinsweep-appdata"};
  };
  void EnableLog() { log_.emplace(); }
  EnvironmentChanges Environment() const {
    if (!log_) return {};
    return {{L"LOCALAPPDATA", Wide(log_->appData.Path())}};
  }
  // The notes of sSource of every launcher, without time and process id.
  std::vector<std::string> Notes(const std::string& sSource = "mMain.RunLaunchSequence") const {
    const std::string kNote = "\t" + sSource + "\t0\t";
    const std::string sText = ReadWholeFile(Wide(log_->appData.File(u"Orvex\\Twinsweep\\TwinsweepLauncher.log")));
    std::vector<std::string> notes;
    for (size_t pos = 0, end; (end = sText.find("\r\n", pos)) != std::string::npos; pos = end + 2) {
      const std::string sLine = sText.substr(pos, end - pos);
      const size_t at = sLine.find(kNote);
      if (at != std::string::npos) notes.push_back(sLine.substr(at + kNote.size()));
    }
    return notes;
  }
  // The one note that starts with sStart; fails the scenario when there is none.
  std::string NoteStartingWith(const std::string& sStart, const std::string& sSource = "mMain.RunLaunchSequence") const {
    std::string sAll;
    for (const std::string& sNote : Notes(sSource)) {
      if (sNote.rfind(sStart, 0) == 0) return sNote;
      sAll += sNote + "\n";
    }
    ADD_FAILURE() << "no note \"" << sStart << "\" in:\n" << sAll;
    return "";
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

  // The launcher's session window answers a sent message within the second
  // that SendMessageTimeout gives it: its thread dispatches messages.
  void ExpectAnswers(const char* szWhile) {
    const HWND hWindow = FindSessionWindow(launcher_->Id());
    ASSERT_TRUE(hWindow) << "no session window " << szWhile;
    const std::optional<double> vMs = PingMs(hWindow);
    ASSERT_TRUE(vMs) << "no answer " << szWhile;
    std::printf("%s: the session window answered in %.0f ms\n", szWhile, *vMs);
  }

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
  std::optional<Log> log_;
};

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
  // The line below says what to do, in the user's language.
  const size_t nBreak = box->sText.find(L"\r\n");
  ASSERT_NE(nBreak, std::wstring::npos) << sText;
  EXPECT_EQ(box->sText.substr(nBreak + 2), kHintNotInstalled) << sText;
  EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
  ASSERT_TRUE(PressButton(*box, IDOK));
  ExpectEnds();
  EXPECT_TRUE(Outlook().Events(L"execute").empty());
}

// A second click while the first launcher waits for the add-in: the second one
// asks whether to keep waiting; Yes leaves the first one waiting, No ends it.
TEST_F(LaunchScenario, ASecondLauncherDuringTheWaitForTheAddinAsksAndNoEndsTheFirst) {
  StandInSettings settings;
  settings.nAddinDelayMs = -1;
  Prepare(L"EN", settings);
  EnableLog();
  const double nStart = PerformanceNowMs();
  RunLauncher();
  AnswerQuestion(IDYES);
  ASSERT_TRUE(WaitForPhase(launcher_->Id(), kPhaseWaitingForAddin, kBoxTimeoutMs)) << Outlook().RecordText();
  const wchar_t kStillWaiting[] =
      L"Twinsweep is still waiting for its add-in to load in Microsoft Outlook.\r\nDo you want to keep waiting?";
  for (int nButton : {IDYES, IDNO}) {
    auto second = RunAnotherLauncher();
    auto box = WaitForMessageBox({second->Id(), std::wstring(L"Twinsweep")}, kBoxTimeoutMs);
    ASSERT_TRUE(box) << "no box from the second launcher";
    std::printf("second launcher: its box %.0f ms after the first launcher's start\n", PerformanceNowMs() - nStart);
    EXPECT_EQ(box->sText, kStillWaiting);
    EXPECT_EQ(box->buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_TRUE(IsDefaultButton(box->hWnd, IDYES));
    ASSERT_TRUE(PressButton(*box, nButton));
    const double nPressed = PerformanceNowMs();
    ASSERT_TRUE(second->WaitForExit(kRunTimeoutMs));
    if (nButton == IDYES) {
      EXPECT_FALSE(launcher_->WaitForExit(500)) << "Yes ended the first launcher";
    } else {
      ExpectEnds();
      std::printf("first launcher ended %.0f ms after No\n", PerformanceNowMs() - nPressed);
    }
  }
  EXPECT_TRUE(Outlook().Events(L"execute").empty());
  EXPECT_NE(NoteStartingWith("silent end: another launcher is waiting for the add-in; the user lets it wait"), "");
  EXPECT_NE(NoteStartingWith("silent end: another launcher was waiting for the add-in; the user asked it to stop"), "");
  EXPECT_NE(NoteStartingWith("silent end: another launcher asked this one to stop waiting for the add-in, after "),
            "");
}

// A program of the user's that holds the launcher's mutex name publishes no
// launcher state: it is not a launcher, and the launch goes on.
TEST_F(LaunchScenario, ASquattedLaunchMutexDoesNotStopTheLaunch) {
  ScopedNamedMutex squatter(L"Local\\Orvex.TwinsweepLauncher.Launch");
  Prepare(L"EN");
  EnableLog();
  const double nStart = PerformanceNowMs();
  RunLauncher();
  AnswerQuestion(IDNO);
  std::printf("squatted mutex: the question %.0f ms after the start\n", PerformanceNowMs() - nStart);
  ExpectEnds();
  EXPECT_EQ(NoteStartingWith("the launch mutex is held by a program that publishes no launcher state"),
            "the launch mutex is held by a program that publishes no launcher state: not a launcher; the launch "
            "goes on");
  EXPECT_EQ(NoteStartingWith("silent end: the question was declined"), "silent end: the question was declined");
}

// A mail client that never answers: a hung call after the call limit, a hang in
// the final release of its application object (after the wizard call) after the
// limit of the whole job. The user gets the error box with RPC_E_CALL_CANCELED
// and a line that says what to do, the waiting thread answers messages all along,
// and the launcher ends though its worker is still stuck.
struct HangCase {
  const wchar_t* szCall;
  DWORD nBoxTimeoutMs;
  const wchar_t* szFirstLine;
  size_t nExecutes;
  const wchar_t* szHint;
};

class HangScenario : public LaunchScenario, public ::testing::WithParamInterface<HangCase> {};

TEST_P(HangScenario, EndsInTheErrorBoxAfterTheLimit) {
  const HangCase& c = GetParam();
  StandInSettings settings;
  settings.sHangCall = c.szCall;
  settings.nLifetimeMs = 150000;
  Prepare(L"EN", settings);
  Outlook().StartDirectly();
  RunLauncher();
  const std::wstring sHang = L"hang " + std::wstring(c.szCall);
  ASSERT_TRUE(Outlook().WaitForEvent(sHang, kBoxTimeoutMs)) << Outlook().RecordText();
  ExpectAnswers("a hung call");
  auto box = WaitForMessageBox({launcher_->Id(), std::wstring(L"TwinsweepLauncher")}, c.nBoxTimeoutMs);
  ASSERT_TRUE(box) << "no error box " << Outlook().RecordText();
  ExpectAnswers("a hung call given up");
  std::printf("%ls: the error box %.0f ms after the hang\n", sHang.c_str(), PerformanceNowMs() - Outlook().Events(sHang)[0].nTimeMs);
  EXPECT_EQ(Outlook().Events(sHang).size(), 1u) << Outlook().RecordText();
  EXPECT_EQ(Outlook().Events(L"execute").size(), c.nExecutes) << Outlook().RecordText();
  EXPECT_EQ(box->sText, std::wstring(c.szFirstLine) + L"\r\n" + c.szHint);
  EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
  ASSERT_TRUE(PressButton(*box, IDOK));
  ExpectEnds();
  EXPECT_TRUE(Outlook().Events(L"hang-ended").empty()) << Outlook().RecordText();
}

const HangCase kHangCases[] = {
    {L"Execute", kCallLimitBoxTimeoutMs, L"Error(-2147418110): Outlook did not answer the call of Execute within 60 seconds.", 0,
     L"Outlook did not answer within 60 seconds. If Outlook is showing a dialog box, close it; otherwise restart Outlook. "
     L"Then try again."},
    {L"Release", kJobLimitBoxTimeoutMs, L"Error(-2147418110): Outlook did not let the wizard call end within 90 seconds.", 1,
     L"Outlook did not finish the wizard call within 90 seconds. The wizard may already be open in Outlook: look for it "
     L"there. Otherwise restart Outlook and try again."},
};

INSTANTIATE_TEST_SUITE_P(Hang, HangScenario, ::testing::ValuesIn(kHangCases),
                         [](const auto& info) { return std::string(info.param.szCall[0] == L'E' ? "Execute" : "FinalRelease"); });

// A mail client that holds its mutexes but never registers its class: each
// activation makes the system start its program again, four times at most.
TEST_F(LaunchScenario, AServerThatNeverRegistersIsStartedAtMostFourTimes) {
  StandInSettings settings;
  settings.nRegisterDelayMs = -1;
  Prepare(L"EN", settings);
  Outlook().StartDirectly();
  const double nStart = PerformanceNowMs();
  RunLauncher();
  auto box = WaitForMessageBox({launcher_->Id(), std::wstring(L"TwinsweepLauncher")}, kRunTimeoutMs);
  ASSERT_TRUE(box) << "no error box " << Outlook().RecordText();
  // The ones the system started handed over to the first one and ended.
  const size_t nSystemStarts = Outlook().Events(L"second-instance").size();
  std::printf("never registering: the error box %.0f ms after the start, %u starts by the system\n",
              PerformanceNowMs() - nStart, static_cast<unsigned>(nSystemStarts));
  // One creation and its three repeats, each starting the program once.
  EXPECT_EQ(nSystemStarts, 4u) << Outlook().RecordText();
  const std::wstring sFirst = L"Error(-2146959355): ";
  EXPECT_EQ(box->sText.substr(0, sFirst.size()), sFirst) << ToUtf8(box->sText);
  const size_t nBreak = box->sText.find(L"\r\n");
  ASSERT_NE(nBreak, std::wstring::npos) << ToUtf8(box->sText);
  EXPECT_EQ(box->sText.substr(nBreak + 2),
            L"Outlook and Twinsweep are running with different privileges, for example one of them as administrator. "
            L"Start both normally, or both as administrator, and try again.");
  ASSERT_TRUE(PressButton(*box, IDOK));
  ExpectEnds();
}

// A second launcher's box may stay open for long, and its No reaches only the
// launcher it asked about: here that one ends meanwhile (a third launcher's user
// stops it) and a fourth takes over the wait, which the late No leaves alone.
TEST_F(LaunchScenario, ALateNoDoesNotStopTheLauncherThatTookOver) {
  StandInSettings settings;
  settings.nAddinDelayMs = -1;
  Prepare(L"EN", settings);
  EnableLog();
  Outlook().StartDirectly();
  RunLauncher();
  ASSERT_TRUE(WaitForPhase(launcher_->Id(), kPhaseWaitingForAddin, kBoxTimeoutMs));
  auto late = RunAnotherLauncher();
  auto lateBox = WaitForMessageBox({late->Id(), std::wstring(L"Twinsweep")}, kBoxTimeoutMs);
  ASSERT_TRUE(lateBox) << "no box from the late launcher";
  auto stopper = RunAnotherLauncher();
  auto stopBox = WaitForMessageBox({stopper->Id(), std::wstring(L"Twinsweep")}, kBoxTimeoutMs);
  ASSERT_TRUE(stopBox) << "no box from the stopping launcher";
  ASSERT_TRUE(PressButton(*stopBox, IDNO));
  ExpectEnds();
  ASSERT_TRUE(stopper->WaitForExit(kRunTimeoutMs));
  auto next = RunAnotherLauncher();
  ASSERT_TRUE(WaitForPhase(next->Id(), kPhaseWaitingForAddin, kBoxTimeoutMs));
  ASSERT_TRUE(PressButton(*lateBox, IDNO));
  ASSERT_TRUE(late->WaitForExit(kRunTimeoutMs));
  EXPECT_FALSE(next->WaitForExit(500)) << "the late No stopped the launcher that took over";
  EXPECT_TRUE(WaitForPhase(next->Id(), kPhaseWaitingForAddin, 0));
  EXPECT_NE(NoteStartingWith("silent end: another launcher was waiting for the add-in; the user asked it to stop, but "
                             "it had ended and another launcher runs now"),
            "");
}

// One launch as a row: what is set up before the launcher starts, what the user
// answers, what it is then seen waiting in and what happens to it there, and the
// box, exit code, count of the stand-in's events, wizard calls and note that follow.
// Its thread dispatches messages in every wait, so its session window answers; the
// end of the session ends it at once, and a polite close (taskkill without /F:
// WM_CLOSE, or WM_QUIT) ends it as a No would. The new Outlook (switched on, or
// olk.exe running after a hand-over) is explained at once; a classic Outlook
// running, or a hand-over without olk.exe, goes on as always.
enum Before : unsigned {
  kAsIs = 0,
  kOutlookRuns = 1,              // started directly before the launcher
  kOutlookStartsWhileAsked = 2,  // started by the user while the question is open
  kNewOutlookOn = 4,             // the user's new Outlook switch, on
  kNewOutlookOff = 8,            // the same switch, off
  kOlkRuns = 16,                 // a program runs under the new Outlook's file name
  kNoProgram = 32,               // the registration names a program that does not exist
  kOnly32BitView = 64,           // the class is registered in the 32-bit registry view only (32-bit Office)
};
enum class Wait { kNothing, kForOutlook, kForTheAddin, kInAHungCall, kForTheHandOver, kForOutlooksEnd };
enum class Then { kEnds, kAnswers, kStillWaits, kLogoff, kTaskkill, kQuit };
struct Counted {
  const wchar_t* szPrefix = nullptr;  // nullptr: nothing counted; L"": every event
  size_t nCount = 0;
};
struct Noted {
  const char* szSource = nullptr;
  const char* szText = nullptr;  // the whole note; one that ends in a blank is its start (a time follows)
};
// The columns after the first seven are left out where they are not checked.
struct Flow {
  const char* szName;
  const wchar_t* szLang;
  void (*mail)(StandInSettings&);  // how the stand-in behaves; nullptr: as it does by default
  unsigned nBefore;                // Before flags
  int nAnswer;                     // the question's button; 0: no question
  Wait wait;
  Then then;
  Counted counted = {};
  int nWizardCalls = -1;                         // -1: not checked; 1: the one good call
  int nExitCode = -1;                            // -1: not checked
  Noted note = {};
  const wchar_t* szBox = nullptr;                // the box that comes then, answered with OK
  const wchar_t* szCallAfter = nullptr;          // the event that the wizard call must come after
  void (*also)(const StandInOutlook&) = nullptr;  // what else the stand-in's record must show
};
std::ostream& operator<<(std::ostream& os, const Flow& c) { return os << c.szName; }

const wchar_t* QuestionIn(const std::wstring& sLang) {
  return sLang == L"DE" ? kQuestionDE : sLang == L"AR" ? kQuestionAR : kQuestionEN;
}

class LaunchFlow : public LaunchScenario, public ::testing::WithParamInterface<Flow> {};

TEST_P(LaunchFlow, GoesAsItsRowSays) {
  const Flow& c = GetParam();
  StandInSettings settings;
  if (c.mail) c.mail(settings);
  Prepare(c.szLang, settings,
          c.nBefore & kNoProgram       ? StandInOutlook::Registration::kMissingProgram
          : c.nBefore & kOnly32BitView ? StandInOutlook::Registration::kOnly32BitView
                                       : StandInOutlook::Registration::kLocalServer);
  EnableLog();
  std::optional<ScopedRegistryValue> useNew;
  if (c.nBefore & (kNewOutlookOn | kNewOutlookOff))
    useNew.emplace(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\16.0\\Outlook\\Preferences", L"UseNewOutlook",
                   REG_DWORD, std::vector<BYTE>{BYTE(c.nBefore & kNewOutlookOn ? 1 : 0), 0, 0, 0});
  // Any program under the new Outlook's file name will do for its process.
  std::optional<testing_support::TempFolder> olkFolder;
  std::optional<ProcessTree> olk;
  if (c.nBefore & kOlkRuns) {
    const std::wstring sOlk = JoinPath(Wide(olkFolder.emplace(u"twinsweep-olk").Path()), L"olk.exe");
    ASSERT_TRUE(CopyFileW(L"C:\\windows\\system32\\notepad.exe", sOlk.c_str(), FALSE));
    olk.emplace(sOlk, L"");
  }
  if (c.nBefore & kOutlookRuns) Outlook().StartDirectly();
  RunLauncher();
  if (c.nAnswer)
    AnswerQuestion(c.nAnswer, QuestionIn(c.szLang),
                   c.nBefore & kOutlookStartsWhileAsked ? std::function<void()>([&] { Outlook().StartDirectly(); })
                                                        : nullptr);
  const wchar_t* szAwaited = c.wait == Wait::kInAHungCall      ? L"hang Execute"
                             : c.wait == Wait::kForTheHandOver ? L"exit-code 0"
                             : c.wait == Wait::kForOutlooksEnd ? L"exit"
                                                               : nullptr;
  const int nPhase = c.wait == Wait::kForOutlook    ? kPhaseWaitingForOutlook
                     : c.wait == Wait::kForTheAddin ? kPhaseWaitingForAddin
                                                    : 0;
  ASSERT_TRUE(!szAwaited || Outlook().WaitForEvent(szAwaited, kRunTimeoutMs)) << Outlook().RecordText();
  ASSERT_TRUE(!nPhase || WaitForPhase(launcher_->Id(), nPhase, kBoxTimeoutMs)) << Outlook().RecordText();
  const double nSince = szAwaited ? Outlook().Events(szAwaited)[0].nTimeMs : PerformanceNowMs();
  if (c.then == Then::kAnswers) return ExpectAnswers(c.szName);
  if (c.then == Then::kStillWaits) {
    EXPECT_FALSE(WaitForMessageBox({launcher_->Id(), std::wstring(L"Twinsweep")}, 5000)) << Outlook().RecordText();
    EXPECT_FALSE(launcher_->WaitForExit(0)) << "it no longer waits";
    return;
  }
  if (c.then != Then::kEnds) {
    const HWND hWindow = FindSessionWindow(launcher_->Id());
    ASSERT_TRUE(hWindow) << "no session window";
    if (c.then == Then::kLogoff) SendLogoff(hWindow);
    // taskkill without /F: WM_CLOSE to each of the program's top-level windows.
    ASSERT_TRUE(c.then != Then::kTaskkill ||
                ProcessTree(L"C:\\windows\\system32\\taskkill.exe", L"/im TwinsweepLauncher.exe").WaitForExit(kPoliteCloseExitMs));
    if (c.then == Then::kQuit) PostThreadMessageW(GetWindowThreadProcessId(hWindow, nullptr), WM_QUIT, 0, 0);
    ASSERT_TRUE(launcher_->WaitForExit(c.then == Then::kLogoff ? kLogoffExitMs : kPoliteCloseExitMs))
        << "still running after " << c.szName;
  }
  if (c.szBox) {
    auto box = WaitForMessageBox({launcher_->Id(), std::wstring(L"Twinsweep")}, 15000);
    ASSERT_TRUE(box) << "no box " << Outlook().RecordText();
    std::printf("%s: the box %.0f ms after the wait\n", c.szName, PerformanceNowMs() - nSince);
    EXPECT_EQ(box->sText, c.szBox);
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    ASSERT_TRUE(PressButton(*box, IDOK));
  }
  ExpectEnds();
  std::printf("%s: the launcher ended %.0f ms after the wait\n", c.szName, PerformanceNowMs() - nSince);
  if (c.nExitCode >= 0) { EXPECT_EQ(launcher_->ExitCode(), std::optional<DWORD>(c.nExitCode)); }
  if (c.counted.szPrefix) { EXPECT_EQ(Outlook().Events(c.counted.szPrefix).size(), c.counted.nCount) << Outlook().RecordText(); }
  if (c.nWizardCalls == 1) ExpectOneGoodWizardCall();
  if (c.nWizardCalls == 0) { EXPECT_TRUE(Outlook().Events(L"execute").empty()) << Outlook().RecordText(); }
  if (c.szCallAfter && !HasFailure()) { EXPECT_GT(Outlook().Events(L"execute")[0].nTimeMs, Outlook().Events(c.szCallAfter)[0].nTimeMs); }
  if (c.also && !HasFailure()) c.also(Outlook());
  if (c.note.szText) {
    const std::string sNote = c.note.szText, sFound = NoteStartingWith(sNote, c.note.szSource);
    EXPECT_EQ(sNote.back() == ' ' ? sFound.substr(0, sNote.size()) : sFound, sNote);
  }
}

void AddinNever(StandInSettings& s) { s.nAddinDelayMs = -1; }
void HangsInExecute(StandInSettings& s) { s.sHangCall = L"Execute"; }
void HandsOver(StandInSettings& s) { s.vExitCode = 0, s.nExitCodeAfterMs = 2000; }
constexpr Noted kPoliteCloseNote = {"mMain.Main",
                                    "the launcher was asked to close (WM_CLOSE or WM_QUIT): it ends now, as a No would, "
                                    "without a box or a start of Outlook"};
constexpr Noted kLogoffNote = {"mMain.Main", "the session is ending: the launcher ends now, without a box or a start of Outlook"};

const Flow kFlows[] = {
    // name, language, the stand-in, before, answer, wait, then; counted, wizard calls, exit code, note, box, call after, also
    // The index of the add-in's entry goes by reference.
    {"RunningWithTheAddinNoQuestionWizardAtOnce", L"EN", nullptr, kOutlookRuns, 0, Wait::kNothing, Then::kEnds, {}, 1, -1, {}, nullptr, nullptr, [](const StandInOutlook& o) { EXPECT_EQ(o.Events(L"call Item")[0].sText, L"call Item flags=3 args=VT_I4|VT_BYREF"); }},
    {"NoStartsNothing", L"EN", nullptr, kAsIs, IDNO, Wait::kNothing, Then::kEnds, {L"start", 0}},
    {"GermanQuestionWhenLangIsDE", L"DE", nullptr, kAsIs, IDNO, Wait::kNothing, Then::kEnds},
    // Asked with MB_RTLREADING | MB_RIGHT: Wine's boxes show no trace of either, so the note is what can be seen.
    {"ArabicQuestionReadsRightToLeftWhenLangIsAR", L"AR", nullptr, kAsIs, IDNO, Wait::kNothing, Then::kEnds, {}, -1, -1, {"mMain.ShowBox", "the box reads right to left (MB_RTLREADING | MB_RIGHT)"}},
    {"YesStartsTheRegisteredCommandLineAndCallsTheWizard", L"EN", [](StandInSettings& s) { s.nAddinDelayMs = 1500; }, kAsIs, IDYES, Wait::kNothing, Then::kEnds, {L"start", 1}, 1, -1, {}, nullptr, L"addin-mutex", [](const StandInOutlook& o) { EXPECT_NE(o.Events(L"start")[0].sText.find(L" cmdline=" + o.RegisteredCommandLine()), std::wstring::npos) << o.RecordText(); }},
    {"YesAfterTheUserStartedOutlookStartsNoSecondOne", L"EN", nullptr, kOutlookStartsWhileAsked, IDYES, Wait::kNothing, Then::kEnds, {L"start", 1}, 1},
    // 32-bit Office on a 64-bit system: its class is registered in the 32-bit view only.
    {"RegistrationOnlyInThe32BitViewIsStarted", L"EN", nullptr, kOnly32BitView, IDYES, Wait::kNothing, Then::kEnds, {}, 1, -1, {}, nullptr, nullptr, [](const StandInOutlook& o) { EXPECT_EQ(o.StartedExes(), std::vector<std::wstring>{o.Exe()}) << o.RecordText(); }},
    {"FailedStartEndsSilently", L"EN", nullptr, kNoProgram, IDYES, Wait::kNothing, Then::kEnds, {L"", 0}},
    {"OutlookEndingBeforeTheAddinEndsSilentlyAtOnce", L"EN", [](StandInSettings& s) { s.nAddinDelayMs = -1, s.nExitAfterMs = 3000; }, kAsIs, IDYES, Wait::kForOutlooksEnd, Then::kEnds, {}, 0},
    // The add-in's mutex can appear before Outlook has registered its class: the
    // activation then fails (or starts a second Outlook that hands over) until it has.
    {"ClassRegisteredLateIsStillReached", L"EN", [](StandInSettings& s) { s.nRegisterDelayMs = 4000; }, kAsIs, IDYES, Wait::kNothing, Then::kEnds, {}, 1, -1, {}, nullptr, L"registered"},
    {"TwoMatchingEntriesTheLowerIndexWins", L"EN", [](StandInSettings& s) { s.addins = {{L"Other.Connect", L"other"}, {L"Twinsweep.Connect", L"first"}, {L"Twinsweep.Connect", L"second"}}; }, kOutlookRuns, 0, Wait::kNothing, Then::kEnds, {}, 1},
    {"BusyRejectionsAreWaitedOut", L"EN", [](StandInSettings& s) { s.nRejectCalls = 5; }, kOutlookRuns, 0, Wait::kNothing, Then::kEnds, {L"rejected", 5}, 1},
    // The started program fails before Outlook's mutex appears: the launcher ends at
    // once instead of waiting for the bound, and the log has the exit code.
    {"AStartedProgramFailingBeforeItsMutexEndsTheWait", L"EN", [](StandInSettings& s) { s.vExitCode = 3; }, kAsIs, IDYES, Wait::kNothing, Then::kEnds, {L"exit-code 3", 1}, -1, -1, {"mMain.RunLaunchSequence", "silent end: Outlook's program ended with exit code 0x00000003 before its mutex appeared, after "}},
    {"PumpsWhileWaitingForOutlook", L"EN", [](StandInSettings& s) { s.nAddinDelayMs = -1, s.nMutexDelayMs = 8000; }, kAsIs, IDYES, Wait::kForOutlook, Then::kAnswers},
    {"PumpsWhileWaitingForTheAddin", L"EN", AddinNever, kOutlookRuns, 0, Wait::kForTheAddin, Then::kAnswers},
    {"PumpsWhileACallHangs", L"EN", HangsInExecute, kOutlookRuns, 0, Wait::kInAHungCall, Then::kAnswers},
    {"LogoffWhileWaitingForTheAddin", L"EN", AddinNever, kOutlookRuns, 0, Wait::kForTheAddin, Then::kLogoff, {L"start", 1}, -1, -1, kLogoffNote},
    {"LogoffWhileACallHangs", L"EN", HangsInExecute, kOutlookRuns, 0, Wait::kInAHungCall, Then::kLogoff, {L"start", 1}, -1, -1, kLogoffNote},
    {"TaskkillWhileWaitingForTheAddin", L"EN", AddinNever, kOutlookRuns, 0, Wait::kForTheAddin, Then::kTaskkill, {L"start", 1}, -1, 3, kPoliteCloseNote},
    {"TaskkillWhileACallHangs", L"EN", HangsInExecute, kOutlookRuns, 0, Wait::kInAHungCall, Then::kTaskkill, {L"start", 1}, -1, 3, kPoliteCloseNote},
    {"QuitWhileWaitingForTheAddin", L"EN", AddinNever, kOutlookRuns, 0, Wait::kForTheAddin, Then::kQuit, {L"start", 1}, -1, 3, kPoliteCloseNote},
    {"NewOutlookSwitchedOnClassicNotRunning", L"EN", nullptr, kNewOutlookOn, 0, Wait::kNothing, Then::kEnds, {L"start", 0}, -1, 2, {}, kNewOutlookEN},
    {"NewOutlookSwitchedOnClassicAlreadyRunning", L"EN", nullptr, kNewOutlookOn | kOutlookRuns, 0, Wait::kNothing, Then::kEnds, {}, 1},
    {"NewOutlookHandedOverWhileOlkRuns", L"EN", HandsOver, kNewOutlookOff | kOlkRuns, IDYES, Wait::kForTheHandOver, Then::kEnds, {L"start", 1}, -1, 2, {}, kNewOutlookEN},
    {"NewOutlookHandedOverWithoutOlk", L"EN", HandsOver, kNewOutlookOff, IDYES, Wait::kForTheHandOver, Then::kStillWaits},
};

INSTANTIATE_TEST_SUITE_P(Session, LaunchFlow, ::testing::ValuesIn(kFlows),
                         [](const auto& info) { return std::string(info.param.szName); });

// The drain of a dispatching wait is bounded: a handler that posts its message
// again at once does not hold the wait past its time.
TEST(DispatchingWait, ASelfRepostingHandlerDoesNotHoldTheWait) {
  static std::atomic<bool> bStop{false};
  static const WNDPROC repost = [](HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (nMessage == WM_APP && !bStop) PostMessageW(hWnd, WM_APP, 0, 0);
    return DefWindowProcW(hWnd, nMessage, wParam, lParam);
  };
  std::atomic<bool> bEnded{false};
  std::thread waiter([&] {
    const HWND hWnd = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(repost));
    PostMessageW(hWnd, WM_APP, 0, 0);
    twinsweep::platform::win32::WaitDispatching(nullptr, 200);
    bEnded = true;
    DestroyWindow(hWnd);
  });
  for (int n = 0; n < 50 && !bEnded; ++n) Sleep(100);
  EXPECT_TRUE(bEnded) << "the wait of 200 ms lasted more than 5 s";
  bStop = true;
  waiter.join();
}

}  // namespace
}  // namespace e2e
