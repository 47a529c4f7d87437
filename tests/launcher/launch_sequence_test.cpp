// The launch sequence over its state table: scripted mutexes on a virtual clock,
// a scripted answer, a fake Outlook. Every row ends the sequence in one of its
// three outcomes (silent end, wizard call) and states what happened on the way.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "twinsweep/base/text.h"
#include "twinsweep/launcher/application_name.h"
#include "twinsweep/launcher/exit_codes.h"
#include "twinsweep/launcher/launch_sequence.h"
#include "launch_sequence_fixture.h"
#include "twinsweep/launcher/launch_board.h"
#include "twinsweep/launcher/main.h"
#include "twinsweep/platform/diagnostics.h"
#include "support/lang_file.h"
#include "support/recording_diagnostics.h"
#include "twinsweep/settings/outlook_preferences.h"
#include "support/temp_folder.h"

using namespace twinsweep;

namespace {

using launcher_test::BoxDirection;
using launcher_test::FakeApartment;
using launcher_test::FakeOutlook;
using launcher_test::FakeProcesses;
using launcher_test::kNever;
using launcher_test::kRegisteredCommand;
using launcher_test::LaunchSequenceTest;
using launcher_test::NotesWith;
using launcher_test::Presence;
using testing_support::ScriptedDialogs;

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
    dialogs_ = ScriptedDialogs();
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

    EXPECT_EQ(dialogs_.shown.size(), row.bAsked ? 1u : 0u);
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
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0].nType, 4u);
  EXPECT_EQ(dialogs_.shown[0].sCaption, u"Twinsweep");
  EXPECT_EQ(dialogs_.shown[0].sText,
            u"Microsoft Outlook wird nicht ausgef\u00fchrt.\r\nM\u00f6chten Sie Outlook jetzt starten?");
}

std::string QuestionFile(const std::string& sLangID, const std::string& sQuestion) {
  return testing_support::LangFile(sLangID,
                                   {"[TwinsweepLauncher]", "globals = \"texts\"", "[TwinsweepLauncher.texts]",
                                    "LID_TITLE = \"Twinsweep\"", "LID_RUN_OUTLOOK = \"" + sQuestion + "\""},
                                   testing_support::kLangSignature, {"L"});
}

