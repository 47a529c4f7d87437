// The launch board between two launchers: what the one holding the launch mutex
// publishes, what a second one shows for it, and how it asks the first to stop
// waiting.
#include <gtest/gtest.h>

#include "launch_sequence_fixture.h"
#include "support/recording_diagnostics.h"
#include "twinsweep/launcher/launch_board.h"
#include "twinsweep/launcher/launch_sequence.h"
#include "twinsweep/platform/this_process.h"

using namespace twinsweep;

namespace {

using launcher_test::BoxDirection;
using launcher_test::FakeProcesses;
using launcher_test::kNever;
using launcher_test::NotesWith;
using launcher_test::Presence;
using testing_support::ScriptedDialogs;

class LaunchBoardTest : public launcher_test::LaunchSequenceTest {};

// A second launcher finds the launch mutex held: what the holder published
// decides what its user sees, and whether the holder is asked to stop waiting.
TEST_F(LaunchBoardTest, ASecondLauncherAnswersWhatTheHolderOfTheMutexPublished) {
  using mMain::LaunchPhase;
  const std::u16string kQuestion = u"Microsoft Outlook is not running.\r\nDo you want to start Outlook now?";
  const std::u16string kForOutlook =
      u"Twinsweep is still waiting for Microsoft Outlook to start.\r\nDo you want to keep waiting?";
  const std::u16string kForAddin =
      u"Twinsweep is still waiting for its add-in to load in Microsoft Outlook.\r\nDo you want to keep waiting?";
  struct Row {
    const char* sCase;
    const char16_t* szLang;
    std::optional<LaunchPhase> published;  // nothing: the holder is not a launcher
    int32_t nAnswer;
    std::u16string sBox;  // the one box this launcher shows; empty: none
    bool bBroughtToFront;
    bool bStopAsked;
    std::string sNote;
    // Another launcher takes the state over while the box is open.
    bool bReplacedWhileOpen = false;
    bool bMutexRefused = false;
  };
  const Row rows[] = {
      {"not a launcher: the launch goes on", u"EN", std::nullopt, platform::kIdNo, kQuestion, false, false,
       "the launch mutex is held by a program that publishes no launcher state: not a launcher; the launch goes on"},
      {"asking", u"EN", LaunchPhase::kAsking, platform::kIdYes, u"", true, false,
       "silent end: another launcher is asking its question; it was brought to the front"},
      {"waiting for Outlook, keep waiting", u"EN", LaunchPhase::kWaitingForOutlook, platform::kIdYes, kForOutlook,
       false, false, "silent end: another launcher is waiting for Outlook; the user lets it wait"},
      {"waiting for the add-in, stop", u"EN", LaunchPhase::kWaitingForAddin, platform::kIdNo, kForAddin, false, true,
       "silent end: another launcher was waiting for the add-in; the user asked it to stop"},
      {"no box could be shown: it keeps waiting", u"EN", LaunchPhase::kWaitingForAddin, 0, kForAddin, false, false,
       "silent end: another launcher is waiting for the add-in; the user lets it wait"},
      {"in German", u"DE", LaunchPhase::kWaitingForOutlook, platform::kIdNo,
       u"Twinsweep wartet noch auf den Start von Microsoft Outlook.\r\nM\u00f6chten Sie weiter warten?", false, true,
       "silent end: another launcher was waiting for Outlook; the user asked it to stop"},
      {"in Arabic, right to left", u"AR", LaunchPhase::kWaitingForAddin, platform::kIdYes,
       u"لا يزال Twinsweep ينتظر تحميل الوظيفة الإضافية الخاصة به في Microsoft Outlook.\r\nهل تريد متابعة الانتظار؟",
       false, false, "silent end: another launcher is waiting for the add-in; the user lets it wait"},
      {"calling", u"EN", LaunchPhase::kCalling, platform::kIdYes, u"", false, false,
       "silent end: another launcher is running its launch sequence (phase 4)"},
      {"the one waiting ended, another waits now: it is left alone", u"EN", LaunchPhase::kWaitingForAddin,
       platform::kIdNo, kForAddin, false, false,
       "silent end: another launcher was waiting for the add-in; the user asked it to stop, but it had ended and "
       "another launcher runs now: nothing was asked",
       true},
      {"the mutex refuses this launcher: one at other rights runs", u"EN", std::nullopt, platform::kIdYes, u"", false,
       false,
       "silent end: the launch mutex refuses this launcher (access denied): another launcher runs with other rights",
       false, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.sCase);
    sys_ = FakeProcesses();
    dialogs_ = ScriptedDialogs();
    SetLanguage(row.szLang);
    dialogs_.nAnswer = row.nAnswer;
    dialogs_.bOtherInstanceBox = true;
    sys_.mutexes[mMain::kLaunchMutex] = Presence{0, kNever};
    sys_.bMutexesRefused = row.bMutexRefused;
    // The first launcher's state and event, as it holds them.
    const mMain::LaunchState next{LaunchPhase::kWaitingForAddin, 1, 4711};
    platform::ScopedSessionSignal hState, hStop(signals_.CreateEventByName(mMain::StopEventName({})));
    platform::ScopedSessionSignal hNextStop(signals_.CreateEventByName(mMain::StopEventName(next)));
    if (row.published) {
      bool bExisted = false;
      hState.Reset(signals_.CreateValue(mMain::kLaunchStateName, &bExisted));
      signals_.WriteValue(hState.Get(), static_cast<uint32_t>(*row.published));
    }
    if (row.bReplacedWhileOpen) dialogs_.whileOpen = [&] { signals_.WriteValue(hState.Get(), next.Packed()); };
    testing_support::LogCapture log;

    mMain::RunLaunchSequence();

    if (row.sBox.empty()) {
      EXPECT_TRUE(dialogs_.shown.empty());
    } else {
      ASSERT_EQ(dialogs_.shown.size(), 1u);
      EXPECT_EQ(dialogs_.shown[0].sText, row.sBox);
      EXPECT_EQ(dialogs_.shown[0].sCaption, u"Twinsweep");
      EXPECT_EQ(dialogs_.shown[0].nType, platform::kMbYesNo | BoxDirection(row.szLang));
    }
    EXPECT_EQ(dialogs_.nBroughtToFront, row.bBroughtToFront ? 1 : 0);
    EXPECT_EQ(signals_.IsEventSet(hStop.Get()), row.bStopAsked);
    EXPECT_FALSE(signals_.IsEventSet(hNextStop.Get()));
    EXPECT_TRUE(sys_.launches.empty());
    EXPECT_EQ(outlook_.nCreations, 0);
    EXPECT_EQ(sys_.nOpenHandles, 0);
    const auto notes = NotesWith(log, "");
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes[0], row.sNote);
  }
}

