// The launch sequence over its state table: scripted mutexes on a virtual clock,
// a scripted answer, a fake Outlook. Every row ends the sequence in one of its
// three outcomes (silent end, wizard call) and states what happened on the way.
#include <gtest/gtest.h>

#include "base/text.h"
#include "launcher/application_name.h"
#include "launcher/launch_sequence.h"
#include "launcher_doubles.h"
#include "platform/memory/memory_registry.h"
#include "support/log_capture.h"
#include "support/recording_diagnostics.h"
#include "support/source_languages.h"

namespace {

using launcher_test::FakeApartment;
using launcher_test::FakeDialogs;
using launcher_test::FakeOutlook;
using launcher_test::FakeProcesses;
using launcher_test::kNever;
using launcher_test::Presence;

constexpr char16_t kRegisteredCommand[] = u"\"C:\\Program Files\\Stand In\\outlook.exe\" /automation";

class LanguagesFolder : public platform::IApp {
 public:
  std::u16string AppFolder() override { return testing_support::ShippedLanguagesFolder(TWINSWEEP_SOURCE_DIR); }
  std::u16string CommandLineArgs() override { return u""; }
};

class LaunchSequenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteDefault(u"Outlook.Application\\CLSID", u"{11111111-2222-3333-4444-555555555555}");
    WriteDefault(u"CLSID\\{11111111-2222-3333-4444-555555555555}\\LocalServer32", kRegisteredCommand);
    outlook_.entries = {{u"Other.Connect", true}, {u"Twinsweep.Connect", true}};
  }

  void WriteDefault(const std::u16string& sPath, const std::u16string& sValue) {
    platform::HKey h = 0;
    reg_.CreateKey(platform::RootKey(platform::kRootClassesRoot), sPath, platform::kKeyAllAccess, &h);
    std::u16string data = sValue + u'\0';
    reg_.SetValue(h, u"", platform::kRegSz, reinterpret_cast<const uint8_t*>(data.data()),
                  static_cast<uint32_t>(data.size() * 2));
    reg_.CloseKey(h);
  }

  void SetLanguage(const std::u16string& sLangID) {
    platform::HKey h = 0;
    reg_.CreateKey(platform::RootKey(platform::kRootCurrentUser), u"Software\\Orvex\\Twinsweep",
                   platform::kKeyAllAccess, &h);
    std::u16string data = sLangID + u'\0';
    reg_.SetValue(h, u"LANG", platform::kRegSz, reinterpret_cast<const uint8_t*>(data.data()),
                  static_cast<uint32_t>(data.size() * 2));
    reg_.CloseKey(h);
  }

  // Outlook comes up at nAt: its mutex from then until nLifeMs later, the add-in's
  // nAddinMs after it for as long as Outlook runs.
  void OutlookComesUp(uint64_t nAt, uint64_t nAddinMs, uint64_t nLifeMs) {
    const uint64_t nEnd = nLifeMs == kNever ? kNever : nAt + nLifeMs;
    sys_.mutexes[u"_outlook_mutex_"] = Presence{nAt, nEnd};
    sys_.mutexes[u"Orvex.Twinsweep.Addin"] = Presence{nAddinMs == kNever ? kNever : nAt + nAddinMs, nEnd};
  }

  FakeProcesses sys_;
  FakeDialogs dialogs_;
  FakeOutlook outlook_{sys_};
  platform::MemoryRegistry reg_;
  LanguagesFolder app_;
  platform::ScopedOverride<platform::IProcesses> useSys_{sys_};
  platform::ScopedOverride<platform::IDialogs> useDialogs_{dialogs_};
  platform::ScopedOverride<platform::IAutomation> useOutlook_{outlook_};
  platform::ScopedOverride<platform::IRegistry> useReg_{reg_};
  platform::ScopedOverride<platform::IApp> useApp_{app_};
  FakeApartment apartment_{sys_};
  platform::ScopedOverride<platform::IApartment> useApartment_{apartment_};
};

enum class OutlookAt { Start, DuringQuestion, AfterLaunch };

struct Row {
  const char* sCase;
  OutlookAt at;
  int32_t nAnswer;
  bool bLaunchSucceeds;
  uint64_t nOutlookDelayMs;  // after the launch (AfterLaunch only); kNever: it never comes up
  uint64_t nAddinDelayMs;    // after Outlook came up; kNever: the add-in never loads
  uint64_t nOutlookLifeMs;   // kNever: Outlook keeps running
  // What must happen.
  bool bAsked;
  bool bLaunched;
  bool bWizard;
};