// When the user's language does not load, the question is still asked in words:
// a file for LANG in another case, the English file, or the texts built into the
// program, in that order; none of them is remembered, and each is a note.
TEST_F(LaunchSequenceTest, TheQuestionIsAlwaysInWords) {
  const std::string kBroken = "no language file at all";
  const struct {
    const char* szName;
    std::u16string sLang, sLangFile;
    std::vector<std::pair<std::u16string, std::string>> files;
    std::u16string sQuestion;
    std::string sNote;  // the start of the fallback's note; "" when InitEx loaded the file
  } rows[] = {
      {"InitEx loads it", u"DE", u"", {{u"de.lng", QuestionFile("DE", "Deutsch?")}}, u"Deutsch?", ""},
      {"no files", u"DE", u"", {}, u"Built in.\r\nStart?", "no language file serves for LANG 'DE' nor for English"},
      {"LANG in another case", u"de", u"", {{u"en.lng", QuestionFile("EN", "English?")}, {u"x.lng", QuestionFile("DE", "Deutsch?")}},
       u"Deutsch?", "the language file 'x.lng' (langid 'DE') serves for LANG 'de'"},
      {"LANG unshipped", u"NL", u"", {{u"de.lng", QuestionFile("DE", "Deutsch?")}, {u"en.lng", QuestionFile("EN", "English?")}},
       u"English?", "no language file serves for LANG 'NL'; the English file 'en.lng' serves instead"},
      {"chosen file broken", u"DE", u"de.lng", {{u"de.lng", kBroken}, {u"en.lng", QuestionFile("EN", "English?")}},
       u"English?", "no language file serves for LANG 'DE'; the English file 'en.lng' serves instead"},
      {"English broken too", u"EN", u"", {{u"en.lng", kBroken}}, u"Built in.\r\nStart?",
       "no language file serves for LANG 'EN' nor for English"},
      {"a NUL in the question", u"EN", u"", {{u"en.lng", QuestionFile("EN", std::string("Start\0 it?", 10))}}, u"Start", ""},
      {"right to left", u"AR", u"", {{u"ar.lng", "\xEF\xBB\xBF" + QuestionFile("AR", "تشغيل؟")}}, u"تشغيل؟", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.szName);
    reg_ = platform::MemoryRegistry();
    SetLanguage(r.sLang);
    if (!r.sLangFile.empty()) {
      CWinReg w;
      ASSERT_TRUE(w.InitForWrite(platform::kRootCurrentUser, u"Software\\Orvex\\Twinsweep", true));
      ASSERT_TRUE(w.WriteString(u"LANG_", r.sLangFile));
    }
    testing_support::TempFolder folder;
    for (const auto& [sName, sBytes] : r.files) folder.Write(sName, sBytes);
    testing_support::FakeApp app;
    app.sAppFolder = folder.Path();
    platform::ScopedOverride<platform::IApp> useApp(app);
    launcher_test::FakeStringTable table;
    table.nFirstId = mMain::kBuiltInTextsFirstId;
    table.lines = {u"LID_TITLE = \"Twinsweep\"", u"LID_RUN_OUTLOOK = \"Built in.\\nStart?\"   ; a comment"};
    platform::ScopedOverride<platform::IStringTable> useTable(table);
    dialogs_ = ScriptedDialogs();
    dialogs_.nAnswer = platform::kIdNo;
    testing_support::LogCapture log;
    mMain::RunLaunchSequence();
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].sText, r.sQuestion);
    EXPECT_EQ(dialogs_.shown[0].sCaption, u"Twinsweep");
    EXPECT_EQ(dialogs_.shown[0].nType, platform::kMbYesNo | BoxDirection(r.sLang));
    std::string sNotes;
    for (const auto& sLine : log.Lines())
      if (sLine.rfind("D|mMain.UserTexts|0|", 0) == 0) sNotes += sLine.substr(20) + "\n";
    if (r.sNote.empty()) {
      EXPECT_EQ(sNotes, "");
    } else {
      EXPECT_EQ(sNotes.rfind(r.sNote, 0), 0u) << sNotes;
      // A fallback is never remembered.
      CWinReg reader;
      ASSERT_TRUE(reader.InitForRead(platform::kRootCurrentUser, u"Software\\Orvex\\Twinsweep"));
      EXPECT_EQ(reader.ReadString(u"LANG"), r.sLang);
      EXPECT_EQ(reader.ReadString(u"LANG_"), r.sLangFile);
    }
  }
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
  bool bExisted = false;
  platform::ScopedSessionSignal hFirst(signals_.CreateValue(mMain::kLaunchStateName, &bExisted));
  signals_.WriteValue(hFirst.Get(), static_cast<uint32_t>(mMain::LaunchPhase::kAsking));
  dialogs_.bOtherInstanceBox = true;
  mMain::RunLaunchSequence();
  EXPECT_EQ(dialogs_.nBroughtToFront, 1);
  EXPECT_TRUE(dialogs_.shown.empty());
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

// The waiting thread joins no apartment (its waits dispatch messages instead);
// the wizard call's worker joins its own.
TEST_F(LaunchSequenceTest, TheMainThreadJoinsNoApartmentTheObjectsAreMadeOnlyAfterTheAddinAppears) {
  OutlookComesUp(0, 4000, kNever);
  mMain::RunLaunchSequence();
  ASSERT_EQ(outlook_.executes.size(), 1u);
  EXPECT_EQ(apartment_.nEntered, 0);
  EXPECT_GE(outlook_.nFirstCreationAt, sys_.mutexes[u"Orvex.Twinsweep.Addin"].nFrom);
}