// The first launcher publishes what it does, and ends its wait within one pause
// when a second launcher's user asks it to stop.
TEST_F(LaunchBoardTest, AWaitEndsWhenASecondLauncherAsks) {
  // Outlook and the add-in come only long after the ask: a wait that did not end
  // would reach the wizard call.
  struct Row {
    const char* sCase;
    uint64_t nOutlookDelayMs;
    uint64_t nAddinDelayMs;
    mMain::LaunchPhase phase;
    std::string sNote;
  };
  const Row rows[] = {
      {"waiting for Outlook", 90000, 0, mMain::LaunchPhase::kWaitingForOutlook,
       "silent end: another launcher asked this one to stop waiting for Outlook, after "},
      {"waiting for the add-in", 1000, 90000, mMain::LaunchPhase::kWaitingForAddin,
       "silent end: another launcher asked this one to stop waiting for the add-in, after "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.sCase);
    sys_ = FakeProcesses();
    dialogs_ = ScriptedDialogs();
    std::optional<mMain::LaunchPhase> phaseSeen;
    bool bAsking = false;
    dialogs_.whileOpen = [&] { bAsking = mMain::PublishedState()->phase == mMain::LaunchPhase::kAsking; };
    sys_.onLaunch = [&](FakeProcesses& s) { OutlookComesUp(s.nNow + row.nOutlookDelayMs, row.nAddinDelayMs, kNever); };
    uint64_t nAskedAt = 0;
    sys_.onSleep = [&](FakeProcesses& s) {
      if (nAskedAt || s.nNow < s.launches[0].nTime + 20000) return;
      phaseSeen = mMain::PublishedState()->phase;
      nAskedAt = s.nNow;
      EXPECT_EQ(mMain::AskToStopWaiting(*mMain::PublishedState()), mMain::StopOutcome::kAsked);
    };
    // A request left set under the name this launcher's event gets (an earlier
    // launcher of its process id and generation) is not one for it: the event is reset.
    const mMain::LaunchState self{{}, 1000, platform::ThisProcess().ProcessId()};
    platform::ScopedSessionSignal hStale(signals_.CreateEventByName(mMain::StopEventName(self)));
    signals_.SetEventByName(mMain::StopEventName(self));
    testing_support::LogCapture log;

    mMain::RunLaunchSequence();

    EXPECT_TRUE(bAsking);
    EXPECT_EQ(phaseSeen, row.phase);
    ASSERT_NE(nAskedAt, 0u);
    EXPECT_LE(sys_.nNow - nAskedAt, mMain::kWaitPauseMs);
    EXPECT_EQ(outlook_.nCreations, 0);
    EXPECT_EQ(NotesWith(log, row.sNote).size(), 1u);
    EXPECT_EQ(sys_.nOpenHandles, 0);
    hStale.Reset();
    EXPECT_EQ(signals_.OpenHandles(), 0);
    EXPECT_FALSE(mMain::PublishedState());
  }
}

}  // namespace
