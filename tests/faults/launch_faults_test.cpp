// The launch sequence under kernel faults (a mutex probe, a close or the start
// of Outlook failing), each call in turn: it ends every time, with every handle
// it got closed, no failure pending and at most one wizard call.
#include <gtest/gtest.h>

#include "faults/fault_loop.h"
#include "twinsweep/launcher/launch_sequence.h"
#include "launcher/launcher_doubles.h"
#include "twinsweep/platform/memory/memory_registry.h"
#include "twinsweep/platform/memory/memory_session_signals.h"
#include "support/fake_desktop.h"
#include "support/fault_injecting_processes.h"
#include "support/source_languages.h"

using namespace twinsweep;

namespace {

using launcher_test::Presence;

TEST(LaunchFaults, TheSequenceEndsWithEveryHandleClosedWhicheverKernelCallFails) {
  launcher_test::FakeProcesses sys;
  testing_support::FaultInjectingProcesses faulty(sys);
  testing_support::ScriptedDialogs dialogs;
  launcher_test::FakeOutlook outlook{sys};
  platform::MemoryRegistry reg;
  testing_support::FakeApp app;
  app.sAppFolder = testing_support::ShippedLanguagesFolder(TWINSWEEP_SOURCE_DIR);
  platform::ScopedOverride<platform::IProcesses> useSys(faulty);
  testing_support::ScopedOverrides<platform::IClock, platform::IEnvironment> useClock(sys);
  platform::ScopedOverride<platform::IDialogs> useDialogs(dialogs);
  platform::ScopedOverride<platform::IAutomation> useOutlook(outlook);
  platform::ScopedOverride<platform::IRegistry> useReg(reg);
  platform::ScopedOverride<platform::IApp> useApp(app);
  platform::MemorySessionSignals signals;
  platform::ScopedOverride<platform::ISessionSignals> useSignals(signals);
  launcher_test::FakeWorkerThreads threads(sys, outlook);
  platform::ScopedOverride<platform::IWorkerThreads> useThreads(threads);
  outlook.entries = {{u"Twinsweep.Connect", true}};

  for (const auto& mode : fault_testing::kFaultModes) {
    fault_testing::ForEachFailingCall(faulty, mode, [&] {
      // Yes to the question; Outlook comes up a second after its start, the add-in
      // two seconds later, and Outlook ends after a minute.
      sys.mutexes.clear();
      sys.nOpenHandles = 0;
      dialogs.nAnswer = platform::kIdYes;
      outlook.executes.clear();
      sys.onLaunch = [](launcher_test::FakeProcesses& s) {
        s.mutexes[u"_outlook_mutex_"] = Presence{s.nNow + 1000, s.nNow + 60000};
        s.mutexes[u"Orvex.Twinsweep.Addin"] = Presence{s.nNow + 3000, s.nNow + 60000};
      };
      mMain::RunLaunchSequence();
      EXPECT_EQ(sys.nOpenHandles, 0);
      EXPECT_EQ(signals.OpenHandles(), 0);
      EXPECT_LE(outlook.executes.size(), 1u);
    });
  }
}

}  // namespace