// The debug notes a support engineer reads in the diagnostics log.
TEST_F(LaunchSequenceTest, EveryStepIsADebugNote) {
  const std::string p = "D|mMain.RunLaunchSequence|0|";
  const std::u16string sProgram = mCreateProcess::ApplicationName(kRegisteredCommand);
  const std::string sStart = p + "starting Outlook: " + base::ToUtf8(kRegisteredCommand) + " (program file: " +
                             (sProgram.empty() ? "none found" : base::ToUtf8(sProgram)) + ")";
  const std::u16string kNoProgram = u"nowhere-mail /automation";
  struct Case {
    const char* szName;
    int32_t nAnswer;
    bool bLaunchSucceeds;
    std::vector<std::string> notes;
    std::u16string sCommand = kRegisteredCommand;
    uint32_t nLastError = 2;
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
      // No program file: no start was tried, so the last error (here left by an
      // earlier call) says nothing about it.
      {"no program file", platform::kIdYes, false,
       {p + "Outlook is not running", p + "the question was answered Yes (6)",
        p + "starting Outlook: nowhere-mail /automation (program file: none found)",
        p + "silent end: Outlook could not be started, no program file was found"},
       kNoProgram, 183},
      // A system text that names its file as "%1" names the program file.
      {"text with an insert", platform::kIdYes, false,
       {p + "Outlook is not running", p + "the question was answered Yes (6)", sStart,
        p + "silent end: Outlook could not be started, system error 193: Bad EXE format for " +
            base::ToUtf8(sProgram) + "."},
       kRegisteredCommand, 193},
  };
  for (const auto& c : cases) {
    SetUp();
    WriteDefault(u"CLSID\\{11111111-2222-3333-4444-555555555555}\\LocalServer32", c.sCommand);
    sys_ = FakeProcesses();
    sys_.bLaunchSucceeds = c.bLaunchSucceeds;
    sys_.onLaunch = [&](FakeProcesses& s) { OutlookComesUp(s.nNow + 3000, 2000, kNever); };
    dialogs_.nAnswer = c.nAnswer;
    testing_support::RecordingDiagnostics diagnostics;
    diagnostics.nLastError = c.nLastError;
    diagnostics.errorTexts[193] = u"Bad EXE format for %1.";
    testing_support::ScopedLogSystem useDiagnostics(diagnostics);
    testing_support::LogCapture log;
    mMain::RunLaunchSequence();
    std::vector<std::string> notes;
    for (const auto& sLine : log.Lines())
      if (sLine.rfind(p, 0) == 0) notes.push_back(sLine);
    EXPECT_EQ(notes, c.notes) << c.szName;
  }
}

