// The wizard call over a fake Outlook object model: which entry wins, what the
// add-in receives, how a missing add-in is reported, and how busy rejections of a
// starting Outlook are waited out for a bounded time.
#include <gtest/gtest.h>

#include "twinsweep/base/text.h"
#include "twinsweep/launcher/wizard_call.h"
#include "launcher_doubles.h"
#include "twinsweep/launcher/automation_retry.h"
#include "twinsweep/launcher/automation_worker.h"
#include "twinsweep/launcher/error_hints.h"

using namespace twinsweep;

namespace {

using launcher_test::FakeOutlook;
using launcher_test::FakeProcesses;

// How the fake Outlook fails: its first creations, then its first calls.
struct FailureScript {
  const char* sCase;
  int nFailCreations;
  int32_t nCreationFailure;
  int nRejectCalls;
  int32_t nRejection;
};

class WizardCallTest : public ::testing::Test {
 protected:
  void Script(const FailureScript& f) {
    outlook_.nFailCreations = f.nFailCreations;
    outlook_.nCreationFailure = f.nCreationFailure;
    outlook_.nRejectCalls = f.nRejectCalls;
    outlook_.nRejection = f.nRejection;
  }
  // Runs the call; answers the failure number (0 when it succeeded) and keeps its description.
  int32_t Run() {
    try {
      mMain::CallQuickWizard();
      return 0;
    } catch (const base::Failure& f) {
      sDescription_ = f.Description();
      return f.Number();
    }
  }

  FakeProcesses sys_;
  FakeOutlook outlook_{sys_};
  launcher_test::UseFakeProcesses useSys_{sys_};
  platform::ScopedOverride<platform::IAutomation> useOutlook_{outlook_};
  launcher_test::FakeWorkerThreads threads_{sys_, outlook_};
  platform::ScopedOverride<platform::IWorkerThreads> useThreads_{threads_};
  std::u16string sDescription_;
};

TEST_F(WizardCallTest, WhichEntryReceivesTheCall) {
  struct Row {
    const char* sCase;
    std::vector<FakeOutlook::Entry> entries;
    int nExpectedEntry;  // 0: no call, the error box instead
  };
  const base::Variant vNull = base::Variant::Null();
  const Row rows[] = {
      {"only entry", {{u"Twinsweep.Connect", true}}, 1},
      {"after others", {{u"A.Connect", true}, {vNull, true}, {u"Twinsweep.Connect", true}}, 3},
      {"two matches: lower index wins", {{u"Twinsweep.Connect", true}, {u"Twinsweep.Connect", true}}, 1},
      {"other case is not ours", {{u"twinsweep.connect", true}}, 0},
      {"prefix is not ours", {{u"Twinsweep.Connect2", true}}, 0},
      {"no add-ins", {}, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.sCase);
    outlook_.entries = row.entries;
    outlook_.executes.clear();
    const int32_t nError = Run();
    if (row.nExpectedEntry) {
      EXPECT_EQ(nError, 0);
      ASSERT_EQ(outlook_.executes.size(), 1u);
      EXPECT_EQ(outlook_.executes[0].nEntry, row.nExpectedEntry);
      EXPECT_EQ(outlook_.executes[0].argKinds, (std::vector<std::string>{"string", "nothing"}));
      EXPECT_TRUE(outlook_.executes[0].bOutlookAlive);
    } else {
      EXPECT_EQ(nError, 91);
      EXPECT_TRUE(outlook_.executes.empty());
      EXPECT_NE(base::InStr(1, sDescription_, u"\"Twinsweep.Connect\" is not among Outlook's COM add-ins"), 0)
          << base::ToUtf8(sDescription_);
    }
  }
}

TEST_F(WizardCallTest, IndexGoesByReferenceInOrderAndTheLoopIgnoresWritesToIt) {
  outlook_.entries = {{u"A", true}, {u"B", true}, {u"Twinsweep.Connect", true}, {u"D", true}};
  ASSERT_EQ(Run(), 0);
  // Items 1..3 for the ProgIds, then item 3 again for its object; nothing beyond.
  EXPECT_EQ(outlook_.itemIndexes, (std::vector<int32_t>{1, 2, 3, 3}));
}

TEST_F(WizardCallTest, ListedAddinWithoutObjectSaysSo) {
  outlook_.entries = {{u"Twinsweep.Connect", false}};
  EXPECT_EQ(Run(), 91);
  EXPECT_NE(base::InStr(1, sDescription_, u"has no object"), 0) << base::ToUtf8(sDescription_);
}

TEST_F(WizardCallTest, BusyOutlookIsWaitedOut) {
  const FailureScript rows[] = {
      {"creation while the class registers", 3, platform::kCoEServerExecFailure, 0, 0},
      {"creation rejected", 2, platform::kRpcECallRejected, 0, 0},
      {"calls rejected", 0, 0, 5, platform::kRpcECallRejected},
      {"calls: retry later", 0, 0, 5, platform::kRpcEServerCallRetryLater},
      {"both", 2, platform::kCoEServerStopping, 7, platform::kRpcECallRejected},
  };
  for (const FailureScript& row : rows) {
    SCOPED_TRACE(row.sCase);
    outlook_.entries = {{u"Twinsweep.Connect", true}};
    outlook_.executes.clear();
    Script(row);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(outlook_.executes.size(), 1u);
  }
}

TEST_F(WizardCallTest, RejectionsBeyondTheBudgetReachTheErrorBox) {
  outlook_.entries = {{u"Twinsweep.Connect", true}};
  outlook_.nRejectCalls = 1000000;
  const uint64_t nStart = sys_.nNow;
  EXPECT_EQ(Run(), platform::kRpcECallRejected);
  EXPECT_GE(sys_.nNow - nStart, mMain::kAutomationRetryBudgetMs);
  EXPECT_LE(sys_.nNow - nStart, mMain::kAutomationRetryBudgetMs + mMain::kAutomationRetryPauseMs);
}

TEST_F(WizardCallTest, SlowAttemptsCountAgainstTheBudget) {
  outlook_.nFailCreations = 1000000;
  outlook_.nCallCostMs = 1000;  // each activation attempt takes a second, as under Wine
  const uint64_t nStart = sys_.nNow;
  EXPECT_EQ(Run(), platform::kCoEServerExecFailure);
  EXPECT_LE(sys_.nNow - nStart, mMain::kAutomationRetryBudgetMs + 1000 + mMain::kAutomationRetryPauseMs);
}

// Each activation attempt makes the system start Outlook's program again: a
// creation is repeated three times at most, after 1, 2 and 4 s.
TEST_F(WizardCallTest, ActivationFailuresAreRepeatedThreeTimesAfterGrowingPauses) {
  struct Row {
    const char* sCase;
    int nFailCreations;
    int32_t nFailure;
    int nExpectedCreations;
    int32_t nExpectedResult;
    uint64_t nExpectedPausesMs;
  };
  const Row rows[] = {
      {"never registers", 1000000, platform::kCoEServerExecFailure, 4, platform::kCoEServerExecFailure, 7000},
      {"stopping for ever", 1000000, platform::kCoEServerStopping, 4, platform::kCoEServerStopping, 7000},
      {"start timeout", 1000000, platform::kCoEServerStartTimeout, 4, platform::kCoEServerStartTimeout, 7000},
      {"up at the last try", 3, platform::kCoEServerExecFailure, 4, 0, 7000},
      {"up at the second", 1, platform::kCoEServerExecFailure, 2, 0, 1000},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.sCase);
    outlook_.entries = {{u"Twinsweep.Connect", true}};
    outlook_.nFailCreations = row.nFailCreations;
    outlook_.nCreationFailure = row.nFailure;
    outlook_.nCreations = 0;
    const uint64_t nStart = sys_.nNow;
    EXPECT_EQ(Run(), row.nExpectedResult);
    EXPECT_EQ(outlook_.nCreations, row.nExpectedCreations);
    EXPECT_EQ(sys_.nNow - nStart, row.nExpectedPausesMs);
  }
}

