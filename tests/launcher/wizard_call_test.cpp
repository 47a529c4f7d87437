// The wizard call over a fake Outlook object model: which entry wins, what the
// add-in receives, how a missing add-in is reported, and how busy rejections of a
// starting Outlook are waited out for a bounded time.
#include <gtest/gtest.h>

#include "base/text.h"
#include "launcher/wizard_call.h"
#include "launcher_doubles.h"
#include "launcher/automation_retry.h"

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
  platform::ScopedOverride<platform::IProcesses> useSys_{sys_};
  platform::ScopedOverride<platform::IAutomation> useOutlook_{outlook_};
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
