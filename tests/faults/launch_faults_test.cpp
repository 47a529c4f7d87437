// The launch sequence under kernel faults (a mutex probe, a close or the start
// of Outlook failing), each call in turn: it ends every time, with every handle
// it got closed, no failure pending and at most one wizard call.
#include <gtest/gtest.h>

#include "faults/fault_loop.h"
#include "twinsweep/launcher/launch_sequence.h"
#include "launcher/launch_sequence_fixture.h"
#include "support/fault_injecting_processes.h"

using namespace twinsweep;

namespace {

using launcher_test::Presence;

using LaunchFaults = launcher_test::LaunchSequenceTest;

TEST_F(LaunchFaults, TheSequenceEndsWithEveryHandleClosedWhicheverKernelCallFails) {
  testing_support::FaultInjectingProcesses faulty(sys_);
  platform::ScopedOverride<platform::IProcesses> useFaulty(faulty);
  outlook_.entries = {{u"Twinsweep.Connect", true}};

  for (const auto& mode : fault_testing::kFaultModes) {
    fault_testing::ForEachFailingCall(faulty, mode, [&] {
      // Yes to the question; Outlook comes up a second after its start, the add-in
      // two seconds later, and Outlook ends after a minute.
      sys_.mutexes.clear();
      sys_.nOpenHandles = 0;
      dialogs_.nAnswer = platform::kIdYes;
      outlook_.executes.clear();
      sys_.onLaunch = [](launcher_test::FakeProcesses& s) {
        s.mutexes[u"_outlook_mutex_"] = Presence{s.nNow + 1000, s.nNow + 60000};
        s.mutexes[u"Orvex.Twinsweep.Addin"] = Presence{s.nNow + 3000, s.nNow + 60000};
      };
      mMain::RunLaunchSequence();
      EXPECT_EQ(sys_.nOpenHandles, 0);
      EXPECT_EQ(signals_.OpenHandles(), 0);
      EXPECT_LE(outlook_.executes.size(), 1u);
    });
  }
}

}  // namespace