TEST_F(LaunchSequenceTest, StateTable) {
  const Row rows[] = {
      {"running with the add-in: no question", OutlookAt::Start, 6, true, 0, 0, kNever, false, false, true},
      {"running, add-in loads later", OutlookAt::Start, 6, true, 0, 4000, kNever, false, false, true},
      {"declined", OutlookAt::AfterLaunch, 7, true, 0, 0, kNever, true, false, false},
      {"box closed otherwise", OutlookAt::AfterLaunch, 2, true, 0, 0, kNever, true, false, false},
      {"yes: started, both mutexes come", OutlookAt::AfterLaunch, 6, true, 3000, 2000, kNever, true, true, true},
      {"yes, started meanwhile by the user", OutlookAt::DuringQuestion, 6, true, 0, 500, kNever, true, false, true},
      {"start fails", OutlookAt::AfterLaunch, 6, false, 0, 0, kNever, true, true, false},
      {"Outlook never comes up", OutlookAt::AfterLaunch, 6, true, kNever, 0, kNever, true, true, false},
      {"Outlook comes up just within the bound", OutlookAt::AfterLaunch, 6, true, 119000, 0, kNever, true, true,
       true},
      {"Outlook ends before the add-in", OutlookAt::AfterLaunch, 6, true, 1000, kNever, 5000, true, true, false},
      {"add-in takes ten minutes", OutlookAt::AfterLaunch, 6, true, 1000, 600000, kNever, true, true, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.sCase);
    SetUp();
    sys_ = FakeProcesses();
    dialogs_ = FakeDialogs();
    outlook_.executes.clear();
    outlook_.nCreations = 0;
    sys_.bLaunchSucceeds = row.bLaunchSucceeds;
    dialogs_.nAnswer = row.nAnswer;
    switch (row.at) {
      case OutlookAt::Start: OutlookComesUp(0, row.nAddinDelayMs, row.nOutlookLifeMs); break;
      case OutlookAt::DuringQuestion:
        dialogs_.whileOpen = [&] { OutlookComesUp(sys_.nNow, row.nAddinDelayMs, row.nOutlookLifeMs); };
        break;
      case OutlookAt::AfterLaunch:
        sys_.onLaunch = [&](FakeProcesses& s) {
          if (row.nOutlookDelayMs != kNever)
            OutlookComesUp(s.nNow + row.nOutlookDelayMs, row.nAddinDelayMs, row.nOutlookLifeMs);
        };
        break;
    }

    mMain::RunLaunchSequence();

    EXPECT_EQ(dialogs_.boxes.size(), row.bAsked ? 1u : 0u);
    ASSERT_EQ(sys_.launches.size(), row.bLaunched ? 1u : 0u);
    if (row.bLaunched) {
      EXPECT_EQ(sys_.launches[0].sCommandLine, kRegisteredCommand);
    }
    ASSERT_EQ(outlook_.executes.size(), row.bWizard ? 1u : 0u);
    if (!row.bWizard) {
      EXPECT_EQ(outlook_.nCreations, 0);
    }
    EXPECT_EQ(sys_.nOpenHandles, 0);
  }
}

TEST_F(LaunchSequenceTest, WaitForOutlookIsBoundedAndEndsSilently) {
  sys_.onLaunch = [](FakeProcesses&) {};  // started, but no mutex ever
  const uint64_t nStart = sys_.nNow;
  mMain::RunLaunchSequence();
  const uint64_t nWaited = sys_.nNow - nStart;
  EXPECT_GE(nWaited, mMain::kOutlookStartTimeoutMs);
  EXPECT_LE(nWaited, mMain::kOutlookStartTimeoutMs + mMain::kWaitPauseMs);
  EXPECT_EQ(outlook_.nCreations, 0);
}

TEST_F(LaunchSequenceTest, EndsWithinOnePauseWhenOutlookGoesAwayBeforeTheAddin) {
  sys_.onLaunch = [&](FakeProcesses& s) { OutlookComesUp(s.nNow + 1000, kNever, 7350); };
  mMain::RunLaunchSequence();
  const uint64_t nOutlookEnded = sys_.launches[0].nTime + 1000 + 7350;
  EXPECT_GE(sys_.nNow, nOutlookEnded);
  EXPECT_LE(sys_.nNow, nOutlookEnded + mMain::kWaitPauseMs);
}

TEST_F(LaunchSequenceTest, AsksInTheUsersLanguageWithYesNoNoIconYesDefault) {
  SetLanguage(u"DE");
  dialogs_.nAnswer = platform::kIdNo;
  mMain::RunLaunchSequence();
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].nType, 4u);
  EXPECT_EQ(dialogs_.boxes[0].sCaption, u"Twinsweep");
  EXPECT_EQ(dialogs_.boxes[0].sText,
            u"Microsoft Outlook wird nicht ausgef\u00fchrt.\r\nM\u00f6chten Sie Outlook jetzt starten?");
}

TEST_F(LaunchSequenceTest, WizardCallReachesTheAddinWithItsCommand) {
  OutlookComesUp(0, 0, kNever);
  mMain::RunLaunchSequence();
  ASSERT_EQ(outlook_.executes.size(), 1u);
  EXPECT_EQ(outlook_.executes[0].nEntry, 2);
  EXPECT_EQ(outlook_.executes[0].sCommand, u"ShowQuickWizard");
  EXPECT_EQ(outlook_.executes[0].argKinds, (std::vector<std::string>{"string", "nothing"}));
}