// A LocalServer32 of the type REG_EXPAND_SZ is started as COM starts it: with its
// environment variables expanded; one of the type REG_SZ exactly as it stands.
TEST_F(LaunchSequenceTest, AnExpandableRegistrationIsExpandedBeforeTheProgramIsWorkedOut) {
  const std::u16string sExpanded = u"\"C:\\Program Files\\Mail\\outlook.exe\" /automation";
  for (const uint32_t nType : {platform::kRegExpandSz, platform::kRegSz}) {
    SCOPED_TRACE(nType);
    platform::HKey h = 0;
    reg_.CreateKey(platform::RootKey(platform::kRootClassesRoot), u"CLSID\\{11111111-2222-3333-4444-555555555555}\\LocalServer32",
                   platform::kKeyAllAccess, &h);
    const std::u16string data = std::u16string(u"\"%ProgramFiles%\\Mail\\outlook.exe\" /automation") + u'\0';
    reg_.SetValue(h, u"", nType, reinterpret_cast<const uint8_t*>(data.data()), static_cast<uint32_t>(data.size() * 2));
    reg_.CloseKey(h);
    sys_ = FakeProcesses();
    sys_.environment[u"ProgramFiles"] = u"C:\\Program Files";
    sys_.bLaunchSucceeds = false;
    mMain::RunLaunchSequence();
    ASSERT_EQ(sys_.launches.size(), nType == platform::kRegExpandSz ? 1u : 0u);
    if (nType == platform::kRegExpandSz) {
      EXPECT_EQ(sys_.launches[0].sApplicationName, u"C:\\Program Files\\Mail\\outlook.exe");
      EXPECT_EQ(sys_.launches[0].sCommandLine, sExpanded);
    }
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

// Wait A watches the program it started: a failure exit before Outlook's mutex
// ends the wait at once; exit code 0 hands over to an Outlook already starting.
TEST_F(LaunchSequenceTest, WaitForOutlookWatchesTheStartedProgram) {
  struct Row {
    const char* sCase;
    uint64_t nEndsAfterMs;
    uint32_t nExitCode;
    uint64_t nOutlookDelayMs;  // kNever: no mutex ever
    bool bWizard;
    uint64_t nMaxWaitMs;  // from the start to the end of the sequence
    std::string sNote;
  };
  const Row rows[] = {
      {"missing DLL", 300, 0xC0000135u, kNever, false, 400,
       "silent end: Outlook's program ended with exit code 0xC0000135 before its mutex appeared, after 300 ms"},
      {"exit code 1", 2000, 1, kNever, false, 2100,
       "silent end: Outlook's program ended with exit code 0x00000001 before its mutex appeared, after 2000 ms"},
      {"handed over, Outlook comes", 500, 0, 4000, true, kNever,
       "Outlook's program ended with exit code 0 (handed over), after 500 ms"},
      {"handed over, nothing comes", 500, 0, kNever, false, mMain::kOutlookStartTimeoutMs + mMain::kWaitPauseMs,
       "silent end: Outlook's mutex did not appear within "},
      {"failure after the mutex is of no matter", 10000, 1, 2000, true, kNever, "Outlook's mutex was there after 2000 ms"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.sCase);
    sys_ = FakeProcesses();
    dialogs_ = ScriptedDialogs();
    outlook_.executes.clear();
    sys_.nProgramEndsAfterMs = row.nEndsAfterMs;
    sys_.nProgramExitCode = row.nExitCode;
    sys_.onLaunch = [&](FakeProcesses& s) {
      if (row.nOutlookDelayMs != kNever) OutlookComesUp(s.nNow + row.nOutlookDelayMs, 0, kNever);
    };
    testing_support::LogCapture log;

    mMain::RunLaunchSequence();

    ASSERT_EQ(sys_.launches.size(), 1u);
    EXPECT_EQ(outlook_.executes.size(), row.bWizard ? 1u : 0u);
    if (row.nMaxWaitMs != kNever) {
      EXPECT_LE(sys_.nNow - sys_.launches[0].nTime, row.nMaxWaitMs);
    }
    EXPECT_EQ(NotesWith(log, row.sNote).size(), 1u) << row.sNote;
    EXPECT_EQ(sys_.nOpenHandles, 0);
  }
}

TEST_F(LaunchSequenceTest, ALongWaitForTheAddinIsNotedEveryThirtySeconds) {
  OutlookComesUp(0, 95000, kNever);
  testing_support::LogCapture log;
  mMain::RunLaunchSequence();
  EXPECT_EQ(outlook_.executes.size(), 1u);
  EXPECT_EQ(NotesWith(log, "still waiting"),
            (std::vector<std::string>{"still waiting for the add-in (30 s)", "still waiting for the add-in (60 s)",
                                      "still waiting for the add-in (90 s)"}));
}

// Main's error box for the wizard call's failures: the first line as always,
// and for the failures a user meets one line in the user's language that says
// what happened and what to do.
TEST_F(LaunchSequenceTest, TheWizardCallsErrorBoxesTellTheUserWhatToDo) {
  const std::u16string kNoAnswer =
      u"Outlook did not answer within 60 seconds. If Outlook is showing a dialog box, close it; otherwise restart "
      u"Outlook. Then try again.";
  const std::u16string kClosed = u"Outlook was closed while Twinsweep was talking to it. Start Outlook and try again.";
  const std::u16string kBusy = u"Outlook is busy. Close any open dialog boxes in Outlook and try again.";
  const std::u16string kRights =
      u"Outlook and Twinsweep are running with different privileges, for example one of them as administrator. Start "
      u"both normally, or both as administrator, and try again.";
  const std::u16string kNotInstalled =
      u"Outlook or the Twinsweep add-in is not installed properly. Repair or reinstall Twinsweep (or Outlook) and try "
      u"again.";
  auto First = [](int32_t nNumber, const std::u16string& sDescription) {
    return u"Error(" + base::LongToText(nNumber) + u"): " + sDescription;
  };
  struct Row {
    const char* sCase;
    const char16_t* szLang;
    std::function<void(FakeOutlook&)> script;
    std::u16string sText;
  };
  const Row rows[] = {
      {"Execute never answers", u"EN", [](FakeOutlook& o) { o.sHungCall = u"Execute"; },
       First(platform::kRpcECallCanceled, u"Outlook did not answer the call of Execute within 60 seconds.") + u"\r\n" +
           kNoAnswer},
      {"Outlook gone during the call", u"EN",
       [](FakeOutlook& o) {
         o.sFailingCall = u"COMAddIns";
         o.nCallFailure = platform::kRpcEDisconnected;
       },
       First(platform::kRpcEDisconnected, u"The call failed.") + u"\r\n" + kClosed},
      {"busy beyond the budget", u"EN", [](FakeOutlook& o) { o.nRejectCalls = 1000000; },
       First(platform::kRpcECallRejected, u"Call was rejected by callee.") + u"\r\n" + kBusy},
      {"never registers its class", u"EN", [](FakeOutlook& o) { o.nFailCreations = 1000000; },
       First(platform::kCoEServerExecFailure, u"Server execution failed") + u"\r\n" + kRights},
      {"class not registered", u"EN",
       [](FakeOutlook& o) {
         o.nFailCreations = 1;
         o.nCreationFailure = platform::kRegDbEClassNotReg;
       },
       First(platform::kRegDbEClassNotReg, u"Server execution failed") + u"\r\n" + kNotInstalled},
      {"add-in missing", u"EN", [](FakeOutlook& o) { o.entries = {{u"Other.Connect", true}}; },
       First(base::kObjectNotSet, u"The add-in \"Twinsweep.Connect\" is not among Outlook's COM add-ins. (" +
                                      base::RuntimeDescription(base::kObjectNotSet) + u")") +
           u"\r\n" + kNotInstalled},
      {"in German", u"DE", [](FakeOutlook& o) { o.sHungCall = u"Execute"; },
       First(platform::kRpcECallCanceled, u"Outlook did not answer the call of Execute within 60 seconds.") + u"\r\n" +
           u"Outlook hat nicht innerhalb von 60 Sekunden geantwortet. Wenn Outlook ein Dialogfeld anzeigt, schlie\u00dfen "
           u"Sie es; andernfalls starten Sie Outlook neu. Versuchen Sie es dann erneut."},
      {"in Arabic, right to left", u"AR", [](FakeOutlook& o) { o.nRejectCalls = 1000000; },
       First(platform::kRpcECallRejected, u"Call was rejected by callee.") + u"\r\n" +
           u"Outlook مشغول. أغلق أي مربعات حوار مفتوحة في Outlook وحاول مرة أخرى."},
      {"a NUL in the description: cut before the hint", u"EN",
       [](FakeOutlook& o) {
         o.sFailingCall = u"COMAddIns";
         o.nCallFailure = platform::kRpcEDisconnected;
         o.sCallFailureText = std::u16string(u"gone\0 unseen", 12);
       },
       First(platform::kRpcEDisconnected, u"gone") + u"\r\n" + kClosed},
      {"a failure without a hint", u"EN",
       [](FakeOutlook& o) {
         o.sFailingCall = u"Execute";
         o.nCallFailure = static_cast<int32_t>(0x80020009u);
       },
       First(static_cast<int32_t>(0x80020009u), u"The call failed.")},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.sCase);
    sys_ = FakeProcesses();
    dialogs_ = ScriptedDialogs();
    outlook_.nFailCreations = outlook_.nRejectCalls = 0;
    outlook_.nCreationFailure = platform::kCoEServerExecFailure;
    outlook_.sHungCall.clear();
    outlook_.sFailingCall.clear();
    outlook_.sCallFailureText = u"The call failed.";
    outlook_.entries = {{u"Twinsweep.Connect", true}};
    row.script(outlook_);
    SetLanguage(row.szLang);
    OutlookComesUp(0, 0, kNever);

    mMain::Main();

    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(base::ToUtf8(dialogs_.shown[0].sText), base::ToUtf8(row.sText));
    EXPECT_EQ(dialogs_.shown[0].sCaption, u"TwinsweepLauncher");
    EXPECT_EQ(dialogs_.shown[0].nType, platform::kMbOk | BoxDirection(row.szLang));
    EXPECT_EQ(threads_.nOpen, 0);
  }
}

// The new Outlook runs no add-ins: where it is the user's Outlook the launcher
// explains how to go back instead of starting Outlook or waiting for it.
TEST_F(LaunchSequenceTest, TheNewOutlookIsExplainedInsteadOfAStart) {
  struct Row {
    const char* sCase;
    int32_t nUseNewOutlook;  // -1: no value
    bool bClassicRunning, bClassicInstalled, bAlias, bHandsOverToOlk;
    size_t nBoxes;  // the question's and the new Outlook's
    bool bLaunched, bWizard;
  };
  const Row rows[] = {
      {"switched on, classic not running", 1, false, true, false, false, 1, false, false},
      {"switched on, classic already running", 1, true, true, false, false, 0, false, true},
      {"switched off", 0, false, true, false, false, 1, true, true},
      {"the started program hands over to a running olk.exe", -1, false, true, false, true, 2, true, false},
      {"classic missing, the new Outlook's alias there", -1, false, false, true, false, 1, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.sCase);
    reg_ = platform::MemoryRegistry();
    SetUp();
    sys_ = FakeProcesses();
    dialogs_ = ScriptedDialogs();
    outlook_.executes.clear();
    CWinReg w;
    ASSERT_TRUE(w.InitForWrite(platform::kRootCurrentUser, kOutlookPreferencesKey, true));
    EXPECT_TRUE(row.nUseNewOutlook < 0 || w.WriteDWord(kUseNewOutlookValue, row.nUseNewOutlook));
    if (!row.bClassicInstalled)
      WriteDefault(u"CLSID\\{11111111-2222-3333-4444-555555555555}\\LocalServer32", u"nowhere-mail /automation");
    testing_support::TempFolder appData;
    if (row.bAlias) {
      for (const char16_t* szFolder : {u"Microsoft", u"Microsoft\\WindowsApps"}) appData.MakeFolder(szFolder);
      appData.Write(u"Microsoft\\WindowsApps\\olk.exe", "");
    }
    sys_.environment[u"LOCALAPPDATA"] = appData.Path();
    if (row.bClassicRunning) OutlookComesUp(0, 0, kNever);
    // The classic program ends cleanly at 2 s; its mutex comes at 4 s, or olk.exe runs.
    sys_.nProgramEndsAfterMs = 2000;
    sys_.onLaunch = [&](FakeProcesses& s) {
      if (row.bHandsOverToOlk) s.runningFrom[u"OLK.EXE"] = s.nNow + 1500;
      else OutlookComesUp(s.nNow + 4000, 0, kNever);
    };

    const int nExit = mMain::RunLaunchSequence();

    ASSERT_EQ(dialogs_.shown.size(), row.nBoxes);
    EXPECT_EQ(sys_.launches.size(), row.bLaunched ? 1u : 0u);
    EXPECT_EQ(outlook_.executes.size(), row.bWizard ? 1u : 0u);
    const bool bExplained = !row.bWizard && row.nBoxes > 0;
    EXPECT_EQ(nExit, bExplained ? mMain::kExitNewOutlook : mMain::kExitDone);
    const std::u16string sExplained =
        u"Twinsweep works in classic Outlook only: the new Outlook cannot run its add-in.";
    EXPECT_EQ(!dialogs_.shown.empty() && dialogs_.shown.back().sText.rfind(sExplained, 0) == 0, bExplained);
    // The box comes at once after the hand-over at 2 s, not after the wait's bound.
    EXPECT_LE(sys_.nNow, row.bHandsOverToOlk ? 1000 + 2000 + mMain::kWaitPauseMs : kNever);
    EXPECT_EQ(sys_.nOpenHandles, 0);
  }
}

// A polite close (WM_CLOSE to the session window, or WM_QUIT) ends the launch as
// a No would, wherever it waits: nothing is shown or started after it.
TEST_F(LaunchSequenceTest, APoliteCloseEndsTheLaunchAsANoWould) {
  enum class At { kQuestion, kWaitA, kWaitB, kHungCall };
  const struct {
    const char* sCase;
    At at;
    size_t nBoxes;
    bool bLaunched;
  } rows[] = {
      {"while the question is open, then Yes", At::kQuestion, 1, false},
      {"waiting for Outlook", At::kWaitA, 1, true},
      {"waiting for the add-in", At::kWaitB, 0, false},
      {"in a hung wizard call", At::kHungCall, 0, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.sCase);
    sys_ = FakeProcesses();
    dialogs_ = ScriptedDialogs();
    outlook_.executes.clear();
    outlook_.sHungCall = row.at == At::kHungCall ? u"Execute" : u"";
    session_.nCloseAt = row.at == At::kQuestion ? kNever : sys_.nNow + 5000;
    dialogs_.whileOpen = [&] { if (row.at == At::kQuestion) session_.nCloseAt = 0; };
    if (row.at == At::kWaitB || row.at == At::kHungCall)
      OutlookComesUp(0, row.at == At::kWaitB ? kNever : 0, kNever);
    sys_.onLaunch = [](FakeProcesses&) {};
    testing_support::LogCapture log;

    EXPECT_EQ(mMain::Main(), mMain::kExitClosed);

    EXPECT_EQ(dialogs_.shown.size(), row.nBoxes);
    EXPECT_EQ(sys_.launches.size(), row.bLaunched ? 1u : 0u);
    EXPECT_TRUE(outlook_.executes.empty());
    EXPECT_LE(sys_.nNow, row.at == At::kQuestion ? kNever : session_.nCloseAt + 1000);
    EXPECT_EQ(threads_.nOpen, 0);
    EXPECT_EQ(sys_.nOpenHandles, 0);
    const std::string sNote = "D|mMain.Main|0|the launcher was asked to close (WM_CLOSE or WM_QUIT)";
    EXPECT_EQ(log.Lines().back().rfind(sNote, 0), 0u) << log.Lines().back();
  }
}

}  // namespace