// A call that never returns is given up after the call limit, wherever it
// hangs, and a job that does not end (Outlook hanging in the final release of
// its object, after the wizard call) after the job limit; the caller gets
// RPC_E_CALL_CANCELED naming the call. The worker, which outlives its caller,
// makes no further call once its hung call returns: a late wizard call comes
// only from a hung Execute itself.
TEST_F(WizardCallTest, AHungCallIsGivenUpAfterTheLimit) {
  for (const std::u16string sCall : {u"CreateObject", u"COMAddIns", u"Count", u"Item", u"ProgId", u"Object", u"Execute", u"Release"}) {
    SCOPED_TRACE(base::ToUtf8(sCall));
    const bool bRelease = sCall == u"Release";
    const uint32_t nLimitMs = bRelease ? mMain::kAutomationJobLimitMs : mMain::kAutomationCallLimitMs;
    outlook_.entries = {{u"Twinsweep.Connect", true}};
    outlook_.executes.clear();
    outlook_.calls.clear();
    outlook_.sHungCall = sCall;
    const uint64_t nStart = sys_.nNow;
    EXPECT_EQ(Run(), platform::kRpcECallCanceled);
    EXPECT_EQ(base::ToUtf8(sDescription_), bRelease ? "Outlook did not let the wizard call end within 90 seconds."
                                                    : "Outlook did not answer the call of " + base::ToUtf8(sCall) + " within 60 seconds.");
    EXPECT_EQ(mMain::HintKeyOf(platform::kRpcECallCanceled, sDescription_), bRelease ? mMain::kHintNoEnd : mMain::kHintNoAnswer);
    EXPECT_GE(sys_.nNow - nStart, nLimitMs);
    EXPECT_LT(sys_.nNow - nStart, nLimitMs + 2 * mMain::kCallWatchPollMs);
    EXPECT_EQ(outlook_.executes.size(), bRelease ? 1u : 0u);
    EXPECT_EQ(threads_.nOpen, 0);
    const size_t nCalls = outlook_.calls.size();
    threads_.FinishLeftBehind();
    EXPECT_EQ(outlook_.calls.size(), nCalls);
    EXPECT_EQ(outlook_.executes.size(), bRelease || sCall == u"Execute" ? 1u : 0u);
  }
}

TEST_F(WizardCallTest, OtherFailuresAreNotRetried) {
  const FailureScript rows[] = {
      {"class not registered", 1, static_cast<int32_t>(0x80040154u), 0, 0},
      {"busy code on a creation that is really a call failure", 0, 0, 1, static_cast<int32_t>(0x80020006u)},
      {"server activation code on a call", 0, 0, 1, platform::kCoEServerExecFailure},
  };
  for (const FailureScript& row : rows) {
    SCOPED_TRACE(row.sCase);
    outlook_.entries = {{u"Twinsweep.Connect", true}};
    Script(row);
    outlook_.nCreations = 0;
    outlook_.calls.clear();
    const uint64_t nStart = sys_.nNow;
    EXPECT_EQ(Run(), row.nFailCreations ? row.nCreationFailure : row.nRejection);
    EXPECT_EQ(sys_.nNow, nStart);  // no pause: failed at once
    EXPECT_EQ(outlook_.nCreations, 1);
    outlook_.nFailCreations = 0;
    outlook_.nRejectCalls = 0;
  }
}

}  // namespace