TEST_F(LaunchSequenceTest, ASecondLauncherDoesNothingButShowTheFirstOnesQuestion) {
  // The first one is asking; this one finds the launch mutex already there.
  sys_.mutexes[mMain::kLaunchMutex] = Presence{0, kNever};
  dialogs_.bOtherInstanceBox = true;
  mMain::RunLaunchSequence();
  EXPECT_EQ(dialogs_.nBroughtToFront, 1);
  EXPECT_TRUE(dialogs_.boxes.empty());
  EXPECT_TRUE(sys_.launches.empty());
  EXPECT_EQ(sys_.nProbes, 0);
  EXPECT_EQ(outlook_.nCreations, 0);
  EXPECT_EQ(sys_.nOpenHandles, 0);
}

TEST_F(LaunchSequenceTest, TheLaunchMutexIsHeldForTheWholeSequence) {
  size_t nOpenWhileAsking = 0;
  dialogs_.whileOpen = [&] { nOpenWhileAsking = static_cast<size_t>(sys_.nOpenHandles); };
  dialogs_.nAnswer = platform::kIdNo;
  mMain::RunLaunchSequence();
  EXPECT_EQ(sys_.created, std::vector<std::u16string>{mMain::kLaunchMutex});
  EXPECT_EQ(nOpenWhileAsking, 1u);
  EXPECT_EQ(sys_.nOpenHandles, 0);
  EXPECT_EQ(dialogs_.nBroughtToFront, 0);
}

TEST_F(LaunchSequenceTest, TheApartmentIsJoinedBeforeTheAddinAppearsTheObjectsMadeOnlyAfter) {
  OutlookComesUp(0, 4000, kNever);
  mMain::RunLaunchSequence();
  ASSERT_EQ(outlook_.executes.size(), 1u);
  EXPECT_LT(apartment_.nEnteredAt, sys_.mutexes[u"Orvex.Twinsweep.Addin"].nFrom);
  EXPECT_GE(outlook_.nFirstCreationAt, sys_.mutexes[u"Orvex.Twinsweep.Addin"].nFrom);
}

// The debug notes a support engineer reads in the diagnostics log.
TEST_F(LaunchSequenceTest, EveryStepIsADebugNote) {
  const std::string p = "D|mMain.RunLaunchSequence|0|";
  const std::u16string sProgram = mCreateProcess::ApplicationName(kRegisteredCommand);
  const std::string sStart = p + "starting Outlook: " + base::ToUtf8(kRegisteredCommand) + " (program file: " +
                             (sProgram.empty() ? "none found" : base::ToUtf8(sProgram)) + ")";
  struct Case {
    const char* szName;
    int32_t nAnswer;
    bool bLaunchSucceeds;
    std::vector<std::string> notes;
  } cases[] = {
      {"declined", platform::kIdNo, true,
       {p + "Outlook is not running", p + "the question was answered No (7)", p + "silent end: the question was declined"}},
      {"start fails", platform::kIdYes, false,
       {p + "Outlook is not running", p + "the question was answered Yes (6)", sStart,
        p + "silent end: Outlook could not be started, system error 2: system text 2"}},
      {"whole launch", platform::kIdYes, true,
       {p + "Outlook is not running", p + "the question was answered Yes (6)", sStart,
        p + "Outlook's mutex was there after 3000 ms", p + "the add-in's mutex was there after 2000 ms",
        p + "the wizard call was made"}},
  };
  for (const auto& c : cases) {
    SetUp();
    sys_ = FakeProcesses();
    sys_.bLaunchSucceeds = c.bLaunchSucceeds;
    sys_.onLaunch = [&](FakeProcesses& s) { OutlookComesUp(s.nNow + 3000, 2000, kNever); };
    dialogs_.nAnswer = c.nAnswer;
    testing_support::RecordingDiagnostics diagnostics;
    diagnostics.nLastError = 2;
    platform::ScopedOverride<platform::IDiagnostics> useDiagnostics(diagnostics);
    testing_support::LogCapture log;
    mMain::RunLaunchSequence();
    std::vector<std::string> notes;
    for (const auto& sLine : log.Lines())
      if (sLine.rfind(p, 0) == 0) notes.push_back(sLine);
    EXPECT_EQ(notes, c.notes) << c.szName;
  }
}

TEST_F(LaunchSequenceTest, AFailedWizardCallIsNotedAndStillReachesTheCaller) {
  OutlookComesUp(0, 0, kNever);
  outlook_.entries = {{u"twinsweep.connect", true}};
  testing_support::LogCapture log;
  EXPECT_THROW(mMain::RunLaunchSequence(), base::Failure);
  ASSERT_FALSE(log.Lines().empty());
  EXPECT_EQ(log.Lines().back().rfind("D|mMain.RunLaunchSequence|0|the wizard call failed: 91 ", 0), 0u)
      << log.Lines().back();
}

}  // namespace
